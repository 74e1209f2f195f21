// What the Tournament Details dialog refuses, with every reason and the
// director's typing kept, and what it stores.

#include "tournament/TournamentDetails.h"

#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/DetailsForm.h"

#include <QCheckBox>

using namespace testdata;

namespace {

const QString kInvalid = "The tournament system is invalid.  The following errors were found:\n\n";

}  // namespace

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
