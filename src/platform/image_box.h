#pragma once

#include <QLabel>
#include <QPixmap>

namespace quillon {

// A clickable image box: shows a picture fitted into its area (aspect ratio kept) and raises
// clicked() on a left click.
class ImageBox final : public QLabel {
    Q_OBJECT

public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    const QPixmap& picture() const { return picture_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showScaled();

    QPixmap picture_;
};

} // namespace quillon
