// The engine over real store files: the files, the types the tables keep, results, transactions.
#include "store/sql_text.h"
#include "store/statement_builder.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_files.h"
#include "test_registry.h"

#include <stdexcept>

using namespace quillon;
using namespace Qt::StringLiterals;
using tests::rows;

namespace {

const QString newOrder = u"INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate"_s;

// An order line as the program writes it, every value quoted as a text.
QString orderLine(const QString& quantity, const QString& price, const QString& comment = {}) {
    const auto text = [](const QString& value) { return SqlLiteral::text(value); };
    return StatementBuilder::insertRow(u"orderParts",
                                       {{u"OrderNum"_s, text(u"1"_s)},
                                        {u"Quantity"_s, text(quantity)},
                                        {u"Price"_s, text(price)},
                                        {u"Comments"_s, text(comment), u"Comment"_s}});
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Database> user;

    QString path() const { return dir->filePath(u"user.mdb"_s); }
    qint64 number(QAnyStringView statement) { return rows(*user, statement).toLongLong(); }
    QString tables() {
        return rows(*user, "SELECT * FROM orders") + u'|' + rows(*user, "SELECT * FROM orderParts");
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        user = tests::createStore(*dir, u"user.mdb"_s);
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
        tests::writeFile(dir->filePath(u"garbage.mdb"_s), QByteArray(4096, 'x'));
        for (const QString& name : {u"nothing here.mdb"_s, u"garbage.mdb"_s}) {
            for (const auto access : {Database::Access::ReadOnly, Database::Access::ReadWrite}) {
                const QByteArray before = tests::readFile(dir->filePath(name));
                try {
                    Database::open(dir->filePath(name), access);
                    QFAIL(qPrintable(name));
                } catch (const StoreError& e) {
                    QVERIFY2(e.message().contains(dir->filePath(name)), qPrintable(e.message()));
                }
                QCOMPARE(tests::readFile(dir->filePath(name)), before);
            }
        }
        user = Database::open(path(), Database::Access::ReadOnly);
        for (const QString& statement : {newOrder, u"DELETE * FROM orders"_s})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(statement));
        QCOMPARE(tables(), u"1,'06/12/2026',FALSE|"_s);
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
                         "OrderStatus>maybe>refused: OrderStatus|Quantity>2147483647>2147483647|"
                         "Quantity>-2147483648>-2147483648|Quantity>2147483648>refused: Quantity|"
                         "OrderStatus> Yes >TRUE|OrderStatus>off>FALSE");
    }
    void valuesAreConverted() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString table = column == u"OrderStatus" ? u"orders"_s : u"orderParts"_s;
        user->execute(newOrder);
        user->execute(orderLine(u"1"_s, u"1"_s));
        const QString update =
            u"UPDATE %1 SET %2 = '%3' WHERE OrderNum=1"_s.arg(table, column, sqlEscape(text));
        if (!stored.startsWith(u"refused: ")) {
            user->execute(update);
            QCOMPARE(rows(*user, u"SELECT %1 FROM %2"_s.arg(column, table)), stored);
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
        user->execute(orderLine(u"1"_s, u"1"_s, u"note"_s));
        const QString before = tables();
        for (const char* statement :
             {"INSERT INTO orderParts (OrderNum, Price) SELECT OrderNum, 2.5 FROM orders",
              "UPDATE orderParts SET Quantity = Comments || 'x' WHERE ID=1",
              "INSERT INTO orders(OrderDate, OrderStatus) SELECT '1/1/2026' AS OrderDate",
              "INSERT INTO customParts(DorvaneNum, CustomerPrice) SELECT 'DA1' AS a, 'x' AS b",
              "SELECT * FROM orders", "PRAGMA foreign_keys; DROP TABLE orders"})
            QVERIFY_THROWS_EXCEPTION(StoreError, user->execute(QString::fromUtf8(statement)));
        QVERIFY_THROWS_EXCEPTION(StoreError, user->openRecordset(u"DELETE * FROM orders"_s));
        QCOMPARE(tables(), before);
        QCOMPARE(user->execute(u"UPDATE orders SET OrderStatus = TRUE"_s), 1);
        QCOMPARE(user->execute(u"DELETE * FROM orders WHERE OrderNum=7"_s), 0);
    }

    // A SELECT run again with other columns kept or another loose match answers its own call,
    // not the one before it: kept columns of the first call, loose match of the first call
    // ("-": none), the same for the second, and the second's rows.
    void selectRunAgain_data() {
        tests::textTable({"keptFirst", "looseFirst", "keptSecond", "looseSecond", "expected"},
                         "ID,Description>->ID,DorvaneNum>->2,'DA100X'|ID,DorvaneNum>DA100>"
                         "ID,DorvaneNum>XX-9>2,'DA100X'|ID>DA100>ID,DorvaneNum>->2,'DA100X'|ID,"
                         "DorvaneNum>->ID,DorvaneNum>da 100>1,'DA-100';2,'DA100X'|"
                         "DorvaneNum,ID>DA100>DorvaneNum,ID>DA100>'DA-100',1;'DA100X',2");
    }
    void selectRunAgain() {
        QFETCH(QString, keptFirst);
        QFETCH(QString, looseFirst);
        QFETCH(QString, keptSecond);
        QFETCH(QString, looseSecond);
        Schema::createCatalogue(*user);
        user->execute(u"INSERT INTO Parts (ID, DorvaneNum, Description) VALUES (1, 'DA-100', "
                      "'PUMP'), (2, 'DA100X', 'HOSE'), (3, 'DA1', 'DA100 SEAL')"_s);
        const QString statement = u"SELECT * FROM Parts WHERE DorvaneNum LIKE '*DA100*'"_s;
        const auto loose = [](const QString& text) {
            return text == u"-" ? LooseMatch{} : LooseMatch{text, {u"DorvaneNum"_s}};
        };
        (void)user->openRecordset(statement, {}, loose(looseFirst), keptFirst.split(u','));
        QTEST(tests::render(
                  user->openRecordset(statement, {}, loose(looseSecond), keptSecond.split(u','))),
              "expected");
    }

    void orderNumbersAndLineIdsAreNeverReused() {
        for (const QString& statement :
             {newOrder, newOrder, orderLine(u"1"_s, u"1"_s), orderLine(u"2"_s, u"1"_s),
              u"DELETE * FROM orders WHERE OrderNum=2"_s, u"DELETE * FROM orderParts WHERE ID=2"_s})
            user->execute(statement);
        user = Database::open(path(), Database::Access::ReadWrite);
        user->execute(newOrder);
        user->execute(orderLine(u"3"_s, u"1"_s));
        QCOMPARE(rows(*user, "SELECT OrderNum FROM orders"), u"1;3"_s);
        QCOMPARE(rows(*user, "SELECT ID FROM orderParts"), u"1;3"_s);
    }

    // All or nothing: a transaction committed keeps every change; one thrown out of, or one a
    // statement of fails in, keeps none of them; none runs inside another; the store takes new
    // work afterwards.
    void transactionKeepsAllOrNothing() {
        for (const auto& [line, commit, kept] : {std::tuple{orderLine(u"1"_s, u"1"_s), true, 1},
                                                 {orderLine(u"1"_s, u"1"_s), false, 0},
                                                 {orderLine(u"1"_s, u"bad"_s), true, 0}}) {
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
