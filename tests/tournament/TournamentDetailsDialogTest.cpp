#include "tournament/TournamentDetailsDialog.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "tournament/DetailsForm.h"
#include "tournament/TwoSystems.h"

#include <QCheckBox>
#include <QPushButton>

#include <memory>

using namespace testdata;

namespace {

QStringList ItemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

const QString kInvalid = "The tournament system is invalid.  The following errors were found:\n\n";

}  // namespace

class TournamentDetails : public TwoSystems {
protected:
    // The dialogs as the main window opens them.
    std::unique_ptr<CTournamentDetailsDialog> OpenNew()
    {
        ScoringSystem.id = -1;
        return Opened(std::make_unique<CTournamentDetailsDialog>(-1, QString(), QString()));
    }
    std::unique_ptr<CTournamentDetailsDialog> OpenEdit(int id)
    {
        LoadTournament(id);
        return Opened(
            std::make_unique<CTournamentDetailsDialog>(id, CurrentTournament.name, CurrentTournament.description));
    }

    static double Real(const SqlStatement& statement)
    {
        CRecordset rs(statement);
        EXPECT_FALSE(rs.IsEOF()) << statement.Text().toStdString();
        return rs.IsEOF() ? 0.0 : rs.GetDouble(0);
    }
    static QString SystemCaption(CTournamentDetailsDialog& d)
    {
        return d.findChild<QPushButton*>("systemButton")->text();
    }

private:
    static std::unique_ptr<CTournamentDetailsDialog> Opened(std::unique_ptr<CTournamentDetailsDialog> d)
    {
        EXPECT_TRUE(d->Initialise());
        return d;
    }
};

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

TEST_F(TournamentDetails, ListsEveryErrorAndKeepsTheTyping)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Description()->setPlainText("Kept as typed");
    ui().Expect("Unable to Update!")
        .Text(kInvalid +
              "A tournament name must be specified.\nNumber of Heats must be between 1 and 9.\n"
              "Improper minimum heat requirement.\nImproper number of low heats.\n")
        .Icon(MsgIcon::Stop)
        .Buttons(MsgButtons::Ok);
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(form.Description()->toPlainText(), "Kept as typed");
    EXPECT_EQ(Count("select * from Tournament"), 0);
}

TEST_F(TournamentDetails, RefusesFewerHeatsThanThoseThatExist)
{
    const int t = AddTournament({.systemID = standard, .numHeats = 3});
    for (int h = 1; h <= 3; ++h) AddHeat(t, h);
    AddHeat(AddTournament({.name = "Other", .systemID = standard, .numHeats = 5}), 5);
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    form.Type("Number of Heats:", "2");
    ui().Expect("Unable to Update!").Text(kInvalid + "Heats beyond the specified number of heats already exist.\n");
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(Int(Sql("select numHeats from Tournament where id = %d", t)), 3);

    form.Type("Number of Heats:", "3");  // the other tournament's fifth heat is not ours
    form.PressOK();
    EXPECT_TRUE(d->HasEnded());
}

TEST_F(TournamentDetails, AsksAboutCorrectedMultipliers)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Basics("Cup", "Standard").Multipliers("1", "0.5", "1", "0.5");
    ui().Expect("Corrections Made", MsgAnswer::No)
        .Text("The tournament system is valid.\n\nAre the corrections that were made\nto the low-score multipliers "
              "correct?")
        .Icon(MsgIcon::Exclamation)
        .Buttons(MsgButtons::YesNo);
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(form.LowHeatsShown(), QStringList({"2", "0", "0.50", "0.00"}));
    EXPECT_EQ(Count("select * from Tournament"), 0);

    // The corrected values need no further correction.
    form.PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(Int(Sql("select dropHeats from Tournament where id = %d", d->EditedID())), 2);
    EXPECT_DOUBLE_EQ(Real(Sql("select multDrop from Tournament where id = %d", d->EditedID())), 0.5);
}

