// The Heats dialog: opening, heat tabs, creating and abandoning heats,
// registration, the lists with their counts and orderings, the enabling of
// the buttons and the heat's scoring system.

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "heats/HeatsDialogFixture.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/OpenableMainDialog.h"
#include "tournament/CurrentTournament.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>

using namespace testdata;

TEST_F(HeatsDialogTest, OpeningATournamentWithoutHeatsCreatesHeatOneWithoutAQuestion)
{
    OpenTournament({.name = "Autumn Cup", .assignPowers = 0});
    AddPlayers(2);
    auto dlg = OpenDialog();
    EXPECT_EQ(dlg->windowTitle(), "Heats");
    EXPECT_EQ(Rows(Sql("select heatNum, systemID from Heat where tournamentID = %d", tournamentID)),
              (std::vector<QStringList>{{"1", "0"}}));
    ASSERT_EQ(Tabs(dlg.get())->count(), 1);
    EXPECT_EQ(Tabs(dlg.get())->tabText(0), "Heat 1");
    EXPECT_EQ(dlg->findChild<QGroupBox*>("listsGroup")->title(), "Autumn Cup");
    EXPECT_EQ(Column(Unregistered(dlg.get())), (QStringList{"First L00", "First L01"}));
    EXPECT_FALSE(ButtonByText(dlg.get(), "Seeding\nAssigns\nPowers")->isChecked());
    EXPECT_FALSE(ActionByText(dlg.get(), "&PreReg")->isEnabled());
    EXPECT_FALSE(Shown(ButtonByText(dlg.get(), "RePreReg->->")));
    ExpectInputsLabelled(dlg.get());
}

TEST_F(HeatsDialogTest, WithPreRegistrationOpeningAsksAndNoClosesTheDialog)
{
    OpenTournament({.preregistration = 1});
    const std::vector<int> p = AddPlayers(3);
    AddPreRegistration(tournamentID, p[0], 1);
    AddPreRegistration(tournamentID, p[2], 3);

    ui().Expect("Confirm New Heat", MsgAnswer::No)
        .Text("Create Heat 1?\nPre-Registration for this heat will be closed!")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    CHeatsDialog refused;
    EXPECT_FALSE(refused.Initialise());
    EXPECT_TRUE(refused.HasEnded());
    EXPECT_EQ(Count("select * from Heat"), 0);

    ui().Expect("Confirm New Heat", MsgAnswer::Yes);
    auto dlg = OpenDialog();
    EXPECT_EQ(Column(Registered(dlg.get())), (QStringList{"First L00", "First L02"}));
    EXPECT_TRUE(ActionByText(dlg.get(), "&PreReg")->isEnabled());
}

TEST_F(HeatsDialogTest, NewHeatRegistersThePlayersPreRegisteredForItAndStopsAtTheNumberOfHeats)
{
    OpenTournament({.numHeats = 3, .preregistration = 1});
    const std::vector<int> p = AddPlayers(5);
    AddPreRegistration(tournamentID, p[0], 1);
    AddPreRegistration(tournamentID, p[1], 2);
    AddPreRegistration(tournamentID, p[2], 3);
    AddPreRegistration(tournamentID, p[3], 6);
    AddPreRegistration(tournamentID, p[4], 4);
    HeatID(1);
    auto dlg = OpenDialog();
    QAction* newHeat = ActionByText(dlg.get(), "&New");
    ASSERT_TRUE(newHeat->isEnabled());

    ui().Expect("Confirm New Heat", MsgAnswer::No).Text("Create Heat 2?\nPre-Registration for this heat will be closed!");
    newHeat->trigger();
    EXPECT_EQ(Count("select * from Heat"), 1);

    ui().Expect("Confirm New Heat", MsgAnswer::Yes);
    newHeat->trigger();
    const int heat2 = Int(Sql("select id from Heat where tournamentID = %d and heatNum = 2", tournamentID));
    EXPECT_EQ(Rows(Sql("select playerID from HeatPlayer where heatID = %d order by playerID", heat2)),
              (std::vector<QStringList>{{QString::number(p[1])}, {QString::number(p[2])}, {QString::number(p[3])}}));
    EXPECT_EQ(Tabs(dlg.get())->count(), 2);
    EXPECT_EQ(Tabs(dlg.get())->currentIndex(), 1);
    EXPECT_EQ(Column(Registered(dlg.get())), (QStringList{"First L01", "First L02", "First L03"}));

    ui().Expect("Confirm New Heat", MsgAnswer::Yes).Text("Create Heat 3?\nPre-Registration for this heat will be closed!");
    newHeat->trigger();
    EXPECT_FALSE(newHeat->isEnabled());
}

