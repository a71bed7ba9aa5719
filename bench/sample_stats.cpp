#include "sample_stats.h"

#include <algorithm>

namespace quillon::bench {

double SampleStats::median() const {
    if (values_.empty())
        return 0;
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double SampleStats::min() const {
    return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end());
}

double SampleStats::max() const {
    return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
}

QString SampleStats::spread(int decimals) const {
    return QString::number(min(), 'f', decimals) + u'-' + QString::number(max(), 'f', decimals);
}

} // namespace quillon::bench
