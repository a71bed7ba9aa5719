// The current order: New Order and Delete Order with their questions and the panel beside ORD,
// the open order resumed at the start and shown in the View Parts Order window, and that window's
// Modify and Delete by mouse and by keys alone.
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
        // summary: the panel beside ORD
        tests::addColumns<bool, QString, QString, QString, QString, QStringList, QString, QString,
                          QString>("open", "command", "answer", "titles", "status", "orders",
                                   "lines", "commands", "summary");
        const QString none = u"order off, finalise off, ORD off"_s;
        const QString empty = u"order on, finalise off, ORD on"_s;
        const QString full = u"order on, finalise on, ORD on"_s;
        const QString started = u"Create new order?|New Order Started"_s;
        addRow("New Order, Yes", false, "cmdStartOrder", "yes", started,
               "New order started - Order number 4", QStringList{u"3|True"_s, u"4|False"_s}, "3",
               empty, "Order 4 · 0 lines · £0.00");
        addRow("New Order, No", false, "cmdStartOrder", "no", "Create new order?", startStatus,
               QStringList{u"3|True"_s}, "3", none, "<hidden>");
        addRow("New Order over order 7, Yes", true, "cmdStartOrder", "yes",
               "Cancel current order?|New Order Started", "Order 7 deleted",
               QStringList{u"3|True"_s, u"8|False"_s}, "3", empty, "Order 8 · 0 lines · £0.00");
        addRow("New Order over order 7, Enter keeps it", true, "cmdStartOrder", "enter",
               "Cancel current order?", "Order 7 is the current order",
               QStringList{u"3|True"_s, u"7|False"_s}, "3 7 7", full, "Order 7 · 2 lines · £16.00");
        addRow("Delete Order, Yes", true, "mnuDeleteOrder", "yes", "Delete current order?",
               "Order 7 deleted", QStringList{u"3|True"_s}, "3", none, "<hidden>");
        addRow("Delete Order, Enter keeps it", true, "mnuDeleteOrder", "enter",
               "Delete current order?", "Previous order number 7 not completed. Now current order.",
               QStringList{u"3|True"_s, u"7|False"_s}, "3 7 7", full, "Order 7 · 2 lines · £16.00");
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
        QTEST(summary(app), "summary");
        QCOMPARE(app.control<QLabel>(u"StatusBar1Panel2"_s)->text(), u"ORD"_s); // as it was
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

    // The View Parts Order window by mouse and by keys alone (the focus on the first line as it
    // opens): Modify offers the line's values and rewrites that line alone, at the price it has,
    // with the quantity 7; Delete asks, No the default, then removes the line of the row picked
    // in any column.
    void viewPartsOrder_data() {
        // lineCount: of threeLines in order 4
        // steps: "row,column" clicks that cell, "cmd..." presses that button, else a key
        // answer: to "Delete record?" ("yes", "no", "enter"), "cancel" to Part Order Details
        // focus: after the steps, "closed"; shown: a row of the grid then, found by its number
        // lines: DorvaneNum|Quantity|Price|Comments
        tests::addColumns<int, QString, QString, QString, QString, QString, QStringList, QString,
                          QString>("lineCount", "steps", "answer", "focus", "status", "offered",
                                   "lines", "shown", "summary");
        const QStringList all{u"DA1|2|4.5|"_s, u"DA2|40000|1234.5|Don't bend"_s,
                              u"DA3|10|0.25|Box of\t\"ten\""_s};
        const QString note = u"Ring Sam's \"desk\" first"_s;
        const QStringList first{u"DA1|7|4.5|"_s + note, all[1], all[2]};
        const QStringList second{all[0], u"DA2|7|1234.5|"_s + note, all[2]};
        const QString firstRow = u"1|DA1|NRC1|Oil filter|"_s + note + u"|7|£4.50|£31.50";
        const QString secondRow =
            u"2|DA2|Dorvane Only|Driver's seat \"cover\"|"_s + note + u"|7|£1,234.50|£8,641.50";
        const QString last = u"3|DA3|NRC3|Gasket set|Box of \"ten\"|10|£0.25|£2.50"_s;
        const QString lastButOne =
            u"2|DA2|Dorvane Only|Driver's seat \"cover\"|Don't bend|40000|£1,234.50|£49,380,000.00"_s;
        const QString whole = u"Order 4 · 3 lines · £49,380,011.50"_s;
        const QString withoutLast = u"Order 4 · 2 lines · £49,380,009.00"_s;
        const QString grid = u"MSFlexGridViewOrder"_s;
        addRow("Enter modifies the first line", 3, "Return", "", grid, "Order updated", "2|", first,
               firstRow, "Order 4 · 3 lines · £49,380,034.00");
        addRow("Down, Enter modifies the second", 3, "Down;Return", "", grid, "Order updated",
               "40000|Don't bend", second, secondRow, "Order 4 · 3 lines · £8,653.00");
        addRow("Tab to Modify, Enter", 3, "Tab;Return", "", "cmdModify", "Order updated", "2|",
               first, firstRow, "Order 4 · 3 lines · £49,380,034.00");
        addRow("row 2 clicked, Modify", 3, "2,4;cmdModify", "", "cmdModify", "Order updated",
               "40000|Don't bend", second, secondRow, "Order 4 · 3 lines · £8,653.00");
        addRow("Modify cancelled", 3, "2,4;cmdModify", "cancel", "cmdModify", "",
               "40000|Don't bend", all, lastButOne, whole);
        addRow("Delete key asks, Enter answers No", 3, "Delete", "enter", grid, "Part NOT deleted",
               "", all, last, whole);
        addRow("Delete key on the third line, Yes", 3, "Down;Down;Delete", "yes", grid,
               "Part deleted", "", all.mid(0, 2), lastButOne, withoutLast);
        addRow("Tab twice to Delete, Enter, Yes", 3, "Tab;Tab;Return", "yes", "cmdDelete",
               "Part deleted", "", all.mid(1),
               "2|DA3|NRC3|Gasket set|Box of \"ten\"|10|£0.25|£2.50",
               "Order 4 · 2 lines · £49,380,002.50");
        addRow("Space on Delete, No", 3, "Tab;Tab;Space", "no", "cmdDelete", "Part NOT deleted", "",
               all, last, whole);
        addRow("row 3 clicked by its total, Delete", 3, "3,7;cmdDelete", "yes", "cmdDelete",
               "Part deleted", "", all.mid(0, 2), lastButOne, withoutLast);
        addRow("row 1 clicked by its number, Delete, No", 3, "1,0;cmdDelete", "no", "cmdDelete",
               "Part NOT deleted", "", all, last, whole);
        addRow("the only line deleted: nothing to act on", 1, "1,1;cmdDelete;cmdModify;cmdDelete",
               "yes", "cmdDelete", "Part deleted", "", QStringList{},
               "|||NO parts in current order.||||", "Order 4 · 0 lines · £0.00");
        addRow("Tab three times to OK, Enter closes", 3, "Tab;Tab;Tab;Return", "", "closed", "", "",
               all, last, whole);
        addRow("Tab leaves the total out", 3, "Tab;Tab;Tab;Tab", "", grid, "", "", all, last,
               whole);
    }

    void viewPartsOrder() {
        QFETCH(int, lineCount);
        QFETCH(QString, steps);
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        QFETCH(QString, summary);
        ProgramDriver app;
        addOrder(app, 4, false, threeLines.mid(0, lineCount));
        // Part Detail shows another price for DA2: the line keeps its own.
        app.addParts(QStringList{
            u"ID=1|DorvaneNum=DA2|RoverNum=Dorvane Only|Description=Driver's seat|CustomerPrice=99"_s});
        app.run();
        app.type(u"txtDesc"_s, u"Driver's seat"_s);
        ProgramDriver::key(Qt::Key_Return);
        app.dialogs.clearRecords();
        QStringList offered;
        answerQuantity(app, offered, u"7 each"_s, u"Ring Sam's \"desk\" first"_s,
                       answer == u"cancel" ? u"cancel"_s : u"ok"_s);
        if (answer == u"enter")
            app.dialogs.answerNextWithEnter();
        else if (answer == u"yes" || answer == u"no")
            app.dialogs.answerNext(answer == u"yes" ? Dialogs::Button::Yes : Dialogs::Button::No);
        QString focus;
        QString status;
        QString row;
        app.dialogs.onWindow(u"frmViewOrder"_s, [&](QDialog& window) {
            // A modal window takes the input from the window it was opened on.
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QCOMPARE(QApplication::focusWidget()->objectName(), u"MSFlexGridViewOrder"_s);
            for (const QString& step : steps.split(u';')) {
                if (step.contains(u','))
                    ProgramDriver::clickCell(*child<FlexGrid>(window, "MSFlexGridViewOrder"),
                                             step.section(u',', 0, 0).toInt(),
                                             step.section(u',', 1).toInt());
                else if (step.startsWith(u"cmd"))
                    press(window, step);
                else
                    ProgramDriver::key(QKeySequence::fromString(step)[0].key());
                if (!window.isVisible())
                    break;
            }
            focus = window.isVisible() ? QApplication::focusWidget()->objectName() : u"closed"_s;
            status = child<QLabel>(window, "StatusBarOrderPanel1")->text();
            row = rows(window, "MSFlexGridViewOrder")
                      .value(qMax(1, shown.section(u'|', 0, 0).toInt()) - 1);
            window.close();
        });

        app.click(u"cmdViewOrder"_s);

        QTEST(focus, "focus");
        QTEST(status, "status");
        QTEST(offered.value(0), "offered"); // 40000: beyond 16 bits
        QTEST(app.userRows(u"SELECT DorvaneNum, Quantity, Price, Comments FROM orderParts "
                           "WHERE OrderNum = 4 ORDER BY ID"_s),
              "lines");
        QCOMPARE(row, shown);
        QCOMPARE(tests::summary(app), summary);
        const bool asked = answer == u"yes" || answer == u"no" || answer == u"enter";
        QCOMPARE(titles(app.dialogs), asked ? u"Delete record?"_s : QString());
        if (asked)
            QCOMPARE(app.dialogs.boxes()[0].defaultButton, Dialogs::Button::No);
        QCOMPARE(commands(app), summary.contains(u" 0 lines") ? u"order on, finalise off, ORD on"_s
                                                              : u"order on, finalise on, ORD on"_s);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(OrderLifecycleTest)

#include "test_order_lifecycle.moc"
