// The picture window's size rules, in twips: how large it opens and may grow for its picture,
// when each scroll bar shows, where the bars and the corner box go, how far a scroll moves the
// picture (also past the scroll bar's 16-bit maximum), and the edges of each rule.
#include "catalogue/picture_window_geometry.h"
#include "test_registry.h"

using namespace quillon;
using namespace Qt::StringLiterals;

namespace {

QString text(QSize size) {
    return u"%1x%2"_s.arg(size.width()).arg(size.height());
}
QString text(const QRect& r) {
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class PictureGeometryTest : public QObject {
    Q_OBJECT

private slots:
    // A picture, an outer size, the scroll values the user sets one after the other ("v100" the
    // vertical bar to 100, "h5" the horizontal one, "c" a click on the background), and what
    // follows: the fitting and the clamped sizes, the bars shown, the layout (or "none"), the
    // maxima, and where the picture sits.
    void sizeRules_data() {
        tests::addColumns<QSize, QSize, QString, QString>("picture", "outer", "scrolls",
                                                          "expected");
        const auto row = [](const char* tag, QSize picture, QSize outer, const char* scrolls,
                            const char* expected) {
            tests::addRow(tag, picture, outer, QString::fromLatin1(scrolls),
                          QString::fromLatin1(expected));
        };
        const QSize picture(1000, 2000);
        row("fits exactly", picture, {1365, 2755}, "",
            "fit 1365x2755 clamp 1365x2755 bars -- V 990,0 255x2005 H 0,1990 1015x255 "
            "F 1015,2005 250x250 max 0/0 at 0,0");
        row("one twip too low", picture, {1365, 2754}, "v1",
            "fit 1365x2755 clamp 1365x2754 bars V- V 990,0 255x2004 H 0,1989 1015x255 "
            "F 1015,2004 250x250 max 1/0 at 0,-1");
        row("one twip too narrow", picture, {1364, 2755}, "h1",
            "fit 1365x2755 clamp 1364x2755 bars -H V 989,0 255x2005 H 0,1990 1014x255 "
            "F 1014,2005 250x250 max 0/1 at -1,0");
        row("larger than the picture", picture, {5000, 100}, "",
            "fit 1365x2755 clamp 1365x100 bars V- none");
        row("taller than the picture", picture, {100, 5000}, "",
            "fit 1365x2755 clamp 100x2755 bars -H none");
        row("smallest placed", picture, {366, 751}, "",
            "fit 1365x2755 clamp 366x751 bars VH V -9,0 255x1 H 0,-14 16x255 F 16,1 250x250 "
            "max 2004/999 at 0,0");
        row("width at its least", picture, {365, 751}, "",
            "fit 1365x2755 clamp 365x751 bars VH none");
        row("height at its least", picture, {366, 750}, "",
            "fit 1365x2755 clamp 366x750 bars VH none");
        row("the picture moves by the difference", picture, {800, 1500}, "v100 v40 h565",
            "fit 1365x2755 clamp 800x1500 bars VH V 425,0 255x750 H 0,735 450x255 F 450,750 "
            "250x250 max 1255/565 at -565,-40 last 40/565");
        row("a click puts it back, the values stay", picture, {800, 1500}, "v100 h5 c",
            "fit 1365x2755 clamp 800x1500 bars VH V 425,0 255x750 H 0,735 450x255 F 450,750 "
            "250x250 max 1255/565 at 0,0 last 100/5");
        const QSize tall(10, 100000);
        row("capped: one step", tall, {375, 1755}, "v1",
            "fit 375x100755 clamp 375x1755 bars V- V 0,0 255x1005 H 0,990 25x255 F 25,1005 "
            "250x250 max 32767/0 at 0,-3");
        row("capped: half way rounds to the nearest", tall, {375, 1755}, "v16384",
            "fit 375x100755 clamp 375x1755 bars V- V 0,0 255x1005 H 0,990 25x255 F 25,1005 "
            "250x250 max 32767/0 at 0,-49502");
        row("capped: the end shows the far edge", tall, {375, 1755}, "v16384 v32767",
            "fit 375x100755 clamp 375x1755 bars V- V 0,0 255x1005 H 0,990 25x255 F 25,1005 "
            "250x250 max 32767/0 at 0,-99000");
    }
    void sizeRules() {
        QFETCH(QSize, picture);
        QFETCH(QSize, outer);
        QFETCH(QString, scrolls);
        QFETCH(QString, expected);
        PictureWindowGeometry geometry(picture);
        QString said = u"fit "_s + text(geometry.fittingOuterSize()) + u" clamp "_s +
                       text(geometry.clampOuterSize(outer)) + u" bars "_s +
                       (geometry.vScrollVisible(outer) ? u'V' : u'-') +
                       (geometry.hScrollVisible(outer) ? u'H' : u'-');
        const auto layout = geometry.positionScrollBars(outer);
        if (!layout) {
            QCOMPARE(said + u" none"_s, expected);
            return;
        }
        said += u" V "_s + text(layout->vScroll) + u" H "_s + text(layout->hScroll) + u" F "_s +
                text(layout->fill) + u" max %1/%2"_s.arg(layout->vMaximum).arg(layout->hMaximum);
        geometry.load();
        for (const QString& step : scrolls.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"c")
                geometry.backgroundClicked();
            else if (step.startsWith(u'v'))
                geometry.vScrollChanged(step.mid(1).toInt());
            else
                geometry.hScrollChanged(step.mid(1).toInt());
        }
        const QPoint at = geometry.picturePosition();
        said += u" at %1,%2"_s.arg(at.x()).arg(at.y());
        if (expected.contains(u" last "))
            said +=
                u" last %1/%2"_s.arg(geometry.lastVScrollValue()).arg(geometry.lastHScrollValue());
        QCOMPARE(said, expected);
    }
};

QUILLON_TEST_CLASS(PictureGeometryTest)

#include "test_picture_geometry.moc"
