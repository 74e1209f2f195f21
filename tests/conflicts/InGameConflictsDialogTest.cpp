// The In-Game Conflicts view: the seven players of a game and the lines that
// explain each one's conflict value.

#include "conflicts/InGameConflictsDialog.h"
#include "support/HeatTest.h"

#include "db/ValueCodes.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>

using namespace testdata;

namespace {

QStringList Lines(CInGameConflictsDialog& dlg)
{
    QStringList lines;
    auto* list = ControlByName<QListWidget>(&dlg, "Conflict explanation");
    for (int i = 0; list && i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

void Choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

}  // namespace

class InGameConflicts : public HeatTest {};

TEST_F(InGameConflicts, ListsTheSevenPlayersAndExplainsTheChosenOne)
{
    OpenTournament();
    std::array<int, 7> seat{};
    std::vector<std::pair<int, int>> seats;
    const char* const names[7] = {"Ann", "Bob", "Cy", "Di", "Eve", "Fay", "Gus"};
    for (int i = 0; i < 7; ++i) {
        seat[size_t(i)] = AddPlayer(names[i], "Tester");
        seats.push_back({seat[size_t(i)], i});
    }
    // Ann and Bob met in heat 1; Cy played Germany there as well.
    SeatGame(1, 1, {{seat[0], kItaly}, {seat[1], kFrance}}, kFinished);
    SeatGame(2, 1, seats, kStarted);
    AddConflict(seat[0], seat[2], 3);
    g_conflictModel = BuildConflictModel(-2);

    CInGameConflictsDialog dlg(seat, 1);
    ASSERT_TRUE(dlg.Initialise());
    ExpectInputsLabelled(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "In-Game Conflicts");
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "Spring Open - Game 1");

    auto* players = ControlByName<QComboBox>(&dlg, "Conflicts for");
    ASSERT_NE(players, nullptr);
    ASSERT_EQ(players->count(), 7);
    EXPECT_EQ(players->itemText(0), "Ann Tester (playing Austria)");
    EXPECT_EQ(players->itemText(6), "Gus Tester (playing Turkey)");
    EXPECT_EQ(players->currentIndex(), 0);
    EXPECT_EQ(Lines(dlg), QStringList({"3 pts. inherent conflict with Cy Tester.",
                                       "1 pt. for having played against Bob Tester 1 time before."}));

    Choose(players, 1);
    EXPECT_EQ(Lines(dlg), QStringList({"1 pt. for having played against Ann Tester 1 time before."}));
    Choose(players, 4);
    EXPECT_TRUE(Lines(dlg).isEmpty()) << "a player without conflicts";

    ButtonByText(&dlg, "Close")->click();
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(InGameConflicts, EachEntryIsNamedByItsSeatsPowerWhateverTheStoredOne)
{
    OpenTournament();
    std::array<int, 7> seat{};
    std::vector<std::pair<int, int>> seats;
    for (int i = 0; i < 7; ++i) {
        seat[size_t(i)] = AddPlayer("P", QString::number(i));
        seats.push_back({seat[size_t(i)], kNoPower});
    }
    SeatGame(1, 3, seats);
    g_conflictModel = BuildConflictModel(-1);
    CInGameConflictsDialog dlg(seat, 3);
    ASSERT_TRUE(dlg.Initialise());
    auto* players = ControlByName<QComboBox>(&dlg, "Conflicts for");
    EXPECT_EQ(players->itemText(2), "P 2 (playing France)");
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "Spring Open - Game 3");
}
