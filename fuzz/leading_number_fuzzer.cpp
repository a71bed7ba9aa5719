// The leading-number conversion (quantities typed into boxes). For any text:
//  - the result is canonical decimal text: an optional "-", no leading zeros, a fraction without
//    trailing zeros, never "-0";
//  - the conversion is idempotent: converting the result gives the result;
//  - only the number at the start counts: whatever follows a character that can't belong to a
//    number leaves the result as it was;
//  - the result agrees with a plain reading of the rule (drop the blanks, an optional sign,
//    digits, a point, digits) and, where it fits an amount, with the amount's plain text.
//
// Input: UTF-8 text; the first byte also chooses where the text is cut for the prefix check.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QString>

namespace {

using quillon::fuzz::visible;

bool isCanonical(const QString& number) {
    qsizetype i = number.startsWith(u'-') ? 1 : 0;
    const qsizetype point = number.indexOf(u'.');
    const qsizetype wholeEnd = point < 0 ? number.size() : point;
    if (wholeEnd == i)
        return false; // no whole part
    for (qsizetype k = i; k < wholeEnd; ++k) {
        if (number[k] < u'0' || number[k] > u'9')
            return false;
    }
    if (number[i] == u'0' && wholeEnd - i > 1)
        return false; // leading zero
    if (point >= 0) {
        if (point + 1 == number.size() || number.endsWith(u'0'))
            return false; // empty fraction or trailing zero
        for (qsizetype k = point + 1; k < number.size(); ++k) {
            if (number[k] < u'0' || number[k] > u'9')
                return false;
        }
    }
    return number != u"-0";
}

// The rule read plainly: blanks (space, tab, CR, LF) don't count anywhere; then an optional sign,
// digits, and a point with more digits.
QString reference(const QString& text) {
    QString s;
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            s += c;
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    QString whole;
    QString fraction;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
        whole += s[i++];
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
            fraction += s[i++];
    }
    while (whole.size() > 0 && whole[0] == u'0')
        whole.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.isEmpty() && fraction.isEmpty())
        return QStringLiteral("0");
    QString number = (negative ? QStringLiteral("-") : QString()) +
                     (whole.isEmpty() ? QStringLiteral("0") : whole);
    if (!fraction.isEmpty())
        number += u'.' + fraction;
    return number;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const QString number = quillon::leadingNumberText(text);
    const QString shown = QStringLiteral("text \"%1\" gives \"%2\"").arg(visible(text), number);

    FUZZ_CHECK(isCanonical(number), shown);
    FUZZ_CHECK(quillon::leadingNumberText(number) == number, shown);
    FUZZ_CHECK(number == reference(text), shown + QStringLiteral(", expected ") + reference(text));

    // Whatever follows a character that ends the number changes nothing.
    const qsizetype cut = size > 0 ? qsizetype(data[0]) % (text.size() + 1) : 0;
    const QString head = text.left(cut) + u'x';
    FUZZ_CHECK(quillon::leadingNumberText(head + text.mid(cut)) == quillon::leadingNumberText(head),
               shown + QStringLiteral(", cut at %1").arg(cut));
    FUZZ_CHECK(quillon::leadingNumberText(text + QStringLiteral("x9")) == number, shown);

    // A result with at most four decimals that fits an amount reads as that amount.
    const qsizetype point = number.indexOf(u'.');
    if (point < 0 || number.size() - point - 1 <= 4) {
        if (const auto amount = quillon::Money::fromPlainText(number))
            FUZZ_CHECK(amount->toPlainText() == number, shown + u' ' + amount->toPlainText());
        else
            FUZZ_CHECK((point < 0 ? number.size() : point) - (number.startsWith(u'-') ? 1 : 0) >=
                           15,
                       shown + QStringLiteral(": not an amount"));
    }
    return 0;
}
