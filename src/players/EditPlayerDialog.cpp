#include "players/EditPlayerDialog.h"

#include "ui_EditPlayerDialog.h"

#include "playerrecords/PlayerRecords.h"

CEditPlayerDialog::CEditPlayerDialog(int playerID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CEditPlayerDialog>()), m_playerID(playerID)
{
    ui->setupUi(this);

    // Notifications and their handlers.
    On(ui->okButton, &QPushButton::clicked, &CEditPlayerDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &CEditPlayerDialog::OnCancel);
}

CEditPlayerDialog::~CEditPlayerDialog() = default;

void CEditPlayerDialog::OnInitDialog()
{
    const PlayerTexts stored = LoadPlayerTexts(m_playerID);
    m_first = stored.first;
    m_last = stored.last;
    ui->firstNameEdit->setText(stored.first);
    ui->lastNameEdit->setText(stored.last);
    ui->emailEdit->setText(stored.email);
}

void CEditPlayerDialog::OnOK()
{
    const PlayerTexts texts = StoredPlayerTexts({ui->firstNameEdit->text(), ui->lastNameEdit->text(),
                                                 ui->emailEdit->text()});
    switch (CheckPlayerTexts(texts)) {
    case PlayerTextsCheck::BadName:
    case PlayerTextsCheck::BadEmail: ReportRefusedPlayerTexts(texts); return;
    case PlayerTextsCheck::NameMissing: break;
    case PlayerTextsCheck::Valid: UpdatePlayer(m_playerID, texts); break;
    }
    m_first = texts.first;
    m_last = texts.last;
    EndDialog(QDialog::Accepted);
}

void CEditPlayerDialog::OnCancel() { EndDialog(QDialog::Rejected); }
