#include "scoring/ScoringSystem.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"

CScoringSystem ScoringSystem;

void CScoringSystem::Load(int systemID)
{
    CRecordset rs(Sql("select name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, score4, "
                      "score5, score6, score7, scoreProvisional from System where id = %d",
                      systemID));
    if (rs.IsEOF()) throw DbError(Format("Scoring system %d does not exist.", systemID));
    id = systemID;
    name = rs.GetString(0);
    dias = rs.GetInt(1);
    winDrawScoring = rs.GetInt(2);
    finalYear = rs.GetInt(3);
    for (int slot = 0; slot < kFormulaCount; ++slot) formulas[size_t(slot)] = rs.GetString(4 + slot);
    DeriveUsageFlags();
    error = 0;
}

void CScoringSystem::DeriveUsageFlags()
{
    usesYears = 0;
    usesRanking = winDrawScoring != 1 ? 1 : 0;
    usesProvisional = 0;
    usesTotalSC = 0;
    auto mentions = [](const QString& text, std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (text.contains(QLatin1String(n), Qt::CaseSensitive)) return true;
        return false;
    };
    for (const QString& formula : formulas) {
        if (mentions(formula, {"yrs"})) usesYears = 1;
        if (mentions(formula, {"scs", "big", "tie", "srv"})) usesRanking = 1;
        if (mentions(formula, {"prov", "avgp", "mulp", "sump", "minp", "maxp"})) usesProvisional = 1;
        if (mentions(formula, {"ctrs", "sumc", "avgc", "mulc", "minc", "maxc"})) usesTotalSC = 1;
    }
    if (winDrawScoring == 2) usesProvisional = 1;
}
