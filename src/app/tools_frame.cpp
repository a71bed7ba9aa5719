#include "app/tools_frame.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace quillon {

ToolsFrame::ToolsFrame(QWidget* parent) : QGroupBox(QStringLiteral("Tools"), parent) {
    setObjectName(QStringLiteral("frameTools"));
    auto* layout = new QHBoxLayout(this);
    const auto button = [this, layout](const QString& caption, const char* name,
                                       const QString& toolTip, bool enabled) {
        auto* widget = new QPushButton(caption, this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setToolTip(toolTip);
        widget->setEnabled(enabled);
        layout->addWidget(widget, 1);
        return widget;
    };
    cmdClear = button(QStringLiteral("Clear"), "cmdClear",
                      QStringLiteral("Clear current search results"), false);
    cmdStartOrder = button(QStringLiteral("New Order"), "cmdStartOrder", QString(), true);
    cmdOrder = button(QStringLiteral("Add to Order"), "cmdOrder",
                      QStringLiteral("Add selected part to order"), false);
    cmdViewOrder = button(QStringLiteral("View Order"), "cmdViewOrder",
                          QStringLiteral("View current order"), false);
    cmdFinaliseOrder = button(QStringLiteral("Finalise Order"), "cmdFinaliseOrder",
                              QStringLiteral("Print current order to HTML"), false);
    cmdPreviousOrders =
        button(QStringLiteral("Previous Orders"), "cmdPreviousOrders", QString(), true);
    cmdOptions =
        button(QStringLiteral("Address Options"), "cmdOptions", QStringLiteral("Options"), true);
}

std::array<QPushButton*, 7> ToolsFrame::buttons() const {
    return {cmdClear,         cmdStartOrder,     cmdOrder,  cmdViewOrder,
            cmdFinaliseOrder, cmdPreviousOrders, cmdOptions};
}

} // namespace quillon
