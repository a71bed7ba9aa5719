// The results grid and Part Detail: the rows listed, the picture marker, the count, walking the
// rows, "No Parts Found!", Clear, the values shown and their "-" rules, and the thumbnails with
// what a click on one opens.
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "program_driver.h"
#include "store/database.h"
#include "test_registry.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;
using quillon::tests::Row;

namespace {

const QString header = u"DV No.|Rover No.|Description|Img."_s;
const QStringList fullShown =
    u"STC500|GR500|DV-ALT-000000000000042/B|Hub cap for the Defender 110 and 130, 1990 on, with "
    u"its seal|£12.50|£1,234.50|£0.25|B|SET|2|WWWWWWWWWWWW|Hubs|Wessex Axle and Gear Works of "
    u"Dorchester"_s.split(u'|');

// Six parts listed by "GR*0", the fifth with every value, the sixth with none shown.
void addCatalogue(const ProgramDriver& app) {
    app.addParts(
        {u"ID=3|DorvaneNum=GR100|RoverNum=STC100|Description=Hub seal"_s,
         u"ID=7|DorvaneNum=GR200|Description=Hub nut"_s,
         u"ID=9|DorvaneNum=GR300|RoverNum=NRC300|Description=Hub\tbearing|Picture1=bearing.jpg"_s,
         u"ID=12|DorvaneNum=GR400|RoverNum=ANR400|Description="_s,
         u"ID=30|DorvaneNum=GR500|AltDorvaneNum=DV-ALT-000000000000042/B|RoverNum=STC500|"
         u"RoverSuper2=OLD2|RoverSuper6=OLD6|Description=Hub cap for the Defender 110 and 130, "
         u"1990 on, with its seal|CustomerPrice=12.5|LRPrice=1234.5|CustomerLRPrice=0.25|"
         u"LRDiscountCode=B|UnitSale=SET|UnitIssue=2|Weight=WWWWWWWWWWWW|ProductGroup=Hubs|"
         u"Brand=Wessex Axle and Gear Works of Dorchester|Application1=Defender|"
         u"Application9=TD 5|Picture2=cap.jpg"_s,
         u"ID=40|DorvaneNum=GR600|AltDorvaneNum=|CustomerPrice=0|LRDiscountCode=0.00|UnitSale="_s});
}

const char* const valueFields[] = {
    "txtRoverNumber",   "txtDRNumber",  "txtAltDRNumber",     "txtDescription",
    "txtCustomerPrice", "txtLRPrice",   "txtCustomerLRPrice", "txtLRDiscountCode",
    "txtUnitSale",      "txtUnitIssue", "txtWeight",          "txtProductGroup",
    "txtBrand"};

QStringList detail(const ProgramDriver& app) {
    QStringList texts;
    for (const char* name : valueFields)
        texts << app.control<QLabel>(QLatin1String(name))->text();
    return texts;
}

QStringList entries(const ProgramDriver& app, const char* list) {
    QStringList texts;
    for (int i = 0; i < app.control<QListWidget>(QLatin1String(list))->count(); ++i)
        texts << app.control<QListWidget>(QLatin1String(list))->item(i)->text();
    return texts;
}

bool thumbnailShown(const ProgramDriver& app, int slot) {
    auto* image = app.control<ImageBox>(u"Image%1"_s.arg(slot));
    return image->isVisible() && image->hasPicture();
}

class ResultsTest : public QObject {
    Q_OBJECT

private slots:
    // The rows listed and walked, the part shown, then no match, Clear and a new catalogue.
    void listingAndWalkingTheRows() {
        ProgramDriver app;
        addCatalogue(app);
        app.writeIcons();
        app.writePicture(u"images/bearing.jpg"_s);
        app.writePicture(u"images/cap.jpg"_s);
        app.run();
        app.searchPart(u"GR*0"_s);

        QCOMPARE(
            ProgramDriver::gridRows(*app.grid()),
            QStringList(
                {header, u"GR100|STC100|Hub seal|"_s, u"GR200||Hub nut|"_s,
                 u"GR300|NRC300|Hub bearing|"_s, u"GR400|ANR400||"_s,
                 u"GR500|STC500|Hub cap for the Defender 110 and 130, 1990 on, with its seal|"_s,
                 u"GR600|||"_s}));
        // The marker stands on the row of a part with a first picture; a later one gives none.
        for (int row = 1; row <= 6; ++row)
            QCOMPARE(app.grid()->hasCellPicture(row, 3), row == 3);
        QCOMPARE(app.control<QLabel>(u"lblPartsFoundsNumber"_s)->text(), u"6"_s);
        QCOMPARE(app.status(), u"Hub seal"_s); // the first part is shown at once

        app.grid()->setFocus();
        ProgramDriver::key(Qt::Key_Down);
        QCOMPARE(app.status(), u"Hub nut"_s);
        // A part below one with a Rover number shows none, and keeps none of the other's.
        QCOMPARE(app.control<QLabel>(u"txtRoverNumber"_s)->text(), u"-"_s);
        QCOMPARE(app.state.selectedPart.roverNum, u""_s);
        app.clickCell(5, 2);
        QCOMPARE(detail(app), fullShown);
        // No value is cut short, however much longer than those before: once laid out, each
        // field is as wide as the label itself asks for its text.
        QTest::qWait(0);
        for (const char* name : valueFields) {
            const QLabel* field = app.control<QLabel>(QLatin1String(name));
            QVERIFY2(field->width() >= field->QLabel::sizeHint().width(), name);
        }
        QCOMPARE(entries(app, "lstRoverSupers"), QStringList({u"OLD2"_s, u"OLD6"_s}));
        QCOMPARE(entries(app, "lstVehicleApplication"), QStringList({u"Defender"_s, u"TD 5"_s}));
        QVERIFY(thumbnailShown(app, 2) && !thumbnailShown(app, 1));
        QCOMPARE(app.state.selectedPart.customerPrice, *Money::fromPlainText(u"12.5"));

        // Null, empty texts, a price of 0 and a discount code of 0 show "-"; nothing of the part
        // before is carried over, its thumbnail included.
        ProgramDriver::key(Qt::Key_Down);
        QStringList dashes(13, u"-"_s);
        dashes[1] = u"GR600"_s;
        QCOMPARE(detail(app), dashes);
        QVERIFY(entries(app, "lstRoverSupers").isEmpty());
        QVERIFY(!app.control<ImageBox>(u"Image2"_s)->isVisible());
        QCOMPARE(app.state.selectedPart.id, 40);
        QCOMPARE(app.dialogs.beeps(), 1);
        QVERIFY(app.dialogs.boxes().isEmpty());

        // No match: "No Parts Found!" in place of the rows, no count, no part to show.
        app.searchPart(u"QQQQ"_s);
        QCOMPARE(ProgramDriver::gridRows(*app.grid()),
                 QStringList({header, u"||No Parts Found!|"_s}));
        QCOMPARE(app.status(), u"No Parts Found!"_s);
        QVERIFY(!app.control<QLabel>(u"lblPartsFoundsNumber"_s)->isVisible());
        app.clickCell(1, 2); // no part: nothing shown
        QCOMPARE(app.control<QLabel>(u"txtDescription"_s)->text(), u""_s);
        QCOMPARE(app.state.selectedPart.id, 0);

        // Clear: the header alone, nothing shown, the status line as it was.
        app.searchPart(u"GR*0"_s);
        app.trigger(u"mnuClearItem"_s);
        QCOMPARE(ProgramDriver::gridRows(*app.grid()), QStringList{header});
        QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), u""_s);
        QVERIFY(!app.control(u"cmdClear"_s)->isEnabled());
        QCOMPARE(app.status(), u"Hub seal"_s);

