#include "db/Database.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"

using namespace testdata;

class LoadScoringSystemTest : public DbTest {};

TEST_F(LoadScoringSystemTest, ReadsTheRowIntoTheLoadedSystem)
{
    SystemRow row;
    row.name = "Draw Size";
    row.dias = 0;
    row.finalYear = 1910;
    row.scoreLoss = "1";
    row.scoreProvisional = "scs";
    const int id = AddSystem(row);
    LoadScoringSystem(id);
    EXPECT_EQ(ScoringSystem.id, id);
    EXPECT_EQ(ScoringSystem.name, "Draw Size");
    EXPECT_EQ(ScoringSystem.dias, 0);
    EXPECT_EQ(ScoringSystem.winDrawScoring, 1);
    EXPECT_EQ(ScoringSystem.finalYear, 1910);
    EXPECT_EQ(ScoringSystem.formulas[kScoreLoss], "1");
    EXPECT_EQ(ScoringSystem.formulas[kScore1], "7");
    EXPECT_EQ(ScoringSystem.formulas[kScore7], "1");
    EXPECT_EQ(ScoringSystem.formulas[kScoreProvisional], "scs");
    EXPECT_EQ(ScoringSystem.error, 0);
}

TEST_F(LoadScoringSystemTest, DerivesWhatTheFormulasUse)
{
    struct Case {
        int winDrawScoring;
        QString score1;
        int years, ranking, provisional, totalSC;
    };
    const Case cases[] = {
        {1, "7", 0, 0, 0, 0},
        {0, "7", 0, 1, 0, 0},            // ranking by centres always uses them
        {2, "7", 0, 1, 1, 0},            // both kinds add the provisional score
        {1, "10 - yrs", 1, 0, 0, 0},
        {1, "big + 1", 0, 1, 0, 0},
        {1, "xtie", 0, 1, 0, 0},         // a name inside a longer word counts
        {1, "avgp * 2", 0, 0, 1, 0},
        {1, "ctrs / sumc", 0, 0, 0, 1},
        {1, "Yrs + SCS", 0, 0, 0, 0},    // the search is case-sensitive
    };
    for (const Case& c : cases) {
        SystemRow row;
        row.name = "S" + QString::number(&c - cases);
        row.winDrawScoring = c.winDrawScoring;
        row.score[0] = c.score1;
        LoadScoringSystem(AddSystem(row));
        EXPECT_EQ(ScoringSystem.usesYears, c.years) << c.score1.toStdString();
        EXPECT_EQ(ScoringSystem.usesRanking, c.ranking) << c.score1.toStdString();
        EXPECT_EQ(ScoringSystem.usesProvisional, c.provisional) << c.score1.toStdString();
        EXPECT_EQ(ScoringSystem.usesTotalSC, c.totalSC) << c.score1.toStdString();
    }
}

TEST_F(LoadScoringSystemTest, OfAMissingRowIsAnError)
{
    const int id = AddSystem();
    LoadScoringSystem(id);
    try {
        LoadScoringSystem(id + 5);
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.Message(), QString("Scoring system %1 does not exist.").arg(id + 5));
    }
    EXPECT_EQ(ScoringSystem.id, id);  // the loaded system is untouched
}
