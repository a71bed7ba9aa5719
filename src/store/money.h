#pragma once

#include <QString>
#include <QStringView>
#include <compare>
#include <optional>

namespace quillon {

// A currency amount: 64-bit fixed point with four decimal places. Arithmetic is exact; an
// operation whose result does not fit throws std::overflow_error.
class Money {
public:
    static constexpr qint64 unitsPerWhole = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    static Money fromWhole(qint64 whole);

    constexpr qint64 units() const { return units_; }
    constexpr bool isZero() const { return units_ == 0; }
    constexpr bool isNegative() const { return units_ < 0; }

    // Plain decimal text as statements carry it: optional blanks, optional sign, digits, an
    // optional point and more digits ("12.5", "7", "-3.125", ".25"). Digits past the fourth
    // decimal are rounded half to even. Anything else, or a value out of range, gives nullopt.
    static std::optional<Money> fromPlainText(QStringView text);

    // The plain decimal text: no currency sign, no grouping, no trailing zeros (12.5, 7, 0.25).
    QString toPlainText() const;

    Money operator+(Money other) const;
    Money operator-(Money other) const;
    Money operator-() const;
    Money operator*(qint64 factor) const;
    Money& operator+=(Money other);

    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(qint64 units) : units_(units) {}
    qint64 units_ = 0;
};

} // namespace quillon
