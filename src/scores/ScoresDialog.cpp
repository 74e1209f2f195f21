#include "db/Recordset.h"
#include "scores/ScoresDialog.h"

#include "ui_ScoresDialog.h"

#include "db/Format.h"
#include "report/ReportOutput.h"
#include "scores/Awards.h"
#include "scores/AwardsDialog.h"
#include "scores/ScoreLists.h"
#include "scores/StandingsPage.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/RowSelection.h"
#include "ui/ScreenFit.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QHeaderView>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

constexpr int kNameColumn = 1;

const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

struct Column {
    QString heading;
    Qt::Alignment alignment;
};

void SetColumns(QTreeWidget* list, const std::vector<Column>& columns)
{
    QStringList headings;
    for (const Column& c : columns) headings << c.heading;
    list->setColumnCount(int(columns.size()));
    list->setHeaderLabels(headings);
    for (size_t c = 0; c < columns.size(); ++c) list->headerItem()->setTextAlignment(int(c), columns[c].alignment);
    list->header()->setStretchLastSection(false);
}

// A list as the dialog shows it: its headings and every row's cells.
StandingsPageTable ShownTable(const QTreeWidget* list)
{
    StandingsPageTable table;
    for (int c = 0; c < list->columnCount(); ++c) table.headings << list->headerItem()->text(c);
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(r)->text(c);
        table.rows.push_back(cells);
    }
    return table;
}

// The id of the player or team of each row of a listing, in list order.
template <class Entry>
std::vector<int> RowIDs(const std::vector<ListingRow>& rows, const std::vector<Entry>& entries, int Entry::*id)
{
    std::vector<int> ids;
    for (const ListingRow& row : rows) ids.push_back(entries[size_t(row.index)].*id);
    return ids;
}

}  // namespace

QString PlayerScoresReason(bool playersListed)
{
    return playersListed ? QString() : QStringLiteral("No player is listed");
}

QString TeamScoresReason(int teamSize, bool teamsListed)
{
    if (teamSize == 0) return QStringLiteral("This is not a team tournament");
    return teamsListed ? QString() : QStringLiteral("No team is listed");
}

CScoresDialog::CScoresDialog(const QString& title, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CScoresDialog>()), m_title(title)
{
    ui->setupUi(this);
    ShowFittedTitle(ui->groupBox, title, ScreenTextWidth(this));
    // Every number whole; the names take the room that is left.
    LayOutListColumns(ui->playerList, {kNameColumn});
    LayOutListColumns(ui->teamList, {kNameColumn});
    ui->playerList->header()->setAccessibleName(ui->playerList->accessibleName());
    ui->teamList->header()->setAccessibleName(ui->teamList->accessibleName());

    // Notifications and their handlers.
    On(ui->qualifiedCheck, &QCheckBox::toggled, &CScoresDialog::OnQualifiedClicked);
    On(ui->printPlayersButton, &QPushButton::clicked, &CScoresDialog::OnPrintPlayerScores);
    On(ui->exportButton, &QPushButton::clicked, &CScoresDialog::OnExportPlayerScores);
    On(ui->webPageButton, &QPushButton::clicked, &CScoresDialog::OnExportWebPage);
    On(ui->printTeamsButton, &QPushButton::clicked, &CScoresDialog::OnPrintTeamScores);
    On(ui->awardsButton, &QPushButton::clicked, &CScoresDialog::OnAwards);
    OnRefresh(ui->refreshButton, &CScoresDialog::OnRefreshLists);
    On(ui->okButton, &QPushButton::clicked, &CScoresDialog::OnOK);
}

CScoresDialog::~CScoresDialog() = default;

void CScoresDialog::OnInitDialog()
{
    SetCheckedQuietly(ui->qualifiedCheck, true);
    ui->qualifiedCheck->setHidden(CurrentTournament.minHeats <= 1);
    InsertColumns();
    // A tournament without teams has no team list.
    ui->teamList->setHidden(CurrentTournament.teamSize == 0);
    RefreshStandings();
    ArrangeLists();
    EnableCommands();
}

