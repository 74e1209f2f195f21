#include "games/GamesDialog.h"

#include "ui_GamesDialog.h"

#include "conflicts/ConflictModel.h"
#include "conflicts/InGameConflictsDialog.h"
#include "db/Format.h"
#include "scoring/ScoringSystemDialog.h"
#include "scoring/SystemChoices.h"
#include "tournament/CurrentTournament.h"
#include "ui/Controls.h"
#include "ui/TextFit.h"
#include "ui/UiServices.h"

#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

CGamesDialog::CGamesDialog(const QString& caption, int heatID, int defaultSystemID, QWidget* parent)
    : CDialog(parent),
      ui(std::make_unique<Ui::CGamesDialog>()),
      m_caption(caption),
      m_heatID(heatID),
      m_defaultSystemID(defaultSystemID)
{
    ui->setupUi(this);
    // A heat's thirty games do not fit side by side: their tabs scroll rather
    // than widen the dialog.
    ui->gameTabs->setSizePolicy(QSizePolicy::Ignored, ui->gameTabs->sizePolicy().verticalPolicy());
    // The form names the inputs of row r after the row: powerCombo1 .. 7.
    for (size_t r = 0; r < m_rowWidgets.size(); ++r) {
        const QString n = QString::number(r + 1);
        m_rowWidgets[r] = {findChild<QLabel*>("playerLabel" + n),      findChild<QComboBox*>("powerCombo" + n),
                           findChild<QComboBox*>("resultCombo" + n),   findChild<QComboBox*>("finalYearCombo" + n),
                           findChild<QComboBox*>("centersCombo" + n),  findChild<QLineEdit*>("totalSCEdit" + n),
                           findChild<QLabel*>("conflictsLabel" + n)};
    }
    // Digits only, no more than kMaxTypedTotalSC has.
    const QString totalSCDigits = QStringLiteral("\\d{0,%1}").arg(QString::number(kMaxTypedTotalSC).size());
    auto* digits = new QRegularExpressionValidator(QRegularExpression(totalSCDigits), this);
    for (RowWidgets& row : m_rowWidgets) {
        for (int power = 0; power < kPowerCount; ++power) row.power->addItem(PowerNameUpper(power));
        for (int count = 0; count <= kSupplyCentreCount; ++count) row.centers->addItem(QString::number(count));
        row.totalSC->setValidator(digits);
    }

    // Notifications and their handlers.
    On(ui->gameTabs, &QTabBar::currentChanged, &CGamesDialog::OnGameTabChanged);
    On(ui->statusCombo, &QComboBox::activated, &CGamesDialog::OnStatusChosen);
    for (RowWidgets& row : m_rowWidgets) {
        On(row.power, &QComboBox::activated, &CGamesDialog::OnRowChanged);
        On(row.result, &QComboBox::activated, &CGamesDialog::OnRowChanged);
        On(row.finalYear, &QComboBox::activated, &CGamesDialog::OnRowChanged);
        On(row.centers, &QComboBox::activated, &CGamesDialog::OnRowChanged);
        On(row.totalSC, &QLineEdit::textEdited, &CGamesDialog::OnRowChanged);
    }
    On(ui->systemCombo, &QComboBox::activated, &CGamesDialog::OnSystemChosen);
    On(ui->viewSystemButton, &QPushButton::clicked, &CGamesDialog::OnViewModify);
    On(ui->viewConflictsButton, &QPushButton::clicked, &CGamesDialog::OnViewConflicts);
    OnRefresh(ui->refreshButton, &CGamesDialog::OnRefreshLists);
}

CGamesDialog::~CGamesDialog() = default;

void CGamesDialog::OnInitDialog()
{
    ShowFittedTitle(ui->gameBox, m_caption, ScreenTextWidth(this));
    ui->lockCheck->setChecked(CurrentTournament.assignPowers != 0);
    ShowGames(0);
}

void CGamesDialog::ShowGames(int gameID)
{
    m_games = HeatGames(m_heatID);
    {
        const QSignalBlocker quiet(ui->gameTabs);
        while (ui->gameTabs->count() > 0) ui->gameTabs->removeTab(0);
        int shown = 0;
        for (const HeatGame& game : m_games) {
            if (game.id == gameID) shown = ui->gameTabs->count();
            ui->gameTabs->addTab(Format("Game %d", game.gameNum));
        }
        ui->gameTabs->setCurrentIndex(shown);
    }
    // A heat without games has nothing to enter.
    const QString noGames = m_games.empty() ? NoGamesReason() : QString();
    ui->gameBox->setEnabled(noGames.isEmpty());
    for (QWidget* w : std::initializer_list<QWidget*>{ui->statusCombo, ui->lockCheck, ui->systemCombo,
                                                      ui->viewSystemButton, ui->viewConflictsButton})
        EnableWithReason(w, noGames);
    if (m_games.empty()) {
        m_rows.clear();
        ShowRows();
        ShowConflicts();
        return;
    }
    LoadGame();
}

