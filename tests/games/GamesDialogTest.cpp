// The Games dialog driven as the director drives it: loading a heat's games,
// typing results, moving a game between its states and choosing its system.

#include "games/GamesFixture.h"

#include "conflicts/InGameConflictsDialog.h"
#include "db/Format.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "ui/Messages.h"

#include <QGroupBox>
#include <QTabBar>

using namespace testdata;

namespace {

const QString kCannotFinish = "Game cannot be finished because\ndata is invalid.  Please correct.";

QStringList Items(QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

}  // namespace

class GamesDialog : public GamesTest {};

TEST_F(GamesDialog, ShowsEachGameOfTheHeatWithItsPlayersAndConflicts)
{
    OpenTournament(AddRankedSystem());
    const int first = AddGame(1);
    AddGame(2);
    AddConflict(players[0][1], players[0][4], 2);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    ExpectInputsLabelled(dlg.get());

    EXPECT_EQ(dlg->windowTitle(), "Games");
    EXPECT_EQ(dlg->findChild<QGroupBox*>("gameBox")->title(), "Spring Open - Heat 1");
    ASSERT_EQ(view.Tabs()->count(), 2);
    EXPECT_EQ(view.Tabs()->tabText(0), "Game 1");
    EXPECT_EQ(view.Tabs()->tabText(1), "Game 2");
    EXPECT_EQ(view.Player(0)->text(), "P0 Game1");
    EXPECT_EQ(view.Power(6)->currentText(), "TURKEY");
    EXPECT_EQ(Items(view.Power(0)),
              QStringList({"AUSTRIA", "ENGLAND", "FRANCE", "GERMANY", "ITALY", "RUSSIA", "TURKEY"}));
    EXPECT_EQ(Items(view.Result(0)), QStringList({"LOSS", "WIN"}));
    EXPECT_EQ(view.Centres(0)->count(), 35);
    EXPECT_EQ(view.Centres(0)->currentIndex(), -1);
    EXPECT_EQ(view.Conflicts(1)->text(), "2");
    EXPECT_EQ(view.Conflicts(4)->text(), "2");
    EXPECT_EQ(view.Conflicts(0)->text(), "0");
    EXPECT_EQ(dlg->findChild<QLabel*>("totalConflictsValue")->text(), "4");
    EXPECT_EQ(view.Status()->currentText(), "UNSTARTED");
    EXPECT_TRUE(Shown(view.Lock()));
    EXPECT_TRUE(view.Lock()->isChecked());

    // Another tab shows its own game; the lock follows the tournament again.
    view.Lock()->setChecked(false);
    Exec(Sql("update Game set gameStat = 1 where id <> %d", first));
    view.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(view.Player(0)->text(), "P0 Game2");
    EXPECT_EQ(dlg->findChild<QLabel*>("totalConflictsValue")->text(), "0");
    EXPECT_EQ(view.Status()->currentText(), "STARTED");
    EXPECT_TRUE(view.Lock()->isChecked());
    EXPECT_FALSE(Shown(view.Lock())) << "only an unstarted game shows the lock";
}

TEST_F(GamesDialog, EnablesTheInputsTheGamesSystemUses)
{
    const int full = AddFullSystem();
    OpenTournament(AddRankedSystem());
    AddGame(1);
    AddGame(2, kUnstarted, full);
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    EXPECT_FALSE(view.Result(0)->isEnabled());
    EXPECT_FALSE(view.FinalYear(0)->isEnabled());
    EXPECT_TRUE(view.Centres(0)->isEnabled());
    EXPECT_FALSE(view.TotalSC(0)->isEnabled());
    EXPECT_EQ(view.TotalSC(0)->text(), "");

    view.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(ScoringSystem.id, full);
    EXPECT_TRUE(view.Result(0)->isEnabled());
    EXPECT_TRUE(view.FinalYear(0)->isEnabled());
    EXPECT_TRUE(view.Centres(0)->isEnabled());
    EXPECT_TRUE(view.TotalSC(0)->isEnabled());
    EXPECT_EQ(view.TotalSC(0)->text(), "3");
    EXPECT_EQ(view.TotalSC(5)->text(), "4");
}

TEST_F(GamesDialog, FinalYearListsEndAt1932WithoutAFinalYearInTheSystem)
{
    const int to1910 = AddFullSystem("To 1910", 1910);
    OpenTournament(AddRankedSystem());
    AddGame(1);
    const int second = AddGame(2, kStarted, to1910);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    EXPECT_EQ(view.FinalYear(3)->count(), 32);
    EXPECT_EQ(view.FinalYear(3)->itemText(0), "1901");
    EXPECT_EQ(view.FinalYear(3)->itemText(31), "1932");

    view.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(view.FinalYear(3)->count(), 10);
    EXPECT_EQ(view.FinalYear(3)->itemText(9), "1910");

    // A year stored beyond the system's last one is still shown, and kept.
    SetSeat(second, kGermany, kLoss, 12, 0);
    view.Tabs()->setCurrentIndex(0);
    view.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(view.FinalYear(3)->currentText(), "1913");
    GamesView::Choose(view.Centres(0), "5");
    EXPECT_EQ(Seats(second)[3], "3 0 312 0");
}

TEST_F(GamesDialog, PacksTheYearsBothWays)
{
    OpenTournament(AddFullSystem());
    const int game = AddGame(1, kStarted);
    SetSeat(game, kAustria, -1, 506, -1);
    SetSeat(game, kEngland, -1, -400, -1);
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    EXPECT_EQ(view.FinalYear(0)->currentText(), "1907");
    EXPECT_EQ(view.TotalSC(0)->text(), "5");
    EXPECT_EQ(view.FinalYear(1)->currentIndex(), -1);
    EXPECT_EQ(view.TotalSC(1)->text(), "4");
    EXPECT_EQ(view.FinalYear(2)->currentIndex(), -1);
    EXPECT_EQ(view.TotalSC(2)->text(), "3");
    EXPECT_EQ(view.TotalSC(5)->text(), "4");

    GamesView::Choose(view.FinalYear(3), "1907");
    GamesView::Type(view.TotalSC(3), "5");
    GamesView::Type(view.TotalSC(4), "");
    const std::vector<QString> seats = Seats(game);
    EXPECT_EQ(seats[0], "0 -1 506 -1");
    EXPECT_EQ(seats[1], "1 -1 -400 -1");
    EXPECT_EQ(seats[2], "2 -1 -300 -1") << "the default figure shown is the one stored";
    EXPECT_EQ(seats[3], "3 -1 506 -1");
    EXPECT_EQ(seats[4], "4 -1 -1 -1");

    // Typing or pasting takes no figure of more than three digits.
    QLineEdit* field = view.TotalSC(6);
    field->clear();
    field->insert("1000");
    EXPECT_EQ(field->text(), "");
    field->insert("999");
    EXPECT_EQ(field->text(), "999");
}

TEST_F(GamesDialog, ResultsChangeOnlyInAStartedGameAndPowersOnlyWhileUnlocked)
{
    OpenTournament(AddFullSystem());
    const int game = AddGame(1);
    const int austria = players[0][0];
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    // Unstarted and locked: neither the power nor the result changes.
    GamesView::Choose(view.Power(0), "TURKEY");
    GamesView::Choose(view.Result(0), "WIN");
    EXPECT_EQ(view.Power(0)->currentText(), "AUSTRIA");
    EXPECT_EQ(view.Result(0)->currentIndex(), -1);
    EXPECT_EQ(Seats(game)[0], "0 -1 -300 -1");

    // Unlocked, the power is written; the result still returns.
    view.Lock()->setChecked(false);
    GamesView::Choose(view.Power(0), "TURKEY");
    GamesView::Choose(view.Centres(0), "4");
    EXPECT_EQ(Int(Sql("select powerID from GamePlayer where gameID = %d and playerID = %d", game, austria)), 6);
    EXPECT_EQ(view.Centres(0)->currentIndex(), -1);
    EXPECT_EQ(Int(Sql("select centers from GamePlayer where gameID = %d and playerID = %d", game, austria)), -1);

    // Finished: everything returns to what is stored.
    Exec(Sql("update GamePlayer set powerID = 0, result = 1, years = 9, centers = 10 where playerID = %d",
                austria));
    Exec(Sql("update Game set gameStat = 2 where id = %d", game));
    Q_EMIT view.Tabs()->currentChanged(0);
    GamesView::Choose(view.Power(0), "ITALY");
    GamesView::Choose(view.Centres(0), "3");
    GamesView::Choose(view.Result(0), "LOSS");
    EXPECT_EQ(view.Power(0)->currentText(), "AUSTRIA");
    EXPECT_EQ(view.Centres(0)->currentText(), "10");
    EXPECT_EQ(view.Result(0)->currentText(), "WIN");
    EXPECT_EQ(Seats(game)[0], "0 1 309 10");
}

TEST_F(GamesDialog, EighteenCentresTurnEveryOtherRowIntoALoss)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kStarted);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    GamesView::Choose(view.Centres(2), "18");
    const std::vector<QString> seats = Seats(game);
    EXPECT_EQ(seats[2], "2 -1 -1 18");
    for (size_t i : {0u, 1u, 3u, 4u, 5u, 6u}) EXPECT_EQ(seats[i], Format("%d 0 -1 -1", int(i))) << i;
    EXPECT_EQ(view.Result(0)->currentText(), "LOSS");
}

