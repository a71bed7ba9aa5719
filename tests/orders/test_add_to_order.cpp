// Add to Order: the Part Order Details dialog's quantity, the price a line takes, and a part
// added again to the line the part key finds.
#include "order_steps.h"
#include "test_registry.h"

using namespace quillon;
using namespace quillon::tests;

namespace {

// The parts ("DorvaneNum|RoverNum|CustomerPrice|LRPrice", the prices optional), described as
// "Part DorvaneNum", then order 1 started.
void startWithNewOrder(ProgramDriver& app, const QStringList& parts) {
    QStringList described;
    for (const QString& v : parts)
        described << v.section(u'|', 0, 1) + "|Part " + v.section(u'|', 0, 0) + "|" +
                         v.section(u'|', 2);
    addParts(app, described);
    app.run();
    app.dialogs.answerNext(Dialogs::Button::Yes);
    app.click("cmdStartOrder");
    app.dialogs.clearRecords();
}

const QString noQuantity = "Please enter a quantity or press Cancel.";
const QString fraction = "The quantity must be a whole number.\r\n\r\nPlease enter a whole "
                         "quantity or press Cancel.";
const QString tooLarge = "The quantity is too large.\r\n\r\nPlease enter a quantity from "
                         "-2147483648 to 2147483647 or press Cancel.";

} // namespace

