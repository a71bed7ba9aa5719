// The customer's own prices: a part's record shown with it, Enter/Update and Remove by the part
// key, the amounts as stored and shown, and the refusal of a box that holds no amount.
#include "program_driver.h"
#include "test_registry.h"

#include <QLineEdit>
#include <QTest>

using namespace quillon;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;

namespace {

const QString rows = "SELECT DorvaneNum, RoverNum, CustomerPrice, CustomerLRPrice, "
                     "CustomerUnitSale FROM customParts ORDER BY DorvaneNum";

// CP100 and CP500 share a Rover number; CP300 and CP400 are Dorvane's own parts.
void addCatalogue(const ProgramDriver& app) {
    const auto row = &ProgramDriver::row;
    app.addParts({row("ID=1|DorvaneNum=CP100|RoverNum=STC100|Description=Pad"),
                  row("ID=2|DorvaneNum=CP200|RoverNum=NRC200|Description=Disc"),
                  row("ID=3|DorvaneNum=CP300|RoverNum=Dorvane Only"),
                  row("ID=4|DorvaneNum=CP400|RoverNum=Dorvane Only"),
                  row("ID=5|DorvaneNum=CP500|RoverNum=STC100")});
}

// The three boxes, as "file|selling|unit".
QString boxes(const ProgramDriver& app) {
    return QStringList{app.control<QLineEdit>("txtFilePrice")->text(),
                       app.control<QLineEdit>("txtSellingPrice")->text(),
                       app.control<QLineEdit>("txtUnit")->text()}
        .join(u'|');
}

// Shows the part, fills the boxes ("file|selling|unit") and clicks the button.
void enter(ProgramDriver& app, const QString& part, const QString& values,
           const QString& button = "cmdEnterFilePrice") {
    if (!part.isEmpty())
        app.searchPart(part);
    app.type("txtFilePrice", values.section(u'|', 0, 0));
    app.type("txtSellingPrice", values.section(u'|', 1, 1));
    app.type("txtUnit", values.section(u'|', 2, 2));
    app.click(button);
}

class PricesTest : public QObject {
    Q_OBJECT

private slots:
    void enterUpdateAndRemove() {
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        enter(app, "", "5|6|BOX"); // no part shown: nothing
        app.click("cmdRemoveFilePrice");
        QCOMPARE(app.status(), MainWindow::startStatusText());

        enter(app, "CP10", "12.5|20|BOX");
        QCOMPARE(app.status(), "Custom price stored");
        QCOMPARE(boxes(app), "£12.50|£20.00|BOX");
        app.click("cmdEnterFilePrice"); // the boxes' own display form is taken as it shows
        QCOMPARE(app.status(), "Custom price updated");
        enter(app, "", "12.5|£1,234.50|3' HOSE");
        QCOMPARE(app.userRows(rows), QStringList{"CP100|STC100|12.5|1234.5|3' HOSE"});
        // One Rover number, one record: CP500 shows and updates CP100's.
        app.searchPart("CP50");
        QCOMPARE(boxes(app), "£12.50|£1,234.50|3' HOSE");
        enter(app, "", "9.99|11|SET");
        QCOMPARE(app.userRows(rows), QStringList{"CP100|STC100|9.99|11|SET"});

        // Dorvane's own parts are kept apart by their DorvaneNum.
        enter(app, "CP30", "3||");
        enter(app, "CP40", "4||");
        QCOMPARE(app.userRows(rows).mid(1),
                 QStringList({"CP300|Dorvane Only|3|0|", "CP400|Dorvane Only|4|0|"}));
        // Another part without a record shows empty boxes; what was typed there goes.
        app.searchPart("CP20");
        QCOMPARE(boxes(app), "||");
        app.type("txtUnit", "typed");
        app.searchPart("CP30");
        QCOMPARE(boxes(app), "£3.00|£0.00|");
        app.click("cmdRemoveFilePrice");
        QCOMPARE(app.status(), "Custom price removed");
        QCOMPARE(boxes(app), "||");
        enter(app, "CP20", "||", "cmdRemoveFilePrice"); // no record: none removed
        // After Clear no part is shown: nothing again.
        app.click("cmdClear");
        enter(app, "", "7|8|BOX");
        QCOMPARE(app.userRows(rows),
                 QStringList({"CP100|STC100|9.99|11|SET", "CP400|Dorvane Only|4|0|"}));
        QVERIFY(app.dialogs.boxes().isEmpty());

        // The records are the User database's: they are there at the next start.
        app.restart();
        app.searchPart("CP40");
        QCOMPARE(boxes(app), "£4.00|£0.00|");
    }

    // A price typed into a box: stored as a plain decimal and shown in the display form, or
    // refused with a box naming it, nothing stored, a record staying as it was.
    void priceTyped_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // "": refused
        QTest::addColumn<QString>("shown");
        const QString file = "txtFilePrice", selling = "txtSellingPrice";
        addRow("plain", selling, "12.5", "12.5", "£12.50");
        addRow("display form", file, "£1,234.50", "1234.5", "£1,234.50");
        addRow("blanks around", selling, " 3.25 ", "3.25", "£3.25");
        addRow("negative", file, "-2", "-2", "-£2.00");
        addRow("leading point", selling, ".25", "0.25", "£0.25");
        addRow("letters as file price", file, "abc", "", "abc");
        addRow("letters as selling price", selling, "abc", "", "abc");
        addRow("amount and more", file, "£12.50abc", "", "£12.50abc");
        addRow("two points", selling, "1.2.3", "", "1.2.3");
        addRow("badly grouped", file, "1,23", "", "1,23");
        addRow("quote", file, "12'5", "", "12'5");
        addRow("too large", file, "99999999999999999999", "", "99999999999999999999");
    }
    void priceTyped() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString caption = box == "txtFilePrice" ? "File Price" : "Selling Price";
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        enter(app, "CP10", "1|2|EA");
        QStringList expected{"CP100|STC100|1|2|EA"};
        if (!stored.isEmpty())
            expected << "CP200|NRC200|" +
                            (box == "txtFilePrice" ? stored + "|0|" : "0|" + stored + "|");
        for (const char* part : {"CP20", "CP10"}) { // without a record, then with one
            app.searchPart(part);
            app.type(box, text);
            app.click("cmdEnterFilePrice");
            QTEST(app.control<QLineEdit>(box)->text(), "shown");
            if (!stored.isEmpty())
                break;
            QVERIFY2(app.dialogs.boxes().last().prompt.startsWith(caption + " \"" + text + "\""),
                     qPrintable(app.onlyPrompt()));
            QCOMPARE(app.dialogs.boxes().last().icon, Dialogs::Icon::Exclamation);
            QVERIFY(app.control(box)->hasFocus());
        }
        QCOMPARE(app.userRows(rows), expected);
    }
};

} // namespace

QUILLON_TEST_CLASS(PricesTest)
#include "test_prices.moc"
