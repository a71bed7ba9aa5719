#include "orders/view_order_window.h"

#include "orders/order_quantity_dialog.h"
#include "platform/control_font.h"
#include "platform/dialogs.h"
#include "platform/flex_grid.h"
#include "platform/keyboard_access.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/locale_formats.h"
#include "store/statement_builder.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace quillon {

namespace {

const QChar tab = u'\t';

// A whole number of an order line; an absent one counts as 0.
qint64 wholeNumber(const Value& value) {
    return value.isAbsent() ? 0 : value.toInteger();
}

// An amount of an order line; an absent one counts as 0.
Money amount(const Value& value) {
    return value.isAbsent() ? Money() : value.toMoney();
}

// A stored value as one grid cell: a tab inside it would push the rest of the row into the
// wrong columns, so it shows as a blank.
QString cellText(const Value& value) {
    QString cell = value.toText();
    cell.replace(tab, u' ');
    return cell;
}

} // namespace

QString ViewOrderWindow::headerText(int column) {
    static const QString texts[columnCount] = {QString(),
                                               QStringLiteral("DV No."),
                                               QStringLiteral("Rover No."),
                                               QStringLiteral("Description"),
                                               QStringLiteral("Special Instructions"),
                                               QStringLiteral("Qty"),
                                               QStringLiteral("Price"),
                                               QStringLiteral("Total")};
    return column >= 0 && column < columnCount ? texts[column] : QString();
}

ViewOrderWindow::ViewOrderWindow(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmViewOrder"));
    setWindowTitle(QStringLiteral("View Parts Order"));
    setModal(true);

    lblOrderNum = new QLabel(QStringLiteral("Order Number"), this);
    lblOrderNum->setObjectName(QStringLiteral("lblOrderNum"));
    QFont heading = lblOrderNum->font();
    heading.setBold(true);
    lblOrderNum->setFont(heading);

    MSFlexGridViewOrder = new FlexGrid(this);
    MSFlexGridViewOrder->setObjectName(QStringLiteral("MSFlexGridViewOrder"));

    lblOrderTotal = new QLabel(QStringLiteral("Order Total £"), this);
    lblOrderTotal->setObjectName(QStringLiteral("lblOrderTotal"));
    txtOrderTotal = new QLineEdit(this);
    txtOrderTotal->setObjectName(QStringLiteral("txtOrderTotal"));
    txtOrderTotal->setReadOnly(true);
    txtOrderTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtOrderTotal->setFixedWidth(120);
    // The total is read, never typed: Tab goes from the lines to the buttons without it.
    txtOrderTotal->setFocusPolicy(Qt::NoFocus);
    lblOrderTotal->setBuddy(txtOrderTotal);

    cmdModify = new QPushButton(QStringLiteral("Modify"), this);
    cmdModify->setObjectName(QStringLiteral("cmdModify"));
    cmdDelete = new QPushButton(QStringLiteral("Delete"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // Enter on a line modifies it: Modify is the default button while no other button has the
    // focus.
    cmdModify->setDefault(true);

    StatusBarOrder = new QStatusBar(this);
    StatusBarOrder->setObjectName(QStringLiteral("StatusBarOrder"));
    StatusBarOrder->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(StatusBarOrder);
    statusPanel_->setObjectName(QStringLiteral("StatusBarOrderPanel1"));
    statusPanel_->setTextFormat(Qt::PlainText);
    statusPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusPanel_->setContentsMargins(4, 0, 4, 0);
    StatusBarOrder->addPermanentWidget(statusPanel_, 1);

    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(cmdModify);
    totalRow->addWidget(cmdDelete);
    totalRow->addStretch(1);
    totalRow->addWidget(lblOrderTotal);
    totalRow->addWidget(txtOrderTotal);
    totalRow->addSpacing(16);
    totalRow->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addWidget(lblOrderNum);
    layout->addWidget(MSFlexGridViewOrder, 1);
    layout->addLayout(totalRow);
    layout->addWidget(StatusBarOrder);

    ControlFont::applyTo(this);
    MSFlexGridViewOrder->setAccessibleName(QStringLiteral("Order lines"));
    setTabOrder(MSFlexGridViewOrder, cmdModify);
    setTabOrder(cmdModify, cmdDelete);
    setTabOrder(cmdDelete, cmdOK);
    KeyboardAccess::prepare(this);
    MSFlexGridViewOrder->installEventFilter(this);
    MSFlexGridViewOrder->setFocus(Qt::OtherFocusReason);

    route(cmdModify, QStringLiteral("change the order line"), &ViewOrderWindow::cmdModify_Click);
    route(cmdDelete, QStringLiteral("delete the order line"), &ViewOrderWindow::cmdDelete_Click);
    route(cmdOK, QStringLiteral("close the order"), &ViewOrderWindow::cmdOK_Click);
    connect(MSFlexGridViewOrder, &FlexGrid::rowColChange, this, [this] {
        context_.guard.run(QStringLiteral("select the order line"),
                           [this] { MSFlexGridViewOrder_RowColChange(); });
    });

    Form_Load();

    // Wide enough for every column whole, as far as the screen allows.
    const QMargins margins = layout->contentsMargins();
    const int wanted = MSFlexGridViewOrder->widthForAllColumns() + margins.left() + margins.right();
    const QScreen* shownOn = screen();
    const QSize room =
        shownOn != nullptr ? shownOn->availableGeometry().size() : QSize(wanted, 380);
    resize(std::min(wanted, room.width()), std::min(380, room.height()));
}

bool ViewOrderWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != MSFlexGridViewOrder || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    // Enter on a line modifies it, the Delete key deletes it (after the question).
    QPushButton* button = nullptr;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        button = cmdModify;
    else if (key->key() == Qt::Key_Delete)
        button = cmdDelete;
    if (button == nullptr)
        return false;
    event->accept();
    button->click();
    return true;
}

void ViewOrderWindow::route(QPushButton* button, const QString& action,
                            void (ViewOrderWindow::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, action, handler] {
        context_.guard.run(action, [this, handler] { (this->*handler)(); });
    });
}

