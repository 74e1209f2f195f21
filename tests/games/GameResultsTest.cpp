// The rules of result entry on rows in memory: the years packing, the
// completion of a started game's rows, the settling of a changed row and the
// finishing checks.

#include "games/GameResults.h"
#include "support/DbTest.h"

#include <gtest/gtest.h>

namespace {

// A system with the given kind and inputs (the usage flags set directly).
CScoringSystem System(int winDrawScoring, int dias, bool years, bool ranking, bool totalSC)
{
    CScoringSystem s;
    s.winDrawScoring = winDrawScoring;
    s.dias = dias;
    s.usesYears = years;
    s.usesRanking = ranking;
    s.usesTotalSC = totalSC;
    return s;
}

// Seven rows on the seven powers with these results, final-year indexes and
// centres; Total SC's 3 (4 in the sixth row).
std::vector<GameRow> SevenRows(std::array<int, 7> results, std::array<int, 7> years, std::array<int, 7> centres)
{
    std::vector<GameRow> rows(7);
    for (size_t i = 0; i < 7; ++i) {
        rows[i].playerID = int(i) + 1;
        rows[i].name = QString("Player %1").arg(i + 1);
        rows[i].power = int(i);
        rows[i].result = results[i];
        rows[i].yearIndex = years[i];
        rows[i].centers = centres[i];
        rows[i].totalSC = i == kFourCentreRow ? "4" : "3";
    }
    return rows;
}

constexpr int W = kWin, L = kLoss, N = kNoResult;

}  // namespace

TEST(GameYears, PackTheFinalYearAndTheTotalSCFigureBothWays)
{
    const CScoringSystem withFigure = System(1, 1, true, true, true);
    GameRow row;
    row.yearIndex = 6;  // 1907
    row.totalSC = "5";
    EXPECT_EQ(RowYears(row), 506);
    row.yearIndex = -1;
    row.totalSC = "4";
    EXPECT_EQ(RowYears(row), -400);
    row.totalSC = "";
    EXPECT_EQ(RowYears(row), -1);
    row.totalSC = "12345678";  // more than a row can hold reads as none
    EXPECT_EQ(RowYears(row), -1);

    GameSeat seat{kFrance, kWin, 506, 10};
    ShowStoredSeat(row, seat, 2, withFigure);
    EXPECT_EQ(row.yearIndex, 6);
    EXPECT_EQ(row.totalSC, "5");
    seat.years = -400;
    ShowStoredSeat(row, seat, 2, withFigure);
    EXPECT_EQ(row.yearIndex, -1);
    EXPECT_EQ(row.totalSC, "4");
    seat.years = -1;
    ShowStoredSeat(row, seat, 2, withFigure);
    EXPECT_EQ(row.totalSC, "3");
    ShowStoredSeat(row, seat, kFourCentreRow, withFigure);
    EXPECT_EQ(row.totalSC, "4");
    ShowStoredSeat(row, {kFrance, kWin, 506, 10}, 2, System(1, 1, true, true, false));
    EXPECT_EQ(row.totalSC, "") << "a system without the figure shows none";
}

TEST(CompleteStartedRows, EighteenCentresLeaveEveryOtherPowerOutOfTheWin)
{
    std::vector<GameRow> rows = SevenRows({W, W, W, N, N, N, N}, {9, 9, 9, 9, 9, 9, 9}, {18, 5, 4, 3, 2, 1, 1});
    CompleteStartedRows(rows, System(0, 0, false, true, false));
    EXPECT_EQ(rows[0].result, kWin);
    for (size_t i = 1; i < 7; ++i) EXPECT_EQ(rows[i].result, kLoss) << i;

    // Without the SC count in use nothing is decided by it.
    rows = SevenRows({W, W, N, N, N, N, N}, {9, 9, 9, 9, 9, 9, 9}, {18, 5, 4, 3, 2, 1, 1});
    CompleteStartedRows(rows, System(1, 0, true, false, false));
    EXPECT_EQ(rows[1].result, kWin);
}

