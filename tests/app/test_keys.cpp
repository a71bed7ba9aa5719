#include "app_fixture.h"
#include "platform/flex_grid.h"
#include "store/database.h"
#include "test_registry.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

using namespace quillon;
using quillon::tests::AppFixture;

namespace {

QLineEdit* editorOf(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(widget);
}

// The trade counter: two parts in the catalogue (the second without a Rover number), the
// program started with an order open, both parts listed by a search for "1001" and the first
// one shown. The quantity dialog answers 3.
class Counter : public AppFixture {
public:
    Counter() {
        auto catalogue = Database::open(folder.catalogue(), Database::Access::ReadWrite);
        catalogue->execute("INSERT INTO Parts(ID,DorvaneNum,RoverNum,RoverSuper1,Description,"
                           "UnitIssue) SELECT 1,'BJ1001','STC1001','NRC77','Brake pad set','1'");
        catalogue->execute("INSERT INTO Parts(ID,DorvaneNum,Description,UnitIssue) "
                           "SELECT 2,'AF1001','Air filter','1'");
        started();
        dialogs.answerNext(Dialogs::Button::Yes);
        click("cmdStartOrder");
        type("txtPart", "1001");
        key(Qt::Key_Return);
        dialogs.onWindow("frmOrderQuantity", [](QDialog& d) {
            auto* quantity = d.findChild<QLineEdit*>("txtQty");
            quantity->setText("3");
            QTest::keyClick(quantity, Qt::Key_Return);
        });
        dialogs.clearRecords();
    }

    QWidget* control(const QString& name) const {
        auto* found = find<QWidget>(name);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    FlexGrid* grid() const { return find<FlexGrid>("MSFlexGrid1"); }
    QPoint cell(int row, int column) const {
        return grid()->visualRect(grid()->model()->index(row - 1, column)).center();
    }
    // Gives the control the focus and types the text into it, replacing what it held.
    void type(const QString& name, const QString& text) {
        control(name)->setFocus();
        QLineEdit* editor = editorOf(control(name));
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }
    // A key pressed where the focus is.
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void click(const QString& name) const { QTest::mouseClick(control(name), Qt::LeftButton); }
    // Moves to the row of the results by keyboard (the search leaves row 1 current).
    void goToRow(int row) const {
        grid()->setFocus();
        for (int r = grid()->row(); r < row; ++r)
            key(Qt::Key_Down);
    }

    QString listed() const {
        QStringList numbers;
        for (int row = 1; row < grid()->rows(); ++row)
            numbers << grid()->textMatrix(row, 0);
        return numbers.join(u' ');
    }
    // The rows of a query, their values joined by "|", the rows by " ".
    QString rows(const QString& query) const {
        Recordset result = state.userDb->openRecordset(query);
        QStringList rows;
        for (; !result.eof(); result.moveNext()) {
            QStringList values;
            for (int column = 0; column < result.columnCount(); ++column)
                values << result.field(column).toText();
            rows << values.join(u'|');
        }
        return rows.join(u' ');
    }
    QString status(QWidget* window = nullptr) const {
        if (window == nullptr)
            return find<QLabel>("StatusBar1Panel1")->text();
        QStringList texts;
        for (QLabel* label : window->findChild<QStatusBar*>()->findChildren<QLabel*>())
            texts << label->text();
        return texts.join(u'|') + window->findChild<QStatusBar*>()->currentMessage();
    }
};

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+A edit a box the user types into, even one that can't be
    // edited at the moment (Ctrl+X must never quit the program from a text box); anywhere else
    // they reach the menu items that share them.
    void clipboardKeys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<char>("key");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("text");      // held "NRC1234", all selected but for Ctrl+A
        QTest::addColumn<QString>("clipboard"); // held "STC99"
        const QString nrc = "NRC1234", stc = "STC99", none;
        for (const char* box : {"txtPart", "txtDesc", "lstApplication", "txtFilePrice",
                                "txtSellingPrice", "txtUnit"}) {
            QTest::addRow("%s Ctrl+C", box) << box << 'C' << false << nrc << nrc;
            QTest::addRow("%s Ctrl+V", box) << box << 'V' << false << stc << stc;
            QTest::addRow("%s Ctrl+X", box) << box << 'X' << false << none << nrc;
            QTest::addRow("%s Ctrl+A", box) << box << 'A' << false << nrc << stc;
        }
        QTest::newRow("read-only box Ctrl+X") << "txtUnit" << 'X' << true << nrc << stc;
        QTest::newRow("read-only box Ctrl+V") << "txtUnit" << 'V' << true << nrc << stc;
        for (const char* focus : {"MSFlexGrid1", "cmdStartOrder"}) {
            for (char key : {'C', 'V', 'A', 'X', 'N'})
                QTest::addRow("%s Ctrl+%c", focus, key) << focus << key << false << none << none;
        }
    }