        // A catalogue renamed over the file after a search: the parts walked are those of the
        // file the search read, and the next search reads the new one.
        app.searchPart(u"GR*0"_s);
        const QString copy = app.folder.file(u"new.mdb"_s);
        QVERIFY(QFile::copy(app.folder.catalogue(), copy));
        Database::open(copy, Database::Access::ReadWrite)
            ->execute(u"UPDATE Parts SET Description = 'Replaced'"_s);
        QVERIFY(QFile::remove(app.folder.catalogue()) &&
                QFile::rename(copy, app.folder.catalogue()));
        app.grid()->setFocus();
        ProgramDriver::key(Qt::Key_Down);
        QCOMPARE(app.control<QLabel>(u"txtDescription"_s)->text(), u"Hub nut"_s);
        app.searchPart(u"GR*0"_s);
        QCOMPARE(app.status(), u"Replaced"_s);
    }

    // A picture named in the part's second column: its thumbnail (slot 2 only), and what a click
    // on it opens. "file" is what stands where, relative to the folder.
    void pictures_data() {
        // file: "page:" prefix, a web page; "junk:", no picture. opens: "", "window", "browser"
        tests::addColumns<QString, QString, QString>("name", "file", "opens");
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
        name.replace(u"<abs>"_s, app.dir.path());
        app.addParts({{{u"ID"_s, 1}, {u"DorvaneNum"_s, u"PX100"_s}, {u"Picture2"_s, name}}});
        if (file.startsWith(u"page:"_s) || file.startsWith(u"junk:"_s))
            app.writeFile(file.mid(5), "<html></html>");
        else if (!file.isEmpty())
            app.writePicture(file, QSize(26, 20));
        app.run();
        app.searchPart(u"PX10"_s);

        QVERIFY(!app.grid()->hasCellPicture(1, 3));
        QVERIFY(!thumbnailShown(app, 1));
        QCOMPARE(thumbnailShown(app, 2), !opens.isEmpty());
        QVERIFY(app.dialogs.boxes().isEmpty());
        if (opens.isEmpty())
            return;
        // The 26 x 20 photograph fits the thumbnail (22 x 22 inside its frame) with its shape
        // kept; the picture window shows it whole.
        QCOMPARE(app.control<ImageBox>(u"Image2"_s)->picture().size(),
                 opens == u"window"_s ? QSize(22, 16) : ProgramDriver::htmlIconSize());
        QSize shown;
        app.dialogs.onWindow(u"frmImageView"_s, [&shown](QDialog& window) {
            shown = window.findChild<QLabel*>(u"Picture1"_s)->pixmap().size();
        });
        QTest::mouseClick(app.control(u"Image2"_s), Qt::LeftButton);
        QTest::mouseClick(app.control(u"Image2"_s), Qt::LeftButton);
        if (opens == u"window"_s) {
            QCOMPARE(shown, QSize(26, 20));
            QCOMPARE(app.dialogs.shownWindows(), QStringList(2, u"frmImageView"_s));
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
