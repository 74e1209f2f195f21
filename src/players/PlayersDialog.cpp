#include "players/PlayersDialog.h"

#include "ui_PlayersDialog.h"

#include "db/Format.h"
#include "declaredconflicts/ConflictsDialog.h"
#include "groups/Groups.h"
#include "groups/GroupsDialog.h"
#include "playerrecords/PlayerRecords.h"
#include "players/EditPlayerDialog.h"
#include "players/FocusNotifier.h"
#include "players/PlayerImport.h"
#include "preregistration/PlayerPreRegistration.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/RowSelection.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <algorithm>

CPlayersDialog::CPlayersDialog(QWidget* parent) : CDialog(parent), ui(std::make_unique<Ui::CPlayersDialog>())
{
    ui->setupUi(this);
    m_heatBoxes = {ui->heat1Box, ui->heat2Box, ui->heat3Box, ui->heat4Box, ui->heat5Box,
                   ui->heat6Box, ui->heat7Box, ui->heat8Box, ui->heat9Box};
    auto* newPlayerFocus = new FocusNotifier(this, {ui->firstNameEdit, ui->lastNameEdit, ui->emailEdit});
    ShowNamesElided(ui->playerList);

    // Notifications and their handlers.
    On(ui->playerList, &QListWidget::itemSelectionChanged, &CPlayersDialog::OnPlayerSelectionChanged);
    On(ui->playerList, &QListWidget::itemDoubleClicked, &CPlayersDialog::OnEditName);
    On(ui->addButton, &QPushButton::clicked, &CPlayersDialog::OnAddPlayer);
    On(ui->editNameButton, &QPushButton::clicked, &CPlayersDialog::OnEditName);
    On(ui->conflictsButton, &QPushButton::clicked, &CPlayersDialog::OnConflicts);
    On(ui->removeButton, &QPushButton::clicked, &CPlayersDialog::OnRemove);
    On(ui->groupsButton, &QPushButton::clicked, &CPlayersDialog::OnGroups);
    On(ui->importButton, &QPushButton::clicked, &CPlayersDialog::OnImport);
    OnRefresh(ui->refreshButton, &CPlayersDialog::OnRefreshLists);
    for (QCheckBox* box : m_heatBoxes) On(box, &QCheckBox::toggled, &CPlayersDialog::OnHeatBoxClicked);
    On(newPlayerFocus, &FocusNotifier::focusGained, &CPlayersDialog::OnNewPlayerFieldFocused);
}

CPlayersDialog::~CPlayersDialog() = default;

void CPlayersDialog::OnInitDialog()
{
    EnablePlayerButtons(false);
    // Without pre-registration the list takes the group box's room.
    if (PreRegistrationOffered()) {
        ShowFittedTitle(ui->preRegistrationGroup, QStringLiteral("Pre-Registration for ") + CurrentTournament.name,
                        ScreenTextWidth(this));
        ui->preRegistrationGroup->show();
    } else {
        ui->preRegistrationGroup->hide();
    }
    // The boxes of the tournament's heats keep their room while no player is
    // selected, so that selecting one moves nothing.
    for (int n = 1; n <= kMaxHeats; ++n) {
        QCheckBox* box = m_heatBoxes[size_t(n - 1)];
        KeepRoomWhenHidden(box, n <= HeatBoxCount());
        box->hide();
    }
    FillList();
}

bool CPlayersDialog::PreRegistrationOffered() const
{
    return CurrentTournament.id != -1 && CurrentTournament.preregistration != 0;
}

int CPlayersDialog::HeatBoxCount() const { return std::clamp(CurrentTournament.numHeats, 0, kMaxHeats); }

void CPlayersDialog::FillList()
{
    const QSignalBlocker quiet(ui->playerList);
    ui->playerList->clear();
    m_playerIDs.clear();
    for (const PlayerEntry& player : PlayerEntries(Sql("Select id, first, last from player order by last, first"))) {
        ui->playerList->addItem(player.name);
        m_playerIDs.push_back(player.id);
    }
}

int CPlayersDialog::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = ui->playerList->selectedItems();
    return selected.isEmpty() ? -1 : ui->playerList->row(selected.front());
}

int CPlayersDialog::SelectedPlayerID() const
{
    const int row = SelectedRow();
    return row < 0 ? -1 : m_playerIDs[size_t(row)];
}

void CPlayersDialog::SelectEntryStartingWith(const QString& prefix)
{
    const QSignalBlocker quiet(ui->playerList);
    for (int row = 0; row < ui->playerList->count(); ++row) {
        QListWidgetItem* item = ui->playerList->item(row);
        if (item->text().startsWith(prefix, Qt::CaseInsensitive)) {
            ui->playerList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
            ui->playerList->scrollToItem(item);
            return;
        }
    }
}

void CPlayersDialog::EnablePlayerButtons(bool enable)
{
    for (QPushButton* b : {ui->editNameButton, ui->conflictsButton, ui->removeButton, ui->groupsButton})
        EnableWithReason(b, SelectPlayerReason(enable));
}

