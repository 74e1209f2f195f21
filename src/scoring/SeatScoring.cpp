// The score of one seat of a finished game.
//
// The seat's result and centres choose a formula: with win/draw scoring the
// size of the win or draw (a solo win score1, a three-way draw score3, all
// others scoreLoss); with supply-centre ranking the seat's rank on the board
// (eliminated powers scoreLoss), where tied seats may share the mean of the
// formulas of the ranks they occupy. The formulas see the game's figures:
// the size of the win or draw or the number of survivors, the centres left
// to the others, and the leader's count. With both kinds together every seat
// also receives its power's provisional score.

#include "scoring/ScoringSystem.h"

#include "db/ValueCodes.h"

namespace {

bool IsPower(int powerID) { return powerID >= 0 && powerID < kPowerCount; }

}  // namespace

SeatScore CScoringSystem::ScoreSeat(const GameSeat& seat, std::span<const GameSeat> gameSeats)
{
    const int sc = seat.centers;
    const int yrs = seat.years < 0 ? 0 : seat.years % 100 + 1;

    // The game's figures over all its rows.
    int ldr = 0, rank = 1, tied = 0, winners = 0, winnerCentres = 0, survivors = 0;
    bool first = true;
    for (const GameSeat& row : gameSeats) {
        if (first || row.centers > ldr) ldr = row.centers;
        first = false;
        if (row.centers > sc) ++rank;
        if (row.centers == sc) ++tied;
        if (row.result == kWin) {
            ++winners;
            winnerCentres += row.centers;
        }
        if (row.centers > 0) ++survivors;
    }
    const bool winDrawFigures = winDrawScoring == 1 || winDrawScoring == 2;
    const int num = winDrawFigures ? winners : survivors;
    const int srv = winDrawFigures ? 34 - winnerCentres : 34 - ldr;

    // The first formula slot and how many slots the seat's tie spans.
    int slot = 0, span = 1;
    if (winDrawScoring == 1) {
        slot = seat.result == kWin ? num : kScoreLoss;
    } else {
        slot = sc > 0 ? rank : kScoreLoss;
        if (slot > 0 && dias == 1) span = tied;
    }
    // A seat missing from its game's rows has no tie to share.
    if (span < 1) span = 1;

    if (NeedsPowerFigures()) {
        std::array<int, kPowerCount> yearIndex, centres{}, results{};
        std::array<bool, kPowerCount> present{};
        yearIndex.fill(-1);
        for (int q = 0; q < kPowerCount; ++q) ctrs[size_t(q)] = TotalSCOrDefault(0, q);
        for (const GameSeat& row : gameSeats) {
            if (!IsPower(row.powerID)) continue;
            const size_t q = size_t(row.powerID);
            const YearsField years = DecodeYears(row.years);
            yearIndex[q] = years.yearIndex;
            ctrs[q] = TotalSCOrDefault(years.totalSC, row.powerID);
            centres[q] = row.centers;
            results[q] = row.result;
            present[q] = true;
        }
        if (usesProvisional) {
            for (int q = 0; q < kPowerCount; ++q) {
                int more = 0, same = 0;
                for (int other = 0; other < kPowerCount; ++other) {
                    if (other == q || !present[size_t(other)]) continue;
                    if (centres[size_t(other)] > centres[size_t(q)]) ++more;
                    if (centres[size_t(other)] == centres[size_t(q)]) ++same;
                }
                const int fq = winDrawScoring < 2 || results[size_t(q)] == kWin ? 1 : 0;
                prov[size_t(q)] = EvaluateScoreFormula(kScoreProvisional, yearIndex[size_t(q)] + 1, centres[size_t(q)],
                                                       num * fq, q, 1 + more, same, srv, ldr);
            }
        }
    }

    const int f = winDrawScoring < 2 || seat.result == kWin ? 1 : 0;
    float sum = 0.0f;
    for (int s = 0; s < span; ++s) {
        // Only the seven seat formulas score a seat (more than seven rows
        // could otherwise reach past them).
        if (slot + s > kScore7) break;
        sum += EvaluateScoreFormula(slot + s, yrs, sc, num * f, seat.powerID, rank - 1, tied - 1, srv, ldr);
    }
    SeatScore result;
    result.score = sum / float(span);
    if (winDrawScoring == 2 && IsPower(seat.powerID)) result.score += prov[size_t(seat.powerID)];

    if (winDrawScoring == 1) {
        result.soleWinner = slot == 1;
        result.inWinOrDraw = slot > 0;
    } else if (slot > 0) {
        result.soleWinner = rank == 1 && tied == 1;
        result.inWinOrDraw = true;
    }
    return result;
}