TEST_F(HeatsDialogTest, ANewHeatOfATournamentAnotherProgramHasChangedIsNotCreated)
{
    // What another program did while the dialog was open, and what the
    // director is told.
    struct Case {
        const char* what;
        void (*change)(int tournamentID);
        const char* text;
    };
    const Case cases[] = {
        {"tournament deleted", [](int t) { Exec(Sql("delete from Tournament where id = %d", t)); },
         "This tournament no longer exists: another program has deleted it.\nNo heat was created."},
        {"heat 2 created", [](int t) { Exec(Sql("insert into Heat (tournamentID, heatNum) values (%d, 2)", t)); },
         "Heat 2 already exists: another program has created it.\nNo heat was created."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const char* text = c.text;
        OpenTournament();
        HeatID(1);
        auto dlg = OpenDialog();
        c.change(tournamentID);
        const int heats = Count("select * from Heat");
        ui().Expect("Confirm New Heat", MsgAnswer::Yes);
        ui().Expect("Heat Not Created").Icon(MsgIcon::Stop).Text(text);
        ActionByText(dlg.get(), "&New")->trigger();
        EXPECT_EQ(Count("select * from Heat"), heats);
        EXPECT_EQ(Tabs(dlg.get())->count(), 1);
    }
}

TEST_F(HeatsDialogTest, AbandoningAHeatDeletesItAndMovesTheLaterHeatsDown)
{
    OpenTournament({.preregistration = 1});
    const std::vector<int> p = AddPlayers(9);
    Register(1, {p[0]});
    Register(2, {p[1]});
    SeatSeven(2, 1, p, 2);
    Register(3, {p[0], p[1]});
    AddPreRegistration(tournamentID, p[0], 4);  // heat 3
    const int heat2 = HeatID(2), heat3 = HeatID(3);
    auto dlg = OpenDialog();
    Tabs(dlg.get())->setCurrentIndex(1);
    ASSERT_TRUE(Enabled(dlg.get(), "Abandon Heat"));

    ui().Expect("Confirm Abandon Heat", MsgAnswer::No).Text("Abandon Heat 2???").Icon(MsgIcon::Question);
    ButtonByText(dlg.get(), "Abandon Heat")->click();
    EXPECT_EQ(Count("select * from Heat"), 3);

    ui().Expect("Confirm Abandon Heat", MsgAnswer::Yes);
    ButtonByText(dlg.get(), "Abandon Heat")->click();
    EXPECT_EQ(Rows(Sql("select id, heatNum from Heat where tournamentID = %d order by heatNum", tournamentID)),
              (std::vector<QStringList>{{QString::number(HeatID(1)), "1"}, {QString::number(heat3), "2"}}));
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", heat2)), 0);
    EXPECT_EQ(Count(Sql("select * from Game where heatID = %d", heat2)), 0);
    EXPECT_EQ(Count("select * from GamePlayer"), 0);
    // Pre-registrations keep the numbers they were made for.
    EXPECT_EQ(Int(Sql("select heatNums from TournamentPlayer where playerID = %d", p[0])), 4);
    EXPECT_EQ(Tabs(dlg.get())->count(), 2);
    EXPECT_EQ(Tabs(dlg.get())->tabText(1), "Heat 2");
    EXPECT_EQ(Column(Registered(dlg.get())), (QStringList{"First L00", "First L01"}));
    EXPECT_FALSE(dlg->HasEnded());
}

TEST_F(HeatsDialogTest, AbandoningTheOnlyHeatClosesTheDialog)
{
    OpenTournament();
    HeatID(1);
    auto dlg = OpenDialog();
    ui().Expect("Confirm Abandon Heat", MsgAnswer::Yes).Text("Abandon Heat 1???");
    ButtonByText(dlg.get(), "Abandon Heat")->click();
    EXPECT_TRUE(dlg->HasEnded());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(Count("select * from Heat"), 0);
}

// Refresh never writes: a heat abandoned at another desk leaves the last
// heat shown, and with none left the dialog says so and closes rather than
// creating heat 1 again.
TEST_F(HeatsDialogTest, RefreshAfterHeatsWereAbandonedElsewhereCreatesNone)
{
    OpenTournament();
    const std::vector<int> ids = AddPlayers(2);
    Register(1, {ids[0]});
    HeatID(2);
    auto dlg = OpenDialog();
    ASSERT_EQ(Tabs(dlg.get())->currentIndex(), 1);
    Exec(Sql("delete from Heat where id = %d", HeatID(2)));
    ButtonByText(dlg.get(), "Refresh")->click();
    EXPECT_EQ(Tabs(dlg.get())->count(), 1);
    EXPECT_EQ(Column(Registered(dlg.get())), QStringList{"First L00"});
    // The next heat is numbered after the heats now stored.
    ui().Expect("Confirm New Heat", MsgAnswer::No).Text("Create Heat 2?");
    ActionByText(dlg.get(), "&New")->trigger();

    Exec(Sql("delete from Heat where id = %d", HeatID(1)));
    ui().Expect("No Heat Left").Icon(MsgIcon::Exclamation);
    ButtonByText(dlg.get(), "Refresh")->click();
    EXPECT_TRUE(dlg->HasEnded());
    EXPECT_EQ(Count("select * from Heat"), 0);
}

TEST_F(HeatsDialogTest, AbandonThatFailsHalfWayKeepsTheWholeHeat)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(8);
    HeatID(1);
    Register(2, {p[7]});
    SeatSeven(2, 1, p, 0);
    auto dlg = OpenDialog();
    RefuseWrites("KeepGames", "before delete on Game");
    ui().Expect("Confirm Abandon Heat", MsgAnswer::Yes);
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ButtonByText(dlg.get(), "Abandon Heat")->click();
    EXPECT_EQ(Count("select * from Heat"), 2);
    EXPECT_EQ(Count("select * from HeatPlayer"), 1);
    EXPECT_EQ(Count("select * from GamePlayer"), 7);
}

