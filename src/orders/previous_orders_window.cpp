#include "orders/previous_orders_window.h"

#include "orders/order_output.h"
#include "platform/control_font.h"
#include "platform/flex_grid.h"
#include "platform/keyboard_access.h"
#include "platform/twips.h"
#include "printing/order_form_printing.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/program_state.h"
#include "store/statement_builder.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <tuple>

namespace quillon {

namespace {

// The widths are the least each column gets: numbers and amounts show whole, the description
// and the special instructions share the room left.
struct Column {
    const char* header;
    int widthTwips;
    ColumnFit fit;
};

constexpr std::array<Column, 8> gridColumns{{{"", 270, ColumnFit::Content},
                                             {"DV No.", 1200, ColumnFit::Content},
                                             {"Rover No.", 1200, ColumnFit::Content},
                                             {"Description", 3400, ColumnFit::Fill},
                                             {"Special Instructions", 1800, ColumnFit::Fill},
                                             {"Qty", 400, ColumnFit::Content},
                                             {"Price", 800, ColumnFit::Content},
                                             {"Total", 800, ColumnFit::Content}}};

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
    const auto outputButton = [this](const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, frameOrders);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    cmdPrintOrder = outputButton(QStringLiteral("Print…"), "cmdPrintOrder");
    cmdSaveOrderPdf = outputButton(QStringLiteral("Save PDF…"), "cmdSaveOrderPdf");
    cmdExportOrderCsv = outputButton(QStringLiteral("Export CSV…"), "cmdExportOrderCsv");
    cmdEmailOrder = outputButton(QStringLiteral("E-mail…"), "cmdEmailOrder");
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
    lblOrderTotal->setBuddy(txtAllOrdersOrderTotal);
    lstAllOrders->setAccessibleName(QStringLiteral("Orders"));
    MSFlexGridOrders->setAccessibleName(QStringLiteral("Order lines"));
    KeyboardAccess::prepare(this);

    // The client area is at least 12375 x 3630 twips; a wider or taller window gives the list
    // and the grid the room, and the controls below them keep their places at the edges.
    setMinimumSize(Twips::toPixelsX(designWidth, this), Twips::toPixelsY(designHeight, this));
    resize(minimumSize());
    placeControls();
    for (QPushButton* button : {cmdPrintPreviousOrder, cmdPrintOrder, cmdSaveOrderPdf,
                                cmdExportOrderCsv, cmdEmailOrder, cmdClose})
        fitCaption(button);

    connect(lstAllOrders, &QListWidget::currentRowChanged, this, [this] {
        route(QStringLiteral("show the order"), &PreviousOrdersWindow::lstAllOrders_Click);
    });
    connect(cmdPrintPreviousOrder, &QPushButton::clicked, this, [this] {
        route(QStringLiteral("print the previous order"),
              &PreviousOrdersWindow::cmdPrintPreviousOrder_Click);
    });
    for (const auto& [button, kind, action] :
         {std::tuple{cmdPrintOrder, OrderOutput::Kind::Print, "print the order"},
          std::tuple{cmdSaveOrderPdf, OrderOutput::Kind::Pdf, "save the order as PDF"},
          std::tuple{cmdExportOrderCsv, OrderOutput::Kind::Csv, "export the order as CSV"},
          std::tuple{cmdEmailOrder, OrderOutput::Kind::Email, "e-mail the order"}})
        connect(button, &QPushButton::clicked, this, [this, kind, action] {
            context_.guard.run(QString::fromLatin1(action), [this, kind] {
                OrderOutput(context_, this).order(kind, orderNum_);
            });
        });
    connect(cmdClose, &QPushButton::clicked, this, &PreviousOrdersWindow::cmdClose_Click);

    Form_Load();

