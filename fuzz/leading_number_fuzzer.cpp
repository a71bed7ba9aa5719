// The leading number of a quantity, for any text: canonical decimal text that converts to
// itself, decided by the number at the start alone, as a plain reading of the rule gives it and,
// where it fits an amount, the amount's plain text. Input: UTF-8 text; its first byte also says
// where to cut it.

#include "fuzz_support.h"
#include "store/locale_formats.h"
#include "store/money.h"

#include <QRegularExpression>

using quillon::leadingNumberText;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data, size));
    const QString number = leadingNumberText(text);
    const QString shown = u'"' + text + u"\" gives " + number;

    static const QRegularExpression canonical(u"^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?\\z"_s);
    FUZZ_CHECK(canonical.match(number).hasMatch() && number != u"-0", shown);
    FUZZ_CHECK(leadingNumberText(number) == number, shown);

    static const QRegularExpression rule(u"^([-+]?)0*([0-9]*)(?:\\.([0-9]*?)0*(?![0-9]))?"_s);
    const auto m = rule.match(QString(text).remove(QRegularExpression(u"[ \\t\\r\\n]"_s)));
    QString expected = (m.captured(2).isEmpty() ? u"0"_s : m.captured(2)) +
                       (m.captured(3).isEmpty() ? QString() : u'.' + m.captured(3));
    if (m.captured(1) == u"-" && expected != u"0")
        expected.prepend(u'-');
    FUZZ_CHECK(number == expected, shown + u", expected " + expected);

    const qsizetype cut = size > 0 ? qsizetype(data[0]) % (text.size() + 1) : 0;
    const QString head = text.left(cut) + u'x'; // what follows the number changes nothing
    FUZZ_CHECK(leadingNumberText(QString(head + text.mid(cut))) == leadingNumberText(head), shown);
    FUZZ_CHECK(leadingNumberText(QString(text + u"x9")) == number, shown);

    const qsizetype point = number.indexOf(u'.'); // up to four decimals: an amount if in range
    if (point < 0 || number.size() - point - 1 <= 4) {
        const auto amount = quillon::Money::fromPlainText(number);
        const qsizetype digits = (point < 0 ? number.size() : point) - (number[0] == u'-');
        FUZZ_CHECK(amount ? amount->toPlainText() == number : digits >= 15, shown);
    }
    return 0;
}
