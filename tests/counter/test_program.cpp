// The program as a whole: the start and the next one, leaving with an order open, the keys of the
// counter, the backup of the User database, the text windows and the picture window.
#include "catalogue/picture_window.h"
#include "platform/flex_grid.h"
#include "platform/twips.h"
#include "program_driver.h"
#include "test_files.h"
#include "test_registry.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;
using quillon::tests::readFile;

namespace {

// Two parts (the second without a Rover number), an order open, both listed by a search for
// "1001" and the first shown; the quantity dialog answers 3.
void counter(ProgramDriver& app) {
    app.addParts({u"ID=1|DorvaneNum=BJ1001|RoverNum=STC1001|Description=Brake"_s,
                  u"ID=2|DorvaneNum=AF1001|Description=Air filter"_s});
    app.run();
    app.dialogs.answerNext(Dialogs::Button::Yes);
    app.click(u"cmdStartOrder"_s);
    app.type(u"txtPart"_s, u"1001"_s);
    ProgramDriver::key(Qt::Key_Return);
    app.dialogs.onWindow(u"frmOrderQuantity"_s, [](QDialog& d) {
        d.findChild<QLineEdit*>(u"txtQty"_s)->setText(u"3"_s);
        QTest::keyClick(d.findChild<QLineEdit*>(u"txtQty"_s), Qt::Key_Return);
    });
    app.dialogs.clearRecords();
}

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    // The first start copies the template to user.mdb; the next keeps what the user stored.
    void firstStartAndTheNext() {
        ProgramDriver app;
        app.run();
        QCOMPARE(app.status(), u"Dorvane Quillon - enter a part number or part description"_s);
        app.addRows(u"customParts"_s, {ProgramDriver::row(u"DorvaneNum=DV1|RoverNum=NRC1"_s)});
        const QByteArray userTemplate = readFile(app.folder.userTemplate());
        app.restart();
        QVERIFY(app.dialogs.boxes().isEmpty());
        QCOMPARE(app.userRows(u"SELECT DorvaneNum FROM customParts"_s), QStringList{u"DV1"_s});
        QCOMPARE(readFile(app.folder.userTemplate()), userTemplate);
    }

    // With an order open, Exit asks first, the close box only tells, and the order stays stored.
    void openOrderKeptOnLeaving() {
        ProgramDriver app;
        app.addRows(u"orders"_s,
                    {ProgramDriver::row(u"OrderNum=1|OrderDate=01/03/2024|OrderStatus=1"_s),
                     ProgramDriver::row(u"OrderNum=2|OrderDate=02/03/2024"_s)});
        app.run();
        app.dialogs.clearRecords();
        app.dialogs.answerNext(Dialogs::Button::No);
        app.trigger(u"mnuCloseItem"_s);
        QVERIFY(app.window->isVisible());
        app.window->close();
        QVERIFY(!app.window->isVisible());
        QCOMPARE(app.dialogs.boxes().size(), 2);
        QVERIFY(app.dialogs.boxes()[0].prompt.endsWith(u"\r\n\r\nDo you still want to exit?"));
        QVERIFY(app.dialogs.boxes()[1].prompt.endsWith(u"available when Quillon is next opened."));
        QVERIFY(app.dialogs.errors().isEmpty());
        QCOMPARE(app.userRows(u"SELECT OrderNum, OrderStatus FROM orders"_s),
                 QStringList({u"1|True"_s, u"2|False"_s}));
    }