void CGamesDialog::OnRefreshLists()
{
    // The conflicts are those of the heat's seating as it is stored now.
    if (g_conflictModel) g_conflictModel = BuildConflictModel(-g_conflictModel->heatNum);
    ShowGames(CurrentGameID());
}

int CGamesDialog::CurrentGameID() const
{
    const int tab = ui->gameTabs->currentIndex();
    return tab >= 0 && size_t(tab) < m_games.size() ? m_games[size_t(tab)].id : 0;
}

void CGamesDialog::LoadGame()
{
    const int gameID = CurrentGameID();
    // What a change is made against is read first: a change at another desk
    // while the rest is read refuses the next change here, never slips in.
    m_shown = ReadGameSnapshot(gameID);
    m_ownSystemID = GameSystemID(gameID);
    LoadScoringSystem(m_ownSystemID != 0 ? m_ownSystemID : m_defaultSystemID);
    FillSystemCombo(ui->systemCombo, ScoringSystemChoices(m_defaultSystemID), m_ownSystemID);

    m_status = GameStatusOf(gameID);
    ui->statusCombo->setCurrentIndex(m_status);
    ui->lockCheck->setVisible(CurrentTournament.assignPowers == 1 && m_status == kUnstarted);

    m_rows = ReadGameRows(gameID, ScoringSystem);
    // The years the game's system allows, and any year already stored, so
    // that showing a game never loses what it holds.
    int lastYearIndex = LastYearIndex(ScoringSystem);
    for (const GameRow& row : m_rows) lastYearIndex = std::max(lastYearIndex, row.yearIndex);
    FillYearLists(lastYearIndex);
    ShowRows();
    ShowConflicts();
    EnableInputs();
}

void CGamesDialog::FillYearLists(int lastYearIndex)
{
    for (RowWidgets& row : m_rowWidgets) {
        if (row.finalYear->count() == lastYearIndex + 1) continue;
        row.finalYear->clear();
        for (int i = 0; i <= lastYearIndex; ++i) row.finalYear->addItem(QString::number(kFirstGameYear + i));
    }
}

void CGamesDialog::ShowRows()
{
    for (size_t r = 0; r < m_rowWidgets.size(); ++r) {
        const RowWidgets& w = m_rowWidgets[r];
        const bool seated = r < m_rows.size();
        for (QWidget* widget : std::initializer_list<QWidget*>{w.player, w.power, w.result, w.finalYear, w.centers,
                                                               w.totalSC, w.conflicts})
            widget->setVisible(seated);
        if (!seated) {
            // A row without a seat says nothing, to the eye or the ear.
            SetLabelText(w.player, QString());
            SetLabelText(w.conflicts, QString());
            continue;
        }
        const GameRow& row = m_rows[r];
        SetLabelText(w.player, row.name);
        w.power->setCurrentIndex(row.power);
        w.result->setCurrentIndex(row.result);
        w.finalYear->setCurrentIndex(row.yearIndex);
        w.centers->setCurrentIndex(row.centers);
        if (w.totalSC->text() != row.totalSC) w.totalSC->setText(row.totalSC);  // keeps the cursor
    }
}

void CGamesDialog::ShowConflicts()
{
    int total = 0;
    for (size_t r = 0; r < m_rows.size() && r < m_rowWidgets.size(); ++r) {
        const int conflict = g_conflictModel ? g_conflictModel->ComputePlayerConflict(m_rows[r].playerID) : 0;
        SetLabelText(m_rowWidgets[r].conflicts, Format("%d", conflict));
        total += conflict;
    }
    ui->totalConflictsValue->setText(Format("%d", total));
}

void CGamesDialog::EnableInputs()
{
    for (size_t r = 0; r < m_rowWidgets.size(); ++r) {
        const RowWidgets& w = m_rowWidgets[r];
        const QString player = r < m_rows.size() ? m_rows[r].name : QString();
        const std::pair<QWidget*, RowInput> inputs[] = {{w.power, RowInput::Power},
                                                        {w.result, RowInput::Result},
                                                        {w.finalYear, RowInput::FinalYear},
                                                        {w.centers, RowInput::Centres},
                                                        {w.totalSC, RowInput::TotalSC}};
        for (const auto& [input, which] : inputs) {
            const QString whyNot = RowInputReason(which, m_status, ScoringSystem);
            EnableWithReason(input, whyNot);
            // Each input is described by its row's player, and by why it is
            // disabled when it is.
            input->setAccessibleDescription(whyNot.isEmpty() ? player : Format("%s: %s", player, whyNot));
        }
    }
}

