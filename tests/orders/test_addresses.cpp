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
    if (verb == u"new") {
        app.dialogs.answerNextInput(value);
        press(window, u"cmdNew" + target + u"Address");
    } else if (verb == u"delete") {
        if (!value.isEmpty())
            app.dialogs.answerNext(value == u"yes" ? Dialogs::Button::Yes : Dialogs::Button::No);
        press(window, u"cmdDelete" + target + u"Address");
    } else if (verb == u"type" || verb == u"name") {
        auto* combo = verb == u"name" ? child<QComboBox>(window, target) : nullptr;
        auto* box = combo ? combo->lineEdit() : child<QLineEdit>(window, target);
        (combo ? static_cast<QWidget*>(combo) : box)->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, value);
    } else if (verb == u"down") {
        child(window, target)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(child(window, target), Qt::Key_Down);
    } else if (verb == u"tab" || verb == u"enter" || verb == u"esc") {
        QTest::keyClick(QApplication::focusWidget(), verb == u"tab"     ? Qt::Key_Tab
                                                     : verb == u"enter" ? Qt::Key_Return
                                                                        : Qt::Key_Escape);
    } else if (verb == u"frame") {
        window.close();
    } else {
        press(window, verb == u"ok" ? "cmdOK" : "cmdCancel");
    }
}

QStringList records(const ProgramDriver& app) {
    QStringList all;
    for (const QString& side : {u"Order"_s, u"Delivery"_s})
        all << app.userRows(
            u"SELECT RecordName, %1ContactName, %1Address1, %1Address2, "
            "%1Postcode, %1Tel FROM %2CompanyDetails ORDER BY rowid"_s.arg(side, side.toLower()));
    return all;
}

} // namespace

class AddressesTest : public QObject {
    Q_OBJECT

private slots:
    void addressRecords_data() {
        // seeded: "Order|RecordName|ContactName|Address1..."
        // shown: lstOrder|txtOrderName|lstDelivery|txtDeliveryName
        tests::addColumns<QStringList, QString, QString, QString, QString, QStringList, QString>(
            "seeded", "steps", "titles", "status", "shown", "records", "choice");
        const QStringList two{u"Order|Office|Olga"_s, u"Delivery|Depot|Dan"_s};
        const QString office = u"Office|Olga||||"_s; // written again as shown
        const QString depot = u"Depot|Dan||||"_s;
        const QString none = u"Select \"Add New\""_s;
        addRow("no records: a box left writes nothing", QStringList{},
               "type txtOrderName=Nobody;tab;ok", "", "", none + u"|Nobody|" + none + u'|',
               QStringList{}, "NoAddress");
        addRow("Add New, then a contact name", two,
               "new Order=Acme;type txtOrderName=Bob Smith;tab;ok", "", "Record \"Acme\" updated",
               "Acme|Bob Smith|Depot|Dan",
               QStringList{u"Office|Olga|<null>|<null>|<null>|<null>"_s, u"Acme|Bob Smith||||"_s,
                           depot},
               "Ok Acme Depot");
        addRow("Add New cancelled", QStringList{}, "new Delivery=;ok", "", "",
               none + u"||" + none + u'|', QStringList{}, "NoAddress");
        addRow("Add New of a name taken", two, "new Order=OFFICE;ok", "New Order Address Name",
               "Record NOT created", "Office|Olga|Depot|Dan", QStringList{office, depot},
               "Ok Office Depot");
        addRow("picking another record writes the one shown",
               QStringList{u"Order|Office|Olga"_s, u"Delivery|Depot|Dan|Yard 2|||||DE1 1AA"_s,
                           u"Delivery|Farm||Low Farm"_s},
               "type txtDeliveryTel=01632 960000;down lstDelivery;ok", "",
               "Record \"Depot\" updated", "Office|Olga|Farm|",
               QStringList{office, u"Depot|Dan|Yard 2||DE1 1AA|01632 960000"_s,
                           u"Farm||Low Farm|||"_s},
               "Ok Office Farm");
        addRow("Delete answered No, then Yes; then nothing to delete",
               QStringList{u"Order|O'Brien's Garage|Pat"_s, u"Delivery|Depot|Dan"_s},
               "delete Order=no;delete Order=yes;type txtOrderName=Ghost;tab;delete Order;ok",
               "Delete record?|Delete record?", "Record deleted", none + u"|Ghost|Depot|Dan",
               QStringList{depot}, "NoAddress");
        addRow("a typed name is no pick: Delete removes the record shown",
               QStringList{u"Order|First|Fay"_s, u"Order|Second|Sam"_s, u"Delivery|Depot|Dan"_s},
               "name lstOrder=Second;type txtOrderAddress1=2 Low Rd;tab;delete Order=yes;ok",
               "Delete record?", "Record deleted", "Second|Sam|Depot|Dan",
               QStringList{u"Second|Sam||||"_s, depot}, "Ok Second Depot");
        addRow("a typed name is no pick: OK hands it over",
               QStringList{u"Order|First|Fay"_s, u"Order|Second|Sam"_s, u"Delivery|Depot|Dan"_s},
               "name lstOrder=Nowhere Ltd;type txtOrderAddress1=2 Low Rd;tab;ok", "",
               "Record \"First\" updated", "Nowhere Ltd|Fay|Depot|Dan",
               QStringList{u"First|Fay|2 Low Rd|||"_s, u"Second|Sam|<null>|<null>|<null>|<null>"_s,
                           depot},
               "Ok Nowhere Ltd Depot");
        addRow("apostrophes", QStringList{u"Delivery|Depot|Dan"_s},
               "new Order=O'Brien's Garage;type txtOrderName=Pat O'Brien;tab;"
               "type txtOrderAddress1=1 St John's Rd;tab;ok",
               "", "Record \"O'Brien's Garage\" updated", "O'Brien's Garage|Pat O'Brien|Depot|Dan",
               QStringList{u"O'Brien's Garage|Pat O'Brien|1 St John's Rd|||"_s, depot},
               "Ok O'Brien's Garage Depot");
        // The edit being typed when the window closes is kept, whichever way it closes.
        const QStringList gate{office, u"Depot|Dan||Gate 4||"_s};
        for (const QString& way : {u"ok"_s, u"enter"_s, u"cancel"_s, u"esc"_s, u"frame"_s})
            addRow(qPrintable(way), two, u"type txtDeliveryAddress2=Gate 4;" + way, "", "",
                   "Office|Olga|Depot|Dan", gate,
                   way == u"ok" || way == u"enter" ? "Ok Office Depot" : "Cancel");
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
        QString choice = u"not closed"_s;
        app.dialogs.onWindow(u"frmOptions"_s, [&](QDialog& window) {
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
                         ? QStringList{u"Ok"_s, chosen.orderName, chosen.deliveryName}.join(u' ')
                     : chosen.outcome == AddressChoice::Outcome::Cancel ? u"Cancel"_s
                                                                        : u"NoAddress"_s;
        });

        seeded.isEmpty() ? app.trigger(u"mnuAddressItem"_s)
                         : app.click(u"cmdOptions"_s); // either way

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
