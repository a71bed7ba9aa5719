// The Order Address Options window driven through its controls: the lists, Add New, Delete,
// editing in place, and the answers of OK, Enter, Cancel, Esc and the window frame.
#include "addresses/address_options_window.h"
#include "addresses/address_side.h"
#include "addresses/address_table.h"
#include "order_fixture.h"
#include "store/database.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>

using namespace quillon;
using namespace quillon::tests;

namespace {

// The window shown and active, as the user has it in front of them.
std::unique_ptr<AddressOptionsWindow> openWindow(OrderFixture& fx) {
    auto window = std::make_unique<AddressOptionsWindow>(fx.context);
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the address window did not become active");
    return window;
}

template <typename T> T* control(QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QLineEdit* box(QWidget& window, const QString& name) {
    return control<QLineEdit>(window, name);
}
QComboBox* list(QWidget& window, const QString& name) {
    return control<QComboBox>(window, name);
}
QPushButton* button(QWidget& window, const QString& name) {
    return control<QPushButton>(window, name);
}
QString status(QWidget& window) {
    return control<QStatusBar>(window, QStringLiteral("OptionsStatusBar"))->currentMessage();
}

// Types into a box that has the focus.
void typeInto(QLineEdit* target, const QString& text) {
    target->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(target, text);
}

// Leaves the box with the Tab key, as the user does.
void leave(QLineEdit* target) {
    QTest::keyClick(target, Qt::Key_Tab);
}

const QStringList orderBoxes{"txtOrderName",     "txtOrderAddress1", "txtOrderAddress2",
                             "txtOrderAddress3", "txtOrderAddress4", "txtOrderAddress5",
                             "txtOrderPostcode", "txtOrderTel"};

QStringList boxTexts(QWidget& window, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names)
        texts << box(window, name)->text();
    return texts;
}

QStringList eightFields(const QStringList& leading) {
    QStringList fields = leading;
    while (fields.size() < 8)
        fields << QString();
    return fields;
}

} // namespace

class TestAddresses : public QObject {
    Q_OBJECT

private slots:
    void emptyTables();
    void addNewThenTypeAContactName();
    void addNewCancelledCreatesNothing();
    void pickingAnotherNameWritesTheShownRecordFirst();
    void deletingTheLastRecord();
    void typedNameChangesNothingShown_data();
    void typedNameChangesNothingShown();
    void closeRoutesKeepTheEdit_data();
    void closeRoutesKeepTheEdit();
    void duplicateNameRefused_data();
    void duplicateNameRefused();
    void apostrophesInNamesAndFields();
};

