#include "platform/keyboard_access.h"

#include "platform/accessible_names.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QWidget>

namespace quillon {

KeyboardAccess::KeyboardAccess(QWidget* window) : QObject(window), window_(window) {}

void KeyboardAccess::prepare(QWidget* window) {
    auto* access = new KeyboardAccess(window);
    access->markFocus();
    // Showing a window, or giving a control the focus by program rather than by key, would take
    // the mark away again.
    window->installEventFilter(access);
    connect(qApp, &QApplication::focusChanged, access, [access](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == access->window_)
            access->markFocus();
    });
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->setAutoDefault(true);
    AccessibleNames::nameFromLabels(window);
}

// The styles draw the focus mark only once the focus has moved by key in that window; a window
// used from the keyboard shows where the focus is from the start.
void KeyboardAccess::markFocus() {
    window_->setAttribute(Qt::WA_KeyboardFocusChange);
}

bool KeyboardAccess::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate))
        markFocus();
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
