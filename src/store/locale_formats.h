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
    // The program's locale (the system's, unless the program set another); English (United
    // Kingdom) when that is C/POSIX.
    static QLocale systemLocale();

    explicit LocaleFormats(const QLocale& locale = systemLocale());

    const QLocale& locale() const { return locale_; }

    // The "Currency" format: currency sign, digit grouping, two decimals. Negative amounts carry
    // a leading minus sign (-£1,234.50), never parentheses.
    QString currency(Money amount) const;

    // An amount as statements and files carry it: the plain decimal text first, else the
    // "Currency" display form (currency sign and digit grouping allowed, a leading minus sign).
    // Nothing else.
    std::optional<Money> parseAmount(QStringView text) const;

    // What a text typed into a box names: read in the locale first (its decimal mark, its digit
    // grouping, its currency sign), and as plain decimal text (a point as the decimal mark). A
    // text that reads both ways as different amounts names no one amount: "1.234" under German
    // settings is 1234 or 1.234. In a locale whose decimal mark is a point both readings agree.
    struct TypedAmount {
        std::optional<Money> amount; // the one amount the text names
        // Both set when the text reads as two different amounts.
        std::optional<Money> localeReading;
        std::optional<Money> plainReading;
        [[nodiscard]] bool twoReadings() const { return localeReading && plainReading; }
    };
    [[nodiscard]] TypedAmount readTyped(QStringView text) const;

    // An amount as this locale writes a number: its decimal mark and digits, no grouping, every
    // decimal kept ("1,234" for 1.234 under German settings).
    [[nodiscard]] QString number(Money amount) const;

    // The short date text of the locale (06/12/2026 in the United Kingdom).
    QString shortDate(const QDate& date) const;

private:
    // The display form, read with the locale's decimal mark; where that mark isn't a point, a
    // point may group the digits as well.
    [[nodiscard]] std::optional<Money> localeReading(QStringView text) const;

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
