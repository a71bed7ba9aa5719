#pragma once

#include "store/money.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

namespace quillon {

// The platform's named formats that the program shows amounts and dates in.
class LocaleFormats {
public:
    // The system's locale; English (United Kingdom) when the system's is C/POSIX.
    static QLocale systemLocale();

    explicit LocaleFormats(const QLocale& locale = systemLocale());

    const QLocale& locale() const { return locale_; }

    // The "Currency" format: currency sign, digit grouping, two decimals. Negative amounts carry
    // a leading minus sign (-£1,234.50), never parentheses.
    QString currency(Money amount) const;

    // An amount typed or shown in a box: the plain decimal text, or the "Currency" display form
    // (currency sign and digit grouping allowed, a leading minus sign). Nothing else.
    std::optional<Money> parseAmount(QStringView text) const;

    // The short date text of the locale (06/12/2026 in the United Kingdom).
    QString shortDate(const QDate& date) const;

private:
    QLocale locale_;
    // What the "Currency" format puts before and after the number.
    QString currencyPrefix_;
    QString currencySuffix_;
    // The locale's ten digits, when they aren't 0-9 (Arabic-Indic, Devanagari, ...).
    std::optional<std::array<QString, 10>> digits_;
};

// The leading-number conversion: the number a text begins with, as plain decimal text. Blanks
// are skipped, a sign is allowed, a point is the decimal mark, and the first character that can't
// belong to the number ends it; a text that doesn't begin with a number gives "0".
// "3 boxes" -> "3", "2.50" -> "2.5", "PAIR" -> "0", " -2" -> "-2".
QString leadingNumberText(QStringView text);

} // namespace quillon
