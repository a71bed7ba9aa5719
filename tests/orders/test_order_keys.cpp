// The order by keyboard and at a glance: the View Parts Order window driven by keys alone, and
// the Status bar panel beside ORD that shows the open order's number, lines and total.
#include "order_steps.h"
#include "test_registry.h"

using namespace quillon;
using namespace quillon::tests;

namespace {

// Order 4, open, with three lines worth £9.00, £10.00 and £2.50.
void seed(const ProgramDriver& app) {
    addOrder(app, 4, false,
             {u"DA1|NRC1|Oil filter|2|4.5"_s, u"DA2|NRC2|Seat cover|1|10"_s,
              u"DA3|NRC3|Gasket set|10|0.25"_s});
}

QString summary(const ProgramDriver& app) {
    auto* panel = app.control<QLabel>(u"StatusBar1OrderSummary"_s);
    return panel->isVisibleTo(app.window.get()) ? panel->text() : u"<hidden>"_s;
}

QString quantities(const ProgramDriver& app) {
    return app.userRows(u"SELECT DorvaneNum, Quantity FROM orderParts ORDER BY ID"_s).join(u' ');
}

class OrderKeysTest : public QObject {
    Q_OBJECT

private slots:
    // Keys pressed in the View Parts Order window as it opens (the focus on the first line); a
    // line modified gets the quantity 7.
    void viewOrderByKeyboard_data() {
        // answer: to "Delete record?"; -1: Enter (No)
        // focus: after the keys; "closed"
        tests::addColumns<QString, int, QString, QString, QString, QString>(
            "keys", "answer", "focus", "status", "stored", "summary");
        const int yes = int(Dialogs::Button::Yes), no = int(Dialogs::Button::No), enter = -1;
        const char* kept = "DA1|2 DA2|1 DA3|10";
        const char* whole = "Order 4 · 3 lines · £21.50";
        addRow("Enter modifies the first line", "Return", 0, "MSFlexGridViewOrder", "Order updated",
               "DA1|7 DA2|1 DA3|10", "Order 4 · 3 lines · £44.00");
        addRow("Down, Enter modifies the second", "Down;Return", 0, "MSFlexGridViewOrder",
               "Order updated", "DA1|2 DA2|7 DA3|10", "Order 4 · 3 lines · £81.50");
        addRow("Delete key asks, Enter answers No", "Delete", enter, "MSFlexGridViewOrder",
               "Part NOT deleted", kept, whole);
        addRow("Delete key on the third line, Yes", "Down;Down;Delete", yes, "MSFlexGridViewOrder",
               "Part deleted", "DA1|2 DA2|1", "Order 4 · 2 lines · £19.00");
        addRow("Tab to Modify, Enter", "Tab;Return", 0, "cmdModify", "Order updated",
               "DA1|7 DA2|1 DA3|10", "Order 4 · 3 lines · £44.00");
        addRow("Tab twice to Delete, Enter, Yes", "Tab;Tab;Return", yes, "cmdDelete",
               "Part deleted", "DA2|1 DA3|10", "Order 4 · 2 lines · £12.50");
        addRow("Space on Delete, No", "Tab;Tab;Space", no, "cmdDelete", "Part NOT deleted", kept,
               whole);
        addRow("Tab three times to OK, Enter closes", "Tab;Tab;Tab;Return", 0, "closed", "", kept,
               whole);
        addRow("Tab leaves the total out", "Tab;Tab;Tab;Tab", 0, "MSFlexGridViewOrder", "", kept,
               whole);
    }
    void viewOrderByKeyboard() {
        QFETCH(QString, keys);
        QFETCH(int, answer);
        ProgramDriver app;
        seed(app);
        QStringList offered;
        answerQuantity(app, offered, u"7"_s);
        app.dialogs.onWindow(u"frmViewOrder"_s, [](QDialog& window) { window.close(); });
        app.run();
        QCOMPARE(summary(app), u"Order 4 · 3 lines · £21.50"_s);
        app.dialogs.clearRecords();
        if (answer == -1)
            app.dialogs.answerNextWithEnter();
        else if (answer != 0)
            app.dialogs.answerNext(Dialogs::Button(answer));
        QString focus;
        QString status;
        app.dialogs.onWindow(u"frmViewOrder"_s, [&](QDialog& window) {
            // A modal window takes the input from the window it was opened on.
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QCOMPARE(QApplication::focusWidget()->objectName(), u"MSFlexGridViewOrder"_s);
            for (const QString& key : keys.split(u';')) {
                ProgramDriver::key(QKeySequence::fromString(key)[0].key());
                if (!window.isVisible())
                    break;
            }
            focus = window.isVisible() ? QApplication::focusWidget()->objectName() : u"closed"_s;
            status = child<QLabel>(window, "StatusBarOrderPanel1")->text();
            window.close();
        });
        app.click(u"cmdViewOrder"_s);

        QTEST(focus, "focus");
        QTEST(status, "status");
        QTEST(quantities(app), "stored");
        QTEST(summary(app), "summary");
        if (answer != 0) {
            QCOMPARE(app.dialogs.boxes().size(), 1);
            QCOMPARE(app.dialogs.boxes()[0].title, u"Delete record?"_s);
            QCOMPARE(app.dialogs.boxes()[0].defaultButton, Dialogs::Button::No);
        }
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // The panel follows every change of the order; ORD stays as it is.
    void summaryFollowsTheOrder_data() {
        tests::addColumns<QString, QString, bool>("steps", "summary", "ord");
        addRow("no order", "", "<hidden>", false);
        addRow("new order", "new", "Order 5 · 0 lines · £0.00", true);
        addRow("a part added", "new;add", "Order 5 · 1 line · £24.69", true);
        addRow("its line updated", "new;add;add", "Order 5 · 1 line · £24.69", true);
        addRow("order deleted", "new;add;delete", "<hidden>", false);
        addRow("resumed at the start", "new;add;restart", "Order 5 · 1 line · £24.69", true);
    }
    void summaryFollowsTheOrder() {
        QFETCH(QString, steps);
        ProgramDriver app;
        addOrder(app, 4, true, {u"DA9|NRC9|Old line|1|1"_s});
        addParts(app, {u"BR1|STC1|Brake pad|8.23"_s});
        QStringList offered;
        answerQuantity(app, offered, u"3"_s);
        app.dialogs.onWindow(u"frmViewOrder"_s, [](QDialog& window) { window.close(); });
        app.run();
        app.searchPart(u"STC1"_s);
        for (const QString& step : steps.split(u';', Qt::SkipEmptyParts)) {
            if (step == u"new") {
                app.dialogs.answerNext(Dialogs::Button::Yes);
                app.click(u"cmdStartOrder"_s);
            } else if (step == u"add") {
                if (!app.userRows(u"SELECT ID FROM orderParts WHERE OrderNum = 5"_s).isEmpty())
                    app.dialogs.answerNext(Dialogs::Button::Yes); // "Part exists in order."
                app.click(u"cmdOrder"_s);
            } else if (step == u"delete") {
                app.dialogs.answerNext(Dialogs::Button::Yes);
                app.trigger(u"mnuDeleteOrder"_s);
            } else {
                app.restart();
            }
        }
        QTEST(summary(app), "summary");
        QTEST(app.control<QLabel>(u"StatusBar1Panel2"_s)->isEnabled(), "ord");
        QCOMPARE(app.control<QLabel>(u"StatusBar1Panel2"_s)->text(), u"ORD"_s);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

} // namespace

QUILLON_TEST_CLASS(OrderKeysTest)
#include "test_order_keys.moc"
