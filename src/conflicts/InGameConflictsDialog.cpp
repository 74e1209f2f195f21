#include "conflicts/InGameConflictsDialog.h"

#include "ui_InGameConflictsDialog.h"

#include "conflicts/ConflictModel.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "tournament/CurrentTournament.h"
#include "ui/ListColumns.h"
#include "ui/TextFit.h"

CInGameConflictsDialog::CInGameConflictsDialog(const std::array<int, 7>& seatPlayerIDs, int gameNum, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CInGameConflictsDialog>()), m_seatPlayerIDs(seatPlayerIDs),
      m_gameNum(gameNum)
{
    ui->setupUi(this);
    ShowNamesElided(ui->explanationList);

    // Notifications and their handlers.
    On(ui->playerCombo, &QComboBox::activated, &CInGameConflictsDialog::OnPlayerChosen);
    On(ui->closeButton, &QPushButton::clicked, &CInGameConflictsDialog::OnClose);
}

CInGameConflictsDialog::~CInGameConflictsDialog() = default;

void CInGameConflictsDialog::OnInitDialog()
{
    for (size_t i = 0; i < m_seatPlayerIDs.size(); ++i) {
        QString name;
        if (g_conflictModel) {
            g_conflictModel->ComputePlayerConflict(m_seatPlayerIDs[i]);
            if (g_conflictModel->lastPlayer) name = g_conflictModel->lastPlayer->name;
        }
        ui->playerCombo->addItem(Format("%s (playing %s)", name, PowerName(int(i))));
    }
    ShowFittedTitle(ui->conflictBox, Format("%s - Game %d", CurrentTournament.name, m_gameNum), ScreenTextWidth(this));
    m_selected = 0;
    ui->playerCombo->setCurrentIndex(0);
    ShowExplanation(m_selected);
}

void CInGameConflictsDialog::ShowExplanation(int k)
{
    ui->explanationList->clear();
    if (!g_conflictModel || k < 0 || size_t(k) >= m_seatPlayerIDs.size()) return;
    g_conflictModel->ComputePlayerConflict(m_seatPlayerIDs[size_t(k)]);
    for (const QString& line : g_conflictModel->explanation) {
        if (line.isEmpty()) break;
        ui->explanationList->addItem(line);
    }
}

void CInGameConflictsDialog::OnPlayerChosen(int index)
{
    m_selected = index;
    ShowExplanation(m_selected);
}

void CInGameConflictsDialog::OnClose() { EndDialog(QDialog::Accepted); }
