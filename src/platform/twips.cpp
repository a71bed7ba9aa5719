#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace quillon {

namespace {

constexpr int twipsPerInch = 1440;
// What a screen without a logical resolution of its own (or no screen at all) counts as.
constexpr int fallbackDpi = 96;

enum class Axis { X, Y };

int logicalDpi(const QWidget* widget, Axis axis) {
    int dpi = 0;
    if (widget != nullptr) {
        dpi = axis == Axis::X ? widget->logicalDpiX() : widget->logicalDpiY();
    } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const qreal value =
                axis == Axis::X ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
            dpi = qRound(value);
        }
    }
    return dpi > 0 ? dpi : fallbackDpi;
}

// value * numerator / denominator, rounded half away from zero and kept within int.
int scaleRounded(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(std::clamp<std::int64_t>(rounded, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

int Twips::toPixelsX(int twips, const QWidget* widget) {
    return scaleRounded(twips, logicalDpi(widget, Axis::X), twipsPerInch);
}

int Twips::toPixelsY(int twips, const QWidget* widget) {
    return scaleRounded(twips, logicalDpi(widget, Axis::Y), twipsPerInch);
}

int Twips::fromPixelsX(int pixels, const QWidget* widget) {
    return scaleRounded(pixels, twipsPerInch, logicalDpi(widget, Axis::X));
}

int Twips::fromPixelsY(int pixels, const QWidget* widget) {
    return scaleRounded(pixels, twipsPerInch, logicalDpi(widget, Axis::Y));
}

} // namespace quillon
