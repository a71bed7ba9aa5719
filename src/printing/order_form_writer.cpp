#include "printing/order_form_writer.h"

#include "addresses/address_table.h"
#include "platform/safe_file_writer.h"
#include "printing/order_form_error.h"
#include "session/part_key.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/shown_path.h"
#include "store/statement_builder.h"

#include <QDir>
#include <QFile>
#include <QStringBuilder>
#include <QStringDecoder>

namespace quillon {

namespace {

const QString cellStart = QStringLiteral("<td valign=top class=partCell>");
const QString cellEnd = QStringLiteral("</td>");

// A whole number of a line, 0 when the line holds none.
qint64 wholeOrZero(const Value& value) {
    return value.isNull() ? 0 : value.toInteger();
}

Money amountOrZero(const Value& value) {
    return value.isNull() ? Money() : value.toMoney();
}

} // namespace

OrderFormWriter::OrderFormWriter(Database& catalogue, LocaleFormats formats)
    : catalogue_(catalogue), formats_(std::move(formats)) {}

QString OrderFormWriter::templateText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8(bytes);
    if (utf8.hasError())
        decoded = QStringDecoder(QStringDecoder::Latin1)(bytes);
    QString text;
    text.reserve(decoded.size());
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == u'\r') {
            if (i + 1 < decoded.size() && decoded[i + 1] == u'\n')
                ++i;
            continue;
        }
        text += decoded[i];
    }
    return text;
}

QString OrderFormWriter::readTemplate(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw OrderFormError(
            QStringLiteral("The order form template %1 is missing.").arg(shownPath(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw OrderFormError(QStringLiteral("The order form template %1 could not be read: %2")
                                 .arg(shownPath(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw OrderFormError(QStringLiteral("The order form template %1 could not be read: %2")
                                 .arg(shownPath(path), file.errorString()));
    return templateText(bytes);
}

std::optional<QString> OrderFormWriter::addressBlock(Database& user, const AddressTable& table,
                                                     const QString& recordName) {
    Recordset record = user.openRecordset(table.selectRecord(recordName));
    if (record.eof())
        return std::nullopt;
    QString block;
    const QStringList& columns = table.columns();
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const Value& value = record.field(columns[i]);
        if (value.isAbsent())
            continue;
        block += escaped(value.toText());
        if (i + 1 < columns.size())
            block += QStringLiteral("<br>");
    }
    return block;
}

QString OrderFormWriter::addressTable(const QString& orderBlock, const QString& deliveryBlock) {
    return QStringLiteral("<table width=400><tr>") %
           QStringLiteral("<td width=200><b>Order Address:</b></td>"
                          "<td width=200><b>Delivery Address:</b></td></tr>") %
           QStringLiteral("<tr><td>") % orderBlock % QStringLiteral("</td>") %
           QStringLiteral("<td>") % deliveryBlock % QStringLiteral("</td>") %
           QStringLiteral("</tr></table>");
}

QString OrderFormWriter::orderNumberParagraph(const QString& orderNum) {
    return QStringLiteral("<p><b>Order Number ") % escaped(orderNum) % QStringLiteral("</b></p>");
}

QString OrderFormWriter::separatorRow() {
    return QStringLiteral("<tr><td colspan=6><img src=\"1pixel-black.gif\" width=100% height=1 "
                          "vspace=5 alt=\"-\"></td>");
}

QString OrderFormWriter::description(const QString& roverNum, const QString& dorvaneNum,
                                     const QString& storedDescription) const {
    const QString& key = PartKey::value(roverNum, dorvaneNum);
    if (key.isEmpty())
        return storedDescription;
    Recordset parts = catalogue_.openRecordset(StatementBuilder::selectWhere(
        u"Parts",
        SqlCondition::equals(PartKey::column(roverNum), SqlLiteral::text(key)).parenthesised()));
    if (parts.eof())
        return storedDescription;
    const Value& found = parts.field(u"Description");
    return found.isAbsent() ? storedDescription : found.toText();
}

QString OrderFormWriter::itemRows(Recordset& lines) const {
    QString rows;
    Money orderTotal;
    for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
        const QString roverNum = lines.field(u"RoverNum").toText();
        const QString dorvaneNum = lines.field(u"DorvaneNum").toText();
        const QString partDescription =
            description(roverNum, dorvaneNum, lines.field(u"Description").toText());
        const Value& quantity = lines.field(u"Quantity");
        const Money price = amountOrZero(lines.field(u"Price"));
        const Money lineTotal = price * wholeOrZero(quantity);

        rows += separatorRow() % QStringLiteral("<tr>");
        for (const QString& value :
             {escaped(dorvaneNum), escaped(roverNum), escaped(partDescription),
              escaped(quantity.toText()), formats_.currency(price), formats_.currency(lineTotal)})
            rows += cellStart % value % cellEnd;
        rows += QStringLiteral("</tr>");
        rows += QStringLiteral("<tr><td colspan=2 valign=top align=right class=comment>Special "
                               "Instructions: </td><td valign=top colspan=4 class=comment>") %
                escaped(lines.field(u"Comments").toText()) % QStringLiteral("</td>");
        orderTotal += lineTotal;
    }
    rows += separatorRow() %
            QStringLiteral("<tr><td></td><td></td><td></td><td></td><td><b>Total</b></td><td><b>") %
            formats_.currency(orderTotal) % QStringLiteral("</b></td>");
    return rows;
}

QString OrderFormWriter::page(const Pieces& pieces) {
    return pieces.header % addressTable(pieces.orderBlock, pieces.deliveryBlock) %
           orderNumberParagraph(pieces.orderNum) % pieces.middle % pieces.items % pieces.footer %
           QStringLiteral("\r\n");
}

void OrderFormWriter::writePage(const QString& path, const QString& page) {
    QString reason;
    if (!SafeFileWriter::writeWhole(path, QByteArrayLiteral("\xEF\xBB\xBF") + page.toUtf8(),
                                    &reason))
        throw OrderFormError(QStringLiteral("The order form %1 could not be written: %2")
                                 .arg(shownPath(path), reason));
}

} // namespace quillon
