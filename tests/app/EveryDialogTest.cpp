// Rules that hold in every dialog of the program, checked on one populated
// tournament: what a screen reader names each control, which lists act only
// on a committed choice, and which questions default to No.

#include "app/MainDialog.h"
#include "conflicts/ConflictModel.h"
#include "conflicts/InGameConflictsDialog.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "games/GameResults.h"
#include "games/GamesDialog.h"
#include "heats/HeatsDialog.h"
#include "players/ConflictsDialog.h"
#include "players/EditPlayerDialog.h"
#include "players/GroupDetailsDialog.h"
#include "players/GroupsDialog.h"
#include "players/PlayersDialog.h"
#include "players/PreRegistrationDialog.h"
#include "scores/AwardsDialog.h"
#include "scores/ScoresDialog.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/DbTest.h"
#include "support/OpenableMainDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TournamentDetailsDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QTabBar>

#include <functional>
#include <memory>

using namespace testdata;

namespace {
const QString kName = QStringLiteral("Spring Open");
}  // namespace

// A team tournament with pre-registration: heat 1 with a finished and a
// started game, heat 2 with registrations, a group, a conflict and a team.
class EveryDialog : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        systemID = AddSystem();
        tournamentID = AddTournament({.name = kName, .systemID = systemID, .teamSize = 1, .teamHeat = -2,
                                      .teamConflict = 1, .minHeats = 2, .preregistration = 1});
        for (int i = 1; i <= 16; ++i) players.push_back(AddPlayer(QString("First%1").arg(i), QString("Last%1").arg(i)));
        heat1 = AddHeat(tournamentID, 1);
        finishedGame = AddGame(heat1, 1, 2);
        startedGame = AddGame(heat1, 2, 1);
        for (int p = 0; p < 7; ++p) {
            AddSeat(finishedGame, players[size_t(p)], p, p == 0 ? 1 : 0, 5, p == 0 ? 18 : 2);
            AddSeat(startedGame, players[size_t(p + 7)], p);
        }
        heat2 = AddHeat(tournamentID, 2);
        AddHeatPlayer(heat2, players[0]);
        AddHeatPlayer(heat2, players[1]);
        groupID = AddGroup("Club", 2, {players[0], players[1]});
        AddConflict(players[0], players[2], 1);
        teamID = AddTeam(tournamentID, "Knights", {players[0], players[1], players[2]});
        AddPreRegistration(tournamentID, players[15], 4);
        LoadTournament(tournamentID);
    }

    int systemID = 0, tournamentID = 0, heat1 = 0, heat2 = 0, finishedGame = 0, startedGame = 0, groupID = 0,
        teamID = 0;
    std::vector<int> players;
};

namespace {
void ExpectReadable(QWidget* dlg)
{
    ExpectControlsNamed(dlg);
    ExpectDisabledActionsExplained(dlg);
}
}  // namespace

