// The Order form: Finalise Order from the main window with the addresses chosen in the Order
// Address Options window, the page as written, what stops it, and Print Previous Order from the
// Previous Orders window.
#include "order_steps.h"
#include "printing/order_form_writer.h"
#include "test_registry.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStringDecoder>

using namespace quillon;
using namespace quillon::tests;

namespace {

const QString separator =
    u"<tr><td colspan=6><img src=\"1pixel-black.gif\" width=100% height=1 vspace=5 alt=\"-\">"
    "</td>"_s;

QString cells(std::initializer_list<QAnyStringView> values) {
    QString row = u"<tr>"_s;
    for (const QAnyStringView value : values)
        row += u"<td valign=top class=partCell>" + value.toString() + u"</td>";
    return row + u"</tr>";
}

QString instructions(QAnyStringView comments) {
    return u"<tr><td colspan=2 valign=top align=right class=comment>Special Instructions: </td>"
           "<td valign=top colspan=4 class=comment>" +
           comments.toString() + u"</td>";
}

QString totalRow(QAnyStringView total) {
    return u"<tr><td></td><td></td><td></td><td></td><td><b>Total</b></td><td><b>" +
           total.toString() + u"</b></td>";
}

QString addressRow(QAnyStringView order, QAnyStringView delivery) {
    return u"<tr><td>%1</td><td>%2</td></tr></table>"_s.arg(order.toString(), delivery.toString());
}

// The Order Address Options window's next showings pick the entries at those positions of the
// two lists (by the Down key from the first) and press OK.
void chooseAddresses(ProgramDriver& app, int orderEntry = 0, int deliveryEntry = 0) {
    app.dialogs.onWindow(u"frmOptions"_s, [orderEntry, deliveryEntry](QDialog& window) {
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const auto& [list, entry] :
             {std::pair{"lstOrder", orderEntry}, std::pair{"lstDelivery", deliveryEntry}}) {
            auto* names = child<QComboBox>(window, list);
            names->setFocus(Qt::MouseFocusReason);
            for (int i = 0; i < entry; ++i)
                QTest::keyClick(names, Qt::Key_Down);
        }
        press(window, "cmdOK");
    });
}

// Templates easy to find on the page, catalogue parts ("DorvaneNum|RoverNum|Description") and
// open order 5 of those lines, then the start; the Order and the Depot addresses unless given.
void openOrder(ProgramDriver& app, const QStringList& parts, const QStringList& lines,
               bool addresses = true) {
    app.writeFile(u"orderHeader.dat"_s, "<H>\r\n");
    app.writeFile(u"orderMidA.dat"_s, "<M>\r\n");
    app.writeFile(u"orderFooter.dat"_s, "<F>\r\n");
    addParts(app, parts);
    if (addresses) {
        addAddress(app, u"Order|Office|Olga|1 High St"_s);
        addAddress(app, u"Delivery|Depot|Dan|Yard 2"_s);
    }
    addOrder(app, 5, false, lines);
    app.run();
    app.dialogs.clearRecords();
}

// printOrder.html as written, its byte-order mark kept.
QString page(const ProgramDriver& app) {
    QFile file(app.folder.printOrder());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return file.open(QIODevice::ReadOnly) ? utf8(file.readAll()) : QString();
}

} // namespace

class OrderFormTest : public QObject {
    Q_OBJECT

private slots:
    void templatesLoseTheirLineEnds_data() {
        tests::addColumns<QByteArray, QString>("bytes", "text");
        addRow("CR LF lines", QByteArray("a\r\nb\r\nc\r\n"), u"abc"_s);
        addRow("lone CR ends a line", QByteArray("a\rb\r\nc"), u"abc"_s);
        addRow("lone LF stays", QByteArray("a\nb\r\nc"), u"a\nbc"_s);
        addRow("UTF-8 with mark", QByteArray("\xEF\xBB\xBF\xC2\xA3x\r\n"), u"£x"_s);
        addRow("8-bit pound", QByteArray("\xA3x\r\n"), u"£x"_s);
    }

    void templatesLoseTheirLineEnds() {
        QFETCH(QByteArray, bytes);
        QTEST(OrderFormWriter::templateText(bytes), "text");
    }

