#include "orders_fixture.h"
#include "test_registry.h"

#include <QTest>

using quillon::Dialogs;
using quillon::Money;
using quillon::tests::OrdersFixture;
using quillon::tests::ShownPart;
using quillon::tests::StoredLine;

namespace {

Money money(const char* text) {
    return *Money::fromPlainText(QString::fromLatin1(text));
}

ShownPart part(const QString& dorvaneNum, const QString& roverNum, const char* price = "12.5",
               const char* lrPrice = "15") {
    return ShownPart{dorvaneNum,     roverNum, "Part " + dorvaneNum, "EA", money(price),
                     money(lrPrice), 1};
}

// A started program with a new, empty current order 1.
void startWithNewOrder(OrdersFixture& f) {
    QVERIFY(f.start());
    f.dialogs.answerNext(Dialogs::Button::Yes);
    f.newOrder();
    QCOMPARE(f.state.currentOrderNum, 1);
    f.dialogs.clearRecords();
}

QString existsPrompt(const QString& quantity, const QString& comment) {
    return "Part exists in order.\r\n\r\nQuantity = " + quantity + "\r\nSpecial instructions = \"" +
           comment + "\"\r\n\r\nUpdate quantity or special instructions?";
}

} // namespace

class AddToOrderTest : public QObject {
    Q_OBJECT

private slots:
    void nothingWithoutAnOrderOrAPart_data() {
        QTest::addColumn<bool>("order");
        QTest::addColumn<qint32>("partId");
        QTest::addColumn<bool>("listed");
        QTest::newRow("no current order") << false << 1 << true;
        QTest::newRow("no part shown") << true << 0 << true;
        QTest::newRow("no results listed") << true << 1 << false;
    }

    void nothingWithoutAnOrderOrAPart() {
        QFETCH(bool, order);
        QFETCH(qint32, partId);
        QFETCH(bool, listed);
        OrdersFixture f;
        if (order)
            startWithNewOrder(f);
        else
            QVERIFY(f.start());
        const QString statusBefore = f.status();
        f.showPart(part("DA1", "NRC1"));
        f.state.selectedPartId = partId;
        f.state.resultsListed = listed;

        f.addToOrderHandler();

        if (order) {
            QVERIFY(f.dialogs.boxes().isEmpty());
        } else {
            QCOMPARE(f.dialogs.boxes().size(), 1);
            QCOMPARE(f.dialogs.boxes()[0].title, "Error: No current order");
            QCOMPARE(f.dialogs.boxes()[0].prompt,
                     "No current order.\r\n\r\nSelect \"New Order\" to create a new order.");
            QCOMPARE(f.dialogs.boxes()[0].icon, Dialogs::Icon::Exclamation);
        }
        QVERIFY(f.dialogs.shownWindows().isEmpty());
        QVERIFY(f.allLines().isEmpty());
        QCOMPARE(f.status(), statusBefore);
        QCOMPARE(f.commands(),
                 order ? "order on, finalise off, ORD on" : "order off, finalise off, ORD off");
    }

