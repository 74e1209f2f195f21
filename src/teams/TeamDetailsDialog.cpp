#include "teams/TeamDetailsDialog.h"

#include "ui_TeamDetailsDialog.h"

#include "db/Format.h"
#include "teams/Teams.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <algorithm>

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
    OnRefresh(ui->refreshButton, &CTeamDetailsDialog::OnRefreshLists);
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

    // Editing: each member heads one list, in last-name order, and is its
    // choice; a list without a member starts with no choice.
    std::vector<TeamPlayerChoice> heads;
    if (m_teamID != -1) {
        TeamMembers team = LoadTeamMembers(m_teamID);
        ui->nameEdit->setText(team.name);
        heads = std::move(team.members);
        if (heads.size() > size_t(used)) heads.resize(size_t(used));
    }
    m_headIDs.clear();
    for (const TeamPlayerChoice& member : heads) m_headIDs.push_back(member.playerID);
    FillPlayerLists(heads, m_headIDs);
}

void CTeamDetailsDialog::FillPlayerLists(const std::vector<TeamPlayerChoice>& heads, const std::vector<int>& chosen)
{
    const std::vector<TeamPlayerChoice> free = LoadFreePlayers(CurrentTournament.id);
    for (int k = 0; k < TeamPlayerCount(); ++k) {
        QComboBox* list = m_lists[size_t(k)];
        list->clear();
        if (size_t(k) < heads.size() && heads[size_t(k)].playerID != -1)
            list->addItem(heads[size_t(k)].name, heads[size_t(k)].playerID);
        for (const TeamPlayerChoice& player : free) list->addItem(player.name, player.playerID);
        list->setCurrentIndex(size_t(k) < chosen.size() ? list->findData(chosen[size_t(k)]) : -1);
    }
}

void CTeamDetailsDialog::OnRefreshLists()
{
    const std::vector<int> chosen = ChosenPlayers();
    QStringList chosenNames;
    for (int k = 0; k < TeamPlayerCount(); ++k) chosenNames << m_lists[size_t(k)]->currentText();
    // A member heads his list again while the store still has him on the team.
    const TeamMembers team = m_teamID == -1 ? TeamMembers{} : LoadTeamMembers(m_teamID);
    std::vector<TeamPlayerChoice> heads;
    for (int headID : m_headIDs) {
        const auto member = std::find_if(team.members.begin(), team.members.end(),
                                         [headID](const TeamPlayerChoice& m) { return m.playerID == headID; });
        heads.push_back(member != team.members.end() ? *member : TeamPlayerChoice{});
    }
    // The name typed and every choice still possible stay as they were.
    FillPlayerLists(heads, chosen);
    QStringList taken;
    for (int k = 0; k < TeamPlayerCount(); ++k)
        if (chosen[size_t(k)] != -1 && m_lists[size_t(k)]->currentIndex() < 0) taken << chosenNames[k];
    if (!taken.isEmpty())
        ShowMessage(Format("Meanwhile these players were put on another team or removed, so their places are "
                           "empty again:\n%s",
                           taken.join(QChar('\n'))),
                    QStringLiteral("Players No Longer Free"), MsgIcon::Exclamation);
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