TEST(CompleteStartedRows, SurvivorsJoinTheDrawInTheLastYearWhenDrawsIncludeThem)
{
    const CScoringSystem drawAll = System(1, 1, true, true, false);
    // Row 0 ended in 1910; row 1 was just given 3 centres.
    std::vector<GameRow> rows = SevenRows({N, N, N, N, N, N, N}, {9, -1, -1, -1, -1, -1, -1}, {-1, 3, -1, -1, -1, -1, -1});
    CompleteStartedRows(rows, drawAll);
    EXPECT_EQ(rows[1].result, kWin);
    EXPECT_EQ(rows[1].yearIndex, 9);
    EXPECT_EQ(rows[0].result, kNoResult);

    // An eliminated power loses with no centres; a loss in a draw-all game
    // holds no centres either.
    rows = SevenRows({N, L, N, N, N, N, N}, {9, -1, 4, -1, -1, -1, -1}, {-1, -1, -1, 0, -1, -1, -1});
    CompleteStartedRows(rows, drawAll);
    EXPECT_EQ(rows[2].result, kLoss);
    EXPECT_EQ(rows[2].centers, 0);
    EXPECT_EQ(rows[3].result, kLoss);
    EXPECT_EQ(rows[1].centers, 0);

    // Without draws-include-all a survivor's result stays the director's.
    rows = SevenRows({N, N, N, N, N, N, N}, {9, -1, -1, -1, -1, -1, -1}, {-1, 3, -1, -1, -1, -1, -1});
    CompleteStartedRows(rows, System(1, 0, true, true, false));
    EXPECT_EQ(rows[1].result, kNoResult);
    EXPECT_EQ(rows[1].yearIndex, 9);

    // A winner ends in the last year; a power out before it loses.
    rows = SevenRows({N, W, W, N, N, N, N}, {9, -1, 2, -1, -1, -1, -1}, {-1, -1, -1, -1, -1, -1, -1});
    CompleteStartedRows(rows, System(1, 0, true, false, false));
    EXPECT_EQ(rows[1].yearIndex, 9);
    EXPECT_EQ(rows[2].result, kLoss);
    EXPECT_EQ(rows[2].yearIndex, 2);
}

TEST(SettleChangedRow, ResultsChangeOnlyWhileStartedAndPowersOnlyWhileUnlocked)
{
    const CScoringSystem s = System(1, 0, true, true, false);
    const GameSeat stored{kGermany, kLoss, 5, 2};
    std::vector<GameRow> rows = SevenRows({N, N, N, N, N, N, N}, {-1, -1, -1, -1, -1, -1, -1}, {-1, -1, -1, -1, -1, -1, -1});
    rows[3].power = kTurkey;
    rows[3].result = kWin;
    SettleChangedRow(rows, 3, stored, kUnstarted, false, s);
    EXPECT_EQ(rows[3].power, kTurkey);
    EXPECT_EQ(rows[3].result, kLoss);
    EXPECT_EQ(rows[3].yearIndex, 5);
    EXPECT_EQ(rows[3].centers, 2);

    rows[3].power = kTurkey;
    SettleChangedRow(rows, 3, stored, kUnstarted, true, s);
    EXPECT_EQ(rows[3].power, kGermany) << "locked";

    rows[3].power = kTurkey;
    rows[3].centers = 7;
    SettleChangedRow(rows, 3, stored, kFinished, false, s);
    EXPECT_EQ(rows[3].power, kGermany);
    EXPECT_EQ(rows[3].centers, 2);

    rows[3].power = kTurkey;
    rows[3].centers = 7;
    SettleChangedRow(rows, 3, stored, kStarted, false, s);
    EXPECT_EQ(rows[3].power, kTurkey);
    EXPECT_EQ(rows[3].centers, 7);
}

class FinishingChecks : public DbTest {};

TEST_F(FinishingChecks, TheFinalYearIsTestedAgainstTheRunningMaximum)
{
    const CScoringSystem yearsOnly = System(0, 0, true, false, false);
    // The greatest year is shared, but not by a row that met the maximum
    // as it ran: 1912 comes first, the two 1910s after it.
    EXPECT_EQ(FinishingFailure(SevenRows({N, N, N, N, N, N, N}, {11, 9, 9, 4, 4, 4, 4}, {}), yearsOnly),
              "Austria: no other power has the final year 1912.");
    // Two 1910s met the maximum before 1912 raised it.
    EXPECT_EQ(FinishingFailure(SevenRows({N, N, N, N, N, N, N}, {9, 9, 11, 4, 4, 4, 4}, {}), yearsOnly), "");
    // A row without a year ends the walk.
    EXPECT_EQ(FinishingFailure(SevenRows({N, N, N, N, N, N, N}, {9, -1, 9, 9, 9, 9, 9}, {}), yearsOnly),
              "England: no final year entered.");
    // Powers come first.
    std::vector<GameRow> rows = SevenRows({N, N, N, N, N, N, N}, {9, 9, 9, 9, 9, 9, 9}, {});
    rows[6].power = kAustria;
    EXPECT_EQ(FinishingFailure(rows, yearsOnly), "Austria: chosen for two players.");
    rows[6].power = kNoPower;
    EXPECT_EQ(FinishingFailure(rows, yearsOnly), "Player 7: no power chosen.");
}

