// The results grid and Part Detail: the rows listed, the picture marker, the count, walking the
// rows, "No Parts Found!", Clear, the values shown and their "-" rules, and the thumbnails with
// what a click on one opens.
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "program_driver.h"
#include "test_registry.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace quillon;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;
using quillon::tests::Row;

namespace {

const QString header = "DV No.|Rover No.|Description|Img.";
const QStringList fullShown{"STC500", "GR500", "ALT500", "Hub cap", "£12.50", "£1,234.50", "£0.25",
                            "B",      "SET",   "2",      "1.2kg",   "Hubs",   "Genuine"};

// Six parts listed by "GR*0", the fifth with every value, the sixth with none shown.
void addCatalogue(const ProgramDriver& app) {
    const auto row = &ProgramDriver::row;
    app.addParts(
        {row("ID=3|DorvaneNum=GR100|RoverNum=STC100|Description=Hub seal"),
         row("ID=7|DorvaneNum=GR200|Description=Hub nut"),
         row("ID=9|DorvaneNum=GR300|RoverNum=NRC300|Description=Hub\tbearing|Picture1=bearing.jpg"),
         row("ID=12|DorvaneNum=GR400|RoverNum=ANR400|Description="),
         row("ID=30|DorvaneNum=GR500|AltDorvaneNum=ALT500|RoverNum=STC500|RoverSuper2=OLD2|"
             "RoverSuper6=OLD6|Description=Hub cap|CustomerPrice=12.5|LRPrice=1234.5|"
             "CustomerLRPrice=0.25|LRDiscountCode=B|UnitSale=SET|UnitIssue=2|Weight=1.2kg|"
             "ProductGroup=Hubs|Brand=Genuine|Application1=Defender|Application9=TD 5|"
             "Picture2=cap.jpg"),
         row("ID=40|DorvaneNum=GR600|AltDorvaneNum=|CustomerPrice=0|LRDiscountCode=0.00|"
             "UnitSale=")});
}

QStringList detail(const ProgramDriver& app) {
    QStringList texts;
    for (const char* name :
         {"txtRoverNumber", "txtDRNumber", "txtAltDRNumber", "txtDescription", "txtCustomerPrice",
          "txtLRPrice", "txtCustomerLRPrice", "txtLRDiscountCode", "txtUnitSale", "txtUnitIssue",
          "txtWeight", "txtProductGroup", "txtBrand"})
        texts << app.control<QLabel>(name)->text();
    return texts;
}

QStringList entries(const ProgramDriver& app, const char* list) {
    QStringList texts;
    for (int i = 0; i < app.control<QListWidget>(list)->count(); ++i)
        texts << app.control<QListWidget>(list)->item(i)->text();
    return texts;
}

bool thumbnailShown(const ProgramDriver& app, int slot) {
    auto* image = app.control<ImageBox>(QStringLiteral("Image%1").arg(slot));
    return image->isVisible() && image->hasPicture();
}

class ResultsTest : public QObject {
    Q_OBJECT

private slots:
    void listingAndWalkingTheRows() {
        ProgramDriver app;
        addCatalogue(app);
        app.writeIcons();
        app.writePicture("images/bearing.jpg");
        app.writePicture("images/cap.jpg");
        app.run();
        app.searchPart("GR*0");

        QCOMPARE(ProgramDriver::gridRows(*app.grid()),
                 QStringList({header, "GR100|STC100|Hub seal|", "GR200||Hub nut|",
                              "GR300|NRC300|Hub bearing|", "GR400|ANR400||",
                              "GR500|STC500|Hub cap|", "GR600|||"}));
        // The marker stands on the row of a part with a first picture; a later one gives none.
        for (int row = 1; row <= 6; ++row)
            QCOMPARE(app.grid()->hasCellPicture(row, 3), row == 3);
        QCOMPARE(app.control<QLabel>("lblPartsFoundsNumber")->text(), "6");
        QCOMPARE(app.status(), "Hub seal"); // the first part is shown at once

        app.grid()->setFocus();
        ProgramDriver::key(Qt::Key_Down);
        QCOMPARE(app.status(), "Hub nut");
        // A part below one with a Rover number shows none, and keeps none of the other's.
        QCOMPARE(app.control<QLabel>("txtRoverNumber")->text(), "-");
        QCOMPARE(app.state.selectedRoverNum, "");
        app.clickCell(5, 2);
        QCOMPARE(detail(app), fullShown);
        QCOMPARE(entries(app, "lstRoverSupers"), QStringList({"OLD2", "OLD6"}));
        QCOMPARE(entries(app, "lstVehicleApplication"), QStringList({"Defender", "TD 5"}));
        QVERIFY(thumbnailShown(app, 2) && !thumbnailShown(app, 1));
        QCOMPARE(app.state.selectedCustomerPrice, *Money::fromPlainText(u"12.5"));

        // Null, empty texts, a price of 0 and a discount code of 0 show "-"; nothing of the part
        // before is carried over, its thumbnail included.
        ProgramDriver::key(Qt::Key_Down);
        QStringList dashes(13, "-");
        dashes[1] = "GR600";
        QCOMPARE(detail(app), dashes);
        QVERIFY(entries(app, "lstRoverSupers").isEmpty());
        QVERIFY(!app.control<ImageBox>("Image2")->isVisible());
        QCOMPARE(app.state.selectedPartId, 40);
        QCOMPARE(app.dialogs.beeps(), 1);
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    void noMatchAndClear() {
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        app.searchPart("GR*0");
        app.searchPart("QQQQ");
        QCOMPARE(ProgramDriver::gridRows(*app.grid()), QStringList({header, "||No Parts Found!|"}));
        QCOMPARE(app.status(), "No Parts Found!");
        QVERIFY(!app.control<QLabel>("lblPartsFoundsNumber")->isVisible());
        app.clickCell(1, 2); // no part: nothing shown
        QCOMPARE(app.control<QLabel>("txtDescription")->text(), "");
        QCOMPARE(app.state.selectedPartId, 0);

        // Clear: the header alone, nothing shown, the status line as it was.
        app.searchPart("GR*0");
        app.trigger("mnuClearItem");
        QCOMPARE(ProgramDriver::gridRows(*app.grid()), QStringList{header});
        QCOMPARE(app.control<QLabel>("txtDRNumber")->text(), "");
        QVERIFY(!app.control("cmdClear")->isEnabled());
        QCOMPARE(app.status(), "Hub seal");
    }

    // A picture named in the part's second column: its thumbnail (slot 2 only), and what a click
    // on it opens. "file" is what stands where, relative to the folder.
    void pictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");  // "page:" prefix: a web page; "junk:": no picture
        QTest::addColumn<QString>("opens"); // "": no thumbnail; "window", "browser"
        addRow("photograph", "front.jpg", "images/front.jpg", "window");
        addRow("page .html", "fitting.html", "page:images/fitting.html", "browser");
        addRow("page .htm not there", "sheet.htm", "", "browser");
        addRow("gif", "anim.gif", "images/anim.gif", "");
        addRow("capital JPG", "BACK.JPG", "images/BACK.JPG", "");
        addRow("no picture", "p.jpg", "junk:images/p.jpg", "");
        addRow("missing", "gone.jpg", "", "");
        addRow("in a folder below", "sub/in.jpg", "images/sub/in.jpg", "window");
        addRow("down and up again", "sub/../front.jpg", "images/front.jpg", "window");
        addRow("parent folder", "../out.jpg", "out.jpg", "");
        addRow("sibling folder", "../imagesX/a.jpg", "imagesX/a.jpg", "");
        addRow("down and out", "sub/../../out.jpg", "out.jpg", "");
        addRow("absolute path", "<abs>/out.jpg", "out.jpg", "");
        addRow("page outside", "../out.html", "page:out.html", "");
    }
    void pictures() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(QString, opens);
        ProgramDriver app;
        app.writeIcons();
        name.replace("<abs>", app.dir.path());
        app.addParts({{{"ID", 1}, {"DorvaneNum", "PX100"}, {"Picture2", name}}});
        if (file.startsWith("page:") || file.startsWith("junk:"))
            app.writeFile(file.mid(5), "<html></html>");
        else if (!file.isEmpty())
            app.writePicture(file, QSize(40, 30));
        app.run();
        app.searchPart("PX10");

