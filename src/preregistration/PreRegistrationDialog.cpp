#include "preregistration/PreRegistrationDialog.h"

#include "ui_PreRegistrationDialog.h"

#include "db/Database.h"
#include "db/Format.h"
#include "report/ReportOutput.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <algorithm>

namespace {

// Entries above the selected one that stay in view when it is selected again.
constexpr int kRowsAboveSelection = 8;

// The caption of the heat boxes while no player is current: a blank, which
// keeps the caption's room, so that selecting a player moves nothing.
const QString kNoPlayerCaption = QStringLiteral(" ");

int RowOf(const std::vector<int>& ids, int id)
{
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found == ids.end() ? -1 : int(found - ids.begin());
}

int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

}  // namespace

CPreRegistrationDialog::CPreRegistrationDialog(int heatNum, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CPreRegistrationDialog>()), m_heat(heatNum)
{
    ui->setupUi(this);
    m_heatBoxes = {ui->heat1Box, ui->heat2Box, ui->heat3Box, ui->heat4Box, ui->heat5Box,
                   ui->heat6Box, ui->heat7Box, ui->heat8Box, ui->heat9Box};
    ShowNamesElided(ui->notList);
    ShowNamesElided(ui->preList);
    KeepRoomWhenHidden(ui->moveButton);

    // Notifications and their handlers.
    On(ui->heatTabs, &QTabBar::currentChanged, &CPreRegistrationDialog::OnTabChanged);
    On(ui->notList, &QListWidget::itemSelectionChanged, &CPreRegistrationDialog::OnNotRegisteredSelectionChanged);
    On(ui->preList, &QListWidget::itemSelectionChanged, &CPreRegistrationDialog::OnRegisteredSelectionChanged);
    On(ui->notList, &QListWidget::itemDoubleClicked, &CPreRegistrationDialog::OnMove);
    On(ui->preList, &QListWidget::itemDoubleClicked, &CPreRegistrationDialog::OnSitOut);
    On(ui->moveButton, &QPushButton::clicked, &CPreRegistrationDialog::OnMove);
    for (QCheckBox* box : m_heatBoxes) On(box, &QCheckBox::toggled, &CPreRegistrationDialog::OnHeatBoxClicked);
    On(ui->printButton, &QPushButton::clicked, &CPreRegistrationDialog::OnPrint);
    OnRefresh(ui->refreshButton, &CPreRegistrationDialog::OnRefreshLists);
}

CPreRegistrationDialog::~CPreRegistrationDialog() = default;

int CPreRegistrationDialog::HeatCount() const { return std::clamp(CurrentTournament.numHeats, 1, kMaxHeats); }

void CPreRegistrationDialog::OnInitDialog()
{
    ShowFittedTitle(ui->tournamentGroup, CurrentTournament.name, ScreenTextWidth(this));

    const int heats = HeatCount();
    const QSignalBlocker quiet(ui->heatTabs);
    for (int n = 1; n <= heats; ++n) ui->heatTabs->addTab(Format("Heat %d", n));

    m_highestHeat = HighestHeatNumber(CurrentTournament.id);
    if (m_heat == -1) m_heat = OpeningPreRegistrationHeat(m_highestHeat, CurrentTournament.numHeats);
    m_heat = std::clamp(m_heat, 1, heats);

    for (int n = 1; n <= kMaxHeats; ++n) m_heatBoxes[size_t(n - 1)]->setVisible(n <= heats);
    ForgetCurrentPlayer();

    ui->heatTabs->setCurrentIndex(m_heat - 1);
    Refresh();
}

void CPreRegistrationDialog::ForgetCurrentPlayer()
{
    m_playerID = -1;
    m_playerName.clear();
    ui->heatGroup->setTitle(kNoPlayerCaption);
    for (QCheckBox* box : m_heatBoxes) EnableWithReason(box, SelectPlayerReason(false));
    ui->moveButton->hide();
}

void CPreRegistrationDialog::OnRefreshLists()
{
    // Another program may have created a heat meanwhile, which closes it.
    m_highestHeat = HighestHeatNumber(CurrentTournament.id);
    Refresh();
    // A player no longer stored is no longer current.
    if (m_playerID != -1 && SelectedRow(ui->notList) < 0 && SelectedRow(ui->preList) < 0) ForgetCurrentPlayer();
}