void TestAddresses::emptyTables() {
    OrderFixture fx;
    auto window = openWindow(fx);
    for (const QString& name : {QStringLiteral("lstOrder"), QStringLiteral("lstDelivery")}) {
        QCOMPARE(list(*window, name)->count(), 0);
        QCOMPARE(list(*window, name)->currentText(), QStringLiteral("Select \"Add New\""));
    }
    QCOMPARE(boxTexts(*window, orderBoxes), eightFields({}));
    QCOMPARE(box(*window, "txtDeliveryTel")->text(), QString());
    QVERIFY(!window->orderSide->addressesExist() && !window->deliverySide->addressesExist());

    // Focus loss with no record shown writes nothing and says nothing.
    typeInto(box(*window, "txtOrderName"), "Nobody");
    leave(box(*window, "txtOrderName"));
    QCOMPARE(status(*window), QString());

    QTest::mouseClick(button(*window, "cmdOK"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->choice().outcome, AddressChoice::Outcome::NoAddress);
    QCOMPARE(fx.addressCount(AddressTable::order()), 0);
    QVERIFY(fx.dialogs.errors().isEmpty());
}

void TestAddresses::addNewThenTypeAContactName() {
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Head Office", {"Ann", "1 High St"});
    auto window = openWindow(fx);

    fx.dialogs.answerNextInput(QStringLiteral("Acme"));
    QTest::mouseClick(button(*window, "cmdNewOrderAddress"), Qt::LeftButton);
    QCOMPARE(fx.dialogs.inputs().size(), 1);
    QCOMPARE(fx.dialogs.inputs()[0].title, QStringLiteral("New Order Address Name"));
    QCOMPARE(fx.dialogs.inputs()[0].prompt, QStringLiteral("Enter a name for this record"));
    QCOMPARE(fx.dialogs.inputs()[0].defaultText, QStringLiteral("New"));
    QCOMPARE(status(*window),
             QStringLiteral("New record created. Enter new details and press Update"));
    QCOMPARE(list(*window, "lstOrder")->currentText(), QStringLiteral("Acme"));
    QCOMPARE(list(*window, "lstOrder")->count(), 2);
    QCOMPARE(boxTexts(*window, orderBoxes), eightFields({}));
    QCOMPARE(window->orderSide->shownName(), QStringLiteral("Acme"));

    typeInto(box(*window, "txtOrderName"), "Bob Smith");
    leave(box(*window, "txtOrderName"));
    QCOMPARE(status(*window), QStringLiteral("Record \"Acme\" updated"));

    // All eight columns written: texts now, where the new record held Nulls.
    Recordset record = fx.state.userDb->openRecordset(AddressTable::order().selectRecord("Acme"));
    QCOMPARE(record.recordCount(), 1);
    QCOMPARE(record.field(u"OrderContactName").toText(), QStringLiteral("Bob Smith"));
    for (const QString& column : AddressTable::order().columns().mid(1)) {
        QVERIFY2(record.field(column).kind() == Value::Kind::Text, qPrintable(column));
        QCOMPARE(record.field(column).toText(), QString());
    }
    // The other record is untouched.
    QCOMPARE(fx.addressFields(AddressTable::order(), "Head Office"),
             eightFields({"Ann", "1 High St"}));
    QVERIFY(fx.dialogs.errors().isEmpty());
}

void TestAddresses::addNewCancelledCreatesNothing() {
    OrderFixture fx;
    auto window = openWindow(fx);
    fx.dialogs.answerNextInput(QString()); // Cancel
    QTest::mouseClick(button(*window, "cmdNewDeliveryAddress"), Qt::LeftButton);
    QCOMPARE(fx.dialogs.inputs().size(), 1);
    QCOMPARE(fx.dialogs.inputs()[0].title, QStringLiteral("New Delivery Address Name"));
    QCOMPARE(fx.addressCount(AddressTable::delivery()), 0);
    QCOMPARE(status(*window), QString());
    QCOMPARE(list(*window, "lstDelivery")->currentText(), QStringLiteral("Select \"Add New\""));
}

void TestAddresses::pickingAnotherNameWritesTheShownRecordFirst() {
    OrderFixture fx;
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan", "Yard 2", "", "", "", "", "DE1 1AA"});
    fx.addAddress(AddressTable::delivery(), "Farm", {"", "Low Farm"});
    auto window = openWindow(fx);
    QCOMPARE(list(*window, "lstDelivery")->currentText(), QStringLiteral("Depot"));
    QCOMPARE(box(*window, "txtDeliveryPostcode")->text(), QStringLiteral("DE1 1AA"));

    QLineEdit* tel = box(*window, "txtDeliveryTel");
    typeInto(tel, "01632 960000");
    // The pick: a click in the list moves the focus there first.
    QComboBox* names = list(*window, "lstDelivery");
    QTest::mouseClick(names, Qt::LeftButton, {}, QPoint(5, names->height() / 2));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    QCOMPARE(status(*window), QStringLiteral("Record \"Depot\" updated"));
    QTest::keyClick(names, Qt::Key_Down);

    QCOMPARE(fx.addressFields(AddressTable::delivery(), "Depot"),
             eightFields({"Dan", "Yard 2", "", "", "", "", "DE1 1AA", "01632 960000"}));
    QCOMPARE(window->deliverySide->shownName(), QStringLiteral("Farm"));
    QCOMPARE(boxTexts(*window, {"txtDeliveryName", "txtDeliveryAddress1", "txtDeliveryPostcode",
                                "txtDeliveryTel"}),
             QStringList({"", "Low Farm", "", ""}));
    QVERIFY(fx.dialogs.errors().isEmpty());
}

void TestAddresses::deletingTheLastRecord() {
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Only One", {"Olive"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan"});
    auto window = openWindow(fx);
    QCOMPARE(box(*window, "txtOrderName")->text(), QStringLiteral("Olive"));

    fx.dialogs.answerNext(Dialogs::Button::No);
    QTest::mouseClick(button(*window, "cmdDeleteOrderAddress"), Qt::LeftButton);
    QCOMPARE(status(*window), QStringLiteral("Record NOT deleted"));
    QCOMPARE(fx.addressCount(AddressTable::order()), 1);
    QCOMPARE(box(*window, "txtOrderName")->text(), QStringLiteral("Olive"));
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    QTest::mouseClick(button(*window, "cmdDeleteOrderAddress"), Qt::LeftButton);
    QCOMPARE(fx.dialogs.boxes().size(), 2);
    const ScriptedDialogs::Box question = fx.dialogs.boxes()[1];
    QCOMPARE(question.title, QStringLiteral("Delete record?"));
    QCOMPARE(question.prompt,
             QStringLiteral("Are you sure? This will permanently delete the address details "
                            "for Only One"));
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(status(*window), QStringLiteral("Record deleted"));
    QCOMPARE(fx.addressCount(AddressTable::order()), 0);
    QCOMPARE(list(*window, "lstOrder")->count(), 0);
    QCOMPARE(list(*window, "lstOrder")->currentText(), QStringLiteral("Select \"Add New\""));
    QCOMPARE(box(*window, "txtOrderName")->text(), QString());

    // Nothing is shown now: typing and leaving a box claims no update, Delete asks nothing.
    typeInto(box(*window, "txtOrderName"), "Ghost");
    leave(box(*window, "txtOrderName"));
    QCOMPARE(status(*window), QStringLiteral("Record deleted"));
    QTest::mouseClick(button(*window, "cmdDeleteOrderAddress"), Qt::LeftButton);
    QCOMPARE(fx.dialogs.boxes().size(), 2);

    QTest::mouseClick(button(*window, "cmdOK"), Qt::LeftButton);
    QCOMPARE(window->choice().outcome, AddressChoice::Outcome::NoAddress);
    QVERIFY(fx.dialogs.errors().isEmpty());
}