TEST_F(TournamentDetails, AMultiplierWithoutLowestHeatsIsDropped)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Basics("Cup", "Standard").Multipliers("0", "5", "0", "0");
    ui().Expect("Corrections Made", MsgAnswer::Yes);
    form.PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(form.LowHeatsShown(), QStringList({"0", "0", "0.00", "0.00"}));
    EXPECT_EQ(Int(Sql("select dropHeats from Tournament where id = %d", d->EditedID())), 0);
    EXPECT_DOUBLE_EQ(Real(Sql("select multDrop from Tournament where id = %d", d->EditedID())), 0.0);
}

TEST_F(TournamentDetails, StoresMultipliersAndShowsThemAgain)
{
    const int t = AddTournament({.systemID = standard, .numHeats = 3});
    struct Case {
        const char* x;
        const char* y;
        double stored;
        QStringList shown;
    };
    for (const Case& c : {Case{"0.5", "0.25", 2500.50, {"1", "1", "0.50", "0.25"}},
                          Case{"99", "0.25", 2599.00, {"1", "1", "99.00", "0.25"}}}) {
        auto d = OpenEdit(t);
        DetailsForm(*d).Multipliers("1", c.x, "1", c.y).PressOK();
        ASSERT_TRUE(d->HasEnded()) << c.x;
        EXPECT_EQ(Int(Sql("select dropHeats from Tournament where id = %d", t)), 11);
        EXPECT_DOUBLE_EQ(Real(Sql("select multDrop from Tournament where id = %d", t)), c.stored);
        auto again = OpenEdit(t);
        EXPECT_EQ(DetailsForm(*again).LowHeatsShown(), c.shown);
    }
}

TEST_F(TournamentDetails, StoresTheTeamScoring)
{
    const int t = AddTournament({.systemID = standard, .numHeats = 3});
    {
        auto d = OpenEdit(t);
        DetailsForm(*d)
            .Choose("FOUR-PLAYER TEAMS")
            .Choose("SUM GAMES WITHOUT INTERPLAY")
            .Type("Number of Heats to Sum for Team Score:", "2")
            .Type("Playing in a game with a team member:", "5")
            .PressOK();
        ASSERT_TRUE(d->HasEnded());
        EXPECT_EQ(Rows(Sql("select teamSize, teamHeat, teamConflict from Tournament where id = %d", t)),
                  std::vector<QStringList>({{"2", "-2", "5"}}));
    }
    {
        auto d = OpenEdit(t);
        DetailsForm form(*d);
        EXPECT_EQ(form.ScoredGamesList()->currentText(), "SUM GAMES WITHOUT INTERPLAY");
        form.Choose("TEAMS SCORE IN A SINGLE HEAT").Type("Heat Number to Use for Team Scoring:", "3").PressOK();
        ASSERT_TRUE(d->HasEnded());
        EXPECT_EQ(Int(Sql("select teamHeat from Tournament where id = %d", t)), 3);
    }
    {
        auto d = OpenEdit(t);
        DetailsForm form(*d);
        form.Type("Heat Number to Use for Team Scoring:", "4");
        ui().Expect("Unable to Update!").Text(kInvalid + "Invalid team-heat information.\n");
        form.PressOK();
        form.Choose("NO TEAM TOURNAMENT").PressOK();
        ASSERT_TRUE(d->HasEnded());
        EXPECT_EQ(Rows(Sql("select teamSize, teamHeat from Tournament where id = %d", t)),
                  std::vector<QStringList>({{"0", "0"}}));
    }
}

TEST_F(TournamentDetails, PowerGroupingNeedsAPlayerConflictOfTwo)
{
    const int t = AddTournament({.systemID = standard, .playerConflict = 1});
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    form.Choose("A/G/I -- E/F -- R/T");
    ui().Expect("Unable to Update!")
        .Text(kInvalid + "Power grouping requires player conflict value to be two or more.\n")
        .Icon(MsgIcon::Stop);
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    form.Type("Playing the same player more than once:", "2").PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(Rows(Sql("select groupPowers, playerConflict from Tournament where id = %d", t)),
              std::vector<QStringList>({{"1", "2"}}));
}

