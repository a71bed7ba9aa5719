#pragma once

#include <cstdint>
#include <random>
#include <span>

namespace quillon {

// A pseudo-random source that gives the same sequence for the same seed on every platform and
// library version: the 64-bit Mersenne Twister (whose output the C++ standard fixes) with
// distributions of our own, since the standard library's distributions may differ between
// implementations.
class SeededRandom final {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}

    // A whole number in [low, high], both included; low <= high.
    [[nodiscard]] std::int64_t between(std::int64_t low, std::int64_t high);
    // An index in [0, count); count > 0.
    [[nodiscard]] std::size_t below(std::size_t count);
    // True with the given chance in per mille (0 never, 1000 always).
    [[nodiscard]] bool perMille(int chance);
    // One element of a non-empty list.
    template <typename T> [[nodiscard]] const T& pick(std::span<const T> items) {
        return items[below(items.size())];
    }
    // An index into a list of weights, each chosen in proportion to its weight; the total is > 0.
    [[nodiscard]] std::size_t weighted(std::span<const int> weights);

private:
    std::mt19937_64 engine_;
};

} // namespace quillon
