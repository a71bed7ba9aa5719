#include "orders/previous_orders_window.h"

#include "app/app_context.h"
#include "app/handler_guard.h"
#include "app/program_state.h"
#include "platform/control_font.h"
#include "platform/flex_grid.h"
#include "platform/twips.h"
#include "printing/order_form_printing.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <array>

namespace quillon {

namespace {

struct Column {
    const char* header;
    int widthTwips;
};

constexpr std::array<Column, 8> gridColumns{{{"", 270},
                                             {"DV No.", 1200},
                                             {"Rover No.", 1200},
                                             {"Description", 3400},
                                             {"Special Instructions", 1800},
                                             {"Qty", 400},
                                             {"Price", 800},
                                             {"Total", 800}}};

// A stored text as one grid cell: a tab would split it into the next columns.
QString cellText(const QString& text) {
    QString cell = text;
    cell.replace(u'\t', u' ');
    return cell;
}

// The buttons are as small as they have always been: a caption that doesn't fit gets a smaller
// font.
void fitCaption(QPushButton* button) {
    constexpr int padding = 8;
    QFont font = button->font();
    while (font.pointSizeF() > 6 &&
           QFontMetrics(font).horizontalAdvance(button->text()) + padding > button->width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button->setFont(font);
}

Money amountOrZero(const Value& value) {
    return value.isNull() ? Money() : value.toMoney();
}

qint64 wholeOrZero(const Value& value) {
    return value.isNull() ? 0 : value.toInteger();
}

} // namespace

PreviousOrdersWindow::PreviousOrdersWindow(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmBackOrders"));
    setWindowTitle(QStringLiteral("Previous Orders"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    frameOrders = new QGroupBox(QStringLiteral("Orders"), this);
    frameOrders->setObjectName(QStringLiteral("frameOrders"));
    lstAllOrders = new QListWidget(frameOrders);
    lstAllOrders->setObjectName(QStringLiteral("lstAllOrders"));
    MSFlexGridOrders = new FlexGrid(frameOrders);
    MSFlexGridOrders->setObjectName(QStringLiteral("MSFlexGridOrders"));
    cmdPrintPreviousOrder = new QPushButton(QStringLiteral("Print Previous Order"), frameOrders);
    cmdPrintPreviousOrder->setObjectName(QStringLiteral("cmdPrintPreviousOrder"));
    lblOrderTotal = new QLabel(QStringLiteral("Order Total £"), frameOrders);
    lblOrderTotal->setObjectName(QStringLiteral("lblOrderTotal"));
    lblOrderTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtAllOrdersOrderTotal = new QLineEdit(frameOrders);
    txtAllOrdersOrderTotal->setObjectName(QStringLiteral("txtAllOrdersOrderTotal"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    OptionsStatusBar = new QStatusBar(this);
    OptionsStatusBar->setObjectName(QStringLiteral("OptionsStatusBar"));
    OptionsStatusBar->setSizeGripEnabled(false);

    ControlFont::applyTo(this);

    // Client area 12375 x 3630 twips; the controls of the frame are placed within it.
    setFixedSize(Twips::toPixelsX(12375, this), Twips::toPixelsY(3630, this));
    place(frameOrders, 90, 150, 12195, 2805);
    place(lstAllOrders, 240, 360, 1695, 2010);
    place(MSFlexGridOrders, 2070, 360, 9895, 2040);
    place(cmdPrintPreviousOrder, 240, 2400, 1695, 240);
    place(lblOrderTotal, 9270, 2475, 1320, 240);
    place(txtAllOrdersOrderTotal, 10605, 2445, 1365, 285);
    place(cmdClose, 11295, 3015, 780, 240);
    place(OptionsStatusBar, 0, 3345, 12375, 285);
    for (QPushButton* button : {cmdPrintPreviousOrder, cmdClose})
        fitCaption(button);

    connect(lstAllOrders, &QListWidget::currentRowChanged, this, [this] {
        route(QStringLiteral("show the order"), &PreviousOrdersWindow::lstAllOrders_Click);
    });
    connect(cmdPrintPreviousOrder, &QPushButton::clicked, this, [this] {
        route(QStringLiteral("print the previous order"),
              &PreviousOrdersWindow::cmdPrintPreviousOrder_Click);
    });
    connect(cmdClose, &QPushButton::clicked, this, &PreviousOrdersWindow::cmdClose_Click);

    Form_Load();
}

QString PreviousOrdersWindow::listEntry(const QString& orderNum, const QString& orderDate) {
    return orderNum + QStringLiteral("  -  ") + orderDate;
}

void PreviousOrdersWindow::place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips::toPixelsX(left, this), Twips::toPixelsY(top, this),
                        Twips::toPixelsX(width, this), Twips::toPixelsY(height, this));
}

void PreviousOrdersWindow::route(const QString& action, void (PreviousOrdersWindow::*handler)()) {
    context_.guard.run(action, [this, handler] { (this->*handler)(); });
}

void PreviousOrdersWindow::Form_Load() {
    FlexGrid& grid = *MSFlexGridOrders;
    grid.setRows(1);
    grid.setCols(static_cast<int>(gridColumns.size()));
    grid.setFixedCols(1);
    for (int column = 0; column < grid.cols(); ++column) {
        const Column& heading = gridColumns[static_cast<std::size_t>(column)];
        grid.setColWidthTwips(column, heading.widthTwips);
        grid.setTextMatrix(0, column, QString::fromUtf8(heading.header));
    }
    listPreviousOrders();
}

void PreviousOrdersWindow::listPreviousOrders() {
    ProgramState& state = context_.state;
    Recordset orders = state.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orders WHERE OrderStatus = TRUE"));
    if (orders.bof() && orders.eof()) {
        MSFlexGridOrders->addItem(QStringLiteral("\t\t\t") + noOrdersNotice());
        return;
    }
    state.previousOrderNums.assign(static_cast<std::size_t>(orders.recordCount()), 0);
    std::size_t entry = 0;
    {
        const QSignalBlocker blocker(lstAllOrders);
        for (orders.moveFirst(); !orders.eof(); orders.moveNext(), ++entry) {
            const Value& orderNum = orders.field(u"OrderNum");
            lstAllOrders->addItem(
                listEntry(orderNum.toText(), orders.field(u"OrderDate").toText()));
            state.previousOrderNums[entry] = orderNum.toInt32();
        }
    }
    lstAllOrders->setCurrentRow(0); // shows the first order
}

void PreviousOrdersWindow::lstAllOrders_Click() {
    if (lstAllOrders->currentRow() >= 0)
        showPreviousOrder();
}

void PreviousOrdersWindow::showPreviousOrder() {
    ProgramState& state = context_.state;
    FlexGrid& grid = *MSFlexGridOrders;
    grid.setRows(1);
    txtAllOrdersOrderTotal->clear();

    const int entry = lstAllOrders->currentRow();
    state.previousOrderNum =
        entry >= 0 && static_cast<std::size_t>(entry) < state.previousOrderNums.size()
            ? state.previousOrderNums[static_cast<std::size_t>(entry)]
            : 0;
    if (state.previousOrderNum == 0)
        return;

    Recordset lines =
        state.userDb->openRecordset(QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = ") +
                                    QString::number(state.previousOrderNum));
    if (lines.bof() && lines.eof()) {
        grid.addItem(QStringLiteral("\t\t\t") + noPartsNotice());
        return;
    }

    const QString tab = QStringLiteral("\t");
    const QString pound = QStringLiteral("£");
    Money total;
    int row = 0;
    for (lines.moveFirst(); !lines.eof(); lines.moveNext(), ++row) {
        const Value& quantity = lines.field(u"Quantity");
        const Money price = amountOrZero(lines.field(u"Price"));
        const Money lineTotal = price * wholeOrZero(quantity);
        grid.addItem(QString::number(row + 1) + tab +
                     cellText(lines.field(u"DorvaneNum").toText()) + tab +
                     cellText(lines.field(u"RoverNum").toText()) + tab +
                     cellText(lines.field(u"Description").toText()) + tab +
                     cellText(lines.field(u"Comments").toText()) + tab + quantity.toText() + tab +
                     pound + price.toPlainText() + tab + pound + lineTotal.toPlainText());
        total += lineTotal;
    }

    const int lastCol = grid.cols() - 1;
    grid.setCurrentCell(1, 0);
    grid.setSelectionEnd(grid.rows() - 1, lastCol);
    grid.setDataAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid.setCurrentCell(1, 0);
    grid.setSelectionEnd(1, lastCol);

    txtAllOrdersOrderTotal->setText(total.toPlainText());
}

void PreviousOrdersWindow::cmdPrintPreviousOrder_Click() {
    OrderFormPrinting(context_, this).cmdPrintPreviousOrder_Click();
}

void PreviousOrdersWindow::cmdClose_Click() {
    accept();
}

} // namespace quillon
