#include "app/counter_keys.h"

#include "catalogue/part_search_frames.h"
#include "platform/flex_grid.h"
#include "prices/customer_retail_frame.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <optional>

namespace quillon {

namespace {

// A box the user types into: while it has the focus, the clipboard keys edit it.
bool isTextEntry(const QObject* object) {
    if (qobject_cast<const QLineEdit*>(object) || qobject_cast<const QTextEdit*>(object) ||
        qobject_cast<const QPlainTextEdit*>(object) ||
        qobject_cast<const QAbstractSpinBox*>(object))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(object);
    return combo != nullptr && combo->isEditable();
}

bool isClipboardKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
           key->matches(QKeySequence::Cut) || key->matches(QKeySequence::SelectAll);
}

// What Ctrl+C copies from a value that can be selected but not edited (a Part Detail value, an
// entry of its lists): the selected text, or else the whole value. Nothing for other controls.
std::optional<QString> valueToCopy(const QObject* object) {
    if (const auto* label = qobject_cast<const QLabel*>(object);
        label != nullptr && (label->textInteractionFlags() & Qt::TextSelectableByMouse))
        return label->hasSelectedText() ? label->selectedText() : label->text();
    if (const auto* list = qobject_cast<const QListWidget*>(object))
        return list->currentItem() != nullptr ? list->currentItem()->text() : QString();
    return std::nullopt;
}

} // namespace

CounterKeys::CounterKeys(MainWindowInterface& window, HandlerGuard& guard, PartSearchFrames& search,
                         FlexGrid& grid, CustomerRetailFrame& customerRetail,
                         QPushButton* addToOrderButton, std::function<void()> addToOrder)
    : window_(window), windowWidget_(window.windowWidget()), guard_(guard), search_(search),
      grid_(grid), customerRetail_(customerRetail), addToOrderButton_(addToOrderButton),
      addToOrder_(std::move(addToOrder)), lastSearchBox_(search.txtPart) {
    qApp->installEventFilter(this);
}

CounterKeys::~CounterKeys() {
    qApp->removeEventFilter(this);
}

// On a row of the results Enter adds the row's part to the order, as a double click does;
// anywhere else it presses the default button, the one that belongs to the control with the
// focus.
bool CounterKeys::enterPressed(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (focus == &grid_ && grid_.rows() > 1) {
        event->accept();
        guard_.run(QStringLiteral("add the part to the order"), addToOrder_);
        return true;
    }
    QPushButton* button = window_.defaultButton();
    if (button != nullptr && button->isEnabled() && button->isVisible()) {
        event->accept();
        button->click();
        return true;
    }
    return false;
}

QPushButton* CounterKeys::defaultButtonFor(QWidget* focus) const {
    if (focus == search_.txtPart)
        return search_.cmdSearchPart;
    if (focus == search_.txtDesc || focus == search_.lstApplication ||
        (focus != nullptr && focus == search_.lstApplication->lineEdit()))
        return search_.cmdSearchDesc;
    if (qobject_cast<QLineEdit*>(focus) != nullptr && customerRetail_.isAncestorOf(focus))
        return customerRetail_.cmdEnterFilePrice;
    if (focus == &grid_)
        return addToOrderButton_;
    return qobject_cast<QPushButton*>(focus);
}

bool CounterKeys::moveBetweenBoxAndResults(QObject* watched, const QKeyEvent* key) {
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const bool inBox = watched == search_.txtPart || watched == search_.txtDesc;
    if (inBox && (key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown)) {
        if (grid_.rows() < 2)
            return false;
        grid_.setFocus(Qt::OtherFocusReason);
        return true;
    }
    const bool back =
        key->key() == Qt::Key_Escape || (key->key() == Qt::Key_Up && grid_.row() <= 1);
    if (watched == &grid_ && back) {
        QLineEdit* box = lastSearchBox_ ? lastSearchBox_.data() : search_.txtPart;
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return true;
    }
    return false;
}

void CounterKeys::focusPartNumber() {
    search_.txtPart->setFocus(Qt::OtherFocusReason);
    search_.txtPart->selectAll();
}

// The focus comes back to a search box from another control: its whole text is selected, so
// that what is typed next replaces it. A click selects it once the button is released, unless
// the click itself selected some of it.
void CounterKeys::selectSearchTextOnReturn(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr || (box != search_.txtPart && box != search_.txtDesc))
        return;
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason)
            selectOnRelease_ = box;
        else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            box->selectAll();
    } else if (event->type() == QEvent::MouseButtonRelease && selectOnRelease_ == box) {
        selectOnRelease_ = nullptr;
        if (!box->hasSelectedText())
            box->selectAll();
    }
}

bool CounterKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonRelease)
        selectSearchTextOnReturn(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != windowWidget_)
        return false;
    if (type == QEvent::FocusIn) {
        if (widget == search_.txtPart || widget == search_.txtDesc)
            lastSearchBox_ = static_cast<QLineEdit*>(widget);
        window_.setDefaultButton(defaultButtonFor(widget));
        return false;
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress && moveBetweenBoxAndResults(watched, key)) {
        event->accept();
        return true;
    }
    // While a box the user types into has the focus, the clipboard keys (Ctrl+C, Ctrl+V, Ctrl+X,
    // Ctrl+A) copy, paste, cut and select there and never reach the menu items that share them.
    if (type == QEvent::ShortcutOverride && isTextEntry(watched) && isClipboardKey(key)) {
        event->accept();
        return true;
    }
    // Ctrl+C on a Part Detail value copies it, and never clears the results.
    if (key->matches(QKeySequence::Copy)) {
        if (const std::optional<QString> text = valueToCopy(watched)) {
            if (type == QEvent::KeyPress && !text->isEmpty())
                QGuiApplication::clipboard()->setText(*text);
            event->accept();
            return true;
        }
    }
    return false;
}

} // namespace quillon
