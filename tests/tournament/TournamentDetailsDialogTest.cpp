// What the Tournament Details dialog shows: the settings it starts from,
// the scoring systems it offers and the fields each choice brings.

#include "tournament/TournamentDetails.h"

#include "scoring/ScoringSystemDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/DetailsForm.h"

#include <QCheckBox>

using namespace testdata;

namespace {

QStringList ItemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace

TEST_F(TournamentDetails, NewStartsFromTheDefaults)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    EXPECT_EQ(ItemsOf(form.SystemList()), QStringList({"Alpha", "Standard"}));
    EXPECT_EQ(form.SystemList()->currentIndex(), -1);
    EXPECT_EQ(SystemCaption(*d), "New System...");
    EXPECT_EQ(ItemsOf(form.PowerAssignmentList()),
              QStringList({"AUTOMATIC POWER ASSIGNMENT", "POWERS DETERMINED AT TABLES"}));
    EXPECT_EQ(ItemsOf(form.GroupPowersList()),
              QStringList({"NO", "A/G/I -- E/F -- R/T", "A/G/I -- E/T -- F/R", "A/I -- E/F -- R/T -- G"}));
    EXPECT_EQ(ItemsOf(form.TeamSizeList()),
              QStringList({"NO TEAM TOURNAMENT", "THREE-PLAYER TEAMS", "FOUR-PLAYER TEAMS", "FIVE-PLAYER TEAMS",
                           "SIX-PLAYER TEAMS", "SEVEN-PLAYER TEAMS"}));
    EXPECT_EQ(ItemsOf(form.ScoredGamesList()),
              QStringList({"TEAMS SCORE IN A SINGLE HEAT", "SUM GAMES WITHOUT INTERPLAY"}));

    EXPECT_EQ(form.Text("Tournament Name:"), "");
    EXPECT_EQ(form.Text("Number of Heats:"), "0");
    EXPECT_EQ(form.Text("Player Must Play In"), "0");
    EXPECT_EQ(form.LowHeatsShown(), QStringList({"0", "0", "0.00", "0.00"}));
    EXPECT_EQ(form.Text("Unplayed Score:"), "0");
    EXPECT_EQ(form.Text("Playing the same player more than once:"), "1");
    EXPECT_EQ(form.Text("Playing the same power more than once:"), "0");
    EXPECT_EQ(form.PowerAssignmentList()->currentIndex(), 0);
    EXPECT_EQ(form.GroupPowersList()->currentIndex(), 0);
    EXPECT_EQ(form.TeamSizeList()->currentIndex(), 0);
    EXPECT_FALSE(d->findChild<QCheckBox*>()->isChecked());
    EXPECT_EQ(d->findChild<QCheckBox*>()->text(), "Heat Pre-Registration Available?  ");
    EXPECT_TRUE(Shown(form.GroupPowersList()));
    EXPECT_FALSE(Shown(form.ScoredGamesList()));
    EXPECT_FALSE(Shown(d->findChild<QLineEdit*>("teamHeatEdit")));
    EXPECT_FALSE(Shown(d->findChild<QLineEdit*>("teamConflictEdit")));
}

TEST_F(TournamentDetails, NewWhileATournamentIsOpenStartsFromItsSettings)
{
    const int open = AddTournament({.systemID = alpha, .teamSize = 2, .teamHeat = -2, .teamConflict = 4,
                                    .playerConflict = 3, .numHeats = 5, .dropHeats = 11, .groupPowers = 2,
                                    .preregistration = 1, .multDrop = 2500.5});
    LoadTournament(open);
    auto d = OpenNew();
    DetailsForm form(*d);
    EXPECT_EQ(form.SystemList()->currentIndex(), -1);
    EXPECT_EQ(SystemCaption(*d), "New System...");
    EXPECT_EQ(form.Text("Number of Heats:"), "5");
    EXPECT_EQ(form.LowHeatsShown(), QStringList({"1", "1", "0.50", "0.25"}));
    EXPECT_EQ(form.Text("Playing the same player more than once:"), "3");
    EXPECT_EQ(form.GroupPowersList()->currentIndex(), 2);
    EXPECT_EQ(form.TeamSizeList()->currentText(), "FOUR-PLAYER TEAMS");
    EXPECT_EQ(form.ScoredGamesList()->currentText(), "SUM GAMES WITHOUT INTERPLAY");
    EXPECT_EQ(form.Text("Number of Heats to Sum for Team Score:"), "2");
    EXPECT_EQ(form.Text("Playing in a game with a team member:"), "4");
    EXPECT_TRUE(d->findChild<QCheckBox*>()->isChecked());
}

