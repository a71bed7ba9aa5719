#include "store/schema.h"

#include "store/database.h"
#include "store/prepared_statement.h"
#include "store/text_fold.h"
#include "store/transaction.h"

#include <sqlite3.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace quillon {

namespace {

// Column declarations that make the engine itself refuse a value the column can't hold.
QString text(const QString& name) {
    return QStringLiteral("%1 TEXT COLLATE %2").arg(name, QLatin1String(TextFold::collationName));
}

QString wholeNumber(const QString& name) {
    return QStringLiteral("%1 INTEGER CHECK (typeof(%1) IN ('integer', 'null'))").arg(name);
}

// Whole ten-thousandths of the currency unit.
QString amount(const QString& name) {
    return QStringLiteral("%1 CURRENCY CHECK (typeof(%1) IN ('integer', 'null'))").arg(name);
}

QString boolean(const QString& name) {
    return QStringLiteral("%1 BOOLEAN NOT NULL DEFAULT 0 CHECK (%1 IN (0, 1))").arg(name);
}

QString numbered(const QString& prefix, int count, QString (*declare)(const QString&)) {
    QStringList columns;
    for (int i = 1; i <= count; ++i)
        columns << declare(prefix + QString::number(i));
    return columns.join(QStringLiteral(", "));
}

QString table(const QString& name, const QStringList& columns) {
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columns.join(QStringLiteral(", ")));
}

QString addressTable(const QString& name, const QString& prefix) {
    return table(name,
                 {text(QStringLiteral("RecordName")), text(prefix + QStringLiteral("ContactName")),
                  numbered(prefix + QStringLiteral("Address"), 5, text),
                  text(prefix + QStringLiteral("Postcode")), text(prefix + QStringLiteral("Tel"))});
}

void createTables(Database& db, const QStringList& statements) {
    Transaction transaction(db);
    for (const QString& statement : statements)
        db.execute(statement);
    transaction.commit();
}

QStringList addressColumns(const QString& prefix) {
    QStringList columns{QStringLiteral("RecordName"), prefix + QStringLiteral("ContactName")};
    for (int i = 1; i <= 5; ++i)
        columns << prefix + QStringLiteral("Address%1").arg(i);
    return columns << prefix + QStringLiteral("Postcode") << prefix + QStringLiteral("Tel");
}

struct TableColumns {
    QString table;
    QStringList columns;
};

QString whatIsLacking(Database& db, const std::vector<TableColumns>& tables) {
    const QString what = QStringLiteral("(checking the tables of the store)");
    for (const TableColumns& wanted : tables) {
        QStringList present;
        PreparedStatement info(db.handle(),
                               QByteArrayLiteral("SELECT name FROM pragma_table_info(?1)"), what);
        info.bind(1, wanted.table);
        while (info.step())
            present << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
        if (present.isEmpty())
            return QStringLiteral("the table %1 is missing.").arg(wanted.table);
        for (const QString& column : wanted.columns) {
            if (!present.contains(column, Qt::CaseInsensitive))
                return QStringLiteral("the table %1 has no column %2.").arg(wanted.table, column);
        }
    }
    return {};
}

} // namespace

QString Schema::whatCatalogueLacks(Database& db) {
    return whatIsLacking(db, {{QStringLiteral("Parts"), partsColumns()}});
}

QString Schema::whatUserDatabaseLacks(Database& db) {
    return whatIsLacking(
        db,
        {{u"orders"_s, {u"OrderNum"_s, u"OrderDate"_s, u"OrderStatus"_s}},
         {u"orderParts"_s,
          {u"ID"_s, u"OrderNum"_s, u"DorvaneNum"_s, u"RoverNum"_s, u"Description"_s, u"Quantity"_s,
           u"Price"_s, u"Comments"_s}},
         {u"customParts"_s,
          {u"DorvaneNum"_s, u"RoverNum"_s, u"CustomerPrice"_s, u"CustomerLRPrice"_s,
           u"CustomerUnitSale"_s}},
         {QStringLiteral("orderCompanyDetails"), addressColumns(QStringLiteral("Order"))},
         {QStringLiteral("deliveryCompanyDetails"), addressColumns(QStringLiteral("Delivery"))}});
}

const QStringList& Schema::partNumberColumns() {
    static const QStringList columns = [] {
        QStringList list{QStringLiteral("DorvaneNum"), QStringLiteral("RoverNum")};
        for (int super = 1; super <= 6; ++super)
            list << QStringLiteral("RoverSuper%1").arg(super);
        list << QStringLiteral("AltDorvaneNum");
        return list;
    }();
    return columns;
}

const QStringList& Schema::partsColumns() {
    static const QStringList columns = [] {
        QStringList list{QStringLiteral("ID"), QStringLiteral("DorvaneNum"),
                         QStringLiteral("AltDorvaneNum"), QStringLiteral("RoverNum")};
        for (int i = 1; i <= 6; ++i)
            list << QStringLiteral("RoverSuper%1").arg(i);
        list << QStringLiteral("Description") << QStringLiteral("CustomerPrice")
             << QStringLiteral("LRPrice") << QStringLiteral("CustomerLRPrice")
             << QStringLiteral("LRDiscountCode") << QStringLiteral("UnitSale")
             << QStringLiteral("UnitIssue") << QStringLiteral("Weight")
             << QStringLiteral("ProductGroup") << QStringLiteral("Brand");
        for (int i = 1; i <= 9; ++i)
            list << QStringLiteral("Application%1").arg(i);
        for (int i = 1; i <= 9; ++i)
            list << QStringLiteral("Picture%1").arg(i);
        return list;
    }();
    return columns;
}

void Schema::createCatalogue(Database& db) {
    QStringList columns;
    for (const QString& name : partsColumns()) {
        if (name == u"ID")
            columns << QStringLiteral("ID INTEGER PRIMARY KEY");
        else if (name == u"CustomerPrice" || name == u"LRPrice" || name == u"CustomerLRPrice")
            columns << amount(name);
        else
            columns << text(name);
    }
    createTables(db, {table(QStringLiteral("Parts"), columns)});
}

void Schema::createUser(Database& db) {
    createTables(
        db,
        {// OrderNum and ID are never reused, not even after the newest row is deleted.
         table(QStringLiteral("orders"),
               {QStringLiteral("OrderNum INTEGER PRIMARY KEY AUTOINCREMENT"),
                text(QStringLiteral("OrderDate")), boolean(QStringLiteral("OrderStatus"))}),
         table(QStringLiteral("orderParts"),
               {QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT"),
                wholeNumber(QStringLiteral("OrderNum")), text(QStringLiteral("DorvaneNum")),
                text(QStringLiteral("RoverNum")), text(QStringLiteral("Description")),
                wholeNumber(QStringLiteral("Quantity")), amount(QStringLiteral("Price")),
                text(QStringLiteral("Comments"))}),
         table(QStringLiteral("customParts"),
               {text(QStringLiteral("DorvaneNum")), text(QStringLiteral("RoverNum")),
                amount(QStringLiteral("CustomerPrice")), amount(QStringLiteral("CustomerLRPrice")),
                text(QStringLiteral("CustomerUnitSale"))}),
         addressTable(QStringLiteral("orderCompanyDetails"), QStringLiteral("Order")),
         addressTable(QStringLiteral("deliveryCompanyDetails"), QStringLiteral("Delivery"))});
}

} // namespace quillon
