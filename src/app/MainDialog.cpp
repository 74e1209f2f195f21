#include "app/MainDialog.h"

#include "ui_MainDialog.h"

#include "app/ExampleTournament.h"
#include "app/TournamentProgress.h"
#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialog.h"
#include "players/PlayerImport.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "report/ReportOutput.h"
#include "scores/ScoresDialog.h"
#include "scoring/ScoringSystem.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TournamentDetailsDialog.h"
#include "ui/Controls.h"
#include "ui/Messages.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"
#include "venue/VenueDisplayDialog.h"
#include "venue/VenueService.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QUrl>

CMainDialog::CMainDialog(QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CMainDialog>()), m_venue(std::make_unique<CVenueService>())
{
    ui->setupUi(this);
    // A shared database is named in the title; the file is the default.
    setWindowTitle(CDatabase::Kind() == StoreKind::Server
                       ? Format("%s - %s", kWindowTitle, CDatabase::Store().Description())
                       : kWindowTitle);
    CreateMenus();
    ui->descriptionEdit->installEventFilter(this);
    // Tab passes the description by: from the frame it goes on to the buttons.
    ui->descriptionEdit->setFocusPolicy(Qt::ClickFocus);
    ui->descriptionEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The line saying where the venue display runs keeps its room while the
    // display is stopped.
    KeepRoomWhenHidden(ui->venueLabel);
    ShowVenueState();
    ShowStore();

    // Notifications and their handlers.
    On(m_newAction, &QAction::triggered, &CMainDialog::OnNewTournament);
    On(m_openAction, &QAction::triggered, &CMainDialog::OnOpenTournament);
    On(m_editAction, &QAction::triggered, &CMainDialog::OnEditTournament);
    On(m_deleteAction, &QAction::triggered, &CMainDialog::OnDeleteTournament);
    On(m_exampleAction, &QAction::triggered, &CMainDialog::OnExampleTournament);
    On(m_venueAction, &QAction::triggered, &CMainDialog::OnVenueDisplay);
    On(m_viewAction, &QAction::triggered, &CMainDialog::OnViewPlayers);
    On(m_importAction, &QAction::triggered, &CMainDialog::OnImportPlayers);
    On(m_groupsAction, &QAction::triggered, &CMainDialog::OnGroups);
    On(m_preRegAction, &QAction::triggered, &CMainDialog::OnPreRegistration);
    On(m_selectPrinterAction, &QAction::triggered, &CMainDialog::OnSelectPrinter);
    On(m_printToFileAction, &QAction::triggered, &CMainDialog::OnPrintToFile);
    On(ui->heatsButton, &QPushButton::clicked, &CMainDialog::OnHeats);
    On(ui->teamsButton, &QPushButton::clicked, &CMainDialog::OnTeams);
    On(ui->scoresButton, &QPushButton::clicked, &CMainDialog::OnScores);
    On(ui->venueLabel, &QLabel::linkActivated, &CMainDialog::OnVenueLinkActivated);
    On(m_venue.get(), &CVenueService::StateChanged, &CMainDialog::ShowVenueState);
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::CreateMenus()
{
    m_menuBar = new QMenuBar(this);
    layout()->setMenuBar(m_menuBar);
    auto add = [this](QMenu* menu, const QString& text, const char* objectName) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(objectName));
        return action;
    };
    QMenu* tournament = m_menuBar->addMenu(QStringLiteral("&Tournament"));
    tournament->setToolTipsVisible(true);  // an unavailable item says why
    m_newAction = add(tournament, QStringLiteral("&New"), "actionNew");
    m_openAction = add(tournament, QStringLiteral("&Open"), "actionOpen");
    m_editAction = add(tournament, QStringLiteral("&Edit"), "actionEdit");
    m_deleteAction = add(tournament, QStringLiteral("&Delete"), "actionDelete");
    m_exampleAction = add(tournament, QStringLiteral("E&xample Tournament..."), "actionExampleTournament");
    m_exampleAction->setToolTip(QStringLiteral("Creates a tournament with three heats played, to look around in"));
    tournament->addSeparator();
    m_venueAction = add(tournament, QStringLiteral("&Venue Display..."), "actionVenueDisplay");
    QMenu* players = m_menuBar->addMenu(QStringLiteral("&Players"));
    players->setToolTipsVisible(true);
    m_viewAction = add(players, QStringLiteral("&View"), "actionViewPlayers");
    m_groupsAction = add(players, QStringLiteral("&Groups"), "actionGroups");
    m_preRegAction = add(players, QStringLiteral("&PreReg"), "actionPreReg");
    m_importAction = add(players, QStringLiteral("&Import"), "actionImportPlayers");
    QMenu* options = m_menuBar->addMenu(QStringLiteral("&Options"));
    m_selectPrinterAction = add(options, QStringLiteral("Select &Printer"), "actionSelectPrinter");
    m_printToFileAction = add(options, QStringLiteral("Print to &File"), "actionPrintToFile");
    m_printToFileAction->setCheckable(true);
}

