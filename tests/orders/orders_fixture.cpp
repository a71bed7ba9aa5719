#include "orders_fixture.h"

#include "orders/order_lifecycle.h"
#include "platform/flex_grid.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement_builder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quillon::tests {

namespace {

// A row of the given columns, every value quoted as a text.
QList<StatementBuilder::Column> row(const QStringList& columns, const QStringList& values) {
    QList<StatementBuilder::Column> row;
    for (qsizetype i = 0; i < values.size(); ++i)
        row.append({columns[i], SqlLiteral::text(values[i])});
    return row;
}

QuantityDialogSeen seen(QDialog& d) {
    const auto text = [&d](const char* name) {
        return d.findChild<QWidget*>(QString::fromLatin1(name))->property("text").toString();
    };
    return {d.windowTitle(), text("lblPartNumber") + " / " + text("lblPartDescription"),
            text("txtQty"), text("txtComment"), true};
}

} // namespace

OrdersFixture::OrdersFixture() {
    Schema::createUser(*Database::create(folder.userDatabase()));
    answerQuantity(QStringLiteral("1"), QString());
    onViewOrder({});
}

OrdersFixture::~OrdersFixture() = default;

void OrdersFixture::seed(const QString& statement) {
    if (state.userDb) {
        state.userDb->execute(statement);
        return;
    }
    auto user = Database::open(folder.userDatabase(), Database::Access::ReadWrite);
    user->execute(statement);
}

void OrdersFixture::seedOrder(qint32 orderNum, bool completed) {
    seed(QStringLiteral("INSERT INTO orders (OrderNum, OrderDate, OrderStatus) VALUES (%1, "
                        "'01/03/2024', %2)")
             .arg(orderNum)
             .arg(completed ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
}

void OrdersFixture::seedLine(qint32 orderNum, const QString& dorvaneNum, const QString& roverNum,
                             const QString& description, qint64 quantity, const QString& price,
                             const QString& comments) {
    seed(StatementBuilder::insertRow(
        u"orderParts",
        row({"OrderNum", "DorvaneNum", "RoverNum", "Description", "Quantity", "Price", "Comments"},
            {QString::number(orderNum), dorvaneNum, roverNum, description,
             QString::number(quantity), price, comments})));
}

void OrdersFixture::click(const QString& buttonName) {
    auto* button = window->findChild<QPushButton*>(buttonName);
    QVERIFY2(button != nullptr, qPrintable(buttonName));
    QTest::mouseClick(button, Qt::LeftButton);
}

void OrdersFixture::trigger(const QString& actionName) {
    auto* action = window->findChild<QAction*>(actionName);
    QVERIFY2(action != nullptr, qPrintable(actionName));
    action->trigger();
}

void OrdersFixture::newOrder() {
    click(QStringLiteral("cmdStartOrder"));
}

void OrdersFixture::deleteOrder() {
    trigger(QStringLiteral("mnuDeleteOrder"));
}

void OrdersFixture::viewOrder() {
    click(QStringLiteral("cmdViewOrder"));
}

void OrdersFixture::addToOrder() {
    click(QStringLiteral("cmdOrder"));
}

void OrdersFixture::viewOrderHandler() {
    window->guard().run(QStringLiteral("show the order"),
                        [this] { OrderLifecycle(window->context()).cmdViewOrder_Click(); });
}

void OrdersFixture::deleteOrderHandler() {
    window->guard().run(QStringLiteral("delete the order"),
                        [this] { OrderLifecycle(window->context()).mnuDeleteOrder_Click(); });
}

void OrdersFixture::addToOrderHandler() {
    window->guard().run(QStringLiteral("add the part to the order"),
                        [this] { window->cmdOrder_Click(); });
}

void OrdersFixture::completeOrder() {
    window->guard().run(QStringLiteral("complete the order"),
                        [this] { OrderLifecycle(window->context()).completeOrder(); });
}

void OrdersFixture::showPart(const ShownPart& part) {
    state.resultsListed = true;
    state.resultPartIds = {part.id};
    state.selectedPartId = part.id;
    state.selectedDorvaneNum = part.dorvaneNum;
    state.selectedRoverNum = part.roverNum;
    state.selectedDescription = part.description;
    state.selectedUnitIssue = part.unitIssue;
    state.selectedCustomerPrice = part.customerPrice;
    state.selectedLRPrice = part.lrPrice;
}

void OrdersFixture::addCustomPrice(const QString& dorvaneNum, const QString& roverNum,
                                   const QString& price) {
    QStringList values{dorvaneNum, roverNum};
    if (!price.isEmpty())
        values << price;
    seed(StatementBuilder::insertRow(u"customParts",
                                     row({"DorvaneNum", "RoverNum", "CustomerPrice"}, values)));
}

void OrdersFixture::answerQuantity(const QString& quantity, const QString& comment) {
    dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [this, quantity, comment](QDialog& d) {
        auto* txtQty = d.findChild<QLineEdit*>(QStringLiteral("txtQty"));
        auto* txtComment = d.findChild<QLineEdit*>(QStringLiteral("txtComment"));
        quantityDialogs.append(seen(d));
        txtQty->clear();
        QTest::keyClicks(txtQty, quantity);
        txtComment->clear();
        QTest::keyClicks(txtComment, comment);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        quantityDialogs.last().closedByScript = !d.isVisible();
    });
}

void OrdersFixture::cancelQuantity() {
    dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [this](QDialog& d) {
        quantityDialogs.append(seen(d));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        quantityDialogs.last().closedByScript = !d.isVisible();
    });
}

