#include "catalogue/value_field.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>

namespace quillon {

ValueField::ValueField(int budget, QWidget* parent) : QLabel(parent), budget_(budget) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    // A few pixels between the frame and the text rather than the width of an x a framed label
    // would leave: the fields of a row sit closer, and the window fits a narrower screen.
    setIndent(3);
    // Read-only, but its text can be selected with the mouse and copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    fit();
}

int ValueField::widthFor(const QString& text) const {
    const QMargins around = contentsMargins();
    const QFontMetricsF metrics(font());
    // Beside the text, as a label has it: the frame and contents margins, the margin on both
    // sides, and the indent (a framed label without one is indented by an x).
    const int indentation = indent() >= 0 ? indent()
                            : frameWidth() > 0
                                ? QFontMetrics(font()).horizontalAdvance(u'x') - 2 * margin()
                                : 0;
    // The document a selectable label lays its text out in can take a pixel more than the
    // advance: never narrower than that.
    return qCeil(metrics.horizontalAdvance(text)) + 1 + 2 * margin() + std::max(indentation, 0) +
           around.left() + around.right();
}

void ValueField::fit() {
    width_ = std::max({leastWidth, widthFor(QString(budget_, u'0')), widthFor(text())});
    // Both extents fixed: a new text asks no relayout of the window.
    setFixedSize(width_, QLabel::sizeHint().height());
}

void ValueField::setValue(const QString& text) {
    const int needed = widthFor(text);
    if (needed > width_) {
        width_ = needed;
        setFixedWidth(width_);
    }
    setText(text);
}

QSize ValueField::sizeHint() const {
    return {width_, height()};
}

QSize ValueField::minimumSizeHint() const {
    return sizeHint();
}

bool ValueField::event(QEvent* event) {
    // A label lays its new text out when it paints it, and asks for the label to be painted
    // again. An update asked for while the label paints comes as UpdateLater: the text has just
    // been painted as laid out, so that second paint is dropped.
    if (event->type() == QEvent::UpdateLater)
        return true;
    return QLabel::event(event);
}

void ValueField::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fit();
}

} // namespace quillon
