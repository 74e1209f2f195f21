// Rules that hold in every dialog of the program, checked on one populated
// tournament: what a screen reader names each control, which lists act only
// on a committed choice, which questions default to No, and that a dialog
// listing stored rows reloads them with Refresh or F5.

#include "app/MainDialog.h"
#include "conflicts/ConflictModel.h"
#include "conflicts/InGameConflictsDialog.h"
#include "db/Database.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "declaredconflicts/ConflictsDialog.h"
#include "games/GameResults.h"
#include "games/GamesDialog.h"
#include "groups/GroupDetailsDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialog.h"
#include "players/EditPlayerDialog.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "scores/Awards.h"
#include "scores/AwardsDialog.h"
#include "scores/ScoresDialog.h"
#include "scores/Standings.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/DbTest.h"
#include "support/FullTournament.h"
#include "support/OpenableMainDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TournamentDetailsDialog.h"
#include "venue/VenueDisplayDialog.h"
#include "venue/VenueService.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeWidget>
#include <QScreen>
#include <QTabBar>
#include <QTcpServer>
#include <QWheelEvent>

#include <array>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>

using namespace testdata;

namespace {
const QString kName = QStringLiteral("Spring Open");
}  // namespace

// The ids a walk over every dialog opens them on.
struct DialogData {
    QString name;
    int systemID = 0, tournamentID = 0, heatWithGames = 0, heatWithoutGames = 0, groupID = 0, teamID = 0;
    std::vector<int> players;
};

// One thing done in an open dialog, after which its rules hold again.
// keepsLayout: nothing already shown moves or changes size.
struct DialogStep {
    std::string name;
    std::function<void(CDialog&)> act;
    bool keepsLayout = false;
};

// One dialog of the walk: how it is opened, and what is done in it.
struct DialogCase {
    std::string name;
    std::function<std::unique_ptr<CDialog>()> open;
    std::vector<DialogStep> steps = {};
};