class AddToOrderTest : public QObject {
    Q_OBJECT

private slots:
    // OK (or Enter) takes the number the quantity box begins with; what can't be a line's
    // quantity is refused and the dialog stays open as typed; every other way out cancels.
    void quantity_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("stored"); // Quantity|Comments; empty: no line
        addRow("3 boxes", "3 boxes", "ok", "", "3|Fit O'Neill's \"cap\"");
        addRow("leading blanks, Enter", "  12", "enter", "", "12|Fit O'Neill's \"cap\"");
        addRow("negative", "-2", "ok", "", "-2|Fit O'Neill's \"cap\"");
        addRow("2.0 is whole", "2.0", "ok", "", "2|Fit O'Neill's \"cap\"");
        addRow("largest", "2147483647", "ok", "", "2147483647|Fit O'Neill's \"cap\"");
        addRow("empty", "", "ok", noQuantity, "");
        addRow("0", "0", "enter", noQuantity, "");
        addRow("PAIR", "PAIR", "ok", noQuantity, "");
        addRow("fraction", "2.5", "ok", fraction, "");
        addRow("fraction with text", "0.5 litre", "ok", fraction, "");
        addRow("beyond 32 bits", "2147483648", "ok", tooLarge, "");
        addRow("far beyond", "99999999999999999999999", "ok", tooLarge, "");
        addRow("below 32 bits", "-2147483649", "ok", tooLarge, "");
        addRow("Cancel", "4", "cancel", "", "");
        addRow("Esc", "4", "esc", "", "");
        addRow("window frame", "4", "frame", "", "");
    }

    void quantity() {
        QFETCH(QString, typed);
        QFETCH(QString, way);
        QFETCH(QString, refusal);
        QFETCH(QString, stored);
        ProgramDriver app;
        startWithNewOrder(app, {"DA11|NRC1|4.5"});
        QStringList offered;
        answerQuantity(app, offered, typed, "Fit O'Neill's \"cap\"", way);
        app.searchPart("DA11");
        const QString before = app.status();

        app.click("cmdOrder");

        QCOMPARE(offered, (refusal.isEmpty() ? QStringList{"EA|"} : QStringList{"EA|", "open"}));
        QCOMPARE(app.dialogs.boxes().size(), refusal.isEmpty() ? 0 : 1);
        if (!refusal.isEmpty())
            QCOMPARE(app.onlyPrompt(), refusal);
        QCOMPARE(app.userRows("SELECT Quantity, Comments FROM orderParts"),
                 stored.isEmpty() ? QStringList{} : QStringList{stored});
        QCOMPARE(app.status(), stored.isEmpty() ? before : "Part added to order number 1");
        QCOMPARE(commands(app), stored.isEmpty() ? "order on, finalise off, ORD on"
                                                 : "order on, finalise on, ORD on");
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // A customer's price above zero, else the catalogue's above zero, else the LR price; the line
    // added again takes the price in force then.
    void thePrice_data() {
        QTest::addColumn<QString>("part");   // CustomerPrice|LRPrice of the catalogue
        QTest::addColumn<QString>("custom"); // the customer's price; "none": no record
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("updated");
        addRow("catalogue price", "10|12", "none", "10", "10");
        addRow("custom price wins", "10|12", "8.75", "8.75", "8.75");
        addRow("custom price below the catalogue's", "10|12", "0.25", "0.25", "0.25");
        addRow("catalogue price 0: the LR price", "0|12", "none", "12", "12");
        addRow("negative catalogue price: the LR price", "-1|12.5", "none", "12.5", "12.5");
        addRow("negative custom price", "10|12", "-3", "0", "-3");
        addRow("custom price 0", "10|12", "0", "0", "0");
        addRow("custom record without a price", "10|12", "", "0", "0");
    }

    void thePrice() {
        QFETCH(QString, part);
        QFETCH(QString, custom);
        QFETCH(QString, added);
        QFETCH(QString, updated);
        ProgramDriver app;
        // Another part's custom price must not count.
        app.addRows("customParts", {ProgramDriver::row("DorvaneNum=DA19|RoverNum=NRC9|"
                                                       "CustomerPrice=1")});
        if (custom != "none")
            app.addRows("customParts",
                        {{{"DorvaneNum", "DA11"},
                          {"RoverNum", "NRC1"},
                          {"CustomerPrice", custom.isEmpty() ? QVariant() : custom}}});
        startWithNewOrder(app, {"DA11|NRC1|" + part});
        QStringList offered;
        answerQuantity(app, offered, "1");

        app.searchPart("DA11");
        app.click("cmdOrder");
        QCOMPARE(app.userRows("SELECT Price FROM orderParts"), QStringList{added});
        app.dialogs.answerNext(Dialogs::Button::Yes);
        app.click("cmdOrder");

        QCOMPARE(app.status(), "Part order updated in order number 1");
        QCOMPARE(app.userRows("SELECT Price FROM orderParts"), QStringList{updated});
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // A part added again is found by its RoverNum, or by its DorvaneNum when its RoverNum is
    // exactly "Dorvane Only"; the user is asked before its line changes.
    void addedAgain_data() {
        QTest::addColumn<QStringList>("parts"); // the first and the second added
        QTest::addColumn<QString>("answer");    // "yes", "no", "cancel": Yes, then Cancel
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("offered");
        const QString first = "3|Don't \"bend\"";
        const QStringList same{"DA11|NRC1", "DA11|NRC1"};
        const QString kept = "DA11|NRC1|Part DA11|3|Don't \"bend\"";
        const QString updated = "Part order updated in order number 1";
        const QString notUpdated = "Part order NOT updated in order number 1";
        const QString added = "Part added to order number 1";
        addRow("same part, Yes", same, "yes", updated,
               QStringList{"DA11|NRC1|Part DA11|5|Leave at the gate's side"},
               QStringList{"EA|", first});
        addRow("same part, No", same, "no", notUpdated, QStringList{kept}, QStringList{"EA|"});
        addRow("same part, Cancel", same, "cancel", "Part DA11", QStringList{kept},
               QStringList{"EA|", first});
        addRow("same RoverNum, other DorvaneNum", QStringList{"DA11|NRC1", "DA12|NRC1"}, "no",
               notUpdated, QStringList{kept}, QStringList{"EA|"});
        addRow("other RoverNum", QStringList{"DA11|NRC1", "DA12|NRC2"}, "no", added,
               QStringList{kept, "DA12|NRC2|Part DA12|5|Leave at the gate's side"},
               QStringList{"EA|", "EA|"});
        addRow("two Dorvane Only parts", QStringList{"DA11|Dorvane Only", "DA12|Dorvane Only"},
               "no", added,
               QStringList{"DA11|Dorvane Only|Part DA11|3|Don't \"bend\"",
                           "DA12|Dorvane Only|Part DA12|5|Leave at the gate's side"},
               QStringList{"EA|", "EA|"});
        addRow("one Dorvane Only part", QStringList{"DA11|Dorvane Only", "DA11|Dorvane Only"}, "no",
               notUpdated, QStringList{"DA11|Dorvane Only|Part DA11|3|Don't \"bend\""},
               QStringList{"EA|"});
        addRow("other letter case is a Rover number",
               QStringList{"DA11|dorvane only", "DA12|DORVANE ONLY"}, "no", notUpdated,
               QStringList{"DA11|dorvane only|Part DA11|3|Don't \"bend\""}, QStringList{"EA|"});
    }

    void addedAgain() {
        QFETCH(QStringList, parts);
        QFETCH(QString, answer);
        QFETCH(QStringList, lines);
        ProgramDriver app;
        startWithNewOrder(app, parts.first() == parts.last() ? parts.mid(0, 1) : parts);
        QStringList offered;
        answerQuantity(app, offered, "3", "Don't \"bend\"");
        app.searchPart(parts.first().section(u'|', 0, 0));
        app.click("cmdOrder");

        app.dialogs.answerNext(answer == "no" ? Dialogs::Button::No : Dialogs::Button::Yes);
        answerQuantity(app, offered, "5", "Leave at the gate's side",
                       answer == "cancel" ? "cancel" : "ok");
        app.searchPart(parts.last().section(u'|', 0, 0));
        const int beeps = app.dialogs.beeps();
        app.click("cmdOrder");

        const bool asked = lines.size() == 1;
        QCOMPARE(app.dialogs.beeps() - beeps, asked ? 1 : 0);
        QCOMPARE(app.dialogs.boxes().size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(app.onlyPrompt(), "Part exists in order.\r\n\r\nQuantity = 3\r\nSpecial "
                                       "instructions = \"Don't \"bend\"\"\r\n\r\nUpdate quantity "
                                       "or special instructions?");
        QTEST(app.status(), "status");
        QTEST(offered, "offered");
        QCOMPARE(app.userRows("SELECT DorvaneNum, RoverNum, Description, Quantity, Comments "
                              "FROM orderParts WHERE OrderNum = 1 ORDER BY ID"),
                 lines);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(AddToOrderTest)

#include "test_add_to_order.moc"
