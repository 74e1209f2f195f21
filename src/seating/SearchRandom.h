#pragma once
// The seating searches' generator: small, fast, and with a sequence fixed by
// its seed on every platform (splitmix64).

#include <cstdint>

class SearchRandom {
public:
    explicit SearchRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int Below(int n) { return int(((Next() >> 32) * std::uint64_t(n)) >> 32); }
    // [0, 1).
    double Unit() { return double(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t m_state;
};
