#include "scoring/ScoringSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Evaluates formulas with fixed, distinct inputs for every variable.
class Formula : public testing::Test {
protected:
    struct Outcome {
        float value;
        bool error;
    };

    // yrs 5, scs 10, num 3, power France, big 2, tie 1, srv 14, ldr 12.
    Outcome Eval(const QString& text, int power = 2)
    {
        system.formulas[kScore1] = text;
        const float value = system.EvaluateScoreFormula(kScore1, 5, 10, 3, power, 2, 1, 14, 12);
        return {value, system.error != 0};
    }

    void ExpectValue(const QString& text, float expected)
    {
        const Outcome o = Eval(text);
        EXPECT_FALSE(o.error) << text.toStdString();
        EXPECT_EQ(o.value, expected) << text.toStdString();
    }

    void ExpectError(const QString& text)
    {
        const Outcome o = Eval(text);
        EXPECT_TRUE(o.error) << text.toStdString();
        EXPECT_EQ(o.value, 0.0f) << text.toStdString();
    }

    CScoringSystem system;
};

}  // namespace

TEST_F(Formula, AppliesPrecedenceLevelsLeftToRight)
{
    ExpectValue("1 + 2 * 3", 7);
    ExpectValue("(1 + 2) * 3", 9);
    ExpectValue("10 - 4 - 3", 3);
    ExpectValue("8 / 4 / 2", 1);
    ExpectValue("2 * 3 - 4 * 5 + 6", -8);
    ExpectValue("yrs + scs * num - ldr", 5 + 10 * 3 - 12);
    ExpectValue("12 - 6 / 3 * 2", 8);
    ExpectValue("scs > 10 = 0", 1);  // (scs > 10) = 0
    ExpectValue("1 + 1 = 2", 1);
    ExpectValue("3 < 4 + 1", 1);
    ExpectValue("2 = 2 = 1", 1);      // (2 = 2) = 1
    ExpectValue("5 > 3 > 0", 1);      // (5 > 3) > 0
    ExpectValue("((2))", 2);
    ExpectValue("\t2 *\t( 3 + 4 ) ", 14);
}

TEST_F(Formula, ComparesAndDivides)
{
    ExpectValue("scs ^ 10", 1);
    ExpectValue("scs ^ 11", 0);
    ExpectValue("scs > 10", 0);
    ExpectValue("scs < 11", 1);
    ExpectValue("scs=10", 1);
    ExpectValue("scs=10.5", 0);
    ExpectValue("7/0", 0);
    ExpectValue("7/(3-3)", 0);
    ExpectValue("7/2", 3.5f);
    ExpectValue("1/3", 1.0f / 3.0f);
}

TEST_F(Formula, ComputesInSinglePrecision)
{
    ExpectValue("0.1 + 0.2 = 0.3", 1);            // false in double precision
    ExpectValue("16777216 + 1 - 16777216", 0);    // 2^24 + 1 is not a float
    ExpectValue("0.14285715 * 7", 0.14285715f * 7.0f);
}

TEST_F(Formula, ReadsAMinusOnlyAtTheVeryStart)
{
    ExpectValue("-5", -5);
    ExpectValue("(-5)", -5);
    ExpectValue("-3*yrs", -15);
    ExpectValue("-3-2", -5);
    ExpectValue("2*(0-5)", -10);
    ExpectValue("2*(-5)", -10);
    ExpectError(" -5");
    ExpectError("2*-5");
    ExpectError("2*( -5)");
    ExpectError("--5");
    ExpectError("-");
}

TEST_F(Formula, ReadsNamesAndNumbers)
{
    ExpectValue("0.5", 0.5f);
    ExpectValue("2.5", 2.5f);
    ExpectValue("2x", 2);      // the longest leading number
    ExpectValue("2.x", 2);
    ExpectValue("1.2.3", 1.2f);
    ExpectValue("007", 7);
    ExpectValue("3_000", 3);
    ExpectError(".5");
    ExpectError("Yrs");
    ExpectError("YRS");
    ExpectError("yrs2");
    ExpectError("x");
    ExpectError("_1");
    // Numbers beyond single precision become infinite, not undefined.
    EXPECT_EQ(Eval(QString(45, QChar('9'))).value, std::numeric_limits<float>::infinity());
    ExpectValue("0." + QString(60, QChar('0')) + "1", 0);
}

TEST_F(Formula, ReadsEveryVariable)
{
    ExpectValue("yrs", 5);
    ExpectValue("scs", 10);
    ExpectValue("num", 3);
    ExpectValue("big", 2);
    ExpectValue("tie", 1);
    ExpectValue("srv", 14);
    ExpectValue("ldr", 12);
    const char* powers[] = {"aus", "eng", "fra", "ger", "ita", "rus", "tur"};
    for (int power = 0; power < 7; ++power)
        for (int name = 0; name < 7; ++name)
            EXPECT_EQ(Eval(powers[name], power).value, name == power ? 1.0f : 0.0f) << powers[name] << power;
}

