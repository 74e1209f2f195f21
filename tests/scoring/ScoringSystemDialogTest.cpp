#include "db/Format.h"
#include "scoring/ScoringSystem.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/Captions.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace testdata;

namespace {

const char* const kDrawRows[] = {"Solo victory:",  "Two-way draw:", "Three-way draw:", "Four-way draw:",
                                 "Five-way draw:", "Six-way draw:", "Seven-way draw:"};
const char* const kRankRows[] = {"Highest SC count:", "Second-most SC's:", "Third-most SC's:", "Fourth-most SC's:",
                                 "Fifth-most SC's:",  "Sixth-most SC's:",  "Seventh-most SC's:"};

const QString kInvalid = "The tournament system is invalid.  The following errors were found:\n\n";

}  // namespace

class ScoringSystemDialog : public DbTest {
protected:
    // A ranking system with a final year, loaded as the callers load it.
    int LoadRankingSystem()
    {
        SystemRow row;
        row.name = "Centre Count";
        row.winDrawScoring = 0;
        row.dias = 0;
        row.finalYear = 1910;
        row.scoreLoss = "0";
        row.score[0] = "scs * 2";
        row.score[6] = "1 + big";
        row.scoreProvisional = "scs";
        const int id = AddSystem(row);
        LoadScoringSystem(id);
        return id;
    }

    // The dialog for a new system, opened as the callers open it when no
    // system is loaded.
    static std::unique_ptr<CScoringSystemDialog> OpenNew()
    {
        ScoringSystem.id = -1;
        auto dlg = std::make_unique<CScoringSystemDialog>(-1);
        EXPECT_TRUE(dlg->Initialise());
        return dlg;
    }

    static QLineEdit* Edit(CScoringSystemDialog& d, const QString& caption)
    {
        return ControlByName<QLineEdit>(&d, caption);
    }
    static QComboBox* Kind(CScoringSystemDialog& d) { return ControlByCaption<QComboBox>(&d, "End Game Criteria:"); }
    static QComboBox* FinalYear(CScoringSystemDialog& d)
    {
        return ControlByCaption<QComboBox>(&d, "Final Game-Year:");
    }
    static QCheckBox* Dias(CScoringSystemDialog& d) { return d.findChild<QCheckBox*>(); }
    static QString Note(CScoringSystemDialog& d) { return d.findChild<QLabel*>("noteLabel")->text(); }
    static void ClickOK(CScoringSystemDialog& d) { ButtonByText(&d, "OK")->click(); }

    // Every formula row of a dialog showing win/draw labels.
    static void FillDrawRows(CScoringSystemDialog& d, const QString& text)
    {
        for (const char* row : kDrawRows) Edit(d, row)->setText(text);
        Edit(d, "Elimination or survival:")->setText(text);
        Edit(d, "Provisional score:")->setText(text);
    }

    void ExpectRejected(CScoringSystemDialog& d, const QString& lines)
    {
        ui().Expect("Unable to Update!").Text(kInvalid + lines).Icon(MsgIcon::Stop).Buttons(MsgButtons::Ok);
        ClickOK(d);
        ui().VerifyAllUsed();
        EXPECT_FALSE(d.HasEnded());
    }
};

TEST_F(ScoringSystemDialog, ShowsTheLoadedSystem)
{
    const int id = LoadRankingSystem();
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    ExpectInputsLabelled(&dlg);
    EXPECT_EQ(dlg.windowTitle(), "Scoring System Details");

    QLineEdit* name = Edit(dlg, "Scoring System:");
    EXPECT_EQ(name->text(), "Centre Count");
    EXPECT_TRUE(name->isReadOnly());
    EXPECT_TRUE(Shown(ButtonByText(&dlg, "Create New System")));

    EXPECT_EQ(Kind(dlg)->accessibleName(), "End Game Criteria:");
    EXPECT_EQ(FinalYear(dlg)->accessibleName(), "Final Game-Year:");
    EXPECT_EQ(Kind(dlg)->currentText(), "RANK PLAYERS BY SC COUNT");
    EXPECT_EQ(Kind(dlg)->count(), 3);
    EXPECT_EQ(Kind(dlg)->itemText(2), "BOTH WIN/DRAW & SC RANK SCORING");
    EXPECT_EQ(FinalYear(dlg)->currentText(), "1910");
    EXPECT_EQ(FinalYear(dlg)->count(), 9);
    EXPECT_EQ(Dias(dlg)->text(), "Average points for SC-count ties");
    EXPECT_FALSE(Dias(dlg)->isChecked());
    EXPECT_EQ(Note(dlg), "");

    EXPECT_EQ(Edit(dlg, "Highest SC count:")->text(), "scs * 2");
    EXPECT_EQ(Edit(dlg, "Third-most SC's:")->text(), "5");
    EXPECT_EQ(Edit(dlg, "Seventh-most SC's:")->text(), "1 + big");
    EXPECT_EQ(Edit(dlg, "Elimination:")->text(), "0");
    EXPECT_EQ(Edit(dlg, "Provisional score:")->text(), "scs");
}