TEST_F(GamesDialog, ASurvivorJoinsTheDrawInTheLatestYearWhenDrawsIncludeAllSurvivors)
{
    OpenTournament(AddFullSystem());
    const int game = AddGame(1, kStarted);
    SetSeat(game, kAustria, -1, 9, -1);  // 1910
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    GamesView::Choose(view.Centres(1), "3");
    EXPECT_EQ(view.Result(1)->currentText(), "WIN");
    EXPECT_EQ(view.FinalYear(1)->currentText(), "1910");
    EXPECT_EQ(Seats(game)[1], "1 1 309 3");
}

TEST_F(GamesDialog, FinishedChosenInAnUnstartedGameSnapsBackSilently)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    GamesView::Choose(view.Status(), "FINISHED");
    EXPECT_EQ(view.Status()->currentText(), "UNSTARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 0);
    EXPECT_TRUE(ui().Messages().empty());
}

TEST_F(GamesDialog, StartingIsRefusedForARepeatedOrMissingPower)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1);
    Exec(Sql("update GamePlayer set powerID = 0 where gameID = %d and powerID = 6", game));
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    ui().Expect("Bad Power Assignments").Text("Power assignments are not valid!").Icon(MsgIcon::Exclamation);
    GamesView::Choose(view.Status(), "STARTED");
    EXPECT_EQ(view.Status()->currentText(), "UNSTARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 0);

    Exec(Sql("update GamePlayer set powerID = -1 where gameID = %d and playerID = %d", game, players[0][6]));
    Q_EMIT view.Tabs()->currentChanged(0);
    ui().Expect("Bad Power Assignments");
    GamesView::Choose(view.Status(), "STARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 0);

    Exec(Sql("update GamePlayer set powerID = 6 where gameID = %d and playerID = %d", game, players[0][6]));
    Q_EMIT view.Tabs()->currentChanged(0);
    GamesView::Choose(view.Status(), "STARTED");
    EXPECT_EQ(view.Status()->currentText(), "STARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);
    EXPECT_FALSE(Shown(view.Lock()));
}

TEST_F(GamesDialog, ReturningAStartedGameToUnstartedClearsEverySeat)
{
    OpenTournament(AddFullSystem());
    const int game = AddGame(1, kStarted);
    for (int power = 0; power < kPowerCount; ++power) SetSeat(game, power, kLoss, 309, power);
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    ui().Expect("Unfinish game??", MsgAnswer::No)
        .Text("Return this game to unfinished state?\nThis will reset all result data for this game!")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    GamesView::Choose(view.Status(), "UNSTARTED");
    EXPECT_EQ(view.Status()->currentText(), "STARTED");
    EXPECT_EQ(Seats(game)[3], "3 0 309 3");

    view.Lock()->setChecked(false);
    ui().Expect("Unfinish game??", MsgAnswer::Yes);
    GamesView::Choose(view.Status(), "UNSTARTED");
    EXPECT_EQ(view.Status()->currentText(), "UNSTARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 0);
    const std::vector<QString> seats = Seats(game);
    for (int power = 0; power < kPowerCount; ++power) EXPECT_EQ(seats[size_t(power)], Format("%d -1 -1 -1", power));
    EXPECT_EQ(view.Centres(3)->currentIndex(), -1);
    EXPECT_TRUE(view.Lock()->isChecked());
    EXPECT_TRUE(Shown(view.Lock()));
}

TEST_F(GamesDialog, AFinishedGameIsReadOnlyAndReturningItToStartedKeepsItsResults)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kFinished);
    const int centres[7] = {10, 8, 6, 5, 3, 2, 0};
    for (int power = 0; power < kPowerCount; ++power) SetSeat(game, power, kLoss, -1, centres[power]);
    const std::vector<QString> before = Seats(game);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    const QString finished = "The game is finished: set Game Status to STARTED to change it";
    EXPECT_FALSE(view.Power(6)->isEnabled());
    EXPECT_FALSE(view.Centres(6)->isEnabled());
    EXPECT_EQ(view.Centres(6)->toolTip(), finished);
    EXPECT_EQ(view.Centres(6)->accessibleDescription(), view.Player(6)->text() + ": " + finished);
    // An input the system does not use names the system as the reason.
    EXPECT_EQ(view.Result(6)->toolTip(), "The game's scoring system ranks players by SC count: it uses no results");

    GamesView::Choose(view.Status(), "STARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);
    EXPECT_EQ(Seats(game), before);
    EXPECT_TRUE(ui().Messages().empty());
    EXPECT_TRUE(view.Power(6)->isEnabled() && view.Centres(6)->isEnabled());
    EXPECT_EQ(view.Centres(6)->accessibleDescription(), view.Player(6)->text());
}

TEST_F(GamesDialog, SupplyCentresAddingTo35Or33AreQuestioned)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kStarted);
    const int centres[7] = {10, 8, 6, 5, 3, 2, 1};
    for (int power = 0; power < kPowerCount; ++power) SetSeat(game, power, kLoss, -1, centres[power]);
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    ui().Expect("Bad SC Count").Text("The supply center count is greater than 34.").Icon(MsgIcon::Exclamation);
    ui().Expect("Cannot Finish Game").Text(kCannotFinish + "\n\nThe SC counts add up to 35.").Icon(MsgIcon::Stop);
    GamesView::Choose(view.Status(), "FINISHED");
    EXPECT_EQ(view.Status()->currentText(), "STARTED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);

    GamesView::Choose(view.Centres(6), "0");
    GamesView::Choose(view.Centres(5), "1");
    ui().Expect("Unowned Centers??", MsgAnswer::No);
    ui().Expect("Cannot Finish Game");
    GamesView::Choose(view.Status(), "FINISHED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);

    ui().Expect("Unowned Centers??", MsgAnswer::Yes);
    GamesView::Choose(view.Status(), "FINISHED");
    EXPECT_EQ(view.Status()->currentText(), "FINISHED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 2);
}

TEST_F(GamesDialog, AGameCannotBeFinishedWhileARowHasNoSCCount)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kStarted);
    const int centres[7] = {10, 8, 6, 5, 3, 2, -1};
    for (int power = 0; power < kPowerCount; ++power) SetSeat(game, power, kLoss, -1, centres[power]);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    ui().Expect("Cannot Finish Game").Text(kCannotFinish + "\n\nTurkey: no SC count entered.");
    GamesView::Choose(view.Status(), "FINISHED");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);
}

