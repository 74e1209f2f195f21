// Every dialog that lists stored rows shows, after F5, what another desk
// wrote while it was open, and keeps the director's place.

#include "app/EveryDialog.h"

#include "conflicts/ConflictModel.h"
#include "db/Database.h"
#include "db/Format.h"
#include "declaredconflicts/ConflictsDialog.h"
#include "games/GamesDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialog.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "scores/ScoresDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TournamentDetailsDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>

#include <cctype>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace testdata;

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
     "tournamentCombo", kEveryDialogName,
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
         return std::make_unique<CGamesDialog>(kEveryDialogName + " - Heat 1", t.heatWithGames, t.systemID);
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
         return std::make_unique<CScoresDialog>(kEveryDialogName);
     },
     "playerList", "First2 Last2",
     [](const DeskData& t) { FinishGame(t.startedGame); }, "First8 Last8"},
    {"Teams", [](const DeskData& t) { return std::make_unique<CTeamsDialog>(t.tournamentID, kEveryDialogName); },
     "teamList", "Knights",
     [](const DeskData& t) { AddTeam(t.tournamentID, "Archers", {t.players[3], t.players[4], t.players[5]}); },
     "Archers", [](CDialog& dlg) { EXPECT_TRUE(ButtonByText(&dlg, "&Disband")->isEnabled()); }},
    {"Team Details",
     [](const DeskData& t) { return std::make_unique<CTeamDetailsDialog>(t.teamID, kEveryDialogName); },
     "player1List", "First4 Last4", [](const DeskData&) { AddNewcomer(); }, kNewcomer,
     [](CDialog& dlg) { EXPECT_EQ(TextOf(dlg, "player2List"), "First2 Last2"); }},
    {"Tournament Details",
     [](const DeskData& t) {
         return std::make_unique<CTournamentDetailsDialog>(t.tournamentID, kEveryDialogName, QString(), nullptr);
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