    // Wide enough for every column of the grid whole, as far as the screen allows.
    const int wanted = width() + MSFlexGridOrders->widthForAllColumns() - MSFlexGridOrders->width();
    const QScreen* shownOn = screen();
    const int room = shownOn != nullptr ? shownOn->availableGeometry().width() : wanted;
    resize(std::clamp(wanted, width(), std::max(width(), room)), height());
    placeControls();
}

QString PreviousOrdersWindow::listEntry(const QString& orderNum, const QString& orderDate) {
    return orderNum + QStringLiteral("  -  ") + orderDate;
}

void PreviousOrdersWindow::placeControls() {
    // Left, top, width and height in twips at the least size; what the window has beyond that
    // (in pixels) widens or moves each control as its edges follow the window's.
    struct Placement {
        QWidget* widget;
        int left, top, width, height;
        bool growsWide, growsTall, movesRight, movesDown;
    };
    const Placement placements[] = {
        {frameOrders, 90, 150, 12195, 2805, true, true, false, false},
        {lstAllOrders, 240, 360, 1695, 2010, false, true, false, false},
        {MSFlexGridOrders, 2070, 360, 9895, 2040, true, true, false, false},
        {cmdPrintPreviousOrder, 240, 2400, 1695, 240, false, false, false, true},
        {cmdPrintOrder, 2070, 2445, 1000, 240, false, false, false, true},
        {cmdSaveOrderPdf, 3130, 2445, 1100, 240, false, false, false, true},
        {cmdExportOrderCsv, 4290, 2445, 1150, 240, false, false, false, true},
        {cmdEmailOrder, 5500, 2445, 1000, 240, false, false, false, true},
        {lblOrderTotal, 9270, 2475, 1320, 240, false, false, true, true},
        {txtAllOrdersOrderTotal, 10605, 2445, 1365, 285, false, false, true, true},
        {cmdClose, 11295, 3015, 780, 240, false, false, true, true},
        {OptionsStatusBar, 0, 3345, 12375, 285, true, false, false, true},
    };
    const int wider = std::max(0, width() - Twips::toPixelsX(designWidth, this));
    const int taller = std::max(0, height() - Twips::toPixelsY(designHeight, this));
    for (const Placement& place : placements) {
        place.widget->setGeometry(
            Twips::toPixelsX(place.left, this) + (place.movesRight ? wider : 0),
            Twips::toPixelsY(place.top, this) + (place.movesDown ? taller : 0),
            Twips::toPixelsX(place.width, this) + (place.growsWide ? wider : 0),
            Twips::toPixelsY(place.height, this) + (place.growsTall ? taller : 0));
    }
}

void PreviousOrdersWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeControls();
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
        grid.setColFit(column, heading.fit);
        grid.setTextMatrix(0, column, QString::fromUtf8(heading.header));
    }
    listPreviousOrders();
}

void PreviousOrdersWindow::listPreviousOrders() {
    Recordset orders = context_.state.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orders WHERE OrderStatus = TRUE"));
    if (orders.bof() && orders.eof()) {
        MSFlexGridOrders->addItem(QStringLiteral("\t\t\t") + noOrdersNotice());
        return;
    }
    orderNums_.assign(static_cast<std::size_t>(orders.recordCount()), 0);
    std::size_t entry = 0;
    {
        const QSignalBlocker blocker(lstAllOrders);
        for (orders.moveFirst(); !orders.eof(); orders.moveNext(), ++entry) {
            const Value& orderNum = orders.field(u"OrderNum");
            lstAllOrders->addItem(
                listEntry(orderNum.toText(), orders.field(u"OrderDate").toText()));
            orderNums_[entry] = orderNum.toInt32();
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
    orderNum_ = entry >= 0 && static_cast<std::size_t>(entry) < orderNums_.size()
                    ? orderNums_[static_cast<std::size_t>(entry)]
                    : 0;
    if (orderNum_ == 0)
        return;

    Recordset lines = state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts", SqlCondition::equals(u"OrderNum", SqlLiteral::number(orderNum_))));
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
    OrderFormPrinting(context_, this).cmdPrintPreviousOrder_Click(orderNum_);
}

void PreviousOrdersWindow::cmdClose_Click() {
    accept();
}

} // namespace quillon
