#pragma once
// The Games dialog: the games of one heat, one tab per game. The director
// types each game's powers and results, moves the game between unstarted,
// started and finished, chooses a scoring system for a single game and sees
// each player's conflict value. Every change is written at once; the dialog
// is closed with the window's close control.

#include "games/GameResults.h"
#include "ui/Dialog.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class CGamesDialog;
}
class QComboBox;
class QLabel;
class QLineEdit;

class CGamesDialog : public CDialog {
    Q_OBJECT
public:
    // caption: the text around the tabs ("Spring Open - Heat 2");
    // defaultSystemID: the heat's scoring system, or the tournament's when
    // the heat has none. The conflict values come from g_conflictModel,
    // which the opener builds for all games of the heat.
    CGamesDialog(const QString& caption, int heatID, int defaultSystemID, QWidget* parent = nullptr);
    ~CGamesDialog() override;

protected:
    void OnInitDialog() override;

private:
    // The inputs of one seat.
    struct RowWidgets {
        QLabel* player;
        QComboBox* power;
        QComboBox* result;
        QComboBox* finalYear;
        QComboBox* centers;
        QLineEdit* totalSC;
        QLabel* conflicts;
    };

    // Notifications.
    void OnGameTabChanged(int index);
    void OnStatusChosen(int index);
    void OnRowChanged();
    void OnSystemChosen(int index);
    void OnViewModify();
    void OnViewConflicts();
    void OnRefreshLists();

    // One tab for each game of the heat, the tab of gameID current (the
    // first when that game is gone), and the current game loaded.
    void ShowGames(int gameID);
    void LoadGame();
    // Runs a change of the game shown. When another desk has changed the
    // game since it was shown, nothing is written: the game is shown as it
    // is stored, the director is told, and false is returned.
    bool ChangeShownGame(const std::function<void()>& change);
    void FillYearLists(int lastYearIndex);
    void ShowRows();
    void ShowConflicts();
    void EnableInputs();
    std::vector<GameRow> RowsShown() const;
    int CurrentGameID() const;

    std::unique_ptr<Ui::CGamesDialog> ui;
    std::array<RowWidgets, 7> m_rowWidgets;
    QString m_caption;
    int m_heatID;
    int m_defaultSystemID;

    std::vector<HeatGame> m_games;  // in tab order
    int m_ownSystemID = 0;          // the current game's; 0 = the default
    int m_status = kUnstarted;
    std::vector<GameRow> m_rows;    // the current game's seats, as shown
    GameSnapshot m_shown;           // the current game as last read or stored
};