TEST_F(HeatsDialogTest, AStartedGameKeepsTheHeatFromBeingAbandoned)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(14);
    SeatSeven(1, 1, p, 0);
    SeatSeven(2, 1, p, 0);
    SeatSeven(2, 2, p, 7, kStarted);
    auto dlg = OpenDialog();
    EXPECT_FALSE(Enabled(dlg.get(), "Abandon Heat"));
    Tabs(dlg.get())->setCurrentIndex(0);
    EXPECT_TRUE(Enabled(dlg.get(), "Abandon Heat"));
}

TEST_F(HeatsDialogTest, RegistrationMovesPlayersBetweenTheLists)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(4);
    HeatID(1);
    auto dlg = OpenDialog();
    QTreeWidget* left = Unregistered(dlg.get());
    QTreeWidget* middle = Registered(dlg.get());
    EXPECT_FALSE(Enabled(dlg.get(), "&Register -->"));

    Select(left, {1, 3});
    ASSERT_TRUE(Enabled(dlg.get(), "&Register -->"));
    ButtonByText(dlg.get(), "&Register -->")->click();
    EXPECT_EQ(Column(middle), (QStringList{"First L01", "First L03"}));
    EXPECT_EQ(Column(left), (QStringList{"First L00", "First L02"}));
    EXPECT_FALSE(Enabled(dlg.get(), "&Register -->"));

    Q_EMIT left->itemDoubleClicked(left->topLevelItem(0), 0);  // nothing selected: nothing registered
    left->topLevelItem(0)->setSelected(true);
    Q_EMIT left->itemDoubleClicked(left->topLevelItem(0), 0);
    EXPECT_EQ(Column(left), (QStringList{"First L02"}));

    Select(middle, {0, 2});
    ButtonByText(dlg.get(), "<-- Sit &Out")->click();
    EXPECT_EQ(Column(middle), (QStringList{"First L01"}));
    EXPECT_FALSE(Enabled(dlg.get(), "<-- Sit &Out"));

    ui().Expect("Confirm Mass Registration", MsgAnswer::No)
        .Text("Are you sure you want to register all players for this Heat?");
    ButtonByText(dlg.get(), "All -->")->click();
    EXPECT_EQ(Count("select * from HeatPlayer"), 1);
    ui().Expect("Confirm Mass Registration", MsgAnswer::Yes);
    ButtonByText(dlg.get(), "All -->")->click();
    EXPECT_EQ(Count("select * from HeatPlayer"), 4);
    EXPECT_TRUE(Column(left).isEmpty());
    EXPECT_FALSE(Enabled(dlg.get(), "All -->"));

    ui().Expect("Confirm Mass Unregistration", MsgAnswer::Yes)
        .Text("Are you sure you want to unregister all players for this Heat?");
    ButtonByText(dlg.get(), "<-- All")->click();
    EXPECT_EQ(Count("select * from HeatPlayer"), 0);
    EXPECT_FALSE(Enabled(dlg.get(), "<-- All"));
}