        QVERIFY(!app.grid()->hasCellPicture(1, 3));
        QVERIFY(!thumbnailShown(app, 1));
        QCOMPARE(thumbnailShown(app, 2), !opens.isEmpty());
        QVERIFY(app.dialogs.boxes().isEmpty());
        if (opens.isEmpty())
            return;
        QCOMPARE(app.control<ImageBox>("Image2")->picture().size(),
                 opens == "window" ? QSize(40, 30) : ProgramDriver::htmlIconSize());
        QSize shown;
        app.dialogs.onWindow("frmImageView", [&shown](QDialog& window) {
            shown = window.findChild<QLabel*>("Picture1")->pixmap().size();
        });
        QTest::mouseClick(app.control("Image2"), Qt::LeftButton);
        QTest::mouseClick(app.control("Image2"), Qt::LeftButton);
        if (opens == "window") {
            QCOMPARE(shown, QSize(40, 30));
            QCOMPARE(app.dialogs.shownWindows(), QStringList(2, "frmImageView"));
            QVERIFY(app.browser.requests().isEmpty());
        } else { // each click a further browser window, without its bars
            QCOMPARE(app.browser.requests().size(), 2);
            QCOMPARE(app.browser.requests()[1].path, app.folder.image(name));
            QCOMPARE(app.browser.requests()[1].bars, Browser::Bars::Hidden);
            QVERIFY(app.dialogs.shownWindows().isEmpty());
        }
        QVERIFY(app.dialogs.boxes().isEmpty());
    }
};

} // namespace

QUILLON_TEST_CLASS(ResultsTest)
#include "test_results.moc"