    // Written as UTF-8 with a byte-order mark, without the templates' line breaks, handed to the
    // browser, holding what the lines, the catalogue and the addresses give; then the order is
    // completed, or, when something stops it, stays open.
    void finalise_data() {
        // message: the box after the question, named in it
        // addresses: order, delivery record: "|field|field..."
        tests::addColumns<QString, QString, QStringList, QStringList, QStringList, QStringList>(
            "stop", "message", "parts", "lines", "addresses", "contains");
        const QStringList offices{u"|Olga|1 High St"_s, u"|Dan|Yard 2"_s};
        const QString oneLine = u"DA1|AAA111|Stored|1|1"_s;
        const auto stopped = [&](const char* name, const char* stop, const char* message) {
            addRow(name, stop, message, QStringList{}, QStringList{u"DA1|AAA111|One|2|3.5"_s},
                   offices, QStringList{});
        };
        addRow("two lines in order, the total", "", "",
               QStringList{u"DA1|AAA111|Catalogue one"_s, u"DA2|BBB222|Catalogue two"_s},
               QStringList{u"DA1|AAA111|Stored one|1|10|Leave at gate"_s,
                           u"DA2|BBB222|Stored two|2|0.5"_s},
               offices,
               QStringList{u"<M>" + separator +
                               cells({"DA1", "AAA111", "Catalogue one", "1", "£10.00", "£10.00"}) +
                               instructions("Leave at gate") + separator +
                               cells({"DA2", "BBB222", "Catalogue two", "2", "£0.50", "£1.00"}) +
                               instructions("") + separator + totalRow("£11.00") + u"<F>\r\n",
                           addressRow("Olga<br>1 High St<br>", "Dan<br>Yard 2<br>"),
                           u"<p><b>Order Number 5</b></p><M>"_s});
        addRow("stored texts escaped", "", "", QStringList{u"DA1|AAA111|Washer <M8> & nut"_s},
               QStringList{u"DA1|AAA111|Stored|1|1|<5mm spacer"_s,
                           u"DA2|BBB<2>|Nut & bolt|1|1|Nut & bolt"_s},
               QStringList{u"|Smith & Sons <Ltd>"_s, u"|The \"Old\" Mill"_s},
               QStringList{
                   instructions("&lt;5mm spacer"), instructions("Nut &amp; bolt"),
                   cells({"DA1", "AAA111", "Washer &lt;M8&gt; &amp; nut", "1", "£1.00", "£1.00"}),
                   cells({"DA2", "BBB&lt;2&gt;", "Nut &amp; bolt", "1", "£1.00", "£1.00"}),
                   addressRow("Smith &amp; Sons &lt;Ltd&gt;<br>", "The &quot;Old&quot; Mill<br>")});
        // The description is the catalogue's, found by the part key; text compares without
        // regard to case, but only "Dorvane Only" exactly is looked up by DorvaneNum.
        const QStringList catalogue{
            u"DX9|LR500|Rover part"_s, u"DX8|LR500|Second part of that number"_s,
            u"DV78|DORVANE ONLY|Shouty rover part"_s, u"DV77|Dorvane Only|Dorvane part"_s,
            u"||Part without numbers"_s};
        const auto byKey = [&](const char* name, QAnyStringView dv, QAnyStringView rover,
                               QAnyStringView description) {
            const QString line =
                u"%1|%2|Stored description|1|1"_s.arg(dv.toString(), rover.toString());
            addRow(name, "", "", catalogue, QStringList{line}, offices,
                   QStringList{cells({dv, rover, description, "1", "£1.00", "£1.00"})});
        };
        byKey("Land Rover number", "DX9", "LR500", "Rover part");
        byKey("Dorvane Only by its DV number", "DV77", "Dorvane Only", "Dorvane part");
        byKey("other letter case is a Rover number", "DV77", "DORVANE ONLY", "Shouty rover part");
        byKey("part gone from the catalogue", "DV00", "GONE1", "Stored description");
        byKey("no Rover number", "DV77", "", "Stored description");
        byKey("Dorvane Only without DV number", "", "Dorvane Only", "Stored description");
        // The fields that have a value, each but the telephone followed by a break.
        const auto block = [&](const char* name, QAnyStringView fields, QAnyStringView shown) {
            addRow(name, "", "", QStringList{}, QStringList{oneLine},
                   QStringList(2, fields.toString()), QStringList{addressRow(shown, shown)});
        };
        block("only a contact name", "|Ann", "Ann<br>");
        block("all empty", "||||||||", "");
        block("all Null", "", "");
        block("lines, no postcode, telephone", "|Ann|1 High St|Ashcombe|||||01632 960418",
              "Ann<br>1 High St<br>Ashcombe<br>01632 960418");
        block("no telephone ends in a break", "||1 High St|||||AS4 9QD",
              "1 High St<br>AS4 9QD<br>");
        stopped("question answered No", "no", "");
        stopped("order without lines", "empty", "");
        stopped("Cancel in the address window", "cancel", "");
        stopped("address window closed by its frame", "frame", "");
        stopped("OK without addresses", "noAddress", "address");
        stopped("typed name of no record", "typed", "address");
        stopped("missing header", "orderHeader.dat", "orderHeader.dat");
        stopped("missing middle", "orderMidA.dat", "orderMidA.dat");
        stopped("missing footer", "orderFooter.dat", "orderFooter.dat");
        stopped("page can't be written", "unwritable", "printOrder.html");
        stopped("no browser", "browser", "no web browser");
        stopped("no browser, saved as PDF", "browserPdf", "no web browser");
    }