TEST_F(HeatsDialogTest, SeedButtonsNeedWholeGamesAndTheLabelsCountThePlayers)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(30);
    Register(1, {p[0]});
    std::vector<int> fifteen(p.begin() + 1, p.begin() + 16);
    Register(2, fifteen);
    SeatSeven(2, 1, p, 16);
    SeatSeven(2, 2, p, 23);
    HeatID(3);
    auto dlg = OpenDialog();
    QTabBar* tabs = Tabs(dlg.get());

    EXPECT_FALSE(Enabled(dlg.get(), "Seed All ------->"));  // none registered in heat 3
    EXPECT_EQ(Label(dlg.get(), "registeredCountLabel"), "");
    EXPECT_EQ(Label(dlg.get(), "unregisteredCountLabel"), "30 Players Listed");
    EXPECT_EQ(Label(dlg.get(), "seededCountLabel"), "");

    tabs->setCurrentIndex(0);
    EXPECT_EQ(Label(dlg.get(), "registeredCountLabel"), "1 Player Listed");

    tabs->setCurrentIndex(1);
    EXPECT_EQ(Label(dlg.get(), "registeredCountLabel"), "15 Players Listed");
    EXPECT_EQ(Label(dlg.get(), "seededCountLabel"), "14 Players in 2 Games");
    EXPECT_EQ(Label(dlg.get(), "unregisteredCountLabel"), "1 Player Listed");
    EXPECT_FALSE(Enabled(dlg.get(), "Seed All ------->"));
    // A disabled button says why, to the eye and to a screen reader.
    QAbstractButton* seedAll = ButtonByText(dlg.get(), "Seed All ------->");
    EXPECT_EQ(seedAll->toolTip(), "15 registered: seeding needs a multiple of 7 \u2014 register 6 more or leave 1 out");
    EXPECT_EQ(seedAll->accessibleDescription(), seedAll->toolTip());
    QTreeWidget* middle = Registered(dlg.get());
    for (auto [count, enabled] : {std::pair{7, true}, {8, false}, {14, true}, {0, false}}) {
        std::vector<int> rows;
        for (int r = 0; r < count; ++r) rows.push_back(r);
        Select(middle, rows);
        EXPECT_EQ(Enabled(dlg.get(), "Seed Some -->"), enabled) << count << " selected";
        EXPECT_EQ(Enabled(dlg.get(), "<-- Sit &Out"), count > 0) << count << " selected";
    }

    Select(middle, {0});
    ButtonByText(dlg.get(), "<-- Sit &Out")->click();
    EXPECT_TRUE(Enabled(dlg.get(), "Seed All ------->"));  // 14 left
    EXPECT_EQ(seedAll->toolTip(), "");

    // A selection does not outlive the heat it was made in.
    Select(middle, {0, 1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(Enabled(dlg.get(), "Seed Some -->"));
    tabs->setCurrentIndex(0);
    EXPECT_FALSE(Enabled(dlg.get(), "Seed Some -->"));
    EXPECT_FALSE(Enabled(dlg.get(), "<-- Sit &Out"));

    Exec(Sql("delete from GamePlayer where gameID = (select id from Game where heatID = %d and gameNum = 2)",
             HeatID(2)));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(Label(dlg.get(), "seededCountLabel"), "7 Players in 1 Game");
}

TEST_F(HeatsDialogTest, TheSeatedListShowsGamePowerAndStateAndOrdersByTheColumnClicked)
{
    OpenTournament();
    const int zed = AddPlayer("Zed", "Adams");
    const int amy = AddPlayer("Amy", "Young");
    const int bo = AddPlayer("Bo", "Mills");
    const int cy = AddPlayer("Cy", "Hart");
    SeatGame(1, 2, {{zed, kItaly}, {amy, kAustria}}, kStarted);
    SeatGame(1, 1, {{bo, kTurkey}, {cy, kEngland}}, kFinished);
    SeatGame(1, 3, {{AddPlayer("No", "Power"), kNoPower}});
    auto dlg = OpenDialog();
    QTreeWidget* list = Seated(dlg.get());
    const QString kStartedMark(QChar(0x00D7)), kFinishedMark(QChar(0x00A4));
    ASSERT_EQ(list->columnCount(), 4);
    EXPECT_EQ(list->headerItem()->text(0), "Player Name");
    EXPECT_EQ(list->headerItem()->text(3), "S");

    EXPECT_EQ(Column(list, 0), (QStringList{"Cy Hart", "Bo Mills", "Amy Young", "Zed Adams", "No Power"}));
    EXPECT_EQ(Column(list, 1), (QStringList{"1", "1", "2", "2", "3"}));
    EXPECT_EQ(Column(list, 2), (QStringList{"England", "Turkey", "Austria", "Italy", ""}));
    EXPECT_EQ(Column(list, 3), (QStringList{kFinishedMark, kFinishedMark, kStartedMark, kStartedMark, ""}));

    Q_EMIT list->header()->sectionClicked(2);
    EXPECT_EQ(Column(list, 0), (QStringList{"No Power", "Amy Young", "Cy Hart", "Zed Adams", "Bo Mills"}));
    Q_EMIT list->header()->sectionClicked(0);
    EXPECT_EQ(Column(list, 0), (QStringList{"Zed Adams", "Cy Hart", "Bo Mills", "No Power", "Amy Young"}));
    Q_EMIT list->header()->sectionClicked(3);
    EXPECT_EQ(Column(list, 0), (QStringList{"Cy Hart", "Bo Mills", "Amy Young", "Zed Adams", "No Power"}));
}

TEST_F(HeatsDialogTest, TheDefaultSystemIsListedTwiceAndEachRowStoresItsOwnValue)
{
    const int other = AddSystem({.name = "Alpha"});
    OpenTournament();  // on the fixture's system "Standard"
    const int heat = HeatID(1);
    auto dlg = OpenDialog();
    auto* combo = ControlByName<QComboBox>(dlg.get(), "Scoring System:");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "Alpha");
    EXPECT_EQ(combo->itemText(1), "Standard (default)");
    EXPECT_EQ(combo->itemText(2), "Standard (hard-set)");
    EXPECT_EQ(combo->currentIndex(), 1);

    combo->setCurrentIndex(2);
    EXPECT_EQ(Int(Sql("select systemID from Heat where id = %d", heat)), systemID);
    combo->setCurrentIndex(0);
    EXPECT_EQ(Int(Sql("select systemID from Heat where id = %d", heat)), other);
    combo->setCurrentIndex(1);
    EXPECT_EQ(Int(Sql("select systemID from Heat where id = %d", heat)), 0);
}

