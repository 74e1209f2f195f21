// The Heats dialog's seating: seeding with and without optimisation, Unseed,
// starting the games, Replace and Swap 2 with their selection rules, and the
// dialogs opened from the seated list and the menu.

#include "db/Format.h"
#include "db/ValueCodes.h"
#include "games/GamesDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialogFixture.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "scoring/ScoringSystem.h"
#include "support/SecondDesk.h"
#include "tournament/CurrentTournament.h"

#include "heats/SeatingSearchDialog.h"
#include "heats/Seeding.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QGroupBox>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

using namespace testdata;

class HeatsSeatingTest : public HeatsDialogTest {
protected:
    // Fourteen players who met in two finished games of heat 1, all
    // registered for heat 2: any seating of heat 2 repeats meetings, at
    // best 36 points' worth (4 + 3 and 3 + 4 old opponents per game).
    std::vector<int> MetBefore()
    {
        OpenTournament();
        const std::vector<int> p = AddPlayers(14);
        SeatSeven(1, 1, p, 0, kFinished);
        SeatSeven(1, 2, p, 7, kFinished);
        Register(2, p);
        ui().SetTime(1234567890);
        return p;
    }
    int SeatedInHeat(int heatNum, const char* condition = "1 = 1")
    {
        return Count(Sql("select * from GamePlayer, Game where GamePlayer.gameID = Game.id and Game.heatID = %d and %s",
                         HeatID(heatNum), condition));
    }
    static int CurrentConflict(int heatNum = 2) { return BuildConflictModel(heatNum)->TotalConflict(); }
    // 21 players who met in heat 1, drawn at random and played, with
    // declared conflicts and a group, all registered for heat 2: a heat the
    // exchange pass leaves with room for the deeper search.
    std::vector<int> RoomForTheSearch()
    {
        OpenTournament({.playerConflict = 3, .powerConflict = 2});
        const std::vector<int> p = AddPlayers(21);
        for (size_t k = 0; k < p.size(); ++k)
            if (k != (k * 7 + 3) % 21) AddConflict(p[k], p[(k * 7 + 3) % 21], 1 + int(k) % 4);
        AddGroup("Club", 2, {p[0], p[5], p[10], p[15], p[20]});
        Register(1, p);
        ui().SetTime(1700086400);
        DrawSeating(HeatID(1), p);
        Exec(Sql("update Game set gameStat = %d where heatID = %d", int(kFinished), HeatID(1)));
        Register(2, p);
        ui().SetTime(1700172800);
        return p;
    }
    // The heat's seats as (game number, player, power), in that order.
    std::vector<QStringList> StoredSeats(int heatNum)
    {
        return Rows(Sql("select gameNum, playerID, powerID from GamePlayer, Game where GamePlayer.gameID = Game.id and "
                        "Game.heatID = %d order by gameNum, playerID",
                        HeatID(heatNum)));
    }
    // The value a message ends with ("... is %d." or "... is %d.\nDo ...").
    static int ValueIn(const QString& text)
    {
        const QRegularExpressionMatch m = QRegularExpression("value is (-?\\d+)\\.").match(text);
        EXPECT_TRUE(m.hasMatch()) << text.toStdString();
        return m.captured(1).toInt();
    }
    // Runs the search's progress dialog until it ends by itself, after steps
    // steps, then calls check.
    void ExpectSearch(long long steps, std::function<void(CSeatingSearchDialog&)> check = {})
    {
        ui().ExpectDialog<CSeatingSearchDialog>([steps, check](CSeatingSearchDialog& d) {
            d.LimitSteps(steps);
            PumpUntil(d, [&] { return d.HasEnded(); });
            if (check) check(d);
        });
    }
    // Lets the event loop run the dialog until done() holds (or a minute
    // has passed, which fails the test).
    template <class Done>
    static void PumpUntil(CSeatingSearchDialog& d, Done done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && !d.HasEnded() && waited.elapsed() < 60000) QCoreApplication::processEvents();
        EXPECT_TRUE(done()) << "the search dialog did not get there";
    }
    static QString LabelText(QWidget* d, const char* name) { return d->findChild<QLabel*>(name)->text(); }

    // "Are you sure ... %s and %s?" names, as the seated list shows them.
    static QString SwapQuestion(const QString& x, const QString& y)
    {
        return Format("Are you sure you want to swap the assigned players %s and %s?", x, y);
    }
};