// Every control has the name a screen reader should speak, and every
// disabled button and menu item says why it is disabled.
TEST_F(EveryDialog, NamesEveryControlAndSaysWhyADisabledOneIsDisabled)
{
    const auto walk = [](const char* name, CDialog& dlg) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(dlg.Initialise());
        ExpectReadable(&dlg);
    };
    {
        OpenableMainDialog main;
        ASSERT_TRUE(main.Initialise());
        ExpectReadable(&main);
        main.Show(tournamentID);
        SCOPED_TRACE("main window, tournament open");
        ExpectReadable(&main);
    }
    {
        CTournamentDetailsDialog details(tournamentID, kName, QString(), nullptr);
        walk("Tournament Details", details);
    }
    {
        ResetCurrentTournament();
        CTournamentDetailsDialog details(-1, QString(), QString(), nullptr);
        walk("Tournament Details, new", details);
        LoadTournament(tournamentID);
    }
    {
        COpenTournamentDialog open(tournamentID);
        walk("Open Tournament", open);
    }
    {
        CScoringSystemDialog system(systemID);
        walk("Scoring System Details", system);
    }
    {
        CPlayersDialog dlg;
        walk("Players", dlg);
        dlg.findChild<QListWidget*>()->setCurrentRow(0);
        SCOPED_TRACE("a player selected");
        ExpectReadable(&dlg);
    }
    {
        CEditPlayerDialog dlg(players[0]);
        walk("Edit Player", dlg);
    }
    {
        CConflictsDialog dlg(players[0]);
        walk("Conflicts", dlg);
    }
    {
        CGroupsDialog dlg(-1, players[0]);
        walk("Groups", dlg);
    }
    {
        CGroupDetailsDialog dlg(groupID);
        walk("Group Details", dlg);
    }
    {
        CPreRegistrationDialog dlg(-1);
        walk("Pre-Registration", dlg);
        dlg.findChildren<QListWidget*>().front()->setCurrentRow(0);
        SCOPED_TRACE("a player selected");
        ExpectReadable(&dlg);
    }
    {
        CHeatsDialog dlg;
        walk("Heats", dlg);
        dlg.findChild<QTabBar*>()->setCurrentIndex(0);
        SCOPED_TRACE("heat 1");
        ExpectReadable(&dlg);
    }
    g_conflictModel = BuildConflictModel(-1);
    {
        CGamesDialog dlg("Spring Open - Heat 1", heat1, systemID);
        walk("Games", dlg);
    }
    {
        CGamesDialog dlg("Spring Open - Heat 2", heat2, systemID);
        walk("Games of a heat without games", dlg);
    }
    {
        CInGameConflictsDialog dlg({players[0], players[1], players[2], players[3], players[4], players[5], players[6]},
                                   1);
        walk("In-Game Conflicts", dlg);
    }
    g_conflictModel.reset();
    {
        CScoresDialog dlg(kName);
        walk("Scores", dlg);
    }
    {
        CAwardsDialog dlg(kName, "1st Place: First1 Last1 (7 pts.)\n");
        walk("Awards", dlg);
    }
    {
        CTeamsDialog dlg(tournamentID, kName);
        walk("Teams", dlg);
    }
    {
        CTeamDetailsDialog dlg(teamID, kName);
        walk("Team Details", dlg);
    }
}

namespace {

// The keys with which a closed, focused list would step or jump to an item,
// and the wheel over it: none may change the list.
void SendStrayKeys(QComboBox* list)
{
    ASSERT_NE(list, nullptr);
    const int before = list->currentIndex();
    for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(list, &press);
        list->hidePopup();
    }
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f"));
    QApplication::sendEvent(list, &letter);
    EXPECT_TRUE(list->view()->isVisible()) << "a letter opens " << list->objectName().toStdString();
    list->hidePopup();
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    EXPECT_EQ(list->currentIndex(), before) << list->objectName().toStdString();
}

// A choice committed in the open list: the row highlighted, then Enter.
void ChooseInPopup(QComboBox* list, int row)
{
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(row, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list->view(), &enter);
}

}  // namespace

TEST_F(EveryDialog, ListsThatActChangeOnlyOnACommittedChoice)
{
    const int conflicts = Count("select * from PlayerConflicts");
    {
        g_conflictModel = BuildConflictModel(-1);
        CGamesDialog games("Spring Open - Heat 1", heat1, systemID);
        ASSERT_TRUE(games.Initialise());
        games.findChild<QTabBar*>()->setCurrentIndex(1);  // the started game
        for (const char* name : {"statusCombo", "systemCombo", "powerCombo1", "resultCombo1"})
            SendStrayKeys(games.findChild<QComboBox*>(name));
        EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", startedGame)), 1);
        EXPECT_EQ(Int(Sql("select count(*) from GamePlayer where gameID = %d and result <> -1", startedGame)), 0);

        // Chosen in the open list, UNSTARTED asks, and Enter alone says No.
        ui().Expect("Unfinish game??", MsgAnswer::No).Default(MsgAnswer::No);
        ChooseInPopup(games.findChild<QComboBox*>("statusCombo"), 0);
        g_conflictModel.reset();
    }
    {
        CConflictsDialog dlg(players[0]);
        ASSERT_TRUE(dlg.Initialise());
        SendStrayKeys(ControlByName<QComboBox>(&dlg, "Conflicts for:"));
        SendStrayKeys(ControlByName<QComboBox>(&dlg, "New Conflict:"));
        EXPECT_EQ(Count("select * from PlayerConflicts"), conflicts);
        ui().Expect("New Conflict?", MsgAnswer::Yes);
        ChooseInPopup(ControlByName<QComboBox>(&dlg, "New Conflict:"), 0);
        EXPECT_EQ(Count("select * from PlayerConflicts"), conflicts + 1);
    }
    {
        AddGroup("Another", 1);
        CGroupsDialog dlg(groupID, -1);
        ASSERT_TRUE(dlg.Initialise());
        SendStrayKeys(ControlByName<QComboBox>(&dlg, "Group Memberships for:"));
    }
    {
        AddSystem({.name = "Other"});
        CHeatsDialog dlg;
        ASSERT_TRUE(dlg.Initialise());
        SendStrayKeys(ControlByName<QComboBox>(&dlg, "Scoring System:"));
        EXPECT_EQ(Int(Sql("select systemID from Heat where id = %d", heat2)), 0);
    }
    {
        CTournamentDetailsDialog details(tournamentID, kName, QString(), nullptr);
        ASSERT_TRUE(details.Initialise());
        SendStrayKeys(ControlByName<QComboBox>(&details, "Scoring System:"));
        EXPECT_EQ(ScoringSystem.id, systemID);
    }
}

