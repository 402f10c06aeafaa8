#pragma once

#include <cstdint>

// A small deterministic random source (SplitMix64), so that generated files are identical on every
// machine and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A whole number from 0 to bound - 1.
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
    // A whole number from first to last, both included.
    int between(int first, int last) { return first + below(last - first + 1); }

private:
    std::uint64_t m_state;
};
