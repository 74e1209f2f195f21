#include "tournament/TournamentDetailsDialog.h"

#include "ui_TournamentDetailsDialog.h"

#include "db/Format.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "scoring/SystemChoices.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"
#include "ui/Controls.h"
#include "ui/Messages.h"
#include "ui/UiServices.h"

#include <limits>
#include <vector>

namespace {
const QString kNewSystemCaption = QStringLiteral("New System...");
const QString kViewSystemCaption = QStringLiteral("View/Modify");
const QString kTeamMemberCaption = QStringLiteral("Playing in a game with a team member:");
const QString kTeamScoringCaption = QStringLiteral("Team Scoring System:");
const QString kSingleHeatCaption = QStringLiteral("Heat Number to Use for Team Scoring:");
const QString kHeatsToSumCaption = QStringLiteral("Number of Heats to Sum for Team Score:");

long long TextToNumber(const QLineEdit* edit) { return ParseInteger(edit->text()); }
}  // namespace

CTournamentDetailsDialog::CTournamentDetailsDialog(int tournamentID, const QString& name, const QString& description,
                                                   QWidget* parent)
    : CDialog(parent),
      ui(std::make_unique<Ui::CTournamentDetailsDialog>()),
      m_tournamentID(tournamentID),
      m_name(name),
      m_description(description)
{
    ui->setupUi(this);
    // The team and power rules show, hide and name these as choices change;
    // they keep their room throughout, so the form never moves under the
    // director's eyes.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->teamHeatEdit, ui->scoredGamesCombo, ui->teamConflictEdit,
                                                      ui->groupPowersCombo, ui->groupPowersLabel})
        KeepRoomWhenHidden(w);
    KeepRoomForTexts(ui->scoredGamesLabel, {ui->scoredGamesLabel->text(), kTeamScoringCaption});
    KeepRoomForTexts(ui->teamHeatLabel, {kSingleHeatCaption, kHeatsToSumCaption});
    KeepRoomForTexts(ui->teamConflictLabel, {kTeamMemberCaption});

    // Notifications and their handlers.
    On(ui->systemCombo, &QComboBox::currentIndexChanged, &CTournamentDetailsDialog::OnSystemSelected);
    On(ui->systemButton, &QPushButton::clicked, &CTournamentDetailsDialog::OnSystemButton);
    On(ui->teamSizeCombo, &QComboBox::currentIndexChanged, &CTournamentDetailsDialog::OnTeamSizeChanged);
    On(ui->scoredGamesCombo, &QComboBox::currentIndexChanged, &CTournamentDetailsDialog::OnScoredGamesChanged);
    On(ui->powerAssignmentCombo, &QComboBox::currentIndexChanged,
       &CTournamentDetailsDialog::OnPowerAssignmentChanged);
    // Only the list of systems is stored rows: the rules typed stay.
    OnRefresh(ui->refreshButton, &CTournamentDetailsDialog::FillSystemList);
    On(ui->okButton, &QPushButton::clicked, &CTournamentDetailsDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &CTournamentDetailsDialog::reject);
}

CTournamentDetailsDialog::~CTournamentDetailsDialog() = default;

void CTournamentDetailsDialog::OnInitDialog()
{
    ui->nameEdit->setText(m_name);
    ui->descriptionEdit->setPlainText(m_description);
    FillSystemList();
    FillSettings();
}

void CTournamentDetailsDialog::FillSystemList()
{
    // Filling the list is not a choice of the director's: no system is loaded
    // on the way. No system is the default here, so the list holds the plain
    // names, each item's data its id.
    FillSystemCombo(ui->systemCombo, ScoringSystemChoices(-1), ScoringSystem.id);
    ui->systemButton->setText(ScoringSystem.id == -1 ? kNewSystemCaption : kViewSystemCaption);
}

void CTournamentDetailsDialog::FillSettings()
{
    TournamentRecord& t = CurrentTournament;
    if (t.id == -1) {
        t.numHeats = 0;
        t.dropHeats = 0;
        t.playerConflict = 1;
        t.assignPowers = 1;
        t.groupPowers = 0;
        t.unplayedScore = 0;
    }
    ui->preregistrationCheck->setChecked(t.preregistration != 0);
    ui->groupPowersCombo->setCurrentIndex(t.groupPowers);
    ui->powerAssignmentCombo->setCurrentIndex(t.assignPowers ? 0 : 1);
    ui->numHeatsEdit->setText(QString::number(t.numHeats));
    ui->minHeatsEdit->setText(QString::number(t.minHeats));

    if (LowestHeats(t.dropHeats) == 0) {
        t.dropHeats = 0;
        t.multDrop = 0;
    }
    const LowHeatMultipliers low = DecodeLowHeats(t.dropHeats, t.multDrop);
    ShowLowHeats(low.lowest, low.nextLowest, low.x, low.y);

    ui->unplayedEdit->setText(QString::number(t.unplayedScore));
    ui->playerConflictEdit->setText(QString::number(t.playerConflict));
    ui->powerConflictEdit->setText(QString::number(t.powerConflict));
    ui->teamConflictEdit->setText(QString::number(t.teamConflict));
    ui->teamSizeCombo->setCurrentIndex(t.teamSize);
    ApplyTeamRule();
    ApplyPowerRule();
}