TEST_F(GamesDialog, TheDefaultSystemIsStoredAs0AndTheHardSetOneAsItsId)
{
    const int beta = AddSystem({.name = "Beta"});
    const int alpha = AddRankedSystem("Alpha");
    OpenTournament(alpha);
    const int game = AddGame(1);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    EXPECT_EQ(Items(view.System()), QStringList({"Alpha (default)", "Alpha (hard-set)", "Beta"}));
    EXPECT_EQ(view.System()->currentText(), "Alpha (default)");

    GamesView::Choose(view.System(), "Alpha (hard-set)");
    EXPECT_EQ(Int(Sql("select systemID from Game where id = %d", game)), alpha);
    EXPECT_EQ(view.System()->currentText(), "Alpha (hard-set)");

    GamesView::Choose(view.System(), "Beta");
    EXPECT_EQ(Int(Sql("select systemID from Game where id = %d", game)), beta);
    EXPECT_EQ(ScoringSystem.id, beta);
    EXPECT_TRUE(view.Result(0)->isEnabled()) << "the game follows its new system";

    GamesView::Choose(view.System(), "Alpha (default)");
    EXPECT_EQ(Int(Sql("select systemID from Game where id = %d", game)), 0);
    EXPECT_EQ(ScoringSystem.id, alpha);
}

