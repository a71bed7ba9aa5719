// The customer's own prices: showing a part's record, Enter/Update and Remove by the part key,
// and the refusal of a price box that holds no amount.
#include "catalogue_fixture.h"
#include "prices/custom_price_editor.h"
#include "session/program_state.h"
#include "test_registry.h"

#include <QLineEdit>
#include <QTest>

using quillon::CustomPriceEditor;
using quillon::Dialogs;
using quillon::tests::CatalogueFixture;
using quillon::tests::Part;

namespace {

QList<Part> priceCatalogue() {
    return {
        {{"ID", "1"}, {"DorvaneNum", "CP100"}, {"RoverNum", "STC100"}, {"Description", "Pad"}},
        {{"ID", "2"}, {"DorvaneNum", "CP200"}, {"RoverNum", "NRC200"}, {"Description", "Disc"}},
        {{"ID", "3"},
         {"DorvaneNum", "CP300"},
         {"RoverNum", "Dorvane Only"},
         {"Description", "Own part A"}},
        {{"ID", "4"},
         {"DorvaneNum", "CP400"},
         {"RoverNum", "Dorvane Only"},
         {"Description", "Own part B"}},
        {{"ID", "5"},
         {"DorvaneNum", "CP500"},
         {"RoverNum", "STC100"},
         {"Description", "Pad, other supplier"}},
    };
}

struct Boxes {
    QString filePrice;
    QString sellingPrice;
    QString unit;
    bool operator==(const Boxes&) const = default;
};

Boxes boxes(const CatalogueFixture& app) {
    return {app.box("txtFilePrice")->text(), app.box("txtSellingPrice")->text(),
            app.box("txtUnit")->text()};
}

char* toString(const Boxes& b) {
    return QTest::toString(
        QStringLiteral("[%1 | %2 | %3]").arg(b.filePrice, b.sellingPrice, b.unit));
}

void fill(CatalogueFixture& app, const Boxes& values) {
    app.type("txtFilePrice", values.filePrice);
    app.type("txtSellingPrice", values.sellingPrice);
    app.type("txtUnit", values.unit);
}

class CustomPricesTest : public QObject {
    Q_OBJECT

private slots:
    void updateInsteadOfDuplicate() {
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP10");
        fill(app, {"12.5", "20", "BOX"});
        app.click("cmdEnterFilePrice");
        QCOMPARE(boxes(app), (Boxes{"£12.50", "£20.00", "BOX"}));

        // The boxes' own display form is taken as it shows.
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.status(), "Custom price updated");
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|12.5|20|BOX"});

        app.type("txtSellingPrice", "£1,234.50");
        app.type("txtUnit", "PAIR");
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.status(), "Custom price updated");
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|12.5|1234.5|PAIR"});
        QCOMPARE(boxes(app), (Boxes{"£12.50", "£1,234.50", "PAIR"}));
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void recordShownWithThePart() {
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP*0");
        fill(app, {"7", "", "EACH"});
        app.click("cmdEnterFilePrice");

        QTest::keyClick(app.grid(), Qt::Key_Down);
        QCOMPARE(boxes(app), Boxes{});
        // What was typed for a part without a record goes when another part is shown.
        app.type("txtUnit", "typed");
        QTest::keyClick(app.grid(), Qt::Key_Up);
        QCOMPARE(boxes(app), (Boxes{"£7.00", "£0.00", "EACH"}));
    }

    // Remove deletes the record of the part shown, or none when it has none, and empties the
    // boxes either way.
    void remove_data() {
        QTest::addColumn<bool>("ownRecord");
        QTest::newRow("the part's record") << true;
        QTest::newRow("a part without a record") << false;
    }

