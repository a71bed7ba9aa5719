// The customer's own prices: a part's record shown with it, Enter/Update and Remove by the part
// key, the amounts as stored and shown, and the refusal of a box that holds no amount.
#include "program_driver.h"
#include "test_registry.h"

#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;

namespace {

const QString rows = u"SELECT DorvaneNum, RoverNum, CustomerPrice, CustomerLRPrice, "
                     u"CustomerUnitSale FROM customParts ORDER BY DorvaneNum"_s;

// CP100 and CP500 share a Rover number; CP300 and CP400 are Dorvane's own parts.
void addCatalogue(const ProgramDriver& app) {
    app.addParts({u"ID=1|DorvaneNum=CP100|RoverNum=STC100|Description=Pad"_s,
                  u"ID=2|DorvaneNum=CP200|RoverNum=NRC200|Description=Disc"_s,
                  u"ID=3|DorvaneNum=CP300|RoverNum=Dorvane Only"_s,
                  u"ID=4|DorvaneNum=CP400|RoverNum=Dorvane Only"_s,
                  u"ID=5|DorvaneNum=CP500|RoverNum=STC100"_s});
}

// The three boxes, as "file|selling|unit".
QString boxes(const ProgramDriver& app) {
    return QStringList{app.control<QLineEdit>(u"txtFilePrice"_s)->text(),
                       app.control<QLineEdit>(u"txtSellingPrice"_s)->text(),
                       app.control<QLineEdit>(u"txtUnit"_s)->text()}
        .join(u'|');
}

// Shows the part, fills the boxes ("file|selling|unit") and clicks the button.
void enter(ProgramDriver& app, const QString& part, const QString& values,
           const QString& button = u"cmdEnterFilePrice"_s) {
    if (!part.isEmpty())
        app.searchPart(part);
    app.type(u"txtFilePrice"_s, values.section(u'|', 0, 0));
    app.type(u"txtSellingPrice"_s, values.section(u'|', 1, 1));
    app.type(u"txtUnit"_s, values.section(u'|', 2, 2));
    app.click(button);
}

class PricesTest : public QObject {
    Q_OBJECT

private slots:
    void enterUpdateAndRemove() {
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        enter(app, u""_s, u"5|6|BOX"_s); // no part shown: nothing
        app.click(u"cmdRemoveFilePrice"_s);
        QCOMPARE(app.status(), u"Dorvane Quillon - enter a part number or part description"_s);

        enter(app, u"CP10"_s, u"12.5|20|BOX"_s);
        QCOMPARE(app.status(), u"Custom price stored"_s);
        QCOMPARE(boxes(app), u"£12.50|£20.00|BOX"_s);
        app.click(u"cmdEnterFilePrice"_s); // the boxes' own display form is taken as it shows
        QCOMPARE(app.status(), u"Custom price updated"_s);
        enter(app, u""_s, u"12.5|£1,234.50|3' HOSE"_s);
        QCOMPARE(app.userRows(rows), QStringList{u"CP100|STC100|12.5|1234.5|3' HOSE"_s});
        // One Rover number, one record: CP500 shows and updates CP100's.
        app.searchPart(u"CP50"_s);
        QCOMPARE(boxes(app), u"£12.50|£1,234.50|3' HOSE"_s);
        enter(app, u""_s, u"9.99|11|SET"_s);
        QCOMPARE(app.userRows(rows), QStringList{u"CP100|STC100|9.99|11|SET"_s});

        // Dorvane's own parts are kept apart by their DorvaneNum.
        enter(app, u"CP30"_s, u"3||"_s);
        enter(app, u"CP40"_s, u"4||"_s);
        QCOMPARE(app.userRows(rows).mid(1),
                 QStringList({u"CP300|Dorvane Only|3|0|"_s, u"CP400|Dorvane Only|4|0|"_s}));
        // Another part without a record shows empty boxes; what was typed there goes.
        app.searchPart(u"CP20"_s);
        QCOMPARE(boxes(app), u"||"_s);
        app.type(u"txtUnit"_s, u"typed"_s);
        app.searchPart(u"CP30"_s);
        QCOMPARE(boxes(app), u"£3.00|£0.00|"_s);
        app.click(u"cmdRemoveFilePrice"_s);
        QCOMPARE(app.status(), u"Custom price removed"_s);
        QCOMPARE(boxes(app), u"||"_s);
        enter(app, u"CP20"_s, u"||"_s, u"cmdRemoveFilePrice"_s); // no record: none removed
        // After Clear no part is shown: nothing again.
        app.click(u"cmdClear"_s);
        enter(app, u""_s, u"7|8|BOX"_s);
        QCOMPARE(app.userRows(rows),
                 QStringList({u"CP100|STC100|9.99|11|SET"_s, u"CP400|Dorvane Only|4|0|"_s}));
        QVERIFY(app.dialogs.boxes().isEmpty());

        // The records are the User database's: they are there at the next start.
        app.restart();
        app.searchPart(u"CP40"_s);
        QCOMPARE(boxes(app), u"£4.00|£0.00|"_s);
    }

