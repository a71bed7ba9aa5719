#include "catalogue/picture_window.h"
#include "platform/twips.h"
#include "test_registry.h"

#include <QImage>
#include <QLabel>
#include <QObject>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using quillon::PictureWindow;
using quillon::Twips;

namespace {

class PictureWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // A photograph of the given size in pixels.
    QString writePicture(const QString& name, QSize pixels) {
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(0, 0), pixels / 2), Qt::yellow);
        painter.end();
        const QString path = dir_.filePath(name);
        if (!image.save(path, "jpeg"))
            qFatal("could not write %s", qPrintable(path));
        return path;
    }

    static QSize twipsOf(QSize pixels) {
        return {Twips::fromPixelsX(pixels.width()), Twips::fromPixelsY(pixels.height())};
    }

    template <typename T> static T* control(const PictureWindow& window, const char* name) {
        T* found = window.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    static QPoint picturePosition(const PictureWindow& window) {
        return control<QLabel>(window, "Picture1")->pos();
    }

    static QPoint pixelsOf(QPoint twips) {
        return {Twips::toPixelsX(twips.x()), Twips::toPixelsY(twips.y())};
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void opensFittingThePicture() {
        const QSize pixels(150, 200);
        const QString path = writePicture("fits.jpg", pixels);
        PictureWindow window(path);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QVERIFY(window.hasPicture());
        QVERIFY(window.loadError().isEmpty());
        QCOMPARE(window.objectName(), "frmImageView");
        QCOMPARE(window.windowTitle(), "Click image to close");

        const QSize picture = twipsOf(pixels);
        QCOMPARE(window.geometry().pictureSize(), picture);
        QCOMPARE(window.outerSize(), QSize(picture.width() + 365, picture.height() + 755));

        auto* picture1 = control<QLabel>(window, "Picture1");
        QCOMPARE(picture1->geometry(), QRect(QPoint(0, 0), pixels));
        QVERIFY(window.rect().contains(picture1->geometry()));
        QVERIFY(!control<QScrollBar>(window, "VScroll1")->isVisible());
        QVERIFY(!control<QScrollBar>(window, "HScroll1")->isVisible());
        QVERIFY(control<QWidget>(window, "picFill") != nullptr);

        // Dragged larger, it keeps the size the picture needs.
        window.resize(window.width() + 300, window.height() + 300);
        QCOMPARE(window.outerSize(), QSize(picture.width() + 365, picture.height() + 755));
        window.setOuterSize(QSize(picture.width() + 2000, picture.height() + 1755));
        QCOMPARE(window.outerSize(), QSize(picture.width() + 365, picture.height() + 755));
        QVERIFY(!control<QScrollBar>(window, "VScroll1")->isVisible());
        QVERIFY(!control<QScrollBar>(window, "HScroll1")->isVisible());
    }

    void scrollsWhenMadeSmaller() {
        const QSize pixels(150, 200);
        PictureWindow window(writePicture("scrolls.jpg", pixels));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize fitting = window.outerSize();
        auto* vScroll = control<QScrollBar>(window, "VScroll1");
        auto* hScroll = control<QScrollBar>(window, "HScroll1");

        window.setOuterSize(fitting - QSize(0, 1000));
        QCOMPARE(window.outerSize(), fitting - QSize(0, 1000));
        QVERIFY(vScroll->isVisible());
        QVERIFY(!hScroll->isVisible());
        QCOMPARE(vScroll->maximum(), 1000);
        QCOMPARE(vScroll->singleStep(), 100);
        QCOMPARE(vScroll->pageStep(), 1000);
        QVERIFY(window.rect().contains(vScroll->geometry()));

        vScroll->setValue(400);
        QCOMPARE(picturePosition(window), pixelsOf(QPoint(0, -400)));
        vScroll->setValue(100);
        QCOMPARE(picturePosition(window), pixelsOf(QPoint(0, -100)));

        // At the end of its range a strip of background shows below the picture; a click there
        // puts the picture back at the corner and leaves the scroll bar where it is.
        vScroll->setValue(1000);
        QCOMPARE(picturePosition(window), pixelsOf(QPoint(0, -1000)));
        const QPoint background(2, window.height() - 2);
        QCOMPARE(window.childAt(background), nullptr);
        QTest::mouseClick(&window, Qt::LeftButton, {}, background);
        QCOMPARE(picturePosition(window), pixelsOf(QPoint(0, 0)));
        QCOMPARE(vScroll->value(), 1000);
        QVERIFY(window.isVisible());
        vScroll->setValue(900);
        QCOMPARE(picturePosition(window), pixelsOf(QPoint(0, 100)));

        // Narrower as well: both bars, and the corner box is not background.
        window.setOuterSize(fitting - QSize(1000, 1000));
        QVERIFY(vScroll->isVisible());
        QVERIFY(hScroll->isVisible());
        QCOMPARE(hScroll->maximum(), 1000);
        hScroll->setValue(300);
        const QPoint before = picturePosition(window);
        QTest::mouseClick(control<QWidget>(window, "picFill"), Qt::LeftButton);
        QCOMPARE(picturePosition(window), before);
    }

    void tooSmallLeavesTheBarsWhereTheyWere() {
        PictureWindow window(writePicture("small.jpg", QSize(150, 200)));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize fitting = window.outerSize();
        auto* vScroll = control<QScrollBar>(window, "VScroll1");
        window.setOuterSize(QSize(fitting.width(), 1500));
        const QRect placed = vScroll->geometry();
        const int maximum = vScroll->maximum();
        window.setOuterSize(QSize(fitting.width(), 750));
        QCOMPARE(vScroll->geometry(), placed);
        QCOMPARE(vScroll->maximum(), maximum);
    }

    // Far taller than a scroll bar's 16-bit range: the end of the bar still shows the bottom.
    void tallPictureIsReachable() {
        const QSize pixels(40, 3000);
        PictureWindow window(writePicture("tall.jpg", pixels));
        const QSize picture = twipsOf(pixels);
        QVERIFY(picture.height() > 40000);
        window.setOuterSize(QSize(picture.width() + 365, 2755));
        auto* vScroll = control<QScrollBar>(window, "VScroll1");
        QCOMPARE(vScroll->maximum(), 32767);
        vScroll->setValue(vScroll->maximum());
        QCOMPARE(picturePosition(window).y(), Twips::toPixelsY(-(picture.height() - 2000)));
    }

    void pictureClickCloses() {
        PictureWindow window(writePicture("close.jpg", QSize(150, 200)));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy finished(&window, &QDialog::finished);
        QTest::mouseClick(control<QLabel>(window, "Picture1"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!window.isVisible());

        // Opened again, it starts at the corner with the scroll values at 0.
        PictureWindow again(window.picturePath());
        QCOMPARE(again.geometry().lastVScrollValue(), 0);
        QCOMPARE(again.geometry().lastHScrollValue(), 0);
        QCOMPARE(control<QScrollBar>(again, "VScroll1")->value(), 0);
        QCOMPARE(picturePosition(again), pixelsOf(QPoint(0, 0)));
    }

    void unreadablePictureIsReported_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // none: the file is missing
        QTest::newRow("missing") << "missing.jpg" << QByteArray();
        QTest::newRow("not a picture") << "broken.jpg" << QByteArray("not a picture at all");
    }

    void unreadablePictureIsReported() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString path = dir_.filePath(name);
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        PictureWindow window(path);
        QVERIFY(!window.hasPicture());
        QVERIFY2(window.loadError().contains(name), qPrintable(window.loadError()));
    }
};

} // namespace

QUILLON_TEST_CLASS(PictureWindowTest)

#include "test_picture_window.moc"