void OrdersFixture::onViewOrder(ViewScript script) {
    if (!script) {
        script = [this](QDialog& d) {
            viewedGrids.append(
                gridTexts(*d.findChild<FlexGrid*>(QStringLiteral("MSFlexGridViewOrder"))));
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        };
    }
    dialogs.onWindow(QStringLiteral("frmViewOrder"), std::move(script));
}

QWidget* OrdersFixture::mainWindow() const {
    if (window)
        return window.get();
    // Still loading: the window exists, but the start hasn't handed it over yet.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"frmMain")
            return widget;
    }
    qFatal("no main window");
}

QString OrdersFixture::status() const {
    return mainWindow()->findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"))->text();
}

bool OrdersFixture::isEnabled(const QString& name) const {
    if (auto* button = mainWindow()->findChild<QPushButton*>(name))
        return button->isEnabled();
    if (auto* action = mainWindow()->findChild<QAction*>(name))
        return action->isEnabled();
    qFatal("no button or menu item %s", qPrintable(name));
}

QString OrdersFixture::commands() const {
    const auto group = [this](const QStringList& names) {
        int on = 0;
        for (const QString& name : names)
            on += isEnabled(name) ? 1 : 0;
        return on == 0              ? QStringLiteral("off")
               : on == names.size() ? QStringLiteral("on")
                                    : QStringLiteral("mixed");
    };
    const QString order =
        group({"cmdOrder", "mnuAddToOrder", "mnuDeleteOrder", "cmdViewOrder", "mnuOrderItem"});
    const QString finalise = group({"cmdFinaliseOrder", "mnuFinaliseOrder"});
    const bool indicator =
        mainWindow()->findChild<QLabel*>(QStringLiteral("StatusBar1Panel2"))->isEnabled();
    return QStringLiteral("order %1, finalise %2, ORD %3")
        .arg(order, finalise, indicator ? QStringLiteral("on") : QStringLiteral("off"));
}

QList<StoredLine> OrdersFixture::lines(qint32 orderNum) const {
    QList<StoredLine> result;
    for (const StoredLine& line : allLines()) {
        if (line.orderNum == orderNum)
            result.append(line);
    }
    return result;
}

QList<StoredLine> OrdersFixture::allLines() const {
    QList<StoredLine> result;
    Recordset rows = state.userDb->openRecordset(QStringLiteral("SELECT * FROM orderParts"));
    for (; !rows.eof(); rows.moveNext()) {
        StoredLine line;
        line.id = rows.field(u"ID").toInt32();
        line.orderNum = rows.field(u"OrderNum").toInt32();
        line.dorvaneNum = rows.field(u"DorvaneNum").toText();
        line.roverNum = rows.field(u"RoverNum").toText();
        line.description = rows.field(u"Description").toText();
        line.quantity = rows.field(u"Quantity").toInteger();
        line.price = rows.field(u"Price").toMoney();
        line.comments = rows.field(u"Comments").toText();
        result.append(line);
    }
    return result;
}

QStringList OrdersFixture::orders() const {
    QStringList result;
    Recordset rows = state.userDb->openRecordset(QStringLiteral("SELECT * FROM orders"));
    for (; !rows.eof(); rows.moveNext()) {
        result << QStringLiteral("%1 %2")
                      .arg(rows.field(u"OrderNum").toInteger())
                      .arg(rows.field(u"OrderStatus").toBool() ? QStringLiteral("completed")
                                                               : QStringLiteral("open"));
    }
    return result;
}

QStringList OrdersFixture::gridRow(const FlexGrid& grid, int row) {
    QStringList texts;
    for (int col = 0; col < grid.cols(); ++col)
        texts << grid.textMatrix(row, col);
    return texts;
}

QList<QStringList> OrdersFixture::gridTexts(const FlexGrid& grid) {
    QList<QStringList> rows;
    for (int row = 0; row < grid.rows(); ++row)
        rows << gridRow(grid, row);
    return rows;
}

} // namespace quillon::tests
