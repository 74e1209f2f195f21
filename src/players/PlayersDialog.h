#pragma once
// Players: the register of every player, independent of any tournament. Adds
// players by hand or from a spreadsheet file, corrects and removes them, opens a player's conflicts and groups,
// and sets his pre-registration for the heats of the open tournament.

#include "tournament/TournamentSettings.h"
#include "ui/Dialog.h"

#include <array>
#include <memory>
#include <vector>

namespace Ui {
class CPlayersDialog;
}
class QCheckBox;

class CPlayersDialog : public CDialog {
    Q_OBJECT
public:
    explicit CPlayersDialog(QWidget* parent = nullptr);
    ~CPlayersDialog() override;

protected:
    void OnInitDialog() override;

private:
    // Notifications.
    void OnPlayerSelectionChanged();
    void OnNewPlayerFieldFocused();
    void OnAddPlayer();
    void OnEditName();
    void OnConflicts();
    void OnRemove();
    void OnGroups();
    void OnImport();
    void OnHeatBoxClicked();
    void OnRefreshLists();

    void FillList();
    void UpdateControls();
    void EnablePlayerButtons(bool enable);
    // Selects the first entry that begins with prefix, ignoring case.
    void SelectEntryStartingWith(const QString& prefix);
    // Row of the selected entry, or -1.
    int SelectedRow() const;
    int SelectedPlayerID() const;
    bool PreRegistrationOffered() const;
    int HeatBoxCount() const;
    void OpenGroups(int playerID);

    std::unique_ptr<Ui::CPlayersDialog> ui;
    std::vector<int> m_playerIDs;  // the list's entries in display order
    std::array<QCheckBox*, kMaxHeats> m_heatBoxes{};  // box of heat n at n - 1
};