TEST_F(TournamentDetails, ChoosingASystemLoadsIt)
{
    auto d = OpenNew();
    DetailsForm(*d).Choose("Standard");
    EXPECT_EQ(ScoringSystem.id, standard);
    EXPECT_EQ(ScoringSystem.name, "Standard");
    EXPECT_EQ(SystemCaption(*d), "View/Modify");
}

TEST_F(TournamentDetails, EditShowsTheStoredTournament)
{
    const int t = AddTournament({.name = "Spring Open", .description = "Two\nlines", .systemID = alpha});
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    EXPECT_EQ(form.Text("Tournament Name:"), "Spring Open");
    EXPECT_EQ(form.Description()->toPlainText(), "Two\nlines");
    EXPECT_EQ(form.SystemList()->currentText(), "Alpha");
    EXPECT_EQ(SystemCaption(*d), "View/Modify");
    EXPECT_EQ(form.Text("Number of Heats:"), "3");
}

TEST_F(TournamentDetails, ANewSystemJoinsTheListAndTheTypingStays)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Type("Tournament Name:", "Cup")
        .Type("Number of Heats:", "5")
        .Type("Player Must Play In", "2")
        .Choose("FOUR-PLAYER TEAMS")
        .Type("Heat Number to Use for Team Scoring:", "4")
        .Type("Playing in a game with a team member:", "2");
    ui().ExpectDialog<CScoringSystemDialog>([](CScoringSystemDialog& system) {
        EXPECT_EQ(system.TargetID(), -1);
        ControlByName<QLineEdit>(&system, "Scoring System:")->setText("Beta");
        ButtonByText(&system, "OK")->click();
    });
    ButtonByText(d.get(), "New System...")->click();

    const int beta = Int("select id from System where name = 'Beta'");
    EXPECT_EQ(ScoringSystem.id, beta);
    EXPECT_EQ(ItemsOf(form.SystemList()), QStringList({"Alpha", "Beta", "Standard"}));
    EXPECT_EQ(form.SystemList()->currentText(), "Beta");
    EXPECT_EQ(SystemCaption(*d), "View/Modify");
    EXPECT_EQ(form.Text("Tournament Name:"), "Cup");
    EXPECT_EQ(form.Text("Number of Heats:"), "5");
    EXPECT_EQ(form.Text("Player Must Play In"), "2");
    EXPECT_EQ(form.TeamSizeList()->currentText(), "FOUR-PLAYER TEAMS");
    EXPECT_EQ(form.Text("Heat Number to Use for Team Scoring:"), "4");

    // Looking at it again without saving changes nothing.
    ui().ExpectDialog<CScoringSystemDialog>([beta](CScoringSystemDialog& system) {
        EXPECT_EQ(system.TargetID(), beta);
        ButtonByText(&system, "Cancel")->click();
    });
    ButtonByText(d.get(), "View/Modify")->click();
    EXPECT_EQ(ScoringSystem.id, beta);
    EXPECT_EQ(form.SystemList()->currentText(), "Beta");

    form.PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(Int(Sql("select systemID from Tournament where id = %d", d->EditedID())), beta);
}

