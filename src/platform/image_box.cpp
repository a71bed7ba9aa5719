#include "platform/image_box.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace quillon {

namespace {

// Before the box has been given a size, a picture is read no larger than this.
constexpr int unsizedSide = 256;

// The picture in the file, decoded at most as large as area (aspect ratio kept); a null image
// when it can't be read. full: the picture's own size, invalid when the file doesn't say.
QImage readFitted(const QString& path, QSize area, QSize& full) {
    QImageReader reader(path);
    full = reader.size();
    if (full.isValid() && (full.width() > area.width() || full.height() > area.height())) {
        // The reader scales while it decodes: a JPEG is decoded at a fraction of its size and
        // never held whole.
        reader.setScaledSize(full.scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

} // namespace

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ImageBox::setPicture(const QPixmap& picture) {
    path_.clear();
    sourceSize_ = QSize();
    picture_ = picture;
    showScaled();
}

bool ImageBox::loadPicture(const QString& path) {
    QSize full;
    QImage image = readFitted(path, pictureArea(), full);
    if (image.isNull()) {
        clearPicture();
        return false;
    }
    path_ = path;
    sourceSize_ = full;
    picture_ = QPixmap::fromImage(std::move(image));
    showScaled();
    return true;
}

void ImageBox::clearPicture() {
    path_.clear();
    sourceSize_ = QSize();
    picture_ = QPixmap();
    QLabel::clear();
}

QSize ImageBox::pictureArea() const {
    const QSize area = contentsRect().size();
    return area.isEmpty() ? QSize(unsizedSide, unsizedSide) : area;
}

void ImageBox::showScaled() {
    if (picture_.isNull()) {
        QLabel::clear();
        return;
    }
    const QSize area = contentsRect().size();
    if (area.isEmpty())
        return;
    setPixmap(picture_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ImageBox::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (plain ? event->key() : Qt::Key_unknown) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        emit clicked();
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        event->accept();
        if (ImageBox* next =
                neighbour(event->key() == Qt::Key_Right || event->key() == Qt::Key_Down))
            next->setFocus(Qt::OtherFocusReason);
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

ImageBox* ImageBox::neighbour(bool right) const {
    ImageBox* found = nullptr;
    if (parentWidget() == nullptr)
        return found;
    for (ImageBox* box : parentWidget()->findChildren<ImageBox*>(Qt::FindDirectChildrenOnly)) {
        if (box == this || !box->isVisible() || !box->isEnabled() ||
            box->geometry().center().y() < geometry().top() ||
            box->geometry().center().y() > geometry().bottom())
            continue;
        const int x = box->x();
        if (right ? x <= this->x() : x >= this->x())
            continue;
        if (found == nullptr || (right ? x < found->x() : x > found->x()))
            found = box;
    }
    return found;
}

void ImageBox::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The focus mark: a frame in the highlight colour inside the box's own.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void ImageBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    // A box grown beyond the size its file was read at reads it again, at the new size (and
    // keeps what it has when the file can no longer be read).
    if (!path_.isEmpty() && !contentsRect().isEmpty()) {
        const QSize wanted =
            sourceSize_.scaled(contentsRect().size(), Qt::KeepAspectRatio).boundedTo(sourceSize_);
        if (wanted.width() > picture_.width() || wanted.height() > picture_.height()) {
            QSize full;
            QImage image = readFitted(path_, contentsRect().size(), full);
            if (!image.isNull())
                picture_ = QPixmap::fromImage(std::move(image));
        }
    }
    showScaled();
}

} // namespace quillon
