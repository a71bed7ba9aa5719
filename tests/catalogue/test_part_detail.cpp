// Part Detail: the thirteen fields and their "-" rules, the two lists, the values recorded for
// the other windows, and the nine picture thumbnails.
#include "catalogue_fixture.h"
#include "platform/image_box.h"
#include "session/program_state.h"
#include "test_registry.h"

#include <QDir>
#include <QTest>

using quillon::Money;
using quillon::tests::CatalogueFixture;
using quillon::tests::Part;

namespace {

Part fullPart() {
    return {{"ID", "1"},
            {"DorvaneNum", "PD100"},
            {"AltDorvaneNum", "ALT100"},
            {"RoverNum", "STC100"},
            {"RoverSuper2", "OLD2"},
            {"RoverSuper5", "OLD5"},
            {"RoverSuper6", "OLD6"},
            {"Description", "Front brake pad set"},
            {"CustomerPrice", "12.5"},
            {"LRPrice", "1234.5"},
            {"CustomerLRPrice", "0.25"},
            {"LRDiscountCode", "B"},
            {"UnitSale", "SET"},
            {"UnitIssue", "2"},
            {"Weight", "1.2kg"},
            {"ProductGroup", "Brakes"},
            {"Brand", "Genuine"},
            {"Application1", "Defender"},
            {"Application4", "Discovery"},
            {"Application9", "TD 5"}};
}

Part emptyPart() {
    return {{"ID", "2"},         {"DorvaneNum", "PD200"}, {"AltDorvaneNum", ""},
            {"RoverSuper1", ""}, {"CustomerPrice", "0"},  {"LRDiscountCode", "0"},
            {"UnitSale", ""}};
}

class PartDetailTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsAndLists() {
        CatalogueFixture app({fullPart(), emptyPart()});
        app.start();
        app.searchPart("PD10");
        QCOMPARE(
            app.detailFields(),
            QStringList({"STC100", "PD100", "ALT100", "Front brake pad set", "£12.50", "£1,234.50",
                         "£0.25", "B", "SET", "2", "1.2kg", "Brakes", "Genuine"}));
        QCOMPARE(app.listEntries("lstRoverSupers"), QStringList({"OLD2", "OLD5", "OLD6"}));
        QCOMPARE(app.listEntries("lstVehicleApplication"),
                 QStringList({"Defender", "Discovery", "TD 5"}));
        QCOMPARE(app.status(), "Front brake pad set");
        QCOMPARE(app.state.selectedRoverNum, "STC100");
        QCOMPARE(app.state.selectedDorvaneNum, "PD100");
        QCOMPARE(app.state.selectedDescription, "Front brake pad set");
        QCOMPARE(app.state.selectedUnitIssue, "2");
        QCOMPARE(app.state.selectedCustomerPrice, *Money::fromPlainText(u"12.5"));
        QCOMPARE(app.state.selectedLRPrice, *Money::fromPlainText(u"1234.5"));
    }

    void absentValuesAfterAFullPart() {
        CatalogueFixture app({fullPart(), emptyPart()});
        app.start();
        app.searchPart("PD*0");
        QCOMPARE(app.field("txtDRNumber"), "PD100");
        QTest::keyClick(app.grid(), Qt::Key_Down);

        // Null, empty texts, a price of 0 and the discount code 0 all show "-".
        QStringList dashes(13, "-");
        dashes[1] = "PD200";
        QCOMPARE(app.detailFields(), dashes);
        QVERIFY(app.listEntries("lstRoverSupers").isEmpty());
        QVERIFY(app.listEntries("lstVehicleApplication").isEmpty());
        // Nothing is carried over from the part shown before.
        QCOMPARE(app.state.selectedPartId, 2);
        QCOMPARE(app.state.selectedRoverNum, "");
        QCOMPARE(app.state.selectedDorvaneNum, "PD200");
        QCOMPARE(app.state.selectedDescription, "");
        QCOMPARE(app.state.selectedUnitIssue, "");
        QCOMPARE(app.state.selectedCustomerPrice, Money());
        QCOMPARE(app.state.selectedLRPrice, Money());
        QCOMPARE(app.status(), "");
    }

