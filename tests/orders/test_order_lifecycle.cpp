#include "orders_fixture.h"
#include "platform/flex_grid.h"
#include "test_registry.h"

#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

using quillon::Dialogs;
using quillon::FlexGrid;
using quillon::ScriptedDialogs;
using quillon::tests::OrdersFixture;

namespace {

const QString startStatus =
    QStringLiteral("Dorvane Quillon - enter a part number or part description");
const QString noOrderCommands = QStringLiteral("order off, finalise off, ORD off");

void checkBox(const ScriptedDialogs::Box& box, const QString& title, const QString& prompt,
              Dialogs::Buttons buttons, Dialogs::Icon icon) {
    QCOMPARE(box.title, title);
    QCOMPARE(box.prompt, prompt);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.icon, icon);
}

void checkNoOrderError(const ScriptedDialogs::Box& box) {
    checkBox(box, "Error: No current order",
             "No current order.\r\n\r\nSelect \"New Order\" to create a new order.",
             Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

QString todayShortDate() {
    return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

class OrderLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    // New Order and Delete Order, with and without an open order. Order 3 is completed; order 7,
    // when there is one, is open with two lines.
    void newAndDeleteOrder_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("boxes"); // "title|prompt"
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("orders");
        QTest::addColumn<QString>("lines"); // OrderNum of every line
        QTest::addColumn<QString>("commands");
        const QString started = "New Order Started|New order started.\r\n\r\nOrder number = ";
        const QString newOrderCommands = "order on, finalise off, ORD on";
        QTest::newRow("New Order, Yes")
            << false << "cmdStartOrder" << true
            << QStringList{"Create new order?|Do you want to create a "
                           "new order?",
                           started + "4"}
            << "New order started - Order number 4" << QStringList{"3 completed", "4 open"} << "3"
            << newOrderCommands;
        QTest::newRow("New Order, No")
            << false << "cmdStartOrder" << false
            << QStringList{"Create new order?|Do you want to create a new order?"} << startStatus
            << QStringList{"3 completed"} << "3" << noOrderCommands;
        // The new number is told by the box; the status line still tells the deletion.
        QTest::newRow("New Order replacing order 7")
            << true << "cmdStartOrder" << true
            << QStringList{"Cancel current order?|Order number 7 is currently active.\r\n\r\nDo "
                           "you want to cancel this order and create a new order?\r\n\r\nThis "
                           "will remove your previous order and all items added to the order.",
                           started + "8"}
            << "Order 7 deleted" << QStringList{"3 completed", "8 open"} << "3" << newOrderCommands;
        QTest::newRow("Delete Order")
            << true << "mnuDeleteOrder" << true
            << QStringList{"Delete current order?|Order number 7 is currently active.\r\n\r\nDo "
                           "you want to delete this order?\r\n\r\nThis will remove the order and "
                           "all items added to the order."}
            << "Order 7 deleted" << QStringList{"3 completed"} << "3" << noOrderCommands;
    }

    void newAndDeleteOrder() {
        QFETCH(bool, open);
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(QStringList, boxes);
        QFETCH(QString, status);
        QFETCH(QStringList, orders);
        QFETCH(QString, lines);
        QFETCH(QString, commands);
        OrdersFixture f;
        f.seedOrder(3, true);
        f.seedLine(3, "DA100", "NRC100", "Completed line", 1, "2", "");
        if (open) {
            f.seedOrder(7, false);
            f.seedLine(7, "DA1", "NRC1", "Oil filter", 2, "4.5", "");
            f.seedLine(7, "DA2", "NRC2", "Air filter", 1, "7", "");
        }
        QVERIFY(f.start());
        f.dialogs.clearRecords();

        f.dialogs.answerNext(yes ? Dialogs::Button::Yes : Dialogs::Button::No);
        command == "cmdStartOrder" ? f.newOrder() : f.deleteOrder();

        QStringList shown;
        for (const auto& box : f.dialogs.boxes()) {
            shown << box.title + "|" + box.prompt;
            QCOMPARE(box.buttons,
                     box.title.endsWith("?") ? Dialogs::Buttons::YesNo : Dialogs::Buttons::Ok);
            QCOMPARE(box.icon, box.title.endsWith("?") ? Dialogs::Icon::Question
                                                       : Dialogs::Icon::Exclamation);
        }
        QCOMPARE(shown, boxes);
        QCOMPARE(f.status(), status);
        QCOMPARE(f.orders(), orders);
        QStringList lineOrders;
        for (const auto& line : f.allLines())
            lineOrders << QString::number(line.orderNum);
        QCOMPARE(lineOrders.join(u' '), lines);
        QCOMPARE(f.commands(), commands);
        QCOMPARE(f.state.orderActive, orders.last().endsWith("open"));
        QVERIFY(f.isEnabled("cmdStartOrder") && f.isEnabled("mnuNewOrder"));
        if (orders.last().endsWith("open")) {
            QCOMPARE(f.state.currentOrderNum, orders.last().section(u' ', 0, 0).toInt());
            QCOMPARE(f.state.userDb->openRecordset("SELECT * FROM orders WHERE OrderStatus = FALSE")
                         .field(u"OrderDate")
                         .toText(),
                     todayShortDate());
        }
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // The order and its lines go in one transaction: when the lines can't be deleted, the order
    // stays too, still current, and the user is told.
    void deletingAnOrderIsAllOrNothing() {
        OrdersFixture f;
        f.seedOrder(5, false);
        f.seedLine(5, "DA1", "NRC1", "Oil filter", 2, "4.5", "");
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        char* message = nullptr;
        QCOMPARE(sqlite3_exec(f.state.userDb->handle(),
                              "CREATE TEMP TRIGGER refuse BEFORE DELETE ON orderParts "
                              "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END",
                              nullptr, nullptr, &message),
                 SQLITE_OK);

        f.dialogs.answerNext(Dialogs::Button::Yes);
        f.deleteOrder();

        QCOMPARE(f.dialogs.boxes().size(), 2);
        QCOMPARE(f.dialogs.boxes()[1].icon, Dialogs::Icon::Exclamation);
        QVERIFY(f.dialogs.boxes()[1].prompt.contains("the disk is full"));
        QCOMPARE(f.orders(), QStringList{"5 open"});
        QCOMPARE(f.lines(5).size(), 1);
        QVERIFY(f.state.orderActive);
        QCOMPARE(f.commands(), "order on, finalise on, ORD on");
    }

    void commandsWithoutAnOrderShowTheNoOrderError() {
        OrdersFixture f;
        QVERIFY(f.start());
        QCOMPARE(f.commands(), noOrderCommands);

        f.viewOrderHandler();
        f.deleteOrderHandler();

        QCOMPARE(f.dialogs.boxes().size(), 2);
        checkNoOrderError(f.dialogs.boxes()[0]);
        checkNoOrderError(f.dialogs.boxes()[1]);
        QVERIFY(f.dialogs.shownWindows().isEmpty());
        QCOMPARE(f.status(), startStatus);
        QVERIFY(f.orders().isEmpty());
    }

    void completingTheOrderEndsIt() {
        OrdersFixture f;
        f.seedOrder(6, false);
        f.seedLine(6, "DA1", "NRC1", "Oil filter", 2, "4.5", "");
        QVERIFY(f.start());
        f.dialogs.clearRecords();

        f.completeOrder();

        QCOMPARE(f.status(), "Order number 6 completed.");
        QCOMPARE(f.orders(), QStringList{"6 completed"});
        QCOMPARE(f.lines(6).size(), 1);
        QCOMPARE(f.commands(), noOrderCommands);
        QVERIFY(f.isEnabled("cmdStartOrder"));
        QVERIFY(!f.state.orderActive);

        f.viewOrderHandler();
        QCOMPARE(f.dialogs.boxes().size(), 1);
        checkNoOrderError(f.dialogs.boxes()[0]);
        QVERIFY(f.dialogs.shownWindows().isEmpty());
    }

    void startUpResumesTheOpenOrder_data() {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("with lines") << 2;
        QTest::newRow("without lines") << 0;
    }

    void startUpResumesTheOpenOrder() {
        QFETCH(int, lineCount);
        OrdersFixture f;
        f.seedOrder(2, true);
        f.seedLine(2, "DA9", "NRC9", "Completed line", 1, "1", "");
        f.seedOrder(9, false);
        for (int i = 1; i <= lineCount; ++i)
            f.seedLine(9, QStringLiteral("DA%1").arg(i), QStringLiteral("NRC%1").arg(i),
                       QStringLiteral("Line %1").arg(i), i, "3", "");
        // What the user saw when the View Parts Order window came up.
        QString statusWhenShown;
        QString commandsWhenShown;
        qsizetype boxesBeforeWindow = -1;
        QList<QStringList> rows;
        f.onViewOrder([&](QDialog& window) {
            statusWhenShown = f.status();
            commandsWhenShown = f.commands();
            boxesBeforeWindow = f.dialogs.boxes().size();
            QCOMPARE(window.windowTitle(), "View Parts Order");
            QCOMPARE(window.findChild<QLabel*>("lblOrderNum")->text(), "Order Number 9");
            rows = OrdersFixture::gridTexts(*window.findChild<FlexGrid*>("MSFlexGridViewOrder"));
            window.findChild<QPushButton*>("cmdOK")->click();
        });

        QVERIFY(f.start());

        QCOMPARE(f.dialogs.shownWindows(), QStringList{"frmViewOrder"});
        QCOMPARE(boxesBeforeWindow, 1);
        QCOMPARE(f.dialogs.boxes().size(), 1);
        checkBox(f.dialogs.boxes()[0], "Dorvane Quillon",
                 "Previous order number 9 was not completed and is now the current order.",
                 Dialogs::Buttons::Ok, Dialogs::Icon::None);
        const QString status = "Previous order number 9 not completed. Now current order.";
        QCOMPARE(statusWhenShown, status);
        QCOMPARE(f.status(), status);
        const QString commands =
            lineCount > 0 ? "order on, finalise on, ORD on" : "order on, finalise off, ORD on";
        QCOMPARE(commandsWhenShown, commands);
        QCOMPARE(f.commands(), commands);
        QCOMPARE(rows.size(), 1 + std::max(lineCount, 1));
        if (lineCount == 0)
            QCOMPARE(rows[1][3], "NO parts in current order.");
        else
            QCOMPARE(rows[2].mid(1, 3), (QStringList{"DA2", "NRC2", "Line 2"}));
        QVERIFY(f.state.orderActive);
        QCOMPARE(f.state.currentOrderNum, 9);
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    void startUpWithoutAnOpenOrderShowsNothing() {
        OrdersFixture f;
        f.seedOrder(2, true);
        f.seedLine(2, "DA9", "NRC9", "Completed line", 1, "1", "");

        QVERIFY(f.start());

        QVERIFY(f.dialogs.boxes().isEmpty());
        QVERIFY(f.dialogs.shownWindows().isEmpty());
        QCOMPARE(f.status(), startStatus);
        QCOMPARE(f.commands(), noOrderCommands);
        QVERIFY(!f.state.orderActive);
    }
};

QUILLON_TEST_CLASS(OrderLifecycleTest)

#include "test_order_lifecycle.moc"