TEST_F(GamesDialog, ASystemThatCannotBeStoredLeavesTheGameOnItsOwn)
{
    AddSystem({.name = "Beta"});
    const int alpha = AddRankedSystem("Alpha");
    OpenTournament(alpha);
    const int game = AddGame(1);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    RefuseWrites("refuse", "before update on Game", QString("new.id = %1").arg(game));
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    GamesView::Choose(view.System(), "Beta");
    EXPECT_EQ(Int(Sql("select systemID from Game where id = %d", game)), 0);
    EXPECT_EQ(view.System()->currentText(), "Alpha (default)");
    EXPECT_EQ(ScoringSystem.id, alpha);
}

TEST_F(GamesDialog, ViewModifyShowsTheGamesSystemAndANewSystemJoinsTheList)
{
    const int alpha = AddRankedSystem("Alpha");
    OpenTournament(alpha);
    const int game = AddGame(1);
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    ui().ExpectDialog<CScoringSystemDialog>([alpha](CScoringSystemDialog& system) {
        EXPECT_EQ(system.TargetID(), alpha);
        ButtonByText(&system, "Create New System")->click();
        ControlByName<QLineEdit>(&system, "Scoring System:")->setText("Gamma");
        ButtonByText(&system, "OK")->click();
    });
    ButtonByText(dlg.get(), "View/Modify")->click();
    EXPECT_EQ(Int(Sql("select systemID from Game where id = %d", game)), 0) << "the game keeps its system";
    EXPECT_EQ(ScoringSystem.id, alpha);
    EXPECT_EQ(Items(view.System()), QStringList({"Alpha (default)", "Alpha (hard-set)", "Gamma"}));
    EXPECT_EQ(view.System()->currentText(), "Alpha (default)");
}

