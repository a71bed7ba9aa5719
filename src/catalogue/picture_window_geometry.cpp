#include "catalogue/picture_window_geometry.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

namespace {

// The part of the picture that doesn't fit, never negative.
int hiddenExtent(int pictureExtent, int windowExtent, int allowance) {
    return std::max(0, pictureExtent - (windowExtent - allowance));
}

} // namespace

PictureWindowGeometry::PictureWindowGeometry(QSize pictureSize)
    : picture_(std::max(0, pictureSize.width()), std::max(0, pictureSize.height())) {}

QSize PictureWindowGeometry::fittingOuterSize() const {
    return {picture_.width() + kWidthAllowance, picture_.height() + kHeightAllowance};
}

QSize PictureWindowGeometry::clampOuterSize(QSize outer) const {
    const QSize fitting = fittingOuterSize();
    return {std::min(outer.width(), fitting.width()), std::min(outer.height(), fitting.height())};
}

bool PictureWindowGeometry::vScrollVisible(QSize outer) const {
    return picture_.height() + kHeightAllowance > outer.height();
}

bool PictureWindowGeometry::hScrollVisible(QSize outer) const {
    return picture_.width() + kWidthAllowance > outer.width();
}

std::optional<PictureWindowGeometry::ScrollBarLayout>
PictureWindowGeometry::positionScrollBars(QSize outer) {
    const int h = outer.height();
    const int w = outer.width();
    if (h <= kMinHeight || w <= kMinWidth)
        return std::nullopt;

    vRange_ = hiddenExtent(picture_.height(), h, kHeightAllowance);
    hRange_ = hiddenExtent(picture_.width(), w, kWidthAllowance);
    vMaximum_ = std::min(vRange_, kMaxScrollValue);
    hMaximum_ = std::min(hRange_, kMaxScrollValue);

    ScrollBarLayout layout;
    layout.vScroll =
        QRect(w - kVScrollLeftMargin, 0, kScrollBarThickness, h - kVScrollHeightMargin);
    layout.hScroll = QRect(0, h - kHScrollTopMargin, w - kHScrollWidthMargin, kScrollBarThickness);
    layout.fill = QRect(w - kFillLeftMargin, h - kFillTopMargin, kFillSize, kFillSize);
    layout.vMaximum = vMaximum_;
    layout.hMaximum = hMaximum_;
    return layout;
}

void PictureWindowGeometry::load() {
    position_ = QPoint(0, 0);
    lastVValue_ = 0;
    lastHValue_ = 0;
    lastVOffset_ = 0;
    lastHOffset_ = 0;
}

void PictureWindowGeometry::vScrollChanged(int value) {
    const int offset = offsetForValue(value, vRange_, vMaximum_);
    position_.ry() -= offset - lastVOffset_;
    lastVOffset_ = offset;
    lastVValue_ = value;
}

void PictureWindowGeometry::hScrollChanged(int value) {
    const int offset = offsetForValue(value, hRange_, hMaximum_);
    position_.rx() -= offset - lastHOffset_;
    lastHOffset_ = offset;
    lastHValue_ = value;
}

void PictureWindowGeometry::backgroundClicked() {
    position_ = QPoint(0, 0);
}

int PictureWindowGeometry::offsetForValue(int value, int range, int maximum) {
    if (maximum <= 0 || range <= maximum)
        return value;
    // Capped: scale, rounding to the nearest twip, so that the maximum reaches the whole range.
    const std::int64_t scaled =
        (std::int64_t{value} * range * 2 + maximum) / (std::int64_t{maximum} * 2);
    return static_cast<int>(scaled);
}

QSize PictureWindowGeometry::clientFromOuter(QSize outer) {
    return {outer.width() - kFrameWidth, outer.height() - kFrameHeight};
}

QSize PictureWindowGeometry::outerFromClient(QSize client) {
    return {client.width() + kFrameWidth, client.height() + kFrameHeight};
}

} // namespace quillon
