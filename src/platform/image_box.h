#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace quillon {

// A clickable image box: shows a picture fitted into its area (aspect ratio kept) and raises
// clicked() on a left click, or on Enter or Space while it has the focus. It takes the focus by
// Tab or by a click; the arrow keys move the focus to the box beside it among the boxes shown
// in the same row.
class ImageBox final : public QLabel {
    Q_OBJECT

public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // Reads a picture file for this box, decoded no larger than the box shows it (aspect ratio
    // kept; a picture smaller than the box is read as it is), so that a large photograph costs no
    // more time and memory than its thumbnail. False, and the box emptied, when the file can't
    // be read as a picture.
    bool loadPicture(const QString& path);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    // The picture as the box holds it: a file read by loadPicture() at the size it is shown at.
    const QPixmap& picture() const { return picture_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showScaled();
    // The box shown beside this one in its row, to the left or to the right; null at the end.
    [[nodiscard]] ImageBox* neighbour(bool right) const;
    // The area the picture is fitted into: the box's contents, once the box has a size.
    [[nodiscard]] QSize pictureArea() const;

    QPixmap picture_;
    QString path_;     // the file read by loadPicture(); empty for a picture set directly
    QSize sourceSize_; // that file's picture size in pixels
};

} // namespace quillon
