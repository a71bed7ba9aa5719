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
        described << v.section(u'|', 0, 1) + u"|Part " + v.section(u'|', 0, 0) + u'|' +
                         v.section(u'|', 2);
    addParts(app, described);
    app.run();
    app.dialogs.answerNext(Dialogs::Button::Yes);
    app.click(u"cmdStartOrder"_s);
    app.dialogs.clearRecords();
}

const QString noQuantity = u"Please enter a quantity or press Cancel."_s;
const QString fraction = u"The quantity must be a whole number.\r\n\r\nPlease enter a whole "
                         "quantity or press Cancel."_s;
const QString tooLarge = u"The quantity is too large.\r\n\r\nPlease enter a quantity from "
                         "-2147483648 to 2147483647 or press Cancel."_s;

} // namespace

class AddToOrderTest : public QObject {
    Q_OBJECT

private slots:
    // OK (or Enter) takes the number the quantity box begins with; what can't be a line's
    // quantity is refused and the dialog stays open as typed; every other way out cancels. The
    // line takes a customer's price above zero, else the catalogue's above zero, else the LR
    // price; the line added again takes the price in force then.
    void newLine_data() {
        // stored: Quantity|Price|Comments, empty: no line
        // prices: the catalogue's CustomerPrice|LRPrice, then the customer's price when they
        // have a record ("": Null); updated: the price when the part is added again
        tests::addColumns<QString, QString, QString, QString, QString, QString>(
            "typed", "way", "refusal", "stored", "prices", "updated");
        const auto asTyped = [](const char* name, const char* typed, const char* way,
                                QAnyStringView refusal, const char* stored) {
            addRow(name, typed, way, refusal.toString(), stored, "4.5", "");
        };
        const auto priced = [](const char* name, const char* prices, QAnyStringView added,
                               const char* updated) {
            addRow(name, "1", "ok", "", u"1|" + added.toString() + u"|Fit O'Neill's \"cap\"",
                   prices, updated);
        };
        asTyped("3 boxes", "3 boxes", "ok", "", "3|4.5|Fit O'Neill's \"cap\"");
        asTyped("leading blanks, Enter", "  12", "enter", "", "12|4.5|Fit O'Neill's \"cap\"");
        asTyped("negative", "-2", "ok", "", "-2|4.5|Fit O'Neill's \"cap\"");
        asTyped("2.0 is whole", "2.0", "ok", "", "2|4.5|Fit O'Neill's \"cap\"");
        asTyped("largest", "2147483647", "ok", "", "2147483647|4.5|Fit O'Neill's \"cap\"");
        asTyped("empty", "", "ok", noQuantity, "");
        asTyped("0", "0", "enter", noQuantity, "");
        asTyped("PAIR", "PAIR", "ok", noQuantity, "");
        asTyped("fraction", "2.5", "ok", fraction, "");
        asTyped("fraction with text", "0.5 litre", "ok", fraction, "");
        asTyped("beyond 32 bits", "2147483648", "ok", tooLarge, "");
        asTyped("far beyond", "99999999999999999999999", "ok", tooLarge, "");
        asTyped("below 32 bits", "-2147483649", "ok", tooLarge, "");
        asTyped("Cancel", "4", "cancel", "", "");
        asTyped("Esc", "4", "esc", "", "");
        asTyped("window frame", "4", "frame", "", "");
        priced("catalogue price", "10|12", "10", "10");
        priced("custom price wins", "10|12|8.75", "8.75", "8.75");
        priced("custom price below the catalogue's", "10|12|0.25", "0.25", "0.25");
        priced("catalogue price 0: the LR price", "0|12", "12", "12");
        priced("negative catalogue price: the LR price", "-1|12.5", "12.5", "12.5");
        priced("negative custom price", "10|12|-3", "0", "-3");
        priced("custom price 0", "10|12|0", "0", "0");
        priced("custom record without a price", "10|12|", "0", "0");
    }

