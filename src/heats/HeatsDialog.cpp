#include "heats/HeatsDialog.h"

#include "ui_HeatsDialog.h"

#include "conflicts/ConflictModel.h"
#include "db/Database.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "games/GamesDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatActionReasons.h"
#include "heats/HeatRecords.h"
#include "heats/Seeding.h"
#include "heats/SeedingPrintout.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "scoring/SystemChoices.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/ListColumns.h"
#include "ui/RowSelection.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QSignalBlocker>

CHeatsDialog::CHeatsDialog(QWidget* parent) : CDialog(parent), ui(std::make_unique<Ui::CHeatsDialog>())
{
    ui->setupUi(this);
    CreateMenus();
    // The names take the room the lists have; game, power and mark show whole.
    LayOutListColumns(ui->unregisteredList, {0});
    LayOutListColumns(ui->registeredList, {0});
    LayOutListColumns(ui->seededList, {kSeatedName});
    QHeaderView* seededHeader = ui->seededList->header();
    seededHeader->setSectionsClickable(true);

    // Notifications and their handlers.
    On(ui->heatTabs, &QTabBar::currentChanged, &CHeatsDialog::OnTabChanged);
    On(seededHeader, &QHeaderView::sectionClicked, &CHeatsDialog::OnSeededColumnClicked);
    On(ui->unregisteredList, &QTreeWidget::itemSelectionChanged, &CHeatsDialog::OnUnregisteredSelectionChanged);
    On(ui->unregisteredList, &QTreeWidget::itemDoubleClicked, &CHeatsDialog::OnRegister);
    On(ui->registeredList, &QTreeWidget::itemSelectionChanged, &CHeatsDialog::OnRegisteredSelectionChanged);
    On(ui->seededList, &QTreeWidget::itemSelectionChanged, &CHeatsDialog::OnSeededSelectionChanged);
    On(ui->systemCombo, &QComboBox::currentIndexChanged, &CHeatsDialog::OnSystemSelected);
    On(ui->viewSystemButton, &QPushButton::clicked, &CHeatsDialog::OnViewSystem);
    On(ui->registerButton, &QPushButton::clicked, &CHeatsDialog::OnRegister);
    On(ui->sitOutButton, &QPushButton::clicked, &CHeatsDialog::OnSitOut);
    On(ui->registerAllButton, &QPushButton::clicked, &CHeatsDialog::OnRegisterAll);
    On(ui->unregisterAllButton, &QPushButton::clicked, &CHeatsDialog::OnUnregisterAll);
    On(ui->seedAllButton, &QPushButton::clicked, &CHeatsDialog::OnSeedAll);
    On(ui->seedSomeButton, &QPushButton::clicked, &CHeatsDialog::OnSeedSome);
    On(ui->unseedButton, &QPushButton::clicked, &CHeatsDialog::OnUnseed);
    On(ui->replaceButton, &QPushButton::clicked, &CHeatsDialog::OnReplace);
    On(ui->swapButton, &QPushButton::clicked, &CHeatsDialog::OnSwap);
    On(ui->startGamesButton, &QPushButton::clicked, &CHeatsDialog::OnStartGames);
    On(ui->viewGamesButton, &QPushButton::clicked, &CHeatsDialog::OnViewGames);
    On(ui->printSeedingButton, &QPushButton::clicked, &CHeatsDialog::OnPrintSeeding);
    On(ui->abandonButton, &QPushButton::clicked, &CHeatsDialog::AbandonHeat);
    On(ui->okButton, &QPushButton::clicked, &CHeatsDialog::OnOK);
    On(m_newHeatAction, &QAction::triggered, &CHeatsDialog::CreateHeat);
    On(m_viewPlayersAction, &QAction::triggered, &CHeatsDialog::OnViewPlayers);
    On(m_groupsAction, &QAction::triggered, &CHeatsDialog::OnGroups);
    On(m_preRegAction, &QAction::triggered, &CHeatsDialog::OnPreRegistration);
    OnRefresh(ui->refreshButton, &CHeatsDialog::OnRefreshLists);
}