void CScoresDialog::EnableCommands()
{
    const QString noPlayers = PlayerScoresReason(!m_standings.playerRows.empty());
    for (QPushButton* b : {ui->printPlayersButton, ui->exportButton, ui->webPageButton, ui->awardsButton})
        EnableWithReason(b, noPlayers);
    EnableWithReason(ui->printTeamsButton,
                     TeamScoresReason(CurrentTournament.teamSize, !m_standings.teamRows.empty()));
}

std::vector<int> CScoresDialog::PlayerRowIDs() const
{
    return RowIDs(m_standings.playerRows, m_standings.players, &PlayerStanding::playerID);
}

std::vector<int> CScoresDialog::TeamRowIDs() const
{
    return RowIDs(m_standings.teamRows, m_standings.teams, &TeamStanding::teamID);
}

void CScoresDialog::OnRefreshLists()
{
    const std::vector<int> players = SelectedRowIDs(ui->playerList, PlayerRowIDs());
    const std::vector<int> teams = SelectedRowIDs(ui->teamList, TeamRowIDs());
    RefreshStandings();
    EnableCommands();
    SelectRowIDs(ui->playerList, PlayerRowIDs(), players);
    SelectRowIDs(ui->teamList, TeamRowIDs(), teams);
}

void CScoresDialog::InsertColumns()
{
    const int numHeats = std::max(CurrentTournament.numHeats, 0);
    std::vector<Column> players{{QString(), kRight}, {QStringLiteral("Player Name"), kLeft}};
    for (int h = 1; h <= numHeats; ++h) players.push_back({Format("Heat %d", h), kRight});
    players.push_back({QStringLiteral("Score"), kRight});
    SetColumns(ui->playerList, players);
    SetColumns(ui->teamList, {{QString(), kRight}, {QStringLiteral("Team Name"), kLeft}, {QStringLiteral("Score"), kRight}});
}

void CScoresDialog::ArrangeLists()
{
    // Side by side when the screen has the room for both lists whole, else
    // the teams under the players, so that the players' numbers stay whole.
    const QMargins margins = ui->groupLayout->contentsMargins() + layout()->contentsMargins() + WindowFrameMargins(this);
    const int players = WantedContentSize(ui->playerList).width();
    const int teams = WantedContentSize(ui->teamList).width();
    const int sideBySide = players + teams + ui->groupLayout->spacing() + margins.left() + margins.right();
    if (ui->teamList->isHidden() || sideBySide <= AvailableScreenArea(this).width()) {
        // Each list its share of the width as it needs it.
        ui->groupLayout->setDirection(QBoxLayout::LeftToRight);
        ui->groupLayout->setStretch(0, players);
        ui->groupLayout->setStretch(1, teams);
    } else {
        ui->groupLayout->setDirection(QBoxLayout::TopToBottom);
        ui->groupLayout->setStretch(0, 3);
        ui->groupLayout->setStretch(1, 1);
    }
}

void CScoresDialog::FillList(QTreeWidget* list, const std::vector<ListingRow>& rows)
{
    list->clear();
    for (const ListingRow& row : rows) {
        auto* item = new QTreeWidgetItem(list, row.cells);
        for (int c = 0; c < list->columnCount(); ++c)
            item->setTextAlignment(c, Qt::Alignment::fromInt(list->headerItem()->textAlignment(c)));
    }
}

void CScoresDialog::RefreshStandings()
{
    // Computed first: a computation that fails leaves the lists as they were.
    Standings standings = ComputeStandings(ui->qualifiedCheck->isChecked());
    ui->playerList->clear();
    ui->teamList->clear();
    m_standings = std::move(standings);
    FillList(ui->playerList, m_standings.playerRows);
    FillList(ui->teamList, m_standings.teamRows);
}

