// A tournament director's first evening, through the program's own windows:
// a new tournament, a heat seeded and started, the results typed in, the
// standings read off the Scores dialog.

#include "app/MainDialog.h"
#include "games/GamesDialog.h"
#include "heats/HeatsDialog.h"
#include "scores/ScoresDialog.h"
#include "support/DbTest.h"
#include "support/ListRows.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"
#include "tournament/DetailsForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabBar>
#include <QTreeWidget>

using namespace testdata;

namespace {

void Choose(QComboBox* list, int index)
{
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// Types one game's results: the seat in row winnerRow wins, the others lose;
// then finishes the game.
void FinishGame(CGamesDialog& games, int winnerRow)
{
    for (int row = 0; row < 7; ++row)
        Choose(games.findChild<QComboBox*>(QString("resultCombo%1").arg(row + 1)), row == winnerRow ? 1 : 0);
    Choose(ControlByName<QComboBox>(&games, "Game Status:"), 2);
}

}  // namespace

class Workflow : public DbTest {};

TEST_F(Workflow, FromANewTournamentToItsStandings)
{
    AddSystem();  // "Standard": 7 points for a solo, 0 for everybody else
    for (int i = 1; i <= 14; ++i) AddPlayer(QString("Player%1").arg(i, 2, 10, QChar('0')), "Test");

    CMainDialog main;
    ASSERT_TRUE(main.Initialise());

    // Tournament > New.
    ui().ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) {
        DetailsForm(d).Basics("Club Night", "Standard", 2);
        ButtonByText(&d, "OK")->click();
    });
    ActionByText(&main, "&New")->trigger();
    EXPECT_EQ(main.findChild<QGroupBox*>("groupBox")->title(), "Club Night");
    EXPECT_TRUE(ButtonByText(&main, "Heats")->isEnabled());
    EXPECT_FALSE(ButtonByText(&main, "Scores")->isEnabled());

    // Heats: heat 1 is created on opening; everybody registers and is seeded.
    ui().ExpectDialog<CHeatsDialog>([this](CHeatsDialog& heats) {
        ui().Expect("Confirm Mass Registration", MsgAnswer::Yes);
        ButtonByText(&heats, "All -->")->click();
        EXPECT_EQ(heats.findChild<QTreeWidget*>("registeredList")->topLevelItemCount(), 14);

        ui().Expect("Heat Seeded").Text("Optimization Complete!\nFinal conflict value is 0.");
        ButtonByText(&heats, "Seed All ------->")->click();
        const auto seated = ShownRows(heats.findChild<QTreeWidget*>("seededList"));
        ASSERT_EQ(seated.size(), 14u);
        EXPECT_EQ(seated[0][1], "1");
        EXPECT_EQ(seated[0][2], "Austria");
        EXPECT_EQ(seated[13][1], "2");

        ui().Expect("Confirm Game Start", MsgAnswer::Yes).Text("Start all unstarted games in Heat 1?");
        ButtonByText(&heats, "&Start Games")->click();

        // View Games: the winner of game 1 plays Austria, of game 2 Turkey.
        ui().ExpectDialog<CGamesDialog>([](CGamesDialog& games) {
            FinishGame(games, 0);
            games.findChild<QTabBar*>()->setCurrentIndex(1);
            FinishGame(games, 6);
        });
        ButtonByText(&heats, "View &Games")->click();
        EXPECT_EQ(ShownRows(heats.findChild<QTreeWidget*>("seededList"))[0][3], QString(QChar(0xA4)));
        ButtonByText(&heats, "OK")->click();
    });
    ButtonByText(&main, "Heats")->click();
    EXPECT_EQ(Count("select * from Game where gameStat = 2"), 2);
    EXPECT_TRUE(ButtonByText(&main, "Scores")->isEnabled());

    // Scores: the two winners share first place with 7, the rest share 3rd.
    const QString winner1 = Rows("select first from Player, GamePlayer, Game where Player.id = playerID and "
                                 "gameID = Game.id and gameNum = 1 and powerID = 0")[0][0];
    ui().ExpectDialog<CScoresDialog>([&](CScoresDialog& scores) {
        const auto rows = ShownRows(scores.findChildren<QTreeWidget*>()[0]);
        ASSERT_EQ(rows.size(), 14u);
        EXPECT_EQ(rows[0][0], "1.");
        EXPECT_EQ(rows[1][0], "1.");
        EXPECT_EQ(rows[2][0], "3.");
        EXPECT_TRUE(rows[0][1] == winner1 + " Test" || rows[1][1] == winner1 + " Test");
        EXPECT_EQ(rows[0].last(), "7");
        EXPECT_EQ(rows[13].last(), "0");
    });
    ButtonByText(&main, "Scores")->click();
}