CHeatsDialog::~CHeatsDialog() = default;

void CHeatsDialog::CreateMenus()
{
    m_menuBar = new QMenuBar(this);
    layout()->setMenuBar(m_menuBar);
    QMenu* heat = m_menuBar->addMenu(QStringLiteral("&Heat"));
    heat->setToolTipsVisible(true);  // an unavailable item says why
    m_newHeatAction = heat->addAction(QStringLiteral("&New"));
    QMenu* players = m_menuBar->addMenu(QStringLiteral("&Players"));
    m_viewPlayersAction = players->addAction(QStringLiteral("&View"));
    m_groupsAction = players->addAction(QStringLiteral("&Groups"));
    m_preRegAction = players->addAction(QStringLiteral("&PreReg"));
}

void CHeatsDialog::OnInitDialog()
{
    ShowTournamentName();
    m_preRegAction->setEnabled(CurrentTournament.preregistration != 0);
    m_seededSortColumn = kSeatedGame;
    RefreshHeatTabs();
    if (m_heatCount <= 0) {
        // No heat existed and none was created.
        EndDialog(QDialog::Accepted);
        return;
    }
    RefreshHeatLists();
    SetPowerAssignmentFromTournament();
}

int CHeatsDialog::SelectedHeatNum() const { return ui->heatTabs->currentIndex() + 1; }

void CHeatsDialog::SetPowerAssignmentFromTournament()
{
    ui->assignPowersCheck->setChecked(CurrentTournament.assignPowers != 0);
}

std::vector<int> CHeatsDialog::SelectedRows(const QTreeWidget* list)
{
    std::vector<int> rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->isSelected()) rows.push_back(row);
    return rows;
}

std::vector<int> CHeatsDialog::SelectedIDs(const QTreeWidget* list, const std::vector<int>& ids)
{
    std::vector<int> selected;
    for (int row : SelectedRows(list)) selected.push_back(ids[size_t(row)]);
    return selected;
}

void CHeatsDialog::RefreshHeatTabs()
{
    if (!ShowHeatTabs(-1)) {
        m_heatCount = 0;
        CreateHeat();
        return;
    }
    for (QPushButton* b : {ui->viewGamesButton, ui->registerButton, ui->sitOutButton, ui->seedAllButton,
                           ui->seedSomeButton, ui->swapButton, ui->replaceButton, ui->unseedButton, ui->abandonButton})
        b->setEnabled(false);
    ui->rePreRegButton->hide();
    ui->okButton->setFocus();
}

bool CHeatsDialog::ShowHeatTabs(int heatID)
{
    const QSignalBlocker quiet(ui->heatTabs);
    while (ui->heatTabs->count() > 0) ui->heatTabs->removeTab(0);
    m_tabHeatIDs.clear();
    const std::vector<TournamentHeat> heats = TournamentHeats(CurrentTournament.id);
    if (heats.empty()) return false;
    int shown = int(heats.size()) - 1;
    for (const TournamentHeat& heat : heats) {
        if (heat.id == heatID) shown = int(m_tabHeatIDs.size());
        m_tabHeatIDs.push_back(heat.id);
        m_heatCount = heat.heatNum;
        ui->heatTabs->addTab(Format("Heat %d", heat.heatNum));
    }
    ui->heatTabs->setCurrentIndex(shown);
    m_heatID = m_tabHeatIDs[size_t(shown)];
    EnableWithReason(m_newHeatAction, NewHeatReason(m_heatCount, CurrentTournament.numHeats));
    return true;
}