    // Enter where the user is (in the search boxes: the keys' table): in a Customer Retail box,
    // Enter/Update; on a row of the results, Add to Order for that row's part, the
    // part-number box then ready for the next number; on a button, that button.
    void enterKey_data() {
        // typed: "control=text", in this order, joined by ";"
        // focus: "row 2": on that row of the results
        // stored: customParts, then orderParts
        tests::addColumns<QString, QString, QString, QString>("typed", "focus", "listed", "stored");
        const QString both = u"BJ1001 AF1001"_s;
        addRow("txtFilePrice", "txtFilePrice=12.5", "txtFilePrice", both, "BJ1001|STC1001|12.5|0|");
        addRow("txtSellingPrice after txtPart was edited", "txtPart=AF10;txtSellingPrice=20",
               "txtSellingPrice", both, "BJ1001|STC1001|0|20|");
        addRow("txtUnit", "txtUnit=3' HOSE", "txtUnit", both, "BJ1001|STC1001|0|0|3' HOSE");
        // The part has no Rover number, and keeps none of the part shown before it.
        addRow("row 2", "", "row 2", both, "AF1001||3");
        addRow("row 1 after txtPart was edited", "txtPart=AF10", "row 1", both, "BJ1001|STC1001|3");
        addRow("Clear button", "txtPart=AF10", "cmdClear", "", "");
    }
    void enterKey() {
        QFETCH(QString, typed);
        QFETCH(QString, focus);
        ProgramDriver app;
        counter(app);
        for (const QString& typing : typed.split(u';', Qt::SkipEmptyParts))
            app.type(typing.section(u'=', 0, 0), typing.section(u'=', 1));
        if (focus.startsWith(u"row "_s)) {
            app.grid()->setFocus();
            for (int row = app.grid()->row(); row < focus.back().digitValue(); ++row)
                ProgramDriver::key(Qt::Key_Down);
        } else {
            app.control(focus)->setFocus();
        }
        ProgramDriver::key(Qt::Key_Return);

        QTEST(app.gridColumn(0).join(u' '), "listed");
        QTEST((app.userRows(u"SELECT DorvaneNum, RoverNum, CustomerPrice, CustomerLRPrice, "
                            u"CustomerUnitSale FROM customParts"_s) +
               app.userRows(u"SELECT DorvaneNum, RoverNum, Quantity FROM orderParts"_s))
                  .join(u' '),
              "stored");
        QVERIFY(app.dialogs.boxes().isEmpty());
        auto* txtPart = app.control<QLineEdit>(u"txtPart"_s);
        if (focus.startsWith(u"row "_s)) // ready for the next number
            QVERIFY(txtPart->hasFocus() && txtPart->selectedText() == txtPart->text());
    }

    // Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+A edit the box the user types into (Ctrl+X never quits the
    // program from one); elsewhere they reach the menu items that share them.
    void clipboardKeys_data() {
        // text: held "NRC1234", all selected but for Ctrl+A
        // clipboard: held "STC99"
        tests::addColumns<QString, char, QString, QString>("focus", "key", "text", "clipboard");
        for (const QString& box : {u"txtPart"_s, u"txtUnit"_s}) {
            addRow(qPrintable(box + u" Ctrl+C"), box, 'C', "NRC1234", "NRC1234");
            addRow(qPrintable(box + u" Ctrl+V"), box, 'V', "STC99", "STC99");
            addRow(qPrintable(box + u" Ctrl+X"), box, 'X', "", "NRC1234");
            addRow(qPrintable(box + u" Ctrl+A"), box, 'A', "NRC1234", "STC99");
        }
        for (const char* key : {"C", "V", "A", "X"})
            addRow(qPrintable(u"grid Ctrl+"_s + QLatin1String(key)), "MSFlexGrid1", key[0], "", "");
    }
    void clipboardKeys() {
        QFETCH(QString, focus);
        QFETCH(char, key);
        ProgramDriver app;
        counter(app);
        const QString item = key == 'C'   ? u"mnuClearItem"_s
                             : key == 'V' ? u"mnuOrderItem"_s
                             : key == 'A' ? u"mnuAddToOrder"_s
                                          : u"mnuCloseItem"_s;
        int triggered = 0;
        connect(app.control<QAction>(item), &QAction::triggered, [&] { ++triggered; });
        app.dialogs.onWindow(u"frmViewOrder"_s, [](QDialog& d) { d.close(); });
        app.dialogs.answerNext(Dialogs::Button::Yes); // Exit, with the order open
        const bool box = focus != u"MSFlexGrid1"_s;
        if (box)
            app.type(focus, u"NRC1234"_s);
        QGuiApplication::clipboard()->setText(u"STC99"_s);
        app.control(focus)->setFocus();
        auto* edit = app.find<QLineEdit>(focus);
        if (edit && key == 'A')
            edit->deselect();
        else if (edit)
            edit->selectAll();
        ProgramDriver::key(Qt::Key(Qt::Key_A + key - 'A'), Qt::ControlModifier);
        QCOMPARE(triggered, box ? 0 : 1);
        QCOMPARE(app.window->isVisible(), box || key != 'X');
        if (box) {
            QTEST(edit->text(), "text");
            QTEST(QGuiApplication::clipboard()->text(), "clipboard");
        }
    }

