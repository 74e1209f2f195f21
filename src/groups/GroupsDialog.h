#pragma once
// Groups: one group at a time with its members and the players outside it.
// Players join and leave the group; one player's memberships are
// summarised; groups are formed, edited and dissolved.

#include "ui/Dialog.h"

#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class CGroupsDialog;
}
class QTreeWidget;
class QTreeWidgetItem;

// Why a command of the Groups dialog is unavailable; empty when it is
// available.
QString LeaveGroupReason(bool memberSelected);
QString JoinGroupReason(bool otherSelected);
// The group list, both player lists and Dissolve Group need a group.
QString NoGroupReason(bool anyGroup);

class CGroupsDialog : public CDialog {
    Q_OBJECT
public:
    // groupID -1 shows the first group in name order; playerID -1 selects
    // no player.
    CGroupsDialog(int groupID, int playerID, QWidget* parent = nullptr);
    ~CGroupsDialog() override;

protected:
    void OnInitDialog() override;

private:
    // Notifications.
    void OnGroupChosen(int index);
    void OnMemberSelectionChanged();
    void OnOtherSelectionChanged();
    void OnJoin();
    void OnLeave();
    void OnMemberships();
    void OnFormNewGroup();
    void OnEditGroup();
    void OnDissolve();
    void OnDone();

    // Lists the groups, the current one (else the first) shown with the
    // current player selected; also the dialog's Refresh.
    void FillGroups();
    void ShowGroup();
    void RunGroupDetails(int groupID);
    // Makes the player of the list's selected row the current player; false
    // when the list has no selection.
    bool TakeSelectedPlayer(QTreeWidget* list, const std::vector<int>& playerIDs);
    void SelectPlayerRow(QTreeWidget* list, int row);

    std::unique_ptr<Ui::CGroupsDialog> ui;
    int m_groupID;
    int m_playerID;
    QString m_playerName;
    std::vector<int> m_groupIDs;        // "Group Memberships for:" entries
    std::vector<int> m_groupConflicts;  // the conflict value of each entry
    std::vector<int> m_memberIDs;       // "Group Members" rows
    std::vector<int> m_otherIDs;        // "Players Not In Group" rows
};