void ViewOrderWindow::Form_Load() {
    const qint32 orderNum = context_.state.currentOrderNum;
    if (orderNum != 0)
        lblOrderNum->setText(QStringLiteral("Order Number ") + QString::number(orderNum));

    FlexGrid& grid = *MSFlexGridViewOrder;
    grid.setRows(1);
    grid.setCols(columnCount);
    grid.setFixedCols(1);
    for (int column = 0; column < columnCount; ++column) {
        grid.setColWidthTwips(column, columnWidthsTwips[column]);
        grid.setColFit(column, columnFits[column]);
        grid.setTextMatrix(0, column, headerText(column));
    }
    fillOrderGrid();
}

void ViewOrderWindow::fillOrderGrid() {
    ProgramState& state = context_.state;
    FlexGrid& grid = *MSFlexGridViewOrder;
    grid.setRows(1);
    txtOrderTotal->clear();
    lineIds_.clear();

    const QString notice = QString(3, tab);
    if (state.currentOrderNum == 0) {
        grid.addItem(notice + noOrderNotice());
        hasParts_ = false;
        return;
    }

    Recordset lines = state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts",
        SqlCondition::equals(u"OrderNum", SqlLiteral::number(state.currentOrderNum))));
    if (lines.bof() && lines.eof()) {
        grid.addItem(notice + noPartsNotice());
        hasParts_ = false;
        context_.window.setFinaliseCommandsEnabled(false);
        return;
    }

    hasParts_ = true;
    lines.moveLast();
    const int count = lines.recordCount();
    lines.moveFirst();
    lineIds_.assign(static_cast<std::size_t>(count), 0);

    const LocaleFormats formats;
    Money total;
    std::size_t i = 0;
    for (; !lines.eof(); lines.moveNext(), ++i) {
        const Value& quantity = lines.field(u"Quantity");
        const Money price = amount(lines.field(u"Price"));
        const Money lineTotal = price * wholeNumber(quantity);
        grid.addItem(QString::number(i + 1) + tab + cellText(lines.field(u"DorvaneNum")) + tab +
                     cellText(lines.field(u"RoverNum")) + tab +
                     cellText(lines.field(u"Description")) + tab +
                     cellText(lines.field(u"Comments")) + tab + cellText(quantity) + tab +
                     formats.currency(price) + tab + formats.currency(lineTotal));
        total += lineTotal;
        lineIds_[i] = lines.field(u"ID").toInt32();
    }

    grid.setDataAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid.setCurrentCell(1, 0);
    grid.setSelectionEnd(1, columnCount - 1);

    txtOrderTotal->setText(formats.currency(total));
}