TEST_F(TournamentDetails, ANewNameMustBeFreeButAnEditMayReuseOne)
{
    AddTournament({.name = "Spring Open", .systemID = standard});
    const int autumn = AddTournament({.name = "Autumn Cup", .systemID = standard});
    {
        auto d = OpenNew();
        DetailsForm form(*d);
        form.Basics("Spring Open", "Standard");
        ui().Expect("Tournament Exists").Text("That tournament name is already in use!").Icon(MsgIcon::Stop);
        form.PressOK();
        EXPECT_FALSE(d->HasEnded());
        EXPECT_LT(d->EditedID(), 0);
        EXPECT_EQ(Count("select * from Tournament"), 2);
    }
    auto d = OpenEdit(autumn);
    DetailsForm(*d).Type("Tournament Name:", "Spring Open").PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(Count("select * from Tournament where name = 'Spring Open'"), 2);
}

TEST_F(TournamentDetails, ANewTournamentNeedsAScoringSystem)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Type("Tournament Name:", "Cup").Type("Number of Heats:", "3").Type("Player Must Play In", "1");
    ui().Expect("No Scoring System").Text("A scoring system must be specified!").Icon(MsgIcon::Stop);
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(Count("select * from Tournament"), 0);
}

TEST_F(TournamentDetails, NewStoresEverySetting)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Basics("O'Neill Open", "Standard", 5)
        .Type("Player Must Play In", "2")
        .Multipliers("1", "0.5", "1", "0.25")
        .Type("Unplayed Score:", "3")
        .Type("Playing the same player more than once:", "4")
        .Type("Playing the same power more than once:", "2")
        .Choose("A/I -- E/F -- R/T -- G")
        .Choose("THREE-PLAYER TEAMS")
        .Choose("SUM GAMES WITHOUT INTERPLAY")
        .Type("Number of Heats to Sum for Team Score:", "2")
        .Type("Playing in a game with a team member:", "6");
    form.Description()->setPlainText("Bob's\nfinal cup");
    d->findChild<QCheckBox*>()->setChecked(true);
    form.PressOK();

    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    const int id = Int("select id from Tournament");
    EXPECT_EQ(d->EditedID(), id);
    EXPECT_EQ(CurrentTournament.id, id);
    EXPECT_EQ(form.Description()->toPlainText(), "Bob`s\nfinal cup");
    EXPECT_EQ(Rows(Sql("select name, description, systemID, teamSize, teamHeat, teamConflict, playerConflict, "
                       "powerConflict, numHeats, dropHeats, minHeats, assignPowers, groupPowers, preregistration, "
                       "unplayedScore from Tournament where id = %d",
                       id)),
              std::vector<QStringList>({{"O'Neill Open", "Bob`s\nfinal cup", QString::number(standard), "1", "-2",
                                         "6", "4", "2", "5", "11", "2", "1", "3", "1", "3"}}));
    EXPECT_DOUBLE_EQ(Real(Sql("select multDrop from Tournament where id = %d", id)), 2500.5);
}

TEST_F(TournamentDetails, EditStoresEverySetting)
{
    const int t = AddTournament({.name = "Spring Open", .systemID = standard, .teamSize = 1, .teamHeat = 2,
                                 .teamConflict = 3, .numHeats = 4, .preregistration = 1});
    const int other = AddTournament({.name = "Other", .systemID = standard});
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    form.Type("Tournament Name:", "Spring Masters")
        .Choose("Alpha")
        .Type("Number of Heats:", "6")
        .Type("Player Must Play In", "3")
        .Multipliers("2", "0", "0", "0")
        .Choose("POWERS DETERMINED AT TABLES")
        .Type("Playing the same power more than once:", "7")
        .Choose("NO TEAM TOURNAMENT")
        .Type("Unplayed Score:", "-1");
    form.Description()->setPlainText("It's on");
    d->findChild<QCheckBox*>()->setChecked(false);
    form.PressOK();

    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(d->EditedID(), t);
    EXPECT_EQ(Rows(Sql("select name, description, systemID, teamSize, teamHeat, teamConflict, playerConflict, "
                       "powerConflict, numHeats, dropHeats, minHeats, assignPowers, groupPowers, preregistration, "
                       "unplayedScore from Tournament where id = %d",
                       t)),
              std::vector<QStringList>({{"Spring Masters", "It`s on", QString::number(alpha), "0", "0", "3", "1",
                                         "7", "6", "2", "3", "0", "0", "0", "-1"}}));
    EXPECT_EQ(Rows(Sql("select name, numHeats from Tournament where id = %d", other)),
              std::vector<QStringList>({{"Other", "3"}}));
}