TEST_F(HeatsDialogTest, AChoiceOfSystemThatIsNotSavedLeavesTheHeatOnItsSystem)
{
    AddSystem({.name = "Alpha"});
    OpenTournament();
    const int heat = HeatID(1);
    auto dlg = OpenDialog();
    auto* combo = ControlByName<QComboBox>(dlg.get(), "Scoring System:");
    ASSERT_EQ(combo->currentText(), "Standard (default)");
    RefuseWrites("KeepSystem", "before update on Heat");

    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    combo->setCurrentIndex(0);  // Alpha
    EXPECT_EQ(Int(Sql("select systemID from Heat where id = %d", heat)), 0);
    EXPECT_EQ(combo->currentText(), "Standard (default)");
    // View/Modify still opens the system the heat is on.
    ui().ExpectDialog<CScoringSystemDialog>([&](CScoringSystemDialog& d) { EXPECT_EQ(d.TargetID(), systemID); });
    ButtonByText(dlg.get(), "View/Modify")->click();
}

TEST_F(HeatsDialogTest, ViewModifyOpensTheHeatsSystemAndListsANewOneAfterwards)
{
    const int other = AddSystem({.name = "Alpha"});
    OpenTournament();
    AddHeat(tournamentID, 1, other);
    auto dlg = OpenDialog();
    auto* combo = ControlByName<QComboBox>(dlg.get(), "Scoring System:");
    ASSERT_EQ(combo->currentText(), "Alpha");

    ui().ExpectDialog<CScoringSystemDialog>([&](CScoringSystemDialog& d) {
        EXPECT_EQ(d.TargetID(), other);
        EXPECT_EQ(ScoringSystem.id, other);
    });
    ButtonByText(dlg.get(), "View/Modify")->click();
    EXPECT_EQ(combo->count(), 3);

    combo->setCurrentIndex(1);  // Standard (default)
    ui().ExpectDialog<CScoringSystemDialog>([&](CScoringSystemDialog& d) {
        EXPECT_EQ(d.TargetID(), systemID);
        SystemValues values;
        values.name = "Beta";
        SaveSystemValues(values, -1);
        d.accept();
    });
    ButtonByText(dlg.get(), "View/Modify")->click();
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(1), "Beta");
    EXPECT_EQ(combo->currentText(), "Standard (default)");
    EXPECT_EQ(Int("select systemID from Heat"), 0);
}

TEST_F(HeatsDialogTest, TheMainWindowsHeatsButtonRunsTheDialogAndRefreshesAfterwards)
{
    const int id = OpenTournament();
    OpenableMainDialog main;
    ASSERT_TRUE(main.Initialise());
    main.Show(id);
    ASSERT_FALSE(ButtonByText(&main, "Scores")->isEnabled());

    ui().ExpectDialog<CHeatsDialog>([&](CHeatsDialog& heats) {
        EXPECT_EQ(Tabs(&heats)->count(), 1);
        // A game finished while the dialog is open enables the scores.
        AddGame(Int("select id from Heat"), 1, kFinished);
        ButtonByText(&heats, "OK")->click();
        EXPECT_EQ(heats.result(), QDialog::Accepted);
    });
    ButtonByText(&main, "Heats")->click();
    EXPECT_TRUE(ButtonByText(&main, "Scores")->isEnabled());
}
