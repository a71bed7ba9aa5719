#include "app_fixture.h"
#include "test_registry.h"

#include <QAction>

using namespace quillon;
using quillon::tests::AppFixture;

namespace {

const QString question =
    QStringLiteral("There is an order in progress.\r\n\r\nDo you still want to exit?");
const QString notice = QStringLiteral("There is an order in progress.\r\n\r\nThe order will be "
                                      "available when Quillon is next opened.");

} // namespace

class ShutdownTest : public QObject {
    Q_OBJECT

private slots:
    void exitAndClose_data() {
        QTest::addColumn<bool>("orderActive");
        QTest::addColumn<QString>("route");  // "exit": the Exit item; "close": the close box
        QTest::addColumn<QString>("answer"); // the answer to the question, if one is asked
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<bool>("closed");

        QTest::newRow("exit, no order") << false << "exit"
                                        << "" << QStringList{} << true;
        QTest::newRow("exit, order, No") << true << "exit"
                                         << "No" << QStringList{question} << false;
        QTest::newRow("exit, order, Yes") << true << "exit"
                                          << "Yes" << QStringList{question, notice} << true;
        QTest::newRow("close box, no order") << false << "close"
                                             << "" << QStringList{} << true;
        QTest::newRow("close box, order") << true << "close"
                                          << "" << QStringList{notice} << true;
    }

    void exitAndClose() {
        QFETCH(bool, orderActive);
        QFETCH(QString, route);
        QFETCH(QString, answer);
        QFETCH(QStringList, prompts);
        QFETCH(bool, closed);

        AppFixture app;
        MainWindow& window = app.started();
        app.state.orderActive = orderActive;
        app.state.currentOrderNum = orderActive ? 7 : 0;
        if (answer == QLatin1String("Yes"))
            app.dialogs.answerNext(Dialogs::Button::Yes);
        if (answer == QLatin1String("No"))
            app.dialogs.answerNext(Dialogs::Button::No);

        if (route == QLatin1String("exit"))
            app.find<QAction>(QStringLiteral("mnuCloseItem"))->trigger();
        else
            window.close();

        QCOMPARE(window.isVisible(), !closed);
        QVERIFY(app.dialogs.errors().isEmpty());
        QCOMPARE(app.dialogs.pendingAnswers(), 0);
        QStringList shown;
        for (const auto& box : app.dialogs.boxes()) {
            shown << box.prompt;
            QCOMPARE(box.title, QStringLiteral("Order in Progress"));
            QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
            QCOMPARE(box.buttons,
                     box.prompt == question ? Dialogs::Buttons::YesNo : Dialogs::Buttons::Ok);
        }
        QCOMPARE(shown, prompts);
        // Leaving never touches the order.
        QCOMPARE(app.state.orderActive, orderActive);
        QCOMPARE(app.state.currentOrderNum, orderActive ? 7 : 0);
    }

    void exitKeepsTheOpenOrderStored() {
        AppFixture app;
        MainWindow& window = app.started();
        app.state.userDb->execute(
            QStringLiteral("INSERT INTO orders(orderDate) SELECT '03/04/2025' AS orderDate"));
        app.state.orderActive = true;
        app.dialogs.answerNext(Dialogs::Button::Yes);
        app.find<QAction>(QStringLiteral("mnuCloseItem"))->trigger();
        QVERIFY(!window.isVisible());
        const Recordset open = app.state.userDb->openRecordset(
            QStringLiteral("SELECT * FROM orders WHERE OrderStatus = FALSE"));
        QCOMPARE(open.recordCount(), 1);
    }
};

QUILLON_TEST_CLASS(ShutdownTest)
#include "test_shutdown.moc"