    void newLine() {
        QFETCH(QString, typed);
        QFETCH(QString, way);
        QFETCH(QString, refusal);
        QFETCH(QString, stored);
        QFETCH(QString, prices);
        QFETCH(QString, updated);
        ProgramDriver app;
        // Another part's custom price must not count.
        app.addRows(u"customParts"_s, {ProgramDriver::row(u"DorvaneNum=DA19|RoverNum=NRC9|"
                                                          "CustomerPrice=1"_s)});
        const QString custom = prices.section(u'|', 2);
        if (prices.count(u'|') == 2)
            app.addRows(u"customParts"_s,
                        {{{u"DorvaneNum"_s, u"DA11"_s},
                          {u"RoverNum"_s, u"NRC1"_s},
                          {u"CustomerPrice"_s, custom.isEmpty() ? QVariant() : custom}}});
        startWithNewOrder(app, {u"DA11|NRC1|"_s + prices.section(u'|', 0, 1)});
        QStringList offered;
        answerQuantity(app, offered, typed, u"Fit O'Neill's \"cap\""_s, way);
        app.searchPart(u"DA11"_s);
        const QString before = app.status();

        app.click(u"cmdOrder"_s);

        QCOMPARE(offered,
                 (refusal.isEmpty() ? QStringList{u"EA|"_s} : QStringList{u"EA|"_s, u"open"_s}));
        QCOMPARE(app.dialogs.boxes().size(), refusal.isEmpty() ? 0 : 1);
        if (!refusal.isEmpty())
            QCOMPARE(app.onlyPrompt(), refusal);
        QCOMPARE(app.userRows(u"SELECT Quantity, Price, Comments FROM orderParts"_s),
                 stored.isEmpty() ? QStringList{} : QStringList{stored});
        QCOMPARE(app.status(), stored.isEmpty() ? before : u"Part added to order number 1"_s);
        QCOMPARE(commands(app), stored.isEmpty() ? u"order on, finalise off, ORD on"_s
                                                 : u"order on, finalise on, ORD on"_s);
        QVERIFY(app.dialogs.errors().isEmpty());
        if (updated.isEmpty())
            return;
        app.dialogs.answerNext(Dialogs::Button::Yes);
        app.click(u"cmdOrder"_s);
        QCOMPARE(app.status(), u"Part order updated in order number 1"_s);
        QCOMPARE(app.userRows(u"SELECT Price FROM orderParts"_s), QStringList{updated});
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // A part added again is found by its RoverNum, or by its DorvaneNum when its RoverNum is
    // exactly "Dorvane Only"; the user is asked before its line changes.
    void addedAgain_data() {
        // parts: the first and the second added
        // answer: "yes", "no", "cancel": Yes, then Cancel
        tests::addColumns<QStringList, QString, QString, QStringList, QStringList>(
            "parts", "answer", "status", "lines", "offered");
        const QString first = u"3|Don't \"bend\""_s;
        const QStringList same{u"DA11|NRC1"_s, u"DA11|NRC1"_s};
        const QString kept = u"DA11|NRC1|Part DA11|3|Don't \"bend\""_s;
        const QString updated = u"Part order updated in order number 1"_s;
        const QString notUpdated = u"Part order NOT updated in order number 1"_s;
        const QString added = u"Part added to order number 1"_s;
        addRow("same part, Yes", same, "yes", updated,
               QStringList{u"DA11|NRC1|Part DA11|5|Leave at the gate's side"_s},
               QStringList{u"EA|"_s, first});
        addRow("same part, No", same, "no", notUpdated, QStringList{kept}, QStringList{u"EA|"_s});
        addRow("same part, Cancel", same, "cancel", "Part DA11", QStringList{kept},
               QStringList{u"EA|"_s, first});
        addRow("same RoverNum, other DorvaneNum", QStringList{u"DA11|NRC1"_s, u"DA12|NRC1"_s}, "no",
               notUpdated, QStringList{kept}, QStringList{u"EA|"_s});
        addRow("other RoverNum", QStringList{u"DA11|NRC1"_s, u"DA12|NRC2"_s}, "no", added,
               QStringList{kept, u"DA12|NRC2|Part DA12|5|Leave at the gate's side"_s},
               QStringList{u"EA|"_s, u"EA|"_s});
        addRow("two Dorvane Only parts",
               QStringList{u"DA11|Dorvane Only"_s, u"DA12|Dorvane Only"_s}, "no", added,
               QStringList{u"DA11|Dorvane Only|Part DA11|3|Don't \"bend\""_s,
                           u"DA12|Dorvane Only|Part DA12|5|Leave at the gate's side"_s},
               QStringList{u"EA|"_s, u"EA|"_s});
        addRow("one Dorvane Only part", QStringList{u"DA11|Dorvane Only"_s, u"DA11|Dorvane Only"_s},
               "no", notUpdated, QStringList{u"DA11|Dorvane Only|Part DA11|3|Don't \"bend\""_s},
               QStringList{u"EA|"_s});
        addRow("other letter case is a Rover number",
               QStringList{u"DA11|dorvane only"_s, u"DA12|DORVANE ONLY"_s}, "no", notUpdated,
               QStringList{u"DA11|dorvane only|Part DA11|3|Don't \"bend\""_s},
               QStringList{u"EA|"_s});
    }

    void addedAgain() {
        QFETCH(QStringList, parts);
        QFETCH(QString, answer);
        QFETCH(QStringList, lines);
        ProgramDriver app;
        startWithNewOrder(app, parts.first() == parts.last() ? parts.mid(0, 1) : parts);
        QStringList offered;
        answerQuantity(app, offered, u"3"_s, u"Don't \"bend\""_s);
        app.searchPart(parts.first().section(u'|', 0, 0));
        app.click(u"cmdOrder"_s);

        app.dialogs.answerNext(answer == u"no" ? Dialogs::Button::No : Dialogs::Button::Yes);
        answerQuantity(app, offered, u"5"_s, u"Leave at the gate's side"_s,
                       answer == u"cancel" ? u"cancel"_s : u"ok"_s);
        app.searchPart(parts.last().section(u'|', 0, 0));
        const int beeps = app.dialogs.beeps();
        app.click(u"cmdOrder"_s);

        const bool asked = lines.size() == 1;
        QCOMPARE(app.dialogs.beeps() - beeps, asked ? 1 : 0);
        QCOMPARE(app.dialogs.boxes().size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(app.onlyPrompt(), u"Part exists in order.\r\n\r\nQuantity = 3\r\nSpecial "
                                       "instructions = \"Don't \"bend\"\"\r\n\r\nUpdate quantity "
                                       "or special instructions?"_s);
        QTEST(app.status(), "status");
        QTEST(offered, "offered");
        QCOMPARE(app.userRows(u"SELECT DorvaneNum, RoverNum, Description, Quantity, Comments "
                              "FROM orderParts WHERE OrderNum = 1 ORDER BY ID"_s),
                 lines);
        QCOMPARE(summary(app), lines.size() == 1 ? u"Order 1 · 1 line · £0.00"_s
                                                 : u"Order 1 · 2 lines · £0.00"_s);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(AddToOrderTest)

#include "test_add_to_order.moc"