TEST_F(HeatsSeatingTest, SeedAllWithTheOptimisationWritesTheImprovedSeating)
{
    MetBefore();
    auto dlg = OpenDialog();
    ASSERT_EQ(Tabs(dlg.get())->currentIndex(), 1);
    ui().Expect("Confirm Optimization", MsgAnswer::Yes).Icon(MsgIcon::Question).Buttons(MsgButtons::YesNo);
    // The exchange pass already reaches the least possible value; the search
    // finds nothing lower.
    ExpectSearch(5000, [](CSeatingSearchDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Optimizing Seating");
        EXPECT_EQ(LabelText(&d, "bestLabel"), "Best conflict value so far: 36");
    });
    ui().Expect("Heat Seeded").Text("Optimization Complete!\nFinal conflict value is 36.").Icon(MsgIcon::Exclamation);
    ButtonByText(dlg.get(), "Seed All ------->")->click();

    const QRegularExpression question("^Players randomly seeded.\n\nCurrent conflict value is (\\d+).\nDo you wish to "
                                      "optimize conflicts\\?\n\\(This may take a few minutes.\\)$");
    const QRegularExpressionMatch asked = question.match(ui().Messages().at(0).text);
    ASSERT_TRUE(asked.hasMatch()) << ui().Messages().at(0).text.toStdString();
    EXPECT_GE(asked.captured(1).toInt(), 36);
    EXPECT_EQ(ui().WaitCursorShows(), 2);  // the pass, and the search's last climb
    EXPECT_EQ(ui().WaitCursorDepth(), 0);

    EXPECT_EQ(CurrentConflict(), 36);
    for (int game = 1; game <= 2; ++game)
        EXPECT_EQ(Rows(Sql("select powerID from GamePlayer, Game where gameID = Game.id and heatID = %d and gameNum = "
                           "%d order by powerID",
                           HeatID(2), game)),
                  (std::vector<QStringList>{{"0"}, {"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}}));
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", HeatID(2))), 0);
    EXPECT_EQ(Label(dlg.get(), "seededCountLabel"), "14 Players in 2 Games");
    EXPECT_TRUE(Column(Registered(dlg.get())).isEmpty());
    EXPECT_FALSE(Enabled(dlg.get(), "Seed All ------->"));
    EXPECT_TRUE(Enabled(dlg.get(), "&Start Games"));
}

TEST_F(HeatsSeatingTest, DecliningTheOptimisationKeepsTheRandomSeating)
{
    MetBefore();
    auto dlg = OpenDialog();
    ui().Expect("Confirm Optimization", MsgAnswer::No);
    ButtonByText(dlg.get(), "Seed All ------->")->click();
    ASSERT_EQ(ui().Messages().size(), 1u);
    EXPECT_EQ(ui().Messages()[0].text,
              Format("Players randomly seeded.\n\nCurrent conflict value is %d.\nDo you wish to optimize "
                     "conflicts?\n(This may take a few minutes.)",
                     CurrentConflict()));
    EXPECT_EQ(ui().WaitCursorShows(), 0);
    EXPECT_EQ(SeatedInHeat(2), 14);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", HeatID(2))), 0);
}

TEST_F(HeatsSeatingTest, AnOptimisedSeatingThatCannotBeWrittenLeavesTheDrawnSeatingShown)
{
    MetBefore();
    auto dlg = OpenDialog();
    // The draw writes seats; only the optimised seating deletes them.
    RefuseWrites("KeepSeats", "before delete on GamePlayer");
    ui().Expect("Confirm Optimization", MsgAnswer::Yes);
    ExpectSearch(1000);
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ButtonByText(dlg.get(), "Seed All ------->")->click();

    // The draw was stored before the question and stays.
    const int drawn = ValueIn(ui().Messages().at(0).text);
    EXPECT_EQ(SeatedInHeat(2), 14);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", HeatID(2))), 0);
    EXPECT_EQ(CurrentConflict(), drawn);
    EXPECT_EQ(Column(Seated(dlg.get())).size(), 14);
    EXPECT_TRUE(Column(Registered(dlg.get())).isEmpty());
    ASSERT_TRUE(g_conflictModel);
    EXPECT_EQ(g_conflictModel->TotalConflict(), drawn);
    EXPECT_EQ(CurrentTournament.assignPowers, 1);
}

TEST_F(HeatsSeatingTest, ClearedSearchDeeperGivesTheExchangePassAndTickedItSearchesBelowIt)
{
    RoomForTheSearch();
    auto dlg = OpenDialog();
    QAbstractButton* deeper = ButtonByText(dlg.get(), "Search Deeper");
    ASSERT_TRUE(deeper->isChecked());
    EXPECT_EQ(AccessibleName(deeper), "Search Deeper");
    auto seedAll = [&] { ButtonByText(dlg.get(), "Seed All ------->")->click(); };
    auto unseed = [&] { ButtonByText(dlg.get(), "<-------- Unseed")->click(); };

    deeper->click();
    ui().Expect("Confirm Optimization", MsgAnswer::Yes);
    ui().Expect("Heat Seeded");
    seedAll();
    const int passed = ValueIn(ui().Messages().back().text);
    const std::vector<QStringList> passedSeats = StoredSeats(2);

    // The same clock draws the same seating again; the exchange pass alone
    // ends where the seeding ended.
    unseed();
    ui().Expect("Confirm Optimization", MsgAnswer::No);
    seedAll();
    ConflictModel drawn = *BuildConflictModel(2);
    EXPECT_EQ(OptimiseSeating(drawn, drawn.TotalConflict()), passed);
    drawn.WriteSeating();
    EXPECT_EQ(StoredSeats(2), passedSeats);

    unseed();
    deeper->click();
    ui().Expect("Confirm Optimization", MsgAnswer::Yes);
    ExpectSearch(50000);
    ui().Expect("Heat Seeded");
    seedAll();
    const int searched = ValueIn(ui().Messages().back().text);
    EXPECT_LT(searched, passed);
    EXPECT_EQ(BuildConflictModel(2)->TotalConflict(), searched);
}

TEST_F(HeatsSeatingTest, StopEndsTheSearchAtOnceWithTheBestSeatingFound)
{
    RoomForTheSearch();
    auto dlg = OpenDialog();
    int shown = 0;
    ui().Expect("Confirm Optimization", MsgAnswer::Yes);
    ui().ExpectDialog<CSeatingSearchDialog>([&](CSeatingSearchDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Optimizing Seating");
        EXPECT_EQ(LabelText(&d, "timeLeftLabel"), "Time left: 2 seconds");
        auto best = [&] { return LabelText(&d, "bestLabel").section(' ', -1).toInt(); };
        const int passed = best();
        PumpUntil(d, [&] { return best() < passed; });
        shown = best();
        ButtonByText(&d, "Stop")->click();
        EXPECT_TRUE(d.HasEnded());
    });
    ui().Expect("Heat Seeded");
    ButtonByText(dlg.get(), "Seed All ------->")->click();
    const int final = ValueIn(ui().Messages().back().text);
    EXPECT_LE(final, shown);
    EXPECT_EQ(CurrentConflict(2), final);
}

TEST_F(HeatsSeatingTest, NoLockIsHeldWhileTheSearchRunsAndAHeatChangedMeanwhileKeepsItsSeating)
{
    RoomForTheSearch();
    auto dlg = OpenDialog();
    ui().Expect("Confirm Optimization", MsgAnswer::Yes);
    ExpectSearch(2000, [&](CSeatingSearchDialog&) {
        // The draw is stored and the file is free: another program starts
        // game 1 meanwhile.
        SecondDesk other(store());
        EXPECT_TRUE(other.Write(Format("update Game set gameStat = %d where heatID = %d and gameNum = 1", int(kStarted),
                                    HeatID(2))));
    });
    ui().Expect("Optimization Not Saved")
        .Icon(MsgIcon::Stop)
        .Text("Another program has changed the games of Heat 2 while the seating was being optimized.\nThe seating is "
              "kept as it is stored.");
    ButtonByText(dlg.get(), "Seed All ------->")->click();

    EXPECT_EQ(SeatedInHeat(2), 21);
    EXPECT_EQ(Count(Sql("select * from GamePlayer, Game where GamePlayer.gameID = Game.id and heatID = %d and "
                        "gameStat = %d",
                        HeatID(2), int(kStarted))),
              7);
    EXPECT_EQ(Column(Seated(dlg.get()), 3).count(QString(QChar(0x00D7))), 7);
    ASSERT_TRUE(g_conflictModel);
    EXPECT_EQ(g_conflictModel->players.size(), 14u);  // the heat's not-started games, as stored
}

TEST_F(HeatsSeatingTest, ASeedingOfPlayersAnotherProgramHasMovedWritesNothing)
{
    // What another program did after the lists were read, and what the
    // director is told.
    struct Case {
        const char* prefix;
        std::function<void(const std::vector<int>&)> change;
        const char* text;
    };
    const Case cases[] = {
        {"A", [](const std::vector<int>& p) { Exec(Sql("delete from HeatPlayer where playerID = %d", p[3])); },
         "First A03 is no longer registered for Heat 1: another program has changed the heat.\nNothing was seeded."},
        {"B", [this](const std::vector<int>& p) { SeatGame(1, 1, {{p[3], kAustria}}); },
         "First B03 is already seated in Heat 1: another program has changed the heat.\nNothing was seeded."},
        {"C", [this](const std::vector<int>&) { Exec(Sql("delete from Heat where id = %d", HeatID(1))); },
         "This heat no longer exists: another program has abandoned it.\nNothing was seeded."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        OpenTournament();
        const std::vector<int> p = AddPlayers(14, c.prefix);
        Register(1, p);
        auto dlg = OpenDialog();
        c.change(p);
        const auto stored = [] { return Rows("select (select count(*) from Game), (select count(*) from GamePlayer), "
                                             "(select count(*) from HeatPlayer)"); };
        const auto before = stored();

        ui().Expect("Heat Not Seeded").Icon(MsgIcon::Stop).Text(c.text);
        ButtonByText(dlg.get(), "Seed All ------->")->click();
        EXPECT_EQ(stored(), before);
    }
}

TEST_F(HeatsSeatingTest, SeedSomeWithTheCheckBoxClearedSeatsWithoutPowersThisOnce)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(9);
    Register(1, p);
    auto dlg = OpenDialog();
    QAbstractButton* powers = ButtonByText(dlg.get(), "Seeding\nAssigns\nPowers");
    ASSERT_TRUE(powers->isChecked());
    powers->click();
    Select(Registered(dlg.get()), {0, 2, 3, 4, 5, 6, 8});
    // Strangers: nothing to optimise.
    ui().Expect("Heat Seeded").Text("Optimization Complete!\nFinal conflict value is 0.");
    ButtonByText(dlg.get(), "Seed Some -->")->click();

    EXPECT_EQ(SeatedInHeat(1, "powerID = -1"), 7);
    EXPECT_EQ(Column(Registered(dlg.get())), (QStringList{"First L01", "First L07"}));
    EXPECT_EQ(Column(Seated(dlg.get()), 2), QStringList(7, QString()));
    EXPECT_EQ(CurrentTournament.assignPowers, 1);
    EXPECT_FALSE(powers->isChecked());
    EXPECT_FALSE(Enabled(dlg.get(), "Seed Some -->"));
}

TEST_F(HeatsSeatingTest, UnseedRegistersThePlayersOfUnstartedGamesAndClosesTheGaps)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(21);
    const int game1 = SeatSeven(1, 1, p, 0, kStarted);
    SeatSeven(1, 2, p, 7);
    const int game3 = SeatSeven(1, 3, p, 14, kStarted);
    auto dlg = OpenDialog();
    ASSERT_TRUE(Enabled(dlg.get(), "<-------- Unseed"));
    ButtonByText(dlg.get(), "<-------- Unseed")->click();

    EXPECT_EQ(Rows(Sql("select id, gameNum, gameStat from Game where heatID = %d order by gameNum", HeatID(1))),
              (std::vector<QStringList>{{QString::number(game1), "1", "1"}, {QString::number(game3), "2", "1"}}));
    EXPECT_EQ(SeatedInHeat(1), 14);
    std::vector<QStringList> again;
    for (size_t k = 7; k < 14; ++k) again.push_back({QString::number(p[k])});
    EXPECT_EQ(Rows(Sql("select playerID from HeatPlayer where heatID = %d order by playerID", HeatID(1))), again);
    EXPECT_EQ(Column(Seated(dlg.get()), 1), (QStringList(7, "1") + QStringList(7, "2")));
    EXPECT_FALSE(Enabled(dlg.get(), "<-------- Unseed"));
    EXPECT_FALSE(Enabled(dlg.get(), "&Start Games"));
    EXPECT_FALSE(Enabled(dlg.get(), "Abandon Heat"));
}

TEST_F(HeatsSeatingTest, StartGamesStartsOnlyTheUnstartedGamesOfTheHeat)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(28);
    SeatSeven(1, 1, p, 0);
    SeatSeven(2, 1, p, 7);
    SeatSeven(2, 2, p, 14, kFinished);
    SeatSeven(2, 3, p, 21, kStarted);
    auto dlg = OpenDialog();
    auto states = [&] { return Rows("select gameStat from Game order by id"); };

    ui().Expect("Confirm Game Start", MsgAnswer::No).Text("Start all unstarted games in Heat 2?");
    ButtonByText(dlg.get(), "&Start Games")->click();
    EXPECT_EQ(states(), (std::vector<QStringList>{{"0"}, {"0"}, {"2"}, {"1"}}));

    ui().Expect("Confirm Game Start", MsgAnswer::Yes);
    ButtonByText(dlg.get(), "&Start Games")->click();
    EXPECT_EQ(states(), (std::vector<QStringList>{{"0"}, {"1"}, {"2"}, {"1"}}));
    EXPECT_FALSE(Enabled(dlg.get(), "&Start Games"));
}

TEST_F(HeatsSeatingTest, ReplaceMovesTheSeatWithItsResultToTheRegisteredPlayer)
{
    OpenTournament();
    const int seatedPlayer = AddPlayer("Sam", "Seated");
    const int waiting = AddPlayer("Rae", "Waiting");
    const int game = AddGame(HeatID(1), 1, kFinished);
    AddSeat(game, AddPlayer("Al", "Other"), kAustria, 0, 5, 3);
    AddSeat(game, seatedPlayer, kFrance, 1, 7, 18);
    Register(1, {waiting});
    auto dlg = OpenDialog();
    QTreeWidget* seated = Seated(dlg.get());
    QTreeWidget* registered = Registered(dlg.get());

    Select(seated, {1});
    EXPECT_FALSE(Enabled(dlg.get(), "<-- Replace -->"));
    Select(registered, {0});
    ASSERT_TRUE(Enabled(dlg.get(), "<-- Replace -->"));
    Select(seated, {0, 1});
    EXPECT_FALSE(Enabled(dlg.get(), "<-- Replace -->"));
    Select(seated, {1});

    ui().Expect("Confirm Player Replacement", MsgAnswer::No)
        .Text("Are you sure you want to replace Sam Seated with Rae Waiting?");
    ButtonByText(dlg.get(), "<-- Replace -->")->click();
    EXPECT_EQ(Int("select playerID from HeatPlayer"), waiting);

    ui().Expect("Confirm Player Replacement", MsgAnswer::Yes);
    ButtonByText(dlg.get(), "<-- Replace -->")->click();
    EXPECT_EQ(Rows(Sql("select playerID, powerID, result, years, centers from GamePlayer where gameID = %d and "
                       "powerID = %d",
                       game, int(kFrance))),
              (std::vector<QStringList>{{QString::number(waiting), "2", "1", "7", "18"}}));
    EXPECT_EQ(Int("select playerID from HeatPlayer"), seatedPlayer);
    EXPECT_EQ(Column(registered), (QStringList{"Sam Seated"}));
    EXPECT_FALSE(Enabled(dlg.get(), "<-- Replace -->"));
}

TEST_F(HeatsSeatingTest, SwapExchangesGameAndPowerAndNamesTheRowsByTheTopRowRule)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(14);
    const int game1 = SeatSeven(1, 1, p, 0);
    const int game2 = SeatSeven(1, 2, p, 7, kStarted);
    auto dlg = OpenDialog();
    QTreeWidget* seated = Seated(dlg.get());
    auto seatOf = [&](int player) {
        return Rows(Sql("select gameID, powerID from GamePlayer where playerID = %d", player)).at(0);
    };

    // Rows 0 (L00, Austria in game 1) and 13 (L13, Turkey in game 2).
    Select(seated, {0, 13});
    ASSERT_TRUE(Enabled(dlg.get(), "Swap 2 --->--->"));
    ui().Expect("Confirm Player Swap", MsgAnswer::Yes).Text(SwapQuestion("First L13", "First L00"));
    ButtonByText(dlg.get(), "Swap 2 --->--->")->click();
    EXPECT_EQ(seatOf(p[0]), (QStringList{QString::number(game2), "6"}));
    EXPECT_EQ(seatOf(p[13]), (QStringList{QString::number(game1), "0"}));
    EXPECT_EQ(Count("select * from GamePlayer where playerID = -1"), 0);
    EXPECT_EQ(Column(seated).at(0), "First L13");
    EXPECT_FALSE(Enabled(dlg.get(), "Swap 2 --->--->"));

    // Without the top row the first selected row comes first; in one game
    // the two exchange their powers.
    Select(seated, {1, 3});
    ui().Expect("Confirm Player Swap", MsgAnswer::Yes).Text(SwapQuestion("First L01", "First L03"));
    ButtonByText(dlg.get(), "Swap 2 --->--->")->click();
    EXPECT_EQ(seatOf(p[1]), (QStringList{QString::number(game1), "3"}));
    EXPECT_EQ(seatOf(p[3]), (QStringList{QString::number(game1), "1"}));

    ui().Expect("Confirm Player Swap", MsgAnswer::No);
    Select(seated, {2, 4});
    ButtonByText(dlg.get(), "Swap 2 --->--->")->click();
    EXPECT_EQ(seatOf(p[2]), (QStringList{QString::number(game1), "2"}));
}

TEST_F(HeatsSeatingTest, SwapInOneGameWithoutPowersChangesNothing)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(8);
    SeatSeven(1, 1, p, 0, kUnstarted, false);
    Register(1, {p[7]});
    auto dlg = OpenDialog();
    QTreeWidget* seated = Seated(dlg.get());
    Select(seated, {2, 5});
    Select(Registered(dlg.get()), {0});
    EXPECT_FALSE(Enabled(dlg.get(), "Swap 2 --->--->"));
    Registered(dlg.get())->clearSelection();
    ASSERT_TRUE(Enabled(dlg.get(), "Swap 2 --->--->"));
    const auto before = Rows(Sql("select %s, gameID, playerID, powerID from GamePlayer order by %s", WrittenOrder(), WrittenOrder()));

    ui().Expect("Confirm Player Swap", MsgAnswer::Yes);
    ButtonByText(dlg.get(), "Swap 2 --->--->")->click();
    EXPECT_EQ(Rows(Sql("select %s, gameID, playerID, powerID from GamePlayer order by %s", WrittenOrder(), WrittenOrder())), before);
    // No refresh: the selection stays.
    EXPECT_EQ(seated->selectedItems().size(), 2);
    EXPECT_TRUE(Enabled(dlg.get(), "Swap 2 --->--->"));
}

