#include "platform/flex_grid_columns.h"

#include "platform/flex_grid_model.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

// Characters below this code (Latin, Greek, Cyrillic and their punctuation, less the combining
// marks) have their advances looked up once per measuring pass.
constexpr char16_t tabledCharacters = 0x0530;
// Drawn text may be kerned, which widens a text by at most a fraction of a pixel more than its
// characters' advances add up to.
constexpr qreal kerningAllowance = 1.0;

bool tabled(char16_t code) {
    return code < tabledCharacters && (code < 0x0300 || code >= 0x0370);
}

int least(const FlexGridColumns::Need& need) {
    switch (need.fit) {
    case ColumnFit::Fixed:
        return need.minimum;
    case ColumnFit::Content:
        return std::max({need.minimum, need.header, need.content});
    case ColumnFit::Fill:
        return std::max(need.minimum, need.header);
    }
    return need.minimum;
}

int whole(const FlexGridColumns::Need& need) {
    return need.fit == ColumnFit::Fill ? std::max(least(need), need.content) : least(need);
}

} // namespace

std::vector<int> FlexGridColumns::widths(const std::vector<Need>& needs, int available) {
    std::vector<int> result;
    result.reserve(needs.size());
    int taken = 0;
    for (const Need& need : needs) {
        result.push_back(least(need));
        taken += result.back();
    }
    const auto firstFill = std::find_if(
        needs.begin(), needs.end(), [](const Need& need) { return need.fit == ColumnFit::Fill; });
    int room = available - taken;
    if (firstFill == needs.end() || room <= 0)
        return result;

    // First each Fill column towards its widest text, in proportion to what it lacks.
    std::int64_t lacking = 0;
    for (std::size_t i = 0; i < needs.size(); ++i)
        lacking += whole(needs[i]) - result[i];
    if (lacking > 0) {
        const std::int64_t given = std::min<std::int64_t>(room, lacking);
        int handedOut = 0;
        for (std::size_t i = 0; i < needs.size(); ++i) {
            const int share = static_cast<int>(given * (whole(needs[i]) - result[i]) / lacking);
            result[i] += share;
            handedOut += share;
        }
        room -= handedOut;
    }
    // Whatever is left goes to the first Fill column.
    result[static_cast<std::size_t>(firstFill - needs.begin())] += room;
    return result;
}

qreal FlexGridColumns::textWidth(const QString& text, const QFontMetricsF& metrics,
                                 std::vector<qreal>& advances) {
    qreal sum = 0;
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (!tabled(code))
            return metrics.horizontalAdvance(text) + kerningAllowance;
        if (advances.empty())
            advances.assign(tabledCharacters, -1.0);
        qreal& advance = advances[code];
        if (advance < 0)
            advance = metrics.horizontalAdvance(character);
        sum += advance;
    }
    return sum + kerningAllowance;
}

qreal FlexGridColumns::textWidth(QByteArrayView utf8, const QFontMetricsF& metrics,
                                 std::vector<qreal>& advances) {
    qreal sum = 0;
    for (const char byte : utf8) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80) // beyond ASCII: measured as text
            return textWidth(QString::fromUtf8(utf8), metrics, advances);
        if (advances.empty())
            advances.assign(tabledCharacters, -1.0);
        qreal& advance = advances[code];
        if (advance < 0)
            advance = metrics.horizontalAdvance(QChar(char16_t(code)));
        sum += advance;
    }
    return sum + kerningAllowance;
}

std::vector<qreal> FlexGridColumns::widestTexts(const FlexGridModel& model, int firstGridRow,
                                                const std::vector<bool>& fitted,
                                                const QFontMetricsF& metrics) {
    std::vector<qreal> advances;
    std::vector<qreal> widest(fitted.size(), 0);
    const auto measure = [&](std::size_t col, const auto& text) {
        if (col < fitted.size() && fitted[col] && !text.isEmpty())
            widest[col] = std::max(widest[col], textWidth(text, metrics, advances));
    };
    if (model.visitPackedCells(firstGridRow, [&](int col, QByteArrayView utf8) {
            measure(static_cast<std::size_t>(col), utf8);
        }))
        return widest;
    for (std::size_t col = 0; col < fitted.size(); ++col) {
        for (int row = firstGridRow; row < model.gridRows(); ++row)
            measure(col, model.text(row, static_cast<int>(col)));
    }
    return widest;
}

int FlexGridColumns::fullWidth(const std::vector<Need>& needs) {
    int total = 0;
    for (const Need& need : needs)
        total += whole(need);
    return total;
}

} // namespace quillon