qint32 ViewOrderWindow::selectedLineId() const {
    const std::vector<qint32>& ids = lineIds_;
    const int row = MSFlexGridViewOrder->row();
    if (row < 1 || static_cast<std::size_t>(row) > ids.size())
        return 0;
    return ids[static_cast<std::size_t>(row - 1)];
}

void ViewOrderWindow::cmdModify_Click() {
    ProgramState& state = context_.state;
    if (!hasParts_)
        return;
    const qint32 id = selectedLineId();
    if (id == 0)
        return;
    const Recordset line = state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts", SqlCondition::equals(u"ID", SqlLiteral::number(id))));
    if (line.isEmpty()) {
        // The line is gone: show the order as it is now.
        fillOrderGrid();
        return;
    }
    const Value& quantity = line.field(u"Quantity");
    const QuantityAnswer answer = OrderQuantityDialog::ask(
        context_,
        {line.field(u"DorvaneNum").toText(), line.field(u"RoverNum").toText(),
         line.field(u"Description").toText()},
        {quantity.isAbsent() ? 0 : quantity.toInt32(), line.field(u"Comments").toText(),
         state.selectedPart.unitIssue},
        this);
    if (!answer.ok)
        return;

    // The line keeps the price it was written with.
    state.userDb->execute(StatementBuilder::updateRow(
        u"orderParts",
        {{QStringLiteral("Quantity"), SqlLiteral::text(answer.quantity)},
         {QStringLiteral("Comments"), SqlLiteral::text(answer.comment)}},
        SqlCondition::equalsTight(u"ID", SqlLiteral::number(id))));
    setStatusText(QStringLiteral("Order updated"));
    fillOrderGrid();
    context_.window.showOrderSummary();
}

void ViewOrderWindow::cmdDelete_Click() {
    if (!hasParts_)
        return;
    const auto answer = context_.dialogs.messageBox(
        QStringLiteral("Are you sure? This will permanently delete the part from this order."),
        Dialogs::Buttons::YesNo, Dialogs::Icon::Question, QStringLiteral("Delete record?"),
        Dialogs::Button::No);
    if (answer != Dialogs::Button::Yes) {
        setStatusText(QStringLiteral("Part NOT deleted"));
        return;
    }
    const qint32 id = selectedLineId();
    if (id != 0)
        context_.state.userDb->execute(StatementBuilder::deleteWhere(
            u"orderParts", SqlCondition::equalsTight(u"ID", SqlLiteral::number(id))));
    fillOrderGrid();
    setStatusText(QStringLiteral("Part deleted"));
    context_.window.showOrderSummary();
}

void ViewOrderWindow::cmdOK_Click() {
    accept();
}

void ViewOrderWindow::MSFlexGridViewOrder_RowColChange() {
    FlexGrid& grid = *MSFlexGridViewOrder;
    const int row = grid.row();
    if (row < 1)
        return;
    grid.setCurrentCell(row, 0);
    grid.setSelectionEnd(row, columnCount - 1);
}

QString ViewOrderWindow::statusText() const {
    return statusPanel_->text();
}

void ViewOrderWindow::setStatusText(const QString& text) {
    statusPanel_->setText(text);
}

} // namespace quillon
