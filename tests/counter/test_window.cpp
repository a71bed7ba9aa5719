// The main window's room and memory: the results list gets the height at every screen size with
// everything else in view, walking the rows moves no control, a heading click sorts the list,
// and the window comes back as the user left it (damaged or foreign settings passed over).
#include "platform/flex_grid.h"
#include "program_driver.h"
#include "test_files.h"
#include "test_registry.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;

namespace {

// Where every control of the window's central area is, by name.
QMap<QString, QRect> placesOfControls(const ProgramDriver& app) {
    QMap<QString, QRect> places;
    const QWidget* central = app.control(u"centralWidget"_s);
    for (const QWidget* widget : central->findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_"_s))
            places.insert(widget->objectName(),
                          QRect(widget->mapTo(central, QPoint()), widget->size()));
    }
    return places;
}

// The window laid out as on a screen of that size with nothing else on it.
void layOut(ProgramDriver& app, QSize size) {
    app.window->setWindowState(Qt::WindowNoState);
    app.window->resize(size);
    QTest::qWait(0);
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QTest::qWait(0);
}

// "x,y,w,h"
QString rectText(const QRect& rect) {
    return u"%1,%2,%3,%4"_s.arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    // With a part shown and no scrolling: the result rows in view, the Tools buttons and
    // Customer Retail whole, and the two lists no taller than the value rows beside them; then
    // walking the rows with the arrow keys moves no control, whatever each part's values are.
    // The window is the screen less a title bar and a panel (60 px); at 150 % (ctest
    // test_counter_at_150) 1280 x 800 is 853 x 533, and a narrower window down to 820 still
    // needs no horizontal scrolling.
    void room_data() {
        tests::addColumns<QSize, int>("window", "leastRows");
        addRow("1920x1080", QSize(1920, 1020), 30);
        addRow("1366x768", QSize(1366, 708), 15);
        addRow("1024x600", QSize(1024, 540), 10);
        addRow("1280x800 at 150 %", QSize(853, 473), 5);
        addRow("1280x800 at 150 %, narrower", QSize(820, 473), 5);
    }
    void room() {
        QFETCH(QSize, window);
        QFETCH(int, leastRows);
        ProgramDriver app;
        QStringList parts{
            u"ID=1|DorvaneNum=RM1|RoverNum=STC1|Description=Nut|Brand=AB|UnitSale=1|"
            u"Application1=Defender|Application2=TD 5|RoverSuper1=OLD1"_s,
            u"ID=2|DorvaneNum=RM2|AltDorvaneNum=ALT-2-B|Description=Gasket set - cylinder head - "
            u"2.5 NA|Brand=Hollinpryce|CustomerPrice=12345.67|UnitSale=SET|Weight=12.5 kg"_s,
            u"ID=3|DorvaneNum=RM3|RoverNum=Dorvane Only|Description=Hub|ProductGroup=Suspension"_s,
            u"ID=4|DorvaneNum=RM4|Description=Washer"_s};
        for (int id = 5; id <= 60; ++id)
            parts
                << (u"ID=%1|DorvaneNum=RM%1|RoverNum=STC%1|Description=Room part %1|Brand=Brand %1|"
                    u"Application1=Defender|Application2=TD 5|RoverSuper1=OLD%1"_s.arg(id));
        app.addParts(parts);
        app.run();
        app.searchPart(u"*RM*"_s);
        layOut(app, window);

        const auto* area = app.control<QScrollArea>(u"centralScrollArea"_s);
        QCOMPARE(area->verticalScrollBar()->maximum(), 0);
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
        const FlexGrid* grid = app.grid();
        const int rowsInView = grid->viewport()->height() / grid->rowHeight(0);
        QVERIFY2(rowsInView >= leastRows, qPrintable(u"%1 rows in view"_s.arg(rowsInView)));
        const QRect view = area->viewport()->rect();
        for (const char* name : {"cmdClear", "cmdOptions", "txtFilePrice", "txtUnit",
                                 "cmdRemoveFilePrice", "Image9", "txtBrand"}) {
            const QWidget* control = app.control(QLatin1String(name));
            const QRect place(control->mapTo(area->viewport(), QPoint()), control->size());
            QVERIFY2(view.contains(place), name);
        }
        const QMap<QString, QRect> places = placesOfControls(app);
        for (const char* list : {"lstRoverSupers", "lstVehicleApplication"}) {
            QVERIFY2(places[QLatin1String(list)].top() >= places[u"txtDRNumber"_s].top(), list);
            QVERIFY2(places[QLatin1String(list)].bottom() <= places[u"txtBrand"_s].bottom(), list);
        }
        app.grid()->setFocus();
        const QStringList shown = {u"RM2"_s, u"RM3"_s, u"RM4"_s, u"RM3"_s, u"RM2"_s, u"RM1"_s};
        for (int step = 0; step < shown.size(); ++step) {
            ProgramDriver::key(step < 3 ? Qt::Key_Down : Qt::Key_Up);
            QTest::qWait(0);
            QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), shown[step]);
            const QMap<QString, QRect> after = placesOfControls(app);
            for (auto it = places.cbegin(); it != places.cend(); ++it)
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        }
    }

    // Heading clicks: the rows' DV numbers in order afterwards, the grid row of the part shown
    // (GR10, the first listed, stays shown), and the part the Down key shows next.
    void sorting_data() {
        tests::addColumns<QList<int>, QStringList, int, QString>("clicks", "order", "shownRow",
                                                                 "next");
        const auto dv = [](const char* texts) { return QString::fromLatin1(texts).split(u','); };
        addRow("DV No.", QList<int>{0}, dv("GR1,GR2,gr3,GR10,GR010"), 4, u"GR010"_s);
        addRow("DV No. again", QList<int>{0, 0}, dv("GR10,GR010,gr3,GR2,GR1"), 1, u"GR010"_s);
        addRow("DV No. three times", QList<int>{0, 0, 0}, dv("GR1,GR2,gr3,GR10,GR010"), 4,
               u"GR010"_s);
        addRow("Rover No.", QList<int>{1}, dv("GR2,GR010,GR1,GR10,gr3"), 4, u"gr3"_s);
        addRow("Description", QList<int>{2}, dv("GR2,gr3,GR010,GR1,GR10"), 5, u"GR1"_s);
        addRow("Img.", QList<int>{3}, dv("GR2,GR1,GR010,GR10,gr3"), 4, u"gr3"_s);
        // Equal numbers (10 and 010) stay in the order the rows had before the click.
        addRow("Description, then DV No.", QList<int>{2, 0}, dv("GR1,GR2,gr3,GR010,GR10"), 5,
               u"GR010"_s);
    }
    void sorting() {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, order);
        QFETCH(int, shownRow);
        QFETCH(QString, next);
        ProgramDriver app;
        app.writeIcons();
        app.addParts({u"ID=1|DorvaneNum=GR10|RoverNum=STC2|Description=Hub nut|Picture1=a.jpg"_s,
                      u"ID=2|DorvaneNum=GR2|Description=axle"_s,
                      u"ID=3|DorvaneNum=gr3|RoverNum=STC10|Description=Brake|Picture1=b.jpg"_s,
                      u"ID=4|DorvaneNum=GR1|RoverNum=STC1|Description=Hub cap"_s,
                      u"ID=5|DorvaneNum=GR010|RoverNum=NRC5|Description=hub Bolt"_s});
        app.run();
        app.searchPart(u"*GR*"_s);
        const QStringList listed = {u"GR10"_s, u"GR2"_s, u"gr3"_s, u"GR1"_s, u"GR010"_s};
        QCOMPARE(app.gridColumn(0), listed);
        for (int column : clicks)
            app.clickHeading(column);

        QCOMPARE(app.gridColumn(0), order);
        QCOMPARE(app.grid()->row(), shownRow);
        QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), u"GR10"_s);
        QCOMPARE(app.state.selectedPart.id, 1);
        const QHeaderView* header = app.grid()->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), clicks.last());
        app.grid()->setFocus();
        ProgramDriver::key(shownRow == 5 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), next);
        QCOMPARE(app.grid()->textMatrix(app.grid()->row(), 0), next);

        // The next search lists in its statement's order again, without the mark.
        app.searchPart(u"*GR*"_s);
        QCOMPARE(app.gridColumn(0), listed);
        QVERIFY(!header->isSortIndicatorShown());
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // The settings file as a run finds it, and the window it starts with: "x,y,w,h" of its
    // normal geometry, with " maximised" when it is.
    void remembered_data() {
        tests::addColumns<QByteArray, QString>("file", "window");
        const QByteArray ours = "[General]\nprogram=dorvane-quillon\n[window]\n";
        addRow("as left", ours + "geometry=\"20,30,700,500\"\nmaximised=false\n",
               u"20,30,700,500"_s);
        addRow("maximised", ours + "geometry=\"20,30,700,500\"\nmaximised=true\n",
               u"20,30,700,500 maximised"_s);
        addRow("off the screen", ours + "geometry=\"5000,4000,700,500\"\n", u"100,300,700,500"_s);
        // (The window's frame is put on the screen too: its inside starts 2 pixels in.)
        addRow("above and left", ours + "geometry=\"-900,-800,700,500\"\n", u"2,2,700,500"_s);
        addRow("larger than the screen", ours + "geometry=\"0,0,3000,2000\"\n", u"2,2,784,760"_s);
        addRow("first start", QByteArray(), u"maximised"_s);
        addRow("damaged", QByteArray("\x01\x02[[[\n=\xff\xfe\n", 10), u"maximised"_s);
        addRow("foreign",
               QByteArray("[General]\nprogram=another\n[window]\ngeometry=\"20,30,700,500\"\n"),
               u"maximised"_s);
        addRow("not numbers", ours + "geometry=\"a,b,c,d\"\n", u"maximised"_s);
        addRow("too few numbers", ours + "geometry=\"20,30\"\n", u"maximised"_s);
        addRow("too small", ours + "geometry=\"20,30,50,40\"\n", u"maximised"_s);
    }
    void remembered() {
        QFETCH(QByteArray, file);
        QFETCH(QString, window);
        ProgramDriver app;
        if (!file.isNull())
            tests::writeFile(app.settingsFile(), file);
        // The screen is 800 x 800: smaller than the window likes.
        app.run();
        const bool maximised = app.window->isMaximized();
        const QString shown =
            window.contains(u',')
                ? rectText(app.window->normalGeometry()) + (maximised ? u" maximised"_s : u""_s)
                : (maximised ? u"maximised"_s : rectText(app.window->geometry()));
        QCOMPARE(shown, window);
    }

    // Closed and started again: the size, the place, the split and the column widths as left.
    void restartKeepsTheLayout() {
        ProgramDriver app;
        app.addParts(QStringList{u"ID=1|DorvaneNum=RS100|Description=Spring"_s});
        app.run();
        app.window->setWindowState(Qt::WindowNoState);
        app.window->setGeometry(12, 24, 760, 540);
        QTest::qWait(0);
        auto* splitter = app.control<QSplitter>(u"resultsSplitter"_s);
        const QList<int> sizes = splitter->sizes();
        splitter->setSizes({sizes[0] - 40, sizes[1] + 40});
        app.grid()->setColWidthTwips(0, 1500);
        app.grid()->setColWidthTwips(3, 900);
        const QList<int> split = splitter->sizes();
        app.window->close();
        QVERIFY(QFile::exists(app.settingsFile()));

        app.restart();
        QTest::qWait(0);
        QCOMPARE(rectText(app.window->geometry()), u"12,24,760,540"_s);
        QVERIFY(!app.window->isMaximized());
        QCOMPARE(app.control<QSplitter>(u"resultsSplitter"_s)->sizes(), split);
        QCOMPARE(app.grid()->colLeastTwips(0), 1500);
        QCOMPARE(app.grid()->colLeastTwips(1), 1200);
        QCOMPARE(app.grid()->colLeastTwips(3), 900);
        app.searchPart(u"RS10"_s);
        QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), u"RS100"_s);
    }
};

} // namespace

QUILLON_TEST_CLASS(WindowTest)
#include "test_window.moc"
