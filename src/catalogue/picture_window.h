#pragma once

#include "catalogue/picture_window_geometry.h"

#include <QDialog>
#include <QString>

class QLabel;
class QScrollBar;
class QWidget;

namespace quillon {

// The picture window frmImageView: one part picture at full size in a window that fits itself to
// the picture and scrolls when the user makes it smaller. A click on the picture closes the
// window; a click on the background puts the picture back at the top left corner.
//
// The window loads its picture when it is created. A picture that can't be read leaves the
// window empty: check hasPicture() before showing it, and show loadError() instead.
class PictureWindow final : public QDialog {
    Q_OBJECT

public:
    // picturePath: the Application folder's images folder + the picture's file name.
    explicit PictureWindow(const QString& picturePath, QWidget* parent = nullptr);

    [[nodiscard]] bool hasPicture() const { return loaded_; }
    // Why the picture could not be read (names the file); empty when it was.
    [[nodiscard]] const QString& loadError() const { return loadError_; }
    [[nodiscard]] const QString& picturePath() const { return picturePath_; }

    // The window's outer size in twips, as the window arithmetic counts it. Exact for a size the
    // window was given in twips; otherwise measured from the window's size in pixels.
    [[nodiscard]] QSize outerSize() const;
    // Gives the window an outer size in twips (as a drag of its frame would, but exactly).
    void setOuterSize(QSize outer);
    [[nodiscard]] const PictureWindowGeometry& geometry() const { return geometry_; }

    // Every change of the window's size: keeps it no larger than the picture needs and places the
    // scroll bars.
    void Form_Resize();
    void VScroll1_Change(int value);
    void HScroll1_Change(int value);
    void Picture1_Click();
    void Form_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void showScrollBars(QSize outer);
    void positionScrollBars(QSize outer);
    void movePicture();
    [[nodiscard]] QRect toPixels(const QRect& twips) const;
    [[nodiscard]] QSize clientPixels(QSize outer) const;

    QString picturePath_;
    QString loadError_;
    bool loaded_ = false;
    PictureWindowGeometry geometry_{QSize()};
    QSize outer_; // the last outer size set or measured, in twips
    QLabel* picture1_ = nullptr;
    QScrollBar* vScroll1_ = nullptr;
    QScrollBar* hScroll1_ = nullptr;
    QWidget* picFill_ = nullptr;
};

} // namespace quillon
