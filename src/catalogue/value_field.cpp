#include "catalogue/value_field.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>

namespace quillon {

ValueField::ValueField(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
    // Read-only, but its text can be selected with the mouse and copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QSize ValueField::sizeHint() const {
    const QMargins around = contentsMargins();
    if (height_ < 0 || around != heightMargins_) {
        height_ = QLabel::sizeHint().height(); // one line, whatever its text
        heightMargins_ = around;
    }
    const QFontMetricsF metrics(font());
    // Beside the text, as a label has it: the frame and contents margins, the margin on both
    // sides, and the indent (a framed label without one is indented by an x).
    const int indentation = indent() >= 0 ? indent()
                            : frameWidth() > 0
                                ? QFontMetrics(font()).horizontalAdvance(u'x') - 2 * margin()
                                : 0;
    // The document a selectable label lays its text out in can take a pixel more than the
    // advance: never narrower than that.
    const int width = qCeil(metrics.horizontalAdvance(text())) + 1 + 2 * margin() +
                      std::max(indentation, 0) + around.left() + around.right();
    return {width, height_};
}

QSize ValueField::minimumSizeHint() const {
    QSize hint = sizeHint();
    hint.setWidth(std::max(hint.width(), leastWidth));
    return hint;
}

bool ValueField::event(QEvent* event) {
    // A label lays its new text out when it paints it, and the layout asks for the label to be
    // painted again. An update asked for while the label paints comes as UpdateLater: the text
    // has just been painted as laid out, so that second paint (of the whole of Part Detail,
    // after every part shown) is dropped.
    if (event->type() == QEvent::UpdateLater)
        return true;
    return QLabel::event(event);
}

void ValueField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        height_ = -1;
    QLabel::changeEvent(event);
}

} // namespace quillon
