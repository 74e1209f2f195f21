#include "scoring/ScoringSystemDialog.h"

#include "ui_ScoringSystemDialog.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/StorableText.h"
#include "ui/Messages.h"
#include "ui/UiServices.h"

namespace {

const char* const kDrawLabels[7] = {"Solo victory:",  "Two-way draw:", "Three-way draw:", "Four-way draw:",
                                    "Five-way draw:", "Six-way draw:", "Seven-way draw:"};
const char* const kRankLabels[7] = {"Highest SC count:", "Second-most SC's:", "Third-most SC's:",
                                    "Fourth-most SC's:", "Fifth-most SC's:",  "Sixth-most SC's:",
                                    "Seventh-most SC's:"};

// The caption of a formula's row under the scoring kind: "Solo victory:",
// "Elimination:", "Provisional score:".
QString FormulaCaption(int slot, int kind)
{
    const bool draws = kind == 1;
    if (slot == kScoreLoss) return draws ? QStringLiteral("Elimination or survival:") : QStringLiteral("Elimination:");
    if (slot == kScoreProvisional) return QStringLiteral("Provisional score:");
    return QString::fromLatin1(draws ? kDrawLabels[slot - 1] : kRankLabels[slot - 1]);
}

}  // namespace

QString SystemValueErrors(SystemValues& values, bool newSystem)
{
    QString lines;
    if (newSystem) {
        const QString nameProblem = TypedTextProblem(kSystemNameField, values.name);
        if (values.name.isEmpty())
            lines += QStringLiteral("Tournament System must be named.\n");
        else if (!nameProblem.isEmpty())
            lines += nameProblem + QChar('\n');
        else if (RecordExists(Sql("select id from System where name='%s'", values.name)))
            lines += QStringLiteral("That Tournament System name is already in use!\n");
    }
    if (values.winDrawScoring < 0 || values.winDrawScoring > 2)
        lines += QStringLiteral("No scoring system specified.\n");

    if (MentionsProvisionalScores(values.formulas[kScoreProvisional])) {
        lines += QStringLiteral("Provisional formula may not reference provisional results.");
        return lines;
    }
    CScoringSystem& loaded = ScoringSystem;
    const int previousError = loaded.error;
    for (int slot = 0; slot < kFormulaCount; ++slot) {
        QString& text = values.formulas[size_t(slot)];
        if (text.isEmpty()) text = QStringLiteral("0");
        const TypedTextField field{Format("formula for \"%s\"", FormulaCaption(slot, values.winDrawScoring).chopped(1)),
                                   kMaxFormulaLength};
        if (FindUnstorableCharacter(text)) {
            lines += TypedTextProblem(field, text) + QChar('\n');
            break;
        }
        bool bad = text.size() > kMaxFormulaLength;
        if (!bad) {
            const QString previous = loaded.formulas[size_t(slot)];
            loaded.formulas[size_t(slot)] = text;
            loaded.EvaluateScoreFormula(slot, 1, 0, 1, 0, 0, 0, 0, 0);
            bad = loaded.error != 0;
            loaded.formulas[size_t(slot)] = previous;
        }
        if (bad) {
            lines += Format("Bad scoring equation: %s\n", text);
            break;
        }
    }
    loaded.error = previousError;
    return lines;
}

SystemValues ExampleSystemValues(int kind)
{
    SystemValues v;
    v.dias = 1;
    v.finalYear = -1;
    v.formulas[kScoreLoss] = QStringLiteral("0");
    v.formulas[kScoreProvisional] = QStringLiteral("0");
    switch (kind) {
    case 0: {
        // The board's order counts, and every centre a point more.
        v.name = QStringLiteral("SC Ranking (example)");
        const char* const rank[7] = {"25 + scs", "18 + scs", "12 + scs", "8 + scs", "4 + scs", "2 + scs", "scs"};
        for (int slot = 1; slot <= 7; ++slot) v.formulas[size_t(slot)] = QString::fromLatin1(rank[slot - 1]);
        break;
    }
    case 2: {
        // The rank points, and the winners share 60 between them: the
        // provisional score is 60 divided by the number of winners, and a
        // division by 0 (a seat out of the win) gives 0.
        v.name = QStringLiteral("Draw Size and SC Ranking (example)");
        const char* const rank[7] = {"10 + scs", "6 + scs", "3 + scs", "1 + scs", "scs", "scs", "scs"};
        for (int slot = 1; slot <= 7; ++slot) v.formulas[size_t(slot)] = QString::fromLatin1(rank[slot - 1]);
        v.formulas[kScoreProvisional] = QStringLiteral("60 / num");
        break;
    }
    default: {
        // 100 points shared equally by the powers in the win or draw.
        kind = 1;
        v.name = QStringLiteral("Draw Size (example)");
        const char* const share[7] = {"100", "50", "100 / 3", "25", "20", "100 / 6", "100 / 7"};
        for (int slot = 1; slot <= 7; ++slot) v.formulas[size_t(slot)] = QString::fromLatin1(share[slot - 1]);
        break;
    }
    }
    v.winDrawScoring = kind;
    return v;
}

