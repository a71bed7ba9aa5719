#include "seeded_random.h"

#include <limits>
#include <numeric>

namespace quillon {

std::size_t SeededRandom::below(std::size_t count) {
    // Rejection sampling: take the raw output only from the largest whole multiple of count,
    // so that every index is equally likely.
    const std::uint64_t n = count;
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    std::uint64_t draw = engine_();
    while (draw >= limit)
        draw = engine_();
    return static_cast<std::size_t>(draw % n);
}

std::int64_t SeededRandom::between(std::int64_t low, std::int64_t high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(below(static_cast<std::size_t>(span)));
}

bool SeededRandom::perMille(int chance) {
    return static_cast<int>(below(1000)) < chance;
}

std::size_t SeededRandom::weighted(std::span<const int> weights) {
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    int draw = static_cast<int>(below(static_cast<std::size_t>(total)));
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (draw < weights[i])
            return i;
        draw -= weights[i];
    }
    return weights.size() - 1;
}

} // namespace quillon
