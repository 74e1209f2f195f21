#pragma once
// In-Game Conflicts: where the conflict values of the seven players of one
// game come from. The director picks a player and reads the lines of the
// heat's conflict model; nothing is read from the database.

#include "ui/Dialog.h"

#include <array>
#include <memory>

namespace Ui {
class CInGameConflictsDialog;
}

class CInGameConflictsDialog : public CDialog {
    Q_OBJECT
public:
    // seatPlayerIDs: the game's players in the order of their seats' powers
    // (entry i is listed as playing power i); gameNum: the game's number.
    CInGameConflictsDialog(const std::array<int, 7>& seatPlayerIDs, int gameNum, QWidget* parent = nullptr);
    ~CInGameConflictsDialog() override;

protected:
    void OnInitDialog() override;

private:
    void OnPlayerChosen(int index);
    void OnClose();

    void ShowExplanation(int k);

    std::unique_ptr<Ui::CInGameConflictsDialog> ui;
    std::array<int, 7> m_seatPlayerIDs;
    int m_gameNum;
    int m_selected = 0;
};