namespace {

template <class D, class... Args>
std::function<std::unique_ptr<CDialog>()> Opens(Args... args)
{
    return [=] { return std::make_unique<D>(args...); };
}

// Selects the first row of the dialog's first list of type L.
template <class L>
DialogStep SelectFirstRow(const char* name, bool keepsLayout = false)
{
    return {name, [](CDialog& d) { d.findChildren<L*>().front()->setCurrentRow(0); }, keepsLayout};
}

// A loopback port nobody listens on just now.
int FreeLoopbackPort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

std::vector<DialogCase> EveryDialogCase(const DialogData& t)
{
    const std::array<int, 7> seats{t.players[0], t.players[1], t.players[2], t.players[3],
                                   t.players[4], t.players[5], t.players[6]};
    // The main window's service, as the Venue Display dialog works on it; it
    // stops with the walk.
    const auto venue = std::make_shared<CVenueService>();
    std::vector<DialogCase> cases{
        {"main window", Opens<OpenableMainDialog>(),
         {{"tournament open", [id = t.tournamentID](CDialog& d) { static_cast<OpenableMainDialog&>(d).Show(id); }}}},
        {"Tournament Details", Opens<CTournamentDetailsDialog>(t.tournamentID, t.name, QString(), nullptr),
         {{"a team size picked",
           [](CDialog& d) { ControlByName<QComboBox>(&d, "Team Tournament:")->setCurrentIndex(0); }, true}}},
        {"Tournament Details, new",
         [] {
             ResetCurrentTournament();
             return std::make_unique<CTournamentDetailsDialog>(-1, QString(), QString(), nullptr);
         }},
        {"Open Tournament", Opens<COpenTournamentDialog>(t.tournamentID)},
        {"Scoring System Details", Opens<CScoringSystemDialog>(t.systemID)},
        {"Players", Opens<CPlayersDialog>(), {SelectFirstRow<QListWidget>("a player selected")}},
        {"Edit Player", Opens<CEditPlayerDialog>(t.players[0])},
        {"Conflicts", Opens<CConflictsDialog>(t.players[0])},
        {"Groups", Opens<CGroupsDialog>(-1, t.players[0])},
        {"Group Details", Opens<CGroupDetailsDialog>(t.groupID)},
        {"Pre-Registration", Opens<CPreRegistrationDialog>(-1),
         {SelectFirstRow<QListWidget>("a player selected", true)}},
        {"Heats", Opens<CHeatsDialog>(),
         {{"heat 1", [](CDialog& d) { d.findChild<QTabBar*>()->setCurrentIndex(0); }}}},
        {"Games",
         [&t] {
             g_conflictModel = BuildConflictModel(-1);
             return std::make_unique<CGamesDialog>(t.name + " - Heat 1", t.heatWithGames, t.systemID);
         }},
        {"In-Game Conflicts",
         [seats] {
             g_conflictModel = BuildConflictModel(-1);
             return std::make_unique<CInGameConflictsDialog>(seats, 1);
         }},
        {"Scores", Opens<CScoresDialog>(t.name)},
        {"Awards",
         [&t] {
             const Standings standings = ComputeStandings(true);
             return std::make_unique<CAwardsDialog>(t.name,
                                                    AwardText(DrawUpAwards(standings, CurrentTournament, 1)));
         }},
        {"Teams", Opens<CTeamsDialog>(t.tournamentID, t.name)},
        {"Team Details", Opens<CTeamDetailsDialog>(t.teamID, t.name)},
        {"Venue Display",
         [venue, id = t.tournamentID] { return std::make_unique<CVenueDisplayDialog>(*venue, id, nullptr); },
         {{"display running",
           [venue, id = t.tournamentID](CDialog&) {
               venue->Start(id, {.port = FreeLoopbackPort(), .everyNetwork = false, .secondsPerScreen = 20});
           },
           true}}},
    };
    if (t.heatWithoutGames != 0)
        cases.push_back({"Games of a heat without games", [&t] {
                             return std::make_unique<CGamesDialog>(t.name + " - Heat 2", t.heatWithoutGames,
                                                                   t.systemID);
                         }});
    return cases;
}

// Opens every dialog in turn, each on the tournament as stored, and calls
// opened when it is initialised and stepped for each of its steps (which
// runs the step).
void WalkEveryDialog(const DialogData& t, const std::function<void(const std::string&, CDialog&)>& opened,
                     const std::function<void(const std::string&, CDialog&, const DialogStep&)>& stepped)
{
    for (const DialogCase& c : EveryDialogCase(t)) {
        SCOPED_TRACE(c.name);
        LoadTournament(t.tournamentID);
        std::unique_ptr<CDialog> dialog = c.open();
        ASSERT_TRUE(dialog->Initialise());
        opened(c.name, *dialog);
        for (const DialogStep& step : c.steps) {
            SCOPED_TRACE(step.name);
            stepped(c.name + ", " + step.name, *dialog, step);
        }
        dialog.reset();
        g_conflictModel.reset();
    }
    LoadTournament(t.tournamentID);
}

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