    void remove() {
        QFETCH(bool, ownRecord);
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP*0");
        fill(app, {"5", "", ""});
        app.click("cmdEnterFilePrice"); // the record of CP100
        if (!ownRecord) {
            QTest::keyClick(app.grid(), Qt::Key_Down);
            app.type("txtUnit", "x");
        }

        app.click("cmdRemoveFilePrice");
        QCOMPARE(app.status(), "Custom price removed");
        QCOMPARE(boxes(app), Boxes{});
        QCOMPARE(app.customParts(), ownRecord ? QStringList{} : QStringList{"CP100|STC100|5|0|"});
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void emptyBoxesOrNoPartDoNothing() {
        CatalogueFixture app(priceCatalogue());
        app.start();
        // No part shown: nothing, whatever the boxes hold.
        fill(app, {"5", "6", "BOX"});
        app.click("cmdEnterFilePrice");
        app.click("cmdRemoveFilePrice");
        QVERIFY(app.customParts().isEmpty());
        QCOMPARE(app.status(), quillon::MainWindow::startStatusText());

        app.searchPart("CP10");
        fill(app, {"5", "", ""});
        app.click("cmdEnterFilePrice");
        fill(app, {"", "", ""});
        app.click("cmdEnterFilePrice");
        app.click("cmdRemoveFilePrice");
        QCOMPARE(app.status(), "Custom price stored");
        // After Clear no part is shown, though one was: nothing again.
        app.click("cmdClear");
        for (const char* button : {"cmdRemoveFilePrice", "cmdEnterFilePrice"}) {
            fill(app, {"7", "8", "BOX"});
            app.click(button);
        }
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|5|0|"});
        QCOMPARE(app.status(), "Custom price stored");
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void dorvaneOnlyPartsKeptApart() {
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP30");
        fill(app, {"3", "", ""});
        app.click("cmdEnterFilePrice");
        app.searchPart("CP40");
        QCOMPARE(boxes(app), Boxes{});
        fill(app, {"4", "", ""});
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.status(), "Custom price stored");
        QStringList rows = app.customParts();
        rows.sort();
        QCOMPARE(rows, QStringList({"CP300|Dorvane Only|3|0|", "CP400|Dorvane Only|4|0|"}));

        app.searchPart("CP30");
        fill(app, {"30", "", ""});
        app.click("cmdEnterFilePrice");
        app.searchPart("CP40");
        QCOMPARE(boxes(app), (Boxes{"£4.00", "£0.00", ""}));
        app.click("cmdRemoveFilePrice");
        rows = app.customParts();
        rows.sort();
        QCOMPARE(rows, QStringList{"CP300|Dorvane Only|30|0|"});
    }

    void oneRoverNumberOneRecord() {
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP10");
        fill(app, {"10", "11", "SET"});
        app.click("cmdEnterFilePrice");

        app.searchPart("CP50");
        QCOMPARE(boxes(app), (Boxes{"£10.00", "£11.00", "SET"}));
        app.type("txtFilePrice", "9.99");
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.status(), "Custom price updated");
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|9.99|11|SET"});
    }

    void notAnAmountIsRefused_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        const QString file = "txtFilePrice", selling = "txtSellingPrice";
        QTest::newRow("letters as file price") << file << QString("abc");
        QTest::newRow("letters as selling price") << selling << QString("abc");
        QTest::newRow("amount and more") << file << QString("£12.50abc");
        QTest::newRow("two points") << selling << QString("1.2.3");
        QTest::newRow("badly grouped") << file << QString("1,23");
        QTest::newRow("quote") << file << QString("12'5");
        QTest::newRow("too large") << file << QString("99999999999999999999");
    }
    void notAnAmountIsRefused() {
        QFETCH(QString, boxName);
        QFETCH(QString, text);
        const QString caption = boxName == "txtFilePrice" ? "File Price:" : "Selling Price:";
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP*0");
        fill(app, {"1", "2", "EA"});
        app.click("cmdEnterFilePrice"); // CP100's record
        QTest::keyClick(app.grid(), Qt::Key_Down);
        QCOMPARE(app.field("txtDRNumber"), "CP200");

        // A part without a record: nothing inserted; the other box stays empty, not "0".
        app.type(boxName, text);
        app.type("txtUnit", "EA");
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.dialogs.boxes().size(), 1);
        const auto& box = app.dialogs.boxes().first();
        QCOMPARE(box.prompt, CustomPriceEditor::notAnAmountPrompt(caption, text));
        QVERIFY(box.prompt.startsWith(caption.chopped(1) + " \"" + text + "\""));
        QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|1|2|EA"});
        QCOMPARE(app.box(boxName)->text(), text);
        QVERIFY(app.box(boxName)->hasFocus());
        const QString other = boxName == "txtFilePrice" ? "txtSellingPrice" : "txtFilePrice";
        QCOMPARE(app.box(other)->text(), "");
        QCOMPARE(app.status(), "Disc");

        // A part with a record: it stays as it was.
        QTest::keyClick(app.grid(), Qt::Key_Up);
        app.type(boxName, text);
        app.click("cmdEnterFilePrice");
        QCOMPARE(app.dialogs.boxes().size(), 2);
        QCOMPARE(app.customParts(), QStringList{"CP100|STC100|1|2|EA"});
        QCOMPARE(app.status(), "Pad");
    }

    void amountsWrittenAsPlainDecimals_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* typed, const char* stored,
                            const char* shown) {
            QTest::newRow(name) << QString(typed) << QString(stored) << QString(shown);
        };
        row("plain", "12.5", "12.5", "£12.50");
        row("whole", "7", "7", "£7.00");
        row("display form", "£1,234.50", "1234.5", "£1,234.50");
        row("blanks around", " 3.25 ", "3.25", "£3.25");
        row("negative", "-2", "-2", "-£2.00");
        row("leading point", ".25", "0.25", "£0.25");
    }

    void amountsWrittenAsPlainDecimals() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        CatalogueFixture app(priceCatalogue());
        app.start();
        app.searchPart("CP20");
        app.type("txtSellingPrice", typed);
        app.click("cmdEnterFilePrice");
        QVERIFY(app.dialogs.boxes().isEmpty());
        QCOMPARE(app.customParts(), QStringList{"CP200|NRC200|0|" + stored + "|"});
        QCOMPARE(app.box("txtSellingPrice")->text(), shown);
    }
};

} // namespace

QUILLON_TEST_CLASS(CustomPricesTest)
#include "test_custom_prices.moc"