void CHeatsDialog::RefreshHeatLists()
{
    m_heatSystemID = HeatSystemID(m_heatID);
    FillSystemCombo(ui->systemCombo, ScoringSystemChoices(CurrentTournament.systemID), m_heatSystemID);
    if (!g_conflictModel) g_conflictModel = BuildConflictModel(SelectedHeatNum());

    const QSignalBlocker quietSeeded(ui->seededList);
    const QSignalBlocker quietRegistered(ui->registeredList);
    const QSignalBlocker quietUnregistered(ui->unregisteredList);

    ui->seededList->clear();
    m_seededIDs.clear();
    bool gameUnstarted = false;
    bool gamePlayed = false;  // a heat whose play has begun stays
    for (const SeatedPlayer& seat : SeatedPlayers(m_heatID, m_seededSortColumn)) {
        m_seededIDs.push_back(seat.playerID);
        if (seat.gameStat == kUnstarted)
            gameUnstarted = true;
        else
            gamePlayed = true;
        auto* item = new QTreeWidgetItem(ui->seededList, {seat.name, Format("%d", seat.gameNum),
                                                          PowerName(seat.powerID), StatusMark(seat.gameStat)});
        item->setTextAlignment(kSeatedGame, Qt::AlignCenter);
        item->setTextAlignment(kSeatedStatus, Qt::AlignCenter);
    }
    const int seated = int(m_seededIDs.size());
    EnableWithReason(ui->startGamesButton, UnstartedGameReason(seated, gameUnstarted));
    EnableWithReason(ui->unseedButton, UnstartedGameReason(seated, gameUnstarted));
    EnableWithReason(ui->abandonButton, AbandonHeatReason(gamePlayed));
    EnableWithReason(ui->viewGamesButton, SeatedListReason(seated));
    EnableWithReason(ui->printSeedingButton, SeatedListReason(seated));
    SetLabelText(ui->seededCountLabel, SeatedCountText(seated));

    ui->registeredList->clear();
    m_registeredIDs.clear();
    for (const PlayerEntry& player : RegisteredPlayers(m_heatID)) {
        new QTreeWidgetItem(ui->registeredList, {player.name});
        m_registeredIDs.push_back(player.id);
    }
    const int registered = int(m_registeredIDs.size());
    SetLabelText(ui->registeredCountLabel, ListedCountText(registered));
    EnableWithReason(ui->unregisterAllButton, UnregisterAllReason(registered));
    EnableWithReason(ui->seedAllButton, SeedAllReason(registered));

    ui->unregisteredList->clear();
    m_unregisteredIDs.clear();
    for (const PlayerEntry& player : PlayersOutside(m_registeredIDs, m_seededIDs)) {
        new QTreeWidgetItem(ui->unregisteredList, {player.name});
        m_unregisteredIDs.push_back(player.id);
    }
    const int unregistered = int(m_unregisteredIDs.size());
    SetLabelText(ui->unregisteredCountLabel, ListedCountText(unregistered));
    EnableWithReason(ui->registerAllButton, RegisterAllReason(unregistered));

    // The lists were filled afresh: nothing is selected.
    EnableSelectionButtons();
    ShowTournamentName();
}

void CHeatsDialog::ShowTournamentName()
{
    ShowFittedTitle(ui->listsGroup, CurrentTournament.name, ScreenTextWidth(this));
}

void CHeatsDialog::EnableSelectionButtons()
{
    const size_t unregistered = SelectedRows(ui->unregisteredList).size();
    const size_t registered = SelectedRows(ui->registeredList).size();
    const size_t seated = SelectedRows(ui->seededList).size();
    EnableWithReason(ui->registerButton, RegisterReason(int(unregistered)));
    EnableWithReason(ui->sitOutButton, SitOutReason(int(registered)));
    EnableWithReason(ui->seedSomeButton, SeedSomeReason(int(registered)));
    EnableWithReason(ui->replaceButton, ReplaceReason(int(registered), int(seated)));
    EnableWithReason(ui->swapButton, SwapReason(int(seated), int(registered)));
}

