#include "asset_maker.h"

#include "store/shown_path.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>

namespace quillon {

namespace {

void fail(const QString& path) {
    throw std::runtime_error("cannot write " + shownPath(path).toStdString());
}

} // namespace

QByteArray AssetMaker::blackPixelGif() {
    // GIF89a, 1 x 1, a global colour table of black and white, no transparency; the image data
    // is the LZW codes clear, 0, end (minimum code size 2).
    static const unsigned char bytes[] = {
        'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, // header
        0x00, 0x00, 0x00, 0xff, 0xff, 0xff,                                           // colours
        0x2c, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, // image descriptor
        0x02, 0x02, 0x44, 0x01, 0x00,                               // image data
        0x3b};                                                      // trailer
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

QImage AssetMaker::cameraMarker() {
    QImage image(16, 14, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QColor body(52, 56, 64);
    p.fillRect(QRect(5, 2, 6, 2), body);                  // viewfinder hump
    p.fillRect(QRect(1, 4, 14, 9), body);                 // body
    p.fillRect(QRect(11, 5, 2, 1), QColor(250, 210, 60)); // flash
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 214, 220));
    p.drawEllipse(QPointF(8, 8.5), 3.6, 3.6); // lens ring
    p.setBrush(QColor(30, 70, 140));
    p.drawEllipse(QPointF(8, 8.5), 2.1, 2.1); // glass
    p.end();
    return image;
}

QImage AssetMaker::webPageIcon() {
    constexpr int size = 96;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The sheet with its folded corner.
    QPainterPath sheet;
    sheet.moveTo(14, 6);
    sheet.lineTo(64, 6);
    sheet.lineTo(82, 24);
    sheet.lineTo(82, 90);
    sheet.lineTo(14, 90);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(70, 80, 96), 2));
    p.setBrush(QColor(248, 250, 252));
    p.drawPath(sheet);
    p.setBrush(QColor(210, 218, 228));
    p.drawPolygon(QPolygonF({QPointF(64, 6), QPointF(64, 24), QPointF(82, 24)}));
    // A title band and lines of text.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 66, 44));
    p.drawRect(QRectF(20, 28, 56, 10));
    p.setBrush(QColor(150, 160, 172));
    for (int y = 44; y <= 60; y += 8)
        p.drawRect(QRectF(20, y, 56, 3));
    // The globe of the web.
    const QPointF centre(66, 76);
    p.setPen(QPen(QColor(20, 90, 170), 2));
    p.setBrush(QColor(120, 180, 235));
    p.drawEllipse(centre, 11, 11);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 5, 11);
    p.drawLine(centre - QPointF(11, 0), centre + QPointF(11, 0));
    p.drawLine(centre - QPointF(0, 11), centre + QPointF(0, 11));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(22, 66, 44));
    p.drawText(QRectF(18, 66, 34, 20), Qt::AlignCenter, QStringLiteral("www"));
    p.end();
    return image;
}

void AssetMaker::writeAll(const QString& folder) {
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("images")))
        fail(dir.absoluteFilePath(QStringLiteral("images")));

    const QString gifPath = dir.absoluteFilePath(QStringLiteral("1pixel-black.gif"));
    QFile gif(gifPath);
    const QByteArray gifBytes = blackPixelGif();
    if (!gif.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        gif.write(gifBytes) != gifBytes.size())
        fail(gifPath);
    gif.close();

    const QString bmpPath = dir.absoluteFilePath(QStringLiteral("image-icon.bmp"));
    if (!cameraMarker().save(bmpPath, "BMP"))
        fail(bmpPath);
    const QString iconPath = dir.absoluteFilePath(QStringLiteral("images/htmlIcon.jpg"));
    if (!webPageIcon().save(iconPath, "JPG", 90))
        fail(iconPath);
}

} // namespace quillon
