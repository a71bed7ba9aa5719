#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// One of the two address tables of the User database: orderCompanyDetails (the order address,
// columns OrderContactName ... OrderTel) and deliveryCompanyDetails (the delivery address,
// DeliveryContactName ... DeliveryTel). Records are found by RecordName. The two tables are twins
// that differ only in their names, so everything that reads or writes them goes through here.
class AddressTable final {
public:
    static constexpr int fieldCount = 8;

    static const AddressTable& order();
    static const AddressTable& delivery();

    // "orderCompanyDetails", "deliveryCompanyDetails".
    [[nodiscard]] const QString& name() const { return name_; }
    // "Order", "Delivery": the prefix of the columns and of the window's boxes.
    [[nodiscard]] const QString& prefix() const { return prefix_; }
    // The eight address columns in table order: ContactName, Address1 ... Address5, Postcode,
    // Tel, each after the prefix.
    [[nodiscard]] const QStringList& columns() const { return columns_; }

    // The statements, with every text value quoted.
    [[nodiscard]] QString selectNames() const;
    [[nodiscard]] QString selectRecord(const QString& recordName) const;
    [[nodiscard]] QString selectName(const QString& recordName) const;
    [[nodiscard]] QString insertRecord(const QString& recordName) const;
    [[nodiscard]] QString deleteRecord(const QString& recordName) const;
    // values: the eight texts in the order of columns().
    [[nodiscard]] QString updateRecord(const QString& recordName, const QStringList& values) const;

private:
    AddressTable(QString name, QString prefix);

    QString name_;
    QString prefix_;
    QStringList columns_;
};

} // namespace quillon
