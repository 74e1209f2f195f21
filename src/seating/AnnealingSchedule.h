#pragma once
// The cooling schedule the seating searches anneal by.
//
// A round cools geometrically from kWarm to kCool times the typical rise of
// a random move, over kRoundLength * size steps (size: n * n for n players
// in one heat, times the heats a plan moves in), so that each pair of seats
// is tried about 2 * kRoundLength times a round whatever the heat's size.
// Each round starts again from the best seating seen.

#include "seating/SearchRandom.h"

#include <algorithm>
#include <cmath>

class AnnealingSchedule {
public:
    // Scales the schedule to the rises that kSampledMoves random moves cause
    // (randomRise() prices one) and to a round of kRoundLength * size steps.
    template <class RandomRise>
    void Calibrate(RandomRise&& randomRise, double size)
    {
        double rises = 0.0;
        int risen = 0;
        for (int t = 0; t < kSampledMoves; ++t) {
            const double rise = double(randomRise());
            if (rise > 0) {
                rises += rise;
                ++risen;
            }
        }
        m_warm = kWarm * (risen > 0 ? rises / risen : 1.0);
        m_roundLength = std::max<long long>(1000, static_cast<long long>(kRoundLength * size));
        m_cooling = std::pow(kCool / kWarm, 1.0 / double(m_roundLength));
    }

    // Called before each step: true when the step starts a round (the search
    // goes back to its best seating), which warms the schedule up again.
    bool StartsRound()
    {
        if (m_roundStep != 0) return false;
        m_temperature = m_warm;
        return true;
    }

    // Whether a move that changes the total by rise is taken: always when it
    // does not rise, otherwise with the chance the temperature gives (drawn
    // from random only then).
    bool Takes(long long rise, SearchRandom& random) const
    {
        return rise <= 0 || random.Unit() < std::exp(-double(rise) / m_temperature);
    }

    // Called after each step.
    void Cool()
    {
        m_temperature *= m_cooling;
        if (++m_roundStep == m_roundLength) m_roundStep = 0;
    }

private:
    static constexpr double kWarm = 0.3;
    static constexpr double kCool = 0.003;
    static constexpr double kRoundLength = 40.0;
    static constexpr int kSampledMoves = 2000;

    long long m_roundLength = 1;
    long long m_roundStep = 0;
    double m_warm = 1.0;
    double m_cooling = 1.0;  // the temperature's factor per step
    double m_temperature = 1.0;
};
