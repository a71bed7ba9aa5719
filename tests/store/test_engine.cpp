// The engine over real store files: the types the tables keep, the results, transactions and
// the files themselves.
#include "store/schema.h"
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
using quillon::tests::render;
using quillon::tests::rows;

namespace {

const QString newOrder =
    QStringLiteral("INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate");

// An order line as the program writes it, every value quoted as a text.
QString orderLine(const QString& orderNum, const QString& description, const QString& quantity,
                  const QString& price, const QString& comment = {}) {
    QList<StatementBuilder::Column> row;
    const QStringList columns = {"OrderNum", "DorvaneNum", "Description", "Quantity", "Price"};
    const QStringList values = {orderNum, "DA1", description, quantity, price};
    for (qsizetype i = 0; i < columns.size(); ++i)
        row.append({columns[i], SqlLiteral::text(values[i])});
    row.append({"Comments", SqlLiteral::text(comment), "Comment"});
    return StatementBuilder::insertRow(u"orderParts", row);
}

QString tables(Database& db) {
    return rows(db, QStringLiteral("SELECT * FROM orders")) + u'|' +
           rows(db, QStringLiteral("SELECT * FROM orderParts")) + u'|' +
           rows(db, QStringLiteral("SELECT * FROM customParts"));
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

    std::unique_ptr<tests::StoreFixture> fixture;
    std::unique_ptr<Database> user;

    QString path() const { return fixture->path(QStringLiteral("user.mdb")); }
    qint64 number(const QString& statement) {
        return user->openRecordset(statement).field(0).toInteger();
    }

private slots:
    void init() {
        fixture = std::make_unique<tests::StoreFixture>();
        user = fixture->createStore();
    }
    void cleanup() {
        user.reset();
        fixture.reset();
    }

    // A file that isn't there, isn't a store or can't be written: an error naming it, and the
    // file as it was.
    void openingFails_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Database::Access>("access");
        QTest::newRow("missing") << "nothing here.mdb" << Database::Access::ReadOnly;
        QTest::newRow("missing, read-write") << "nothing here.mdb" << Database::Access::ReadWrite;
        QTest::newRow("garbage") << "garbage.mdb" << Database::Access::ReadOnly;
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
        } else if (file == u"user.mdb") {
            user->close();
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
            if (QFileInfo(path).isWritable())
                QSKIP("This account can write any file (root): nothing to protect the store with.");
        }
        const bool existed = QFileInfo::exists(path);
        const QByteArray before = bytesOf(path);
        try {
            Database::open(path, access);
            QFAIL("the file opened as a store");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
        QCOMPARE(QFileInfo::exists(path), existed);
        QCOMPARE(bytesOf(path), before);
    }