    // File > Backup copies user.mdb to userdatabackup.mdb when asked to, or says why it couldn't,
    // keeping the earlier backup; the User database is open again afterwards.
    void backup_data() {
        tests::addColumns<int, QString, QString>("answer", "obstacle", "report");
        const int yes = int(Dialogs::Button::Yes);
        addRow("No", int(Dialogs::Button::No), "", "");
        addRow("first backup", yes, "", "copied to userdatabackup.mdb");
        addRow("earlier backup replaced", yes, "earlier", "copied to userdatabackup.mdb");
        addRow("name taken by a folder", yes, "folder", "NOT copied to userdatabackup.mdb\r\n\r\n");
    }
    void backup() {
        QFETCH(int, answer);
        QFETCH(QString, obstacle);
        QFETCH(QString, report);
        ProgramDriver app;
        app.addRows(u"orders"_s, {ProgramDriver::row(u"OrderDate=01/03/2024"_s)});
        app.run();
        const QString earlier =
            obstacle == u"folder"_s ? u"userdatabackup.mdb/keep.txt"_s : u"userdatabackup.mdb"_s;
        if (!obstacle.isEmpty() || answer == int(Dialogs::Button::No))
            app.writeFile(earlier, "earlier");
        app.dialogs.clearRecords();
        app.dialogs.answerNext(Dialogs::Button(answer));
        app.trigger(u"mnuBackup"_s);
        QCOMPARE(app.dialogs.boxes().size(), report.isEmpty() ? 1 : 2);
        if (report.isEmpty() || report.contains(u"NOT"_s)) {
            QCOMPARE(readFile(app.dir.filePath(earlier)), "earlier");
        } else { // a copy of the store, with its rows
            QCOMPARE(readFile(app.folder.userBackup()), readFile(app.folder.userDatabase()));
            auto copy = Database::open(app.folder.userBackup(), Database::Access::ReadOnly);
            QCOMPARE(copy->openRecordset(u"SELECT * FROM orders"_s).recordCount(), 1);
        }
        if (!report.isEmpty())
            QVERIFY2(app.dialogs.boxes()[1].prompt.startsWith(u"User data file "_s + report),
                     qPrintable(app.dialogs.boxes()[1].prompt));
        QCOMPARE(QDir(app.dir.path()).entryList({u"*.tmp"_s, u".*"_s}, QDir::Files | QDir::Hidden),
                 QStringList{});
        app.addRows(u"orders"_s, {ProgramDriver::row(u"OrderDate=02/03/2024"_s)}); // open again
        QCOMPARE(app.userRows(u"SELECT OrderNum FROM orders"_s).size(), 2);
    }

