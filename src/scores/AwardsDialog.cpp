#include "scores/AwardsDialog.h"

#include "ui_AwardsDialog.h"

#include "db/Format.h"
#include "report/ReportOutput.h"
#include "tournament/CurrentTournament.h"
#include "ui/UiServices.h"

CAwardsDialog::CAwardsDialog(const QString& tournamentName, const QString& awardText, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CAwardsDialog>()), m_awardText(awardText)
{
    ui->setupUi(this);
    ui->groupBox->setTitle(tournamentName);
    ui->awardText->setText(awardText);

    // Notifications and their handlers.
    On(ui->printButton, &QPushButton::clicked, &CAwardsDialog::OnPrint);
    On(ui->okButton, &QPushButton::clicked, &CAwardsDialog::OnOK);
}

CAwardsDialog::~CAwardsDialog() = default;

void CAwardsDialog::OnPrint()
{
    PrintReportText(CurrentTournament.name, QStringLiteral("Awards"), Format("%s Awards\n\n%s", CurrentTournament.name, m_awardText),
                    QStringLiteral("Award List Printed!"));
}

void CAwardsDialog::OnOK() { EndDialog(QDialog::Accepted); }