    void finalise() {
        QFETCH(QString, stop);
        QFETCH(QString, message);
        QFETCH(QStringList, parts);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, addresses);
        ProgramDriver app;
        if (stop != u"noAddress") {
            addAddress(app, u"Order|Office" + addresses[0]);
            addAddress(app, u"Delivery|Depot" + addresses[1]);
        }
        openOrder(app, parts, stop == u"empty" ? QStringList{} : lines, false);
        app.writeFile(u"orderHeader.dat"_s, "a\r\nb\r\n");
        chooseAddresses(app);
        if (stop == u"cancel" || stop == u"noAddress" || stop == u"typed")
            app.dialogs.onWindow(u"frmOptions"_s, [stop](QDialog& window) {
                if (stop == u"typed") { // the name of no record
                    child<QComboBox>(window, "lstDelivery")->lineEdit()->selectAll();
                    QTest::keyClicks(child<QComboBox>(window, "lstDelivery")->lineEdit(),
                                     u"Nowhere"_s);
                }
                press(window, stop == u"cancel" ? "cmdCancel" : "cmdOK");
            });
        else if (stop == u"frame")
            app.dialogs.removeWindowScript(u"frmOptions"_s);
        else if (stop.endsWith(u".dat"))
            QVERIFY(QFile::remove(app.folder.file(stop)));
        else if (stop == u"unwritable")
            QVERIFY(QDir(app.folder.path()).mkdir(u"printOrder.html"_s));
        else if (stop.startsWith(u"browser"))
            app.browser.setAvailable(false);
        app.dialogs.answerNext(stop == u"no" ? Dialogs::Button::No : Dialogs::Button::Yes);
        // The box that says the form was not shown offers a PDF instead.
        const QString pdf = app.dir.filePath(u"form.pdf"_s);
        if (stop == u"browser")
            app.dialogs.answerNext(Dialogs::Button::Ok);
        if (stop == u"browserPdf") {
            app.dialogs.answerNext(Dialogs::Button::SavePdf);
            app.dialogs.answerNextSaveFile(pdf);
        }

        app.trigger(u"mnuFinaliseOrder"_s);

