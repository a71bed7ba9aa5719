// The leading-number conversion (quantities typed into boxes). For any text, the result:
//  - is canonical decimal text (an optional "-", no leading zeros, a fraction without trailing
//    zeros, never "-0") and converts to itself;
//  - depends only on the number at the start: what follows a character that can't belong to a
//    number changes nothing;
//  - agrees with a plain reading of the rule (blanks don't count; then a sign, digits, a point,
//    digits) and, where it fits an amount, with the amount's plain text.
// Input: UTF-8 text; the first byte also chooses where the text is cut for the prefix check.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QRegularExpression>

namespace {

QString reference(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[ \\t\\r\\n]")));
    static const QRegularExpression rule(QStringLiteral("^([-+]?)0*([0-9]*)(?:\\.([0-9]*))?"));
    const auto m = rule.match(text);
    const QString whole = m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2);
    QString fraction = m.captured(3);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    const QString number = whole + (fraction.isEmpty() ? QString() : u'.' + fraction);
    return m.captured(1) == u"-" && number != u"0" ? u'-' + number : number;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quillon::leadingNumberText;
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const QString number = leadingNumberText(text);
    const QString shown = QStringLiteral("text \"%1\" gives \"%2\"").arg(text, number);

    static const QRegularExpression canonical(
        QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    FUZZ_CHECK(canonical.match(number).hasMatch() && number != u"-0", shown);
    FUZZ_CHECK(leadingNumberText(number) == number, shown);
    FUZZ_CHECK(number == reference(text), shown + QStringLiteral(", expected ") + reference(text));

    const qsizetype cut = size > 0 ? qsizetype(data[0]) % (text.size() + 1) : 0;
    const QString head = text.left(cut) + u'x';
    FUZZ_CHECK(leadingNumberText(head + text.mid(cut)) == leadingNumberText(head),
               shown + QStringLiteral(", cut at %1").arg(cut));
    FUZZ_CHECK(leadingNumberText(text + QStringLiteral("x9")) == number, shown);

    // A result with at most four decimals reads as an amount, unless it is out of range.
    const qsizetype point = number.indexOf(u'.');
    if (point < 0 || number.size() - point - 1 <= 4) {
        const auto amount = quillon::Money::fromPlainText(number);
        const qsizetype digits = (point < 0 ? number.size() : point) - (number[0] == u'-');
        FUZZ_CHECK(amount ? amount->toPlainText() == number : digits >= 15, shown);
    }
    return 0;
}