    void clipboardKeys() {
        QFETCH(QString, focus);
        QFETCH(char, key);
        QFETCH(bool, readOnly);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        AppFixture app;
        MainWindow& window = app.started();
        window.setOrderCommandsEnabled(true); // a key that reached a menu item would run it
        window.setFinaliseCommandsEnabled(true);
        window.setClearCommandsEnabled(true);
        const QMap<char, QString> menuItems{{'C', "mnuClearItem"},
                                            {'V', "mnuOrderItem"},
                                            {'A', "mnuAddToOrder"},
                                            {'X', "mnuCloseItem"},
                                            {'N', "mnuNewOrder"}};
        QSignalSpy triggered(app.find<QAction>(menuItems[key]), &QAction::triggered);
        auto* widget = app.find<QWidget>(focus);
        QLineEdit* editor = editorOf(widget);
        if (editor != nullptr) {
            editor->setText("NRC1234");
            editor->setReadOnly(readOnly);
        }
        QGuiApplication::clipboard()->setText("STC99");
        widget->setFocus();
        QTRY_VERIFY(widget->hasFocus() || (editor != nullptr && editor->hasFocus()));
        if (editor != nullptr && key == 'A')
            editor->deselect();
        else if (editor != nullptr)
            editor->selectAll();

        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(Qt::Key_A + key - 'A'),
                        Qt::ControlModifier);