    DialogData Data() const { return {kName, systemID, tournamentID, heat1, heat2, groupID, teamID, players}; }

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

void PressF5(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
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

namespace {

// The rows of a list, a drop-down list or a tab bar as the director reads
// them: the texts of each row's cells.
std::vector<QStringList> ListedRows(QWidget* list)
{
    std::vector<QStringList> rows;
    if (auto* tabs = qobject_cast<QTabBar*>(list)) {
        for (int i = 0; i < tabs->count(); ++i) rows.push_back({tabs->tabText(i)});
    } else if (auto* combo = qobject_cast<QComboBox*>(list)) {
        for (int i = 0; i < combo->count(); ++i) rows.push_back({combo->itemText(i)});
    } else {
        const QAbstractItemModel* model = qobject_cast<QAbstractItemView*>(list)->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c) cells << model->index(r, c).data().toString();
            rows.push_back(cells);
        }
    }
    return rows;
}

// The row one of whose cells is text, or -1.
int RowWith(QWidget* list, const QString& text)
{
    const std::vector<QStringList> rows = ListedRows(list);
    for (size_t r = 0; r < rows.size(); ++r)
        if (rows[r].contains(text)) return int(r);
    return -1;
}

// The rows the director has selected (the current one of a drop-down list
// or a tab bar).
std::vector<int> SelectedListRows(QWidget* list)
{
    if (auto* tabs = qobject_cast<QTabBar*>(list)) return {tabs->currentIndex()};
    if (auto* combo = qobject_cast<QComboBox*>(list)) return {combo->currentIndex()};
    std::vector<int> rows;
    const auto* view = qobject_cast<QAbstractItemView*>(list);
    for (int r = 0; r < view->model()->rowCount(); ++r)
        if (view->selectionModel()->isRowSelected(r, QModelIndex())) rows.push_back(r);
    return rows;
}

void SelectListRow(QWidget* list, int row)
{
    if (auto* tabs = qobject_cast<QTabBar*>(list))
        tabs->setCurrentIndex(row);
    else if (auto* combo = qobject_cast<QComboBox*>(list))
        combo->setCurrentIndex(row);
    else if (auto* view = qobject_cast<QAbstractItemView*>(list))
        view->setCurrentIndex(view->model()->index(row, 0));
}

// The ids of the tournament of EveryDialog that another desk's writes name.
struct DeskData : DialogData {
    int startedGame = 0;
};

// One dialog open at one desk while another desk writes: the dialog's list
// (by its object name), the row the director selected in it, what the other
// desk writes, the row that adds, and anything else the dialog must show
// afterwards.
struct RefreshCase {
    std::string name;
    std::function<std::unique_ptr<CDialog>(const DeskData&)> open;
    QString list;
    QString selected;
    std::function<void(const DeskData&)> elsewhere;
    QString added;
    std::function<void(CDialog&)> alsoShown = {};
};

void PrintTo(const RefreshCase& c, std::ostream* os) { *os << c.name; }

const QString kNewcomer = QStringLiteral("Ann Aardvark");  // listed before every other player
int AddNewcomer() { return AddPlayer("Ann", "Aardvark"); }

// Another desk enters the results of a started game and finishes it.
void FinishGame(int gameID)
{
    ExecuteSQL(Sql("update GamePlayer set result = 0, years = 5, centers = 4 where gameID = %d", gameID));
    ExecuteSQL(Sql("update Game set gameStat = 2 where id = %d", gameID));
}

QString TextOf(CDialog& dlg, const char* comboName) { return dlg.findChild<QComboBox*>(comboName)->currentText(); }

const RefreshCase kRefreshCases[] = {
    {"Open Tournament", [](const DeskData& t) { return std::make_unique<COpenTournamentDialog>(t.tournamentID); },
     "tournamentCombo", kName,
     [](const DeskData& t) { AddTournament({.name = "Autumn Open", .systemID = t.systemID}); }, "Autumn Open"},
    {"Players", [](const DeskData&) { return std::make_unique<CPlayersDialog>(); }, "playerList", "First3 Last3",
     [](const DeskData&) { AddNewcomer(); }, kNewcomer},
    {"Conflicts", [](const DeskData& t) { return std::make_unique<CConflictsDialog>(t.players[0]); }, "conflictList",
     "First3 Last3", [](const DeskData& t) { AddConflict(t.players[0], AddNewcomer(), 2); }, kNewcomer,
     [](CDialog& dlg) {
         EXPECT_TRUE(ButtonByText(&dlg, "&Increase")->isEnabled());
         EXPECT_EQ(RowWith(dlg.findChild<QComboBox*>("playerCombo"), kNewcomer), 0);
     }},
    {"Groups", [](const DeskData& t) { return std::make_unique<CGroupsDialog>(t.groupID, -1); }, "memberList",
     "First2 Last2",
     [](const DeskData& t) {
         ExecuteSQL(Sql("insert into PlayerGroup (groupID, playerID) values (%d, %d)", t.groupID, AddNewcomer()));
     },
     kNewcomer, [](CDialog& dlg) { EXPECT_TRUE(ButtonByText(&dlg, "Leave Group -->")->isEnabled()); }},
    {"Pre-Registration (heat 3)", [](const DeskData&) { return std::make_unique<CPreRegistrationDialog>(-1); },
     "preList", "First16 Last16",
     [](const DeskData& t) {
         AddPreRegistration(t.tournamentID, AddNewcomer(), 4);
         AddHeat(t.tournamentID, 3);
     },
     kNewcomer,
     [](CDialog& dlg) {
         EXPECT_EQ(dlg.findChild<QGroupBox*>("heatGroup")->title(), "First16 Last16");
         // Heat 3 exists now: it is closed to pre-registration.
         EXPECT_FALSE(dlg.findChild<QListWidget*>("preList")->isEnabled());
     }},
    {"Heats (heat 2)", [](const DeskData&) { return std::make_unique<CHeatsDialog>(); }, "registeredList",
     "First2 Last2",
     [](const DeskData& t) {
         AddHeatPlayer(t.heatWithoutGames, AddNewcomer());
         AddHeat(t.tournamentID, 3);
     },
     kNewcomer,
     [](CDialog& dlg) {
         auto* tabs = dlg.findChild<QTabBar*>("heatTabs");
         EXPECT_EQ(tabs->count(), 3);
         EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Heat 2");
         EXPECT_EQ(dlg.findChild<QLabel*>("registeredCountLabel")->text(), "3 Players Listed");
         EXPECT_TRUE(ButtonByText(&dlg, "<-- Sit &Out")->isEnabled());
     }},
    {"Games (heat 1)",
     [](const DeskData& t) {
         g_conflictModel = BuildConflictModel(-1);
         return std::make_unique<CGamesDialog>(kName + " - Heat 1", t.heatWithGames, t.systemID);
     },
     "gameTabs", "Game 2",
     [](const DeskData& t) {
         AddGame(t.heatWithGames, 3);
         FinishGame(t.startedGame);
     },
     "Game 3",
     [](CDialog& dlg) {
         EXPECT_EQ(TextOf(dlg, "statusCombo"), "FINISHED");
         EXPECT_EQ(TextOf(dlg, "centersCombo1"), "4");
         EXPECT_FALSE(dlg.findChild<QComboBox*>("resultCombo1")->isEnabled());
     }},
    {"Scores (every player)",
     [](const DeskData& t) {
         ExecuteSQL(Sql("update Tournament set minHeats = 1 where id = %d", t.tournamentID));
         LoadTournament(t.tournamentID);
         return std::make_unique<CScoresDialog>(kName);
     },
     "playerList", "First2 Last2",
     [](const DeskData& t) { FinishGame(t.startedGame); }, "First8 Last8"},
    {"Teams", [](const DeskData& t) { return std::make_unique<CTeamsDialog>(t.tournamentID, kName); }, "teamList",
     "Knights",
     [](const DeskData& t) { AddTeam(t.tournamentID, "Archers", {t.players[3], t.players[4], t.players[5]}); },
     "Archers", [](CDialog& dlg) { EXPECT_TRUE(ButtonByText(&dlg, "&Disband")->isEnabled()); }},
    {"Team Details", [](const DeskData& t) { return std::make_unique<CTeamDetailsDialog>(t.teamID, kName); },
     "player1List", "First4 Last4", [](const DeskData&) { AddNewcomer(); }, kNewcomer,
     [](CDialog& dlg) { EXPECT_EQ(TextOf(dlg, "player2List"), "First2 Last2"); }},
    {"Tournament Details",
     [](const DeskData& t) {
         return std::make_unique<CTournamentDetailsDialog>(t.tournamentID, kName, QString(), nullptr);
     },
     "systemCombo", "Standard", [](const DeskData&) { AddSystem({.name = "Another"}); }, "Another"},
};

// The fields in which the director types what a dialog saves later, or
// adds with a button.
const char* const kTypedFields[] = {"nameEdit", "firstNameEdit"};

}  // namespace

