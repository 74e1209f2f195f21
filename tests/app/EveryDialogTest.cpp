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

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeWidget>
#include <QScreen>
#include <QTabBar>
#include <QWheelEvent>

#include <array>
#include <functional>
#include <map>
#include <memory>
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

std::vector<DialogCase> EveryDialogCase(const DialogData& t)
{
    const std::array<int, 7> seats{t.players[0], t.players[1], t.players[2], t.players[3],
                                   t.players[4], t.players[5], t.players[6]};
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
}  // namespace

// Every control has the name a screen reader should speak, and every
// disabled button and menu item says why it is disabled.
TEST_F(EveryDialog, NamesEveryControlAndSaysWhyADisabledOneIsDisabled)
{
    WalkEveryDialog(
        Data(), [](const std::string&, CDialog& dlg) { ExpectReadable(&dlg); },
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
