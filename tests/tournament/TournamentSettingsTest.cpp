#include "tournament/TournamentSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A form that passes every rule: three heats, no teams, no multipliers.
TournamentForm ValidForm()
{
    TournamentForm f;
    f.name = "Spring Open";
    f.numHeats = 3;
    f.minHeats = 1;
    f.powerAssignmentItem = 0;
    f.groupPowersItem = 0;
    f.teamSizeItem = 0;
    f.scoredGamesItem = -1;
    f.playerConflict = 1;
    return f;
}

QString ErrorsWith(void (*change)(TournamentForm&))
{
    TournamentForm f = ValidForm();
    change(f);
    return TournamentFormErrors(f);
}

LowHeatMultipliers Low(int n, int m, float x, float y) { return {n, m, x, y}; }
TypedLowHeats Typed(long long n, long long m, float x, float y) { return {n, m, x, y}; }

void ExpectLow(const LowHeatMultipliers& got, int n, int m, float x, float y)
{
    EXPECT_EQ(got.lowest, n);
    EXPECT_EQ(got.nextLowest, m);
    EXPECT_FLOAT_EQ(got.x, x);
    EXPECT_FLOAT_EQ(got.y, y);
}

}  // namespace

TEST(TournamentRules, AcceptAPlainTournament) { EXPECT_EQ(TournamentFormErrors(ValidForm()), ""); }

TEST(TournamentRules, AllowOneToNineHeats)
{
    // No heats also leaves no room for the minimum or the low heats.
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.numHeats = 0; }),
              "Number of Heats must be between 1 and 9.\nImproper minimum heat requirement.\n"
              "Improper number of low heats.\n");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.numHeats = 10; }), "Number of Heats must be between 1 and 9.\n");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.numHeats = 9; }), "");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.numHeats = 1; }), "");
}

TEST(TournamentRules, CheckTheMinimumAgainstTheHeats)
{
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.minHeats = 0; }), "Improper minimum heat requirement.\n");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.minHeats = 4; }), "Improper minimum heat requirement.\n");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.minHeats = 3; }), "");
}

TEST(TournamentRules, LeaveAtLeastOneHeatUnmultiplied)
{
    const QString improper = "Improper number of low heats.\n";
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(2, 1, 0.5f, 0.25f); }), "");  // N + M may be all heats
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(3, 0, 0.5f, 0); }), improper);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(2, 2, 0.5f, 0.25f); }), improper);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(-1, 0, 0, 0); }), improper);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(1, -1, 0.5f, 0); }), improper);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(0, 1, 0, 0.5f); }),
              "'Next-Lowest' requires some number of 'Lowest' Heats.\n");
}

TEST(TournamentRules, KeepMultipliersBelowAHundred)
{
    const QString range = "Low heat multipliers must be between 0 and 100.\n";
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(1, 1, 99.99f, 0); }), "");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(1, 1, 100, 0.5f); }), range);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(1, 1, 0.5f, -0.25f); }), range);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.low = Typed(1, 1, std::nanf(""), 0); }), range);
}

TEST(TournamentRules, CheckTeamsOnlyInTeamTournaments)
{
    // Without teams the team fields are not looked at.
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.teamConflict = 0, f.teamHeatValue = 0; }), "");
    auto teams = [](TournamentForm& f) {
        f.teamSizeItem = 1;
        f.scoredGamesItem = kTeamsScoreInSingleHeat;
        f.teamHeatValue = 3;
        f.teamConflict = 1;
    };
    TournamentForm f = ValidForm();
    teams(f);
    EXPECT_EQ(TournamentFormErrors(f), "");
    f.teamHeatValue = 4;
    EXPECT_EQ(TournamentFormErrors(f), "Invalid team-heat information.\n");
    f.teamHeatValue = 0;
    f.scoredGamesItem = -1;
    f.teamConflict = 0;
    EXPECT_EQ(TournamentFormErrors(f),
              "No team system specified.\nInvalid team-heat information.\nTeam conflict value must be positive.\n");
}

