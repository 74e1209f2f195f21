// Rules that hold in every dialog of the program, checked on one populated
// tournament: what a screen reader names each control, which lists act only
// on a committed choice, which questions default to No, and that a dialog
// listing stored rows reloads them with Refresh or F5.

#include "app/EveryDialog.h"

#include "conflicts/ConflictModel.h"
#include "db/Database.h"
#include "db/Format.h"
#include "declaredconflicts/ConflictsDialog.h"
#include "games/GameResults.h"
#include "games/GamesDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialog.h"
#include "players/PlayersDialog.h"
#include "scoring/ScoringSystem.h"
#include "support/OpenableMainDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentDetailsDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QTabBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include <set>
#include <string>

using namespace testdata;

namespace {

void ExpectReadable(QWidget* dlg)
{
    ExpectControlsNamed(dlg);
    ExpectDisabledActionsExplained(dlg);
}

// The dialogs that list no stored rows: one record being edited, a text or
// a model their opener made, the venue display's addresses.
const std::set<std::string> kListNoStoredRows = {"main window",       "Scoring System Details", "Edit Player",
                                                 "Group Details",     "In-Game Conflicts",      "Awards",
                                                 "Venue Display"};

// A dialog that lists stored rows has a Refresh button the keyboard
// reaches, which says it reloads and which key does it, and F5 is that
// button.
void ExpectRefreshOffered(const std::string& name, CDialog& dlg)
{
    auto* refresh = dlg.findChild<QAbstractButton*>(QStringLiteral("refreshButton"));
    if (kListNoStoredRows.count(name)) {
        EXPECT_EQ(refresh, nullptr);
        return;
    }
    ASSERT_NE(refresh, nullptr) << "no Refresh";
    EXPECT_EQ(AccessibleName(refresh), QStringLiteral("Refresh"));
    EXPECT_TRUE(refresh->toolTip().contains(QStringLiteral("database")) &&
                refresh->toolTip().contains(QStringLiteral("F5")))
        << refresh->toolTip().toStdString();
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_TRUE(refresh->focusPolicy() & Qt::TabFocus);
    int clicks = 0;
    const QMetaObject::Connection counting =
        QObject::connect(refresh, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    PressF5(&dlg);
    QObject::disconnect(counting);
    EXPECT_EQ(clicks, 1) << "F5 is not Refresh";
}
}  // namespace

// Every control has the name a screen reader should speak, every disabled
// button and menu item says why it is disabled, and every dialog listing
// stored rows offers Refresh.
TEST_F(EveryDialog, NamesEveryControlAndSaysWhyADisabledOneIsDisabled)
{
    WalkEveryDialog(
        Data(),
        [](const std::string& name, CDialog& dlg) {
            ExpectReadable(&dlg);
            ExpectRefreshOffered(name, dlg);
        },
        [](const std::string&, CDialog& dlg, const DialogStep& step) {
            step.act(dlg);
            ExpectReadable(&dlg);
        });
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
        CTournamentDetailsDialog details(tournamentID, kEveryDialogName, QString(), nullptr);
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
                                   ScoringSystem, ReadGameSnapshot(startedGame)),
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
        CTeamsDialog dlg(tournamentID, kEveryDialogName);
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