    void filesOpenCloseAndRefuse() {
        QVERIFY_THROWS_EXCEPTION(StoreError, Database::create(path())); // it exists
        user->execute(newOrder);
        user->close();
        user->close(); // twice is harmless
        QVERIFY(!user->isOpen() && user->handle() == nullptr);
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(newOrder));
        // Read-only refuses every change.
        user = Database::open(path(), Database::Access::ReadOnly);
        for (const QString& statement :
             {QStringLiteral("DELETE * FROM orders WHERE OrderNum=1"),
              QStringLiteral("UPDATE orders SET OrderStatus = TRUE"), newOrder})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QCOMPARE(rows(*user, QStringLiteral("SELECT * FROM orders")),
                 QStringLiteral("1,'06/12/2026',FALSE"));
    }

    // What a column keeps of the text a statement gives it; "refused: " and what the message
    // names when it can't hold it, and then nothing is written.
    void valuesAreConverted_data() {
        QTest::addColumn<QString>("column"); // of orderParts, or OrderStatus of orders
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* tag, const char* column, const char* text,
                            const char* stored) {
            QTest::newRow(tag) << QString::fromUtf8(column) << QString::fromUtf8(text)
                               << QString::fromUtf8(stored);
        };
        row("whole number with blanks and sign", "Quantity", " -12 ", "-12");
        row("amount, four decimals", "Price", "1234.5678", "1234.5678m");
        row("amount, negative", "Price", "-3.125", "-3.125m");
        row("amount, display form", "Price", "£1,234.50", "1234.5m");
        row("amount, largest", "Price", "922337203685477.5807", "922337203685477.5807m");
        row("text unchanged", "Comments", "  3 boxes, 'fragile' ", "'  3 boxes, 'fragile' '");
        row("empty text stays empty", "Comments", "", "''");
        row("Boolean True", "OrderStatus", "True", "TRUE");
        row("Boolean -1", "OrderStatus", "-1", "TRUE");
        row("Boolean 0", "OrderStatus", "0", "FALSE");
        row("text as amount", "Price", "abc", "refused: Price");
        row("empty amount", "Price", "", "refused: Price");
        row("bad grouping", "Price", "12,34.5", "refused: 12,34.5");
        row("fraction as whole number", "Quantity", "2.5", "refused: 2.5");
        row("text as whole number", "Quantity", "two", "refused: two");
        row("empty whole number", "Quantity", "", "refused: Quantity");
        row("whole number beyond 32 bits", "Quantity", "4294967296", "refused: Quantity");
        row("Boolean from text", "OrderStatus", "maybe", "refused: OrderStatus");
    }
    void valuesAreConverted() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString table = column == u"OrderStatus" ? "orders" : "orderParts";
        user->execute(newOrder);
        user->execute(orderLine("1", "d", "1", "1"));
        const QString update = QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE OrderNum=1")
                                   .arg(table, column, sqlEscape(text));
        const QString before = tables(*user);
        if (stored.startsWith(u"refused: ")) {
            try {
                user->execute(update);
                QFAIL("the store took a value its column can't hold");
            } catch (const StoreError& e) {
                QVERIFY2(e.message().contains(stored.mid(9)), qPrintable(e.message()));
                QCOMPARE(e.statement(), update);
            }
            QCOMPARE(tables(*user), before);
            // An insert is refused the same way.
            if (column != u"OrderStatus")
                QVERIFY_THROWS_EXCEPTION(
                    StoreError, user->execute(column == u"Price" ? orderLine("1", "d", "1", text)
                                                                 : orderLine("1", "d", text, "1")));
            QCOMPARE(tables(*user), before);
            return;
        }
        user->execute(update);
        QCOMPARE(rows(*user, QStringLiteral("SELECT %1 FROM %2").arg(column, table)), stored);
    }

    // Values that reach a column through SQL of its own, not as quoted texts, are checked too.
    void rawValuesAreCheckedToo() {
        user->execute(newOrder);
        user->execute(orderLine("1", "d", "1", "1", "note"));
        const QString before = tables(*user);
        for (const char* statement :
             {"INSERT INTO orderParts (OrderNum, Price) SELECT OrderNum, 2.5 FROM orders",
              "UPDATE orderParts SET Quantity = Comments || 'x' WHERE ID=1",
              "INSERT INTO orders(OrderDate, OrderStatus) SELECT '1/1/2026' AS OrderDate",
              "INSERT INTO customParts(DorvaneNum, CustomerPrice) SELECT 'DA1' AS a, 'x' AS b"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QString::fromLatin1(statement)));
        QCOMPARE(tables(*user), before);
        QCOMPARE(user->execute(QStringLiteral("UPDATE orders SET OrderStatus = TRUE")), 1);
        QCOMPARE(user->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=7")), 0);
    }

    void orderNumbersAndLineIdsAreNeverReused() {
        user->execute(newOrder);
        user->execute(newOrder);
        user->execute(orderLine("2", "a", "1", "1"));
        user->execute(orderLine("2", "b", "1", "1"));
        user->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=2"));
        user->execute(QStringLiteral("DELETE * FROM orderParts WHERE OrderNum=2"));
        user = Database::open(path(), Database::Access::ReadWrite);
        user->execute(newOrder);
        user->execute(orderLine("3", "c", "1", "1"));
        QCOMPARE(rows(*user, QStringLiteral("SELECT OrderNum FROM orders")), QStringLiteral("1;3"));
        QCOMPARE(rows(*user, QStringLiteral("SELECT ID FROM orderParts")), QStringLiteral("3"));
    }

    // A name put into every kind of statement through the program's literals comes back as it
    // was, and is found by =, without regard to case, and by LIKE.
    void quotedTextsRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophes") << "O'Brien's";
        QTest::newRow("alone") << "'";
        QTest::newRow("wildcards") << "it's 50% * 2";
        QTest::newRow("beyond ASCII") << "Søren Ølstrøm – École ☃ 𝄞";
    }
    void quotedTextsRoundTrip() {
        QFETCH(QString, text);
        const SqlLiteral literal = SqlLiteral::text(text);
        for (const QString& name : {text, QStringLiteral("other")})
            user->execute(StatementBuilder::insertRow(u"orderCompanyDetails",
                                                      {{"RecordName", SqlLiteral::text(name)}}));
        user->execute(StatementBuilder::updateRow(
            u"orderCompanyDetails", {{"OrderContactName", literal}, {"OrderTel", literal}},
            SqlCondition::equalsTight(u"RecordName", literal)));
        QCOMPARE(rows(*user, "SELECT OrderContactName, OrderTel FROM orderCompanyDetails WHERE "
                             "RecordName = " +
                                 literal.sql().toUpper()),
                 render(Value::text(text)) + u',' + render(Value::text(text)));
        QCOMPARE(rows(*user, "SELECT RecordName FROM orderCompanyDetails WHERE OrderContactName "
                             "LIKE '*" +
                                 sqlEscape(text) + "*'"),
                 render(Value::text(text)));
        user->execute(StatementBuilder::deleteWhere(
            u"orderCompanyDetails", SqlCondition::equalsTight(u"RecordName", literal)));
        QCOMPARE(rows(*user, QStringLiteral("SELECT RecordName FROM orderCompanyDetails")),
                 QStringLiteral("'other'"));
    }

    void resultsMoveAndFindColumns() {
        Recordset empty = user->openRecordset(QStringLiteral("SELECT * FROM orders"));
        QVERIFY(empty.isOpen() && empty.bof() && empty.eof() && empty.recordCount() == 0);
        QCOMPARE(empty.columnCount(), 3);
        empty.moveNext();
        empty.moveLast();
        QVERIFY(empty.bof() && empty.eof());
        QVERIFY_THROWS_EXCEPTION(StoreError, empty.field(u"OrderNum"));
        for (int i = 0; i < 3; ++i)
            user->execute(newOrder);
        Recordset result = user->openRecordset(QStringLiteral("SELECT * FROM orders"));
        QCOMPARE(result.recordCount(), 3);
        QCOMPARE(result.field(u"ordernum").toInteger(), 1);
        result.moveNext();
        QCOMPARE(result.field(u"ORDERNUM").toInteger(), 2);
        result.moveNext();
        result.moveNext();
        result.moveNext(); // past the end stays at the end
        QVERIFY(result.eof());
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"OrderNum"));
        result.moveLast();
        QCOMPARE(result.field(u"OrderNum").toInteger(), 3);
        result.moveFirst();
        QCOMPARE(result.field(u"OrderNum").toInteger(), 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, result.field(u"NoSuchField"));
        QCOMPARE(result.columnIndex(u"orderdate"), 1);
        QCOMPARE(result.columnIndex(u"nothing"), -1);
        result.close();
        QVERIFY(!result.isOpen() && result.eof() && result.recordCount() == 0);
    }

    // A name given twice finds its first column; a result that keeps some columns keeps those
    // (the first of a name) in the statement's order, and refuses a name the statement lacks.
    void sameNameTwiceFindsTheFirstAndKeptColumns() {
        user->execute(newOrder);
        user->execute(orderLine("1", "Seal – ø\t1", "7", "1"));
        const QString both =
            QStringLiteral("SELECT o.OrderDate, p.*, o.OrderNum FROM orders o, orderParts p");
        Recordset result = user->openRecordset(both);
        QCOMPARE(result.field(u"ordernum"), result.field(1)); // the line's ID comes first
        QCOMPARE(result.columnIndex(u"OrderNum"), 2);
        Recordset kept =
            user->openRecordset(both, {}, {}, {"comments", "DESCRIPTION", "ordernum", "Quantity"});
        QCOMPARE(kept.columnNames(),
                 (QStringList{"OrderNum", "Description", "Quantity", "Comments"}));
        QCOMPARE(render(std::move(kept)),
                 rows(*user, "SELECT OrderNum, Description, Quantity, Comments FROM orderParts"));
        kept = user->openRecordset(both, {}, {}, {"Description", "Quantity"});
        QVERIFY_THROWS_EXCEPTION(StoreError, kept.field(u"ID"));
        QByteArray texts;
        kept.appendText(0, texts);
        kept.appendText(1, texts);
        QCOMPARE(QString::fromUtf8(texts), QStringLiteral("Seal – ø\t17"));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 user->openRecordset(both, {}, {}, {"Quantity", "Nothing"}));
    }

    void nullIsKeptApartFromEmptyText() {
        user->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName, OrderTel) "
                                     "SELECT 'A' AS RecordName, '' AS OrderTel"));
        QCOMPARE(rows(*user, QStringLiteral("SELECT OrderContactName, OrderTel FROM "
                                            "orderCompanyDetails")),
                 QStringLiteral("NULL,''"));
        // A comparison with a Null is false both ways.
        QCOMPARE(rows(*user, QStringLiteral("SELECT * FROM orderCompanyDetails WHERE "
                                            "OrderContactName = '' OR OrderContactName <> ''")),
                 QString());
        user->execute(newOrder);
        QCOMPARE(
            rows(*user, QStringLiteral("SELECT count(*) AS n, 'x' AS t, NULL AS absent, "
                                       "-2147483648 AS small, 2147483648 AS large FROM orders")),
            QStringLiteral("1,'x',NULL,-2147483648,2147483648"));
    }

    // The buffers of a closed result serve the next one: every result, read after larger and
    // smaller ones, moved or kept open beside another, holds exactly its own values.
    void resultsHoldTheirOwnValuesWhateverCameBefore() {
        const QString longText(70000, QChar(0x00E9)); // more than the buffers' first size
        user->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName, OrderAddress1) "
                                     "SELECT 'Long' AS a, '%1' AS b")
                          .arg(longText));
        user->execute(newOrder);
        user->execute(orderLine("1", "first", "3", "12.5"));
        user->execute(orderLine("1", "second", "40000", "-0.0001", "note"));
        const QString lines =
            QStringLiteral("SELECT o.OrderStatus, p.Quantity, p.Price, p.Description, p.Comments "
                           "FROM orders o, orderParts p ORDER BY p.ID");
        QCOMPARE(
            user->openRecordset(QStringLiteral("SELECT OrderAddress1 FROM orderCompanyDetails"))
                .field(0)
                .toText(),
            longText);
        Recordset first = user->openRecordset(lines);
        Recordset kept = std::move(first);
        QCOMPARE(rows(*user, lines),
                 QStringLiteral("FALSE,3,12.5m,'first','';FALSE,40000,-0.0001m,'second','note'"));
        QCOMPARE(rows(*user, QStringLiteral("SELECT RecordName FROM orderCompanyDetails")),
                 QStringLiteral("'Long'"));
        QVERIFY(kept.isAbsent(kept.columnIndex(u"Comments")));
        QCOMPARE(render(std::move(kept)), rows(*user, lines));
    }

    // A SELECT run again is served compiled from before, and still sees every change of the
    // rows and of the tables made since.
    void selectRunAgainSeesChanges() {
        const QString count = QStringLiteral("SELECT count(*) AS n FROM orders");
        QCOMPARE(number(count), 0);
        user->execute(newOrder);
        QCOMPARE(number(count), 1);
        QCOMPARE(user->openRecordset(QStringLiteral("SELECT * FROM orders")).columnCount(), 3);
        user->execute(QStringLiteral("ALTER TABLE orders ADD COLUMN Note TEXT"));
        QCOMPARE(user->openRecordset(QStringLiteral("SELECT * FROM orders")).columnCount(), 4);
        for (int i = 0; i < 40; ++i)
            QCOMPARE(number(QStringLiteral("SELECT %1 AS n").arg(i)), i);
        user->execute(QStringLiteral("DELETE * FROM orders"));
        QCOMPARE(number(count), 0);
    }

    // A long statement calls back while it runs; what the call throws ends the statement, is
    // thrown on, and leaves the store as usable as before.
    void longStatementCallsBackWhileRunning() {
        Transaction transaction(*user);
        for (int i = 0; i < 60; ++i)
            user->execute(newOrder);
        transaction.commit();
        const QString cube =
            QStringLiteral("SELECT count(*) AS n FROM orders a, orders b, orders c");
        int calls = 0;
        QCOMPARE(user->openRecordset(cube, [&calls] { ++calls; }).field(0).toInteger(), 216000);
        QVERIFY(calls > 1);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, user->openRecordset(cube, [] {
            throw std::runtime_error("stopped");
        }));
        QCOMPARE(number(cube), 216000);
        user->execute(newOrder);
        QCOMPARE(number(QStringLiteral("SELECT count(*) AS n FROM orders")), 61);
    }

    void wrongKindOfStatementIsRefused() {
        user->execute(newOrder);
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QStringLiteral("SELECT * FROM orders")));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 user->openRecordset(QStringLiteral("DELETE * FROM orders")));
        try {
            user->openRecordset(QStringLiteral("SELECT * FROM nowhere"));
            QFAIL("a SELECT of a missing table ran");
        } catch (const StoreError& e) { // the engine's message and the statement
            QVERIFY2(e.message().contains(u"no such table"), qPrintable(e.message()));
            QVERIFY(QString::fromStdString(e.what()).contains(u"SELECT * FROM nowhere"));
        }
        for (const char* statement :
             {"DELETE * FROM orders; DROP TABLE orders", "PRAGMA foreign_keys; DROP TABLE orders"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QString::fromLatin1(statement)));
        QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset(QStringLiteral(
                                                 "PRAGMA table_info(orders); DROP TABLE orders")));
        QCOMPARE(rows(*user, QStringLiteral("SELECT OrderNum FROM orders")), QStringLiteral("1"));
    }

    // All or nothing: a transaction committed keeps every change; one thrown out of, or one a
    // statement of fails in, keeps none of them, and the store takes new work afterwards.
    void transactionKeepsAllOrNothing_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("commit");
        QTest::addColumn<int>("orders");
        QTest::newRow("committed") << orderLine("2", "d", "1", "1") << true << 2;
        QTest::newRow("thrown out of") << orderLine("2", "d", "1", "1") << false << 1;
        QTest::newRow("refused value") << orderLine("2", "d", "1", "not money") << true << 1;
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
        QCOMPARE(number(QStringLiteral("SELECT count(*) FROM orders")), orders);
        QCOMPARE(number(QStringLiteral("SELECT count(*) FROM orderParts")), orders - 1);
        Transaction again(*user);
        user->execute(newOrder);
        again.commit();
        QCOMPARE(number(QStringLiteral("SELECT count(*) FROM orders")), orders + 1);
    }

    void transactionsDoNotNestAndEndWithTheStore() {
        {
            Transaction outer(*user);
            user->execute(newOrder);
            QVERIFY_THROWS_EXCEPTION(StoreError, Transaction{*user});
            outer.commit(); // the failed inner one left the outer one running
        }
        QCOMPARE(number(QStringLiteral("SELECT count(*) FROM orders")), 1);
        {
            Transaction transaction(*user);
            user->execute(newOrder);
            user->close();
        } // the guard finds the store closed and does nothing
        user = Database::open(path(), Database::Access::ReadWrite);
        QCOMPARE(number(QStringLiteral("SELECT count(*) FROM orders")), 1);
    }
};

QUILLON_TEST_CLASS(EngineTest)

#include "test_engine.moc"