TEST(TournamentRules, CheckConflictValues)
{
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.playerConflict = 0; }),
              "Player conflict value must be positive.\n");
    const QString grouping = "Power grouping requires player conflict value to be two or more.\n";
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.groupPowersItem = 1; }), grouping);
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.groupPowersItem = -1; }), grouping);  // no choice is no "NO"
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.groupPowersItem = 3, f.playerConflict = 2; }), "");
    // A negative power conflict only matters when the tables choose the powers.
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.powerConflict = -1; }), "");
    EXPECT_EQ(ErrorsWith([](TournamentForm& f) { f.powerConflict = -1, f.powerAssignmentItem = 1; }),
              "Power conflict value must be non-negative.\n");
}

TEST(TournamentRules, ReportEveryFailureInOrder)
{
    TournamentForm f;
    f.name = "";
    f.numHeats = 10;
    f.heatsBeyondNumber = true;
    f.minHeats = 0;
    f.low = Typed(0, 11, 0, 100);
    f.powerAssignmentItem = -1;
    f.groupPowersItem = 2;
    f.teamSizeItem = 5;
    f.scoredGamesItem = -1;
    f.teamHeatValue = 11;
    f.playerConflict = 0;
    f.teamConflict = 0;
    EXPECT_EQ(TournamentFormErrors(f),
              "A tournament name must be specified.\n"
              "Number of Heats must be between 1 and 9.\n"
              "Heats beyond the specified number of heats already exist.\n"
              "Improper minimum heat requirement.\n"
              "Improper number of low heats.\n"
              "'Next-Lowest' requires some number of 'Lowest' Heats.\n"
              "Method of power assignment must be specified.\n"
              "No team system specified.\n"
              "Invalid team-heat information.\n"
              "Player conflict value must be positive.\n"
              "Power grouping requires player conflict value to be two or more.\n"
              "Team conflict value must be positive.\n"
              "Low heat multipliers must be between 0 and 100.\n");
    f = ValidForm();
    f.powerAssignmentItem = 1;
    f.powerConflict = -2;
    f.playerConflict = -1;
    f.low.x = -1;
    EXPECT_EQ(TournamentFormErrors(f),
              "Player conflict value must be positive.\n"
              "Power conflict value must be non-negative.\n"
              "Low heat multipliers must be between 0 and 100.\n");
}

