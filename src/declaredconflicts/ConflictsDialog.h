#pragma once
// Conflicts: one player's declared conflicts with other players, raised or
// lowered a point at a time, and new ones declared. Conflicts left at 0 are
// deleted when the dialog ends.

#include "ui/Dialog.h"

#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class CConflictsDialog;
}

// Why Increase and Decrease are unavailable; empty with a conflict selected.
QString ConflictStepReason(bool conflictSelected);

class CConflictsDialog : public CDialog {
    Q_OBJECT
public:
    explicit CConflictsDialog(int playerID, QWidget* parent = nullptr);
    ~CConflictsDialog() override;

    // Ends the dialog, however it is closed; a conflict of weight 0 does not
    // outlive it.
    void done(int result) override;

protected:
    void OnInitDialog() override;

private:
    // Notifications.
    void OnPlayerChosen(int index);
    void OnConflictSelectionChanged();
    void OnIncrease();
    void OnDecrease();
    void OnCandidateChosen(int index);
    void OnRefreshLists();

    void FillPlayerList();
    void Refresh();
    void ChangeValue(int step);
    void SelectConflictRow(int row);
    int SelectedConflictRow() const;

    std::unique_ptr<Ui::CConflictsDialog> ui;
    int m_playerID;
    std::vector<int> m_playerIDs;     // "Conflicts for:" entries
    std::vector<int> m_conflictIDs;   // the other player of each conflict row
    std::vector<int> m_candidateIDs;  // "New Conflict:" entries
};