class RefreshingDialog : public EveryDialog, public testing::WithParamInterface<RefreshCase> {
protected:
    // Every row of the tables the dialogs write.
    static std::vector<std::vector<QStringList>> StoredRows()
    {
        std::vector<std::vector<QStringList>> tables;
        for (const char* table : {"Tournament", "System", "Player", "PlayerConflicts", "[Group]", "PlayerGroup",
                                  "TournamentPlayer", "Heat", "HeatPlayer", "Game", "GamePlayer", "TournamentTeam",
                                  "TeamPlayer"})
            tables.push_back(Rows(Sql("select * from %s", table)));
        return tables;
    }
};

// Another desk writes while the dialog is open; after F5 the dialog lists
// what it wrote, with the director's selection and what he typed as they
// were, and writes nothing itself.
TEST_P(RefreshingDialog, ShowsWhatAnotherDeskWroteAndKeepsTheDirectorsPlace)
{
    const RefreshCase& c = GetParam();
    DeskData t{Data()};
    t.startedGame = startedGame;
    std::unique_ptr<CDialog> dlg = c.open(t);
    ASSERT_TRUE(dlg->Initialise());
    auto* list = dlg->findChild<QWidget*>(c.list);
    ASSERT_NE(list, nullptr);
    const int selected = RowWith(list, c.selected);
    ASSERT_GE(selected, 0);
    SelectListRow(list, selected);
    // F5 is pressed where the director was last: in the field he typed in,
    // else in the list.
    QWidget* typedIn = list;
    for (const char* field : kTypedFields) {
        if (auto* edit = dlg->findChild<QLineEdit*>(field)) {
            edit->setText("Typed, not saved");
            typedIn = edit;
        }
    }
    ASSERT_EQ(RowWith(list, c.added), -1);

    c.elsewhere(t);
    const auto stored = StoredRows();
    PressF5(typedIn);

    EXPECT_GE(RowWith(list, c.added), 0);
    EXPECT_EQ(SelectedListRows(list), std::vector<int>{RowWith(list, c.selected)});
    if (c.alsoShown) c.alsoShown(*dlg);
    for (const char* field : kTypedFields) {
        if (auto* edit = dlg->findChild<QLineEdit*>(field)) {
            EXPECT_EQ(edit->text(), "Typed, not saved") << field;
        }
    }
    EXPECT_EQ(StoredRows(), stored);
    EXPECT_FALSE(dlg->HasEnded());
    dlg.reset();
    g_conflictModel.reset();
}