TEST(TournamentRules, RefuseNumbersOutsideTheirRanges)
{
    struct Case {
        const char* what;
        void (*change)(TournamentForm&);
        const char* errors;
    };
    const Case cases[] = {
        // A count too large for an int is refused by the rule it breaks, not wrapped round.
        {"huge lowest", [](TournamentForm& f) { f.low = Typed(99999999999, 0, 0.5f, 0); },
         "Improper number of low heats.\n"},
        {"huge next lowest", [](TournamentForm& f) { f.low = Typed(1, 99999999999, 0.5f, 0.25f); },
         "Improper number of low heats.\n"},
        {"both at the reading limit",
         [](TournamentForm& f) { f.low = Typed(kTypedNumberLimit, kTypedNumberLimit, 0.5f, 0.25f); },
         "Improper number of low heats.\n"},
        {"huge minimum", [](TournamentForm& f) { f.minHeats = 99999999999; }, "Improper minimum heat requirement.\n"},
        {"player conflict 999", [](TournamentForm& f) { f.playerConflict = 999; }, ""},
        {"player conflict 1000", [](TournamentForm& f) { f.playerConflict = 1000; },
         "Player conflict value must be between 1 and 999.\n"},
        {"huge player conflict", [](TournamentForm& f) { f.playerConflict = 99999999999; },
         "Player conflict value must be between 1 and 999.\n"},
        {"power conflict -999", [](TournamentForm& f) { f.powerConflict = -999; }, ""},
        {"power conflict -1000", [](TournamentForm& f) { f.powerConflict = -1000; },
         "Power conflict value must be between -999 and 999.\n"},
        {"power conflict 1000 at the tables", [](TournamentForm& f) { f.powerConflict = 1000, f.powerAssignmentItem = 1; },
         "Power conflict value must be between 0 and 999.\n"},
        {"negative at the tables is the one rule",
         [](TournamentForm& f) { f.powerConflict = -5000, f.powerAssignmentItem = 1; },
         "Power conflict value must be non-negative.\n"},
        {"team conflict 1000",
         [](TournamentForm& f) {
             f.teamSizeItem = 1, f.scoredGamesItem = 0, f.teamHeatValue = 1;
             f.teamConflict = 1000;
         },
         "Team conflict value must be between 1 and 999.\n"},
        {"team conflict unchecked without teams", [](TournamentForm& f) { f.teamConflict = 99999999999; }, ""},
        {"huge team heat",
         [](TournamentForm& f) { f.teamSizeItem = 1, f.scoredGamesItem = 0, f.teamHeatValue = 99999999999, f.teamConflict = 1; },
         "Invalid team-heat information.\n"},
        {"unplayed score -9999", [](TournamentForm& f) { f.unplayedScore = -9999; }, ""},
        {"unplayed score 10000", [](TournamentForm& f) { f.unplayedScore = 10000; },
         "Unplayed score must be between -9999 and 9999.\n"},
        {"huge unplayed score", [](TournamentForm& f) { f.unplayedScore = -99999999999; },
         "Unplayed score must be between -9999 and 9999.\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorsWith(c.change), c.errors) << c.what;
}

TEST(TournamentRules, RefuseTextsTheStoreOrTheReportFilesCannotTake)
{
    struct Case {
        QString name;
        QString description;
        const char* errors;
    };
    const QString cjk = QString::fromUtf8("\u6b27");          // 3 bytes in UTF-8
    const QString emoji = QString::fromUtf8("\U0001F600");    // 4 bytes, one character
    const Case cases[] = {
        {QString(80, QChar('N')), QString(2000, QChar('d')), ""},
        {QString(81, QChar('N')), "", "The tournament name may have at most 80 characters (it has 81).\n"},
        {"Cup", QString(2001, QChar('d')), "The description may have at most 2000 characters (it has 2001).\n"},
        {QString("Cup") + QChar(u'\0'), "",
         "The tournament name holds the character U+0000 at position 4, which cannot be stored.\n"},
        {"Cup", QChar(0xFEFF) + QString("Notes"),
         "The description holds the character U+FEFF at position 1, which cannot be stored.\n"},
        // "<name> Heat 9 Seeding.txt" and its temporary name must fit 255 bytes.
        {emoji.repeated(57), "", ""},
        {emoji.repeated(58), "", "The tournament name is too long for the names of its report files.\n"},
        {cjk.repeated(80), "", "The tournament name is too long for the names of its report files.\n"},
    };
    for (const Case& c : cases) {
        TournamentForm f = ValidForm();
        f.name = c.name;
        f.description = c.description;
        EXPECT_EQ(TournamentFormErrors(f), c.errors) << c.name.left(10).toStdString();
    }
}

TEST(TournamentRules, NameTheFieldOfEachFailure)
{
    // A fresh form, as a new tournament opens: the name comes first.
    TournamentForm fresh;
    fresh.numHeats = 0;
    std::vector<TournamentField> fields;
    for (const TournamentProblem& p : TournamentFormProblems(fresh)) fields.push_back(p.field);
    EXPECT_EQ(fields, (std::vector<TournamentField>{TournamentField::Name, TournamentField::NumHeats,
                                                     TournamentField::MinHeats, TournamentField::Lowest}));
    TournamentForm f = ValidForm();
    f.low = Typed(1, 0, 0.5f, 100);
    f.unplayedScore = 10000;
    fields.clear();
    for (const TournamentProblem& p : TournamentFormProblems(f)) fields.push_back(p.field);
    EXPECT_EQ(fields, (std::vector<TournamentField>{TournamentField::NextMultiplier, TournamentField::UnplayedScore}));
}

TEST(LowHeatCorrections, PlainUpPointlessSettings)
{
    struct Case {
        const char* what;
        LowHeatMultipliers before;
        bool corrected;
        LowHeatMultipliers after;
    };
    const Case cases[] = {
        {"equal multipliers merge", Low(1, 1, 0.5f, 0.5f), true, Low(2, 0, 0.5f, 0)},
        {"a single multiplier of 1 does nothing", Low(2, 0, 1, 0), true, Low(0, 0, 0, 0)},
        {"a second multiplier of 1 does nothing", Low(1, 2, 0.5f, 1), true, Low(1, 0, 0.5f, 0)},
        {"both of 1 merge, then go", Low(1, 1, 1, 1), true, Low(0, 0, 0, 0)},
        {"a second multiplier without heats", Low(1, 0, 0.5f, 0.75f), true, Low(1, 0, 0.5f, 0)},
        {"a multiplier without lowest heats", Low(0, 0, 5, 0), true, Low(0, 0, 0, 0)},
        {"nothing to multiply", Low(0, 0, 0, 0), false, Low(0, 0, 0, 0)},
        {"1 beside a real second multiplier", Low(1, 1, 1, 0.5f), false, Low(1, 1, 1, 0.5f)},
        {"two real multipliers", Low(1, 1, 0.5f, 0.25f), false, Low(1, 1, 0.5f, 0.25f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LowHeatMultipliers m = c.before;
        EXPECT_EQ(CorrectLowHeatMultipliers(m), c.corrected);
        ExpectLow(m, c.after.lowest, c.after.nextLowest, c.after.x, c.after.y);
    }
}

TEST(TournamentEncodings, PackTheLowHeats)
{
    EXPECT_EQ(EncodeDropHeats(1, 1), 11);
    EXPECT_EQ(EncodeDropHeats(3, 0), 3);
    EXPECT_FLOAT_EQ(EncodeMultDrop(0.5f, 0.25f), 2500.5f);
    EXPECT_FLOAT_EQ(EncodeMultDrop(99, 0.25f), 2599.0f);

    ExpectLow(DecodeLowHeats(11, 2500.5f), 1, 1, 0.5f, 0.25f);
    ExpectLow(DecodeLowHeats(11, 2599.0f), 1, 1, 99, 0.25f);
    ExpectLow(DecodeLowHeats(21, 7599.75f), 1, 2, 99.75f, 0.75f);
    // Without next-lowest heats the upper part is not a multiplier.
    ExpectLow(DecodeLowHeats(2, 2500.5f), 2, 0, 0.5f, 0);
    // A stray huge stored value decodes without overflowing.
    const LowHeatMultipliers huge = DecodeLowHeats(11, 1e20f);
    EXPECT_GE(huge.x, 0);
    EXPECT_LT(huge.x, 100);
    EXPECT_GT(huge.y, 100);
}

TEST(TournamentEncodings, SignTheTeamHeat)
{
    EXPECT_EQ(EncodeTeamHeat(2, kSumGamesWithoutInterplay), -2);
    EXPECT_EQ(EncodeTeamHeat(3, kTeamsScoreInSingleHeat), 3);
    EXPECT_EQ(EncodeTeamHeat(0, -1), 0);
    EXPECT_EQ(DecodeTeamHeat(-2).heatValue, 2);
    EXPECT_EQ(DecodeTeamHeat(-2).scoredGamesItem, kSumGamesWithoutInterplay);
    EXPECT_EQ(DecodeTeamHeat(3).heatValue, 3);
    EXPECT_EQ(DecodeTeamHeat(3).scoredGamesItem, kTeamsScoreInSingleHeat);
    EXPECT_EQ(DecodeTeamHeat(0).scoredGamesItem, kTeamsScoreInSingleHeat);
}

TEST(TournamentTyping, ReadsLeadingNumbersAndNothingElse)
{
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("three"), 0);
    EXPECT_EQ(ParseInteger(" 12 heats"), 12);
    EXPECT_EQ(ParseInteger("-3"), -3);
    // Numbers too large for an int are read as they are, so they can be refused.
    EXPECT_EQ(ParseInteger("99999999999"), 99999999999);
    EXPECT_EQ(ParseInteger("-99999999999999999999"), -kTypedNumberLimit);
    EXPECT_FLOAT_EQ(ParseReal("0.50"), 0.5f);
    EXPECT_FLOAT_EQ(ParseReal(".25x"), 0.25f);
    EXPECT_FLOAT_EQ(ParseReal("1e2"), 100);
    EXPECT_FLOAT_EQ(ParseReal("2,5"), 2);
    EXPECT_FLOAT_EQ(ParseReal("nan"), 0);
    EXPECT_FLOAT_EQ(ParseReal("inf"), 0);
    EXPECT_FLOAT_EQ(ParseReal(""), 0);
}
