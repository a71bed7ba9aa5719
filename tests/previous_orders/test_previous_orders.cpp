// The Previous Orders window: the list of completed orders, the grid of the selected one with
// its total, the notices, and Print Previous Order from the window.
#include "addresses/address_table.h"
#include "order_fixture.h"
#include "orders/previous_orders_window.h"
#include "platform/flex_grid.h"
#include "platform/twips.h"
#include "store/database.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>

using namespace quillon;
using namespace quillon::tests;

namespace {

std::unique_ptr<PreviousOrdersWindow> openWindow(OrderFixture& fx) {
    auto window = std::make_unique<PreviousOrdersWindow>(fx.context);
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the Previous Orders window did not become active");
    return window;
}

FlexGrid& grid(QWidget& window) {
    return *window.findChild<FlexGrid*>("MSFlexGridOrders");
}
QListWidget& list(QWidget& window) {
    return *window.findChild<QListWidget*>("lstAllOrders");
}
QString total(QWidget& window) {
    return window.findChild<QLineEdit*>("txtAllOrdersOrderTotal")->text();
}

QStringList row(const FlexGrid& grid, int r) {
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.textMatrix(r, c);
    return texts;
}

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// Clicks list entry i, as the user does.
void clickEntry(QListWidget& list, int i) {
    const QRect rect = list.visualItemRect(list.item(i));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class TestPreviousOrders : public QObject {
    Q_OBJECT

private slots:
    void layoutInTwips();
    void noCompletedOrders();
    void threeCompletedOrdersFirstShown();
    void plainDecimalPricesAndTotal();
    void anotherEntryReplacesTheRows();
    void orderWithoutLines();
    void storedDescriptionShown();
    void printPreviousOrderFromTheWindow();
};

void TestPreviousOrders::layoutInTwips() {
    OrderFixture fx;
    auto window = openWindow(fx);
    QCOMPARE(window->objectName(), QStringLiteral("frmBackOrders"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Previous Orders"));
    const auto twips = [&window](const QWidget* widget) {
        const QRect g = widget->geometry();
        return QList<int>{Twips::fromPixelsX(g.x(), window.get()),
                          Twips::fromPixelsY(g.y(), window.get()),
                          Twips::fromPixelsX(g.width(), window.get()),
                          Twips::fromPixelsY(g.height(), window.get())};
    };
    const auto near = [](const QList<int>& got, const QList<int>& wanted) {
        for (qsizetype i = 0; i < wanted.size(); ++i)
            if (qAbs(got[i] - wanted[i]) > 15) // one pixel
                return false;
        return true;
    };
    const struct {
        const char* name;
        QList<int> box;
    } controls[] = {
        {"frameOrders", {90, 150, 12195, 2805}},
        {"lstAllOrders", {240, 360, 1695, 2010}},
        {"MSFlexGridOrders", {2070, 360, 9895, 2040}},
        {"cmdPrintPreviousOrder", {240, 2400, 1695, 240}},
        {"lblOrderTotal", {9270, 2475, 1320, 240}},
        {"txtAllOrdersOrderTotal", {10605, 2445, 1365, 285}},
        {"cmdClose", {11295, 3015, 780, 240}},
        {"OptionsStatusBar", {0, 3345, 12375, 285}},
    };
    for (const auto& control : controls) {
        const auto* widget = window->findChild<QWidget*>(QString::fromLatin1(control.name));
        QVERIFY2(widget, control.name);
        QVERIFY2(near(twips(widget), control.box), control.name);
    }
    QVERIFY(near({Twips::fromPixelsX(window->width(), window.get()),
                  Twips::fromPixelsY(window->height(), window.get())},
                 {12375, 3630}));
    QCOMPARE(row(grid(*window), 0), QStringList({"", "DV No.", "Rover No.", "Description",
                                                 "Special Instructions", "Qty", "Price", "Total"}));
}

void TestPreviousOrders::noCompletedOrders() {
    OrderFixture fx;
    fx.addOrder(false); // the open order is never listed
    auto window = openWindow(fx);
    QCOMPARE(list(*window).count(), 0);
    QCOMPARE(grid(*window).rows(), 2);
    QCOMPARE(row(grid(*window), 1),
             QStringList({"", "", "", "NO previous orders.", "", "", "", ""}));
    QCOMPARE(window->selectedOrderNum(), 0);

    // Print Previous Order says so.
    QTest::mouseClick(window->findChild<QPushButton*>("cmdPrintPreviousOrder"), Qt::LeftButton);
    QCOMPARE(fx.dialogs.boxes().size(), 1);
    QCOMPARE(fx.dialogs.boxes()[0].prompt, QStringLiteral("No previous order selected."));
}

void TestPreviousOrders::threeCompletedOrdersFirstShown() {
    OrderFixture fx;
    const qint32 a = fx.addOrder(true, "04/01/2026");
    const qint32 open = fx.addOrder(false, "05/01/2026");
    const qint32 b = fx.addOrder(true, "07/01/2026");
    const qint32 c = fx.addOrder(true, "09/01/2026");
    fx.addLine(a, "DA1", "AAA111", "First line", "1", "2", "");
    fx.addLine(open, "DA9", "ZZZ999", "Open line", "1", "1", "");
    auto window = openWindow(fx);

    QCOMPARE(entries(list(*window)), QStringList({QStringLiteral("%1  -  04/01/2026").arg(a),
                                                  QStringLiteral("%1  -  07/01/2026").arg(b),
                                                  QStringLiteral("%1  -  09/01/2026").arg(c)}));
    QCOMPARE(list(*window).currentRow(), 0);
    QCOMPARE(window->selectedOrderNum(), a);
    QCOMPARE(grid(*window).rows(), 2);
    QCOMPARE(row(grid(*window), 1),
             QStringList({"1", "DA1", "AAA111", "First line", "", "1", "£2", "£2"}));
    QCOMPARE(total(*window), QStringLiteral("2"));
}

void TestPreviousOrders::plainDecimalPricesAndTotal() {
    OrderFixture fx;
    const qint32 order = fx.addOrder(true);
    fx.addLine(order, "DA5", "EEE555", "Hub seal", "2", "12.50", "Fit both sides");
    auto window = openWindow(fx);
    QCOMPARE(row(grid(*window), 1), QStringList({"1", "DA5", "EEE555", "Hub seal", "Fit both sides",
                                                 "2", "£12.5", "£25"}));
    QCOMPARE(total(*window), QStringLiteral("25"));
    // Every data row over all columns left-aligned; row 1 selected over columns 0 to 7.
    QCOMPARE(grid(*window).dataAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(grid(*window).row(), 1);
    QCOMPARE(grid(*window).rowSel(), 1);
    QCOMPARE(grid(*window).colSel(), 7);
}

void TestPreviousOrders::anotherEntryReplacesTheRows() {
    OrderFixture fx;
    const qint32 first = fx.addOrder(true);
    const qint32 second = fx.addOrder(true);
    fx.addLine(first, "DA1", "AAA111", "One", "1", "1.25");
    fx.addLine(first, "DA2", "BBB222", "Two", "3", "0.25");
    fx.addLine(second, "DA3", "CCC333", "Three", "4", "7");
    auto window = openWindow(fx);
    QCOMPARE(grid(*window).rows(), 3);
    QCOMPARE(total(*window), QStringLiteral("2"));

    clickEntry(list(*window), 1);
    QCOMPARE(window->selectedOrderNum(), second);
    QCOMPARE(grid(*window).rows(), 2);
    QCOMPARE(row(grid(*window), 1),
             QStringList({"1", "DA3", "CCC333", "Three", "", "4", "£7", "£28"}));
    QCOMPARE(total(*window), QStringLiteral("28"));

    clickEntry(list(*window), 0);
    QCOMPARE(window->selectedOrderNum(), first);
    QCOMPARE(grid(*window).rows(), 3);
    QCOMPARE(row(grid(*window), 2),
             QStringList({"2", "DA2", "BBB222", "Two", "", "3", "£0.25", "£0.75"}));
}

void TestPreviousOrders::orderWithoutLines() {
    OrderFixture fx;
    const qint32 empty = fx.addOrder(true);
    auto window = openWindow(fx);
    QCOMPARE(window->selectedOrderNum(), empty);
    QCOMPARE(row(grid(*window), 1),
             QStringList({"", "", "", "NO parts in order.", "", "", "", ""}));
    QCOMPARE(total(*window), QString());
}

void TestPreviousOrders::storedDescriptionShown() {
    OrderFixture fx;
    fx.addCataloguePart("DA1", "AAA111", "Renamed in the new catalogue");
    const qint32 order = fx.addOrder(true);
    fx.addLine(order, "DA1", "AAA111", "Description when ordered", "1", "1");
    auto window = openWindow(fx);
    QCOMPARE(grid(*window).textMatrix(1, 3), QStringLiteral("Description when ordered"));
}

void TestPreviousOrders::printPreviousOrderFromTheWindow() {
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Office", {"Olga"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan"});
    fx.addOrder(true);
    const qint32 second = fx.addOrder(true);
    fx.addLine(second, "DA3", "CCC333", "Three", "4", "7");
    auto window = openWindow(fx);
    clickEntry(list(*window), 1);

    fx.dialogs.answerNext(Dialogs::Button::Yes);
    fx.dialogs.onWindow("frmOptions", [](QDialog& options) {
        QTest::mouseClick(options.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QPushButton*>("cmdPrintPreviousOrder"), Qt::LeftButton);

    QCOMPARE(fx.dialogs.errors(), QStringList());
    QCOMPARE(fx.browser.requests().size(), 1);
    QVERIFY(fx.page().contains(QStringLiteral("<p><b>Order Number %1</b></p>").arg(second)));
    // The window stays open with its list and grid as they were.
    QVERIFY(window->isVisible());
    QCOMPARE(list(*window).currentRow(), 1);
    QCOMPARE(grid(*window).textMatrix(1, 3), QStringLiteral("Three"));

    QTest::mouseClick(window->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->selectedOrderNum(), second); // kept after the window has closed
}

int main(int argc, char** argv) {
    useUnitedKingdomSettings();
    QApplication app(argc, argv);
    TestPreviousOrders test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_previous_orders.moc"