// Every question whose Yes destroys data has No as the button Enter presses;
// answered No, each leaves everything as it was.
TEST_F(EveryDialog, QuestionsThatDestroyDataDefaultToNo)
{
    const auto expectNo = [this](const char* title) { ui().Expect(title, MsgAnswer::No).Default(MsgAnswer::No); };
    {
        OpenableMainDialog main;
        ASSERT_TRUE(main.Initialise());
        main.Show(tournamentID);
        main.show();
        expectNo("Confirm Tournament Delete");
        ActionByText(&main, "&Delete")->trigger();
        expectNo("Confirm Quit");
        EXPECT_FALSE(main.close());
    }
    {
        ScoringSystem.id = -1;
        LoadScoringSystem(systemID);
        expectNo("Unfinish game??");
        EXPECT_EQ(ChangeGameStatus(startedGame, kStarted, kUnstarted, ReadGameRows(startedGame, ScoringSystem),
                                   ScoringSystem),
                  StatusChange::Refused);
    }
    {
        CPlayersDialog dlg;
        ASSERT_TRUE(dlg.Initialise());
        auto* list = dlg.findChild<QListWidget*>();
        list->setCurrentItem(list->findItems("First16 Last16", Qt::MatchExactly).value(0));  // seated nowhere
        expectNo("Confirm Player Removal");
        ButtonByText(&dlg, "&Remove")->click();
    }
    {
        CGroupsDialog dlg(groupID, -1);
        ASSERT_TRUE(dlg.Initialise());
        expectNo("Confirm Group Dissolution");
        ButtonByText(&dlg, "Dissolve Group")->click();
    }
    {
        CTeamsDialog dlg(tournamentID, kName);
        ASSERT_TRUE(dlg.Initialise());
        auto* teams = dlg.findChild<QTreeWidget*>();
        teams->setCurrentItem(teams->topLevelItem(0));
        expectNo("Confirm Team Disband");
        ButtonByText(&dlg, "&Disband")->click();
    }
    {
        CHeatsDialog dlg;  // on heat 2, whose games have not begun
        ASSERT_TRUE(dlg.Initialise());
        expectNo("Confirm Abandon Heat");
        ButtonByText(&dlg, "Abandon Heat")->click();
        expectNo("Confirm Mass Unregistration");
        ButtonByText(&dlg, "<-- All")->click();
    }
    EXPECT_EQ(Count(Sql("select * from Tournament where id = %d", tournamentID)), 1);
    EXPECT_EQ(Int(Sql("select gameStat from Game where id = %d", startedGame)), kStarted);
    EXPECT_EQ(Count("select * from Player"), int(players.size()));
    EXPECT_EQ(Count("select * from PlayerGroup"), 2);
    EXPECT_EQ(Count("select * from TeamPlayer"), 3);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", heat2)), 2);
    EXPECT_EQ(ui().Messages().size(), 8u);
}
