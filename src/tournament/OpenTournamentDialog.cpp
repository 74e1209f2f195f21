#include "tournament/OpenTournamentDialog.h"

#include "ui_OpenTournamentDialog.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>

COpenTournamentDialog::COpenTournamentDialog(int tournamentID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::COpenTournamentDialog>()), m_chosenID(tournamentID)
{
    ui->setupUi(this);

    // Notifications and their handlers.
    On(ui->okButton, &QPushButton::clicked, &COpenTournamentDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &COpenTournamentDialog::reject);
}

COpenTournamentDialog::~COpenTournamentDialog() = default;

void COpenTournamentDialog::OnInitDialog()
{
    ui->tournamentCombo->clear();
    m_tournamentIDs.clear();
    for (CRecordset rs(Sql("Select id, name from Tournament order by name")); !rs.IsEOF(); rs.MoveNext()) {
        ui->tournamentCombo->addItem(rs.GetString(1));
        m_tournamentIDs.push_back(rs.GetInt(0));
    }
    const auto open = std::find(m_tournamentIDs.begin(), m_tournamentIDs.end(), m_chosenID);
    ui->tournamentCombo->setCurrentIndex(open == m_tournamentIDs.end() ? -1 : int(open - m_tournamentIDs.begin()));
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
