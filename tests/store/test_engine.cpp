// The engine over real store files: the statements the program issues, the types the tables
// keep, the results, transactions and the files themselves.
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/statement_builder.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <stdexcept>

using quillon::Database;
using quillon::Money;
using quillon::Recordset;
using quillon::Schema;
using quillon::SqlCondition;
using quillon::sqlEscape;
using quillon::SqlLiteral;
using quillon::StatementBuilder;
using quillon::StoreError;
using quillon::Transaction;
using quillon::Value;
using quillon::tests::descriptionSearch;
using quillon::tests::partNumberSearch;
using quillon::tests::render;
using quillon::tests::renderColumn;
using quillon::tests::StoreFixture;

namespace {

const QString newOrder =
    QStringLiteral("INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate");

// Columns and their values, every value quoted as a text, as the program writes its rows.
QList<StatementBuilder::Column> quoted(const QStringList& columns, const QStringList& values) {
    QList<StatementBuilder::Column> row;
    for (qsizetype i = 0; i < columns.size(); ++i)
        row.append({columns[i], SqlLiteral::text(values.value(i))});
    return row;
}

QString orderLine(const QString& orderNum, const QString& dorvaneNum, const QString& roverNum,
                  const QString& description, const QString& quantity, const QString& price,
                  const QString& comment) {
    auto row = quoted({"OrderNum", "DorvaneNum", "RoverNum", "Description", "Quantity", "Price"},
                      {orderNum, dorvaneNum, roverNum, description, quantity, price});
    row.append({"Comments", SqlLiteral::text(comment), "Comment"});
    return StatementBuilder::insertRow(u"orderParts", row);
}

QString customPart(const QString& dorvaneNum, const QString& roverNum, const QString& filePrice,
                   const QString& sellingPrice, const QString& unit) {
    return StatementBuilder::insertRow(
        u"customParts",
        quoted({"DorvaneNum", "RoverNum", "CustomerPrice", "CustomerLRPrice", "CustomerUnitSale"},
               {dorvaneNum, roverNum, filePrice, sellingPrice, unit}));
}

QString addressUpdate(const QString& table, const QString& p, const QString& name,
                      const QStringList& values) {
    return StatementBuilder::updateRow(
        table,
        quoted({p + "ContactName", p + "Address1", p + "Address2", p + "Address3", p + "Address4",
                p + "Address5", p + "Postcode", p + "Tel"},
               values),
        SqlCondition::equalsTight(u"RecordName", SqlLiteral::text(name)));
}

// Parts rows of the small test catalogue.
QString part(int id, const QString& dorvaneNum, const QString& altNum, const QString& roverNum,
             const QString& super1, const QString& description, const QString& price,
             const QString& app1, const QString& app2) {
    auto quoted = [](const QString& v) {
        return v.isNull() ? QStringLiteral("NULL") : SqlLiteral::text(v).sql();
    };
    return QStringLiteral("INSERT INTO Parts(ID,DorvaneNum,AltDorvaneNum,RoverNum,RoverSuper1,"
                          "Description,CustomerPrice,LRPrice,CustomerLRPrice,Application1,"
                          "Application2) VALUES (%1, %2, %3, %4, %5, %6, %7, '0', '0', %8, %9)")
        .arg(id)
        .arg(quoted(dorvaneNum), quoted(altNum), quoted(roverNum), quoted(super1),
             quoted(description), quoted(price), quoted(app1), quoted(app2));
}

// Everything a table holds, for "nothing was written" checks.
QString contents(Database& db, const QString& table) {
    Recordset all = db.openRecordset(QStringLiteral("SELECT * FROM ") + table);
    return render(all);
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<StoreFixture> fixture;
    std::unique_ptr<Database> user;
    StoreFixture catalogueFixture;
    QString cataloguePath;

private slots:
    void initTestCase() {
        cataloguePath = catalogueFixture.createCatalogue({
            part(1, "DA1001", "ALT-1", "ERR1234", {}, "Oil filter", "5.5", "Defender", "Discovery"),
            part(2, "DA1002", {}, "Dorvane Only", {}, "Brake pad set, front", "40", "Range Rover",
                 {}),
            part(3, "DA2012", "X12", "STC500", "ERR9999", "Rear lamp lens", "12.5", "Series 3", {}),
            part(4, "DA3003", {}, "LR012345", {}, "Héadlamp bulb ÉCLAT", "0", "Freelander",
                 "Defender"),
            part(5, "DA4000", {}, "Dorvane Only", {}, "Gasket, rocker cover O'Neil type", "7.25",
                 "TD 5", {}),
        });
    }

    void init() {
        fixture = std::make_unique<StoreFixture>();
        user = fixture->createUserStore();
    }

    void cleanup() {
        user.reset();
        fixture.reset();
    }

    // --- Opening and closing ---------------------------------------------------------------

    // A file that isn't there, isn't a store or can't be written: an error naming it, and the
    // file as it was.
    void openingFails_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Database::Access>("access");
        QTest::newRow("missing, read-only") << "nothing here.mdb" << Database::Access::ReadOnly;
        QTest::newRow("missing, read-write") << "nothing here.mdb" << Database::Access::ReadWrite;
        QTest::newRow("garbage, read-only") << "garbage.mdb" << Database::Access::ReadOnly;
        QTest::newRow("garbage, read-write") << "garbage.mdb" << Database::Access::ReadWrite;
        QTest::newRow("write-protected, read-write") << "user.mdb" << Database::Access::ReadWrite;
    }
    void openingFails() {
        QFETCH(QString, file);
        QFETCH(Database::Access, access);
        const QString path = fixture->path(file);
        if (file == u"garbage.mdb") {
            QFile garbage(path);
            QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write(QByteArray(4096, 'x')));
        }
        if (file == u"user.mdb") {
            user->close();
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
            if (QFileInfo(path).isWritable())
                QSKIP("This account can write any file (root): nothing to protect the store with.");
        }
        const auto bytes = [&path] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const bool existed = QFileInfo::exists(path);
        const QByteArray before = bytes();
        try {
            Database::open(path, access);
            QFAIL("the file opened as a store");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
        QCOMPARE(QFileInfo::exists(path), existed);
        QCOMPARE(bytes(), before);
    }