INSTANTIATE_TEST_SUITE_P(EveryListDialog, RefreshingDialog, testing::ValuesIn(kRefreshCases),
                         [](const testing::TestParamInfo<RefreshCase>& info) {
                             std::string name;
                             for (char ch : info.param.name)
                                 if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                             return name;
                         });

// The tournament of a big evening, with long names and fractional scores.
class EveryDialogOnAFullTournament : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        full = AddFullTournament();
        LoadTournament(full.tournamentID);
    }

    DialogData Data() const
    {
        return {full.name, full.systemID, full.tournamentID, full.heats[0], 0, full.groupID, full.teamID, full.players};
    }

    FullTournament full;
};

namespace {

std::string Text(const QRect& r)
{
    std::ostringstream out;
    out << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y();
    return out.str();
}

std::string Named(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return name.toStdString();
}

// The geometry of every control shown in the dialog, in its coordinates.
std::map<const QWidget*, QRect> ShownGeometry(const QWidget& dlg)
{
    std::map<const QWidget*, QRect> shown;
    for (const QWidget* w : dlg.findChildren<QWidget*>())
        if (w->isVisibleTo(&dlg)) shown[w] = QRect(w->mapTo(&dlg, QPoint()), w->size());
    return shown;
}

// The window and its frame lie on the screen's available area, and every
// button shown lies whole inside the window.
void ExpectFitsScreen(const QWidget& dlg)
{
    const QRect area = dlg.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(dlg.frameGeometry())) << Text(dlg.frameGeometry()) << " on " << Text(area);
    for (const QAbstractButton* b : dlg.findChildren<QAbstractButton*>()) {
        // A tab bar's scroll arrows are its own affair.
        if (!b->isVisibleTo(&dlg) || qobject_cast<const QTabBar*>(b->parentWidget())) continue;
        const QRect r(b->mapTo(&dlg, QPoint()), b->size());
        EXPECT_TRUE(dlg.rect().contains(r)) << Named(b) << " at " << Text(r) << " in " << Text(dlg.rect());
        EXPECT_GE(b->width(), b->minimumSizeHint().width()) << Named(b) << " is cut";
    }
}

