#include "catalogue/picture_window_geometry.h"
#include "test_registry.h"

#include <QList>
#include <QObject>
#include <QTest>

using quillon::PictureWindowGeometry;

namespace {

using Layout = PictureWindowGeometry::ScrollBarLayout;

class PictureWindowGeometryTest : public QObject {
    Q_OBJECT

private slots:
    // Sizes are (width, height) in twips; the picture is 2000 wide and 3000 high unless a row
    // says otherwise.
    void sizing_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("clamped");
        QTest::addColumn<bool>("vVisible");
        QTest::addColumn<bool>("hVisible");

        const QSize picture(2000, 3000);
        QTest::newRow("opening size")
            << picture << QSize(2365, 3755) << QSize(2365, 3755) << false << false;
        QTest::newRow("dragged larger snaps back")
            << picture << QSize(4000, 5000) << QSize(2365, 3755) << false << false;
        QTest::newRow("one twip higher only")
            << picture << QSize(2365, 3756) << QSize(2365, 3755) << false << false;
        QTest::newRow("1000 lower")
            << picture << QSize(2365, 2755) << QSize(2365, 2755) << true << false;
        QTest::newRow("one twip lower")
            << picture << QSize(2365, 3754) << QSize(2365, 3754) << true << false;
        QTest::newRow("one twip narrower")
            << picture << QSize(2364, 3755) << QSize(2364, 3755) << false << true;
        QTest::newRow("smaller both ways")
            << picture << QSize(1000, 1000) << QSize(1000, 1000) << true << true;
        QTest::newRow("wider, lower")
            << picture << QSize(9000, 2000) << QSize(2365, 2000) << true << false;
        QTest::newRow("empty picture")
            << QSize(0, 0) << QSize(500, 900) << QSize(365, 755) << false << false;
    }

    void sizing() {
        QFETCH(QSize, picture);
        QFETCH(QSize, outer);
        QFETCH(QSize, clamped);
        QFETCH(bool, vVisible);
        QFETCH(bool, hVisible);

        const PictureWindowGeometry geometry(picture);
        QCOMPARE(geometry.fittingOuterSize(), QSize(picture.width() + 365, picture.height() + 755));
        QCOMPARE(geometry.clampOuterSize(outer), clamped);
        QCOMPARE(geometry.vScrollVisible(clamped), vVisible);
        QCOMPARE(geometry.hScrollVisible(clamped), hVisible);
    }

    void placing_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<QRect>("vScroll");
        QTest::addColumn<QRect>("hScroll");
        QTest::addColumn<QRect>("fill");
        QTest::addColumn<int>("vMaximum");
        QTest::addColumn<int>("hMaximum");