void CMainDialog::OnInitDialog()
{
    setWindowIcon(QIcon(QStringLiteral(":/quorvane.png")));
    TakeDefaultPrinter(m_printToFileAction);
    m_tournamentID = -1;
    CurrentTournament.systemID = -1;
    CurrentTournament.id = -1;
    ScoringSystem.id = -1;
    RefreshTournamentState();
}

void CMainDialog::RefreshTournamentState()
{
    EnableWithReason(m_openAction, QString());
    if (m_tournamentID == -1) {
        m_description.clear();
        if (!RecordExists(Sql("Select * from Tournament"))) {
            m_title = QStringLiteral("(Select 'New' from the Tournament menu)");
            EnableWithReason(m_openAction, OpenCommandReason(false));
        } else {
            m_title = QStringLiteral("(Select 'New' or 'Open' from the Tournament menu)");
        }
        ui->groupBox->setFocus();
    } else {
        LoadTournament(m_tournamentID);
        m_title = CurrentTournament.name;
        m_description = CurrentTournament.description;
    }
    const bool open = m_tournamentID != -1;
    EnableWithReason(m_preRegAction, PreRegCommandReason(open, CurrentTournament.preregistration));
    EnableWithReason(m_editAction, OpenTournamentReason(open));
    EnableWithReason(m_deleteAction, OpenTournamentReason(open));
    EnableWithReason(m_venueAction, OpenTournamentReason(open));
    m_venue->ShowTournament(m_tournamentID);
    EnableWithReason(ui->heatsButton, OpenTournamentReason(open));
    EnableWithReason(ui->teamsButton, TeamsCommandReason(open, CurrentTournament.teamSize));
    const bool gameFinished =
        RecordExists(Sql("select * from Game, Heat where Game.heatID = Heat.id and Heat.tournamentID = %d and "
                         "Game.gameStat = %d",
                         CurrentTournament.id, 2));
    EnableWithReason(ui->scoresButton, ScoresCommandReason(CurrentTournament.id != -1, gameFinished));
    ShowTexts();
    ShowNextStep();
}

void CMainDialog::ShowNextStep()
{
    // Shown in the description's place while it is empty.
    const QString hint = NextStepHint(ReadTournamentProgress(m_tournamentID));
    ui->descriptionEdit->setPlaceholderText(hint);
    ui->descriptionEdit->setAccessibleDescription(m_description.isEmpty() ? hint : QString());
}