        if (editor == nullptr) {
            QCOMPARE(triggered.count(), 1);
            QCOMPARE(window.isVisible(), key != 'X'); // Ctrl+X is Exit
            return;
        }
        QCOMPARE(triggered.count(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(editor->text(), text);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        if (key == 'A')
            QCOMPARE(editor->selectedText(), "NRC1234");
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // Enter where the user is: in a search box or on a control that takes no Enter, the search of
    // the box last edited; in a Customer Retail box, Enter/Update; on a row of the results, Add to
    // Order for that row's part; on a button, that button.
    void enterKey_data() {
        QTest::addColumn<QStringList>("typed"); // "control=text", in this order
        QTest::addColumn<QString>("focus");     // where Enter is pressed ("row 2": on that row)
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("prices"); // customParts
        QTest::addColumn<QString>("lines");  // orderParts
        const QString both = "BJ1001 AF1001", bj = "BJ1001", none;
        const QStringList afPart{"txtPart=AF10"}, brakeDesc{"txtDesc=Brake"};
        QTest::newRow("txtPart") << afPart << "txtPart" << QString("AF1001") << none << none;
        QTest::newRow("txtDesc") << brakeDesc << "txtDesc" << bj << none << none;
        QTest::newRow("txtPart after txtDesc was edited")
            << (afPart + brakeDesc) << "txtPart" << bj << none << none;
        QTest::newRow("vehicle list") << brakeDesc << "lstApplication" << bj << none << none;
        QTest::newRow("txtFilePrice") << QStringList{"txtFilePrice=12.5"} << "txtFilePrice" << both
                                      << QString("BJ1001|STC1001|12.5|0|") << none;
        QTest::newRow("txtSellingPrice after txtPart was edited")
            << (afPart + QStringList{"txtSellingPrice=20"}) << "txtSellingPrice" << both
            << QString("BJ1001|STC1001|0|20|") << none;
        QTest::newRow("txtUnit") << QStringList{"txtFilePrice=1", "txtUnit=BOX"} << "txtUnit"
                                 << both << QString("BJ1001|STC1001|1|0|BOX") << none;
        // The part has no Rover number, and keeps none of the part shown before it.
        QTest::newRow("row 2") << QStringList{} << "row 2" << both << none << QString("AF1001||3");
        QTest::newRow("row 1 after txtPart was edited")
            << afPart << "row 1" << both << none << QString("BJ1001|STC1001|3");
        QTest::newRow("Clear button") << afPart << "cmdClear" << none << none << none;
    }

    void enterKey() {
        QFETCH(QStringList, typed);
        QFETCH(QString, focus);
        QFETCH(QString, listed);
        QFETCH(QString, prices);
        QFETCH(QString, lines);
        Counter app;
        for (const QString& typing : typed)
            app.type(typing.section(u'=', 0, 0), typing.section(u'=', 1));
        if (focus.startsWith("row "))
            app.goToRow(focus.mid(4).toInt());
        else
            app.control(focus)->setFocus();

        app.key(Qt::Key_Return);

        QCOMPARE(app.listed(), listed);
        QCOMPARE(app.rows("SELECT DorvaneNum, RoverNum, CustomerPrice, CustomerLRPrice, "
                          "CustomerUnitSale FROM customParts"),
                 prices);
        QCOMPARE(app.rows("SELECT DorvaneNum, RoverNum, Quantity FROM orderParts"), lines);
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // A question whose Yes throws something away has No as its default button, so that Enter
    // keeps everything; the others keep Yes.
    void defaultButtonOfQuestions_data() {
        QTest::addColumn<QString>("command"); // a control of the main window, or "window/control"
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("defaultNo");
        QTest::addColumn<QString>("status"); // afterwards, in the window that asked
        const QString added = "Part added to order number 1", deleteRecord = "Delete record?";
        const QString recordKept = "Record NOT deleted";
        QTest::newRow("New Order") << "cmdStartOrder" << QString("Cancel current order?") << true
                                   << QString("Order 1 is the current order");
        QTest::newRow("Delete Order")
            << "mnuDeleteOrder" << QString("Delete current order?") << true << added;
        QTest::newRow("deleting an order line")
            << "frmViewOrder/cmdDelete" << deleteRecord << true << QString("Part NOT deleted");
        QTest::newRow("deleting an order address")
            << "frmOptions/cmdDeleteOrderAddress" << deleteRecord << true << recordKept;
        QTest::newRow("deleting a delivery address")
            << "frmOptions/cmdDeleteDeliveryAddress" << deleteRecord << true << recordKept;
        QTest::newRow("updating a line") << "cmdOrder" << QString("Dorvane Quillon") << false
                                         << QString("Part order updated in order number 1");
    }

    void defaultButtonOfQuestions() {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(bool, defaultNo);
        QFETCH(QString, status);
        Counter app;
        app.goToRow(1);
        app.key(Qt::Key_Return); // BJ1001, 3
        app.state.userDb->execute(
            "INSERT INTO orderCompanyDetails(RecordName) SELECT 'Office' AS RecordName");
        app.state.userDb->execute(
            "INSERT INTO deliveryCompanyDetails(RecordName) SELECT 'Yard' AS RecordName");
        const auto store = [&app] {
            return QStringList{app.rows("SELECT OrderNum FROM orders"),
                               app.rows("SELECT DorvaneNum, Quantity FROM orderParts"),
                               app.rows("SELECT RecordName FROM orderCompanyDetails"),
                               app.rows("SELECT RecordName FROM deliveryCompanyDetails")}
                .join("; ");
        };
        app.dialogs.clearRecords();
        app.dialogs.answerNextWithEnter();
        QString shown;
        if (command.contains(u'/')) {
            app.dialogs.onWindow(command.section(u'/', 0, 0), [&](QDialog& window) {
                QTest::mouseClick(window.findChild<QPushButton*>(command.section(u'/', 1)),
                                  Qt::LeftButton);
                shown = app.status(&window);
                QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            });
            app.click(command.startsWith("frmView") ? "cmdViewOrder" : "cmdOptions");
        } else if (auto* action = app.find<QAction>(command)) {
            action->trigger();
        } else {
            app.click(command);
        }

        QCOMPARE(app.dialogs.boxes().size(), 1);
        QCOMPARE(app.dialogs.boxes()[0].title, title);
        QCOMPARE(app.dialogs.boxes()[0].defaultButton,
                 defaultNo ? Dialogs::Button::No : Dialogs::Button::Yes);
        QCOMPARE(shown.isEmpty() ? app.status() : shown, status);
        QCOMPARE(store(), "1; BJ1001|3; Office; Yard");
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // However a part is added, once the quantity dialog closes with OK the part-number box has
    // the focus with its whole text selected: the next number typed replaces the last, and Enter
    // searches it. The same when the user clicks back into the box.
    void nextPartNumberCanBeTypedAtOnce_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("lines");
        const QString added = "AF1001|3";
        QTest::newRow("Add to Order button") << "cmdOrder" << added;
        QTest::newRow("Ctrl+A on the row") << "Ctrl+A" << added;
        QTest::newRow("Alt+E, A") << "Alt+E" << added;
        QTest::newRow("Enter on the row") << "Enter" << added;
        QTest::newRow("double click on the row") << "double click" << added;
        QTest::newRow("click back into the box") << "txtPart" << QString();
    }

    void nextPartNumberCanBeTypedAtOnce() {
        QFETCH(QString, way);
        QFETCH(QString, lines);
        Counter app;
        auto* txtPart = qobject_cast<QLineEdit*>(app.control("txtPart"));
        QTest::mouseClick(app.grid()->viewport(), Qt::LeftButton, {}, app.cell(2, 2));

        if (way == "Ctrl+A") {
            app.key(Qt::Key_A, Qt::ControlModifier);
        } else if (way == "Alt+E") {
            app.key(Qt::Key_E, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
        } else if (way == "Enter") {
            app.key(Qt::Key_Return);
        } else if (way == "double click") {
            QTest::mouseDClick(app.grid()->viewport(), Qt::LeftButton, {}, app.cell(2, 2));
        } else {
            app.click(way);
        }

        QCOMPARE(app.rows("SELECT DorvaneNum, Quantity FROM orderParts"), lines);
        QCOMPARE(QApplication::focusWidget(), txtPart);
        QCOMPARE(txtPart->selectedText(), "1001");
        QTest::keyClicks(QApplication::focusWidget(), "BJ1001");
        app.key(Qt::Key_Return);
        QCOMPARE(txtPart->text(), "BJ1001");
        QCOMPARE(app.listed(), "BJ1001");
        QVERIFY(app.dialogs.errors().isEmpty());
    }

    // A part number can be copied: a Part Detail value with Ctrl+C (all of it, or the part
    // selected), an entry of its lists, a number of the results by the grid's menu. Ctrl+C there
    // never clears the results.
    void copyingPartNumbers_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("copied");
        QTest::newRow("DV Number") << "txtDRNumber" << QString("BJ1001");
        QTest::newRow("a word of the description") << "txtDescription" << QString("Brake");
        QTest::newRow("superseded number") << "lstRoverSupers" << QString("NRC77");
        QTest::newRow("DV No. of the results") << "row 2 column 0" << QString("AF1001");
        QTest::newRow("Rover No. of the results") << "row 1 column 1" << QString("STC1001");
    }

    void copyingPartNumbers() {
        QFETCH(QString, from);
        QFETCH(QString, copied);
        Counter app;
        QGuiApplication::clipboard()->setText("STC99");
        if (from.startsWith("row ")) {
            // The menu, once it shows: Copy clicked.
            QTimer picker;
            connect(&picker, &QTimer::timeout, [&picker] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr || menu->actions().isEmpty())
                    return;
                picker.stop();
                QAction* copy = menu->actions().first();
                QCOMPARE(copy->text(), "Copy");
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(copy).center());
            });
            picker.start(10);
            const QPoint cell =
                app.cell(from.section(u' ', 1, 1).toInt(), from.back().digitValue());
            QTest::mouseClick(app.grid()->viewport(), Qt::RightButton, {}, cell);
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, cell,
                                         app.grid()->viewport()->mapToGlobal(cell));
            QApplication::sendEvent(app.grid()->viewport(), &rightClick);
        } else if (auto* list = app.find<QListWidget>(from)) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            app.key(Qt::Key_C, Qt::ControlModifier);
        } else {
            auto* label = app.find<QLabel>(from);
            // A click gives the value the focus; a double click at its start selects a word.
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() - 2, 4));
            if (copied != label->text())
                QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(12, label->height() / 2));
            app.key(Qt::Key_C, Qt::ControlModifier);
        }

        QTRY_COMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(app.listed(), "BJ1001 AF1001");
        QVERIFY(app.dialogs.boxes().isEmpty());
    }
};

QUILLON_TEST_CLASS(KeysTest)
#include "test_keys.moc"
