// The Order form: Finalise Order and Print Previous Order driven through their handlers, with the
// address window answered by window scripts, and the page checked as written.
#include "addresses/address_table.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "order_fixture.h"
#include "orders/order_finaliser.h"
#include "printing/order_form_printing.h"
#include "printing/order_form_writer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quillon;
using namespace quillon::tests;

namespace {

const QString separator = QStringLiteral(
    "<tr><td colspan=6><img src=\"1pixel-black.gif\" width=100% height=1 vspace=5 alt=\"-\"></td>");

QString cells(const QStringList& values) {
    QString row = QStringLiteral("<tr>");
    for (const QString& value : values)
        row += QStringLiteral("<td valign=top class=partCell>") + value + QStringLiteral("</td>");
    return row + QStringLiteral("</tr>");
}

QString instructions(const QString& comments) {
    return QStringLiteral("<tr><td colspan=2 valign=top align=right class=comment>Special "
                          "Instructions: </td><td valign=top colspan=4 class=comment>") +
           comments + QStringLiteral("</td>");
}

QString totalRow(const QString& total) {
    return QStringLiteral("<tr><td></td><td></td><td></td><td></td><td><b>Total</b></td><td><b>") +
           total + QStringLiteral("</b></td>");
}

// The text between two markers of the page.
QString between(const QString& page, const QString& from, const QString& to) {
    const qsizetype start = page.indexOf(from);
    const qsizetype end = page.indexOf(to, start + from.size());
    if (start < 0 || end < 0)
        return QStringLiteral("<markers not found>");
    return page.mid(start + from.size(), end - start - from.size());
}

// Templates that are easy to find on the page: "<H>", "<M>", "<F>".
void markerTemplates(OrderFixture& fx) {
    fx.writeFile("orderHeader.dat", "<H>\r\n");
    fx.writeFile("orderMidA.dat", "<M>\r\n");
    fx.writeFile("orderFooter.dat", "<F>\r\n");
}

// An address window script: picks the entries at those positions of the two lists (by the Down
// key from the first) and presses OK.
ScriptedDialogs::WindowScript chooseAddresses(int orderEntry = 0, int deliveryEntry = 0) {
    return [orderEntry, deliveryEntry](QDialog& window) {
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto pick = [&window](const char* name, int entry) {
            auto* names = window.findChild<QComboBox*>(QString::fromLatin1(name));
            QVERIFY(names);
            names->setFocus(Qt::MouseFocusReason);
            for (int i = 0; i < entry; ++i)
                QTest::keyClick(names, Qt::Key_Down);
        };
        pick("lstOrder", orderEntry);
        pick("lstDelivery", deliveryEntry);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    };
}

ScriptedDialogs::WindowScript pressButton(const char* name) {
    return [name](QDialog& window) {
        QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    };
}

// One order and one delivery address.
void addAddresses(OrderFixture& fx) {
    fx.addAddress(AddressTable::order(), "Office", {"Olga", "1 High St"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"Dan", "Yard 2"});
}

// Answers Yes to the question and runs Finalise Order.
void finalise(OrderFixture& fx) {
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    OrderFinaliser(fx.context).cmdFinaliseOrder_Click();
}

void reprint(OrderFixture& fx, qint32 orderNum) {
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    OrderFormPrinting(fx.context).cmdPrintPreviousOrder_Click(orderNum);
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void templatesLoseTheirLineEnds_data();
    void templatesLoseTheirLineEnds();
    void finaliseWritesShowsAndCompletes();
    void twoLinesGiveTheirRowsInOrder();
    void amountsInTheCurrencyFormat();
    void descriptionByPartKey_data();
    void descriptionByPartKey();
    void addressBlocks_data();
    void addressBlocks();
    void storedValuesAreEscaped();
    void reprintDiffersOnlyInTheAddressTable();
    void stopsThatLeaveTheOrderOpen_data();
    void stopsThatLeaveTheOrderOpen();
    void failuresAreReportedAndLeaveTheOrderOpen_data();
    void failuresAreReportedAndLeaveTheOrderOpen();
    void reprintNeedsASelectedOrder();
    void fromTheMainWindow();
};

void TestPrinting::templatesLoseTheirLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF lines") << QByteArray("a\r\nb\r\nc\r\n") << "abc";
    QTest::newRow("last line without end") << QByteArray("a\r\nb\r\nc") << "abc";
    QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r\nc") << "abc";
    QTest::newRow("lone LF stays") << QByteArray("a\nb\r\nc") << "a\nbc";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF\xC2\xA3x\r\n") << "£x";
    QTest::newRow("8-bit pound") << QByteArray("\xA3x\r\n") << "£x";
}

