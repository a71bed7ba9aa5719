#include "store/locale_formats.h"

#include <tuple>

namespace quillon {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isSpace(QChar c) {
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F);
}

// Digits of the integer part with the locale's group separator every three digits.
QString groupDigits(const QString& digits, const QString& separator) {
    QString grouped;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

// "1,234,567" -> "1234567" when the groups are well formed (first 1-3 digits, then threes).
std::optional<QString> ungroup(const QString& integerPart, const QString& separator) {
    if (separator.isEmpty() || !integerPart.contains(separator))
        return integerPart;
    const QStringList groups = integerPart.split(separator);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups[i].size();
        if (size == 0 || size > 3 || (i > 0 && size != 3))
            return std::nullopt;
    }
    return groups.join(QString());
}

// Blanks, and the invisible marks that set the direction of right-to-left text.
bool isBlankOrMark(QChar c) {
    return isSpace(c) || c.category() == QChar::Other_Format;
}

QString withoutBlanksOrMarks(QStringView text) {
    QString out;
    for (QChar c : text) {
        if (!isBlankOrMark(c))
            out += c;
    }
    return out;
}

using Digits = std::optional<std::array<QString, 10>>;

QString toLocaleDigits(const QString& text, const Digits& digits) {
    if (!digits)
        return text;
    QString out;
    for (QChar c : text)
        out += isAsciiDigit(c) ? (*digits)[std::size_t(c.unicode() - u'0')] : QString(c);
    return out;
}

QString toAsciiDigits(QString text, const Digits& digits) {
    if (!digits)
        return text;
    for (int d = 0; d < 10; ++d)
        text.replace((*digits)[std::size_t(d)], QString(QChar(u'0' + d)));
    return text;
}

// What the locale's currency format puts before and after the number ("£" and "", "" and
// " €", ...), found by formatting a one-digit amount.
std::pair<QString, QString> currencyAffixes(const QLocale& locale) {
    const QString seven = locale.toString(7);
    const QString text = locale.toCurrencyString(qlonglong(7));
    const qsizetype at = text.indexOf(seven);
    if (at < 0)
        return {locale.currencySymbol(), QString()};
    return {text.left(at), text.mid(at + seven.size())};
}

} // namespace

QLocale LocaleFormats::systemLocale() {
    const QLocale system;
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    return system;
}

LocaleFormats::LocaleFormats(const QLocale& locale) : locale_(locale) {
    if (locale_.language() == QLocale::C)
        locale_ = QLocale(QLocale::English, QLocale::UnitedKingdom);
    std::tie(currencyPrefix_, currencySuffix_) = currencyAffixes(locale_);
    if (locale_.zeroDigit() != u"0") {
        digits_.emplace();
        for (int d = 0; d < 10; ++d)
            (*digits_)[std::size_t(d)] = locale_.toString(d);
    }
}

QString LocaleFormats::currency(Money amount) const {
    // Round to whole pence, half away from zero.
    constexpr qint64 unitsPerCent = Money::unitsPerWhole / 100;
    const bool negative = amount.isNegative();
    quint64 magnitude = negative ? quint64(0) - static_cast<quint64>(amount.units())
                                 : static_cast<quint64>(amount.units());
    quint64 cents = magnitude / unitsPerCent + ((magnitude % unitsPerCent) * 2 >= unitsPerCent);
    const QString whole = groupDigits(QString::number(cents / 100), locale_.groupSeparator());
    const QString number = toLocaleDigits(whole + locale_.decimalPoint() +
                                              QString::number(cents % 100).rightJustified(2, u'0'),
                                          digits_);
    // The number where the locale puts it beside the currency sign, in the locale's digits.
    const QString text = currencyPrefix_ + number + currencySuffix_;
    return negative && cents != 0 ? u'-' + text : text;
}

std::optional<Money> LocaleFormats::parseAmount(QStringView text) const {
    if (const auto plain = Money::fromPlainText(text))
        return plain;
    return localeReading(text);
}

LocaleFormats::TypedAmount LocaleFormats::readTyped(QStringView text) const {
    const auto inLocale = localeReading(text);
    const auto plain = Money::fromPlainText(text);
    if (inLocale && plain && *inLocale != *plain)
        return {std::nullopt, inLocale, plain};
    return {inLocale ? inLocale : plain, std::nullopt, std::nullopt};
}

QString LocaleFormats::number(Money amount) const {
    QString text = amount.toPlainText();
    text.replace(u'.', locale_.decimalPoint());
    return toLocaleDigits(text, digits_);
}

std::optional<Money> LocaleFormats::localeReading(QStringView text) const {
    QString s = toAsciiDigits(withoutBlanksOrMarks(text), digits_);
    bool negative = false;
    if (s.startsWith(u'-')) {
        negative = true;
        s.remove(0, 1);
    }
    // The currency sign before or after the number: as the format shows it, or the locale's
    // symbol on its own.
    const QString before = toAsciiDigits(withoutBlanksOrMarks(currencyPrefix_), digits_);
    const QString after = toAsciiDigits(withoutBlanksOrMarks(currencySuffix_), digits_);
    const QString symbol = withoutBlanksOrMarks(locale_.currencySymbol());
    bool stripped = false;
    for (const QString& sign : {before, symbol}) {
        if (!stripped && !sign.isEmpty() && s.startsWith(sign)) {
            s.remove(0, sign.size());
            stripped = true;
        }
    }
    for (const QString& sign : {after, symbol}) {
        if (!stripped && !sign.isEmpty() && s.endsWith(sign)) {
            s.chop(sign.size());
            stripped = true;
        }
    }
    if (!negative && s.startsWith(u'-')) {
        negative = true;
        s.remove(0, 1);
    }
    const QString point = locale_.decimalPoint();
    const qsizetype pointAt = s.indexOf(point);
    const QString integerPart = pointAt < 0 ? s : s.left(pointAt);
    const QString fraction = pointAt < 0 ? QString() : s.mid(pointAt + point.size());
    auto digits = ungroup(integerPart, locale_.groupSeparator());
    // Where the decimal mark is a comma, a point can only group the digits ("1.234,50").
    if (digits && point != u"." && digits->contains(u'.'))
        digits = ungroup(*digits, QStringLiteral("."));
    if (!digits)
        return std::nullopt;
    for (QChar c : QString(*digits + fraction)) {
        if (!isAsciiDigit(c))
            return std::nullopt;
    }
    if (digits->isEmpty() && fraction.isEmpty())
        return std::nullopt;
    QString plain = negative ? QStringLiteral("-") : QString();
    plain += digits->isEmpty() ? QStringLiteral("0") : *digits;
    if (pointAt >= 0)
        plain += u'.' + fraction;
    return Money::fromPlainText(plain);
}

QString LocaleFormats::shortDate(const QDate& date) const {
    return locale_.toString(date, QLocale::ShortFormat);
}

QString leadingNumberText(QStringView text) {
    QString whole;
    QString fraction;
    bool negative = false;
    bool signSeen = false;
    bool point = false;
    bool anyDigit = false;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (!signSeen && !anyDigit && !point && (c == u'-' || c == u'+')) {
            signSeen = true;
            negative = c == u'-';
            continue;
        }
        signSeen = true;
        if (isAsciiDigit(c)) {
            anyDigit = true;
            (point ? fraction : whole) += c;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.isEmpty() && fraction.isEmpty())
        return QStringLiteral("0");
    QString number = whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        number += u'.' + fraction;
    return negative ? u'-' + number : number;
}

} // namespace quillon
