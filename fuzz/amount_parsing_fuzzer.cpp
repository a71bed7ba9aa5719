// Amounts, for any text and any amount: Money::fromPlainText agrees with a plain reading of its
// rule in 128-bit arithmetic; an amount reads back from its plain text, also as a box reads it;
// its display form reads back as the amount rounded to pence, half away from zero, in locales
// of every kind of digits, symbols and separators. Input: UTF-8 text.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QRegularExpression>
#include <optional>
#include <vector>

using quillon::LocaleFormats;
using quillon::Money;
using namespace Qt::StringLiterals;

namespace {

std::optional<Money> reference(const QString& text) {
    static const QRegularExpression rule(uR"(^[ \t]*([-+]?)0*([0-9]*)(?:\.([0-9]*))?[ \t]*\z)"_s);
    const auto m = rule.match(text);
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (!m.hasMatch() || !text.contains(QRegularExpression(u"[0-9]"_s)) || whole.size() > 20)
        return std::nullopt;
    unsigned __int128 units = 0;
    for (const QChar c : QString(whole + QString(fraction + u"0000").left(4)))
        units = units * 10 + unsigned(c.unicode() - u'0');
    const QString rest = fraction.mid(4);
    if (rest >= u"5" && (rest > u'5' + QString(rest.size() - 1, u'0') || units % 2 != 0))
        ++units;
    const bool negative = m.captured(1) == u"-";
    if (units > (static_cast<unsigned __int128>(1) << 63) - (negative ? 0 : 1))
        return std::nullopt;
    return Money::fromUnits(negative ? qint64(quint64(0) - quint64(units)) : qint64(units));
}

Money toPence(Money amount) {
    const qint64 units = amount.units();
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    const quint64 pence = (magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0)) * 100;
    return Money::fromUnits(units < 0 ? qint64(quint64(0) - pence) : qint64(pence));
}

void checkRoundTrips(Money amount) {
    static std::vector<LocaleFormats> locales;
    if (locales.empty())
        for (const char* name : {"en_GB", "en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "pt_BR",
                                 "ja_JP", "hi_IN", "he_IL", "ar_EG", "fa_IR", "bn_BD", "my_MM"})
            locales.emplace_back(QLocale(QString::fromLatin1(name)));
    FUZZ_CHECK(Money::fromPlainText(amount.toPlainText()) == amount, amount.toPlainText());
    for (const LocaleFormats& formats : locales) {
        const QString shown = formats.currency(amount);
        FUZZ_CHECK(formats.parseAmount(shown) == std::optional<Money>(toPence(amount)),
                   amount.toPlainText() + u" shows as " + shown + u" in " +
                       formats.locale().name());
        FUZZ_CHECK(formats.parseAmount(amount.toPlainText()) == std::optional<Money>(amount),
                   amount.toPlainText() + u" in " + formats.locale().name());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const auto plain = Money::fromPlainText(text);
    FUZZ_CHECK(plain == reference(text),
               text + u" reads as " + (plain ? plain->toPlainText() : u"nothing"_s));
    if (plain)
        checkRoundTrips(*plain);
    for (const char* name : {"en_GB", "de_DE", "ar_EG"})
        if (const auto typed = LocaleFormats(QLocale(QString::fromLatin1(name))).parseAmount(text))
            checkRoundTrips(*typed);
    return 0;
}