void SaveSystemValues(const SystemValues& v, int targetID)
{
    CScoringSystem& loaded = ScoringSystem;
    const auto& f = v.formulas;
    int id = loaded.id;
    if (targetID == -1) {
        ExecuteSQL(Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreProvisional, scoreLoss, "
                       "score1, score2, score3, score4, score5, score6, score7) values ('%s', %d, %d, %d, '%s', '%s', "
                       "'%s', '%s', '%s', '%s', '%s', '%s', '%s')",
                       v.name, v.dias, v.winDrawScoring, v.finalYear, f[kScoreProvisional], f[kScoreLoss], f[1], f[2],
                       f[3], f[4], f[5], f[6], f[7]));
        CRecordset rs(Sql("select id from System where name='%s'", v.name));
        if (rs.IsEOF()) throw DbError(Format("The scoring system %s was not saved.", v.name));
        id = rs.GetInt(0);
    } else {
        ExecuteSQL(Sql("update System set name = '%s', dias = %d, winDrawScoring = %d, finalYear = %d, "
                       "scoreProvisional = '%s', scoreLoss = '%s', score1 = '%s', score2 = '%s', score3 = '%s', "
                       "score4 = '%s', score5 = '%s', score6 = '%s', score7 = '%s' where id = %d",
                       v.name, v.dias, v.winDrawScoring, v.finalYear, f[kScoreProvisional], f[kScoreLoss], f[1], f[2],
                       f[3], f[4], f[5], f[6], f[7], id));
    }
    // Only once the row is written does the loaded system take the values.
    loaded.id = id;
    loaded.name = v.name;
    loaded.dias = v.dias;
    loaded.winDrawScoring = v.winDrawScoring;
    loaded.finalYear = v.finalYear;
    loaded.formulas = v.formulas;
    loaded.DeriveUsageFlags();
}

CScoringSystemDialog::CScoringSystemDialog(int targetID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CScoringSystemDialog>()), m_targetID(targetID)
{
    ui->setupUi(this);

    // Notifications and their handlers.
    On(ui->kindCombo, &QComboBox::currentIndexChanged, &CScoringSystemDialog::OnKindChanged);
    On(ui->createNewButton, &QPushButton::clicked, &CScoringSystemDialog::OnCreateNewSystem);
    On(ui->exampleButton, &QPushButton::clicked, &CScoringSystemDialog::OnUseExample);
    On(ui->okButton, &QPushButton::clicked, &CScoringSystemDialog::OnOK);
    On(ui->cancelButton, &QPushButton::clicked, &CScoringSystemDialog::OnCancel);
}

CScoringSystemDialog::~CScoringSystemDialog() = default;

QLineEdit* CScoringSystemDialog::FormulaEdit(int slot) const
{
    QLineEdit* const edits[kFormulaCount] = {ui->lossEdit,   ui->scoreEdit1, ui->scoreEdit2,
                                             ui->scoreEdit3, ui->scoreEdit4, ui->scoreEdit5,
                                             ui->scoreEdit6, ui->scoreEdit7, ui->provisionalEdit};
    return edits[slot];
}