std::vector<GameRow> CGamesDialog::RowsShown() const
{
    std::vector<GameRow> rows = m_rows;
    for (size_t r = 0; r < rows.size() && r < m_rowWidgets.size(); ++r) {
        const RowWidgets& w = m_rowWidgets[r];
        rows[r].power = w.power->currentIndex();
        rows[r].result = w.result->currentIndex();
        rows[r].yearIndex = w.finalYear->currentIndex();
        rows[r].centers = w.centers->currentIndex();
        rows[r].totalSC = w.totalSC->text();
    }
    return rows;
}

void CGamesDialog::OnGameTabChanged(int index)
{
    if (index < 0) return;
    ui->lockCheck->setChecked(CurrentTournament.assignPowers != 0);
    LoadGame();
}

void CGamesDialog::OnStatusChosen(int index)
{
    const int gameID = CurrentGameID();
    if (gameID == 0) return;
    StatusChange change = StatusChange::Refused;
    try {
        if (!ChangeShownGame([&] {
                change = ChangeGameStatus(gameID, m_status, index, RowsShown(), ScoringSystem, m_shown);
            }))
            return;
    } catch (...) {
        ui->statusCombo->setCurrentIndex(m_status);  // nothing was stored
        throw;
    }
    if (change == StatusChange::Unfinished) ui->lockCheck->setChecked(CurrentTournament.assignPowers != 0);
    // Accepted or refused, the game shows what is stored.
    LoadGame();
}

void CGamesDialog::OnRowChanged()
{
    const auto changed = std::find_if(m_rowWidgets.begin(), m_rowWidgets.end(), [this](const RowWidgets& w) {
        const QObject* from = sender();
        return from == w.power || from == w.result || from == w.finalYear || from == w.centers || from == w.totalSC;
    });
    const size_t r = size_t(changed - m_rowWidgets.begin());
    if (changed == m_rowWidgets.end() || r >= m_rows.size()) return;

    std::vector<GameRow> rows = RowsShown();
    try {
        if (!ChangeShownGame([&] {
                m_shown = ApplyRowChange(CurrentGameID(), rows, r, m_status, ui->lockCheck->isChecked(), ScoringSystem,
                                         m_shown);
            }))
            return;
    } catch (...) {
        ShowRows();  // nothing was written: the rows as they were
        throw;
    }
    m_rows = std::move(rows);
    ShowRows();
}

void CGamesDialog::OnSystemChosen(int index)
{
    if (index < 0 || CurrentGameID() == 0) return;
    try {
        if (!ChangeShownGame(
                [&] { m_shown = StoreGameSystem(CurrentGameID(), ui->systemCombo->itemData(index).toInt(), m_shown); }))
            return;
    } catch (...) {
        LoadGame();  // nothing was stored: the list shows the game's system again
        throw;
    }
    LoadGame();
}

bool CGamesDialog::ChangeShownGame(const std::function<void()>& change)
{
    try {
        change();
        return true;
    } catch (const GameChangedElsewhere& refused) {
        LoadGame();
        ShowMessage(refused.Text(), refused.Title(), MsgIcon::Stop);
        return false;
    }
}

void CGamesDialog::OnViewModify()
{
    if (CurrentGameID() == 0) return;
    const int openedID = m_ownSystemID != 0 ? m_ownSystemID : m_defaultSystemID;
    CScoringSystemDialog details(openedID, this);
    details.DoModal();
    const bool otherSystem = ScoringSystem.id != openedID;
    // The game shows its own system again, with whatever was changed in it
    // and any system that was added.
    LoadGame();
    if (otherSystem && ui->systemCombo->currentIndex() >= 0) OnSystemChosen(ui->systemCombo->currentIndex());
}

void CGamesDialog::OnViewConflicts()
{
    const int tab = ui->gameTabs->currentIndex();
    if (tab < 0) return;
    std::array<int, 7> seatPlayerIDs;
    seatPlayerIDs.fill(-1);
    for (size_t r = 0; r < m_rows.size() && r < seatPlayerIDs.size(); ++r) seatPlayerIDs[r] = m_rows[r].playerID;
    CInGameConflictsDialog conflicts(seatPlayerIDs, tab + 1, this);
    conflicts.DoModal();
}
