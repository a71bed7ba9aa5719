#include "platform/qt_dialogs.h"
#include "scripted_dialogs.h"
#include "test_registry.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

using namespace quillon;

// The test dialogs every window test relies on: they must answer as scripted, never block, and
// say loudly when a test did not expect a box.
class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void boxesAreRecordedAndAnsweredFromTheScript() {
        ScriptedDialogs dialogs;
        dialogs.answerNext(Dialogs::Button::Yes);
        dialogs.answerNext(Dialogs::Button::No);
        QCOMPARE(dialogs.messageBox(QStringLiteral("Saved.")), Dialogs::Button::Ok);
        QCOMPARE(dialogs.messageBox(QStringLiteral("Go?"), Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question, QStringLiteral("Ask")),
                 Dialogs::Button::Yes);
        QCOMPARE(dialogs.messageBox(QStringLiteral("Really?"), Dialogs::Buttons::YesNo),
                 Dialogs::Button::No);
        QCOMPARE(dialogs.boxes().size(), 3);
        QCOMPARE(dialogs.boxes().at(0).title, QStringLiteral("Dorvane Quillon"));
        QCOMPARE(dialogs.boxes().at(1).title, QStringLiteral("Ask"));
        QCOMPARE(dialogs.boxes().at(1).icon, Dialogs::Icon::Question);
        QVERIFY(dialogs.errors().isEmpty());

        // Nothing scripted: a loud error and No, never a wait.
        QCOMPARE(dialogs.messageBox(QStringLiteral("Delete?"), Dialogs::Buttons::YesNo),
                 Dialogs::Button::No);
        QCOMPARE(dialogs.errors().size(), 1);
        QVERIFY(dialogs.errors().first().contains(QStringLiteral("Delete?")));

        dialogs.answerNextInput(QStringLiteral("Head office"));
        QCOMPARE(
            dialogs.inputBox(QStringLiteral("Name?"), QStringLiteral("Add"), QStringLiteral("x")),
            QStringLiteral("Head office"));
        QCOMPARE(dialogs.inputBox(QStringLiteral("Name?")), QString());
        QCOMPARE(dialogs.errors().size(), 2);
        QCOMPARE(dialogs.inputs().first().defaultText, QStringLiteral("x"));
        dialogs.beep();
        QCOMPARE(dialogs.beeps(), 1);
    }

    void windowsRunTheirScriptInsteadOfAModalLoop() {
        ScriptedDialogs dialogs;
        QDialog named;
        named.setObjectName(QStringLiteral("frmTest"));
        auto* ok = new QPushButton(QStringLiteral("OK"), &named);
        QObject::connect(ok, &QPushButton::clicked, &named, &QDialog::accept);
        bool wasVisible = false;
        dialogs.onWindow(QStringLiteral("frmTest"), [&](QDialog& window) {
            wasVisible = window.isVisible();
            QTest::mouseClick(window.findChild<QPushButton*>(), Qt::LeftButton);
        });
        QCOMPARE(dialogs.showModal(named), int(QDialog::Accepted));
        QVERIFY(wasVisible);
        QVERIFY(!named.isVisible());

        // No script: closed as if by its frame.
        QDialog unscripted;
        unscripted.setObjectName(QStringLiteral("frmOther"));
        QCOMPARE(dialogs.showModal(unscripted), int(QDialog::Rejected));
        QVERIFY(!unscripted.isVisible());

        // A script that leaves its window open is an error, and the window is closed.
        dialogs.onWindow(QStringLiteral("QDialog"), [](QDialog&) {});
        QDialog byClass;
        QCOMPARE(dialogs.showModal(byClass), int(QDialog::Rejected));
        QVERIFY(!byClass.isVisible());
        QCOMPARE(dialogs.shownWindows(), (QStringList{"frmTest", "frmOther", "QDialog"}));
        QCOMPARE(dialogs.errors().size(), 1);
    }

    // Enter presses the default button of the real box: No where a question asks for it.
    void enterPressesTheDefaultButton() {
        QtDialogs dialogs;
        for (const Dialogs::Button wanted : {Dialogs::Button::Yes, Dialogs::Button::No}) {
            QTimer enter;
            connect(&enter, &QTimer::timeout, [] {
                if (QWidget* box = QApplication::activeModalWidget())
                    QTest::keyClick(box, Qt::Key_Return);
            });
            enter.start(10);
            QCOMPARE(dialogs.messageBox("Delete?", Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                        {}, wanted),
                     wanted);
        }
    }

    void promptLinesShowAsLineBreaks() {
        QCOMPARE(QtDialogs::displayText(QStringLiteral("There is an order in progress.\r\n\r\n"
                                                       "Do you still want to exit?")),
                 QStringLiteral("There is an order in progress.\n\nDo you still want to exit?"));
    }
};

QUILLON_TEST_CLASS(DialogsTest)
#include "test_dialogs.moc"
