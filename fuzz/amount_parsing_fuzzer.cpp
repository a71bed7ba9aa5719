// Amounts: the plain decimal text that statements carry, and the "Currency" display form that
// boxes show and read back. For any text and any amount:
//  - Money::fromPlainText agrees with a plain reading of its rule (blanks, sign, digits with one
//    point, rounding half to even past the fourth decimal, the 64-bit range);
//  - an amount read from text gives the same amount back from its own plain text;
//  - in each of a set of locales (Latin and native digits, symbols before and after, several
//    separators), the display form of an amount reads back as the amount rounded to whole
//    pence, and the plain text reads back as the amount itself.
//
// Input: UTF-8 text; its first eight bytes are also taken as an amount in ten-thousandths.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QLocale>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using quillon::LocaleFormats;
using quillon::Money;
using quillon::fuzz::visible;

QString describe(const std::optional<Money>& amount) {
    return amount ? amount->toPlainText() + QStringLiteral(" (units %1)").arg(amount->units())
                  : QStringLiteral("nothing");
}

// Money::fromPlainText's rule, read plainly, in 128-bit arithmetic.
std::optional<Money> referencePlain(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto blank = [&](qsizetype k) { return k < n && (text[k] == u' ' || text[k] == u'\t'); };
    auto digit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    while (blank(i))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    QString whole;
    QString fraction;
    while (digit(i))
        whole += text[i++];
    if (i < n && text[i] == u'.') {
        ++i;
        while (digit(i))
            fraction += text[i++];
    }
    while (blank(i))
        ++i;
    if (i != n || (whole.isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    while (!whole.isEmpty() && whole[0] == u'0')
        whole.remove(0, 1);
    if (whole.size() > 20)
        return std::nullopt;
    unsigned __int128 units = 0;
    for (const QChar c : whole)
        units = units * 10 + unsigned(c.unicode() - u'0');
    for (int k = 0; k < 4; ++k)
        units = units * 10 + (k < fraction.size() ? unsigned(fraction[k].unicode() - u'0') : 0u);
    if (fraction.size() > 4) {
        const int next = fraction[4].unicode() - u'0';
        bool restNonZero = false;
        for (qsizetype k = 5; k < fraction.size(); ++k)
            restNonZero = restNonZero || fraction[k] != u'0';
        if (next > 5 || (next == 5 && (restNonZero || units % 2 != 0)))
            units += 1;
    }
    const unsigned __int128 limit = static_cast<unsigned __int128>(1) << 63;
    if (units > limit || (!negative && units == limit))
        return std::nullopt;
    const auto magnitude = static_cast<quint64>(units);
    return Money::fromUnits(negative ? static_cast<qint64>(quint64(0) - magnitude)
                                     : static_cast<qint64>(magnitude));
}

// The amount rounded to whole pence, half away from zero, as the display form shows it.
Money toPence(Money amount) {
    const bool negative = amount.isNegative();
    const quint64 magnitude = negative ? quint64(0) - static_cast<quint64>(amount.units())
                                       : static_cast<quint64>(amount.units());
    const quint64 cents = magnitude / 100 + ((magnitude % 100) * 2 >= 100 ? 1 : 0);
    const quint64 units = cents * 100;
    return Money::fromUnits(negative ? static_cast<qint64>(quint64(0) - units)
                                     : static_cast<qint64>(units));
}

const std::vector<LocaleFormats>& locales() {
    static const std::vector<LocaleFormats> all = [] {
        std::vector<LocaleFormats> list;
        for (const char* name : {"en_GB", "en_US", "de_DE", "fr_FR", "de_CH", "it_CH", "sv_SE",
                                 "nb_NO", "da_DK", "pt_BR", "nl_NL", "ja_JP", "hi_IN", "he_IL",
                                 "ar_EG", "fa_IR", "ps_AF", "bn_BD", "mr_IN", "my_MM"})
            list.emplace_back(QLocale(QString::fromLatin1(name)));
        return list;
    }();
    return all;
}

void checkDisplayRoundTrip(Money amount, const QString& origin) {
    for (const LocaleFormats& formats : locales()) {
        const QString shown = formats.currency(amount);
        const auto back = formats.parseAmount(shown);
        FUZZ_CHECK(back == std::optional<Money>(toPence(amount)),
                   QStringLiteral("%1: %2 shows as \"%3\" in %4, which reads back as %5")
                       .arg(origin, describe(amount), visible(shown), formats.locale().name(),
                            describe(back)));
        const auto plain = formats.parseAmount(amount.toPlainText());
        FUZZ_CHECK(plain == std::optional<Money>(amount),
                   QStringLiteral("%1: the plain text of %2 reads as %3 in %4")
                       .arg(origin, describe(amount), describe(plain), formats.locale().name()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const QString origin = QStringLiteral("text \"%1\"").arg(visible(text));

    const auto plain = Money::fromPlainText(text);
    const auto expected = referencePlain(text);
    FUZZ_CHECK(plain == expected, origin + QStringLiteral(" reads as ") + describe(plain) +
                                      QStringLiteral(", expected ") + describe(expected));
    if (plain) {
        const QString again = plain->toPlainText();
        FUZZ_CHECK(Money::fromPlainText(again) == plain, origin + QStringLiteral(" -> ") + again);
        checkDisplayRoundTrip(*plain, origin);
    }

    for (const LocaleFormats& formats : locales()) {
        if (const auto typed = formats.parseAmount(text)) {
            FUZZ_CHECK(formats.parseAmount(typed->toPlainText()) == typed,
                       origin + QStringLiteral(" in ") + formats.locale().name());
            checkDisplayRoundTrip(*typed,
                                  origin + QStringLiteral(" in ") + formats.locale().name());
        }
    }

    if (size >= sizeof(qint64)) {
        qint64 units = 0;
        std::memcpy(&units, data, sizeof units);
        checkDisplayRoundTrip(Money::fromUnits(units), QStringLiteral("units %1").arg(units));
    }
    return 0;
}
