#include "app_fixture.h"
#include "store/store_error.h"
#include "test_registry.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

using namespace quillon;
using quillon::tests::AppFixture;

class GuardTest : public QObject {
    Q_OBJECT

private slots:
    // A handler that fails shows what could not be done and why, and the window goes on.
    void failingHandlerShowsErrorAndWindowGoesOn_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reason"); // a part of the box's prompt
        QTest::newRow("engine error") << "engine"
                                      << "The database reported:";
        QTest::newRow("file error") << "file"
                                    << "printOrder.html can't be written";
        QTest::newRow("anything thrown") << "other"
                                         << "An unexpected error occurred.";
    }

    void failingHandlerShowsErrorAndWindowGoesOn() {
        QFETCH(QString, failure);
        QFETCH(QString, reason);
        AppFixture app;
        MainWindow& window = app.started();

        // A control of the window whose handler fails, clicked like any other.
        auto* button = new QPushButton(QStringLiteral("Fail"), &window);
        button->show();
        int ran = 0;
        QObject::connect(button, &QPushButton::clicked, &window, [&] {
            window.guard().run(QStringLiteral("store the custom price"), [&] {
                ++ran;
                if (failure == QLatin1String("engine"))
                    app.state.userDb->execute(
                        QStringLiteral("UPDATE customParts SET CustomerPrice = 'abc'"
                                       " WHERE NoSuchColumn = 1"));
                else if (failure == QLatin1String("file"))
                    throw std::runtime_error("printOrder.html can't be written");
                else
                    throw 42;
            });
        });

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(ran, 1);
        QCOMPARE(app.dialogs.boxes().size(), 1);
        const auto& box = app.dialogs.boxes().first();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QVERIFY2(box.prompt.startsWith(QStringLiteral("Could not store the custom price.\r\n\r\n")),
                 qPrintable(box.prompt));
        QVERIFY2(box.prompt.contains(reason), qPrintable(box.prompt));

        // The window keeps working: the event loop runs, the same control works again, the
        // stores answer, typing and the menus work.
        QTest::qWait(10);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(ran, 2);
        QCOMPARE(app.dialogs.boxes().size(), 2);
        QVERIFY(
            app.state.userDb->openRecordset(QStringLiteral("SELECT * FROM customParts")).isEmpty());
        auto* txtPart = app.find<QLineEdit>(QStringLiteral("txtPart"));
        QTest::keyClicks(txtPart, QStringLiteral("NRC"));
        QCOMPARE(txtPart->text(), QStringLiteral("NRC"));
        app.find<QAction>(QStringLiteral("mnuCloseItem"))->trigger();
        QVERIFY(!window.isVisible());
    }

    void handlerThatRunsToItsEnd() {
        ScriptedDialogs dialogs;
        HandlerGuard guard(dialogs);
        int ran = 0;
        QVERIFY(guard.run(QStringLiteral("exit"), [&] { ++ran; }));
        QCOMPARE(ran, 1);
        QVERIFY(dialogs.boxes().isEmpty());
    }
};

QUILLON_TEST_CLASS(GuardTest)
#include "test_guard.moc"