void TestPrinting::templatesLoseTheirLineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(OrderFormWriter::templateText(bytes), text);
}

void TestPrinting::finaliseWritesShowsAndCompletes() {
    OrderFixture fx;
    fx.writeFile("orderHeader.dat", "a\r\n");
    fx.writeFile("orderMidA.dat", "b\r\n");
    fx.writeFile("orderFooter.dat", "c\r\n");
    addAddresses(fx);
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1001", "STC1234", "Stored", "1", "4");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());

    finalise(fx);

    QCOMPARE(fx.dialogs.errors(), QStringList());
    QCOMPARE(fx.dialogs.boxes().size(), 1);
    QCOMPARE(fx.dialogs.boxes()[0].title, QStringLiteral("Finalise order?"));
    QCOMPARE(fx.dialogs.boxes()[0].prompt, OrderFinaliser::finalisePrompt());
    QVERIFY(fx.dialogs.boxes()[0].prompt.endsWith(
        "options,\r\n and an order form will be generated and displayed in your browser for "
        "printing."));
    QCOMPARE(fx.dialogs.boxes()[0].icon, Dialogs::Icon::Question);
    QCOMPARE(fx.dialogs.shownWindows(), QStringList{"frmOptions"});

    // The page: a byte-order mark, the templates without their line breaks, one CR LF at the end.
    const QByteArray bytes = fx.pageBytes();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString page = fx.page();
    QVERIFY(page.startsWith(QStringLiteral("a<table width=400><tr>")));
    QVERIFY(page.contains(QStringLiteral("<p><b>Order Number %1</b></p>b").arg(orderNum)));
    QVERIFY(page.endsWith(QStringLiteral("</b></td>c\r\n")));
    QCOMPARE(page.count(u'\r'), 1);
    QCOMPARE(page.count(u'\n'), 1);
    QVERIFY(
        page.contains(OrderFormWriter::addressTable("Olga<br>1 High St<br>", "Dan<br>Yard 2<br>")));

    // Handed to the browser, then completed.
    QCOMPARE(fx.browser.requests().size(), 1);
    QCOMPARE(fx.browser.requests()[0].path, fx.folder.printOrder());
    QCOMPARE(fx.browser.requests()[0].bars, Browser::Bars::Shown);
    QVERIFY(fx.orderCompleted(orderNum));
    QVERIFY(!fx.state.orderActive);
    QCOMPARE(fx.window.status, QStringLiteral("Order number %1 completed.").arg(orderNum));
    QVERIFY(!fx.window.finaliseCommands);
    QVERIFY(!fx.window.orderCommands);
    QVERIFY(!fx.window.orderIndicator);
}

void TestPrinting::twoLinesGiveTheirRowsInOrder() {
    OrderFixture fx;
    markerTemplates(fx);
    addAddresses(fx);
    fx.addCataloguePart("DA1", "AAA111", "Catalogue one");
    fx.addCataloguePart("DA2", "BBB222", "Catalogue two");
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1", "AAA111", "Stored one", "1", "10", "Leave at gate");
    fx.addLine(orderNum, "DA2", "BBB222", "Stored two", "2", "0.5");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    finalise(fx);

    const QString expected = separator +
                             cells({"DA1", "AAA111", "Catalogue one", "1", "£10.00", "£10.00"}) +
                             instructions("Leave at gate") + separator +
                             cells({"DA2", "BBB222", "Catalogue two", "2", "£0.50", "£1.00"}) +
                             instructions("") + separator + totalRow("£11.00");
    QCOMPARE(between(fx.page(), "<M>", "<F>"), expected);
}