TEST_F(Formula, AggregatesTheSevenPowers)
{
    system.prov = {10, 20, 30, 40, 50, 60, 70};
    system.ctrs = {3, 5, 2, 4, 6, 4, 3};
    ExpectValue("prov", 30);  // France
    ExpectValue("sump", 280);
    EXPECT_NEAR(Eval("avgp").value, 40.0f, 1e-4);
    ExpectValue("avgp", 280.0f * 0.14285715f);
    ExpectValue("mulp", 10.0f * 20 * 30 * 40 * 50 * 60 * 70);
    ExpectValue("minp", 10);
    ExpectValue("maxp", 70);
    ExpectValue("ctrs", 2);
    ExpectValue("sumc", 27);
    ExpectValue("avgc", 27.0f * 0.14285715f);
    ExpectValue("mulc", 3.0f * 5 * 2 * 4 * 6 * 4 * 3);
    ExpectValue("minc", 2);
    ExpectValue("maxc", 6);
    ExpectValue("maxp - minp + ctrs", 62);

    // The aggregates range over all seven entries, whatever they hold.
    system.prov = {-4, 0, 0, 0, 0, 0, 9};
    ExpectValue("minp", -4);
    ExpectValue("mulp", 0);
    // A product of figures that overflows an int is still computed.
    system.ctrs = {34, 34, 34, 34, 34, 34, 34};
    ExpectValue("mulc", 34.0f * 34 * 34 * 34 * 34 * 34 * 34);
    // A seat without a power reads no power's entry.
    system.formulas[kScore1] = "prov + ctrs + aus";
    EXPECT_EQ(system.EvaluateScoreFormula(kScore1, 0, 0, 0, -1, 0, 0, 0, 0), 0.0f);
    EXPECT_EQ(system.error, 0);
}

TEST_F(Formula, ReportsMalformedFormulas)
{
    ExpectError("()");
    ExpectError("2 3");        // two operands in a row
    ExpectError("2 +");        // an operator without its right operand
    ExpectError("2 + ");
    ExpectError("+2");
    ExpectError("* 2");
    ExpectError("2 $ 3");
    ExpectError("2 ) 3");
    ExpectError(")");
    ExpectError("2 # ");
    ExpectError("yrs\n");      // only blanks and tabs separate tokens
    ExpectError("2 + (3 * )");
    ExpectError("(2)(3)");
    ExpectError(QString::fromUtf8("2 \u00d7 3"));
    ExpectError("1 + x * 0");  // an unknown name fails even where it would not count
}

TEST_F(Formula, EndsAtAnUnclosedGroupInOperandPlace)
{
    ExpectError("(yrs");       // nothing was read before it
    ExpectValue("3 (4", 3);
    ExpectValue("3 (4 + x", 3);
    ExpectError("3 + (4");     // a right operand must be there
    ExpectError("(3 + (4)");
    ExpectValue("3 ((4)", 3);
}

TEST_F(Formula, BoundsItsFixedStorage)
{
    // 50 operands and 49 operators fill one level's 99 tokens.
    QString sum = "1";
    for (int i = 1; i < 50; ++i) sum += "+1";
    ExpectValue(sum, 50);
    ExpectError(sum + "+1");
    ExpectValue("(" + sum + ")+(" + sum + ")", 100);  // every level has its own

    QString deep = "1";
    for (int i = 0; i < kMaxFormulaDepth; ++i) deep = "(" + deep + ")";
    ExpectValue(deep, 1);
    ExpectError("(" + deep + ")");
    ExpectError(QString(100000, QChar('(')) + QString(100000, QChar(')')));

    const QString longest = "1" + QString(kMaxFormulaName - 1, QChar('0'));
    EXPECT_FALSE(Eval(longest).error);
    ExpectError(longest + "0");
    // Formula texts themselves are not cut at any length.
    QString wide = "1";
    for (int i = 0; i < 90; ++i) wide += "        ";
    ExpectValue(wide + "+ 1", 2);
}

TEST_F(Formula, KeepsTheErrorFlagUntilTheNextScoreFormula)
{
    system.formulas[kScoreLoss] = "";
    system.error = 1;
    EXPECT_EQ(system.EvaluateScoreFormula(kScoreLoss, 1, 1, 1, 0, 0, 0, 0, 0), 0.0f);
    EXPECT_EQ(system.error, 0);  // an empty formula is 0 without error

    ExpectError("x");
    // While the flag is set, every further evaluation yields 0.
    EXPECT_EQ(system.EvaluateFormula(u"1 + 2", 0, 0, 0, 0, 0, 0, 0, 0), 0.0f);
    EXPECT_EQ(system.error, 1);
    ExpectValue("1 + 2", 3);

    EXPECT_EQ(system.EvaluateScoreFormula(kFormulaCount, 0, 0, 0, 0, 0, 0, 0, 0), 0.0f);
    EXPECT_EQ(system.error, 1);
    EXPECT_EQ(system.EvaluateScoreFormula(-1, 0, 0, 0, 0, 0, 0, 0, 0), 0.0f);
    EXPECT_EQ(system.error, 1);
}

TEST_F(Formula, EvaluatesTheSlotAsked)
{
    for (int slot = 0; slot < kFormulaCount; ++slot) system.formulas[size_t(slot)] = QString::number(slot * 10);
    for (int slot = 0; slot < kFormulaCount; ++slot)
        EXPECT_EQ(system.EvaluateScoreFormula(slot, 0, 0, 0, 0, 0, 0, 0, 0), float(slot * 10));
}
