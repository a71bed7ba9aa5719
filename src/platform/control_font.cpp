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
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF()
                                                             : 9.0);
    return font;
}

void ControlFont::applyTo(QWidget* root) {
    // Latin text is drawn without the font's optional shaping rules (kerning pairs, ligatures):
    // most of the time of drawing a text otherwise, and a window full of them is repainted on
    // every search. Scripts that need shaping to be legible are still shaped.
    QFont rootFont = root->font();
    rootFont.setStyleStrategy(QFont::PreferNoShaping);
    root->setFont(rootFont);
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