// Typing into the name list, even another record's exact name, is no pick: edits and Delete
// still act on the record shown, and OK hands the typed name over.
void TestAddresses::typedNameChangesNothingShown_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("thenDelete");
    QTest::newRow("no record's name, then OK") << "Nowhere Ltd" << false;
    QTest::newRow("another record's name, then OK") << "Second" << false;
    QTest::newRow("another record's name, then Delete") << "Second" << true;
}

void TestAddresses::typedNameChangesNothingShown() {
    QFETCH(QString, typed);
    QFETCH(bool, thenDelete);
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "First", {"Fay"});
    fx.addAddress(AddressTable::order(), "Second", {"Sam"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan"});
    auto window = openWindow(fx);

    QComboBox* names = list(*window, "lstOrder");
    names->setFocus(Qt::MouseFocusReason);
    names->lineEdit()->selectAll();
    QTest::keyClicks(names->lineEdit(), typed);
    typeInto(box(*window, "txtOrderAddress1"), "2 Low Rd"); // the list loses the focus
    leave(box(*window, "txtOrderAddress1"));
    QCOMPARE(names->currentText(), typed);
    QCOMPARE(window->orderSide->shownName(), QStringLiteral("First"));
    QCOMPARE(box(*window, "txtOrderName")->text(), QStringLiteral("Fay"));
    QCOMPARE(fx.addressFields(AddressTable::order(), "First"), eightFields({"Fay", "2 Low Rd"}));
    QCOMPARE(fx.addressFields(AddressTable::order(), "Second"), eightFields({"Sam"}));

    if (thenDelete) {
        fx.dialogs.answerNext(Dialogs::Button::Yes);
        QTest::mouseClick(button(*window, "cmdDeleteOrderAddress"), Qt::LeftButton);
        QVERIFY(fx.dialogs.boxes().at(0).prompt.endsWith(QStringLiteral(" for First")));
        QCOMPARE(fx.addressCount(AddressTable::order()), 1);
        QCOMPARE(fx.addressFields(AddressTable::order(), "Second"), eightFields({"Sam"}));
        return;
    }
    QTest::mouseClick(button(*window, "cmdOK"), Qt::LeftButton);
    QCOMPARE(window->choice().outcome, AddressChoice::Outcome::Ok);
    QCOMPARE(window->choice().orderName, typed);
    QCOMPARE(window->choice().deliveryName, QStringLiteral("Depot"));
    QCOMPARE(fx.addressCount(AddressTable::order()), 2);
}

void TestAddresses::closeRoutesKeepTheEdit_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("choice");
    QTest::newRow("OK clicked") << QString("ok click") << QString("ok");
    QTest::newRow("Enter presses OK") << QString("enter") << QString("ok");
    QTest::newRow("Cancel") << QString("cancel") << QString("cancel");
    QTest::newRow("Esc") << QString("esc") << QString("cancel");
    QTest::newRow("window frame") << QString("frame") << QString("cancel");
}

