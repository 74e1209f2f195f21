#include "groups/GroupsDialog.h"

#include "ui_GroupsDialog.h"

#include "db/Format.h"
#include "groups/GroupDetailsDialog.h"
#include "groups/Groups.h"
#include "playerrecords/PlayerRecords.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/UiServices.h"

#include <algorithm>

namespace {

void FillPlayerList(QTreeWidget* list, std::vector<int>& ids, const std::vector<PlayerEntry>& players)
{
    const QSignalBlocker quiet(list);
    list->clear();
    ids.clear();
    for (const PlayerEntry& player : players) {
        new QTreeWidgetItem(list, {player.name});
        ids.push_back(player.id);
    }
}

int RowOf(const std::vector<int>& ids, int id)
{
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found == ids.end() ? -1 : int(found - ids.begin());
}

}  // namespace

QString LeaveGroupReason(bool memberSelected)
{
    return memberSelected ? QString() : QStringLiteral("Select a player in Group Members first");
}

QString JoinGroupReason(bool otherSelected)
{
    return otherSelected ? QString() : QStringLiteral("Select a player in Players Not In Group first");
}

QString NoGroupReason(bool anyGroup)
{
    return anyGroup ? QString() : QStringLiteral("No group exists yet: form one with Form New Group");
}

CGroupsDialog::CGroupsDialog(int groupID, int playerID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CGroupsDialog>()), m_groupID(groupID), m_playerID(playerID)
{
    ui->setupUi(this);
    LayOutListColumns(ui->memberList, {0});
    LayOutListColumns(ui->otherList, {0});
    ui->memberList->header()->setAccessibleName(ui->memberList->accessibleName());
    ui->otherList->header()->setAccessibleName(ui->otherList->accessibleName());

    // Notifications and their handlers.
    On(ui->groupCombo, &QComboBox::activated, &CGroupsDialog::OnGroupChosen);
    On(ui->memberList, &QTreeWidget::itemSelectionChanged, &CGroupsDialog::OnMemberSelectionChanged);
    On(ui->otherList, &QTreeWidget::itemSelectionChanged, &CGroupsDialog::OnOtherSelectionChanged);
    On(ui->memberList, &QTreeWidget::itemDoubleClicked, &CGroupsDialog::OnLeave);
    On(ui->otherList, &QTreeWidget::itemDoubleClicked, &CGroupsDialog::OnJoin);
    On(ui->joinButton, &QPushButton::clicked, &CGroupsDialog::OnJoin);
    On(ui->leaveButton, &QPushButton::clicked, &CGroupsDialog::OnLeave);
    On(ui->membershipsButton, &QPushButton::clicked, &CGroupsDialog::OnMemberships);
    On(ui->formButton, &QPushButton::clicked, &CGroupsDialog::OnFormNewGroup);
    On(ui->editButton, &QPushButton::clicked, &CGroupsDialog::OnEditGroup);
    On(ui->dissolveButton, &QPushButton::clicked, &CGroupsDialog::OnDissolve);
    On(ui->doneButton, &QPushButton::clicked, &CGroupsDialog::OnDone);
    OnRefresh(ui->refreshButton, &CGroupsDialog::FillGroups);
}

CGroupsDialog::~CGroupsDialog() = default;

void CGroupsDialog::OnInitDialog()
{
    FillGroups();
}

void CGroupsDialog::FillGroups()
{
    int position = 0;
    {
        const QSignalBlocker quiet(ui->groupCombo);
        ui->groupCombo->clear();
        m_groupIDs.clear();
        m_groupConflicts.clear();
        for (const GroupEntry& group : LoadGroups()) {
            if (group.id == m_groupID) position = int(m_groupIDs.size());
            ui->groupCombo->addItem(group.name);
            m_groupIDs.push_back(group.id);
            m_groupConflicts.push_back(group.conflict);
        }
    }
    const bool any = !m_groupIDs.empty();
    for (QWidget* w : std::initializer_list<QWidget*>{ui->groupCombo, ui->memberList, ui->otherList,
                                                      ui->dissolveButton})
        EnableWithReason(w, NoGroupReason(any));
    ui->editButton->setVisible(any);
    EnableWithReason(ui->leaveButton, LeaveGroupReason(false));
    EnableWithReason(ui->joinButton, JoinGroupReason(false));
    EnableWithReason(ui->membershipsButton, SelectPlayerReason(false));
    if (any) {
        const QSignalBlocker quiet(ui->groupCombo);
        ui->groupCombo->setCurrentIndex(position);
        m_groupID = m_groupIDs[size_t(position)];
        ShowGroup();
    } else {
        m_groupID = -1;
        FillPlayerList(ui->memberList, m_memberIDs, {});
        FillPlayerList(ui->otherList, m_otherIDs, {});
        ui->conflictLabel->clear();
    }
}

