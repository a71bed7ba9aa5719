// The Order Address Options window, opened by Address Options and driven through its controls:
// Add New, Delete, a record written when its box is left or another is picked, a typed name, and
// the answers of OK, Enter, Cancel, Esc and the window frame.
#include "addresses/address_options_window.h"
#include "order_steps.h"
#include "test_registry.h"

#include <QComboBox>
#include <QStatusBar>

using namespace quillon;
using namespace quillon::tests;

namespace {

// One step in the window: "new Order=Name" (Add New, the name answered; empty: Cancel),
// "type txtBox=text", "tab", "down lstList", "name lstList=typed", "delete Order" (Delete,
// "=yes" or "=no" answering its question), or a way out: "ok", "enter", "cancel", "esc", "frame".
void step(ProgramDriver& app, QDialog& window, const QString& step) {
    const QString verb = step.section(u' ', 0, 0);
    const QString target = step.section(u' ', 1).section(u'=', 0, 0);
    const QString value = step.section(u'=', 1);
    if (verb == "new") {
        app.dialogs.answerNextInput(value);
        press(window, "cmdNew" + target + "Address");
    } else if (verb == "delete") {
        if (!value.isEmpty())
            app.dialogs.answerNext(value == "yes" ? Dialogs::Button::Yes : Dialogs::Button::No);
        press(window, "cmdDelete" + target + "Address");
    } else if (verb == "type" || verb == "name") {
        auto* combo = verb == "name" ? child<QComboBox>(window, target) : nullptr;
        auto* box = combo ? combo->lineEdit() : child<QLineEdit>(window, target);
        (combo ? static_cast<QWidget*>(combo) : box)->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, value);
    } else if (verb == "down") {
        child(window, target)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(child(window, target), Qt::Key_Down);
    } else if (verb == "tab" || verb == "enter" || verb == "esc") {
        QTest::keyClick(QApplication::focusWidget(), verb == "tab"     ? Qt::Key_Tab
                                                     : verb == "enter" ? Qt::Key_Return
                                                                       : Qt::Key_Escape);
    } else if (verb == "frame") {
        window.close();
    } else {
        press(window, verb == "ok" ? "cmdOK" : "cmdCancel");
    }
}

QStringList records(const ProgramDriver& app) {
    QStringList all;
    for (const QString side : {"Order", "Delivery"})
        all << app.userRows(QString("SELECT RecordName, %1ContactName, %1Address1, %1Address2, "
                                    "%1Postcode, %1Tel FROM %2CompanyDetails ORDER BY rowid")
                                .arg(side, side.toLower()));
    return all;
}

} // namespace