TEST_F(ScoringSystemDialog, ShowsAFinalYearOutsideTheListAsNone)
{
    SystemRow row;
    row.finalYear = 1920;
    LoadScoringSystem(AddSystem(row));
    CScoringSystemDialog dlg(ScoringSystem.id);
    ASSERT_TRUE(dlg.Initialise());
    EXPECT_EQ(FinalYear(dlg)->currentText(), "None");
    EXPECT_TRUE(Dias(dlg)->isChecked());
    EXPECT_EQ(Dias(dlg)->text(), "Draws must include all survivors");
    EXPECT_EQ(Edit(dlg, "Solo victory:")->text(), "7");
}

TEST_F(ScoringSystemDialog, ChangesOnlyTheLabelsWithTheKind)
{
    const int id = LoadRankingSystem();
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    Edit(dlg, "Second-most SC's:")->setText("typed");

    Kind(dlg)->setCurrentIndex(2);
    EXPECT_EQ(Note(dlg), "(The provisional score will be automatically added to each player's score.)");
    for (const char* row : kRankRows) EXPECT_NE(Edit(dlg, row), nullptr);
    EXPECT_EQ(Edit(dlg, "Elimination:")->text(), "0");
    EXPECT_EQ(Dias(dlg)->text(), "Average points for SC-count ties");

    Kind(dlg)->setCurrentIndex(1);
    EXPECT_EQ(Note(dlg), "");
    for (const char* row : kDrawRows) EXPECT_NE(Edit(dlg, row), nullptr);
    EXPECT_EQ(Dias(dlg)->text(), "Draws must include all survivors");
    EXPECT_EQ(Edit(dlg, "Solo victory:")->text(), "scs * 2");
    EXPECT_EQ(Edit(dlg, "Two-way draw:")->text(), "typed");
    EXPECT_EQ(Edit(dlg, "Elimination or survival:")->text(), "0");
    EXPECT_FALSE(Dias(dlg)->isChecked());
    EXPECT_EQ(FinalYear(dlg)->currentText(), "1910");

    Kind(dlg)->setCurrentIndex(0);
    EXPECT_EQ(Edit(dlg, "Highest SC count:")->text(), "scs * 2");
    EXPECT_EQ(Note(dlg), "");
}

TEST_F(ScoringSystemDialog, SavesOverTheLoadedSystem)
{
    const int id = LoadRankingSystem();
    const int other = AddSystem({.name = "Other"});
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    Kind(dlg)->setCurrentIndex(2);
    FinalYear(dlg)->setCurrentIndex(FinalYear(dlg)->findText("1907"));
    Dias(dlg)->setChecked(true);
    Edit(dlg, "Highest SC count:")->setText("ctrs + 1");
    Edit(dlg, "Elimination:")->setText("");
    ClickOK(dlg);

    ASSERT_TRUE(dlg.HasEnded());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const auto rows = Rows(Sql("select name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score7, "
                               "scoreProvisional from System where id = %d",
                               id));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (QStringList{"Centre Count", "1", "2", "1907", "0", "ctrs + 1", "6", "1 + big", "scs"}));
    EXPECT_EQ(Count("select * from System"), 2);
    EXPECT_EQ(Rows(Sql("select score1 from System where id = %d", other))[0][0], "7");

    // The loaded system holds what was saved, and knows what it now uses.
    EXPECT_EQ(ScoringSystem.id, id);
    EXPECT_EQ(ScoringSystem.winDrawScoring, 2);
    EXPECT_EQ(ScoringSystem.dias, 1);
    EXPECT_EQ(ScoringSystem.finalYear, 1907);
    EXPECT_EQ(ScoringSystem.formulas[kScore1], "ctrs + 1");
    EXPECT_EQ(ScoringSystem.formulas[kScoreLoss], "0");
    EXPECT_EQ(ScoringSystem.usesTotalSC, 1);
    EXPECT_EQ(ScoringSystem.usesProvisional, 1);
}