    // A price typed into a box under the user's settings: stored as a plain decimal and shown in
    // the display form, or refused with a box naming it (and, for a text that reads as two
    // amounts, both readings), nothing stored, a record staying as it was.
    void priceTyped_data() {
        // stored: "": refused
        // said: in the refusal
        tests::addColumns<QString, QString, QString, QString, QString, QString>(
            "locale", "box", "text", "stored", "shown", "said");
        const QString file = u"txtFilePrice"_s, selling = u"txtSellingPrice"_s;
        const char* gb = "en_GB";
        const char* de = "de_DE";
        const char* fr = "fr_FR";
        const char* notAnAmount = "is not an amount.";
        addRow("plain", gb, selling, "12.5", "12.5", "£12.50", "");
        addRow("display form", gb, file, "£1,234.50", "1234.5", "£1,234.50", "");
        addRow("negative", gb, file, "-2", "-2", "-£2.00", "");
        addRow("three decimals", gb, file, "1.234", "1.234", "£1.23", "");
        addRow("letters as selling price", gb, selling, "abc", "", "abc", notAnAmount);
        addRow("badly grouped", gb, file, "1,23", "", "1,23", notAnAmount);
        addRow("de: comma decimal", de, file, "12,5", "12.5", "12,50\u00a0€", "");
        addRow("de: grouped", de, selling, "1.234,50", "1234.5", "1.234,50\u00a0€", "");
        addRow("de: display form", de, file, "1.234,50 €", "1234.5", "1.234,50\u00a0€", "");
        addRow("de: a point that can't group", de, selling, "12.5", "12.5", "12,50\u00a0€", "");
        addRow("de: thousands or decimals", de, file, "1.234", "", "1.234",
               "1234 (the point between thousands) or 1,234 (the point as the decimal mark)");
        addRow("de: trailing zeros or thousands", de, selling, "12.500", "", "12.500",
               "12500 (the point between thousands) or 12,5 (the point as the decimal mark)");
        addRow("de: negative, two readings", de, file, "-7.250", "", "-7.250", "-7250 (");
        addRow("de: badly grouped", de, file, "1.23,4", "", "1.23,4", notAnAmount);
        addRow("fr: comma decimal", fr, selling, "0,25", "0.25", "0,25\u00a0€", "");
        addRow("fr: spaced groups", fr, file, "1 234,5", "1234.5", "1\u202f234,50\u00a0€", "");
        addRow("fr: thousands or decimals", fr, file, "1.234", "", "1.234",
               "1234 (the point between thousands) or 1,234 (the point as the decimal mark)");
    }
    void priceTyped() {
        QFETCH(QString, locale);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QFETCH(QString, said);
        const QString caption = box == u"txtFilePrice"_s ? u"File Price"_s : u"Selling Price"_s;
        // The user's settings for amounts, as the desktop would give them, for this case only.
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(locale));
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        enter(app, u"CP10"_s, u"1|2|EA"_s);
        QStringList expected{u"CP100|STC100|1|2|EA"_s};
        if (!stored.isEmpty())
            expected << (box == u"txtFilePrice" ? u"CP200|NRC200|%1|0|"_s : u"CP200|NRC200|0|%1|"_s)
                            .arg(stored);
        for (const QString& part : {u"CP20"_s, u"CP10"_s}) { // without a record, then with one
            app.searchPart(part);
            app.type(box, text);
            app.click(u"cmdEnterFilePrice"_s);
            QTEST(app.control<QLineEdit>(box)->text(), "shown");
            if (!stored.isEmpty())
                break;
            const QString prompt = app.onlyPrompt();
            QVERIFY2(prompt.startsWith(caption + u" \"" + text + u'"') && prompt.contains(said),
                     qPrintable(prompt));
            QCOMPARE(app.dialogs.boxes().last().icon, Dialogs::Icon::Exclamation);
            QVERIFY(app.control(box)->hasFocus());
            app.dialogs.clearRecords();
        }
        QCOMPARE(app.dialogs.boxes().size(), 0);
        QCOMPARE(app.userRows(rows), expected);
    }
};

} // namespace

QUILLON_TEST_CLASS(PricesTest)
#include "test_prices.moc"
