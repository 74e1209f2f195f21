#include "teams/TeamDetailsDialog.h"

#include "ui_TeamDetailsDialog.h"

#include "db/Format.h"
#include "teams/Teams.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

CTeamDetailsDialog::CTeamDetailsDialog(int teamID, const QString& tournamentName, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CTeamDetailsDialog>()), m_teamID(teamID)
{
    ui->setupUi(this);
    ShowFittedTitle(ui->groupBox, tournamentName, ScreenTextWidth(this));
    m_lists = {ui->player1List, ui->player2List, ui->player3List, ui->player4List,
               ui->player5List, ui->player6List, ui->player7List};
    m_labels = {ui->player1Label, ui->player2Label, ui->player3Label, ui->player4Label,
                ui->player5Label, ui->player6Label, ui->player7Label};

    // Notifications and their handlers.
    On(ui->okButton, &QPushButton::clicked, &CTeamDetailsDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &CTeamDetailsDialog::OnCancel);
}

CTeamDetailsDialog::~CTeamDetailsDialog() = default;

void CTeamDetailsDialog::OnInitDialog()
{
    const int used = TeamPlayerCount();
    for (int k = 0; k < kMaxPlayers; ++k) {
        QComboBox* list = m_lists[size_t(k)];
        list->clear();
        list->setEnabled(k < used);
        list->setHidden(k >= used);
        SetLabelText(m_labels[size_t(k)], k < used ? Format("Player #%d:", k + 1) : QString());
    }

    // Editing: each member heads one list, in last-name order.
    int placed = 0;
    if (m_teamID != -1) {
        const TeamMembers team = LoadTeamMembers(m_teamID);
        ui->nameEdit->setText(team.name);
        for (; placed < used && size_t(placed) < team.members.size(); ++placed) {
            const TeamPlayerChoice& member = team.members[size_t(placed)];
            m_lists[size_t(placed)]->addItem(member.name, member.playerID);
        }
    }
    // Then every player on no team of this tournament, in every list.
    for (const TeamPlayerChoice& player : LoadFreePlayers(CurrentTournament.id))
        for (int k = 0; k < used; ++k) m_lists[size_t(k)]->addItem(player.name, player.playerID);
    // A list shows its member; one without a member starts with no choice.
    for (int k = 0; k < used; ++k) m_lists[size_t(k)]->setCurrentIndex(k < placed ? 0 : -1);
}

std::vector<int> CTeamDetailsDialog::ChosenPlayers() const
{
    std::vector<int> players;
    for (int k = 0; k < TeamPlayerCount(); ++k) {
        const QComboBox* list = m_lists[size_t(k)];
        players.push_back(list->currentIndex() < 0 ? -1 : list->currentData().toInt());
    }
    return players;
}

void CTeamDetailsDialog::OnOK()
{
    const QString name = ApostrophesToBackquotes(ui->nameEdit->text());
    const std::vector<int> players = ChosenPlayers();
    switch (SaveTeam(CurrentTournament.id, m_teamID, name, players)) {
    case TeamRefusal::NoName:
        ShowMessage(QStringLiteral("The team must be named."), QStringLiteral("No Team Name!"), MsgIcon::Stop);
        return;
    case TeamRefusal::BadName:
        ShowMessage(TypedTextProblem(kTeamNameField, name), QStringLiteral("Bad Team Name"), MsgIcon::Stop);
        return;
    case TeamRefusal::BadPlayers:
        ShowMessage(QStringLiteral("Team must contain all different players."), QStringLiteral("Bad Team"),
                    MsgIcon::Stop);
        return;
    case TeamRefusal::NameInUse:
        ShowMessage(QStringLiteral("Team Name Already In Use At This Tournament."), QStringLiteral("Bad Team Name"),
                    MsgIcon::Stop);
        return;
    case TeamRefusal::PlayerOnAnotherTeam:
        ShowMessage(QStringLiteral("A player chosen here has meanwhile been put on another team of this tournament "
                                   "(at another desk).\nChoose another player."),
                    QStringLiteral("Bad Team"), MsgIcon::Stop);
        return;
    case TeamRefusal::TeamGone:
        ShowMessage(QStringLiteral("This team has been disbanded at another desk, so it cannot be saved."),
                    QStringLiteral("Team Not Saved"), MsgIcon::Stop);
        EndDialog(QDialog::Rejected);
        return;
    case TeamRefusal::None:
        break;
    }
    EndDialog(QDialog::Accepted);
}

void CTeamDetailsDialog::OnCancel() { EndDialog(QDialog::Rejected); }
