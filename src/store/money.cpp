#include "store/money.h"

#include <limits>
#include <stdexcept>

namespace quillon {

namespace {

qint64 checkedAdd(qint64 a, qint64 b) {
    qint64 result = 0;
    if (__builtin_add_overflow(a, b, &result))
        throw std::overflow_error("amount out of range");
    return result;
}

qint64 checkedMul(qint64 a, qint64 b) {
    qint64 result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        throw std::overflow_error("amount out of range");
    return result;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

Money Money::fromWhole(qint64 whole) {
    return Money(checkedMul(whole, unitsPerWhole));
}

std::optional<Money> Money::fromPlainText(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The magnitude in ten-thousandths, with the fifth decimal and a sticky flag kept for
    // rounding half to even. 2^63 is the largest magnitude a negative amount may have.
    constexpr quint64 limit = quint64(1) << 63;
    quint64 units = 0;
    bool overflow = false;
    int digits = 0;
    bool point = false;
    int decimals = 0;
    int roundDigit = -1;
    bool restNonZero = false;
    auto append = [&](int d) {
        if (__builtin_mul_overflow(units, quint64(10), &units) ||
            __builtin_add_overflow(units, quint64(d), &units) || units > limit)
            overflow = true;
    };
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            const int d = c.unicode() - u'0';
            ++digits;
            if (!point || decimals < 4) {
                append(d);
                decimals += point ? 1 : 0;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                restNonZero = true;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    while (i < n && isBlank(text[i]))
        ++i;
    if (digits == 0 || i != n)
        return std::nullopt;
    for (; decimals < 4; ++decimals)
        append(0);
    if (!overflow && (roundDigit > 5 || (roundDigit == 5 && (restNonZero || (units % 2) != 0))))
        units += 1; // units <= 2^63 here, so this can't wrap
    if (overflow || units > limit || (!negative && units == limit))
        return std::nullopt;
    if (negative)
        return Money(static_cast<qint64>(quint64(0) - units));
    return Money(static_cast<qint64>(units));
}

QString Money::toPlainText() const {
    const bool negative = units_ < 0;
    const quint64 magnitude =
        negative ? quint64(0) - static_cast<quint64>(units_) : static_cast<quint64>(units_);
    QString text = QString::number(magnitude / unitsPerWhole);
    quint64 fraction = magnitude % unitsPerWhole;
    if (fraction != 0) {
        QString decimals = QString::number(fraction).rightJustified(4, u'0');
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u'.' + decimals;
    }
    return negative ? u'-' + text : text;
}

Money Money::operator+(Money other) const {
    return Money(checkedAdd(units_, other.units_));
}

Money Money::operator-(Money other) const {
    qint64 result = 0;
    if (__builtin_sub_overflow(units_, other.units_, &result))
        throw std::overflow_error("amount out of range");
    return Money(result);
}

Money Money::operator-() const {
    return Money() - *this;
}

Money Money::operator*(qint64 factor) const {
    return Money(checkedMul(units_, factor));
}

Money& Money::operator+=(Money other) {
    *this = *this + other;
    return *this;
}

} // namespace quillon