        const QSize picture(2000, 3000);
        QTest::newRow("opening size")
            << picture << QSize(2365, 3755) << true << QRect(1990, 0, 255, 3005)
            << QRect(0, 2990, 2015, 255) << QRect(2015, 3005, 250, 250) << 0 << 0;
        QTest::newRow("1000 lower")
            << picture << QSize(2365, 2755) << true << QRect(1990, 0, 255, 2005)
            << QRect(0, 1990, 2015, 255) << QRect(2015, 2005, 250, 250) << 1000 << 0;
        QTest::newRow("smaller both ways")
            << picture << QSize(1365, 1755) << true << QRect(990, 0, 255, 1005)
            << QRect(0, 990, 1015, 255) << QRect(1015, 1005, 250, 250) << 2000 << 1000;
        QTest::newRow("height 750")
            << picture << QSize(2365, 750) << false << QRect() << QRect() << QRect() << 0 << 0;
        QTest::newRow("height 751")
            << picture << QSize(2365, 751) << true << QRect(1990, 0, 255, 1)
            << QRect(0, -14, 2015, 255) << QRect(2015, 1, 250, 250) << 3004 << 0;
        QTest::newRow("width 365")
            << picture << QSize(365, 3755) << false << QRect() << QRect() << QRect() << 0 << 0;
        QTest::newRow("width 366")
            << picture << QSize(366, 3755) << true << QRect(-9, 0, 255, 3005)
            << QRect(0, 2990, 16, 255) << QRect(16, 3005, 250, 250) << 0 << 1999;
        QTest::newRow("just under the cap")
            << QSize(2000, 34767) << QSize(2365, 2755) << true << QRect(1990, 0, 255, 2005)
            << QRect(0, 1990, 2015, 255) << QRect(2015, 2005, 250, 250) << 32767 << 0;
        QTest::newRow("beyond the cap")
            << QSize(40000, 60000) << QSize(2365, 2755) << true << QRect(1990, 0, 255, 2005)
            << QRect(0, 1990, 2015, 255) << QRect(2015, 2005, 250, 250) << 32767 << 32767;
    }

    void placing() {
        QFETCH(QSize, picture);
        QFETCH(QSize, outer);
        QFETCH(bool, placed);

        PictureWindowGeometry geometry(picture);
        const std::optional<Layout> layout = geometry.positionScrollBars(outer);
        QCOMPARE(layout.has_value(), placed);
        if (!layout)
            return;
        QTEST(layout->vScroll, "vScroll");
        QTEST(layout->hScroll, "hScroll");
        QTEST(layout->fill, "fill");
        QTEST(layout->vMaximum, "vMaximum");
        QTEST(layout->hMaximum, "hMaximum");
    }

    // Steps: "v<value>" and "h<value>" change a scroll bar, "click" clicks the background,
    // "size <w>x<h>" places the scroll bars for a new outer size. After each step the picture's
    // position and the remembered scroll values are checked.
    void scrolling_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<QPoint>>("positions");
        QTest::addColumn<QList<QPoint>>("lastValues"); // (h, v)

        const QSize picture(2000, 3000);
        QTest::newRow("down 400, back to 100")
            << picture << QSize(2365, 2755) << QStringList{"v400", "v100"}
            << QList<QPoint>{{0, -400}, {0, -100}} << QList<QPoint>{{0, 400}, {0, 100}};
        QTest::newRow("background click keeps the values")
            << picture << QSize(2365, 2755) << QStringList{"v400", "click", "v500", "v400"}
            << QList<QPoint>{{0, -400}, {0, 0}, {0, -100}, {0, 0}}
            << QList<QPoint>{{0, 400}, {0, 400}, {0, 500}, {0, 400}};
        QTest::newRow("both ways")
            << picture << QSize(1365, 1755) << QStringList{"h1000", "v2000", "h900", "click"}
            << QList<QPoint>{{-1000, 0}, {-1000, -2000}, {-900, -2000}, {0, 0}}
            << QList<QPoint>{{1000, 0}, {1000, 2000}, {900, 2000}, {900, 2000}};
        // 58000 twips hidden on a scroll bar capped at 32767: the end shows the far edge.
        QTest::newRow("capped range")
            << QSize(2000, 60000) << QSize(2365, 2755) << QStringList{"v100", "v32767", "v0"}
            << QList<QPoint>{{0, -177}, {0, -58000}, {0, 0}}
            << QList<QPoint>{{0, 100}, {0, 32767}, {0, 0}};
        // The range changes under a capped scroll bar: the next change puts the picture where the
        // new range says.
        QTest::newRow("capped range, window made larger")
            << QSize(2000, 60000) << QSize(2365, 2755)
            << QStringList{"v32767", "size 2365x12755", "v32767"}
            << QList<QPoint>{{0, -58000}, {0, -58000}, {0, -48000}}
            << QList<QPoint>{{0, 32767}, {0, 32767}, {0, 32767}};
        QTest::newRow("too small to place keeps the ranges")
            << picture << QSize(2365, 2755) << QStringList{"size 2365x700", "v1000"}
            << QList<QPoint>{{0, 0}, {0, -1000}} << QList<QPoint>{{0, 0}, {0, 1000}};
    }

    void scrolling() {
        QFETCH(QSize, picture);
        QFETCH(QSize, outer);
        QFETCH(QStringList, steps);
        QFETCH(QList<QPoint>, positions);
        QFETCH(QList<QPoint>, lastValues);
        QCOMPARE(positions.size(), steps.size());

        PictureWindowGeometry geometry(picture);
        geometry.load();
        QVERIFY(geometry.positionScrollBars(outer).has_value());
        QCOMPARE(geometry.picturePosition(), QPoint(0, 0));
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString& step = steps.at(i);
            if (step == "click") {
                geometry.backgroundClicked();
            } else if (step.startsWith("size ")) {
                const QStringList wh = step.mid(5).split('x');
                (void)geometry.positionScrollBars(QSize(wh.at(0).toInt(), wh.at(1).toInt()));
            } else if (step.startsWith('v')) {
                geometry.vScrollChanged(step.mid(1).toInt());
            } else {
                geometry.hScrollChanged(step.mid(1).toInt());
            }
            QCOMPARE(geometry.picturePosition(), positions.at(i));
            QCOMPARE(QPoint(geometry.lastHScrollValue(), geometry.lastVScrollValue()),
                     lastValues.at(i));
        }

        geometry.load();
        QCOMPARE(geometry.picturePosition(), QPoint(0, 0));
        QCOMPARE(geometry.lastVScrollValue(), 0);
        QCOMPARE(geometry.lastHScrollValue(), 0);
    }

    // Below the cap a value is exactly the twips moved; above it the scale reaches the far edge.
    void offsets_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("offset");
        QTest::newRow("uncapped") << 400 << 1000 << 1000 << 400;
        QTest::newRow("at the cap") << 32767 << 32767 << 32767 << 32767;
        QTest::newRow("capped, start") << 0 << 100000 << 32767 << 0;
        QTest::newRow("capped, end") << 32767 << 100000 << 32767 << 100000;
        QTest::newRow("capped, middle") << 16384 << 65534 << 32767 << 32768;
        QTest::newRow("largest picture") << 32767 << 491505 << 32767 << 491505;
    }

    void offsets() {
        QFETCH(int, value);
        QFETCH(int, range);
        QFETCH(int, maximum);
        QTEST(PictureWindowGeometry::offsetForValue(value, range, maximum), "offset");
    }

    void frame() {
        const QSize outer(2365, 3755);
        const QSize client = PictureWindowGeometry::clientFromOuter(outer);
        QCOMPARE(PictureWindowGeometry::outerFromClient(client), outer);
        // The client area of the fitting window holds the whole picture.
        QVERIFY(client.width() > 2000);
        QVERIFY(client.height() > 3000);
    }
};

} // namespace

QUILLON_TEST_CLASS(PictureWindowGeometryTest)

#include "test_picture_window_geometry.moc"