    void createRefusesAnExistingFile() {
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 Database::create(fixture->path(QStringLiteral("user.mdb"))));
        QCOMPARE(contents(*user, QStringLiteral("orders")), QString()); // still a store
    }

    void catalogueOpenedReadOnlyRefusesWrites() {
        auto catalogue = Database::open(cataloguePath, Database::Access::ReadOnly);
        const QString before = contents(*catalogue, QStringLiteral("Parts"));
        for (const QString& statement :
             {QStringLiteral("DELETE * FROM Parts WHERE ID=1"),
              QStringLiteral("UPDATE Parts SET Description = 'x' WHERE ID = 1"),
              part(9, "DA9", {}, "X", {}, "new", "1", {}, {})})
            QVERIFY_THROWS_EXCEPTION(StoreError, catalogue->execute(statement));
        QCOMPARE(contents(*catalogue, QStringLiteral("Parts")), before);
    }

    void closeReleasesTheFile() {
        user->execute(newOrder);
        user->close();
        QVERIFY(!user->isOpen());
        QVERIFY(user->handle() == nullptr);
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(newOrder));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 user->openRecordset(QStringLiteral("SELECT * FROM orders")));
        user->close(); // twice is harmless
        const QString copy = fixture->path(QStringLiteral("copy.mdb"));
        QVERIFY(QFile::copy(fixture->path(QStringLiteral("user.mdb")), copy));
        auto reopened = Database::open(copy, Database::Access::ReadWrite);
        Recordset orders = reopened->openRecordset(QStringLiteral("SELECT OrderNum FROM orders"));
        QCOMPARE(render(orders), QStringLiteral("1"));
    }

    // --- The statements of the user store --------------------------------------------------

    void userStatements_data() {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");

        const QString line1 = orderLine("1", "DA1001", "ERR1234", "Oil filter", "3", "12.5", "");
        const QString line2 =
            orderLine("1", "DA1002", "Dorvane Only", "Brake pad set", "1", "40", "fit both");
        const QString line3 = orderLine("1", "DA4000", "Dorvane Only", "Gasket", "2", "7.25", "");
        const QString line4 = orderLine("2", "DA1001", "ERR1234", "Oil filter", "6", "12", "x");

        QTest::newRow("new order is open")
            << QStringList{newOrder} << "SELECT * FROM orders WHERE OrderStatus = FALSE"
            << "1,'06/12/2026',FALSE";
        QTest::newRow("complete order")
            << QStringList{newOrder, newOrder,
                           "UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 1"}
            << "SELECT * FROM orders WHERE OrderStatus = TRUE"
            << "1,'06/12/2026',TRUE";
        QTest::newRow("delete order")
            << QStringList{newOrder, newOrder, "DELETE * FROM orders WHERE OrderNum=1"}
            << "SELECT OrderNum FROM orders"
            << "2";
        QTest::newRow("line reads back typed")
            << QStringList{newOrder, line1} << "SELECT * FROM orderParts WHERE OrderNum = 1"
            << "1,1,'DA1001','ERR1234','Oil filter',3,12.5m,''";
        QTest::newRow("order without lines")
            << QStringList{newOrder, line1} << "SELECT * FROM orderParts WHERE OrderNum = 99"
            << "";
        QTest::newRow("Dorvane Only line by DorvaneNum")
            << QStringList{newOrder, line1, line2, line3}
            << "SELECT ID, Description FROM orderParts WHERE (OrderNum = 1 AND DorvaneNum = "
               "'DA4000')"
            << "3,'Gasket'";
        QTest::newRow("update line by part key")
            << QStringList{newOrder, line1, line2,
                           "UPDATE orderParts SET Quantity = '5',Comments = 'urgent',Price = "
                           "'13.25' WHERE OrderNum = 1 AND RoverNum = 'ERR1234'"}
            << "SELECT Quantity, Comments, Price FROM orderParts WHERE OrderNum = 1"
            << "5,'urgent',13.25m;1,'fit both',40m";
        QTest::newRow("line by ID")
            << QStringList{newOrder, line1, line2} << "SELECT * FROM orderParts WHERE ID = 2"
            << "2,1,'DA1002','Dorvane Only','Brake pad set',1,40m,'fit both'";
        QTest::newRow("update line by ID keeps price")
            << QStringList{newOrder, line1,
                           "UPDATE orderParts SET Quantity = '4',Comments = 'spare' WHERE ID=1"}
            << "SELECT Quantity, Comments, Price FROM orderParts"
            << "4,'spare',12.5m";
        QTest::newRow("delete line by ID")
            << QStringList{newOrder, line1, line2, "DELETE * FROM orderParts WHERE ID=1"}
            << "SELECT ID FROM orderParts"
            << "2";
        QTest::newRow("delete lines of an order")
            << QStringList{newOrder, newOrder, line1,
                           line2,    line4,    "DELETE * FROM orderParts WHERE OrderNum=1"}
            << "SELECT ID, OrderNum FROM orderParts"
            << "3,2";

        const QString custom = customPart("DA1001", "ERR1234", "4.5", "6.99", "EACH");
        const QString customOnly = customPart("DA1002", "Dorvane Only", "30", "35", "SET");
        QTest::newRow("custom price by RoverNum, table name in other case")
            << QStringList{custom, customOnly}
            << "SELECT * FROM CustomParts WHERE (RoverNum = 'ERR1234')"
            << "'DA1001','ERR1234',4.5m,6.99m,'EACH'";
        QTest::newRow("update custom price")
            << QStringList{custom, "UPDATE customParts SET CustomerPrice = '5',CustomerLRPrice = "
                                   "'£1,234.50',CustomerUnitSale = 'PAIR' WHERE RoverNum='ERR1234'"}
            << "SELECT * FROM customParts"
            << "'DA1001','ERR1234',5m,1234.5m,'PAIR'";
        QTest::newRow("delete custom price")
            << QStringList{custom, customOnly, "DELETE * FROM customParts WHERE RoverNum='ERR1234'"}
            << "SELECT DorvaneNum FROM customParts"
            << "'DA1002'";
        for (const auto& [table, prefix] :
             {std::pair{QStringLiteral("orderCompanyDetails"), QStringLiteral("Order")},
              std::pair{QStringLiteral("deliveryCompanyDetails"), QStringLiteral("Delivery")}}) {
            const QString add = QStringLiteral("INSERT INTO ") + table +
                                QStringLiteral("(RecordName) SELECT 'Home' AS RecordName");
            const QString addWork = QStringLiteral("INSERT INTO ") + table +
                                    QStringLiteral("(RecordName) SELECT 'Work' AS RecordName");
            QTest::addRow("%s: new record is empty", qPrintable(table))
                << QStringList{add} << "SELECT * FROM " + table + " WHERE RecordName = 'Home'"
                << "'Home',NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL";
            QTest::addRow("%s: update", qPrintable(table))
                << QStringList{add, addWork,
                               addressUpdate(table, prefix, "Home",
                                             {"J Smith", "1 High St", "", "", "", "Leeds",
                                              "LS1 1AA", "0113"})}
                << "SELECT * FROM " + table + " WHERE RecordName = 'home'"
                << "'Home','J Smith','1 High St','','','','Leeds','LS1 1AA','0113'";
            QTest::addRow("%s: delete", qPrintable(table))
                << QStringList{add, addWork, "DELETE * FROM " + table + " WHERE RecordName='Home'"}
                << "SELECT RecordName FROM " + table << "'Work'";
        }
    }
    void userStatements() {
        QFETCH(QStringList, statements);
        QFETCH(QString, query);
        QFETCH(QString, expected);
        for (const QString& statement : statements)
            user->execute(statement);
        Recordset result = user->openRecordset(query);
        QCOMPARE(render(result), expected);
    }

    void executeCountsChangedRows() {
        user->execute(newOrder);
        user->execute(newOrder);
        QCOMPARE(user->execute(QStringLiteral("UPDATE orders SET OrderStatus = TRUE WHERE "
                                              "OrderNum = 2")),
                 1);
        QCOMPARE(user->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=7")), 0);
        QCOMPARE(user->execute(QStringLiteral("DELETE * FROM orders WHERE OrderStatus = FALSE")),
                 1);
        QCOMPARE(user->execute(QStringLiteral("CREATE TABLE extra (n INTEGER)")), 0);
        QCOMPARE(user->execute(QStringLiteral("INSERT INTO extra(n) SELECT '1' AS n")), 1);
    }

    void orderNumbersAndLineIdsAreNeverReused() {
        user->execute(newOrder);
        user->execute(newOrder);
        user->execute(orderLine("2", "DA1", "R1", "a", "1", "1", ""));
        user->execute(orderLine("2", "DA2", "R2", "b", "1", "1", ""));
        // The newest order and its newest line go...
        user->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=2"));
        user->execute(QStringLiteral("DELETE * FROM orderParts WHERE OrderNum=2"));
        // ...and their numbers stay used, also after the store is reopened.
        user->close();
        user =
            Database::open(fixture->path(QStringLiteral("user.mdb")), Database::Access::ReadWrite);
        user->execute(newOrder);
        Recordset orders = user->openRecordset(QStringLiteral("SELECT OrderNum FROM orders"));
        QCOMPARE(render(orders), QStringLiteral("1;3"));
        orders.moveLast();
        QCOMPARE(orders.field(u"OrderNum").toInteger(), qint64(3));
        user->execute(orderLine("3", "DA3", "R3", "c", "1", "1", ""));
        Recordset lines = user->openRecordset(QStringLiteral("SELECT ID FROM orderParts"));
        QCOMPARE(render(lines), QStringLiteral("3"));
    }

    // --- The catalogue's statements --------------------------------------------------------

    void catalogueStatements_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("ids");
        QTest::newRow("number search") << partNumberSearch("12") << "1,3,4";
        QTest::newRow("number search, other case") << partNumberSearch("err") << "1,3";
        QTest::newRow("number search on alternative number") << partNumberSearch("ALT-") << "1";
        QTest::newRow("number search, ? wildcard typed") << partNumberSearch("DA?00") << "1,2,4,5";
        QTest::newRow("number search, lone bracket") << partNumberSearch("[12") << "";
        QTest::newRow("description, any vehicle") << descriptionSearch("lamp", {}) << "3,4";
        QTest::newRow("description, beyond ASCII") << descriptionSearch("HÉADLAMP", {}) << "4";
        QTest::newRow("description, accent folded in LIKE")
            << descriptionSearch("éclat", {}) << "4";
        QTest::newRow("description and vehicle") << descriptionSearch("lamp", "Defender") << "4";
        QTest::newRow("vehicle compared without case")
            << descriptionSearch("FILTER", "defender") << "1";
        QTest::newRow("vehicle is not a pattern") << descriptionSearch("lamp", "Def*") << "";
        QTest::newRow("description with apostrophe") << descriptionSearch("O'Neil", "TD 5") << "5";
        QTest::newRow("by RoverNum") << "SELECT * FROM Parts WHERE (RoverNum = 'err1234')"
                                     << "1";
        QTest::newRow("by DorvaneNum") << "SELECT * FROM Parts WHERE (DorvaneNum = 'DA4000')"
                                       << "5";
        QTest::newRow("amount compared as an amount")
            << "SELECT ID FROM Parts WHERE CustomerPrice = 12.5"
            << "3";
        QTest::newRow("amount compared with quoted text")
            << "SELECT ID FROM Parts WHERE CustomerPrice >= '7.25' ORDER BY ID ASC"
            << "2,3,5";
        QTest::newRow("bracketed names") << "SELECT [ID] FROM [Parts] WHERE [ID] = 4"
                                         << "4";
    }
    void catalogueStatements() {
        QFETCH(QString, query);
        QFETCH(QString, ids);
        auto catalogue = Database::open(cataloguePath, Database::Access::ReadOnly);
        Recordset result = catalogue->openRecordset(query);
        QCOMPARE(renderColumn(result, QStringLiteral("id")), ids);
    }

    void catalogueRowReadsTyped() {
        auto catalogue = Database::open(cataloguePath, Database::Access::ReadOnly);
        Recordset result =
            catalogue->openRecordset(QStringLiteral("SELECT * FROM Parts WHERE ID = 3"));
        QCOMPARE(result.columnNames(), Schema::partsColumns());
        QCOMPARE(result.field(u"ID"), Value::integer(3));
        QCOMPARE(result.field(u"AltDorvaneNum"), Value::text("X12"));
        QCOMPARE(result.field(u"CustomerPrice"), Value::amount(Money::fromUnits(125000)));
        QCOMPARE(result.field(u"lrprice"), Value::amount(Money()));
        QVERIFY(result.field(u"RoverSuper2").isNull());
        QVERIFY(result.field(u"Picture9").isAbsent());
    }

    // --- Types: what a column holds ----------------------------------------------------------

    void valuesAreConverted_data() {
        QTest::addColumn<QString>("column"); // of orderParts, or OrderStatus of orders
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* tag, const char* column, const char* text,
                            const char* stored) {
            QTest::newRow(tag) << QString::fromUtf8(column) << QString::fromUtf8(text)
                               << QString::fromUtf8(stored);
        };
        row("whole number", "Quantity", "3", "3");
        row("whole number with blanks and sign", "Quantity", " -12 ", "-12");
        row("amount, plain", "Price", "12.5", "12.5m");
        row("amount, four decimals", "Price", "1234.5678", "1234.5678m");
        row("amount, negative", "Price", "-3.125", "-3.125m");
        row("amount, display form", "Price", "£1,234.50", "1234.5m");
        row("amount, large", "Price", "922337203685477.5807", "922337203685477.5807m");
        row("text unchanged", "Comments", "  3 boxes, 'fragile' ", "'  3 boxes, 'fragile' '");
        row("empty text stays empty", "Comments", "", "''");
        row("Boolean True", "OrderStatus", "True", "TRUE");
        row("Boolean -1", "OrderStatus", "-1", "TRUE");
        row("Boolean False", "OrderStatus", "False", "FALSE");
        row("Boolean 0", "OrderStatus", "0", "FALSE");
    }
    void valuesAreConverted() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString table =
            column == u"OrderStatus" ? QStringLiteral("orders") : QStringLiteral("orderParts");
        user->execute(newOrder);
        user->execute(orderLine("1", "DA1", "R1", "d", "1", "1", ""));
        user->execute(QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE OrderNum=1")
                          .arg(table, column, sqlEscape(text)));
        Recordset result =
            user->openRecordset(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
        QCOMPARE(render(result), stored);
    }

    void valueTheColumnCannotHoldIsRefused_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("named"); // what the message must name
        QTest::newRow("text as amount")
            << orderLine("1", "DA1", "R1", "d", "1", "abc", "") << "Price";
        QTest::newRow("empty amount") << orderLine("1", "DA1", "R1", "d", "1", "", "") << "Price";
        QTest::newRow("fraction as whole number")
            << orderLine("1", "DA1", "R1", "d", "2.5", "1", "") << "Quantity";
        QTest::newRow("empty whole number")
            << orderLine("1", "DA1", "R1", "d", "", "1", "") << "Quantity";
        QTest::newRow("text as whole number")
            << orderLine("1", "DA1", "R1", "d", "two", "1", "") << "two";
        QTest::newRow("whole number beyond 32 bits")
            << orderLine("1", "DA1", "R1", "d", "4294967296", "1", "") << "Quantity";
        QTest::newRow("order number as text")
            << orderLine("x", "DA1", "R1", "d", "1", "1", "") << "OrderNum";
        QTest::newRow("custom price as text")
            << customPart("DA1", "R1", "1", "cheap", "EACH") << "CustomerLRPrice";
        QTest::newRow("empty custom price")
            << customPart("DA1", "R1", "", "2", "EACH") << "CustomerPrice";
        QTest::newRow("update with text amount")
            << "UPDATE customParts SET CustomerPrice = '4.5',CustomerLRPrice = '12,34.5'"
               ",CustomerUnitSale = 'BOX' WHERE RoverNum='ERR1'"
            << "12,34.5";
        QTest::newRow("update quantity with fraction")
            << "UPDATE orderParts SET Quantity = '1.5',Comments = 'x' WHERE ID=1"
            << "1.5";
        QTest::newRow("Boolean from text")
            << "UPDATE orders SET OrderStatus = 'maybe' WHERE OrderNum = 1"
            << "OrderStatus";
        QTest::newRow("raw number into amount column through SQL")
            << "INSERT INTO orderParts (OrderNum, Price) SELECT OrderNum, 2.5 FROM orders"
            << "";
        QTest::newRow("raw text into whole number column through SQL")
            << "UPDATE orderParts SET Quantity = Comments || 'x' WHERE ID=1"
            << "";
        QTest::newRow("values for too few columns")
            << "INSERT INTO orders(OrderDate, OrderStatus) SELECT '1/1/2026' AS OrderDate"
            << "";
        QTest::newRow("unknown column")
            << "INSERT INTO orders(OrderDay) SELECT '1/1/2026' AS OrderDay"
            << "OrderDay";
    }
    void valueTheColumnCannotHoldIsRefused() {
        QFETCH(QString, statement);
        QFETCH(QString, named);
        user->execute(newOrder);
        user->execute(orderLine("1", "DA1", "ERR1", "d", "1", "1", "note"));
        user->execute(customPart("DA1", "ERR1", "1", "2", "EACH"));
        QStringList before;
        for (const char* table : {"orders", "orderParts", "customParts"})
            before << contents(*user, QLatin1String(table));
        try {
            user->execute(statement);
            QFAIL("the store took a value its column can't hold");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(named), qPrintable(e.message()));
            QCOMPARE(e.statement(), statement);
        }
        QStringList after;
        for (const char* table : {"orders", "orderParts", "customParts"})
            after << contents(*user, QLatin1String(table));
        QCOMPARE(after, before);
    }

    // --- Apostrophes -------------------------------------------------------------------------

    void apostrophesRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << "O'Brien's";
        QTest::newRow("alone") << "'";
        QTest::newRow("at both ends") << "'quoted'";
        QTest::newRow("with wildcards") << "it's 50% * 2";
        QTest::newRow("beyond ASCII") << "Søren Ølstrøm – École ☃ 𝄞";
    }
    void apostrophesRoundTrip() {
        QFETCH(QString, text);
        const QString literal = SqlLiteral::text(text).sql();
        // INSERT
        for (const QString& name : {text, QStringLiteral("other")})
            user->execute(StatementBuilder::insertRow(u"orderCompanyDetails",
                                                      quoted({"RecordName"}, {name})));
        // UPDATE
        user->execute(addressUpdate(QStringLiteral("orderCompanyDetails"), QStringLiteral("Order"),
                                    text, {text, text}));
        // SELECT ... WHERE, comparing without regard to letter case
        Recordset found = user->openRecordset(
            QStringLiteral("SELECT * FROM orderCompanyDetails WHERE RecordName = ") +
            literal.toUpper());
        QCOMPARE(found.recordCount(), 1);
        QCOMPARE(found.field(u"RecordName").toText(), text);
        QCOMPARE(found.field(u"OrderContactName").toText(), text);
        QCOMPARE(found.field(u"OrderAddress1").toText(), text);
        // LIKE, with the text's own wildcards escaped nowhere: it matches itself
        Recordset liked = user->openRecordset(
            QStringLiteral("SELECT RecordName FROM orderCompanyDetails WHERE OrderContactName "
                           "LIKE '*") +
            sqlEscape(text) + QStringLiteral("*'"));
        QCOMPARE(renderColumn(liked, QStringLiteral("RecordName")), text);
        // DELETE
        user->execute(StatementBuilder::deleteWhere(
            u"orderCompanyDetails",
            SqlCondition::equalsTight(u"RecordName", SqlLiteral::text(text))));
        Recordset rest =
            user->openRecordset(QStringLiteral("SELECT RecordName FROM orderCompanyDetails"));
        QCOMPARE(render(rest), QStringLiteral("'other'"));
    }

    // --- Results ---------------------------------------------------------------------------

    void emptyResult() {
        Recordset result = user->openRecordset(QStringLiteral("SELECT * FROM orders"));
        QVERIFY(result.isOpen());
        QVERIFY(result.bof());
        QVERIFY(result.eof());
        QCOMPARE(result.recordCount(), 0);
        QCOMPARE(result.columnCount(), 3);
        result.moveNext();
        result.moveLast();
        result.moveFirst();
        QVERIFY(result.bof());
        QVERIFY(result.eof());
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"OrderNum"));
        const Recordset never;
        QVERIFY(!never.isOpen() && never.bof() && never.eof() && never.recordCount() == 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, never.field(0));
    }

    void moves() {
        for (int i = 0; i < 3; ++i)
            user->execute(newOrder);
        Recordset result = user->openRecordset(QStringLiteral("SELECT * FROM orders"));
        QCOMPARE(result.recordCount(), 3);
        QVERIFY(!result.bof());
        QVERIFY(!result.eof());
        QCOMPARE(result.field(u"ordernum").toInteger(), qint64(1));
        result.moveNext();
        QCOMPARE(result.field(u"ORDERNUM").toInteger(), qint64(2));
        result.moveNext();
        result.moveNext();
        QVERIFY(result.eof());
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"OrderNum"));
        result.moveNext(); // past the end stays at the end
        QVERIFY(result.eof());
        result.moveLast();
        QVERIFY(!result.eof());
        QCOMPARE(result.field(u"OrderNum").toInteger(), qint64(3));
        result.moveFirst();
        QCOMPARE(result.position(), 0);
        QCOMPARE(result.field(u"OrderNum").toInteger(), qint64(1));
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"NoSuchField"));
        QCOMPARE(result.columnIndex(u"orderdate"), 1);
        QCOMPARE(result.columnIndex(u"nothing"), -1);
        result.close();
        QVERIFY(!result.isOpen());
        QVERIFY(result.bof() && result.eof());
        QCOMPARE(result.recordCount(), 0);
    }

    // A name given twice finds its first column; a result that keeps some columns keeps those
    // (the first of a name) in the statement's order, and refuses a name the statement lacks.
    void sameNameTwiceFindsTheFirstAndKeptColumns() {
        user->execute(newOrder);
        user->execute(orderLine("1", "DA1", "R1", "Seal – ø\t1", "7", "1", ""));
        const QString both =
            QStringLiteral("SELECT o.OrderDate, p.*, o.OrderNum FROM orders o, orderParts p");
        Recordset result = user->openRecordset(both);
        QCOMPARE(result.field(u"ordernum"), result.field(1)); // the line's ID comes first
        QCOMPARE(result.columnIndex(u"OrderNum"), 2);
        Recordset kept =
            user->openRecordset(both, {}, {}, {"comments", "DESCRIPTION", "ordernum", "Quantity"});
        QCOMPARE(kept.columnNames(),
                 (QStringList{"OrderNum", "Description", "Quantity", "Comments"}));
        Recordset columns = user->openRecordset(
            QStringLiteral("SELECT OrderNum, Description, Quantity, Comments FROM orderParts"));
        QCOMPARE(render(kept), render(columns));
        QVERIFY_THROWS_EXCEPTION(StoreError, kept.field(u"ID"));
        QByteArray texts;
        kept.moveFirst();
        for (int column = 1; column < 4; ++column)
            kept.appendText(column, texts);
        QCOMPARE(QString::fromUtf8(texts), QStringLiteral("Seal – ø\t17"));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 user->openRecordset(both, {}, {}, {"Quantity", "Nothing"}));
    }

    void nullIsKeptApartFromEmptyText() {
        user->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName, OrderTel) "
                                     "SELECT 'A' AS RecordName, '' AS OrderTel"));
        Recordset result = user->openRecordset(
            QStringLiteral("SELECT OrderContactName, OrderTel FROM orderCompanyDetails"));
        QVERIFY(result.field(u"OrderContactName").isNull());
        QVERIFY(!result.field(u"OrderTel").isNull());
        QCOMPARE(result.field(u"OrderTel"), Value::text(QString()));
        // A comparison with a Null is false both ways.
        Recordset none =
            user->openRecordset(QStringLiteral("SELECT * FROM orderCompanyDetails WHERE "
                                               "OrderContactName = '' OR OrderContactName <> ''"));
        QVERIFY(none.isEmpty());
    }

    void expressionColumnsReadByWhatTheyHold() {
        user->execute(newOrder);
        Recordset result = user->openRecordset(
            QStringLiteral("SELECT count(*) AS n, 'x' AS t, NULL AS absent, -2147483648 AS small, "
                           "2147483648 AS large FROM orders"));
        QCOMPARE(render(result), QStringLiteral("1,'x',NULL,-2147483648,2147483648"));
        QCOMPARE(result.columnNames(), (QStringList{"n", "t", "absent", "small", "large"}));
    }

    // The buffers of a closed result serve the next one: every result, read after larger and
    // smaller ones, moved or kept open beside another, holds exactly its own values.
    void resultsHoldTheirOwnValuesWhateverCameBefore() {
        const QString longText(70000, QChar(0x00E9)); // more than the buffers' first size
        user->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName, OrderAddress1) "
                                     "SELECT 'Long' AS a, '%1' AS b")
                          .arg(longText));
        user->execute(newOrder);
        user->execute(orderLine("1", "DA1", "R1", "first", "3", "12.5", ""));
        user->execute(orderLine("1", "DA2", "R2", "second", "40000", "-0.0001", "note"));
        const QString lines =
            QStringLiteral("SELECT o.OrderStatus, p.Quantity, p.Price, p.Description, p.Comments "
                           "FROM orders o, orderParts p ORDER BY p.ID");

        Recordset large =
            user->openRecordset(QStringLiteral("SELECT OrderAddress1 FROM orderCompanyDetails"));
        QCOMPARE(large.field(0).toText(), longText);
        large.close();

        Recordset first = user->openRecordset(lines);
        Recordset kept = std::move(first);
        {
            Recordset other = user->openRecordset(lines);
            QCOMPARE(render(other), render(kept));
            kept.moveFirst();
        }
        Recordset after =
            user->openRecordset(QStringLiteral("SELECT RecordName FROM orderCompanyDetails"));
        QCOMPARE(after.field(0), Value::text(QStringLiteral("Long")));

        QCOMPARE(kept.recordCount(), 2);
        QCOMPARE(kept.field(u"OrderStatus"), Value::boolean(false));
        QCOMPARE(kept.field(u"Quantity"), Value::integer(3));
        QCOMPARE(kept.field(u"Price"), Value::amount(Money::fromUnits(125000)));
        QCOMPARE(kept.field(u"Description"), Value::text(QStringLiteral("first")));
        QVERIFY(kept.isAbsent(kept.columnIndex(u"Comments")));
        kept.moveNext();
        QCOMPARE(kept.field(u"Quantity"), Value::integer(40000));
        QCOMPARE(kept.field(u"Price"), Value::amount(Money::fromUnits(-1)));
        QCOMPARE(kept.field(u"Comments"), Value::text(QStringLiteral("note")));
        QVERIFY(!kept.isAbsent(kept.columnIndex(u"Comments")));
    }

    // A SELECT run again is served compiled from before, and still sees every change of the
    // rows and of the tables made since; many different ones run in between change nothing.
    void selectRunAgainSeesChanges() {
        const QString count = QStringLiteral("SELECT count(*) AS n FROM orders");
        const QString all = QStringLiteral("SELECT * FROM orders");
        QCOMPARE(user->openRecordset(count).field(0).toInteger(), qint64(0));
        user->execute(newOrder);
        QCOMPARE(user->openRecordset(count).field(0).toInteger(), qint64(1));
        QCOMPARE(user->openRecordset(all).columnCount(), 3);
        user->execute(QStringLiteral("ALTER TABLE orders ADD COLUMN Note TEXT"));
        QCOMPARE(user->openRecordset(all).columnCount(), 4);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(
                user->openRecordset(QStringLiteral("SELECT %1 AS n").arg(i)).field(0).toInteger(),
                qint64(i));
        user->execute(QStringLiteral("DELETE * FROM orders"));
        QCOMPARE(user->openRecordset(count).field(0).toInteger(), qint64(0));
    }

    // A long statement calls back while it runs; what the call throws ends the statement, is
    // thrown on, and leaves the store as usable as before.
    void longStatementCallsBackWhileRunning() {
        {
            Transaction transaction(*user);
            for (int i = 0; i < 60; ++i)
                user->execute(newOrder);
            transaction.commit();
        }
        const QString cube =
            QStringLiteral("SELECT count(*) AS n FROM orders a, orders b, orders c");
        int calls = 0;
        Recordset counted = user->openRecordset(cube, [&calls] { ++calls; });
        QCOMPARE(counted.field(0).toInteger(), qint64(60 * 60 * 60));
        QVERIFY(calls > 1);

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, user->openRecordset(cube, [] {
            throw std::runtime_error("stopped");
        }));
        QCOMPARE(user->openRecordset(cube).field(0).toInteger(), qint64(60 * 60 * 60));
        user->execute(newOrder);
        QCOMPARE(user->openRecordset(QStringLiteral("SELECT count(*) AS n FROM orders"))
                     .field(0)
                     .toInteger(),
                 qint64(61));
    }

    void wrongKindOfStatementIsRefused() {
        user->execute(newOrder);
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QStringLiteral("SELECT * FROM orders")));
        QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset(QStringLiteral(
                                                 "DELETE * FROM orders WHERE OrderNum=1")));
        try {
            user->openRecordset(QStringLiteral("SELECT * FROM nowhere"));
            QFAIL("a SELECT of a missing table ran");
        } catch (const StoreError& e) { // the engine's message and the statement
            QVERIFY2(e.message().contains(QStringLiteral("no such table")),
                     qPrintable(e.message()));
            QVERIFY(
                QString::fromStdString(e.what()).contains(QStringLiteral("SELECT * FROM nowhere")));
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QStringLiteral("DELETE * FROM orders; "
                                                                          "DROP TABLE orders")));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 user->openRecordset(QStringLiteral("PRAGMA table_info(orders); "
                                                                    "DROP TABLE orders")));
        QVERIFY_THROWS_EXCEPTION(
            StoreError, user->execute(QStringLiteral("PRAGMA foreign_keys; DROP TABLE orders")));
        Recordset still = user->openRecordset(QStringLiteral("SELECT OrderNum FROM orders"));
        QCOMPARE(render(still), QStringLiteral("1"));
    }

    // --- Transactions ----------------------------------------------------------------------

    // All or nothing: a transaction committed keeps every change; one thrown out of, or one a
    // statement of fails in, keeps none of them, and the store takes new work afterwards.
    void transactionKeepsAllOrNothing_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("commit");
        QTest::addColumn<QString>("orders");
        QTest::newRow("committed") << orderLine("2", "DA1", "R1", "d", "1", "1", "") << true
                                   << "1,'06/12/2026',FALSE;2,'06/12/2026',FALSE";
        QTest::newRow("thrown out of")
            << orderLine("2", "DA1", "R1", "d", "1", "1", "") << false << "1,'06/12/2026',FALSE";
        QTest::newRow("refused value") << orderLine("2", "DA1", "R1", "d", "1", "not money", "")
                                       << true << "1,'06/12/2026',FALSE";
    }
    void transactionKeepsAllOrNothing() {
        QFETCH(QString, line);
        QFETCH(bool, commit);
        QFETCH(QString, orders);
        user->execute(newOrder);
        try {
            Transaction transaction(*user);
            user->execute(newOrder);
            user->execute(line);
            if (!commit)
                throw std::runtime_error("the action fails half-way");
            transaction.commit();
        } catch (const std::exception&) {
        }
        QCOMPARE(contents(*user, QStringLiteral("orders")), orders);
        QCOMPARE(contents(*user, QStringLiteral("orderParts")).isEmpty(), orders.count(u';') == 0);
        Transaction again(*user);
        user->execute(newOrder);
        again.commit();
        QCOMPARE(user->openRecordset(QStringLiteral("SELECT OrderNum FROM orders")).recordCount(),
                 orders.count(u';') + 2);
    }

    void transactionsDoNotNest() {
        Transaction outer(*user);
        user->execute(newOrder);
        QVERIFY_THROWS_EXCEPTION(StoreError, Transaction{*user});
        // The failed inner one rolled nothing back and left the outer one running.
        QCOMPARE(contents(*user, QStringLiteral("orders")), QStringLiteral("1,'06/12/2026',FALSE"));
        outer.commit();
        QCOMPARE(contents(*user, QStringLiteral("orders")), QStringLiteral("1,'06/12/2026',FALSE"));
    }

    void closingTheStoreEndsAnOpenTransaction() {
        {
            Transaction transaction(*user);
            user->execute(newOrder);
            user->close();
        } // the guard finds the store closed and does nothing
        user =
            Database::open(fixture->path(QStringLiteral("user.mdb")), Database::Access::ReadWrite);
        QCOMPARE(contents(*user, QStringLiteral("orders")), QString());
    }
};

QUILLON_TEST_CLASS(EngineTest)

#include "test_engine.moc"
