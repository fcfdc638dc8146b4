#pragma once

#include <cstdint>
#include <random>

// Random numbers that come out the same for a seed on every platform and
// library: the Mersenne Twister's output is fixed by the standard, the
// standard distributions are not, so bounding is done here.
class SeededRandom {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}

    // A number in [0, bound); bound must be at least 1.
    std::uint32_t Below(std::uint32_t bound) {
        // Reject the top slice of the range that would favour small numbers.
        const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % bound + 1) % bound;
        std::uint32_t value = static_cast<std::uint32_t>(engine_());
        while (value > limit)
            value = static_cast<std::uint32_t>(engine_());
        return value % bound;
    }

private:
    std::mt19937 engine_;
};
