#include "addresses/address_table.h"

#include "store/sql_text.h"

#include <QStringBuilder>
#include <stdexcept>

namespace quillon {

AddressTable::AddressTable(QString name, QString prefix)
    : name_(std::move(name)), prefix_(std::move(prefix)) {
    columns_ << prefix_ + QStringLiteral("ContactName");
    for (int line = 1; line <= 5; ++line)
        columns_ << prefix_ + QStringLiteral("Address") + QString::number(line);
    columns_ << prefix_ + QStringLiteral("Postcode") << prefix_ + QStringLiteral("Tel");
}

const AddressTable& AddressTable::order() {
    static const AddressTable table(QStringLiteral("orderCompanyDetails"), QStringLiteral("Order"));
    return table;
}

const AddressTable& AddressTable::delivery() {
    static const AddressTable table(QStringLiteral("deliveryCompanyDetails"),
                                    QStringLiteral("Delivery"));
    return table;
}

QString AddressTable::selectNames() const {
    return QStringLiteral("SELECT RecordName FROM ") % name_;
}

QString AddressTable::selectRecord(const QString& recordName) const {
    return QStringLiteral("SELECT * FROM ") % name_ % QStringLiteral(" WHERE RecordName = '") %
           sqlEscape(recordName) % QStringLiteral("'");
}

QString AddressTable::selectName(const QString& recordName) const {
    return QStringLiteral("SELECT RecordName FROM ") % name_ %
           QStringLiteral(" WHERE RecordName = '") % sqlEscape(recordName) % QStringLiteral("'");
}

QString AddressTable::insertRecord(const QString& recordName) const {
    return QStringLiteral("INSERT INTO ") % name_ % QStringLiteral("(RecordName) SELECT '") %
           sqlEscape(recordName) % QStringLiteral("' AS RecordName");
}

QString AddressTable::deleteRecord(const QString& recordName) const {
    return QStringLiteral("DELETE * FROM ") % name_ % QStringLiteral(" WHERE RecordName='") %
           sqlEscape(recordName) % QStringLiteral("'");
}

QString AddressTable::updateRecord(const QString& recordName, const QStringList& values) const {
    if (values.size() != fieldCount)
        throw std::invalid_argument("an address record has eight fields");
    QString statement = QStringLiteral("UPDATE ") % name_ % QStringLiteral(" SET ");
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0)
            statement += QStringLiteral("',");
        statement += columns_[i] % QStringLiteral(" = '") % sqlEscape(values[i]);
    }
    statement +=
        QStringLiteral("' WHERE RecordName='") % sqlEscape(recordName) % QStringLiteral("'");
    return statement;
}

} // namespace quillon
