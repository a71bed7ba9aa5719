// The current order: New Order and Delete Order with their questions, the open order resumed at
// the start and shown in the View Parts Order window, and that window's Modify and Delete.
#include "order_steps.h"
#include "test_registry.h"

#include <sqlite3.h>

using namespace quillon;
using namespace quillon::tests;

namespace {

const QString startStatus = u"Dorvane Quillon - enter a part number or part description"_s;

// Order 3 completed with one line; order 7, when open, with two lines.
void seed(const ProgramDriver& app, bool open) {
    addOrder(app, 3, true, {u"DA100|NRC100|Completed line|1|2"_s});
    if (open)
        addOrder(app, 7, false, {u"DA1|NRC1|Oil filter|2|4.5"_s, u"DA2|NRC2|Air filter|1|7"_s});
}

const QStringList threeLines{u"DA1|NRC1|Oil filter|2|4.5|"_s,
                             u"DA2|Dorvane Only|Driver's seat \"cover\"|40000|1234.5|Don't bend"_s,
                             u"DA3|NRC3|Gasket\tset|10|0.25|Box of\t\"ten\""_s};

} // namespace

class OrderLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void newAndDeleteOrder_data() {
        // answer: "yes", "no", "enter": the default button
        // lines: the OrderNum of every line
        tests::addColumns<bool, QString, QString, QString, QString, QStringList, QString, QString>(
            "open", "command", "answer", "titles", "status", "orders", "lines", "commands");
        const QString none = u"order off, finalise off, ORD off"_s;
        const QString empty = u"order on, finalise off, ORD on"_s;
        const QString full = u"order on, finalise on, ORD on"_s;
        const QString started = u"Create new order?|New Order Started"_s;
        addRow("New Order, Yes", false, "cmdStartOrder", "yes", started,
               "New order started - Order number 4", QStringList{u"3|True"_s, u"4|False"_s}, "3",
               empty);
        addRow("New Order, No", false, "cmdStartOrder", "no", "Create new order?", startStatus,
               QStringList{u"3|True"_s}, "3", none);
        addRow("New Order over order 7, Yes", true, "cmdStartOrder", "yes",
               "Cancel current order?|New Order Started", "Order 7 deleted",
               QStringList{u"3|True"_s, u"8|False"_s}, "3", empty);
        addRow("New Order over order 7, Enter keeps it", true, "cmdStartOrder", "enter",
               "Cancel current order?", "Order 7 is the current order",
               QStringList{u"3|True"_s, u"7|False"_s}, "3 7 7", full);
        addRow("Delete Order, Yes", true, "mnuDeleteOrder", "yes", "Delete current order?",
               "Order 7 deleted", QStringList{u"3|True"_s}, "3", none);
        addRow("Delete Order, Enter keeps it", true, "mnuDeleteOrder", "enter",
               "Delete current order?", "Previous order number 7 not completed. Now current order.",
               QStringList{u"3|True"_s, u"7|False"_s}, "3 7 7", full);
    }

    void newAndDeleteOrder() {
        QFETCH(bool, open);
        QFETCH(QString, command);
        QFETCH(QString, answer);
        ProgramDriver app;
        seed(app, open);
        app.run();
        app.dialogs.clearRecords();

        answer == u"enter"
            ? app.dialogs.answerNextWithEnter()
            : app.dialogs.answerNext(answer == u"yes" ? Dialogs::Button::Yes : Dialogs::Button::No);
        command.startsWith(u"cmd") ? app.click(command) : app.trigger(command);

        QTEST(titles(app.dialogs), "titles");
        QTEST(app.status(), "status");
        QTEST(storedOrders(app), "orders");
        QTEST(app.userRows(u"SELECT OrderNum FROM orderParts ORDER BY ID"_s).join(u' '), "lines");
        QTEST(commands(app), "commands");
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // The order and its lines go in one transaction: when the lines can't be deleted, the order
    // stays too, still current, and the user is told.
    void deletingAnOrderIsAllOrNothing() {
        ProgramDriver app;
        seed(app, true);
        app.run();
        app.dialogs.clearRecords();
        QCOMPARE(sqlite3_exec(app.state.userDb->handle(),
                              "CREATE TEMP TRIGGER refuse BEFORE DELETE ON orderParts "
                              "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);

        app.dialogs.answerNext(Dialogs::Button::Yes);
        app.trigger(u"mnuDeleteOrder"_s);

        QCOMPARE(app.dialogs.boxes().size(), 2);
        QCOMPARE(app.dialogs.boxes()[1].icon, Dialogs::Icon::Exclamation);
        QVERIFY(app.dialogs.boxes()[1].prompt.contains(u"the disk is full"));
        QCOMPARE(storedOrders(app), QStringList({u"3|True"_s, u"7|False"_s}));
        QCOMPARE(app.userRows(u"SELECT ID FROM orderParts"_s).size(), 3);
        QCOMPARE(commands(app), u"order on, finalise on, ORD on"_s);
    }

    // The open order of the last run is the current one, told by a box and shown at the start:
    // amounts grouped and rounded to the penny, tabs shown as blanks.
    void theStartShowsTheOpenOrder_data() {
        // lines: of open order 9; none: no open order
        tests::addColumns<QStringList, QStringList, QString>("lines", "rows", "total");
        addRow("four lines", threeLines + QStringList{u"DA4|NRC4|Washer|1|0.125|"_s},
               QStringList{u"1|DA1|NRC1|Oil filter||2|£4.50|£9.00"_s,
                           u"2|DA2|Dorvane Only|Driver's seat \"cover\"|Don't bend|40000|£1,234.50|"
                           "£49,380,000.00"_s,
                           u"3|DA3|NRC3|Gasket set|Box of \"ten\"|10|£0.25|£2.50"_s,
                           u"4|DA4|NRC4|Washer||1|£0.13|£0.13"_s},
               "£49,380,011.63");
        addRow("no lines", QStringList{u""_s}, QStringList{u"|||NO parts in current order.||||"_s},
               "");
        addRow("no open order", QStringList{}, QStringList{}, "");
    }

    void theStartShowsTheOpenOrder() {
        QFETCH(QStringList, lines);
        QFETCH(QString, total);
        ProgramDriver app;
        addOrder(app, 2, true, {u"DA9|NRC9|Completed line|1|1"_s});
        if (!lines.isEmpty())
            addOrder(app, 9, false, lines == QStringList{u""_s} ? QStringList{} : lines);
        QStringList shown;
        app.dialogs.onWindow(u"frmViewOrder"_s, [&](QDialog& window) {
            shown << child<QLabel>(window, "lblOrderNum")->text()
                  << rows(window, "MSFlexGridViewOrder")
                  << child<QLineEdit>(window, "txtOrderTotal")->text();
            press(window, "cmdOK");
        });

        app.run();

        QVERIFY(app.dialogs.errors().isEmpty());
        if (lines.isEmpty()) {
            QCOMPARE(titles(app.dialogs), QString());
            QCOMPARE(app.status(), startStatus);
            QCOMPARE(commands(app), u"order off, finalise off, ORD off"_s);
            return;
        }
        QCOMPARE(app.onlyPrompt(),
                 u"Previous order number 9 was not completed and is now the current order."_s);
        QCOMPARE(app.status(), u"Previous order number 9 not completed. Now current order."_s);
        QFETCH(QStringList, rows);
        QCOMPARE(shown, QStringList{u"Order Number 9"_s} + rows + QStringList{total});
        QCOMPARE(commands(app), total.isEmpty() ? u"order on, finalise off, ORD on"_s
                                                : u"order on, finalise on, ORD on"_s);
        QCOMPARE(app.state.currentOrderNum, 9);
    }

    // Modify offers the line's values and rewrites that line alone, at the price it has; Delete
    // asks, then removes the line of the row picked in any column.
    void modifyAndDelete_data() {
        // cell: row, column
        // action: "modify", "modify cancel", "delete yes|no"
        // lines: DorvaneNum|Quantity|Price|Comments
        // shown: the row modified, or the last row
        tests::addColumns<QStringList, QPoint, QString, QString, QStringList, QString>(
            "seeded", "cell", "action", "status", "lines", "shown");
        const QStringList all{u"DA1|2|4.5|"_s, u"DA2|40000|1234.5|Don't bend"_s,
                              u"DA3|10|0.25|Box of\t\"ten\""_s};
        addRow("Modify row 2", threeLines, QPoint(2, 4), "modify", "Order updated",
               QStringList{all[0], u"DA2|7|1234.5|Ring Sam's \"desk\" first"_s, all[2]},
               "2|DA2|Dorvane Only|Driver's seat \"cover\"|Ring Sam's \"desk\" first|7|£1,234.50|"
               "£8,641.50");
        const QString second =
            u"2|DA2|Dorvane Only|Driver's seat \"cover\"|Don't bend|40000|£1,234.50|£49,380,000.00"_s;
        addRow("Modify cancelled", threeLines, QPoint(2, 4), "modify cancel", "", all, second);
        addRow("Delete row 3 by its total", threeLines, QPoint(3, 7), "delete yes", "Part deleted",
               all.mid(0, 2), second);
        addRow("Delete row 1 by its number, No", threeLines, QPoint(1, 0), "delete no",
               "Part NOT deleted", all, "3|DA3|NRC3|Gasket set|Box of \"ten\"|10|£0.25|£2.50");
        addRow("Delete the only line", threeLines.mid(0, 1), QPoint(1, 1), "delete yes",
               "Part deleted", QStringList{}, "|||NO parts in current order.||||");
    }

    void modifyAndDelete() {
        QFETCH(QStringList, seeded);
        QFETCH(QPoint, cell);
        QFETCH(QString, action);
        ProgramDriver app;
        addOrder(app, 4, false, seeded);
        // Part Detail shows another price for DA2: the line keeps its own.
        app.addParts(QStringList{
            u"ID=1|DorvaneNum=DA2|RoverNum=Dorvane Only|Description=Driver's seat|CustomerPrice=99"_s});
        app.run();
        app.type(u"txtDesc"_s, u"Driver's seat"_s);
        ProgramDriver::key(Qt::Key_Return);
        app.dialogs.clearRecords();
        QStringList offered;
        answerQuantity(app, offered, u"7 each"_s, u"Ring Sam's \"desk\" first"_s,
                       action.endsWith(u"cancel") ? u"cancel"_s : u"ok"_s);
        if (action.startsWith(u"delete"))
            app.dialogs.answerNext(action.endsWith(u"yes") ? Dialogs::Button::Yes
                                                           : Dialogs::Button::No);
        QString status;
        QString shown;
        app.dialogs.onWindow(u"frmViewOrder"_s, [&](QDialog& window) {
            ProgramDriver::clickCell(*child<FlexGrid>(window, "MSFlexGridViewOrder"), cell.x(),
                                     cell.y());
            press(window, action.startsWith(u"modify") ? "cmdModify" : "cmdDelete");
            status = child<QLabel>(window, "StatusBarOrderPanel1")->text();
            const QStringList after = rows(window, "MSFlexGridViewOrder");
            shown = action.startsWith(u"modify") ? after.value(cell.x() - 1) : after.last();
            if (shown.contains(u"NO parts")) { // nothing to act on: no question, no dialog
                press(window, "cmdModify");
                press(window, "cmdDelete");
            }
            press(window, "cmdOK");
        });

        app.click(u"cmdViewOrder"_s);

        QTEST(status, "status");
        QTEST(app.userRows(u"SELECT DorvaneNum, Quantity, Price, Comments FROM orderParts "
                           "WHERE OrderNum = 4 ORDER BY ID"_s),
              "lines");
        QTEST(shown, "shown");
        if (action.startsWith(u"modify"))
            QCOMPARE(offered.first(), u"40000|Don't bend"_s); // beyond 16 bits
        QCOMPARE(titles(app.dialogs),
                 action.startsWith(u"delete") ? u"Delete record?"_s : QString());
        QCOMPARE(commands(app), seeded.size() == 1 && action == u"delete yes"
                                    ? u"order on, finalise off, ORD on"_s
                                    : u"order on, finalise on, ORD on"_s);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(OrderLifecycleTest)

#include "test_order_lifecycle.moc"