TEST_F(HeatsSeatingTest, ASwapThatFailsHalfWayLeavesNoSeatWithoutItsPlayer)
{
    OpenTournament();
    const std::vector<int> p = AddPlayers(14);
    const int game1 = SeatSeven(1, 1, p, 0);
    const int game2 = SeatSeven(1, 2, p, 7);
    auto dlg = OpenDialog();
    RefuseWrites("RefuseThird", "before update on GamePlayer", QString("new.playerID = %1").arg(p[1]));
    Select(Seated(dlg.get()), {1, 8});
    ui().Expect("Confirm Player Swap", MsgAnswer::Yes);
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ButtonByText(dlg.get(), "Swap 2 --->--->")->click();
    EXPECT_EQ(Count("select * from GamePlayer where playerID = -1"), 0);
    EXPECT_EQ(Int(Sql("select gameID from GamePlayer where playerID = %d", p[1])), game1);
    EXPECT_EQ(Int(Sql("select gameID from GamePlayer where playerID = %d", p[8])), game2);
}

TEST_F(HeatsSeatingTest, ViewGamesOpensTheGamesOfTheHeatWithAModelOfThemAll)
{
    const int alpha = AddSystem({.name = "Alpha"});
    OpenTournament();
    const std::vector<int> p = AddPlayers(14);
    SeatSeven(1, 1, p, 0, kStarted);
    const int game2 = SeatSeven(1, 2, p, 7);
    auto dlg = OpenDialog();
    ASSERT_TRUE(g_conflictModel);
    EXPECT_EQ(g_conflictModel->players.size(), 7u);  // the refresh models the unstarted games
    ControlByName<QComboBox>(dlg.get(), "Scoring System:")->setCurrentIndex(0);  // Alpha

    ASSERT_TRUE(Enabled(dlg.get(), "View &Games"));
    ui().ExpectDialog<CGamesDialog>([&](CGamesDialog& games) {
        EXPECT_EQ(games.findChild<QGroupBox*>("gameBox")->title(), "Spring Open - Heat 1");
        ASSERT_TRUE(g_conflictModel);
        EXPECT_EQ(g_conflictModel->heatNum, 1);
        EXPECT_EQ(g_conflictModel->players.size(), 14u);
        EXPECT_EQ(ScoringSystem.id, alpha);
        Exec(Sql("update Game set gameStat = %d where id = %d", int(kFinished), game2));
    });
    ButtonByText(dlg.get(), "View &Games")->click();
    EXPECT_EQ(Column(Seated(dlg.get()), 3).last(), QString(QChar(0x00A4)));
}

TEST_F(HeatsSeatingTest, ThePlayersMenuOpensPlayersGroupsAndThePreRegistrationOfTheHeatShown)
{
    OpenTournament({.preregistration = 1});
    HeatID(1);
    HeatID(2);
    auto dlg = OpenDialog();
    Tabs(dlg.get())->setCurrentIndex(0);

    ui().ExpectDialog<CPlayersDialog>([](CPlayersDialog&) { AddPlayer("New", "Comer"); });
    ActionByText(dlg.get(), "&View")->trigger();
    EXPECT_EQ(Column(Unregistered(dlg.get())), (QStringList{"New Comer"}));

    ui().ExpectDialog<CGroupsDialog>();
    ActionByText(dlg.get(), "&Groups")->trigger();

    ui().ExpectDialog<CPreRegistrationDialog>([](CPreRegistrationDialog& d) { EXPECT_EQ(d.CurrentHeat(), 1); });
    ActionByText(dlg.get(), "&PreReg")->trigger();
}
