#include "prices/customer_retail_frame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

CustomerRetailFrame::CustomerRetailFrame(AppContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Customer Retail"), parent), context_(context) {
    setObjectName(QStringLiteral("frameCustomerRetail"));

    const auto label = [this](const QString& caption, const char* name) {
        auto* widget = new QLabel(caption, this);
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    const auto box = [this](const char* name) {
        auto* widget = new QLineEdit(this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setMinimumWidth(60);
        return widget;
    };
    lblFilePrice = label(QStringLiteral("Fi&le Price:"), "lblFilePrice");
    txtFilePrice = box("txtFilePrice");
    lblSellingPrice = label(QStringLiteral("Selli&ng Price:"), "lblSellingPrice");
    txtSellingPrice = box("txtSellingPrice");
    lblUnit = label(QStringLiteral("&Unit:"), "lblUnit");
    txtUnit = box("txtUnit");
    cmdEnterFilePrice = new QPushButton(QStringLiteral("Enter/Update"), this);
    cmdEnterFilePrice->setObjectName(QStringLiteral("cmdEnterFilePrice"));
    cmdEnterFilePrice->setToolTip(QStringLiteral("Enter or update file price"));
    cmdRemoveFilePrice = new QPushButton(QStringLiteral("Remove"), this);
    cmdRemoveFilePrice->setObjectName(QStringLiteral("cmdRemoveFilePrice"));
    cmdRemoveFilePrice->setToolTip(QStringLiteral("Remove this file price"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lblFilePrice);
    layout->addWidget(txtFilePrice, 2);
    layout->addSpacing(6);
    layout->addWidget(lblSellingPrice);
    layout->addWidget(txtSellingPrice, 2);
    layout->addSpacing(6);
    layout->addWidget(lblUnit);
    layout->addWidget(txtUnit, 1);
    layout->addSpacing(6);
    layout->addWidget(cmdEnterFilePrice);
    layout->addWidget(cmdRemoveFilePrice);

    // Alt+L, Alt+N and Alt+U reach the boxes; a screen reader names each box by its label.
    lblFilePrice->setBuddy(txtFilePrice);
    lblSellingPrice->setBuddy(txtSellingPrice);
    lblUnit->setBuddy(txtUnit);

    setTabOrder(txtFilePrice, txtSellingPrice);
    setTabOrder(txtSellingPrice, txtUnit);
    setTabOrder(txtUnit, cmdEnterFilePrice);
    setTabOrder(cmdEnterFilePrice, cmdRemoveFilePrice);
}

} // namespace quillon
