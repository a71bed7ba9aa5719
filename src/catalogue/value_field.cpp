#include "catalogue/value_field.h"

#include <algorithm>

namespace quillon {

ValueField::ValueField(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
    // Read-only, but its text can be selected with the mouse and copied.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QSize ValueField::minimumSizeHint() const {
    QSize hint = QLabel::minimumSizeHint();
    hint.setWidth(std::max(hint.width(), leastWidth));
    return hint;
}

} // namespace quillon