TEST_F(TournamentDetails, ASystemMadeFromTheShownOneIsChosen)
{
    const int t = AddTournament({.systemID = alpha});
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    ui().ExpectDialog<CScoringSystemDialog>([this](CScoringSystemDialog& system) {
        EXPECT_EQ(system.TargetID(), alpha);
        ButtonByText(&system, "Create New System")->click();
        ControlByName<QLineEdit>(&system, "Scoring System:")->setText("Alpha Two");
        ButtonByText(&system, "OK")->click();
    });
    ButtonByText(d.get(), "View/Modify")->click();
    const int two = Int("select id from System where name = 'Alpha Two'");
    EXPECT_EQ(ScoringSystem.id, two);
    EXPECT_EQ(form.SystemList()->currentText(), "Alpha Two");
    form.PressOK();
    EXPECT_EQ(Int(Sql("select systemID from Tournament where id = %d", t)), two);
}

TEST_F(TournamentDetails, TeamFieldsFollowTheTeamChoices)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    QLineEdit* heat = d->findChild<QLineEdit*>("teamHeatEdit");
    QLineEdit* teamConflict = d->findChild<QLineEdit*>("teamConflictEdit");

    form.Choose("FIVE-PLAYER TEAMS");
    EXPECT_EQ(form.ScoredGamesList()->currentText(), "TEAMS SCORE IN A SINGLE HEAT");
    EXPECT_EQ(form.Label("scoredGamesLabel")->text(), "Team Scoring System:");
    EXPECT_EQ(form.Label("teamHeatLabel")->text(), "Heat Number to Use for Team Scoring:");
    EXPECT_EQ(heat->text(), "0");
    EXPECT_EQ(form.Label("teamConflictLabel")->text(), "Playing in a game with a team member:");
    EXPECT_TRUE(Shown(heat) && Shown(form.ScoredGamesList()) && Shown(teamConflict));

    heat->setText("2");
    form.Choose("SUM GAMES WITHOUT INTERPLAY");
    EXPECT_EQ(form.Label("teamHeatLabel")->text(), "Number of Heats to Sum for Team Score:");
    EXPECT_EQ(form.Label("teamConflictLabel")->text(), "Playing in a game with a team member:");
    EXPECT_TRUE(Shown(teamConflict));
    EXPECT_EQ(heat->text(), "2");  // typing survives the switch

    form.Choose("TEAMS SCORE IN A SINGLE HEAT");
    EXPECT_EQ(form.Label("teamHeatLabel")->text(), "Heat Number to Use for Team Scoring:");
    EXPECT_EQ(form.Label("teamConflictLabel")->text(), "");
    EXPECT_FALSE(Shown(teamConflict));
    EXPECT_EQ(heat->text(), "2");

    form.Choose("NO TEAM TOURNAMENT");
    EXPECT_EQ(heat->text(), "");
    EXPECT_EQ(form.ScoredGamesList()->currentIndex(), -1);
    EXPECT_EQ(form.Label("scoredGamesLabel")->text(), "");
    EXPECT_EQ(form.Label("teamHeatLabel")->text(), "");
    EXPECT_EQ(form.Label("teamConflictLabel")->text(), "");
    EXPECT_FALSE(Shown(heat) || Shown(form.ScoredGamesList()) || Shown(teamConflict));
}

TEST_F(TournamentDetails, PowerGroupsAreOfferedOnlyWithAutomaticPowers)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Choose("POWERS DETERMINED AT TABLES");
    EXPECT_FALSE(Shown(form.GroupPowersList()));
    EXPECT_FALSE(Shown(form.Label("groupPowersLabel")));
    EXPECT_TRUE(Shown(form.Edit("Playing the same power more than once:")));
    form.Choose("AUTOMATIC POWER ASSIGNMENT");
    EXPECT_TRUE(Shown(form.GroupPowersList()));
    EXPECT_EQ(form.Label("groupPowersLabel")->text(), "Group Powers?");
}


TEST_F(TournamentDetails, LabelsItsControls)
{
    auto d = OpenNew();
    DetailsForm(*d).Choose("THREE-PLAYER TEAMS").Choose("SUM GAMES WITHOUT INTERPLAY");
    ExpectInputsLabelled(d.get());
}
