#pragma once

#include <QString>

class QWidget;

namespace quillon {

// The names a screen reader says for the controls of a window: a box, list or value is named
// by the words of the label beside it (its buddy), without the mnemonic mark and the closing
// colon or question mark; an editable list's text field by the list's name.
class AccessibleNames final {
public:
    // "Enter &part number:" -> "Enter part number".
    [[nodiscard]] static QString words(const QString& caption);
    // Names every buddy of a label under root that has no name yet, and the text field of every
    // editable list under root after its list.
    static void nameFromLabels(QWidget* root);
    // The name of a control, for those with no label of their own.
    static void name(QWidget* control, const QString& name);
};

} // namespace quillon
