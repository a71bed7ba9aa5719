// The engine over real store files: the types the tables keep, the results, transactions and
// the files themselves.
#include "store/sql_text.h"
#include "store/statement_builder.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

using namespace quillon;
using tests::rows;

namespace {

const QString newOrder = "INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate";

// An order line as the program writes it, every value quoted as a text.
QString orderLine(const QString& quantity, const QString& price, const QString& comment = {}) {
    return StatementBuilder::insertRow(u"orderParts", {{"OrderNum", SqlLiteral::text(u"1")},
                                                       {"Description", SqlLiteral::text(u"d")},
                                                       {"Quantity", SqlLiteral::text(quantity)},
                                                       {"Price", SqlLiteral::text(price)},
                                                       {"Comments", SqlLiteral::text(comment)}});
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Database> user;

    QString path() const { return dir->filePath("user.mdb"); }
    qint64 number(const QString& statement) {
        return user->openRecordset(statement).field(0).toInteger();
    }
    QString tables() {
        return rows(*user, "SELECT * FROM orders") + u'|' + rows(*user, "SELECT * FROM orderParts");
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        user = tests::createStore(*dir, "user.mdb");
    }
    void cleanup() { user.reset(); }

    // A file that isn't there, isn't a store or can't be written: an error naming it, and the
    // file as it was.
    void openingFails_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Database::Access>("access");
        for (const auto access : {Database::Access::ReadOnly, Database::Access::ReadWrite}) {
            QTest::addRow("missing %d", int(access)) << "nothing here.mdb" << access;
            QTest::addRow("garbage %d", int(access)) << "garbage.mdb" << access;
        }
        QTest::newRow("write-protected, read-write") << "user.mdb" << Database::Access::ReadWrite;
    }
    void openingFails() {
        QFETCH(QString, file);
        QFETCH(Database::Access, access);
        const QString path = dir->filePath(file);
        QFile f(path);
        if (file == u"garbage.mdb")
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(4096, 'x')));
        f.close();
        if (file == u"user.mdb") {
            user->close();
            QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
            if (QFileInfo(path).isWritable())
                QSKIP("This account can write any file (root): nothing to protect the store with.");
        }
        const QByteArray before = contents(path);
        try {
            Database::open(path, access);
            QFAIL("the file opened as a store");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
        QCOMPARE(contents(path), before);
    }

    void filesOpenCloseAndRefuse() {
        QVERIFY_THROWS_EXCEPTION(StoreError, Database::create(path())); // it exists
        user->execute(newOrder);
        user->close();
        user->close(); // twice is harmless
        QVERIFY(!user->isOpen() && user->handle() == nullptr);
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(newOrder));
        user = Database::open(path(), Database::Access::ReadOnly); // refuses every change
        for (const QString& statement :
             {QStringLiteral("DELETE * FROM orders WHERE OrderNum=1"),
              QStringLiteral("UPDATE orders SET OrderStatus = TRUE"), newOrder})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QCOMPARE(tables(), QStringLiteral("1,'06/12/2026',FALSE|"));
    }

    // What a column keeps of the text a statement gives it; "refused: " and what the message
    // names when it can't hold it, and then nothing is written.
    void valuesAreConverted_data() {
        tests::textTable({"column", "text", "stored"},
                         "Quantity> -12 >-12|Price>1234.5678>1234.5678m|Price>-3.125>-3.125m|"
                         "Price>£1,234.50>1234.5m|Price>922337203685477.5807>922337203685477.5807m|"
                         "Comments>  3 boxes, 'fragile' >'  3 boxes, 'fragile' '|Comments>>''|"
                         "OrderStatus>True>TRUE|OrderStatus>-1>TRUE|OrderStatus>0>FALSE|"
                         "Price>abc>refused: Price|Price>>refused: Price|Price>12,34.5>refused: "
                         "12,34.5|Quantity>2.5>refused: 2.5|Quantity>two>refused: two|"
                         "Quantity>>refused: Quantity|Quantity>4294967296>refused: Quantity|"
                         "OrderStatus>maybe>refused: OrderStatus");
    }
    void valuesAreConverted() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString table = column == u"OrderStatus" ? "orders" : "orderParts";
        user->execute(newOrder);
        user->execute(orderLine("1", "1"));
        const QString update = QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE OrderNum=1")
                                   .arg(table, column, sqlEscape(text));
        if (!stored.startsWith(u"refused: ")) {
            user->execute(update);
            QCOMPARE(rows(*user, QStringLiteral("SELECT %1 FROM %2").arg(column, table)), stored);
            return;
        }
        const QString before = tables();
        try {
            user->execute(update);
            QFAIL("the store took a value its column can't hold");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(stored.mid(9)), qPrintable(e.message()));
            QCOMPARE(e.statement(), update);
        }
        if (column != u"OrderStatus") // an insert is refused the same way
            QVERIFY_THROWS_EXCEPTION(
                StoreError,
                user->execute(column == u"Price" ? orderLine("1", text) : orderLine(text, "1")));
        QCOMPARE(tables(), before);
    }

    // Values that reach a column through SQL of its own, not as quoted texts, are checked too.
    void rawValuesAreCheckedToo() {
        user->execute(newOrder);
        user->execute(orderLine("1", "1", "note"));
        const QString before = tables();
        for (const char* statement :
             {"INSERT INTO orderParts (OrderNum, Price) SELECT OrderNum, 2.5 FROM orders",
              "UPDATE orderParts SET Quantity = Comments || 'x' WHERE ID=1",
              "INSERT INTO orders(OrderDate, OrderStatus) SELECT '1/1/2026' AS OrderDate",
              "INSERT INTO customParts(DorvaneNum, CustomerPrice) SELECT 'DA1' AS a, 'x' AS b"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QCOMPARE(tables(), before);
        QCOMPARE(user->execute("UPDATE orders SET OrderStatus = TRUE"), 1);
        QCOMPARE(user->execute("DELETE * FROM orders WHERE OrderNum=7"), 0);
    }

    void orderNumbersAndLineIdsAreNeverReused() {
        user->execute(newOrder);
        user->execute(newOrder);
        user->execute(orderLine("1", "1"));
        user->execute(orderLine("2", "1"));
        user->execute("DELETE * FROM orders WHERE OrderNum=2");
        user->execute("DELETE * FROM orderParts WHERE ID=2");
        user = Database::open(path(), Database::Access::ReadWrite);
        user->execute(newOrder);
        user->execute(orderLine("3", "1"));
        QCOMPARE(rows(*user, "SELECT OrderNum FROM orders"), QStringLiteral("1;3"));
        QCOMPARE(rows(*user, "SELECT ID FROM orderParts"), QStringLiteral("1;3"));
    }

    // A result moves within its rows and finds a column by name, the first of a name, in any
    // case; Null is kept apart from an empty text and equals nothing.
    void resultsMoveAndFindColumns() {
        Recordset empty = user->openRecordset("SELECT * FROM orders");
        empty.moveNext();
        QVERIFY(empty.bof() && empty.eof() && empty.recordCount() == 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, empty.field(u"OrderNum"));
        for (int i = 0; i < 3; ++i)
            user->execute(newOrder);
        Recordset result = user->openRecordset("SELECT o.*, 'x' AS OrderNum FROM orders o");
        result.moveNext();
        QCOMPARE(result.field(u"ORDERNUM").toInteger(), 2);
        for (int i = 0; i < 3; ++i)
            result.moveNext(); // past the end stays at the end
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"OrderNum"));
        result.moveLast();
        QCOMPARE(result.field(0).toInteger(), 3);
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"NoSuchField"));
        user->execute("INSERT INTO orderCompanyDetails(RecordName, OrderTel) SELECT 'A' AS a, '' "
                      "AS b");
        QCOMPARE(rows(*user, "SELECT OrderContactName, OrderTel FROM orderCompanyDetails WHERE "
                             "OrderContactName IS NULL AND NOT (OrderContactName = '')"),
                 QString());
        QCOMPARE(rows(*user, "SELECT OrderContactName, OrderTel FROM orderCompanyDetails"),
                 QStringLiteral("NULL,''"));
    }

    // The buffers of a closed result serve the next one: every result, read after larger and
    // smaller ones, moved or kept open beside another, holds exactly its own values.
    void resultsHoldTheirOwnValuesWhateverCameBefore() {
        const QString longText(70000, QChar(0x00E9)); // more than the buffers' first size
        user->execute("INSERT INTO orderCompanyDetails(RecordName, OrderAddress1) SELECT 'Long' "
                      "AS a, '" +
                      longText + "' AS b");
        user->execute(newOrder);
        user->execute(orderLine("3", "12.5"));
        user->execute(orderLine("40000", "-0.0001", "note"));
        const QString lines = "SELECT o.OrderStatus, p.Quantity, p.Price, p.Comments FROM orders "
                              "o, orderParts p ORDER BY p.ID";
        QCOMPARE(user->openRecordset("SELECT OrderAddress1 FROM orderCompanyDetails").field(0),
                 Value::text(longText));
        Recordset first = user->openRecordset(lines);
        Recordset kept = std::move(first);
        QCOMPARE(rows(*user, lines),
                 QStringLiteral("FALSE,3,12.5m,'';FALSE,40000,-0.0001m,'note'"));
        QCOMPARE(rows(*user, "SELECT RecordName FROM orderCompanyDetails"),
                 QStringLiteral("'Long'"));
        QVERIFY(kept.isAbsent(kept.columnIndex(u"Comments")));
        QCOMPARE(tests::render(std::move(kept)), rows(*user, lines));
    }

    // A long statement calls back while it runs; what the call throws ends the statement, is
    // thrown on, and leaves the store as usable as before.
    void longStatementCallsBackWhileRunning() {
        Transaction transaction(*user);
        for (int i = 0; i < 60; ++i)
            user->execute(newOrder);
        transaction.commit();
        const QString cube = "SELECT count(*) AS n FROM orders a, orders b, orders c";
        int calls = 0;
        QCOMPARE(user->openRecordset(cube, [&calls] { ++calls; }).field(0).toInteger(), 216000);
        QVERIFY(calls > 1);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, user->openRecordset(cube, [] {
            throw std::runtime_error("stopped");
        }));
        user->execute(newOrder); // the store works on
        QCOMPARE(number(cube), 226981);
    }

    // A statement of the wrong kind, or more than one, is refused; the error names the
    // engine's complaint and the statement.
    void wrongKindOfStatementIsRefused() {
        user->execute(newOrder);
        for (const char* statement : {"SELECT * FROM orders", "PRAGMA foreign_keys; DROP TABLE "
                                                              "orders"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        for (const char* statement : {"DELETE * FROM orders", "PRAGMA table_info(orders); DROP "
                                                              "TABLE orders"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset(statement));
        QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset("SELECT * FROM nowhere"));
        QCOMPARE(rows(*user, "SELECT OrderNum FROM orders"), QStringLiteral("1"));
        try {
            user->openRecordset("SELECT * FROM nowhere");
        } catch (const StoreError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(u"no such table: nowhere"), e.what());
            QVERIFY(QString::fromUtf8(e.what()).contains(u"SELECT * FROM nowhere"));
        }
    }

    // All or nothing: a transaction committed keeps every change; one thrown out of, or one a
    // statement of fails in, keeps none of them, and the store takes new work afterwards.
    void transactionKeepsAllOrNothing_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("commit");
        QTest::addColumn<int>("orders");
        QTest::newRow("committed") << orderLine("1", "1") << true << 2;
        QTest::newRow("thrown out of") << orderLine("1", "1") << false << 1;
        QTest::newRow("refused value") << orderLine("1", "not money") << true << 1;
    }
    void transactionKeepsAllOrNothing() {
        QFETCH(QString, line);
        QFETCH(bool, commit);
        QFETCH(int, orders);
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
        QCOMPARE(number("SELECT count(*) FROM orders"), orders);
        QCOMPARE(number("SELECT count(*) FROM orderParts"), orders - 1);
        Transaction again(*user);
        user->execute(newOrder);
        again.commit();
        QCOMPARE(number("SELECT count(*) FROM orders"), orders + 1);
    }

    void transactionsDoNotNestAndEndWithTheStore() {
        {
            Transaction outer(*user);
            user->execute(newOrder);
            QVERIFY_THROWS_EXCEPTION(StoreError, Transaction{*user}); // the outer one runs on
            user->close(); // the outer guard finds the store closed and does nothing
        }
        user = Database::open(path(), Database::Access::ReadWrite);
        QCOMPARE(number("SELECT count(*) FROM orders"), 0);
    }
};

QUILLON_TEST_CLASS(EngineTest)

#include "test_engine.moc"
