#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace quillon {

// The picture window's arithmetic, in twips: how large the window may be for its picture, when
// each scroll bar shows, where the scroll bars and the corner box go with which ranges, and
// where the picture sits as the scroll bars move. Sizes are the window's outer size (the client
// area plus the window frame the allowances were measured with).
//
// A scroll bar's maximum is a 16-bit value. When the part of the picture that doesn't fit is
// larger than that, the maximum is capped and the scroll value is scaled, so that the end of the
// scroll bar still shows the far edge of the picture; below the cap a scroll value is exactly the
// number of twips the picture is moved.
class PictureWindowGeometry final {
public:
    // The allowances and placings of the window, in twips. They differ slightly from each other
    // and are used exactly as they are.
    static constexpr int kHeightAllowance = 755;     // outer height for a picture P high: P + 755
    static constexpr int kWidthAllowance = 365;      // outer width for a picture Q wide: Q + 365
    static constexpr int kMinHeight = 750;           // at or below this height nothing is placed
    static constexpr int kMinWidth = 365;            // at or below this width nothing is placed
    static constexpr int kVScrollHeightMargin = 750; // VScroll1 height H - 750
    static constexpr int kVScrollLeftMargin = 375;   // VScroll1 left W - 375
    static constexpr int kHScrollTopMargin = 765;    // HScroll1 top H - 765
    static constexpr int kHScrollWidthMargin = 350;  // HScroll1 width W - 350
    static constexpr int kFillTopMargin = 750;       // picFill top H - 750
    static constexpr int kFillLeftMargin = 350;      // picFill left W - 350
    static constexpr int kScrollBarThickness = 255;
    static constexpr int kFillSize = 250;
    // The window frame (title bar and borders) that the allowances include.
    static constexpr int kFrameWidth = 120;
    static constexpr int kFrameHeight = 510;
    static constexpr int kSmallChange = 100;
    static constexpr int kLargeChange = 1000;
    static constexpr int kMaxScrollValue = 32767;

    struct ScrollBarLayout {
        QRect vScroll; // VScroll1
        QRect hScroll; // HScroll1
        QRect fill;    // picFill
        int vMaximum = 0;
        int hMaximum = 0;
    };

    // pictureSize: the picture's width (Q) and height (P) in twips.
    explicit PictureWindowGeometry(QSize pictureSize);

    [[nodiscard]] QSize pictureSize() const { return picture_; }

    // The largest outer size, the one the window opens at: (Q + 365, P + 755).
    [[nodiscard]] QSize fittingOuterSize() const;
    // An outer size brought down to at most the fitting size in each direction.
    [[nodiscard]] QSize clampOuterSize(QSize outer) const;

    [[nodiscard]] bool vScrollVisible(QSize outer) const;
    [[nodiscard]] bool hScrollVisible(QSize outer) const;

    // Where the scroll bars and the corner box go, and the scroll maxima, for an outer size;
    // nothing when the window is 750 twips high or less, or 365 twips wide or less. Remembers the
    // ranges for the scroll changes that follow.
    std::optional<ScrollBarLayout> positionScrollBars(QSize outer);

    // The window opening: scroll values 0, the picture at the top left corner.
    void load();
    // A scroll bar's new value: the picture moves by the difference from the last value.
    void vScrollChanged(int value);
    void hScrollChanged(int value);
    // A click on the background: the picture goes back to the corner, the scroll values stay.
    void backgroundClicked();

    // The picture's top left corner in the window's client area, in twips.
    [[nodiscard]] QPoint picturePosition() const { return position_; }
    [[nodiscard]] int lastVScrollValue() const { return lastVValue_; }
    [[nodiscard]] int lastHScrollValue() const { return lastHValue_; }

    // The twips a scroll value moves the picture, for a scroll bar whose maximum was capped from
    // range to maximum (equal when no cap was needed).
    [[nodiscard]] static int offsetForValue(int value, int range, int maximum);

    [[nodiscard]] static QSize clientFromOuter(QSize outer);
    [[nodiscard]] static QSize outerFromClient(QSize client);

private:
    QSize picture_;
    QPoint position_;
    int lastVValue_ = 0;
    int lastHValue_ = 0;
    int lastVOffset_ = 0;
    int lastHOffset_ = 0;
    int vRange_ = 0;
    int vMaximum_ = 0;
    int hRange_ = 0;
    int hMaximum_ = 0;
};

} // namespace quillon