void CTournamentDetailsDialog::ShowLowHeats(int lowest, int nextLowest, float x, float y)
{
    ui->lowestEdit->setText(QString::number(lowest));
    ui->nextLowestEdit->setText(QString::number(nextLowest));
    ui->lowMultiplierEdit->setText(Format("%.2f", x));
    ui->nextMultiplierEdit->setText(Format("%.2f", y));
}

void CTournamentDetailsDialog::ApplyTeamRule()
{
    const bool teams = ui->teamSizeCombo->currentIndex() > 0;
    if (teams) {
        const TeamHeatSetting shown = DecodeTeamHeat(CurrentTournament.teamHeat);
        ui->teamHeatEdit->setText(QString::number(shown.heatValue));
        ui->scoredGamesCombo->setCurrentIndex(shown.scoredGamesItem);
        ApplyScoredGamesRule();
        ui->teamConflictLabel->setText(kTeamMemberCaption);
        ui->scoredGamesLabel->setText(kTeamScoringCaption);
    } else {
        ui->teamHeatEdit->clear();
        ui->scoredGamesCombo->setCurrentIndex(-1);
        ui->teamConflictLabel->clear();
        ui->scoredGamesLabel->clear();
        ui->teamHeatLabel->clear();
    }
    ui->teamHeatEdit->setVisible(teams);
    ui->scoredGamesCombo->setVisible(teams);
    ui->teamConflictEdit->setVisible(teams);
}

void CTournamentDetailsDialog::ApplyScoredGamesRule()
{
    switch (ui->scoredGamesCombo->currentIndex()) {
    case kTeamsScoreInSingleHeat:
        ui->teamHeatLabel->setText(kSingleHeatCaption);
        ui->teamConflictLabel->clear();
        ui->teamConflictEdit->hide();
        break;
    case kSumGamesWithoutInterplay:
        ui->teamHeatLabel->setText(kHeatsToSumCaption);
        ui->teamConflictLabel->setText(kTeamMemberCaption);
        ui->teamConflictEdit->show();
        break;
    default: break;
    }
}

void CTournamentDetailsDialog::ApplyPowerRule()
{
    const bool automatic = ui->powerAssignmentCombo->currentIndex() == 0;
    ui->groupPowersCombo->setVisible(automatic);
    ui->groupPowersLabel->setVisible(automatic);
    ui->powerConflictLabel->setText(QStringLiteral("Playing the same power more than once:"));
    ui->powerConflictEdit->show();
}

void CTournamentDetailsDialog::OnSystemSelected(int index)
{
    if (index >= 0) {
        LoadScoringSystem(ui->systemCombo->itemData(index).toInt());
        ui->systemButton->setText(kViewSystemCaption);
    } else {
        ui->systemButton->setText(kNewSystemCaption);
    }
}

void CTournamentDetailsDialog::OnSystemButton()
{
    const int shownID = ScoringSystem.id;
    CScoringSystemDialog system(ScoringSystem.id, this);
    system.DoModal();
    if (ScoringSystem.id == shownID) return;
    if (ScoringSystem.id != -1) LoadScoringSystem(ScoringSystem.id);
    // Only the list and the button follow the new system: what the director
    // has typed into the other fields stays.
    FillSystemList();
}

void CTournamentDetailsDialog::OnTeamSizeChanged() { ApplyTeamRule(); }

void CTournamentDetailsDialog::OnScoredGamesChanged() { ApplyScoredGamesRule(); }

void CTournamentDetailsDialog::OnPowerAssignmentChanged() { ApplyPowerRule(); }

TournamentForm CTournamentDetailsDialog::ReadForm() const
{
    TournamentForm f;
    f.name = ui->nameEdit->text();
    f.description = ui->descriptionEdit->toPlainText();
    f.numHeats = TextToNumber(ui->numHeatsEdit);
    f.minHeats = TextToNumber(ui->minHeatsEdit);
    f.low.lowest = TextToNumber(ui->lowestEdit);
    f.low.nextLowest = TextToNumber(ui->nextLowestEdit);
    f.low.x = ParseReal(ui->lowMultiplierEdit->text());
    f.low.y = ParseReal(ui->nextMultiplierEdit->text());
    f.powerAssignmentItem = ui->powerAssignmentCombo->currentIndex();
    f.groupPowersItem = ui->groupPowersCombo->currentIndex();
    f.teamSizeItem = ui->teamSizeCombo->currentIndex();
    f.scoredGamesItem = ui->scoredGamesCombo->currentIndex();
    f.teamHeatValue = TextToNumber(ui->teamHeatEdit);
    f.playerConflict = TextToNumber(ui->playerConflictEdit);
    f.powerConflict = TextToNumber(ui->powerConflictEdit);
    f.teamConflict = TextToNumber(ui->teamConflictEdit);
    f.unplayedScore = TextToNumber(ui->unplayedEdit);
    f.heatsBeyondNumber = m_tournamentID != -1 && HeatsBeyond(m_tournamentID, f.numHeats);
    return f;
}

