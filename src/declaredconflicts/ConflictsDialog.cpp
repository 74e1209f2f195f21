#include "declaredconflicts/ConflictsDialog.h"

#include "ui_ConflictsDialog.h"

#include "db/Format.h"
#include "declaredconflicts/PlayerConflicts.h"
#include "playerrecords/PlayerRecords.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/RowSelection.h"
#include "ui/UiServices.h"

#include <algorithm>

namespace {
enum Column { kNameColumn = 0, kValueColumn = 1 };
}  // namespace

QString ConflictStepReason(bool conflictSelected)
{
    return conflictSelected ? QString() : QStringLiteral("Select a conflict in the list first");
}

CConflictsDialog::CConflictsDialog(int playerID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CConflictsDialog>()), m_playerID(playerID)
{
    ui->setupUi(this);
    LayOutListColumns(ui->conflictList, {kNameColumn});
    ui->conflictList->header()->setAccessibleName(QStringLiteral("Conflict columns"));

    // Notifications and their handlers.
    On(ui->playerCombo, &QComboBox::activated, &CConflictsDialog::OnPlayerChosen);
    On(ui->conflictList, &QTreeWidget::itemSelectionChanged, &CConflictsDialog::OnConflictSelectionChanged);
    On(ui->increaseButton, &QPushButton::clicked, &CConflictsDialog::OnIncrease);
    On(ui->decreaseButton, &QPushButton::clicked, &CConflictsDialog::OnDecrease);
    On(ui->candidateCombo, &QComboBox::activated, &CConflictsDialog::OnCandidateChosen);
    OnRefresh(ui->refreshButton, &CConflictsDialog::OnRefreshLists);
}

CConflictsDialog::~CConflictsDialog() = default;

void CConflictsDialog::OnInitDialog()
{
    FillPlayerList();
    Refresh();
}

void CConflictsDialog::FillPlayerList()
{
    ui->playerCombo->clear();
    m_playerIDs.clear();
    for (const PlayerEntry& player : PlayerEntries(Sql("Select * from player order by last, first"))) {
        ui->playerCombo->addItem(player.name);
        m_playerIDs.push_back(player.id);
    }
    const auto current = std::find(m_playerIDs.begin(), m_playerIDs.end(), m_playerID);
    ui->playerCombo->setCurrentIndex(current == m_playerIDs.end() ? -1 : int(current - m_playerIDs.begin()));
}

void CConflictsDialog::OnRefreshLists()
{
    const std::vector<int> selected = SelectedRowIDs(ui->conflictList, m_conflictIDs);
    FillPlayerList();
    Refresh();
    // Selecting notifies: Increase and Decrease follow the selection.
    SelectRowIDs(ui->conflictList, m_conflictIDs, selected);
}

void CConflictsDialog::done(int result)
{
    Guarded(PurgeZeroConflicts);
    CDialog::done(result);
}

void CConflictsDialog::Refresh()
{
    ui->conflictList->clear();
    m_conflictIDs.clear();
    for (const ConflictEntry& conflict : ConflictsOf(m_playerID)) {
        auto* item = new QTreeWidgetItem(ui->conflictList, {conflict.otherName, Format("%d", conflict.value)});
        item->setTextAlignment(kValueColumn, Qt::AlignCenter);
        m_conflictIDs.push_back(conflict.otherID);
    }
    EnableWithReason(ui->increaseButton, ConflictStepReason(false));
    EnableWithReason(ui->decreaseButton, ConflictStepReason(false));

    // Only players without a conflict with the current one are candidates.
    ui->candidateCombo->clear();
    m_candidateIDs.clear();
    for (const PlayerEntry& player :
         PlayerEntries(Sql("Select * from player where Player.id <> %d order by last, first", m_playerID))) {
        if (std::find(m_conflictIDs.begin(), m_conflictIDs.end(), player.id) != m_conflictIDs.end()) continue;
        ui->candidateCombo->addItem(player.name);
        m_candidateIDs.push_back(player.id);
    }
    ui->candidateCombo->setCurrentIndex(-1);
}

int CConflictsDialog::SelectedConflictRow() const
{
    const QList<QTreeWidgetItem*> selected = ui->conflictList->selectedItems();
    return selected.isEmpty() ? -1 : ui->conflictList->indexOfTopLevelItem(selected.front());
}

void CConflictsDialog::SelectConflictRow(int row)
{
    QTreeWidgetItem* item = ui->conflictList->topLevelItem(row);
    if (!item) return;
    ui->conflictList->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui->conflictList->scrollToItem(item);
}

void CConflictsDialog::OnPlayerChosen(int index)
{
    if (index < 0 || size_t(index) >= m_playerIDs.size()) return;
    m_playerID = m_playerIDs[size_t(index)];
    Refresh();
}

void CConflictsDialog::OnConflictSelectionChanged()
{
    const bool selected = SelectedConflictRow() >= 0;
    EnableWithReason(ui->increaseButton, ConflictStepReason(selected));
    EnableWithReason(ui->decreaseButton, ConflictStepReason(selected));
}

void CConflictsDialog::OnIncrease() { ChangeValue(+1); }

void CConflictsDialog::OnDecrease() { ChangeValue(-1); }

void CConflictsDialog::ChangeValue(int step)
{
    const int row = SelectedConflictRow();
    if (row < 0) return;
    // The step starts from the value the list shows.
    const int value = ui->conflictList->topLevelItem(row)->text(kValueColumn).left(10).toInt();
    SetConflictValue(m_playerID, m_conflictIDs[size_t(row)], value + step);
    Refresh();
    SelectConflictRow(row);
}

void CConflictsDialog::OnCandidateChosen(int index)
{
    if (index < 0 || size_t(index) >= m_candidateIDs.size()) return;
    const int candidateID = m_candidateIDs[size_t(index)];
    if (!AskYesNo(Format("Add new conflict between %s and %s?", ui->playerCombo->currentText(),
                         ui->candidateCombo->itemText(index)),
                  QStringLiteral("New Conflict?"))) {
        ui->candidateCombo->setCurrentIndex(-1);
        return;
    }
    InsertConflict(m_playerID, candidateID);
    Refresh();
    const auto row = std::find(m_conflictIDs.begin(), m_conflictIDs.end(), candidateID);
    if (row != m_conflictIDs.end()) SelectConflictRow(int(row - m_conflictIDs.begin()));
}