void TestPrinting::amountsInTheCurrencyFormat() {
    OrderFixture fx;
    markerTemplates(fx);
    addAddresses(fx);
    fx.addCataloguePart("DA3", "CCC333", "Bolt");
    fx.addCataloguePart("DA4", "DDD444", "Axle");
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA3", "CCC333", "Bolt", "3", "2.5");
    fx.addLine(orderNum, "DA4", "DDD444", "Axle", "1", "1234.5");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    finalise(fx);

    const QString items = between(fx.page(), "<M>", "<F>");
    QVERIFY2(items.contains(cells({"DA3", "CCC333", "Bolt", "3", "£2.50", "£7.50"})),
             qPrintable(items));
    QVERIFY(items.contains(cells({"DA4", "DDD444", "Axle", "1", "£1,234.50", "£1,234.50"})));
    QVERIFY(items.endsWith(totalRow("£1,242.00")));
}

void TestPrinting::descriptionByPartKey_data() {
    QTest::addColumn<QString>("dorvaneNum");
    QTest::addColumn<QString>("roverNum");
    QTest::addColumn<QString>("description");
    QTest::newRow("Land Rover number") << "DX9"
                                       << "LR500"
                                       << "Rover part";
    QTest::newRow("Dorvane Only by its DV number") << "DV77"
                                                   << "Dorvane Only"
                                                   << "Dorvane part";
    QTest::newRow("other letter case is a Rover number") << "DV77"
                                                         << "DORVANE ONLY"
                                                         << "Shouty rover part";
    QTest::newRow("part gone from the catalogue") << "DV00"
                                                  << "GONE1"
                                                  << "Stored description";
    QTest::newRow("no Rover number") << "DV77"
                                     << ""
                                     << "Stored description";
    QTest::newRow("Dorvane Only without DV number") << ""
                                                    << "Dorvane Only"
                                                    << "Stored description";
}

void TestPrinting::descriptionByPartKey() {
    QFETCH(QString, dorvaneNum);
    QFETCH(QString, roverNum);
    QFETCH(QString, description);
    OrderFixture fx;
    markerTemplates(fx);
    addAddresses(fx);
    fx.addCataloguePart("DX9", "LR500", "Rover part");
    fx.addCataloguePart("DX8", "LR500", "Second part of that number");
    // Text compares without regard to case: looked up by RoverNum, "DORVANE ONLY" finds the
    // first of these two; "Dorvane Only" is looked up by DorvaneNum and finds the second.
    fx.addCataloguePart("DV78", "DORVANE ONLY", "Shouty rover part");
    fx.addCataloguePart("DV77", "Dorvane Only", "Dorvane part");
    fx.addCataloguePart("", "", "Part without numbers");
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, dorvaneNum, roverNum, "Stored description", "1", "1");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    finalise(fx);

    QCOMPARE(fx.dialogs.errors(), QStringList());
    const QString items = between(fx.page(), "<M>", "<F>");
    QVERIFY2(items.contains(cells({dorvaneNum, roverNum, description, "1", "£1.00", "£1.00"})),
             qPrintable(items));
}

void TestPrinting::addressBlocks_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("block");
    QTest::newRow("only a contact name") << QStringList{"Ann"} << "Ann<br>";
    QTest::newRow("all empty") << QStringList{"", "", "", "", "", "", "", ""} << "";
    QTest::newRow("all Null") << QStringList{} << "";
    QTest::newRow("lines, no postcode, telephone")
        << QStringList{"Ann", "1 High St", "Ashcombe", "", "", "", "", "01632 960418"}
        << "Ann<br>1 High St<br>Ashcombe<br>01632 960418";
    QTest::newRow("no telephone ends in a break")
        << QStringList{"", "1 High St", "", "", "", "", "AS4 9QD"} << "1 High St<br>AS4 9QD<br>";
}

void TestPrinting::addressBlocks() {
    QFETCH(QStringList, fields);
    QFETCH(QString, block);
    OrderFixture fx;
    markerTemplates(fx);
    fx.addAddress(AddressTable::order(), "Billing", fields);
    fx.addAddress(AddressTable::delivery(), "Site", fields);
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1", "AAA111", "Stored", "1", "1");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    finalise(fx);

    QVERIFY(fx.page().contains(OrderFormWriter::addressTable(block, block)));
}

