#include "addresses/address_table.h"

#include "store/statement_builder.h"

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
    return StatementBuilder::selectWhere(
        name_, SqlCondition::equals(u"RecordName", SqlLiteral::text(recordName)));
}

QString AddressTable::selectName(const QString& recordName) const {
    return StatementBuilder::selectWhere(
        name_, SqlCondition::equals(u"RecordName", SqlLiteral::text(recordName)), u"RecordName");
}

QString AddressTable::insertRecord(const QString& recordName) const {
    return StatementBuilder::insertRow(
        name_, {{QStringLiteral("RecordName"), SqlLiteral::text(recordName)}});
}

QString AddressTable::deleteRecord(const QString& recordName) const {
    return StatementBuilder::deleteWhere(
        name_, SqlCondition::equalsTight(u"RecordName", SqlLiteral::text(recordName)));
}

QString AddressTable::updateRecord(const QString& recordName, const QStringList& values) const {
    if (values.size() != fieldCount)
        throw std::invalid_argument("an address record has eight fields");
    QList<StatementBuilder::Column> fields;
    for (int i = 0; i < fieldCount; ++i)
        fields.append({columns_[i], SqlLiteral::text(values[i])});
    return StatementBuilder::updateRow(
        name_, fields, SqlCondition::equalsTight(u"RecordName", SqlLiteral::text(recordName)));
}

} // namespace quillon
