// The engine over real store files: the files, the types the tables keep, results, transactions.
#include "store/sql_text.h"
#include "store/statement_builder.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <QFile>
#include <stdexcept>

using namespace quillon;
using tests::rows;

namespace {

const QString newOrder = "INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate";

// An order line as the program writes it, every value quoted as a text.
QString orderLine(const QString& quantity, const QString& price, const QString& comment = {}) {
    const auto text = [](const QString& value) { return SqlLiteral::text(value); };
    return StatementBuilder::insertRow(u"orderParts", {{"OrderNum", text("1")},
                                                       {"Quantity", text(quantity)},
                                                       {"Price", text(price)},
                                                       {"Comments", text(comment), "Comment"}});
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
    qint64 number(const QString& statement) { return rows(*user, statement).toLongLong(); }
    QString tables() {
        return rows(*user, "SELECT * FROM orders") + u'|' + rows(*user, "SELECT * FROM orderParts");
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        user = tests::createStore(*dir, "user.mdb");
    }
    void cleanup() { user.reset(); }

    // A file that isn't there or isn't a store: an error naming it, and the file as it was. A store
    // open read-only refuses every change; a closed one everything.
    void filesOpenCloseAndRefuse() {
        user->execute(newOrder);
        user->close();
        user->close(); // twice is harmless
        QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(newOrder));
        QVERIFY_THROWS_EXCEPTION(StoreError, Database::create(path())); // it exists
        QFile garbage(dir->filePath("garbage.mdb"));
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write(QByteArray(4096, 'x')) &&
                garbage.flush());
        for (const QString name : {"nothing here.mdb", "garbage.mdb"}) {
            for (const auto access : {Database::Access::ReadOnly, Database::Access::ReadWrite}) {
                const QByteArray before = contents(dir->filePath(name));
                try {
                    Database::open(dir->filePath(name), access);
                    QFAIL(qPrintable(name));
                } catch (const StoreError& e) {
                    QVERIFY2(e.message().contains(dir->filePath(name)), qPrintable(e.message()));
                }
                QCOMPARE(contents(dir->filePath(name)), before);
            }
        }
        user = Database::open(path(), Database::Access::ReadOnly);
        for (const QString& statement : {newOrder, QStringLiteral("DELETE * FROM orders")})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QCOMPARE(tables(), "1,'06/12/2026',FALSE|");
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
        QCOMPARE(tables(), before);
    }

    // Values that reach a column through SQL of its own, not as quoted texts, are checked too;
    // a statement of the wrong kind, or more than one, is refused.
    void rawValuesAreCheckedToo() {
        user->execute(newOrder);
        user->execute(orderLine("1", "1", "note"));
        const QString before = tables();
        for (const char* statement :
             {"INSERT INTO orderParts (OrderNum, Price) SELECT OrderNum, 2.5 FROM orders",
              "UPDATE orderParts SET Quantity = Comments || 'x' WHERE ID=1",
              "INSERT INTO orders(OrderDate, OrderStatus) SELECT '1/1/2026' AS OrderDate",
              "INSERT INTO customParts(DorvaneNum, CustomerPrice) SELECT 'DA1' AS a, 'x' AS b",
              "SELECT * FROM orders", "PRAGMA foreign_keys; DROP TABLE orders"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset("DELETE * FROM orders"));
        QCOMPARE(tables(), before);
        QCOMPARE(user->execute("UPDATE orders SET OrderStatus = TRUE"), 1);
        QCOMPARE(user->execute("DELETE * FROM orders WHERE OrderNum=7"), 0);
    }

    void orderNumbersAndLineIdsAreNeverReused() {
        for (const QString& statement :
             {newOrder, newOrder, orderLine("1", "1"), orderLine("2", "1"),
              QStringLiteral("DELETE * FROM orders WHERE OrderNum=2"),
              QStringLiteral("DELETE * FROM orderParts WHERE ID=2")})
            user->execute(statement);
        user = Database::open(path(), Database::Access::ReadWrite);
        user->execute(newOrder);
        user->execute(orderLine("3", "1"));
        QCOMPARE(rows(*user, "SELECT OrderNum FROM orders"), "1;3");
        QCOMPARE(rows(*user, "SELECT ID FROM orderParts"), "1;3");
    }

    // All or nothing: a transaction committed keeps every change; one thrown out of, or one a
    // statement of fails in, keeps none of them; none runs inside another; the store takes new
    // work afterwards.
    void transactionKeepsAllOrNothing() {
        for (const auto& [line, commit, kept] : {std::tuple{orderLine("1", "1"), true, 1},
                                                 {orderLine("1", "1"), false, 0},
                                                 {orderLine("1", "bad"), true, 0}}) {
            const qint64 orders = number("SELECT count(*) FROM orders");
            try {
                Transaction transaction(*user);
                user->execute(newOrder);
                QVERIFY_THROWS_EXCEPTION(StoreError, Transaction{*user});
                user->execute(line);
                if (!commit)
                    throw std::runtime_error("the action fails half-way");
                transaction.commit();
            } catch (const std::exception&) {
            }
            QCOMPARE(number("SELECT count(*) FROM orders"), orders + kept);
            QCOMPARE(number("SELECT count(*) FROM orderParts"), 1);
        }
    }
};

QUILLON_TEST_CLASS(EngineTest)

#include "test_engine.moc"
