#include "teams/TeamsDialog.h"

#include "ui_TeamsDialog.h"

#include "db/Format.h"
#include "report/ReportOutput.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamRosters.h"
#include "teams/Teams.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/RowSelection.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <QHeaderView>

QString TeamCommandReason(bool teamSelected)
{
    return teamSelected ? QString() : QStringLiteral("Select a team first");
}

QString RosterPrintReason(bool teamSaved)
{
    return teamSaved ? QString() : QStringLiteral("Save a team with New or Edit first");
}

CTeamsDialog::CTeamsDialog(int tournamentID, const QString& tournamentName, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CTeamsDialog>()), m_tournamentID(tournamentID),
      m_tournamentName(tournamentName)
{
    ui->setupUi(this);
    ShowFittedTitle(ui->groupBox, tournamentName, ScreenTextWidth(this));
    ui->teamList->header()->setAccessibleName(ui->teamList->accessibleName());

    // Notifications and their handlers.
    On(ui->teamList, &QTreeWidget::itemSelectionChanged, &CTeamsDialog::OnSelectionChanged);
    On(ui->newButton, &QPushButton::clicked, &CTeamsDialog::OnNew);
    On(ui->editButton, &QPushButton::clicked, &CTeamsDialog::OnEdit);
    On(ui->disbandButton, &QPushButton::clicked, &CTeamsDialog::OnDisband);
    On(ui->printButton, &QPushButton::clicked, &CTeamsDialog::OnPrint);
    OnRefresh(ui->refreshButton, &CTeamsDialog::OnRefreshLists);
    On(ui->okButton, &QPushButton::clicked, &CTeamsDialog::OnOK);
}

CTeamsDialog::~CTeamsDialog() = default;

void CTeamsDialog::OnInitDialog()
{
    InsertColumns();
    m_rememberedTeamID = -1;
    Refresh();
}

void CTeamsDialog::InsertColumns()
{
    const int players = TeamPlayerCount();
    QStringList headers{QStringLiteral("Team Name")};
    QList<int> names{0};
    for (int p = 1; p <= players; ++p) {
        headers << Format("Player #%d", p);
        names << p;
    }
    ui->teamList->setHeaderLabels(headers);
    // Every column is a name: they share the list's width as each needs it.
    LayOutListColumns(ui->teamList, names);
}

void CTeamsDialog::Refresh()
{
    ui->teamList->clear();
    m_teamIDs.clear();
    QTreeWidgetItem* remembered = nullptr;
    for (const TeamListRow& team : LoadTeamList(m_tournamentID)) {
        auto* item = new QTreeWidgetItem(ui->teamList, QStringList{team.name} + team.members);
        m_teamIDs.push_back(team.teamID);
        if (team.teamID == m_rememberedTeamID) remembered = item;
    }
    if (remembered) ui->teamList->setCurrentItem(remembered);
    // Only a team created or edited in this run opens the commands; picking
    // a row opens Edit and Disband alone.
    const bool shown = remembered != nullptr;
    EnableWithReason(ui->editButton, TeamCommandReason(shown));
    EnableWithReason(ui->disbandButton, TeamCommandReason(shown));
    EnableWithReason(ui->printButton, RosterPrintReason(shown));
}

void CTeamsDialog::OnSelectionChanged()
{
    const bool selected = !ui->teamList->selectedItems().isEmpty();
    EnableWithReason(ui->editButton, TeamCommandReason(selected));
    EnableWithReason(ui->disbandButton, TeamCommandReason(selected));
}

int CTeamsDialog::MarkedRow() const
{
    QTreeWidgetItem* item = ui->teamList->currentItem();
    const int row = item ? ui->teamList->indexOfTopLevelItem(item) : -1;
    return row >= 0 && size_t(row) < m_teamIDs.size() ? row : -1;
}

void CTeamsDialog::RunTeamDetails(int teamID)
{
    CTeamDetailsDialog details(teamID, m_tournamentName, this);
    details.DoModal();
    m_rememberedTeamID = details.TeamID();
    Refresh();
}

void CTeamsDialog::OnNew() { RunTeamDetails(-1); }

void CTeamsDialog::OnEdit()
{
    const int row = MarkedRow();
    if (row >= 0) RunTeamDetails(m_teamIDs[size_t(row)]);
}

void CTeamsDialog::OnDisband()
{
    const int row = MarkedRow();
    if (row < 0) return;
    const QString name = ui->teamList->topLevelItem(row)->text(0);
    if (!ConfirmDestructive(Format("Are you sure you want to disband the team \"%s\"?", name),
                            QStringLiteral("Confirm Team Disband")))
        return;
    DisbandTeam(m_teamIDs[size_t(row)]);
    Refresh();
}

std::vector<QStringList> CTeamsDialog::ShownRows() const
{
    std::vector<QStringList> rows;
    for (int r = 0; r < ui->teamList->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* item = ui->teamList->topLevelItem(r);
        QStringList texts;
        for (int c = 0; c < ui->teamList->columnCount(); ++c) texts << item->text(c);
        rows.push_back(texts);
    }
    return rows;
}

void CTeamsDialog::OnPrint()
{
    const std::vector<QStringList> rows = ShownRows();
    const int playerColumns = ui->teamList->columnCount() - 1;
    PrintReportText(CurrentTournament.name, QStringLiteral("Team Rosters"), TeamRostersText(CurrentTournament.name, playerColumns, rows),
                    QStringLiteral("Rosters Printed!"));
}

void CTeamsDialog::OnRefreshLists()
{
    const std::vector<int> selected = SelectedRowIDs(ui->teamList, m_teamIDs);
    Refresh();
    if (!selected.empty()) SelectRowIDs(ui->teamList, m_teamIDs, selected);
}

void CTeamsDialog::OnOK() { EndDialog(QDialog::Accepted); }