TEST_F(GamesDialog, ViewExplainsTheConflictsOfTheCurrentGame)
{
    OpenTournament(AddRankedSystem());
    AddGame(1);
    AddGame(2);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    view.Tabs()->setCurrentIndex(1);
    ui().ExpectDialog<CInGameConflictsDialog>([](CInGameConflictsDialog& conflicts) {
        EXPECT_EQ(conflicts.findChild<QGroupBox*>()->title(), "Spring Open - Game 2");
        QComboBox* players = ControlByName<QComboBox>(&conflicts, "Conflicts for");
        EXPECT_EQ(players->itemText(3), "P3 Game2 (playing Germany)");
    });
    ButtonByText(dlg.get(), "View")->click();
}

TEST_F(GamesDialog, AFailingWriteLeavesEverySeatAsItWas)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kStarted);
    const std::vector<QString> before = Seats(game);
    RefuseWrites("refuse", "before update on GamePlayer", QString("new.playerID = %1").arg(players[0][5]));
    auto dlg = OpenDialog();
    GamesView view{*dlg};

    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    GamesView::Choose(view.Centres(0), "18");
    EXPECT_EQ(Seats(game), before) << "rows written before the failing one are undone";
    EXPECT_EQ(view.Centres(0)->currentIndex(), -1) << "the rows show what is stored";

    // Back to unstarted: the results are cleared only with the status.
    AllowWrites("refuse", "GamePlayer");
    GamesView::Choose(view.Centres(0), "9");
    RefuseWrites("refuse", "before update on Game", QString("new.id = %1").arg(game));
    ui().Expect("Unfinish game??", MsgAnswer::Yes);
    ui().Expect(kAppName);
    GamesView::Choose(view.Status(), "UNSTARTED");
    EXPECT_EQ(Seats(game)[0].section(' ', 3, 3), "9");
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", game)), 1);
    EXPECT_EQ(view.Status()->currentText(), "STARTED");
}
