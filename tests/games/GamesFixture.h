#pragma once
// Fixture of the result-entry tests: an open tournament with one heat whose
// games seat seven players on the seven powers, the scoring systems that
// switch each input on, and the Games dialog as the director sees it.

#include "games/GamesDialog.h"
#include "support/DbTest.h"
#include "support/TestData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <array>
#include <memory>
#include <vector>

class GamesTest : public DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Scoring systems, each with the inputs its formulas need:
    // ranked by SC count (SC Count only);
    static int AddRankedSystem(const QString& name = QStringLiteral("Ranked"));
    // win/draw, draws include all survivors, formulas using the final year,
    // the SC count and the Total SC's figure (every input);
    static int AddFullSystem(const QString& name = QStringLiteral("Full"), int finalYear = -1);

    // Opens a tournament scored by systemID with heat 1.
    void OpenTournament(int systemID, int assignPowers = 1);
    // A game of heat 1 with seven new players, seat i on power i.
    int AddGame(int gameNum, int gameStat = 0, int systemID = 0);
    // The game's seats in power order: "power result years centers".
    std::vector<QString> Seats(int gameID);
    void SetSeat(int gameID, int power, int result, int years, int centers);

    // Builds the heat's conflict model and opens the dialog on it.
    std::unique_ptr<CGamesDialog> OpenDialog();

    int tournamentID = 0;
    int heatID = 0;
    int systemID = 0;
    std::vector<std::array<int, 7>> players;  // per game added, by power
};

// The Games dialog's controls.
struct GamesView {
    CGamesDialog& dlg;

    QComboBox* Power(int row) { return Find<QComboBox>("powerCombo", row); }
    QComboBox* Result(int row) { return Find<QComboBox>("resultCombo", row); }
    QComboBox* FinalYear(int row) { return Find<QComboBox>("finalYearCombo", row); }
    QComboBox* Centres(int row) { return Find<QComboBox>("centersCombo", row); }
    QLineEdit* TotalSC(int row) { return Find<QLineEdit>("totalSCEdit", row); }
    QLabel* Player(int row) { return Find<QLabel>("playerLabel", row); }
    QLabel* Conflicts(int row) { return Find<QLabel>("conflictsLabel", row); }
    QComboBox* Status();
    QComboBox* System();
    QCheckBox* Lock();
    QTabBar* Tabs();

    // The director picks item index of a list, or types text into a field.
    static void Choose(QComboBox* list, int index);
    static void Choose(QComboBox* list, const QString& item);
    static void Type(QLineEdit* field, const QString& text);

    template <class W>
    W* Find(const char* name, int row)
    {
        W* w = dlg.findChild<W*>(QString::fromLatin1(name) + QString::number(row + 1));
        EXPECT_NE(w, nullptr) << name << " of row " << row;
        return w;
    }
};