void CMainDialog::ShowTexts()
{
    // A long stored name elides (the whole of it in the tooltip) and a long
    // description wraps, so the window always fits the screen.
    ShowFittedTitle(ui->groupBox, m_title, ScreenTextWidth(this));
    ui->descriptionEdit->setPlainText(m_description);
    QTextCursor cursor(ui->descriptionEdit->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
}

void CMainDialog::OnNewTournament()
{
    const int previousSystemID = ScoringSystem.id;
    ScoringSystem.id = -1;
    CTournamentDetailsDialog details(-1, QString(), QString(), this);
    details.DoModal();
    if (details.EditedID() >= 0) {
        m_tournamentID = details.EditedID();
        RefreshTournamentState();
        return;
    }
    // Nothing was created. A refused save has left its values in the open
    // tournament's record and the dialog may have loaded other scoring
    // systems: put back the stored settings and the system loaded before.
    if (m_tournamentID != -1) LoadTournament(m_tournamentID);
    if (previousSystemID == -1)
        ScoringSystem.id = -1;
    else
        LoadScoringSystem(previousSystemID);
}

void CMainDialog::OnOpenTournament()
{
    COpenTournamentDialog open(m_tournamentID, this);
    open.DoModal();
    m_tournamentID = open.ChosenID();
    RefreshTournamentState();
}

void CMainDialog::OnEditTournament()
{
    // The form offers the loaded system as the tournament's own and saves
    // whatever it offers. Scoring the standings may have left a heat's or a
    // game's system loaded, so the tournament's own is loaded first.
    if (ScoringSystem.id != CurrentTournament.systemID) LoadScoringSystem(CurrentTournament.systemID);
    CTournamentDetailsDialog details(m_tournamentID, m_title, m_description, this);
    details.DoModal();
    RefreshTournamentState();
}

void CMainDialog::OnDeleteTournament()
{
    if (!ConfirmDestructive(Format("Really delete the tournament '%s'?\n\nThis cannot be undone!", m_title),
                            QStringLiteral("Confirm Tournament Delete")))
        return;
    RunAtomically([&] {
        for (CRecordset games(Sql("select Game.id from Game, Heat where Heat.tournamentID = %d and Game.heatID = "
                                  "Heat.id",
                                  m_tournamentID));
             !games.IsEOF(); games.MoveNext()) {
            ExecuteSQL(Sql("delete from GamePlayer where gameID = %d", games.GetInt(0)));
            ExecuteSQL(Sql("delete from Game where id = %d", games.GetInt(0)));
        }
        for (CRecordset heats(Sql("select id from Heat where tournamentID = %d", m_tournamentID)); !heats.IsEOF();
             heats.MoveNext()) {
            ExecuteSQL(Sql("delete from HeatPlayer where heatID = %d", heats.GetInt(0)));
            ExecuteSQL(Sql("delete from Heat where id = %d", heats.GetInt(0)));
        }
        // The teams' memberships go with the teams, so no TeamPlayer row is left
        // pointing at a team that no longer exists.
        ExecuteSQL(Sql("delete from TeamPlayer where teamID in (select id from TournamentTeam where tournamentID = %d)",
                       m_tournamentID));
        ExecuteSQL(Sql("delete from TournamentTeam where tournamentID = %d", m_tournamentID));
        ExecuteSQL(Sql("delete from TournamentPlayer where tournamentID = %d", m_tournamentID));
        ExecuteSQL(Sql("delete from Tournament where id = %d", m_tournamentID));
    });
    m_tournamentID = -1;
    CurrentTournament.id = -1;
    RefreshTournamentState();
}

void CMainDialog::OnExampleTournament()
{
    const int created = OfferExampleTournament();
    if (created < 0) return;
    m_tournamentID = created;
    RefreshTournamentState();
}

void CMainDialog::ShowStore()
{
    // Where the director finds his file to copy it; the shared database is
    // named in the title too.
    const QString where = CDatabase::Kind() == StoreKind::Server
                              ? CDatabase::Store().Description()
                              : QDir::toNativeSeparators(QDir::current().absoluteFilePath(kDatabaseFileName));
    ui->storeLabel->setText(Format("Tournaments are kept in %s", where));
}

void CMainDialog::OnVenueDisplay()
{
    CVenueDisplayDialog venue(*m_venue, m_tournamentID, this);
    venue.DoModal();
}

void CMainDialog::ShowVenueState()
{
    const VenueServer* server = m_venue->Running();
    if (server) {
        const QString address = server->MainAddress().toHtmlEscaped();
        ui->venueLabel->setText(Format("Venue display running at <a href=\"%s\">%s</a>", address, address));
        ui->venueLabel->setAccessibleName(Format("Venue display running at %s", server->MainAddress()));
    } else {
        ui->venueLabel->clear();
        ui->venueLabel->setAccessibleName(QString());
    }
    ui->venueLabel->setVisible(server != nullptr);
}

void CMainDialog::OnVenueLinkActivated(const QString& link)
{
    if (!Services().OpenUrl(QUrl(link)))
        ShowMessage(Format("No browser could be started to open %s.", link), kAppName, MsgIcon::Exclamation);
}

void CMainDialog::OnViewPlayers()
{
    CPlayersDialog players(this);
    players.DoModal();
}

void CMainDialog::OnImportPlayers() { ImportPlayersFromFile(this); }

void CMainDialog::OnGroups()
{
    CGroupsDialog groups(-1, -1, this);
    groups.DoModal();
}

void CMainDialog::OnPreRegistration()
{
    CPreRegistrationDialog preRegistration(-1, this);
    preRegistration.DoModal();
}

void CMainDialog::OnSelectPrinter() { SelectPrinter(this, m_printToFileAction); }

void CMainDialog::OnPrintToFile() { PrintToFile(m_printToFileAction); }

void CMainDialog::OnHeats()
{
    CHeatsDialog heats(this);
    heats.DoModal();
    RefreshTournamentState();
}

void CMainDialog::OnTeams()
{
    CTeamsDialog teams(m_tournamentID, m_title, this);
    teams.DoModal();
}

void CMainDialog::OnScores()
{
    CScoresDialog scores(m_title, this);
    scores.DoModal();
}

bool CMainDialog::ConfirmQuit()
{
    return ConfirmDestructive(QStringLiteral("Really Quit the Quorvane Tournament Manager?"),
                              QStringLiteral("Confirm Quit"), MsgIcon::Stop);
}

void CMainDialog::closeEvent(QCloseEvent* event)
{
    if (!ConfirmQuit()) {
        event->ignore();
        return;
    }
    CDialog::closeEvent(event);
}

void CMainDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape asks like the close box: a single key never ends the program.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (ConfirmQuit()) EndDialog(QDialog::Rejected);
        return;
    }
    CDialog::keyPressEvent(event);
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The description can never be edited or selected: focus passes on to
    // the frame around it.
    if (watched == ui->descriptionEdit && event->type() == QEvent::FocusIn) {
        ui->groupBox->setFocus();
        return true;
    }
    return CDialog::eventFilter(watched, event);
}