TEST_F(ScoringSystemDialog, CreatesASystemFromScratch)
{
    ScoringSystem.id = -1;
    ScoringSystem.name = "left over";
    ScoringSystem.winDrawScoring = 0;
    ScoringSystem.formulas[kScore3] = "old";
    {
        CScoringSystemDialog dlg(-1);
        ASSERT_TRUE(dlg.Initialise());
        ExpectInputsLabelled(&dlg);
        EXPECT_FALSE(Edit(dlg, "Scoring System:")->isReadOnly());
        EXPECT_EQ(Edit(dlg, "Scoring System:")->text(), "");
        EXPECT_FALSE(Shown(ButtonByText(&dlg, "Create New System")));
        EXPECT_EQ(Kind(dlg)->currentText(), "WIN/DRAW SCORING");
        EXPECT_TRUE(Dias(dlg)->isChecked());
        EXPECT_EQ(FinalYear(dlg)->currentText(), "None");
        EXPECT_EQ(Edit(dlg, "Three-way draw:")->text(), "");
        ButtonByText(&dlg, "Cancel")->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    // Cancelled: nothing written, but the loaded system holds the defaults.
    EXPECT_EQ(Count("select * from System"), 0);
    EXPECT_EQ(ScoringSystem.name, "");
    EXPECT_EQ(ScoringSystem.winDrawScoring, 1);
    EXPECT_EQ(ScoringSystem.formulas[kScore3], "");

    auto opened = OpenNew();
    CScoringSystemDialog& dlg = *opened;
    Edit(dlg, "Scoring System:")->setText("Blank");
    ClickOK(dlg);
    ASSERT_TRUE(dlg.HasEnded());
    const int id = Int("select id from System where name='Blank'");
    EXPECT_EQ(ScoringSystem.id, id);
    // Empty formulas are saved as "0".
    EXPECT_EQ(Rows("select dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, score4, score5, "
                   "score6, score7, scoreProvisional from System")[0],
              (QStringList{"1", "1", "-1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST_F(ScoringSystemDialog, ListsTheNameErrorAndTheFirstBadFormula)
{
    auto opened = OpenNew();
    CScoringSystemDialog& dlg = *opened;
    Edit(dlg, "Two-way draw:")->setText("2 +");
    Edit(dlg, "Five-way draw:")->setText("x");
    ExpectRejected(dlg, "Tournament System must be named.\nBad scoring equation: 2 +\n");
    // The loss row comes before the score rows.
    Edit(dlg, "Elimination or survival:")->setText("Yrs");
    ExpectRejected(dlg, "Tournament System must be named.\nBad scoring equation: Yrs\n");
    EXPECT_EQ(Count("select * from System"), 0);
    EXPECT_EQ(ScoringSystem.formulas[kScore2], "");  // the loaded system is as before
    EXPECT_EQ(Edit(dlg, "Two-way draw:")->text(), "2 +");
    // The empty rows checked before the bad one now read "0"; the later ones stay empty.
    EXPECT_EQ(Edit(dlg, "Solo victory:")->text(), "0");
    EXPECT_EQ(Edit(dlg, "Three-way draw:")->text(), "");

    Edit(dlg, "Scoring System:")->setText("Fixed");
    FillDrawRows(dlg, "scs / (yrs - 1)");  // evaluated with yrs 1: a quotient by 0 is 0
    ClickOK(dlg);
    EXPECT_TRUE(dlg.HasEnded());
    EXPECT_EQ(Count("select * from System where name = 'Fixed'"), 1);
}

TEST_F(ScoringSystemDialog, RefusesANameOrFormulaTheStoreCannotKeep)
{
    auto opened = OpenNew();
    CScoringSystemDialog& dlg = *opened;
    FillDrawRows(dlg, "1");
    Edit(dlg, "Scoring System:")->setText(QString(61, QChar('S')));
    Edit(dlg, "Three-way draw:")->setText(QString("1") + QChar(u'\0'));
    ExpectRejected(dlg, "The scoring system name may have at most 60 characters (it has 61).\n"
                        "The formula for \"Three-way draw\" holds the character U+0000 at position 2, which cannot "
                        "be stored.\n");
    // The caption follows the kind of scoring shown.
    Kind(dlg)->setCurrentIndex(0);
    Edit(dlg, "Scoring System:")->setText(QString(60, QChar('S')));
    ExpectRejected(dlg, "The formula for \"Third-most SC's\" holds the character U+0000 at position 2, which cannot "
                        "be stored.\n");
    EXPECT_EQ(Count("select * from System"), 0);
    Edit(dlg, "Third-most SC's:")->setText("1");
    ClickOK(dlg);
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(ScoringSystemDialog, RefusesProvisionalScoresInTheProvisionalFormula)
{
    auto opened = OpenNew();
    CScoringSystemDialog& dlg = *opened;
    Edit(dlg, "Scoring System:")->setText("Provisional");
    Edit(dlg, "Solo victory:")->setText("(bad");
    for (const char* name : {"prov", "sump", "avgp", "mulp", "minp", "maxp"}) {
        Edit(dlg, "Provisional score:")->setText(QString("scs + %1").arg(name));
        ExpectRejected(dlg, "Provisional formula may not reference provisional results.");
    }
    // Only the provisional row is barred from them.
    Edit(dlg, "Solo victory:")->setText("sump - prov");
    Edit(dlg, "Provisional score:")->setText("scs");
    ClickOK(dlg);
    EXPECT_TRUE(dlg.HasEnded());
}

TEST_F(ScoringSystemDialog, AllowsFormulasOfUpTo255Characters)
{
    const int id = LoadRankingSystem();
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    const QString longest = "1" + QString(kMaxFormulaLength - 1, QChar(' '));
    Edit(dlg, "Fourth-most SC's:")->setText(longest + " ");
    ExpectRejected(dlg, "Bad scoring equation: " + longest + " \n");
    Edit(dlg, "Fourth-most SC's:")->setText(longest);
    ClickOK(dlg);
    EXPECT_TRUE(dlg.HasEnded());
    EXPECT_EQ(Rows(Sql("select score4 from System where id = %d", id))[0][0], longest);
}

TEST_F(ScoringSystemDialog, CreatesANewSystemFromAnExistingOne)
{
    const int id = LoadRankingSystem();
    AddSystem({.name = "Taken"});
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    Edit(dlg, "Seventh-most SC's:")->setText("2 + big");
    ButtonByText(&dlg, "Create New System")->click();
    EXPECT_EQ(dlg.TargetID(), -1);
    EXPECT_FALSE(Shown(ButtonByText(&dlg, "Create New System")));
    QLineEdit* name = Edit(dlg, "Scoring System:");
    EXPECT_FALSE(name->isReadOnly());
    EXPECT_EQ(name->text(), "");
    EXPECT_EQ(Edit(dlg, "Seventh-most SC's:")->text(), "2 + big");  // the template stays

    name->setText("Taken");
    ExpectRejected(dlg, "That Tournament System name is already in use!\n");
    name->setText("O'Neill's Count");  // a quote is no problem
    ClickOK(dlg);
    ASSERT_TRUE(dlg.HasEnded());

    const int created = Int("select id from System where name = 'O''Neill''s Count'");
    EXPECT_NE(created, id);
    EXPECT_EQ(ScoringSystem.id, created);
    EXPECT_EQ(ScoringSystem.name, "O'Neill's Count");
    EXPECT_EQ(Rows(Sql("select winDrawScoring, finalYear, score1, score7 from System where id = %d", created))[0],
              (QStringList{"0", "1910", "scs * 2", "2 + big"}));
    EXPECT_EQ(Rows(Sql("select name, score7 from System where id = %d", id))[0],
              (QStringList{"Centre Count", "1 + big"}));
}

TEST_F(ScoringSystemDialog, NeedsAScoringKind)
{
    SystemRow row;
    row.winDrawScoring = 5;
    const int id = AddSystem(row);
    LoadScoringSystem(id);
    CScoringSystemDialog dlg(id);
    ASSERT_TRUE(dlg.Initialise());
    EXPECT_EQ(Kind(dlg)->currentIndex(), -1);
    ExpectRejected(dlg, "No scoring system specified.\n");
    Kind(dlg)->setCurrentIndex(1);
    ClickOK(dlg);
    EXPECT_TRUE(dlg.HasEnded());
    EXPECT_EQ(Int(Sql("select winDrawScoring from System where id = %d", id)), 1);
}

TEST_F(ScoringSystemDialog, ExamplesAreValidAndScoreAsADirectorExpects)
{
    for (int kind = 0; kind <= 2; ++kind) {
        SCOPED_TRACE(kind);
        SystemValues example = ExampleSystemValues(kind);
        EXPECT_EQ(example.winDrawScoring, kind);
        EXPECT_EQ(SystemValueErrors(example, true), "");
        CScoringSystem s;
        s.formulas = example.formulas;
        const auto score = [&s](int slot, int scs, int num) {
            const float value = s.EvaluateScoreFormula(slot, 10, scs, num, 0, 0, 0, 0, 0);
            EXPECT_EQ(s.error, 0) << "slot " << slot;
            return value;
        };
        EXPECT_EQ(score(kScoreLoss, 0, 0), 0.0f);
        if (kind == 1) {
            // Each size of draw shares the same 100 points.
            for (int n = 1; n <= 7; ++n) EXPECT_NEAR(n * score(n, 5, n), 100.0, 0.01) << n << "-way";
            continue;
        }
        // A better place on the board with at least as many centres scores more.
        const int centres[7] = {12, 8, 6, 4, 3, 2, 1};
        for (int rank = 2; rank <= 7; ++rank)
            EXPECT_GT(score(rank - 1, centres[rank - 2], 1), score(rank, centres[rank - 1], 1)) << rank;
        // With both kinds the winners share 60 more; a seat outside the win gets none.
        EXPECT_EQ(score(kScoreProvisional, 8, 2), kind == 2 ? 30.0f : 0.0f);
        EXPECT_EQ(score(kScoreProvisional, 8, 0), 0.0f);
    }
}

TEST_F(ScoringSystemDialog, UseExampleFillsTheKindChosenAndWritesOnlyOnOK)
{
    const int ranking = LoadRankingSystem();
    CScoringSystemDialog dlg(ranking);
    ASSERT_TRUE(dlg.Initialise());
    Kind(dlg)->setCurrentIndex(1);
    ButtonByText(&dlg, "Use &Example")->click();
    // A stored system is never overwritten: the example starts a new one.
    EXPECT_FALSE(Edit(dlg, "Scoring System:")->isReadOnly());
    EXPECT_FALSE(Shown(ButtonByText(&dlg, "Create New System")));
    EXPECT_EQ(Edit(dlg, "Scoring System:")->text(), "Draw Size (example)");
    EXPECT_EQ(Edit(dlg, "Three-way draw:")->text(), "100 / 3");
    EXPECT_EQ(Edit(dlg, "Elimination or survival:")->text(), "0");
    EXPECT_EQ(FinalYear(dlg)->currentText(), "None");
    EXPECT_EQ(Count("select * from System"), 1);

    Edit(dlg, "Scoring System:")->setText("Club Draws");
    ClickOK(dlg);
    ASSERT_TRUE(dlg.HasEnded());
    EXPECT_EQ(Rows("select winDrawScoring, score1, score7 from System where name = 'Club Draws'")[0],
              (QStringList{"1", "100", "100 / 7"}));
    EXPECT_EQ(Rows(Sql("select name, score1 from System where id = %d", ranking))[0],
              (QStringList{"Centre Count", "scs * 2"}));
}
