#include "platform/image_box.h"

#include <QMouseEvent>

namespace quillon {

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
}

void ImageBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    showScaled();
}

void ImageBox::clearPicture() {
    picture_ = QPixmap();
    QLabel::clear();
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

void ImageBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showScaled();
}

} // namespace quillon