// Where the text of a label ends, and where its field begins, for every
// label whose field is shown on the same line.
std::map<const QLabel*, int> LabelGaps(const QWidget& dlg)
{
    std::map<const QLabel*, int> gaps;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        const QWidget* field = label->buddy();
        if (!field || !label->isVisibleTo(&dlg) || !field->isVisibleTo(&dlg) || label->text().isEmpty()) continue;
        const QRect l(label->mapTo(&dlg, QPoint()), label->size());
        const QRect f(field->mapTo(&dlg, QPoint()), field->size());
        if (l.bottom() < f.top() || f.bottom() < l.top() || f.left() < l.left()) continue;
        const int textWidth = label->fontMetrics().horizontalAdvance(QString(label->text()).remove(QChar('&')));
        const int textEnd = label->alignment() & Qt::AlignRight ? l.right() : l.left() + textWidth;
        gaps[label] = f.left() - textEnd;
    }
    return gaps;
}

void SaveImage(QWidget& dlg, const std::string& name)
{
    const QString folder = qEnvironmentVariable("QUORVANE_DIALOG_IMAGES");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    const QString scale = QString::number(dlg.devicePixelRatioF());
    dlg.grab().save(QDir(folder).filePath(QString::fromStdString(name) + " @" + scale + ".png"));
}

void Settle() { QApplication::processEvents(); }

// The dialog shown as the program shows it: it fits the screen, and
// maximised it keeps every label next to its field.
void ExpectShownToFit(const std::string& name, CDialog& dlg)
{
    dlg.show();
    Settle();
    ExpectFitsScreen(dlg);
    SaveImage(dlg, name);
    const std::map<const QLabel*, int> gaps = LabelGaps(dlg);
    dlg.showMaximized();
    Settle();
    for (const auto& [label, gap] : LabelGaps(dlg))
        if (gaps.count(label)) {
            EXPECT_LE(gap, gaps.at(label) + 4) << label->text().toStdString() << " moves away from its field";
        }
    dlg.showNormal();
    Settle();
}

}  // namespace

// On the screen the program runs on, at whatever scale, every dialog opens
// inside the screen's available area with all its buttons, and keeps still
// where a choice only fills in what is already laid out.
TEST_F(EveryDialogOnAFullTournament, OpensInsideTheScreenWithEveryButton)
{
    WalkEveryDialog(Data(), ExpectShownToFit, [](const std::string& name, CDialog& dlg, const DialogStep& step) {
        const std::map<const QWidget*, QRect> before = ShownGeometry(dlg);
        step.act(dlg);
        Settle();
        if (step.keepsLayout)
            for (const auto& [w, r] : ShownGeometry(dlg))
                if (before.count(w)) {
                    EXPECT_EQ(Text(r), Text(before.at(w))) << Named(w) << " moves";
                }
        ExpectFitsScreen(dlg);
        SaveImage(dlg, name);
    });
}