void TestAddresses::closeRoutesKeepTheEdit() {
    QFETCH(QString, route);
    QFETCH(QString, choice);
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Office", {"Olga"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan"});
    auto window = openWindow(fx);

    // The edit being typed when the window is closed: its box still has the focus.
    QLineEdit* line2 = box(*window, "txtDeliveryAddress2");
    typeInto(line2, "Gate 4");
    QCOMPARE(QApplication::focusWidget(), line2);
    if (route == u"ok click")
        QTest::mouseClick(button(*window, "cmdOK"), Qt::LeftButton);
    else if (route == u"enter")
        QTest::keyClick(line2, Qt::Key_Return);
    else if (route == u"cancel")
        QTest::mouseClick(button(*window, "cmdCancel"), Qt::LeftButton);
    else if (route == u"esc")
        QTest::keyClick(line2, Qt::Key_Escape);
    else
        window->close();

    QVERIFY(!window->isVisible());
    QVERIFY(window->choice().outcome ==
            (choice == u"ok" ? AddressChoice::Outcome::Ok : AddressChoice::Outcome::Cancel));
    QCOMPARE(fx.addressFields(AddressTable::delivery(), "Depot"),
             eightFields({"Dan", "", "Gate 4"}));
    QCOMPARE(window->choice().orderName, choice == u"ok" ? QStringLiteral("Office") : QString());
    QCOMPARE(window->choice().deliveryName, choice == u"ok" ? QStringLiteral("Depot") : QString());
    QVERIFY(fx.dialogs.errors().isEmpty());
}

void TestAddresses::duplicateNameRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("same name") << "Acme";
    QTest::newRow("other letter case") << "ACME";
}

void TestAddresses::duplicateNameRefused() {
    QFETCH(QString, typed);
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Acme", {"Ann"});
    auto window = openWindow(fx);

    fx.dialogs.answerNextInput(typed);
    QTest::mouseClick(button(*window, "cmdNewOrderAddress"), Qt::LeftButton);
    QCOMPARE(fx.addressCount(AddressTable::order()), 1);
    QCOMPARE(fx.dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box refusal = fx.dialogs.boxes()[0];
    QCOMPARE(refusal.icon, Dialogs::Icon::Exclamation);
    QVERIFY2(refusal.prompt.contains(QStringLiteral("already")), qPrintable(refusal.prompt));
    QVERIFY(refusal.prompt.contains(typed));
    QCOMPARE(status(*window), QStringLiteral("Record NOT created"));
    // The record shown is still the existing one.
    QCOMPARE(box(*window, "txtOrderName")->text(), QStringLiteral("Ann"));
    QCOMPARE(list(*window, "lstOrder")->currentText(), QStringLiteral("Acme"));
}

void TestAddresses::apostrophesInNamesAndFields() {
    OrderFixture fx;
    auto window = openWindow(fx);
    fx.dialogs.answerNextInput(QStringLiteral("O'Brien's Garage"));
    QTest::mouseClick(button(*window, "cmdNewOrderAddress"), Qt::LeftButton);
    typeInto(box(*window, "txtOrderName"), "Pat O'Brien");
    QTest::keyClick(box(*window, "txtOrderName"), Qt::Key_Tab); // on to Address1
    QTest::keyClicks(QApplication::focusWidget(), "1 St John's Rd");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(status(*window), QStringLiteral("Record \"O'Brien's Garage\" updated"));
    QCOMPARE(fx.addressFields(AddressTable::order(), "O'Brien's Garage"),
             eightFields({"Pat O'Brien", "1 St John's Rd"}));
    window->close();

    // The next showing reads them back; the record can be deleted by its name.
    auto again = openWindow(fx);
    QCOMPARE(list(*again, "lstOrder")->currentText(), QStringLiteral("O'Brien's Garage"));
    QCOMPARE(box(*again, "txtOrderAddress1")->text(), QStringLiteral("1 St John's Rd"));
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    QTest::mouseClick(button(*again, "cmdDeleteOrderAddress"), Qt::LeftButton);
    QCOMPARE(fx.addressCount(AddressTable::order()), 0);
    QVERIFY(fx.dialogs.errors().isEmpty());
}

int main(int argc, char** argv) {
    useUnitedKingdomSettings();
    QApplication app(argc, argv);
    TestAddresses test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_addresses.moc"
