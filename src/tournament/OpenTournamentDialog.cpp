#include "tournament/OpenTournamentDialog.h"

#include "ui_OpenTournamentDialog.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"

#include <algorithm>

QString OpenChoiceReason(int tournamentCount, int chosenIndex)
{
    if (tournamentCount <= 0) return QStringLiteral("No tournament has been created yet");
    return chosenIndex >= 0 ? QString() : QStringLiteral("Choose a tournament first");
}

COpenTournamentDialog::COpenTournamentDialog(int tournamentID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::COpenTournamentDialog>()), m_chosenID(tournamentID)
{
    ui->setupUi(this);

    // Notifications and their handlers.
    On(ui->tournamentCombo, &QComboBox::currentIndexChanged, &COpenTournamentDialog::OnChoiceChanged);
    OnRefresh(ui->refreshButton, &COpenTournamentDialog::OnRefreshLists);
    On(ui->okButton, &QPushButton::clicked, &COpenTournamentDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &COpenTournamentDialog::reject);
}

COpenTournamentDialog::~COpenTournamentDialog() = default;

void COpenTournamentDialog::OnInitDialog() { FillTournamentList(m_chosenID); }

void COpenTournamentDialog::OnRefreshLists()
{
    const int index = ui->tournamentCombo->currentIndex();
    FillTournamentList(index >= 0 && size_t(index) < m_tournamentIDs.size() ? m_tournamentIDs[size_t(index)] : -1);
}

void COpenTournamentDialog::FillTournamentList(int chosenID)
{
    const QSignalBlocker quiet(ui->tournamentCombo);
    ui->tournamentCombo->clear();
    m_tournamentIDs.clear();
    for (CRecordset rs(Sql("Select id, name from Tournament order by name")); !rs.IsEOF(); rs.MoveNext()) {
        ui->tournamentCombo->addItem(rs.GetString(1));
        m_tournamentIDs.push_back(rs.GetInt(0));
    }
    const auto open = std::find(m_tournamentIDs.begin(), m_tournamentIDs.end(), chosenID);
    int chosen = open == m_tournamentIDs.end() ? -1 : int(open - m_tournamentIDs.begin());
    // The only tournament there is needs no choosing.
    if (chosen == -1 && m_tournamentIDs.size() == 1) chosen = 0;
    ui->tournamentCombo->setCurrentIndex(chosen);
    OnChoiceChanged();
}

void COpenTournamentDialog::OnChoiceChanged()
{
    EnableWithReason(ui->okButton, OpenChoiceReason(int(m_tournamentIDs.size()), ui->tournamentCombo->currentIndex()));
}

void COpenTournamentDialog::OnOK()
{
    const int index = ui->tournamentCombo->currentIndex();
    if (index >= 0 && size_t(index) < m_tournamentIDs.size()) {
        const int chosen = m_tournamentIDs[size_t(index)];
        LoadTournament(chosen);
        m_chosenID = chosen;
    }
    EndDialog(QDialog::Accepted);
}