void TestPrinting::storedValuesAreEscaped() {
    OrderFixture fx;
    markerTemplates(fx);
    fx.addAddress(AddressTable::order(), "Office", {"Smith & Sons <Ltd>"});
    fx.addAddress(AddressTable::delivery(), "Depot", {"The \"Old\" Mill"});
    fx.addCataloguePart("DA1", "AAA111", "Washer <M8> & nut");
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1", "AAA111", "Stored", "1", "1", "<5mm spacer");
    fx.addLine(orderNum, "DA2", "BBB<2>", "Nut & bolt", "1", "1", "Nut & bolt");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    finalise(fx);

    const QString page = fx.page();
    QVERIFY(page.contains(instructions("&lt;5mm spacer")));
    QVERIFY(page.contains(instructions("Nut &amp; bolt")));
    QVERIFY(page.contains(
        cells({"DA1", "AAA111", "Washer &lt;M8&gt; &amp; nut", "1", "£1.00", "£1.00"})));
    QVERIFY(page.contains(cells({"DA2", "BBB&lt;2&gt;", "Nut &amp; bolt", "1", "£1.00", "£1.00"})));
    QVERIFY(page.contains(OrderFormWriter::addressTable("Smith &amp; Sons &lt;Ltd&gt;<br>",
                                                        "The &quot;Old&quot; Mill<br>")));
    QVERIFY(!page.contains(QStringLiteral("<5mm")));
}

void TestPrinting::reprintDiffersOnlyInTheAddressTable() {
    OrderFixture fx;
    addAddresses(fx);
    fx.addAddress(AddressTable::order(), "Branch", {"Bea", "9 Low Rd"});
    fx.addAddress(AddressTable::delivery(), "Farm", {"Fred"});
    fx.addCataloguePart("DA1", "AAA111", "Catalogue one");
    const qint32 orderNum = fx.addOrder(true);
    fx.addLine(orderNum, "DA1", "AAA111", "Stored", "2", "3.25", "Blue");
    fx.state.orderActive = true; // another order is open: the reprint leaves it alone
    fx.state.currentOrderNum = fx.addOrder(false);

    fx.dialogs.onWindow("frmOptions", chooseAddresses(0, 0));
    reprint(fx, orderNum);
    const QString first = fx.page();
    fx.dialogs.onWindow("frmOptions", chooseAddresses(1, 1));
    reprint(fx, orderNum);
    const QString second = fx.page();

    QCOMPARE(fx.dialogs.errors(), QStringList());
    QCOMPARE(fx.dialogs.boxes().size(), 2);
    QCOMPARE(fx.dialogs.boxes()[0].title, QStringLiteral("Print order?"));
    QCOMPARE(fx.dialogs.boxes()[0].prompt,
             QStringLiteral("Do you want to print this previous order?"));
    QCOMPARE(fx.browser.requests().size(), 2);
    const QString firstTable =
        OrderFormWriter::addressTable("Olga<br>1 High St<br>", "Dan<br>Yard 2<br>");
    const QString secondTable = OrderFormWriter::addressTable("Bea<br>9 Low Rd<br>", "Fred<br>");
    QVERIFY(first.contains(firstTable));
    QVERIFY(second.contains(secondTable));
    QVERIFY(first != second);
    QCOMPARE(QString(first).replace(firstTable, "*"), QString(second).replace(secondTable, "*"));
    QVERIFY(first.contains(QStringLiteral("<p><b>Order Number %1</b></p>").arg(orderNum)));
    QVERIFY(first.contains(cells({"DA1", "AAA111", "Catalogue one", "2", "£3.25", "£6.50"})));
    // Nothing changes for the orders.
    QVERIFY(fx.state.orderActive);
    QVERIFY(!fx.orderCompleted(fx.state.currentOrderNum));
    QCOMPARE(fx.window.status, QString());
}

void TestPrinting::stopsThatLeaveTheOrderOpen_data() {
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("message"); // the box after the question, if any
    QTest::newRow("question answered No") << "no"
                                          << "";
    QTest::newRow("order without lines") << "empty"
                                         << "";
    QTest::newRow("Cancel in the address window") << "cancel"
                                                  << "";
    QTest::newRow("address window closed by its frame") << "frame"
                                                        << "";
    QTest::newRow("OK without addresses") << "noAddress" << OrderFormPrinting::noAddressPrompt();
    QTest::newRow("typed name of no record") << "typed" << OrderFormPrinting::noAddressPrompt();
}

