#include "platform/control_font.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>

namespace quillon {

QFont ControlFont::verdana() {
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("Verdana"),
                                   {QStringLiteral("DejaVu Sans"),
                                    QStringLiteral("Bitstream Vera Sans"), QStringLiteral("Tahoma"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF()
                                                             : 9.0);
    return font;
}

void ControlFont::applyTo(QWidget* root) {
    const QFont font = verdana();
    const auto apply = [&font](QWidget* widget) {
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
            qobject_cast<QStatusBar*>(widget))
            widget->setFont(font);
    };
    apply(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children)
        apply(child);
}

} // namespace quillon