TEST_F(FinishingChecks, ResultsMustBeCompleteAndWinnersLastToTheEnd)
{
    const CScoringSystem winDraw = System(1, 0, true, false, false);
    const std::array<int, 7> years = {9, 9, 9, 3, 3, 3, 3};
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, L, L, L, L, L}, years, {}), winDraw), "");
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, N, L, L, L, L}, years, {}), winDraw),
              "France: no result entered.") << "a row without result";
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, L, W, L, L, L}, years, {}), winDraw),
              "Germany: a winner must play on to the final year 1910.") << "a winner out early";

    // A system that never asks for the final year still needs every result.
    const CScoringSystem noYears = System(1, 0, false, false, false);
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, L, L, L, L, L}, {}, {}), noYears), "");
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, N, L, L, L, L}, {}, {}), noYears), "France: no result entered.");

    // With draws including all survivors, a survivor left out of a draw
    // fails; a solo victory may leave survivors out.
    const CScoringSystem drawAll = System(1, 1, true, true, false);
    ui().Expect("Unowned Centers??", MsgAnswer::Yes);
    EXPECT_EQ(FinishingFailure(SevenRows({W, L, L, L, L, L, L}, years, {20, 5, 0, 0, 0, 0, 0}), drawAll), "");
    EXPECT_EQ(FinishingFailure(SevenRows({W, W, L, L, L, L, L}, years, {20, 5, 9, 0, 0, 0, 0}), drawAll),
              "France: a survivor to the final year must be in the draw.");
}

TEST_F(FinishingChecks, TotalSCFiguresMustBeAtLeastThreeAndFourInTheSixthRow)
{
    const CScoringSystem figures = System(0, 0, true, false, true);
    const std::array<int, 7> years = {9, 9, 9, 3, 3, 3, 3};
    std::vector<GameRow> rows = SevenRows({}, years, {});
    EXPECT_EQ(FinishingFailure(rows, figures), "");
    rows[kFourCentreRow].totalSC = "3";
    EXPECT_EQ(FinishingFailure(rows, figures), "Russia: Total SC's must be at least 4.");
    rows[kFourCentreRow].totalSC = "4";
    rows[0].totalSC = "";
    EXPECT_EQ(FinishingFailure(rows, figures), "Austria: no Total SC's entered.");
    rows[0].totalSC = "2";
    EXPECT_EQ(FinishingFailure(rows, figures), "Austria: Total SC's must be at least 3.");
}

TEST_F(FinishingChecks, EveryRowNeedsAnSCCountAndTheCountsTheBoard)
{
    const CScoringSystem ranked = System(0, 0, false, true, false);
    const std::array<int, 7> none = {-1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(FinishingFailure(SevenRows({}, none, {10, 8, 6, 5, 3, 2, 0}), ranked), "");
    // A missing count fails without asking about the total.
    EXPECT_EQ(FinishingFailure(SevenRows({}, none, {10, 8, 6, 5, 3, -1, 0}), ranked), "Russia: no SC count entered.");
    EXPECT_TRUE(ui().Messages().empty());

    ui().Expect("Bad SC Count").Text("The supply center count is greater than 34.").Icon(MsgIcon::Exclamation);
    EXPECT_EQ(FinishingFailure(SevenRows({}, none, {10, 8, 6, 5, 3, 2, 1}), ranked), "The SC counts add up to 35.");
    ui().Expect("Unowned Centers??", MsgAnswer::No)
        .Text("The total number of owned supply centers is not 34.\nAre you sure this total is correct?")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    EXPECT_EQ(FinishingFailure(SevenRows({}, none, {10, 8, 6, 5, 3, 1, 0}), ranked), "The SC counts add up to 33.");
    ui().Expect("Unowned Centers??", MsgAnswer::Yes);
    EXPECT_EQ(FinishingFailure(SevenRows({}, none, {10, 8, 6, 5, 3, 1, 0}), ranked), "");

    // A winner without centres fails, and then no question is asked.
    const CScoringSystem both = System(2, 0, false, true, false);
    EXPECT_EQ(FinishingFailure(SevenRows({W, L, L, L, L, L, L}, none, {0, 8, 6, 5, 3, 1, 0}), both),
              "Austria: a winner must own a supply center.");
}