    // Help and About show their file line by line, each line ended by CR LF, or one line naming
    // a file that can't be read; they fit the screen, Help at a size to read in.
    void textWindows_data() {
        // content: null: no file
        tests::addColumns<QByteArray, QString>("content", "shown");
        addRow("no final line end", QByteArray("first\r\nsecond"), "first\nsecond\n");
        addRow("LF line ends", QByteArray("a\n\nb\n"), "a\n\nb\n");
        addRow("empty file", QByteArray(""), "");
        addRow("UTF-8", QByteArray("Caf\xc3\xa9 \xc2\xa3 5\r\n"), "Café £ 5\n");
        addRow("other 8-bit text", QByteArray("Caf\xe9\r\n"), "Caf\uFFFD\n");
        addRow("missing", QByteArray(), "<name>\n");
        addRow("taller than the screen", QByteArray("help\r\n").repeated(200),
               QString(u"help\n"_s).repeated(200));
    }
    void textWindows() {
        QFETCH(QByteArray, content);
        ProgramDriver app;
        app.run();
        for (const QString& item : {u"mnuContentsItem"_s, u"mnuAboutItem"_s}) {
            const QString file = item == u"mnuAboutItem" ? u"about.dat"_s : u"help.dat"_s;
            if (!content.isNull())
                app.writeFile(file, content);
            QString text;
            const QString form = item == u"mnuAboutItem" ? u"frmAbout"_s : u"frmHelp"_s;
            QSize columnsAndLines;
            app.dialogs.onWindow(form, [&](QDialog& w) {
                auto* shown = w.findChild<QPlainTextEdit*>(u"txtDescription"_s);
                text = shown->toPlainText();
                const QFontMetrics metrics(shown->font());
                columnsAndLines = QSize(shown->viewport()->width() / metrics.averageCharWidth(),
                                        shown->viewport()->height() / metrics.lineSpacing());
                QVERIFY(w.frameGeometry().height() <= w.screen()->availableGeometry().height());
                QTest::keyClick(shown, Qt::Key_Return);
            });
            app.trigger(item);
            if (content.isNull())
                QVERIFY2(text.contains(QDir::toNativeSeparators(app.folder.file(file))) &&
                             text.count(u'\n') == 1,
                         qPrintable(text));
            else
                QTEST(text, "shown");
            QVERIFY2(item == u"mnuAboutItem" ||
                         (columnsAndLines.width() >= 72 && columnsAndLines.height() >= 20),
                     qPrintable(u"%1 x %2 in %3"_s.arg(columnsAndLines.width())
                                    .arg(columnsAndLines.height())
                                    .arg(form)));
        }
        QVERIFY(app.dialogs.errors().isEmpty()); // Enter closed them
    }

    // The picture window opens fitting the picture, and scrolls when made smaller, also a
    // picture taller than a scroll bar's range; a click on the picture closes it.
    void pictureWindow() {
        ProgramDriver app;
        app.writePicture(u"tall.jpg"_s, QSize(40, 3000));
        PictureWindow window(app.dir.filePath(u"tall.jpg"_s));
        window.show();
        QVERIFY(window.hasPicture() && QTest::qWaitForWindowExposed(&window));
        const QSize picture(Twips::fromPixelsX(40), Twips::fromPixelsY(3000));
        QCOMPARE(window.outerSize(), picture + QSize(365, 755));
        auto* vScroll = window.findChild<QScrollBar*>(u"VScroll1"_s);
        QVERIFY(!vScroll->isVisible());
        window.setOuterSize(QSize(picture.width() + 365, 2755));
        QVERIFY(vScroll->isVisible() && !window.findChild<QScrollBar*>(u"HScroll1"_s)->isVisible());
        QCOMPARE(vScroll->maximum(), 32767);
        vScroll->setValue(vScroll->maximum());
        auto* shown = window.findChild<QLabel*>(u"Picture1"_s);
        QCOMPARE(shown->pos().y(), Twips::toPixelsY(-(picture.height() - 2000)));
        QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!window.isVisible());
    }
};

} // namespace

QUILLON_TEST_CLASS(ProgramTest)
#include "test_program.moc"
