// Feeds arbitrary bytes to the formula evaluator and to seat scoring.
//
// Input: eight bytes of formula inputs (yrs, scs, num, power, big, tie, srv,
// ldr as signed numbers; missing ones are 0), then the formula text, read as
// Latin-1. The text is evaluated as a score formula, as an expression, and
// as every formula of a system that scores a game whose seats are drawn from
// the input bytes. Besides crashes and sanitizer reports, it checks that an
// error always yields 0 and that evaluation is repeatable.

#include "scoring/ScoringSystem.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool SameValue(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b);
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int in[8] = {};
    const std::size_t prefix = size < 8 ? size : 8;
    for (std::size_t i = 0; i < prefix; ++i) in[i] = static_cast<std::int8_t>(data[i]);
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + prefix), qsizetype(size - prefix));

    CScoringSystem system;
    system.prov = {10.5f, -3.0f, 0.0f, 7.0f, 1e30f, -0.0f, 2.0f};
    system.ctrs = {3, 4, 0, 34, -5, 4, 2147483647};
    for (int slot = 0; slot < kFormulaCount; ++slot) system.formulas[size_t(slot)] = text;

    const float value = system.EvaluateScoreFormula(in[0] & 7, in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7]);
    const int error = system.error;
    if (error) Check(value == 0.0f);
    const float again = system.EvaluateScoreFormula(in[0] & 7, in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7]);
    Check(system.error == error && SameValue(value, again));

    // An expression evaluated directly, while the flag is set, is 0.
    system.error = 1;
    Check(system.EvaluateFormula(text, in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7]) == 0.0f);
    system.error = 0;
    const float direct = system.EvaluateFormula(text, in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7]);
    if (system.error) Check(direct == 0.0f);

    // A game whose rows come from the input bytes, up to nine of them.
    std::vector<GameSeat> seats;
    for (std::size_t i = 0; i + 3 < size && seats.size() < 9; i += 4)
        seats.push_back(GameSeat{static_cast<std::int8_t>(data[i]) % 9, static_cast<std::int8_t>(data[i + 1]) % 3,
                                 static_cast<std::int8_t>(data[i + 2]) * 1000003,
                                 static_cast<std::int8_t>(data[i + 3])});
    system.winDrawScoring = (in[1] & 3) == 3 ? -1 : in[1] & 3;
    system.dias = in[2] & 1;
    system.DeriveUsageFlags();
    for (const GameSeat& seat : seats) {
        const SeatScore score = system.ScoreSeat(seat, seats);
        (void)score;
    }
    return 0;
}
