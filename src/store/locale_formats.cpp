#include "store/locale_formats.h"

namespace quillon {

namespace {

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isSpace(QChar c) { return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F); }

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

} // namespace

QLocale LocaleFormats::systemLocale() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedKingdom);
    return system;
}

LocaleFormats::LocaleFormats(const QLocale& locale) : locale_(locale) {
    if (locale_.language() == QLocale::C)
        locale_ = QLocale(QLocale::English, QLocale::UnitedKingdom);
}

QString LocaleFormats::currency(Money amount) const {
    // Round to whole pence, half away from zero.
    constexpr qint64 unitsPerCent = Money::unitsPerWhole / 100;
    const bool negative = amount.isNegative();
    quint64 magnitude = negative ? quint64(0) - static_cast<quint64>(amount.units())
                                 : static_cast<quint64>(amount.units());
    quint64 cents = magnitude / unitsPerCent + ((magnitude % unitsPerCent) * 2 >= unitsPerCent);
    const QString whole = groupDigits(QString::number(cents / 100), locale_.groupSeparator());
    const QString number = whole + locale_.decimalPoint() +
                           QString::number(cents % 100).rightJustified(2, u'0');
    // Place the number where the locale puts it beside the currency sign.
    QString text = locale_.toCurrencyString(qlonglong(7));
    const qsizetype at = text.indexOf(u'7');
    text.replace(at, 1, number);
    return negative && cents != 0 ? u'-' + text : text;
}

std::optional<Money> LocaleFormats::parseAmount(QStringView text) const {
    if (const auto plain = Money::fromPlainText(text))
        return plain;

    QString s;
    for (QChar c : text) {
        if (!isSpace(c))
            s += c;
    }
    bool negative = false;
    if (s.startsWith(u'-')) {
        negative = true;
        s.remove(0, 1);
    }
    const QString symbol = locale_.currencySymbol();
    if (!symbol.isEmpty()) {
        if (s.startsWith(symbol))
            s.remove(0, symbol.size());
        else if (s.endsWith(symbol))
            s.chop(symbol.size());
    }
    if (!negative && s.startsWith(u'-')) {
        negative = true;
        s.remove(0, 1);
    }
    const QString point = locale_.decimalPoint();
    const qsizetype pointAt = s.indexOf(point);
    const QString integerPart = pointAt < 0 ? s : s.left(pointAt);
    const QString fraction = pointAt < 0 ? QString() : s.mid(pointAt + point.size());
    const auto digits = ungroup(integerPart, locale_.groupSeparator());
    if (!digits)
        return std::nullopt;
    for (QChar c : *digits + fraction) {
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