void CScoringSystemDialog::OnInitDialog()
{
    CScoringSystem& s = ScoringSystem;
    if (s.id == -1) {
        s.winDrawScoring = 1;
        s.dias = 1;
        s.name.clear();
        s.finalYear = -1;
        for (QString& formula : s.formulas) formula.clear();
        // With nothing loaded there is no row to save over.
        m_targetID = -1;
    }
    const bool existing = s.id != -1;
    ui->nameEdit->setReadOnly(existing);
    ui->createNewButton->setVisible(existing);

    ui->nameEdit->setText(s.name);
    ui->diasCheck->setChecked(s.dias == 1);
    ui->kindCombo->setCurrentIndex(s.winDrawScoring);
    SetKindLabels(s.winDrawScoring);

    int yearIndex = 0;
    if (s.finalYear != -1) {
        for (int i = 1; i < ui->finalYearCombo->count() && yearIndex == 0; ++i)
            if (ui->finalYearCombo->itemText(i) == QString::number(s.finalYear)) yearIndex = i;
    }
    ui->finalYearCombo->setCurrentIndex(yearIndex);

    for (int slot = 0; slot < kFormulaCount; ++slot) FormulaEdit(slot)->setText(s.formulas[size_t(slot)]);
}

void CScoringSystemDialog::SetKindLabels(int kind)
{
    if (kind < 0 || kind > 2) return;
    const bool draws = kind == 1;
    QLabel* const labels[7] = {ui->scoreLabel1, ui->scoreLabel2, ui->scoreLabel3, ui->scoreLabel4,
                               ui->scoreLabel5, ui->scoreLabel6, ui->scoreLabel7};
    for (int i = 0; i < 7; ++i) labels[i]->setText(FormulaCaption(i + 1, kind));
    ui->lossLabel->setText(FormulaCaption(kScoreLoss, kind));
    ui->diasCheck->setText(draws ? QStringLiteral("Draws must include all survivors")
                                 : QStringLiteral("Average points for SC-count ties"));
    const QString note = QStringLiteral("(The provisional score will be automatically added to each player's score.)");
    ui->noteLabel->setText(kind == 2 ? note : QString());
}

// Only the labels follow the kind: whatever is typed in the edits stays.
void CScoringSystemDialog::OnKindChanged(int kind) { SetKindLabels(kind); }

void CScoringSystemDialog::OnCreateNewSystem()
{
    ui->nameEdit->setReadOnly(false);
    ui->nameEdit->clear();
    ui->createNewButton->hide();
    ui->nameEdit->setFocus();
    m_targetID = -1;
}

void CScoringSystemDialog::OnUseExample()
{
    // An example never replaces a stored system: it starts a new one, as
    // "Create New System" does.
    if (m_targetID != -1 || ui->nameEdit->isReadOnly()) OnCreateNewSystem();
    const SystemValues example = ExampleSystemValues(ui->kindCombo->currentIndex());
    ui->nameEdit->setText(example.name);
    ui->diasCheck->setChecked(example.dias == 1);
    ui->finalYearCombo->setCurrentIndex(0);  // "None"
    for (int slot = 0; slot < kFormulaCount; ++slot) FormulaEdit(slot)->setText(example.formulas[size_t(slot)]);
    ui->nameEdit->setFocus();
    ui->nameEdit->selectAll();
}

SystemValues CScoringSystemDialog::ValuesShown() const
{
    SystemValues v;
    v.name = ui->nameEdit->text();
    v.dias = ui->diasCheck->isChecked() ? 1 : 0;
    v.winDrawScoring = ui->kindCombo->currentIndex();
    const int year = ui->finalYearCombo->currentIndex();
    v.finalYear = year <= 0 ? -1 : ui->finalYearCombo->itemText(year).toInt();
    for (int slot = 0; slot < kFormulaCount; ++slot) v.formulas[size_t(slot)] = FormulaEdit(slot)->text();
    return v;
}

void CScoringSystemDialog::OnOK()
{
    SystemValues values = ValuesShown();
    const QString errors = SystemValueErrors(values, m_targetID == -1);
    // An empty formula that was checked reads "0" in its row from now on.
    for (int slot = 0; slot < kFormulaCount; ++slot)
        if (FormulaEdit(slot)->text().isEmpty()) FormulaEdit(slot)->setText(values.formulas[size_t(slot)]);
    if (!errors.isEmpty()) {
        ShowUnableToUpdate(kInvalidSystemHeading, errors);
        return;
    }
    SaveSystemValues(values, m_targetID);
    EndDialog(QDialog::Accepted);
}

void CScoringSystemDialog::OnCancel() { EndDialog(QDialog::Rejected); }