void CTournamentDetailsDialog::FocusField(TournamentField field)
{
    QWidget* widget = nullptr;
    switch (field) {
    case TournamentField::Name: widget = ui->nameEdit; break;
    case TournamentField::Description: widget = ui->descriptionEdit; break;
    case TournamentField::NumHeats: widget = ui->numHeatsEdit; break;
    case TournamentField::MinHeats: widget = ui->minHeatsEdit; break;
    case TournamentField::Lowest: widget = ui->lowestEdit; break;
    case TournamentField::LowMultiplier: widget = ui->lowMultiplierEdit; break;
    case TournamentField::NextMultiplier: widget = ui->nextMultiplierEdit; break;
    case TournamentField::PowerAssignment: widget = ui->powerAssignmentCombo; break;
    case TournamentField::GroupPowers: widget = ui->groupPowersCombo; break;
    case TournamentField::ScoredGames: widget = ui->scoredGamesCombo; break;
    case TournamentField::TeamHeat: widget = ui->teamHeatEdit; break;
    case TournamentField::PlayerConflict: widget = ui->playerConflictEdit; break;
    case TournamentField::PowerConflict: widget = ui->powerConflictEdit; break;
    case TournamentField::TeamConflict: widget = ui->teamConflictEdit; break;
    case TournamentField::UnplayedScore: widget = ui->unplayedEdit; break;
    }
    if (!widget) return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void CTournamentDetailsDialog::OnOK()
{
    const TournamentForm form = ReadForm();
    const std::vector<TournamentProblem> problems = TournamentFormProblems(form);
    if (!problems.empty()) {
        ShowUnableToUpdate(kInvalidSystemHeading, TournamentFormErrors(problems));
        FocusField(problems.front().field);
        return;
    }

    // Every number is in its range now.
    LowHeatMultipliers low{int(form.low.lowest), int(form.low.nextLowest), form.low.x, form.low.y};
    if (CorrectLowHeatMultipliers(low)) {
        ShowLowHeats(low.lowest, low.nextLowest, low.x, low.y);
        if (!AskYesNo(QStringLiteral("The tournament system is valid.\n\nAre the corrections that were made\nto the "
                                     "low-score multipliers correct?"),
                      QStringLiteral("Corrections Made"), MsgIcon::Exclamation))
            return;
    }

    TournamentRecord& t = CurrentTournament;
    t.multDrop = EncodeMultDrop(low.x, low.y);
    t.numHeats = int(form.numHeats);
    t.minHeats = int(form.minHeats);
    t.dropHeats = EncodeDropHeats(low.lowest, low.nextLowest);
    t.teamSize = form.teamSizeItem;
    t.teamHeat = EncodeTeamHeat(int(form.teamHeatValue), form.scoredGamesItem);
    t.playerConflict = int(form.playerConflict);
    t.powerConflict = int(form.powerConflict);
    // Without teams the team conflict is neither shown nor checked: a value
    // typed there that no int holds leaves the earlier one.
    if (form.teamConflict >= std::numeric_limits<int>::min() && form.teamConflict <= std::numeric_limits<int>::max())
        t.teamConflict = int(form.teamConflict);
    t.assignPowers = form.powerAssignmentItem == 0 ? 1 : 0;
    t.groupPowers = form.groupPowersItem;
    t.preregistration = ui->preregistrationCheck->isChecked() ? 1 : 0;
    t.unplayedScore = int(form.unplayedScore);

    const QString description = ApostrophesToBackquotes(form.description);
    if (description != form.description) ui->descriptionEdit->setPlainText(description);

    if (m_tournamentID != -1) {
        UpdateTournament(m_tournamentID, t, form.name, description, ScoringSystem.id);
        EndDialog(QDialog::Accepted);
        return;
    }
    if (ScoringSystem.id == -1) {
        ShowMessage(QStringLiteral("A scoring system must be specified!"), QStringLiteral("No Scoring System"),
                    MsgIcon::Stop);
        return;
    }
    if (TournamentNameInUse(form.name)) {
        ShowMessage(QStringLiteral("That tournament name is already in use!"), QStringLiteral("Tournament Exists"),
                    MsgIcon::Stop);
        return;
    }
    m_tournamentID = InsertTournament(t, form.name, description, ScoringSystem.id);
    t.id = m_tournamentID;
    EndDialog(QDialog::Accepted);
}
