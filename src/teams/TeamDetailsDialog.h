#pragma once
// The Team Details dialog: names a team of the current tournament and picks
// its teamSize + 2 players.

#include "teams/Teams.h"
#include "ui/Dialog.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace Ui {
class CTeamDetailsDialog;
}
class QComboBox;
class QLabel;

class CTeamDetailsDialog : public CDialog {
    Q_OBJECT
public:
    // teamID -1 creates a team.
    CTeamDetailsDialog(int teamID, const QString& tournamentName, QWidget* parent = nullptr);
    ~CTeamDetailsDialog() override;

    // The saved team's id; the given id while nothing was saved.
    int TeamID() const { return m_teamID; }

    // The player lists, "Player #1:" first.
    static constexpr int kMaxPlayers = 7;
    QComboBox* PlayerList(int index) const { return m_lists[size_t(index)]; }

protected:
    void OnInitDialog() override;

private:
    void OnOK();
    void OnCancel();
    void OnRefreshLists();
    std::vector<int> ChosenPlayers() const;
    // Offers in list k heads[k] (none when its id is -1), then every player
    // on no team of the tournament; list k shows chosen[k], and no choice
    // when that player is not offered.
    void FillPlayerLists(const std::vector<TeamPlayerChoice>& heads, const std::vector<int>& chosen);

    std::unique_ptr<Ui::CTeamDetailsDialog> ui;
    int m_teamID;
    std::array<QComboBox*, kMaxPlayers> m_lists{};
    std::array<QLabel*, kMaxPlayers> m_labels{};
    std::vector<int> m_headIDs;  // the member heading each list, as the team was opened
};
