#include "app_fixture.h"
#include "platform/flex_grid.h"
#include "test_registry.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace quillon;
using quillon::tests::AppFixture;

namespace {

// Every command group enabled, so that a key that reached a menu item would run it.
void enableEveryCommand(MainWindow& window) {
    window.setOrderCommandsEnabled(true);
    window.setFinaliseCommandsEnabled(true);
    window.setClearCommandsEnabled(true);
}

QLineEdit* editorOf(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(widget);
}

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    // In a box the user types into, Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+A edit the box.
    void clipboardKeysEditTextBoxes_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menuItem");  // the item that shares the key
        QTest::addColumn<QString>("text");      // the box's text afterwards
        QTest::addColumn<QString>("clipboard"); // the clipboard afterwards
        // Each starts with "NRC1234" in the box, all of it selected, and "STC99" on the clipboard.
        for (const char* box : {"txtPart", "txtDesc", "lstApplication", "txtFilePrice",
                                "txtSellingPrice", "txtUnit"}) {
            const QString name = QString::fromLatin1(box);
            QTest::addRow("%s Ctrl+C", box) << name << "C"
                                            << "mnuClearItem"
                                            << "NRC1234"
                                            << "NRC1234";
            QTest::addRow("%s Ctrl+V", box) << name << "V"
                                            << "mnuOrderItem"
                                            << "STC99"
                                            << "STC99";
            QTest::addRow("%s Ctrl+X", box) << name << "X"
                                            << "mnuCloseItem"
                                            << ""
                                            << "NRC1234";
            QTest::addRow("%s Ctrl+A", box) << name << "A"
                                            << "mnuAddToOrder"
                                            << "NRC1234"
                                            << "STC99";
        }
    }

    void clipboardKeysEditTextBoxes() {
        QFETCH(QString, box);
        QFETCH(QString, key);
        QFETCH(QString, menuItem);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        AppFixture app;
        MainWindow& window = app.started();
        enableEveryCommand(window);
        auto* widget = app.find<QWidget>(box);
        QLineEdit* editor = editorOf(widget);
        QVERIFY(editor);
        editor->setText(QStringLiteral("NRC1234"));
        QGuiApplication::clipboard()->setText(QStringLiteral("STC99"));
        widget->setFocus();
        QTRY_VERIFY(widget->hasFocus() || editor->hasFocus());
        if (key == QLatin1String("A"))
            editor->deselect();
        else
            editor->selectAll();
        QSignalSpy triggered(app.find<QAction>(menuItem), &QAction::triggered);

        const auto keyCode = static_cast<Qt::Key>(Qt::Key_A + (key.at(0).unicode() - 'A'));
        QTest::keyClick(QApplication::focusWidget(), keyCode, Qt::ControlModifier);

        QCOMPARE(triggered.count(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(editor->text(), text);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        if (key == QLatin1String("A"))
            QCOMPARE(editor->selectedText(), QStringLiteral("NRC1234"));
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // A box that can't be edited at the moment keeps the keys too: Ctrl+X must never quit the
    // program, nor Ctrl+V open the order, from inside a text box.
    void readOnlyBoxKeepsClipboardKeys_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menuItem");
        QTest::newRow("Ctrl+X") << "X"
                                << "mnuCloseItem";
        QTest::newRow("Ctrl+V") << "V"
                                << "mnuOrderItem";
    }

    void readOnlyBoxKeepsClipboardKeys() {
        QFETCH(QString, key);
        QFETCH(QString, menuItem);
        AppFixture app;
        MainWindow& window = app.started();
        enableEveryCommand(window);
        auto* box = app.find<QLineEdit>(QStringLiteral("txtUnit"));
        box->setText(QStringLiteral("BOX"));
        box->setReadOnly(true);
        box->selectAll();
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QSignalSpy triggered(app.find<QAction>(menuItem), &QAction::triggered);
        const auto keyCode = static_cast<Qt::Key>(Qt::Key_A + (key.at(0).unicode() - 'A'));
        QTest::keyClick(box, keyCode, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(box->text(), QStringLiteral("BOX"));
    }

    // Anywhere else in the window the same keys reach their menu items.
    void clipboardKeysReachMenusElsewhere_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menuItem");
        for (const char* focus : {"MSFlexGrid1", "cmdStartOrder"}) {
            QTest::addRow("%s Ctrl+C", focus) << focus << "C"
                                              << "mnuClearItem";
            QTest::addRow("%s Ctrl+V", focus) << focus << "V"
                                              << "mnuOrderItem";
            QTest::addRow("%s Ctrl+A", focus) << focus << "A"
                                              << "mnuAddToOrder";
            QTest::addRow("%s Ctrl+X", focus) << focus << "X"
                                              << "mnuCloseItem";
            QTest::addRow("%s Ctrl+N", focus) << focus << "N"
                                              << "mnuNewOrder";
        }
    }

    void clipboardKeysReachMenusElsewhere() {
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(QString, menuItem);
        AppFixture app;
        MainWindow& window = app.started();
        enableEveryCommand(window);
        auto* widget = app.find<QWidget>(focus);
        widget->setFocus();
        QTRY_VERIFY(widget->hasFocus());
        QSignalSpy triggered(app.find<QAction>(menuItem), &QAction::triggered);

        const auto keyCode = static_cast<Qt::Key>(Qt::Key_A + (key.at(0).unicode() - 'A'));
        QTest::keyClick(widget, keyCode, Qt::ControlModifier);

        QCOMPARE(triggered.count(), 1);
        QCOMPARE(window.isVisible(), key != QLatin1String("X")); // Ctrl+X is Exit
    }

    // Enter presses the Search button of the box last edited, wherever the focus is (but in
    // another button).
    void enterPressesTheSearchOfTheBoxLastEdited() {
        AppFixture app;
        MainWindow& window = app.started();
        auto* txtPart = app.find<QLineEdit>(QStringLiteral("txtPart"));
        auto* txtDesc = app.find<QLineEdit>(QStringLiteral("txtDesc"));
        auto* vehicles = app.find<QComboBox>(QStringLiteral("lstApplication"));
        auto* grid = app.find<FlexGrid>(QStringLiteral("MSFlexGrid1"));
        auto* searchPart = app.find<QPushButton>(QStringLiteral("cmdSearchPart"));
        auto* searchDesc = app.find<QPushButton>(QStringLiteral("cmdSearchDesc"));
        QSignalSpy partClicks(searchPart, &QPushButton::clicked);
        QSignalSpy descClicks(searchDesc, &QPushButton::clicked);
        const auto press = [](QWidget* widget) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Return);
        };

        QTest::keyClicks(txtPart, QStringLiteral("NRC"));
        QCOMPARE(window.defaultButton(), searchPart);
        QVERIFY(searchPart->isDefault());
        QTest::keyClicks(txtDesc, QStringLiteral("filter"));
        QCOMPARE(window.defaultButton(), searchDesc);
        QVERIFY(!searchPart->isDefault());
        press(txtDesc);
        QCOMPARE(descClicks.count(), 1);
        press(grid);
        QCOMPARE(descClicks.count(), 2);
        press(vehicles);
        QCOMPARE(descClicks.count(), 3);
        QCOMPARE(partClicks.count(), 0);

        // A paste is a change too.
        QGuiApplication::clipboard()->setText(QStringLiteral("4"));
        txtPart->setFocus();
        QTest::keyClick(txtPart, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(txtPart->text(), QStringLiteral("NRC4"));
        press(txtPart);
        QCOMPARE(partClicks.count(), 1);
        QCOMPARE(descClicks.count(), 3);

        // Enter on another button presses that button.
        QSignalSpy newOrderClicks(app.find<QPushButton>(QStringLiteral("cmdStartOrder")),
                                  &QPushButton::clicked);
        press(app.find<QPushButton>(QStringLiteral("cmdStartOrder")));
        QCOMPARE(newOrderClicks.count(), 1);
        QCOMPARE(partClicks.count(), 1);
    }
};

QUILLON_TEST_CLASS(KeysTest)
#include "test_keys.moc"
