// Amounts: the plain decimal text of statements, and the "Currency" display form that boxes show
// and read back. For any text and any amount:
//  - Money::fromPlainText agrees with a plain reading of its rule in 128-bit arithmetic (blanks,
//    sign, digits with one point, half to even past the fourth decimal, the 64-bit range), and
//    what it reads gives itself back from its own plain text;
//  - in each of a set of locales (Latin and native digits, symbols before and after, several
//    separators), an amount's display form reads back as the amount rounded to whole pence,
//    half away from zero, and its plain text as the amount itself.
// Input: UTF-8 text; its first eight bytes are also taken as an amount in ten-thousandths.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QLocale>
#include <QRegularExpression>
#include <cstring>
#include <optional>
#include <vector>

using quillon::LocaleFormats;
using quillon::Money;

namespace {

QString describe(const std::optional<Money>& amount) {
    return amount ? amount->toPlainText() : QStringLiteral("nothing");
}

std::optional<Money> referencePlain(const QString& text) {
    static const QRegularExpression rule(
        QStringLiteral(R"(^[ \t]*([-+]?)([0-9]*)(?:\.([0-9]*))?[ \t]*$)"));
    const auto m = rule.match(text);
    QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && fraction.isEmpty()) || whole.size() > 20)
        return std::nullopt;
    unsigned __int128 units = 0;
    for (const QChar c : whole + (fraction + QStringLiteral("0000")).left(4))
        units = units * 10 + unsigned(c.unicode() - u'0');
    const QString rest = fraction.mid(4); // half to even
    const bool aboveHalf = rest.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (rest >= QStringLiteral("5") && (rest[0] > u'5' || aboveHalf || units % 2 != 0))
        units += 1;
    const auto limit = static_cast<unsigned __int128>(1) << 63;
    const bool negative = m.captured(1) == u"-";
    if (units > limit || (!negative && units == limit))
        return std::nullopt;
    return Money::fromUnits(negative ? qint64(quint64(0) - quint64(units)) : qint64(units));
}

Money toPence(Money amount) {
    const qint64 units = amount.units();
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    const quint64 pence = (magnitude / 100 + ((magnitude % 100) >= 50 ? 1 : 0)) * 100;
    return Money::fromUnits(units < 0 ? qint64(quint64(0) - pence) : qint64(pence));
}

const std::vector<LocaleFormats>& locales() {
    static const std::vector<LocaleFormats> all = [] {
        std::vector<LocaleFormats> list;
        for (const char* name : {"en_GB", "en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "pt_BR",
                                 "ja_JP", "hi_IN", "he_IL", "ar_EG", "fa_IR", "bn_BD", "my_MM"})
            list.emplace_back(QLocale(QString::fromLatin1(name)));
        return list;
    }();
    return all;
}

void checkRoundTrips(Money amount, const QString& origin) {
    FUZZ_CHECK(Money::fromPlainText(amount.toPlainText()) == amount, origin);
    for (const LocaleFormats& formats : locales()) {
        const QString shown = formats.currency(amount);
        const auto back = formats.parseAmount(shown);
        FUZZ_CHECK(
            back == std::optional<Money>(toPence(amount)),
            QStringLiteral("%1: %2 shows as \"%3\" in %4, which reads back as %5")
                .arg(origin, amount.toPlainText(), shown, formats.locale().name(), describe(back)));
        FUZZ_CHECK(formats.parseAmount(amount.toPlainText()) == std::optional<Money>(amount),
                   origin + QStringLiteral(": plain text in ") + formats.locale().name());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const QString origin = QStringLiteral("text \"%1\"").arg(text);
    const auto plain = Money::fromPlainText(text);
    FUZZ_CHECK(plain == referencePlain(text), origin + QStringLiteral(" reads as ") +
                                                  describe(plain) + QStringLiteral(", expected ") +
                                                  describe(referencePlain(text)));
    if (plain)
        checkRoundTrips(*plain, origin);
    for (const LocaleFormats& formats : locales())
        if (const auto typed = formats.parseAmount(text))
            checkRoundTrips(*typed, origin + QStringLiteral(" in ") + formats.locale().name());
    if (size >= sizeof(qint64)) {
        qint64 units = 0;
        std::memcpy(&units, data, sizeof units);
        checkRoundTrips(Money::fromUnits(units), QStringLiteral("units %1").arg(units));
    }
    return 0;
}
