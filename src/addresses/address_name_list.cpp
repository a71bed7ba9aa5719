#include "addresses/address_name_list.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace quillon {

AddressNameList::AddressNameList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMinimumContentsLength(20);
    connect(this, &QComboBox::activated, this, [this] {
        if (!typingEnds_)
            emit picked();
    });
}

void AddressNameList::focusOutEvent(QFocusEvent* event) {
    const QScopedValueRollback ending(typingEnds_, true);
    QComboBox::focusOutEvent(event);
}

void AddressNameList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QScopedValueRollback ending(typingEnds_, typingEnds_ || enter);
    QComboBox::keyPressEvent(event);
}

} // namespace quillon