class AddressesTest : public QObject {
    Q_OBJECT

private slots:
    void addressRecords_data() {
        QTest::addColumn<QStringList>("seeded"); // "Order|RecordName|ContactName|Address1..."
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("titles");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("shown"); // lstOrder|txtOrderName|lstDelivery|txtDeliveryName
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("choice");
        const QStringList two{"Order|Office|Olga", "Delivery|Depot|Dan"};
        const QString office = "Office|Olga||||"; // written again as shown
        const QString depot = "Depot|Dan||||";
        const QString none = "Select \"Add New\"";
        addRow("no records: a box left writes nothing", QStringList{},
               "type txtOrderName=Nobody;tab;ok", "", "", none + "|Nobody|" + none + "|",
               QStringList{}, "NoAddress");
        addRow("Add New, then a contact name", two,
               "new Order=Acme;type txtOrderName=Bob Smith;tab;ok", "", "Record \"Acme\" updated",
               "Acme|Bob Smith|Depot|Dan",
               QStringList{"Office|Olga|<null>|<null>|<null>|<null>", "Acme|Bob Smith||||", depot},
               "Ok Acme Depot");
        addRow("Add New cancelled", QStringList{}, "new Delivery=;ok", "", "",
               none + "||" + none + "|", QStringList{}, "NoAddress");
        addRow("Add New of a name taken", two, "new Order=OFFICE;ok", "New Order Address Name",
               "Record NOT created", "Office|Olga|Depot|Dan", QStringList{office, depot},
               "Ok Office Depot");
        addRow("picking another record writes the one shown",
               QStringList{"Order|Office|Olga", "Delivery|Depot|Dan|Yard 2|||||DE1 1AA",
                           "Delivery|Farm||Low Farm"},
               "type txtDeliveryTel=01632 960000;down lstDelivery;ok", "",
               "Record \"Depot\" updated", "Office|Olga|Farm|",
               QStringList{office, "Depot|Dan|Yard 2||DE1 1AA|01632 960000", "Farm||Low Farm|||"},
               "Ok Office Farm");
        addRow("Delete answered No, then Yes; then nothing to delete",
               QStringList{"Order|O'Brien's Garage|Pat", "Delivery|Depot|Dan"},
               "delete Order=no;delete Order=yes;type txtOrderName=Ghost;tab;delete Order;ok",
               "Delete record?|Delete record?", "Record deleted", none + "|Ghost|Depot|Dan",
               QStringList{depot}, "NoAddress");
        addRow("a typed name is no pick: Delete removes the record shown",
               QStringList{"Order|First|Fay", "Order|Second|Sam", "Delivery|Depot|Dan"},
               "name lstOrder=Second;type txtOrderAddress1=2 Low Rd;tab;delete Order=yes;ok",
               "Delete record?", "Record deleted", "Second|Sam|Depot|Dan",
               QStringList{"Second|Sam||||", depot}, "Ok Second Depot");
        addRow(
            "a typed name is no pick: OK hands it over",
            QStringList{"Order|First|Fay", "Order|Second|Sam", "Delivery|Depot|Dan"},
            "name lstOrder=Nowhere Ltd;type txtOrderAddress1=2 Low Rd;tab;ok", "",
            "Record \"First\" updated", "Nowhere Ltd|Fay|Depot|Dan",
            QStringList{"First|Fay|2 Low Rd|||", "Second|Sam|<null>|<null>|<null>|<null>", depot},
            "Ok Nowhere Ltd Depot");
        addRow("apostrophes", QStringList{"Delivery|Depot|Dan"},
               "new Order=O'Brien's Garage;type txtOrderName=Pat O'Brien;tab;"
               "type txtOrderAddress1=1 St John's Rd;tab;ok",
               "", "Record \"O'Brien's Garage\" updated", "O'Brien's Garage|Pat O'Brien|Depot|Dan",
               QStringList{"O'Brien's Garage|Pat O'Brien|1 St John's Rd|||", depot},
               "Ok O'Brien's Garage Depot");
        // The edit being typed when the window closes is kept, whichever way it closes.
        const QStringList gate{office, "Depot|Dan||Gate 4||"};
        for (const char* way : {"ok", "enter", "cancel", "esc", "frame"})
            addRow(way, two, QString("type txtDeliveryAddress2=Gate 4;") + way, "", "",
                   "Office|Olga|Depot|Dan", gate,
                   QString(way) == "ok" || QString(way) == "enter" ? "Ok Office Depot" : "Cancel");
    }

    void addressRecords() {
        QFETCH(QStringList, seeded);
        QFETCH(QString, steps);
        ProgramDriver app;
        for (const QString& record : seeded)
            addAddress(app, record);
        app.run();
        QString status;
        QString shown;
        QString choice = "not closed";
        app.dialogs.onWindow("frmOptions", [&](QDialog& window) {
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            const QStringList all = steps.split(u';');
            for (const QString& each : all.mid(0, all.size() - 1))
                step(app, window, each);
            status = child<QStatusBar>(window, "OptionsStatusBar")->currentMessage();
            shown = QStringList{child<QComboBox>(window, "lstOrder")->currentText(),
                                child<QLineEdit>(window, "txtOrderName")->text(),
                                child<QComboBox>(window, "lstDelivery")->currentText(),
                                child<QLineEdit>(window, "txtDeliveryName")->text()}
                        .join(u'|');
            step(app, window, all.last());
            QVERIFY(!window.isVisible());
            const AddressChoice& chosen = static_cast<AddressOptionsWindow&>(window).choice();
            choice = chosen.outcome == AddressChoice::Outcome::Ok
                         ? QStringList{"Ok", chosen.orderName, chosen.deliveryName}.join(u' ')
                     : chosen.outcome == AddressChoice::Outcome::Cancel ? "Cancel"
                                                                        : "NoAddress";
        });

        seeded.isEmpty() ? app.trigger("mnuAddressItem") : app.click("cmdOptions"); // either way

        QTEST(titles(app.dialogs), "titles");
        QTEST(status, "status");
        QTEST(shown, "shown");
        QTEST(records(app), "records");
        QTEST(choice, "choice");
        QCOMPARE(app.dialogs.errors(), QStringList());
        QCOMPARE(app.dialogs.pendingAnswers(), 0);
    }
};

QUILLON_TEST_CLASS(AddressesTest)

#include "test_addresses.moc"