        QCOMPARE(app.dialogs.errors(), QStringList());
        QCOMPARE(QFileInfo(pdf).isFile(), stop == u"browserPdf");
        const bool completed = stop.isEmpty() || stop == u"browserPdf";
        QCOMPARE(storedOrders(app), QStringList{completed ? u"5|True"_s : u"5|False"_s});
        QCOMPARE(app.state.orderActive, !completed);
        QCOMPARE(titles(app.dialogs).section(u'|', 0, 0),
                 stop == u"empty" ? QString() : u"Finalise order?"_s);
        QCOMPARE(app.dialogs.boxes().size(), stop == u"empty" ? 0 : message.isEmpty() ? 1 : 2);
        if (!message.isEmpty())
            QVERIFY2(app.dialogs.boxes()[1].prompt.contains(message),
                     qPrintable(app.dialogs.boxes()[1].prompt));
        QCOMPARE(QFileInfo(app.folder.printOrder()).isFile(),
                 completed || stop.startsWith(u"browser"));
        if (!completed) {
            QCOMPARE(commands(app), stop == u"empty" ? u"order on, finalise off, ORD on"_s
                                                     : u"order on, finalise on, ORD on"_s);
            QCOMPARE(app.browser.requests().isEmpty(), !stop.startsWith(u"browser"));
            return;
        }
        QCOMPARE(app.status(), u"Order number 5 completed."_s);
        QCOMPARE(commands(app), u"order off, finalise off, ORD off"_s);
        QCOMPARE(app.browser.requests().size(), 1);
        QCOMPARE(app.browser.requests()[0].path, app.folder.printOrder());
        const QString written = page(app);
        QVERIFY(written.startsWith(u"\uFEFFab<table width=400><tr>"));
        QVERIFY(written.endsWith(u"</b></td><F>\r\n"));
        QCOMPARE(written.count(u'\n'), 1);
        QFETCH(QStringList, contains);
        for (const QString& text : contains)
            QVERIFY2(written.contains(text), qPrintable(u"lacks " + text + u" in " + written));
    }

    // The completed orders listed by number and date, the lines of the one picked with plain
    // decimal amounts, and its form printed again with other addresses; the open order stays.
    void previousOrders() {
        ProgramDriver app;
        addAddress(app, u"Order|Branch|Bea"_s);
        addAddress(app, u"Delivery|Farm|Fred"_s);
        addOrder(app, 2, true, {u"DA1|AAA111|One|1|1.25"_s, u"DA2|BBB222|Two|3|0.25"_s},
                 u"04/01/2026"_s);
        addOrder(app, 3, true, {u"DA5|EEE555|Hub seal|2|12.50|Fit both sides"_s}, u"09/01/2026"_s);
        openOrder(app, {u"DA5|EEE555|Hub seal, new catalogue"_s}, {u"DA9|ZZZ999|Open line|1|1"_s});
        chooseAddresses(app, 1, 0);
        QStringList shown;
        app.dialogs.onWindow(u"frmBackOrders"_s, [&](QDialog& window) {
            auto* list = child<QListWidget>(window, "lstAllOrders");
            for (int i = 0; i < list->count(); ++i)
                shown << list->item(i)->text();
            const auto grid = [&] {
                shown << rows(window, "MSFlexGridOrders")
                      << child<QLineEdit>(window, "txtAllOrdersOrderTotal")->text();
            };
            grid();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(1)).center());
            grid();
            app.dialogs.answerNext(Dialogs::Button::Yes);
            press(window, "cmdPrintPreviousOrder");
            grid(); // as it was
            press(window, "cmdClose");
        });

        app.trigger(u"mnuPreviousItem"_s);

        QCOMPARE(app.dialogs.errors(), QStringList());
        const QString five = u"1|DA5|EEE555|Hub seal|Fit both sides|2|£12.5|£25"_s;
        QCOMPARE(shown, QStringList({u"2  -  04/01/2026"_s, u"3  -  09/01/2026"_s,
                                     u"1|DA1|AAA111|One||1|£1.25|£1.25"_s,
                                     u"2|DA2|BBB222|Two||3|£0.25|£0.75"_s, u"2"_s, five, u"25"_s,
                                     five, u"25"_s}));
        QCOMPARE(app.browser.requests().size(), 1);
        const QString written = page(app);
        QVERIFY(written.contains(u"<p><b>Order Number 3</b></p>"));
        QVERIFY(written.contains(
            cells({"DA5", "EEE555", "Hub seal, new catalogue", "2", "£12.50", "£25.00"})));
        QVERIFY(written.contains(addressRow("Olga<br>1 High St<br>", "Fred<br>")));
        QCOMPARE(storedOrders(app), QStringList({u"2|True"_s, u"3|True"_s, u"5|False"_s}));
        QVERIFY(app.state.orderActive);
    }
};

QUILLON_TEST_CLASS(OrderFormTest)

#include "test_order_form.moc"
