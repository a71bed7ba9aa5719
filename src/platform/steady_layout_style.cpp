#include "platform/steady_layout_style.h"

#include <QApplication>
#include <QStyleFactory>

namespace quillon {

SteadyLayoutStyle::SteadyLayoutStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

int SteadyLayoutStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
    if (hint == SH_Widget_Animation_Duration)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace quillon
