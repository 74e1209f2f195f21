#include "scores/AwardsDialog.h"

#include "ui_AwardsDialog.h"

#include "db/Format.h"
#include "report/ReportOutput.h"
#include "tournament/CurrentTournament.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <QRegularExpression>

#include <algorithm>

CAwardsDialog::CAwardsDialog(const QString& tournamentName, const QString& awardText, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CAwardsDialog>()), m_awardText(awardText)
{
    ui->setupUi(this);
    ShowFittedTitle(ui->groupBox, tournamentName, ScreenTextWidth(this));
    ui->awardText->setText(awardText);
    // The dialog opens as wide as the longest line, as far as the screen
    // allows; a line longer than that wraps rather than running out of view.
    int longest = 0;
    for (const QString& line : awardText.split(QChar('\n'))) longest = std::max(longest, WholeTextWidth(font(), line));
    ui->awardText->setWordWrap(true);
    ui->awardText->setMinimumWidth(std::min(longest, ScreenTextWidth(this)));
    // The best games are named by heat and game ("H8G11"): the legend says so.
    ui->legendLabel->setVisible(awardText.contains(QRegularExpression(QStringLiteral("\\(H\\d+G\\d+\\)"))));

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