void CHeatsDialog::OnTabChanged(int index)
{
    if (index < 0 || size_t(index) >= m_tabHeatIDs.size()) return;
    m_heatID = m_tabHeatIDs[size_t(index)];
    g_conflictModel.reset();
    RefreshHeatLists();
    SetPowerAssignmentFromTournament();
}

void CHeatsDialog::OnSeededColumnClicked(int column)
{
    m_seededSortColumn = column;
    RefreshHeatLists();
}

void CHeatsDialog::OnUnregisteredSelectionChanged() { EnableSelectionButtons(); }

void CHeatsDialog::OnRegisteredSelectionChanged() { EnableSelectionButtons(); }

void CHeatsDialog::OnSeededSelectionChanged() { EnableSelectionButtons(); }

void CHeatsDialog::CreateHeat()
{
    const int n = m_heatCount + 1;
    const bool preregistration = CurrentTournament.preregistration != 0;
    if (m_heatCount > 0 || preregistration) {
        QString question = Format("Create Heat %d?", n);
        if (preregistration) question = Format("%s\nPre-Registration for this heat will be closed!", question);
        if (!AskYesNo(question, QStringLiteral("Confirm New Heat"))) return;
    }
    int heatID = -1;
    try {
        RunAtomically([&] {
            heatID = InsertHeat(CurrentTournament.id, n);
            if (preregistration) {
                for (int playerID : PreRegisteredForHeat(CurrentTournament.id, n)) RegisterForHeat(heatID, playerID);
            }
        });
    } catch (const HeatChangedElsewhere& refused) {
        ShowMessage(refused.Text(), refused.Title(), MsgIcon::Stop);
        return;
    }
    m_heatCount = n;
    m_heatID = heatID;
    g_conflictModel.reset();
    RefreshHeatTabs();
    RefreshHeatLists();
}

void CHeatsDialog::AbandonHeat()
{
    const int n = SelectedHeatNum();
    if (!ConfirmDestructive(Format("Abandon Heat %d???", n), QStringLiteral("Confirm Abandon Heat"))) return;
    int next = 0;
    if (!RunSeedingStep([&] { next = AbandonHeatRecords(CurrentTournament.id, m_heatID, n); })) return;
    // The model was of the heat just abandoned.
    g_conflictModel.reset();
    if (next == 1) {
        // The only heat is gone.
        EndDialog(QDialog::Accepted);
        return;
    }
    RefreshHeatTabs();
    RefreshHeatLists();
}

void CHeatsDialog::RegisterPlayer(int playerID) { RegisterForHeat(m_heatID, playerID); }

void CHeatsDialog::UnregisterPlayer(int playerID) { UnregisterFromHeat(m_heatID, playerID); }

void CHeatsDialog::ChangeRegistrations(const std::vector<int>& playerIDs, void (CHeatsDialog::*change)(int))
{
    RunAtomically([&] {
        for (int playerID : playerIDs) (this->*change)(playerID);
    });
    // The refresh enables again what the emptied selections allow.
    RefreshHeatLists();
}

void CHeatsDialog::OnRegister()
{
    ChangeRegistrations(SelectedIDs(ui->unregisteredList, m_unregisteredIDs), &CHeatsDialog::RegisterPlayer);
}

void CHeatsDialog::OnRegisterAll()
{
    if (AskYesNo(QStringLiteral("Are you sure you want to register all players for this Heat?"),
                 QStringLiteral("Confirm Mass Registration")))
        ChangeRegistrations(m_unregisteredIDs, &CHeatsDialog::RegisterPlayer);
}

void CHeatsDialog::OnSitOut()
{
    ChangeRegistrations(SelectedIDs(ui->registeredList, m_registeredIDs), &CHeatsDialog::UnregisterPlayer);
}

void CHeatsDialog::OnUnregisterAll()
{
    if (ConfirmDestructive(QStringLiteral("Are you sure you want to unregister all players for this Heat?"),
                           QStringLiteral("Confirm Mass Unregistration")))
        ChangeRegistrations(m_registeredIDs, &CHeatsDialog::UnregisterPlayer);
}

