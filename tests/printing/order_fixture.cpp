#include "order_fixture.h"

#include "addresses/address_table.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement_builder.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace quillon::tests {

namespace {

// A row of the given columns, every value quoted as a text.
QList<StatementBuilder::Column> row(const QStringList& columns, const QStringList& values) {
    QList<StatementBuilder::Column> row;
    for (qsizetype i = 0; i < values.size(); ++i)
        row.append({columns[i], SqlLiteral::text(values[i])});
    return row;
}

} // namespace

OrderFixture::OrderFixture()
    : guard(dialogs), context{state, dialogs, browser, folder, guard, window} {
    Schema::createUser(*Database::create(folder.userDatabase()));
    state.catalogueDb = Database::open(folder.catalogue(), Database::Access::ReadOnly);
    state.userDb = Database::open(folder.userDatabase(), Database::Access::ReadWrite);

    const QString data = qEnvironmentVariable("QUILLON_TEST_DATA");
    for (const QString& name :
         {QStringLiteral("orderHeader.dat"), QStringLiteral("orderMidA.dat"),
          QStringLiteral("orderFooter.dat"), QStringLiteral("1pixel-black.gif")}) {
        if (data.isEmpty() || !QFile::copy(QDir(data).filePath(name), folder.file(name)))
            qFatal("could not copy %s from QUILLON_TEST_DATA", qPrintable(name));
    }
}

void OrderFixture::addCataloguePart(const QString& dorvaneNum, const QString& roverNum,
                                    const QString& description) {
    // The catalogue is read-only to the program; the test writes it through its own handle.
    auto catalogue = Database::open(folder.catalogue(), Database::Access::ReadWrite);
    catalogue->execute(
        StatementBuilder::insertRow(u"Parts", row({"DorvaneNum", "RoverNum", "Description"},
                                                  {dorvaneNum, roverNum, description})));
}

qint32 OrderFixture::addOrder(bool completed, const QString& date) {
    state.userDb->execute(StatementBuilder::insertRow(u"orders", row({"OrderDate"}, {date})));
    Recordset orders = state.userDb->openRecordset(QStringLiteral("SELECT OrderNum FROM orders"));
    orders.moveLast();
    const qint32 orderNum = orders.field(u"OrderNum").toInt32();
    if (completed)
        state.userDb->execute(StatementBuilder::updateRow(
            u"orders", {{"OrderStatus", SqlLiteral::boolean(true)}},
            SqlCondition::equals(u"OrderNum", SqlLiteral::number(orderNum))));
    return orderNum;
}

qint32 OrderFixture::startOrder() {
    const qint32 orderNum = addOrder(false);
    state.orderActive = true;
    state.currentOrderNum = orderNum;
    window.setOrderIndicatorEnabled(true);
    window.setOrderCommandsEnabled(true);
    window.setFinaliseCommandsEnabled(true);
    return orderNum;
}

void OrderFixture::addLine(qint32 orderNum, const QString& dorvaneNum, const QString& roverNum,
                           const QString& description, const QString& quantity,
                           const QString& price, const QString& comments) {
    state.userDb->execute(StatementBuilder::insertRow(
        u"orderParts",
        row({"OrderNum", "DorvaneNum", "RoverNum", "Description", "Quantity", "Price", "Comments"},
            {QString::number(orderNum), dorvaneNum, roverNum, description, quantity, price,
             comments})));
}

void OrderFixture::addAddress(const AddressTable& table, const QString& name,
                              const QStringList& fields) {
    state.userDb->execute(
        StatementBuilder::insertRow(table.name(), row(QStringList{"RecordName"} + table.columns(),
                                                      QStringList{name} + fields)));
}

QStringList OrderFixture::addressFields(const AddressTable& table, const QString& name) const {
    Recordset record = state.userDb->openRecordset(table.selectRecord(name));
    QStringList fields;
    if (record.eof())
        return fields;
    for (const QString& column : table.columns())
        fields << record.field(column).toText();
    return fields;
}

int OrderFixture::addressCount(const AddressTable& table) const {
    return state.userDb->openRecordset(table.selectNames()).recordCount();
}

bool OrderFixture::orderCompleted(qint32 orderNum) const {
    Recordset order = state.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orders WHERE OrderNum = %1").arg(orderNum));
    return !order.eof() && order.field(u"OrderStatus").toBool();
}

void OrderFixture::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(folder.file(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(name));
}

QByteArray OrderFixture::pageBytes() const {
    QFile file(folder.printOrder());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString OrderFixture::page() const {
    QByteArray bytes = pageBytes();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}

void useUnitedKingdomSettings() {
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
}

bool OrderFixture::pageExists() const {
    return QFile::exists(folder.printOrder());
}

} // namespace quillon::tests