void CPlayersDialog::UpdateControls()
{
    const int playerID = SelectedPlayerID();
    const bool selected = playerID != -1;
    EnablePlayerButtons(selected);
    if (!PreRegistrationOffered()) return;
    const int boxes = HeatBoxCount();
    for (int n = 1; n <= boxes; ++n) {
        m_heatBoxes[size_t(n - 1)]->setVisible(selected);
        EnableWithReason(m_heatBoxes[size_t(n - 1)], QString());
    }
    if (!selected) return;
    // Heats already created are closed to pre-registration: their boxes only
    // show what is stored.
    for (int heatNum : ExistingHeatNumbers(CurrentTournament.id)) {
        if (heatNum < 1 || heatNum > kMaxHeats) continue;
        EnableWithReason(m_heatBoxes[size_t(heatNum - 1)], HeatClosedReason(heatNum));
        SetCheckedQuietly(m_heatBoxes[size_t(heatNum - 1)], false);
    }
    const int mask = PreRegistrationMask(CurrentTournament.id, playerID);
    for (int n = 1; n <= boxes; ++n) SetCheckedQuietly(m_heatBoxes[size_t(n - 1)], (mask & (1 << (n - 1))) != 0);
}

void CPlayersDialog::OnPlayerSelectionChanged() { UpdateControls(); }

void CPlayersDialog::OnNewPlayerFieldFocused()
{
    ui->playerList->clearSelection();
    UpdateControls();
}

void CPlayersDialog::OnAddPlayer()
{
    const PlayerTexts texts =
        StoredPlayerTexts({ui->firstNameEdit->text(), ui->lastNameEdit->text(), ui->emailEdit->text()});
    switch (CheckPlayerTexts(texts)) {
    case PlayerTextsCheck::NameMissing: return;
    case PlayerTextsCheck::BadName:
    case PlayerTextsCheck::BadEmail: ReportRefusedPlayerTexts(texts); return;
    case PlayerTextsCheck::Valid: break;
    }
    InsertPlayer(texts);
    FillList();
    SelectEntryStartingWith(PlayerDisplayName(texts.first, texts.last));
    ui->firstNameEdit->clear();
    ui->lastNameEdit->clear();
    ui->emailEdit->clear();
    UpdateControls();
    // Back in the new-player fields, ready for the next one; the list keeps
    // the new entry in view but no longer selected.
    ui->firstNameEdit->setFocus();
    OnNewPlayerFieldFocused();
}

void CPlayersDialog::OnEditName()
{
    const int playerID = SelectedPlayerID();
    if (playerID == -1) return;
    CEditPlayerDialog edit(playerID, this);
    edit.DoModal();
    FillList();
    SelectEntryStartingWith(PlayerDisplayName(edit.FirstName(), edit.LastName()));
    UpdateControls();
}

void CPlayersDialog::OnConflicts()
{
    const int playerID = SelectedPlayerID();
    if (playerID == -1) return;
    CConflictsDialog conflicts(playerID, this);
    conflicts.DoModal();
}

void CPlayersDialog::OnRemove()
{
    const int row = SelectedRow();
    if (row < 0) return;
    const int playerID = m_playerIDs[size_t(row)];
    const QString name = ui->playerList->item(row)->text();
    if (IsPlayerSeated(playerID)) {
        ShowMessage(Format("%s is associated with one\nor more games and cannot be removed.", name),
                    QStringLiteral("Player Not Removable"), MsgIcon::Stop);
        return;
    }
    if (!ConfirmDestructive(Format("Are you sure you want to remove %s?\r\nThis cannot be undone!", name),
                            QStringLiteral("Confirm Player Removal")))
        return;
    RemovePlayer(playerID);
    FillList();
    UpdateControls();
}

void CPlayersDialog::OnGroups()
{
    const int playerID = SelectedPlayerID();
    if (playerID == -1) return;
    if (AskYesNo(GroupMembershipText(playerID), QStringLiteral("Group Membership"), MsgIcon::None))
        OpenGroups(playerID);
}

void CPlayersDialog::OpenGroups(int playerID)
{
    CGroupsDialog groups(-1, playerID, this);
    groups.DoModal();
}

void CPlayersDialog::OnImport()
{
    if (ImportPlayersFromFile(this) == 0) return;
    FillList();
    UpdateControls();
}

void CPlayersDialog::OnRefreshLists()
{
    const std::vector<int> selected = SelectedRowIDs(ui->playerList, m_playerIDs);
    FillList();
    {
        const QSignalBlocker quiet(ui->playerList);
        SelectRowIDs(ui->playerList, m_playerIDs, selected);
    }
    // The buttons and the heat boxes follow the player as he is stored now.
    UpdateControls();
}

void CPlayersDialog::OnHeatBoxClicked()
{
    const int playerID = SelectedPlayerID();
    if (playerID == -1 || !PreRegistrationOffered()) return;
    const int boxes = HeatBoxCount();
    int checked = 0;
    for (int n = 1; n <= boxes; ++n)
        if (m_heatBoxes[size_t(n - 1)]->isChecked()) checked |= 1 << (n - 1);
    StorePreRegistration(CurrentTournament.id, playerID, checked, boxes);
}