    void discountCode_data() {
        QTest::addColumn<QString>("code"); // "<null>": none stored
        QTest::addColumn<QString>("shown");
        const QString dash = "-";
        QTest::newRow("null") << "<null>" << dash;
        QTest::newRow("empty") << "" << dash;
        QTest::newRow("zero") << "0" << dash;
        QTest::newRow("zero with decimals") << "0.00" << dash;
        QTest::newRow("number") << "15" << QString("15");
        QTest::newRow("letter") << "A" << QString("A");
        QTest::newRow("starts with 0, no number") << "0X" << QString("0X");
    }
    void discountCode() {
        QFETCH(QString, code);
        QFETCH(QString, shown);
        Part part{{"ID", "5"}, {"DorvaneNum", "DC500"}};
        if (code != "<null>")
            part.insert("LRDiscountCode", code);
        CatalogueFixture app({part});
        app.start();
        app.searchPart("DC50");
        QCOMPARE(app.field("txtLRDiscountCode"), shown);
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void pictureSlots() {
        Part part{{"ID", "1"},
                  {"DorvaneNum", "PX100"},
                  {"Picture1", "front.jpg"},
                  {"Picture2", "fitting.html"},
                  {"Picture3", "sheet.htm"},
                  {"Picture4", "anim.gif"},
                  {"Picture5", "BACK.JPG"}};
        CatalogueFixture app({part});
        app.writePicture("images/front.jpg", QSize(40, 30));
        app.writePicture("images/anim.gif");
        app.writePicture("images/BACK.JPG");
        app.writeFile("images/fitting.html", "<html></html>");
        app.start();
        app.searchPart("PX10");

        QVERIFY(app.thumbnailShown(1));
        QCOMPARE(app.thumbnail(1)->picture().size(), QSize(40, 30));
        QVERIFY(app.thumbnailShown(2));
        QCOMPARE(app.thumbnail(2)->picture().size(), CatalogueFixture::htmlIconSize());
        // A page that doesn't exist still shows the icon: the browser reports it when opened.
        QVERIFY(app.thumbnailShown(3));
        QCOMPARE(app.thumbnail(3)->picture().size(), CatalogueFixture::htmlIconSize());
        QVERIFY(!app.thumbnail(4)->isVisible());
        QVERIFY(!app.thumbnail(5)->isVisible());
        for (int slot = 6; slot <= 9; ++slot)
            QVERIFY(!app.thumbnail(slot)->isVisible());
        QCOMPARE(app.state.pictureKinds[0], "jpg");
        QCOMPARE(app.state.pictureKinds[1], "tml");
        QCOMPARE(app.state.pictureKinds[2], "htm");
        QCOMPARE(app.state.pictureFiles[1], "fitting.html");
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void picturesThatCannotBeLoaded() {
        Part part{{"ID", "1"}, {"DorvaneNum", "PX100"}};
        for (int slot = 1; slot <= 9; ++slot)
            part.insert(QStringLiteral("Picture%1").arg(slot), QStringLiteral("p%1.jpg").arg(slot));
        CatalogueFixture app({part});
        for (int slot = 1; slot <= 9; ++slot) {
            if (slot == 2) // missing
                continue;
            if (slot == 5)
                app.writeFile("images/p5.jpg", "this is no picture");
            else
                app.writePicture(QStringLiteral("images/p%1.jpg").arg(slot));
        }
        app.start();
        app.searchPart("PX10");

        for (int slot = 1; slot <= 9; ++slot)
            QCOMPARE(app.thumbnailShown(slot), slot != 2 && slot != 5);
        QVERIFY(app.dialogs.boxes().isEmpty());
        // The display went on to its end.
        QVERIFY(app.button("cmdClear")->isEnabled());
    }

    void missingWebPageIcon() {
        Part part{{"ID", "1"},
                  {"DorvaneNum", "PX100"},
                  {"Picture1", "page.htm"},
                  {"Picture2", "front.jpg"}};
        CatalogueFixture app({part});
        app.writePicture("images/front.jpg");
        QVERIFY(QFile::remove(app.folder.htmlIcon()));
        app.start();
        app.searchPart("PX10");
        QVERIFY(!app.thumbnail(1)->isVisible());
        QVERIFY(app.thumbnailShown(2));
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void slotBelongsToItsColumn() {
        Part part{{"ID", "1"}, {"DorvaneNum", "PX100"}, {"Picture2", "side.jpg"}};
        CatalogueFixture app({part});
        app.writePicture("images/side.jpg");
        app.start();
        app.searchPart("PX10");
        QVERIFY(!app.thumbnail(1)->isVisible());
        QVERIFY(app.thumbnailShown(2));
        QVERIFY(!app.grid()->hasCellPicture(1, 3));
    }

    void picturesOfThePartBeforeAreGone() {
        Part first{
            {"ID", "1"}, {"DorvaneNum", "PX100"}, {"Picture1", "a.jpg"}, {"Picture3", "b.jpg"}};
        Part second{{"ID", "2"}, {"DorvaneNum", "PX200"}, {"Picture2", "c.jpg"}};
        CatalogueFixture app({first, second});
        for (const char* name : {"images/a.jpg", "images/b.jpg", "images/c.jpg"})
            app.writePicture(name);
        app.start();
        app.searchPart("PX*0");
        QVERIFY(app.thumbnailShown(1) && app.thumbnailShown(3));
        QTest::keyClick(app.grid(), Qt::Key_Down);
        QVERIFY(!app.thumbnail(1)->isVisible());
        QVERIFY(app.thumbnailShown(2));
        QVERIFY(!app.thumbnail(3)->isVisible());
        QCOMPARE(app.state.pictureFiles[0], "");
        QCOMPARE(app.state.pictureFiles[1], "c.jpg");
    }

    void namesLeavingTheImagesFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::newRow("inside") << "front.jpg" << true;
        QTest::newRow("in a folder below") << "sub/inner.jpg" << true;
        QTest::newRow("down and up again") << "sub/../front.jpg" << true;
        QTest::newRow("parent folder") << "../outside.jpg" << false;
        QTest::newRow("down and out") << "sub/../../outside.jpg" << false;
        QTest::newRow("absolute path") << "<abs>/outside.jpg" << false;
        QTest::newRow("page outside") << "../outside.html" << false;
    }
    void namesLeavingTheImagesFolder() {
        QFETCH(QString, name);
        QFETCH(bool, shown);
        CatalogueFixture app({});
        if (name.startsWith("<abs>"))
            name.replace("<abs>", app.dir.path());
        app.addParts({{{"ID", "1"}, {"DorvaneNum", "PX100"}, {"Picture1", name}}});
        app.writePicture("images/front.jpg");
        app.writePicture("images/sub/inner.jpg");
        app.writePicture("outside.jpg");
        app.writeFile("outside.html", "<html></html>");
        app.start();
        app.searchPart("PX10");
        QCOMPARE(app.thumbnailShown(1), shown);
        QVERIFY(app.dialogs.boxes().isEmpty());
    }
};

} // namespace

QUILLON_TEST_CLASS(PartDetailTest)
#include "test_part_detail.moc"
