#include "platform/accessible_names.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace quillon {

QString AccessibleNames::words(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&&" stands for one ampersand; a lone one marks the mnemonic letter.
        if (caption.at(i) == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
                text += caption.at(++i);
            continue;
        }
        text += caption.at(i);
    }
    text = text.trimmed();
    while (text.endsWith(u':') || text.endsWith(u'?'))
        text.chop(1);
    return text.trimmed();
}

void AccessibleNames::nameFromLabels(QWidget* root) {
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy != nullptr && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(words(label->text()));
    }
    for (QComboBox* list : root->findChildren<QComboBox*>()) {
        if (list->lineEdit() != nullptr && list->lineEdit()->accessibleName().isEmpty())
            list->lineEdit()->setAccessibleName(list->accessibleName());
    }
}

void AccessibleNames::name(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
}

} // namespace quillon