void TestPrinting::stopsThatLeaveTheOrderOpen() {
    QFETCH(QString, stop);
    QFETCH(QString, message);
    OrderFixture fx;
    if (stop != u"noAddress")
        addAddresses(fx);
    const qint32 orderNum = fx.startOrder();
    if (stop != u"empty")
        fx.addLine(orderNum, "DA1", "AAA111", "Stored", "1", "1");
    fx.dialogs.answerNext(stop == u"no" ? Dialogs::Button::No : Dialogs::Button::Yes);
    if (stop == u"cancel")
        fx.dialogs.onWindow("frmOptions", pressButton("cmdCancel"));
    else if (stop == u"typed")
        fx.dialogs.onWindow("frmOptions", [](QDialog& window) {
            auto* names = window.findChild<QComboBox*>("lstDelivery");
            names->lineEdit()->selectAll();
            QTest::keyClicks(names->lineEdit(), "Nowhere");
            QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
    else if (stop == u"noAddress")
        fx.dialogs.onWindow("frmOptions", pressButton("cmdOK"));
    // "frame": no script, the window is closed by its frame.

    OrderFinaliser(fx.context).cmdFinaliseOrder_Click();

    QStringList prompts;
    for (const ScriptedDialogs::Box& box : fx.dialogs.boxes())
        prompts << box.prompt;
    QStringList expected{OrderFinaliser::finalisePrompt()};
    if (!message.isEmpty())
        expected << message;
    QCOMPARE(prompts, expected);
    if (!message.isEmpty())
        QCOMPARE(fx.dialogs.boxes().last().title, Dialogs::applicationTitle());
    QCOMPARE(fx.dialogs.shownWindows().size(), stop == u"no" || stop == u"empty" ? 0 : 1);
    QVERIFY(!fx.pageExists());
    QVERIFY(fx.browser.requests().isEmpty());
    QVERIFY(fx.state.orderActive);
    QVERIFY(!fx.orderCompleted(orderNum));
    QVERIFY(fx.window.finaliseCommands);
}

void TestPrinting::failuresAreReportedAndLeaveTheOrderOpen_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("named"); // what the message must name
    QTest::newRow("missing header") << "orderHeader.dat"
                                    << "orderHeader.dat";
    QTest::newRow("missing middle") << "orderMidA.dat"
                                    << "orderMidA.dat";
    QTest::newRow("missing footer") << "orderFooter.dat"
                                    << "orderFooter.dat";
    QTest::newRow("page can't be written") << "unwritable"
                                           << "printOrder.html";
    QTest::newRow("no browser") << "browser"
                                << "no web browser";
}

void TestPrinting::failuresAreReportedAndLeaveTheOrderOpen() {
    QFETCH(QString, failure);
    QFETCH(QString, named);
    OrderFixture fx;
    addAddresses(fx);
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1", "AAA111", "Stored", "1", "1");
    fx.dialogs.onWindow("frmOptions", chooseAddresses());
    if (failure.endsWith(u".dat"))
        QVERIFY(QFile::remove(fx.folder.file(failure)));
    else if (failure == u"unwritable")
        QVERIFY(QDir(fx.folder.path()).mkdir("printOrder.html")); // a folder in the page's place
    else
        fx.browser.setAvailable(false);

    finalise(fx);

    QCOMPARE(fx.dialogs.errors(), QStringList());
    QCOMPARE(fx.dialogs.boxes().size(), 2);
    const ScriptedDialogs::Box report = fx.dialogs.boxes()[1];
    QCOMPARE(report.title, OrderFormPrinting::errorTitle());
    QCOMPARE(report.icon, Dialogs::Icon::Exclamation);
    QVERIFY2(report.prompt.contains(named), qPrintable(report.prompt));
    QVERIFY(report.prompt.contains(QStringLiteral("stays open")));
    QVERIFY(fx.state.orderActive);
    QVERIFY(!fx.orderCompleted(orderNum));
    QVERIFY(fx.window.finaliseCommands);
    if (failure != u"browser") {
        QVERIFY(!QFileInfo(fx.folder.printOrder()).isFile());
        QVERIFY(fx.browser.requests().isEmpty());
    }
}

void TestPrinting::reprintNeedsASelectedOrder() {
    OrderFixture fx;
    OrderFormPrinting(fx.context).cmdPrintPreviousOrder_Click(0);
    QCOMPARE(fx.dialogs.boxes().size(), 1);
    QCOMPARE(fx.dialogs.boxes()[0].prompt, QStringLiteral("No previous order selected."));
    QCOMPARE(fx.dialogs.boxes()[0].title, Dialogs::applicationTitle());
    QCOMPARE(fx.dialogs.boxes()[0].icon, Dialogs::Icon::None);
    QVERIFY(fx.dialogs.shownWindows().isEmpty());

    // A completed order without lines stops silently after the question.
    fx.dialogs.clearRecords();
    reprint(fx, fx.addOrder(true));
    QCOMPARE(fx.dialogs.boxes().size(), 1);
    QVERIFY(fx.dialogs.shownWindows().isEmpty());
    QVERIFY(!fx.pageExists());
}

void TestPrinting::fromTheMainWindow() {
    // The stores and templates of a fixture, with the real main window started on its folder.
    OrderFixture fx;
    addAddresses(fx);
    const qint32 done = fx.addOrder(true);
    fx.addLine(done, "DA1", "AAA111", "Done line", "1", "5");
    fx.state.userDb.reset();
    fx.state.catalogueDb.reset();
    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    std::unique_ptr<MainWindow> window = StartUp::start(state, dialogs, browser, fx.folder);
    QVERIFY(window);
    window->show();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    // Address Options, by its button and by its menu item.
    dialogs.onWindow("frmOptions", pressButton("cmdOK"));
    for (const char* command : {"cmdOptions", "mnuAddressItem"}) {
        dialogs.clearRecords();
        if (auto* button = window->findChild<QPushButton*>(command))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            window->findChild<QAction*>(command)->trigger();
        QCOMPARE(dialogs.shownWindows(), QStringList{"frmOptions"});
    }

    // Previous Orders, and a reprint from it.
    dialogs.onWindow("frmBackOrders", [&dialogs](QDialog& backOrders) {
        dialogs.answerNext(Dialogs::Button::Yes);
        QTest::mouseClick(backOrders.findChild<QPushButton*>("cmdPrintPreviousOrder"),
                          Qt::LeftButton);
        QTest::mouseClick(backOrders.findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    });
    window->findChild<QAction*>("mnuPreviousItem")->trigger();
    QCOMPARE(browser.requests().size(), 1);
    QVERIFY(fx.page().contains(QStringLiteral("<p><b>Order Number %1</b></p>").arg(done)));

    // Finalise Order on an open order with a line.
    state.userDb->execute("INSERT INTO orders(OrderDate) SELECT '02/03/2026' AS OrderDate");
    Recordset orders = state.userDb->openRecordset("SELECT OrderNum FROM orders");
    orders.moveLast();
    const qint32 open = orders.field(u"OrderNum").toInt32();
    state.userDb->execute(
        QStringLiteral("INSERT INTO orderParts(OrderNum, DorvaneNum, RoverNum, "
                       "Description, Quantity, Price) SELECT '%1' AS a, 'DA2' "
                       "AS b, 'BBB222' AS c, 'Open line' AS d, '2' AS e, '3' AS f")
            .arg(open));
    state.orderActive = true;
    state.currentOrderNum = open;
    window->setOrderCommandsEnabled(true);
    window->setFinaliseCommandsEnabled(true);
    dialogs.answerNext(Dialogs::Button::Yes);
    QTest::mouseClick(window->findChild<QPushButton*>("cmdFinaliseOrder"), Qt::LeftButton);

    QCOMPARE(dialogs.errors(), QStringList());
    QCOMPARE(browser.requests().size(), 2);
    QVERIFY(fx.page().contains(QStringLiteral("<p><b>Order Number %1</b></p>").arg(open)));
    QVERIFY(!state.orderActive);
    QCOMPARE(window->statusText(), QStringLiteral("Order number %1 completed.").arg(open));
    QVERIFY(!window->findChild<QPushButton*>("cmdFinaliseOrder")->isEnabled());
    QVERIFY(!window->findChild<QAction*>("mnuFinaliseOrder")->isEnabled());
    window.reset();
}

int main(int argc, char** argv) {
    useUnitedKingdomSettings();
    QApplication app(argc, argv);
    TestPrinting test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_printing.moc"
