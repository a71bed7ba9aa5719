#pragma once

#include <QString>
#include <vector>

namespace quillon::bench {

// Repeated measurements of one case: the median and the spread.
class SampleStats final {
public:
    void add(double value) { values_.push_back(value); }
    [[nodiscard]] bool isEmpty() const { return values_.empty(); }
    [[nodiscard]] int count() const { return static_cast<int>(values_.size()); }
    [[nodiscard]] double median() const;
    [[nodiscard]] double min() const;
    [[nodiscard]] double max() const;
    // "min-max" with the given number of decimals.
    [[nodiscard]] QString spread(int decimals) const;

private:
    std::vector<double> values_;
};

} // namespace quillon::bench
