#include "catalogue/picture_window.h"

#include "platform/keyboard_access.h"
#include "platform/twips.h"
#include "store/shown_path.h"

#include <QDir>
#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <utility>

namespace quillon {

namespace {

// Whether a picture of that size and pixel format is more than the image reader may allocate
// for one picture (it then refuses to decode it).
bool overAllocationLimit(QSize size, QImage::Format format) {
    const int limitMegabytes = QImageReader::allocationLimit();
    if (!size.isValid() || limitMegabytes <= 0)
        return false;
    // A format the file doesn't tell is taken as the reader's usual 32 bits a pixel.
    const int depth =
        format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 bytes = qint64(size.width()) * size.height() * depth / 8;
    return bytes > (qint64(limitMegabytes) << 20);
}

} // namespace

PictureWindow::PictureWindow(const QString& picturePath, QWidget* parent)
    : QDialog(parent), picturePath_(picturePath) {
    setObjectName("frmImageView");
    setWindowTitle(QStringLiteral("Click image to close"));

    // Created first, so that the scroll bars and the corner box lie above it.
    picture1_ = new QLabel(this);
    picture1_->setObjectName("Picture1");
    picture1_->installEventFilter(this);

    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName("VScroll1");
    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName("HScroll1");
    for (QScrollBar* bar : {vScroll1_, hScroll1_}) {
        bar->setRange(0, 0);
        bar->setSingleStep(PictureWindowGeometry::kSmallChange);
        bar->setPageStep(PictureWindowGeometry::kLargeChange);
    }

    picFill_ = new QWidget(this);
    picFill_->setObjectName("picFill");
    picFill_->setAutoFillBackground(true);
    // A click on the corner box is not a click on the background.
    picFill_->setAttribute(Qt::WA_NoMousePropagation);
    vScroll1_->setAccessibleName(QStringLiteral("Scroll up and down"));
    hScroll1_->setAccessibleName(QStringLiteral("Scroll left and right"));
    picture1_->setAccessibleName(QStringLiteral("Picture"));
    KeyboardAccess::prepare(this);

    Form_Load();

    connect(vScroll1_, &QScrollBar::valueChanged, this, &PictureWindow::VScroll1_Change);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &PictureWindow::HScroll1_Change);
    // The first showing resizes the window as well; until then the window is already laid out.
    Form_Resize();
}

void PictureWindow::Form_Load() {
    QImageReader reader(picturePath_);
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    QImage image = reader.read();
    QSize pictureTwips(0, 0);
    if (image.isNull()) {
        const QString file = shownPath(picturePath_);
        loadError_ = overAllocationLimit(size, format)
                         ? QStringLiteral("The picture %1 is too large to show: %2 × %3 pixels.")
                               .arg(file)
                               .arg(size.width())
                               .arg(size.height())
                         : QStringLiteral("The picture %1 could not be read: %2")
                               .arg(file, reader.errorString());
        picture1_->resize(0, 0);
    } else {
        loaded_ = true;
        const QPixmap pixmap = QPixmap::fromImage(std::move(image));
        picture1_->setPixmap(pixmap);
        picture1_->resize(pixmap.size());
        pictureTwips = QSize(Twips::fromPixelsX(pixmap.width(), this),
                             Twips::fromPixelsY(pixmap.height(), this));
    }
    geometry_ = PictureWindowGeometry(pictureTwips);

    const QSize fitting = geometry_.fittingOuterSize();
    setMaximumSize(clientPixels(fitting));
    outer_ = fitting;
    resize(clientPixels(fitting));
    geometry_.load();
    movePicture();
    positionScrollBars(fitting);
}

QSize PictureWindow::outerSize() const {
    // Twips and pixels don't map one to one. A length given in twips stays exact as long as the
    // window still has the pixels it was given for it, and the pixels of the fitting size count
    // as the fitting size, so that rounding never shows a scroll bar on a window that fits.
    const QSize rememberedPixels = clientPixels(outer_);
    const QSize fitting = geometry_.fittingOuterSize();
    const QSize fittingPixels = clientPixels(fitting);
    const QSize measured = PictureWindowGeometry::outerFromClient(
        QSize(Twips::fromPixelsX(width(), this), Twips::fromPixelsY(height(), this)));
    const auto extent = [](int pixels, int remembered, int rememberedTwips, int fittingPixels,
                           int fittingTwips, int measuredTwips) {
        if (pixels == remembered)
            return rememberedTwips;
        if (pixels >= fittingPixels)
            return fittingTwips;
        return measuredTwips;
    };
    return {extent(width(), rememberedPixels.width(), outer_.width(), fittingPixels.width(),
                   fitting.width(), measured.width()),
            extent(height(), rememberedPixels.height(), outer_.height(), fittingPixels.height(),
                   fitting.height(), measured.height())};
}

void PictureWindow::setOuterSize(QSize outer) {
    outer_ = outer;
    resize(clientPixels(outer));
    Form_Resize();
}

void PictureWindow::Form_Resize() {
    QSize outer = outerSize();
    const QSize clamped = geometry_.clampOuterSize(outer);
    if (clamped != outer) {
        outer = clamped;
        outer_ = clamped;
        resize(clientPixels(clamped));
    } else {
        outer_ = outer;
    }
    showScrollBars(outer);
    positionScrollBars(outer);
}

void PictureWindow::showScrollBars(QSize outer) {
    hScroll1_->setVisible(geometry_.hScrollVisible(outer));
    vScroll1_->setVisible(geometry_.vScrollVisible(outer));
}

void PictureWindow::positionScrollBars(QSize outer) {
    const auto layout = geometry_.positionScrollBars(outer);
    if (!layout)
        return;
    vScroll1_->setGeometry(toPixels(layout->vScroll));
    hScroll1_->setGeometry(toPixels(layout->hScroll));
    picFill_->setGeometry(toPixels(layout->fill));
    // A smaller maximum brings a scroll value down with it, and the picture follows.
    vScroll1_->setMaximum(layout->vMaximum);
    hScroll1_->setMaximum(layout->hMaximum);
}

void PictureWindow::VScroll1_Change(int value) {
    geometry_.vScrollChanged(value);
    movePicture();
}

void PictureWindow::HScroll1_Change(int value) {
    geometry_.hScrollChanged(value);
    movePicture();
}

void PictureWindow::Picture1_Click() {
    accept();
}

void PictureWindow::Form_Click() {
    geometry_.backgroundClicked();
    movePicture();
}

void PictureWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void PictureWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Form_Click();
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

bool PictureWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture1_) {
        if (event->type() == QEvent::MouseButtonPress)
            return true; // the picture's own: not a click on the background
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                picture1_->rect().contains(mouse->position().toPoint()))
                Picture1_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PictureWindow::movePicture() {
    const QPoint position = geometry_.picturePosition();
    picture1_->move(Twips::toPixelsX(position.x(), this), Twips::toPixelsY(position.y(), this));
}

QRect PictureWindow::toPixels(const QRect& twips) const {
    return {Twips::toPixelsX(twips.x(), this), Twips::toPixelsY(twips.y(), this),
            Twips::toPixelsX(twips.width(), this), Twips::toPixelsY(twips.height(), this)};
}

QSize PictureWindow::clientPixels(QSize outer) const {
    const QSize client = PictureWindowGeometry::clientFromOuter(outer);
    return {Twips::toPixelsX(client.width(), this), Twips::toPixelsY(client.height(), this)};
}

} // namespace quillon