void CGroupsDialog::ShowGroup()
{
    const int index = ui->groupCombo->currentIndex();
    if (index < 0 || size_t(index) >= m_groupIDs.size()) return;
    m_groupID = m_groupIDs[size_t(index)];
    FillPlayerList(ui->memberList, m_memberIDs, GroupMembers(m_groupID));
    FillPlayerList(ui->otherList, m_otherIDs, PlayersNotInGroup(m_groupID));
    ui->conflictLabel->setText(Format("Conflict value: %d", m_groupConflicts[size_t(index)]));
    if (m_playerID == -1) return;
    if (const int row = RowOf(m_memberIDs, m_playerID); row >= 0)
        SelectPlayerRow(ui->memberList, row);
    else if (const int other = RowOf(m_otherIDs, m_playerID); other >= 0)
        SelectPlayerRow(ui->otherList, other);
}

void CGroupsDialog::SelectPlayerRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    if (!item) return;
    // Selecting notifies, so the buttons follow the list that holds him.
    list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->scrollToItem(item);
}

bool CGroupsDialog::TakeSelectedPlayer(QTreeWidget* list, const std::vector<int>& playerIDs)
{
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) return false;
    const int row = list->indexOfTopLevelItem(selected.front());
    if (row < 0 || size_t(row) >= playerIDs.size()) return false;
    m_playerID = playerIDs[size_t(row)];
    m_playerName = selected.front()->text(0);
    return true;
}

void CGroupsDialog::OnGroupChosen(int index)
{
    if (index < 0 || size_t(index) >= m_groupIDs.size()) return;
    ShowGroup();
}

void CGroupsDialog::OnMemberSelectionChanged()
{
    const bool selected = TakeSelectedPlayer(ui->memberList, m_memberIDs);
    // One player is picked at a time: Join and Leave act on the row they see.
    if (selected) {
        const QSignalBlocker quiet(ui->otherList);
        ui->otherList->clearSelection();
    }
    EnableWithReason(ui->leaveButton, LeaveGroupReason(selected));
    EnableWithReason(ui->membershipsButton, QString());
    EnableWithReason(ui->joinButton, JoinGroupReason(false));
}

void CGroupsDialog::OnOtherSelectionChanged()
{
    const bool selected = TakeSelectedPlayer(ui->otherList, m_otherIDs);
    if (selected) {
        const QSignalBlocker quiet(ui->memberList);
        ui->memberList->clearSelection();
    }
    EnableWithReason(ui->leaveButton, LeaveGroupReason(false));
    EnableWithReason(ui->membershipsButton, SelectPlayerReason(selected));
    EnableWithReason(ui->joinButton, QString());
}

void CGroupsDialog::OnJoin()
{
    if (!TakeSelectedPlayer(ui->otherList, m_otherIDs)) return;
    JoinGroup(m_groupID, m_playerID);
    EnableWithReason(ui->joinButton, JoinGroupReason(false));
    ShowGroup();
}

void CGroupsDialog::OnLeave()
{
    if (!TakeSelectedPlayer(ui->memberList, m_memberIDs)) return;
    LeaveGroup(m_groupID, m_playerID);
    EnableWithReason(ui->leaveButton, LeaveGroupReason(false));
    ShowGroup();
}

void CGroupsDialog::OnMemberships()
{
    if (m_playerID == -1) return;
    const SqlStatement groups = Sql(
        "Select name from [Group], PlayerGroup where playerID = %d and groupid = [group].id order by name", m_playerID);
    ShowMessage(GroupMembershipSummary(m_playerName, groups), QStringLiteral("Group Membership"), MsgIcon::None);
}

void CGroupsDialog::RunGroupDetails(int groupID)
{
    CGroupDetailsDialog details(groupID, this);
    details.DoModal();
    m_groupID = details.GroupID();
    FillGroups();
}

void CGroupsDialog::OnFormNewGroup() { RunGroupDetails(-1); }

void CGroupsDialog::OnEditGroup()
{
    if (m_groupID != -1) RunGroupDetails(m_groupID);
}

void CGroupsDialog::OnDissolve()
{
    if (m_groupID == -1) return;
    if (!ConfirmDestructive(Format("Are you sure you want to dissolve the group '%s'?", GroupName(m_groupID)),
                            QStringLiteral("Confirm Group Dissolution")))
        return;
    DissolveGroup(m_groupID);
    FillGroups();
}

void CGroupsDialog::OnDone() { EndDialog(QDialog::Accepted); }