TEST_F(TournamentDetails, TakesTextsUpToTheirLimitsAndRefusesLongerOnes)
{
    const int t = AddTournament({.name = "Spring Open", .systemID = standard});
    auto d = OpenEdit(t);
    DetailsForm form(*d);
    form.Type("Tournament Name:", QString(81, QChar('N')));
    form.Description()->setPlainText(QString(2001, QChar('d')));
    ui().Expect("Unable to Update!")
        .Text(kInvalid + "The tournament name may have at most 80 characters (it has 81).\n"
                         "The description may have at most 2000 characters (it has 2001).\n")
        .Icon(MsgIcon::Stop);
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(Rows(Sql("select name from Tournament where id = %d", t)), std::vector<QStringList>({{"Spring Open"}}));

    const QString name = QString(77, QChar('N')) + "'s";
    const QString description = QString(1000, QChar('d')) + "'" + QString(999, QChar('e'));
    form.Type("Tournament Name:", name);
    form.Description()->setPlainText(description);
    form.PressOK();
    ASSERT_TRUE(d->HasEnded());
    EXPECT_EQ(Rows(Sql("select name, description from Tournament where id = %d", t)),
              std::vector<QStringList>({{name, QString(description).replace('\'', '`')}}));
}

TEST_F(TournamentDetails, ANumberTooLargeIsRefusedNotWrapped)
{
    const int t = AddTournament({.systemID = standard, .numHeats = 3, .dropHeats = 0});
    auto d = OpenEdit(t);
    d->show();
    DetailsForm form(*d);
    form.Multipliers("99999999999", "0.5", "0", "0")
        .Type("Playing the same player more than once:", "99999999999")
        .Type("Unplayed Score:", "99999999999");
    ui().Expect("Unable to Update!")
        .Text(kInvalid + "Improper number of low heats.\nPlayer conflict value must be between 1 and 999.\n"
                         "Unplayed score must be between -9999 and 9999.\n");
    form.PressOK();
    EXPECT_FALSE(d->HasEnded());
    EXPECT_EQ(d->focusWidget(), form.Edit("Multiply the Lowest"));
    EXPECT_EQ(Rows(Sql("select dropHeats, playerConflict, unplayedScore from Tournament where id = %d", t)),
              std::vector<QStringList>({{"0", "1", "0"}}));
}

TEST_F(TournamentDetails, AFirstRefusalTakesTheDirectorToTheFirstFieldNamed)
{
    auto d = OpenNew();
    d->show();
    DetailsForm form(*d);
    ui().Expect("Unable to Update!");
    form.PressOK();
    EXPECT_EQ(d->focusWidget(), form.Edit("Tournament Name:"));

    form.Type("Tournament Name:", "Cup");
    ui().Expect("Unable to Update!")
        .Text(kInvalid + "Number of Heats must be between 1 and 9.\nImproper minimum heat requirement.\n"
                         "Improper number of low heats.\n");
    form.PressOK();
    EXPECT_EQ(d->focusWidget(), form.Edit("Number of Heats:"));
    EXPECT_EQ(form.Edit("Number of Heats:")->selectedText(), "0");
}

TEST_F(TournamentDetails, CancelCreatesNothing)
{
    auto d = OpenNew();
    DetailsForm form(*d);
    form.Basics("Cup", "Standard");
    ButtonByText(d.get(), "Cancel")->click();
    EXPECT_TRUE(d->HasEnded());
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_LT(d->EditedID(), 0);
    EXPECT_EQ(Count("select * from Tournament"), 0);
}

TEST_F(TournamentDetails, LabelsItsControls)
{
    auto d = OpenNew();
    DetailsForm(*d).Choose("THREE-PLAYER TEAMS").Choose("SUM GAMES WITHOUT INTERPLAY");
    ExpectInputsLabelled(d.get());
}