void CScoresDialog::OnQualifiedClicked()
{
    try {
        RefreshStandings();
    } catch (...) {
        // The box goes back to the state the lists were computed with.
        SetCheckedQuietly(ui->qualifiedCheck, !ui->qualifiedCheck->isChecked());
        throw;
    }
}

void CScoresDialog::OnPrintPlayerScores()
{
    PrintReportText(CurrentTournament.name, QStringLiteral("Player Scores"), PlayerScoresText(CurrentTournament.name, m_standings.playerRows),
                    QStringLiteral("Scores Printed!"));
}

void CScoresDialog::OnPrintTeamScores()
{
    PrintReportText(CurrentTournament.name, QStringLiteral("Team Scores"), TeamScoresText(CurrentTournament.name, m_standings.teamRows),
                    QStringLiteral("Scores Printed!"));
}

void CScoresDialog::OnExportPlayerScores()
{
    const QString fileName = ExportFileName(m_title);
    if (!AskYesNo(Format("Player scores will be exported to a file named %s.\nThis file can then be imported into any "
                         "spreadsheet or other\napplication that reads the comma-separated values.\n\nAre you ready to "
                         "perform the export?",
                         fileName),
                  QStringLiteral("Confirm Export")))
        return;
    // The file is replaced only once the whole export is written; a failure
    // leaves an earlier export as it was and says why.
    const QString reason = SaveWholeFile(fileName, PlayerScoresCsv(m_standings.playerRows).toUtf8());
    if (!reason.isEmpty()) {
        ShowMessage(QStringLiteral("Export failed!  Cannot write to export file!\nFile may be in use?\n\n") + reason,
                    QStringLiteral("Export Failure"), MsgIcon::Exclamation);
        return;
    }
    ShowMessage(QStringLiteral("File export complete!"), QStringLiteral("Export complete"), MsgIcon::None);
}

AwardList CScoresDialog::CurrentAwards() const
{
    // The labels follow the kind of the tournament's own scoring system, not
    // of whichever heat's or game's system the standings loaded last.
    const int kind = QueryInt(Sql("select winDrawScoring from System where id = %d", CurrentTournament.systemID),
                              ScoringSystem.winDrawScoring);
    return DrawUpAwards(m_standings, CurrentTournament, kind);
}

void CScoresDialog::OnAwards()
{
    CAwardsDialog dialog(m_title, AwardText(CurrentAwards()), this);
    dialog.DoModal();
}

void CScoresDialog::OnExportWebPage()
{
    StandingsPageContent page;
    page.tournamentName = m_title;
    page.madeAtSeconds = Services().CurrentTimeSeconds();
    page.players = ShownTable(ui->playerList);
    if (CurrentTournament.teamSize != 0 && ui->teamList->topLevelItemCount() > 0) page.teams = ShownTable(ui->teamList);
    page.awards = CurrentAwards();

    const QString path = QDir::current().absoluteFilePath(StandingsPageFileName(m_title));
    if (const QString reason = SaveWholeFile(path, StandingsPageHtml(page).toUtf8()); !reason.isEmpty()) {
        ShowMessage(Format("The web page could not be written to \"%s\":\n%s", QDir::toNativeSeparators(path), reason),
                    QStringLiteral("Export Failure"), MsgIcon::Stop);
        return;
    }
    if (!AskYesNo(Format("The standings were written to the web page\n%s\n\nOpen it in the web browser?",
                         QDir::toNativeSeparators(path)),
                  QStringLiteral("Web Page Exported")))
        return;
    if (!Services().OpenUrl(QUrl::fromLocalFile(path)))
        ShowMessage(Format("No web browser could be started to show \"%s\".", QDir::toNativeSeparators(path)),
                    QStringLiteral("Browser Not Available"), MsgIcon::Exclamation);
}

void CScoresDialog::OnOK() { EndDialog(QDialog::Accepted); }