void CHeatsDialog::OnSystemSelected(int index)
{
    if (index < 0) return;
    const int chosen = ui->systemCombo->itemData(index).toInt();
    try {
        SetHeatSystem(m_heatID, chosen);
    } catch (...) {
        // The heat keeps its system: show that one again.
        const QSignalBlocker quiet(ui->systemCombo);
        ui->systemCombo->setCurrentIndex(ui->systemCombo->findData(m_heatSystemID));
        throw;
    }
    m_heatSystemID = chosen;
}

void CHeatsDialog::OnViewSystem()
{
    const int shownID = m_heatSystemID != 0 ? m_heatSystemID : CurrentTournament.systemID;
    LoadScoringSystem(shownID);
    CScoringSystemDialog system(shownID, this);
    system.DoModal();
    if (ScoringSystem.id == shownID) return;
    // A new system was saved: list the systems as they now are.
    RefreshHeatLists();
    OnSystemSelected(ui->systemCombo->currentIndex());
}

void CHeatsDialog::OnStartGames()
{
    if (!AskYesNo(Format("Start all unstarted games in Heat %d?", SelectedHeatNum()),
                  QStringLiteral("Confirm Game Start")))
        return;
    StartHeatGames(m_heatID);
    RefreshHeatLists();
}

void CHeatsDialog::OnViewGames()
{
    const int heatNum = SelectedHeatNum();
    // The Games dialog and its conflict view explain every game of the heat,
    // whatever its state.
    g_conflictModel = BuildConflictModel(-heatNum);
    CGamesDialog games(Format("%s - Heat %d", CurrentTournament.name, heatNum), m_heatID,
                       m_heatSystemID != 0 ? m_heatSystemID : CurrentTournament.systemID, this);
    games.DoModal();
    RefreshHeatLists();
}

void CHeatsDialog::OnPrintSeeding() { PrintSeeding(m_heatID, SelectedHeatNum()); }

void CHeatsDialog::OnViewPlayers()
{
    CPlayersDialog players(this);
    players.DoModal();
    RefreshHeatLists();
}

void CHeatsDialog::OnGroups()
{
    CGroupsDialog groups(-1, -1, this);
    groups.DoModal();
}

void CHeatsDialog::OnPreRegistration()
{
    CPreRegistrationDialog preRegistration(SelectedHeatNum(), this);
    preRegistration.DoModal();
}

void CHeatsDialog::OnRefreshLists()
{
    const int shownHeatID = m_heatID;
    const std::vector<int> unregistered = SelectedRowIDs(ui->unregisteredList, m_unregisteredIDs);
    const std::vector<int> registered = SelectedRowIDs(ui->registeredList, m_registeredIDs);
    const std::vector<int> seated = SelectedRowIDs(ui->seededList, m_seededIDs);
    // The model is built again from the heat as it is stored.
    g_conflictModel.reset();
    if (!ShowHeatTabs(shownHeatID)) {
        ShowMessage(QStringLiteral("The heats of this tournament have been abandoned meanwhile."),
                    QStringLiteral("No Heat Left"), MsgIcon::Exclamation);
        EndDialog(QDialog::Accepted);
        return;
    }
    RefreshHeatLists();
    if (m_heatID != shownHeatID) {
        // The heat shown was abandoned meanwhile: another one is shown, as
        // after a change of tab.
        SetPowerAssignmentFromTournament();
        return;
    }
    SelectRowIDs(ui->unregisteredList, m_unregisteredIDs, unregistered);
    SelectRowIDs(ui->registeredList, m_registeredIDs, registered);
    SelectRowIDs(ui->seededList, m_seededIDs, seated);
}

void CHeatsDialog::OnOK() { EndDialog(QDialog::Accepted); }

