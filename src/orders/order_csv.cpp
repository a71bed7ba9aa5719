#include "orders/order_csv.h"

#include "store/recordset.h"

namespace quillon {

namespace {

bool needsQuotes(const QString& text) {
    for (const QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

QString quoted(const QString& text) {
    if (!needsQuotes(text))
        return text;
    QString field = text;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

bool startsFormula(const QString& text) {
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

qint64 wholeOrZero(const Value& value) {
    return value.isNull() ? 0 : value.toInteger();
}

} // namespace

QList<OrderCsv::Line> OrderCsv::lines(Recordset& orderParts) {
    QList<Line> lines;
    for (orderParts.moveFirst(); !orderParts.eof(); orderParts.moveNext()) {
        const Value& price = orderParts.field(u"Price");
        lines.append(Line{
            orderParts.field(u"DorvaneNum").toText(), orderParts.field(u"RoverNum").toText(),
            orderParts.field(u"Description").toText(),
            QString::number(wholeOrZero(orderParts.field(u"Quantity"))),
            price.isNull() ? Money() : price.toMoney(), orderParts.field(u"Comments").toText()});
    }
    return lines;
}

QString OrderCsv::textField(const QString& text) {
    return quoted(startsFormula(text) ? u'\'' + text : text);
}

QString OrderCsv::numberField(const QString& text) {
    return quoted(text);
}

QByteArray OrderCsv::file(const QList<Line>& lines) {
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = header() + lineEnd;
    for (const Line& line : lines) {
        const Money total = line.price * line.quantity.toLongLong();
        text += textField(line.dorvaneNum) + u',' + textField(line.roverNum) + u',' +
                textField(line.description) + u',' + numberField(line.quantity) + u',' +
                numberField(line.price.toPlainText()) + u',' + numberField(total.toPlainText()) +
                u',' + textField(line.comments) + lineEnd;
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace quillon