void CPreRegistrationDialog::Refresh()
{
    {
        const QSignalBlocker quietRegistered(ui->preList);
        const QSignalBlocker quietOthers(ui->notList);
        ui->preList->clear();
        ui->notList->clear();
        m_registeredIDs.clear();
        m_notRegisteredIDs.clear();
        for (const PlayerEntry& player : PreRegisteredPlayers(CurrentTournament.id, m_heat)) {
            ui->preList->addItem(player.name);
            m_registeredIDs.push_back(player.id);
        }
        for (const PlayerEntry& player : PlayerEntries(Sql("select id, first, last from player order by last, first"))) {
            if (RowOf(m_registeredIDs, player.id) >= 0) continue;
            ui->notList->addItem(player.name);
            m_notRegisteredIDs.push_back(player.id);
        }
    }
    const QString closed = CurrentHeatOpen() ? QString() : HeatClosedReason(m_heat);
    EnableWithReason(ui->notList, closed);
    EnableWithReason(ui->preList, closed);
    // A heat that exists is closed: nobody moves in or out of it any more.
    EnableWithReason(ui->moveButton, closed);
    EnableWithReason(ui->printButton, PreRegistrationPrintReason(m_heat, !m_registeredIDs.empty()));

    // The current player stays selected, in whichever list holds him now.
    if (m_playerID == -1) return;
    if (const int row = RowOf(m_notRegisteredIDs, m_playerID); row >= 0) {
        SelectRow(ui->notList, row);
        OnNotRegisteredSelectionChanged();
    } else if (const int registered = RowOf(m_registeredIDs, m_playerID); registered >= 0) {
        SelectRow(ui->preList, registered);
        OnRegisteredSelectionChanged();
    }
}

void CPreRegistrationDialog::SelectRow(QListWidget* list, int row)
{
    const QSignalBlocker quiet(list);
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(std::max(row - kRowsAboveSelection, 0)), QAbstractItemView::PositionAtTop);
}

bool CPreRegistrationDialog::TakeSelection(QListWidget* list, QListWidget* other, const std::vector<int>& ids,
                                           const QString& caption)
{
    {
        const QSignalBlocker quiet(other);
        other->clearSelection();
    }
    const int row = SelectedRow(list);
    if (row < 0 || size_t(row) >= ids.size()) return false;
    ui->moveButton->setText(caption);
    ui->moveButton->show();
    m_playerID = ids[size_t(row)];
    m_playerName = list->item(row)->text();
    ShowFittedTitle(ui->heatGroup, m_playerName, ScreenTextWidth(this));
    ShowBoxes(m_playerID);
    return true;
}

void CPreRegistrationDialog::OnNotRegisteredSelectionChanged()
{
    TakeSelection(ui->notList, ui->preList, m_notRegisteredIDs, kPreRegisterCaption);
}

void CPreRegistrationDialog::OnRegisteredSelectionChanged()
{
    TakeSelection(ui->preList, ui->notList, m_registeredIDs, kSitOutCaption);
}

void CPreRegistrationDialog::ShowBoxes(int playerID)
{
    const int mask = PreRegistrationMask(CurrentTournament.id, playerID);
    for (int n = 1; n <= HeatCount(); ++n) {
        QCheckBox* box = m_heatBoxes[size_t(n - 1)];
        SetCheckedQuietly(box, (mask & (1 << (n - 1))) != 0);
        EnableWithReason(box, n > m_highestHeat ? QString() : HeatClosedReason(n));
    }
}

void CPreRegistrationDialog::OnTabChanged(int index)
{
    if (index < 0) return;
    m_heat = index + 1;
    Refresh();
}

void CPreRegistrationDialog::OnMove()
{
    if (SelectedRow(ui->preList) >= 0)
        OnSitOut();
    else
        MoveSelected(ui->notList, m_notRegisteredIDs, true);
}

void CPreRegistrationDialog::OnSitOut() { MoveSelected(ui->preList, m_registeredIDs, false); }

void CPreRegistrationDialog::MoveSelected(QListWidget* list, const std::vector<int>& ids, bool preRegister)
{
    const int row = SelectedRow(list);
    if (row < 0 || size_t(row) >= ids.size() || !CurrentHeatOpen()) return;
    m_playerID = ids[size_t(row)];
    ChangePreRegistration(CurrentTournament.id, m_playerID, m_heat, preRegister);
    // The player stays current, so Refresh selects him in the other list.
    Refresh();
}

void CPreRegistrationDialog::OnHeatBoxClicked()
{
    const int registeredRow = SelectedRow(ui->preList);
    const int otherRow = SelectedRow(ui->notList);
    if (registeredRow < 0 && otherRow < 0) return;
    const int playerID =
        registeredRow >= 0 ? m_registeredIDs[size_t(registeredRow)] : m_notRegisteredIDs[size_t(otherRow)];
    int mask = 0;
    for (int n = 1; n <= kMaxHeats; ++n)
        if (m_heatBoxes[size_t(n - 1)]->isChecked()) mask |= 1 << (n - 1);

    // The box of the heat on show moves the player between its lists.
    const bool currentChecked = m_heatBoxes[size_t(m_heat - 1)]->isChecked();
    const bool moves = CurrentHeatOpen() && (registeredRow >= 0) != currentChecked;
    try {
        ReplacePreRegistrationMask(CurrentTournament.id, playerID, mask);
    } catch (...) {
        // Nothing was stored: the lists and boxes show what is.
        Refresh();
        throw;
    }
    if (moves) {
        // The player stays current, so Refresh selects him in the other list.
        m_playerID = playerID;
        Refresh();
    }
}

void CPreRegistrationDialog::OnPrint()
{
    QStringList names;
    for (int row = 0; row < ui->preList->count(); ++row) names << ui->preList->item(row)->text();
    PrintReportText(CurrentTournament.name, Format("Heat %d PreReg", m_heat), PreRegistrationListText(m_heat, names),
                    QStringLiteral("Pre-Registration List Printed!"));
}