    // The part's unit of issue is offered; the line keeps apostrophes and quotes as typed; the
    // second add offers to change the line, and rewrites it at the price in force then.
    void addingAPartTwiceUpdatesItsLine() {
        OrdersFixture f;
        startWithNewOrder(f);
        ShownPart seat{"DA1234",    "NRC1234", "Driver's seat \"cover\"", "3 boxes", money("12.5"),
                       money("15"), 42};
        f.showPart(seat);
        f.answerQuantity("3 boxes", "Don't \"bend\"");

        f.addToOrder();

        QCOMPARE(f.quantityDialogs.size(), 1);
        QCOMPARE(f.quantityDialogs[0].caption, "Part Order Details");
        QCOMPARE(f.quantityDialogs[0].part, "DV No. DA1234   Rover No. NRC1234 / Driver's seat "
                                            "\"cover\"");
        QCOMPARE(f.quantityDialogs[0].offeredQuantity, "3 boxes");
        QCOMPARE(f.quantityDialogs[0].offeredComment, "");
        QCOMPARE(f.status(), "Part added to order number 1");
        QCOMPARE(f.commands(), "order on, finalise on, ORD on");
        QList<StoredLine> lines = f.lines(1);
        QCOMPARE(lines.size(), 1);
        const qint32 id = lines[0].id;
        QCOMPARE(lines[0].dorvaneNum, "DA1234");
        QCOMPARE(lines[0].roverNum, "NRC1234");
        QCOMPARE(lines[0].description, "Driver's seat \"cover\"");
        QCOMPARE(lines[0].quantity, 3);
        QCOMPARE(lines[0].price, money("12.5"));
        QCOMPARE(lines[0].comments, "Don't \"bend\"");
        QCOMPARE(f.dialogs.beeps(), 0);

        // The supplier's price has changed since.
        seat.customerPrice = money("14.25");
        f.showPart(seat);
        f.dialogs.answerNext(Dialogs::Button::Yes);
        f.answerQuantity("5", "Leave at the gate's side");

        f.addToOrder();

        QCOMPARE(f.dialogs.beeps(), 1);
        QCOMPARE(f.dialogs.boxes().size(), 1);
        const auto& question = f.dialogs.boxes()[0];
        QCOMPARE(question.prompt, existsPrompt("3", "Don't \"bend\""));
        QCOMPARE(question.title, "Dorvane Quillon");
        QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(question.icon, Dialogs::Icon::None);
        QCOMPARE(f.quantityDialogs.size(), 2);
        QCOMPARE(f.quantityDialogs[1].offeredQuantity, "3");
        QCOMPARE(f.quantityDialogs[1].offeredComment, "Don't \"bend\"");
        QCOMPARE(f.status(), "Part order updated in order number 1");
        QCOMPARE(f.commands(), "order on, finalise on, ORD on");
        lines = f.lines(1);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].id, id);
        QCOMPARE(lines[0].quantity, 5);
        QCOMPARE(lines[0].price, money("14.25"));
        QCOMPARE(lines[0].comments, "Leave at the gate's side");
        QCOMPARE(lines[0].description, "Driver's seat \"cover\"");
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // Declining to change the line (No, or Cancel in the dialog) writes nothing, and the next
    // part's dialog offers that part's own unit of issue, not the declined line's values.
    void decliningTheUpdateKeepsTheLine_data() {
        QTest::addColumn<bool>("answerNo");
        QTest::newRow("No to the question") << true;
        QTest::newRow("Cancel in the dialog") << false;
    }

    void decliningTheUpdateKeepsTheLine() {
        QFETCH(bool, answerNo);
        OrdersFixture f;
        startWithNewOrder(f);
        f.showPart(part("DA1", "NRC1"));
        f.answerQuantity("4", "urgent");
        f.addToOrder();
        QCOMPARE(f.status(), "Part added to order number 1");

        f.showPart(part("DA1", "NRC1", "99"));
        if (answerNo) {
            f.dialogs.answerNext(Dialogs::Button::No);
        } else {
            f.dialogs.answerNext(Dialogs::Button::Yes);
            f.cancelQuantity();
        }
        f.addToOrder();

        QCOMPARE(f.dialogs.beeps(), 1);
        QCOMPARE(f.dialogs.boxes().size(), 1);
        QCOMPARE(f.dialogs.boxes()[0].prompt, existsPrompt("4", "urgent"));
        if (answerNo) {
            QCOMPARE(f.quantityDialogs.size(), 1);
            QCOMPARE(f.status(), "Part order NOT updated in order number 1");
        } else {
            QCOMPARE(f.quantityDialogs.size(), 2);
            QCOMPARE(f.status(), "Part added to order number 1");
        }
        const QList<StoredLine> lines = f.lines(1);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].quantity, 4);
        QCOMPARE(lines[0].comments, "urgent");
        QCOMPARE(lines[0].price, money("12.5"));

        ShownPart other = part("DA2", "NRC2");
        other.unitIssue = "PAIR";
        f.showPart(other);
        f.answerQuantity("2", "");
        f.addToOrder();
        QCOMPARE(f.quantityDialogs.last().offeredQuantity, "PAIR");
        QCOMPARE(f.quantityDialogs.last().offeredComment, "");
        QCOMPARE(f.lines(1).size(), 2);
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // A line is found by RoverNum, or by DorvaneNum for a part whose RoverNum is exactly
    // "Dorvane Only".
    void thePartKeyFindsTheLine_data() {
        QTest::addColumn<QString>("firstRover");
        QTest::addColumn<QString>("firstDv");
        QTest::addColumn<QString>("secondRover");
        QTest::addColumn<QString>("secondDv");
        QTest::addColumn<bool>("shared");
        QTest::newRow("same RoverNum, other DorvaneNum") << "NRC5"
                                                         << "DA5"
                                                         << "NRC5"
                                                         << "DA6" << true;
        QTest::newRow("other RoverNum") << "NRC5"
                                        << "DA5"
                                        << "NRC6"
                                        << "DA5" << false;
        QTest::newRow("two Dorvane Only parts") << "Dorvane Only"
                                                << "DA7"
                                                << "Dorvane Only"
                                                << "DA8" << false;
        QTest::newRow("one Dorvane Only part twice") << "Dorvane Only"
                                                     << "DA7"
                                                     << "Dorvane Only"
                                                     << "DA7" << true;
        QTest::newRow("other letter case is an ordinary number") << "dorvane only"
                                                                 << "DA7"
                                                                 << "DORVANE ONLY"
                                                                 << "DA8" << true;
    }

    void thePartKeyFindsTheLine() {
        QFETCH(QString, firstRover);
        QFETCH(QString, firstDv);
        QFETCH(QString, secondRover);
        QFETCH(QString, secondDv);
        QFETCH(bool, shared);
        OrdersFixture f;
        startWithNewOrder(f);
        f.showPart(part(firstDv, firstRover));
        f.answerQuantity("1", "first");
        f.addToOrder();

        f.showPart(part(secondDv, secondRover));
        f.dialogs.answerNext(Dialogs::Button::No); // taken only by the "Part exists" question
        f.answerQuantity("2", "second");
        f.addToOrder();

        const QList<StoredLine> lines = f.lines(1);
        if (shared) {
            QCOMPARE(f.dialogs.boxes().size(), 1);
            QCOMPARE(f.dialogs.boxes()[0].prompt, existsPrompt("1", "first"));
            QCOMPARE(f.status(), "Part order NOT updated in order number 1");
            QCOMPARE(lines.size(), 1);
        } else {
            QVERIFY(f.dialogs.boxes().isEmpty());
            QCOMPARE(f.dialogs.pendingAnswers(), 1);
            QCOMPARE(f.status(), "Part added to order number 1");
            QCOMPARE(lines.size(), 2);
            // Both numbers are written, whichever is the key.
            QCOMPARE(lines[1].dorvaneNum, secondDv);
            QCOMPARE(lines[1].roverNum, secondRover);
            QCOMPARE(lines[1].comments, "second");
        }
    }

    void thePriceRule_data() {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("lrPrice");
        QTest::addColumn<QString>("custom"); // "none": no custom record; "": one without a price
        QTest::addColumn<QString>("newLine");
        QTest::addColumn<QString>("updated");
        QTest::newRow("catalogue price") << "10"
                                         << "12"
                                         << "none"
                                         << "10"
                                         << "10";
        QTest::newRow("custom price wins") << "10"
                                           << "12"
                                           << "8.75"
                                           << "8.75"
                                           << "8.75";
        QTest::newRow("custom price below the catalogue's") << "10"
                                                            << "12"
                                                            << "0.25"
                                                            << "0.25"
                                                            << "0.25";
        QTest::newRow("catalogue price 0 falls back to the LR price") << "0"
                                                                      << "12"
                                                                      << "none"
                                                                      << "12"
                                                                      << "12";
        QTest::newRow("negative catalogue price falls back to the LR price") << "-1"
                                                                             << "12.5"
                                                                             << "none"
                                                                             << "12.5"
                                                                             << "12.5";
        QTest::newRow("negative custom price") << "10"
                                               << "12"
                                               << "-3"
                                               << "0"
                                               << "-3";
        QTest::newRow("custom price 0") << "10"
                                        << "12"
                                        << "0"
                                        << "0"
                                        << "0";
        QTest::newRow("custom record without a price") << "10"
                                                       << "12"
                                                       << ""
                                                       << "0"
                                                       << "0";
    }

    void thePriceRule() {
        QFETCH(QString, catalogue);
        QFETCH(QString, lrPrice);
        QFETCH(QString, custom);
        QFETCH(QString, newLine);
        QFETCH(QString, updated);
        OrdersFixture f;
        startWithNewOrder(f);
        // Another part's custom price must not count.
        f.addCustomPrice("DA9", "NRC9", "1");
        if (custom != "none")
            f.addCustomPrice("DA1", "NRC1", custom);
        f.showPart(part("DA1", "NRC1", qPrintable(catalogue), qPrintable(lrPrice)));

        f.addToOrder();
        QCOMPARE(f.lines(1).size(), 1);
        QCOMPARE(f.lines(1)[0].price, *Money::fromPlainText(newLine));

        f.dialogs.answerNext(Dialogs::Button::Yes);
        f.addToOrder();
        QCOMPARE(f.status(), "Part order updated in order number 1");
        QCOMPARE(f.lines(1).size(), 1);
        QCOMPARE(f.lines(1)[0].price, *Money::fromPlainText(updated));
        QVERIFY(f.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(AddToOrderTest)

#include "test_add_to_order.moc"
