// Orders leaving the counter other than by Finalise: printed (through the print dialog, to a PDF
// file here), saved as PDF, exported as CSV and e-mailed, for the open order from the File menu
// and for a completed one from the Previous Orders window; and the PDF that Finalise offers when
// no browser starts. The PDFs are read back with poppler's pdftotext, the CSV with Python's csv
// module.
#include "order_steps.h"
#include "platform/desktop_browser.h"
#include "printing/order_form_pages.h"
#include "test_files.h"
#include "test_registry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quillon;
using namespace quillon::tests;

namespace {

// Hostile texts in every text column, "DorvaneNum|RoverNum|Description|Quantity|Price|Comments".
const QStringList hostileLines{
    u"DA1|AAA111|Bolt, \"hex\" M8|3|2.5|=cmd|' /C calc'!A0"_s,
    u"+DA2|-BBB222|@SUM(A1)|1|1234.5|Line one\nline two"_s,
    u"DA3|CCC333|\u0645\u0631\u062D\u0628\u0627 right to left|2|0.125|\tTabbed"_s,
    u"DA4|Dorvane Only|Emoji \U0001F697 part|10|7|\rReturn first"_s,
};

// n lines DV0001 ... with a note each, quantity 1 and price 1.
QStringList numberedLines(int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << u"DV%1|LR%1|Part number %1|1|1|Note %1"_s.arg(i, 4, 10, QChar(u'0'));
    return lines;
}

QString run(const QString& program, const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return u"<%1 failed: %2>"_s.arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page (pdftotext ends each with a form feed).
QStringList pdfText(const QString& path) {
    QStringList pages = run(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s}).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The CSV file's records and fields as Python's csv module reads them, and whether the file
// starts with the byte-order mark and ends each record with CR LF.
QList<QStringList> csvRecords(const QString& path, QString* shape) {
    const QString script = uR"(
import csv, json, sys
raw = open(sys.argv[1], 'rb').read()
with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:
    rows = list(csv.reader(f))
shape = 'bom' if raw.startswith(b'\xef\xbb\xbf') else 'no bom'
# Every record ends in CR LF (no field here holds a CR LF of its own).
shape += ', crlf' if raw.endswith(b'\r\n') and raw.count(b'\r\n') == len(rows) else ', not crlf'
print(json.dumps({'shape': shape, 'rows': rows}))
)"_s;
    const QJsonObject read =
        QJsonDocument::fromJson(run(u"python3"_s, {u"-c"_s, script, path}).toUtf8()).object();
    *shape = read.value(u"shape").toString();
    QList<QStringList> records;
    for (const QJsonValue& row : read.value(u"rows").toArray())
        records << row.toVariant().toStringList();
    return records;
}

// Open order 5 (or completed order 4 beside open order 5 when previous) of those lines, with
// the shipped templates and one order and one delivery address; started, the first addresses
// picked.
void orderOf(ProgramDriver& app, const QStringList& lines, bool previous) {
    app.copyOrderFormFiles();
    addAddress(app, u"Order|Office|Olga Smith|1 High St|Ashcombe"_s);
    addAddress(app, u"Delivery|Depot|Dan|Yard 2"_s);
    addOrder(app, previous ? 4 : 5, previous, lines, u"01/03/2026"_s);
    if (previous)
        addOrder(app, 5, false, {u"DZ9|ZZZ999|Open line|1|1"_s});
    app.run();
    app.dialogs.clearRecords();
    app.dialogs.onWindow(u"frmOptions"_s, [](QDialog& window) { press(window, "cmdOK"); });
}

// The command: "mnu..." from the File menu, "cmd..." from the Previous Orders window.
void give(ProgramDriver& app, const QString& command) {
    if (command.startsWith(u"mnu")) {
        app.trigger(command);
        return;
    }
    app.dialogs.onWindow(u"frmBackOrders"_s, [command](QDialog& window) {
        press(window, command);
        press(window, "cmdClose");
    });
    app.trigger(u"mnuPreviousItem"_s);
}

} // namespace

class OrderOutputTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_; // the temporary files and the files saved
    const QByteArray temporaryFolder_ = qgetenv("TMPDIR"); // null when it was not set

private slots:
    void initTestCase() { qputenv("TMPDIR", QFile::encodeName(scratch_.path())); }
    void cleanupTestCase() {
        temporaryFolder_.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporaryFolder_);
    }

    // The form on paper and in a PDF: every line whole on one page with its special
    // instructions, the headings on every page of lines, "Page N of M" on every page.
    void formPages_data() {
        tests::addColumns<QString, int, bool, int, int>("command", "lineCount", "previous",
                                                        "fewestPages", "mostPages");
        addRow("open order, 1 line, Save as PDF", u"mnuSaveOrderPdf"_s, 1, false, 1, 1);
        addRow("open order, 500 lines, Save as PDF", u"mnuSaveOrderPdf"_s, 500, false, 10, 40);
        addRow("open order, 1 line, printed", u"mnuPrintOrder"_s, 1, false, 1, 1);
        addRow("previous order, 500 lines, printed", u"cmdPrintOrder"_s, 500, true, 10, 40);
        addRow("previous order, 1 line, Save PDF", u"cmdSaveOrderPdf"_s, 1, true, 1, 1);
    }

    void formPages() {
        QFETCH(QString, command);
        QFETCH(int, lineCount);
        QFETCH(bool, previous);
        ProgramDriver app;
        orderOf(app, numberedLines(lineCount), previous);
        const QString pdf = scratch_.filePath(u"form.pdf"_s);
        QFile::remove(pdf);
        app.dialogs.answerNextSaveFile(pdf);
        app.dialogs.onWindow(u"dlgPrintOrder"_s, [pdf](QDialog& dialog) {
            QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            dialog.done(QDialog::Accepted);
        });

        give(app, command);

        QCOMPARE(app.dialogs.errors(), QStringList());
        // Printing on a machine without printers says so before the dialog.
        const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
        QCOMPARE(titles(app.dialogs),
                 command.contains(u"Print") && noPrinter ? u"No printer"_s : QString());
        const QStringList text = pdfText(pdf);
        const int pages = int(text.size());
        QFETCH(int, fewestPages);
        QFETCH(int, mostPages);
        QVERIFY2(pages >= fewestPages && pages <= mostPages, qPrintable(QString::number(pages)));
        int found = 0;
        for (int page = 0; page < pages; ++page) {
            const QString& shown = text[page];
            QVERIFY2(shown.contains(u"Page %1 of %2"_s.arg(page + 1).arg(pages)),
                     qPrintable(shown));
            bool hasLines = false;
            for (int line = 1; line <= lineCount; ++line) {
                const QString number = u"%1"_s.arg(line, 4, 10, QChar(u'0'));
                if (!shown.contains(u"DV" + number + u' '))
                    continue;
                hasLines = true;
                ++found;
                QVERIFY2(shown.contains(u"Note " + number), qPrintable(u"line " + number));
            }
            if (hasLines)
                QVERIFY2(shown.contains(u"DV No.") && shown.contains(u"Description"),
                         qPrintable(shown));
        }
        QCOMPARE(found, lineCount);
        QVERIFY(text.first().contains(u"ORDER FORM"));
        QVERIFY(text.first().contains(u"Olga Smith"));
        QVERIFY(text.first().contains(u"Order Number %1"_s.arg(previous ? 4 : 5)));
        QVERIFY(text.last().contains(u"Please quote the order number"));
        const QString total = lineCount == 1 ? u"£1.00"_s : u"£500.00"_s;
        QVERIFY2(text.last().contains(u"Total") && text.last().contains(total),
                 qPrintable(text.last()));
        QCOMPARE(app.state.orderActive, true);
        QCOMPARE(storedOrders(app).contains(u"5|False"_s), true);
        QVERIFY(QFile::remove(pdf));
    }

    // Every field of the CSV as Python's csv module reads it back, exported or e-mailed. The
    // e-mail hands the PDF and the CSV to the mail client in a private folder, kept when no client
    // starts; its subject names the order and its date.
    void csvAndEmail_data() {
        // subject: of the e-mail, "" for an export; client: a mail client starts
        tests::addColumns<QString, QStringList, QList<QStringList>, QString, bool>(
            "command", "lines", "records", "subject", "client");
        const QStringList header{
            u"DV Number"_s,  u"Rover Number"_s, u"Description"_s,         u"Quantity"_s,
            u"Unit Price"_s, u"Line Total"_s,   u"Special Instructions"_s};
        const QList<QStringList> hostile{header,
                                         {u"DA1"_s, u"AAA111"_s, u"Bolt, \"hex\" M8"_s, u"3"_s,
                                          u"2.5"_s, u"7.5"_s, u"'=cmd|' /C calc'!A0"_s},
                                         {u"'+DA2"_s, u"'-BBB222"_s, u"'@SUM(A1)"_s, u"1"_s,
                                          u"1234.5"_s, u"1234.5"_s, u"Line one\nline two"_s},
                                         {u"DA3"_s, u"CCC333"_s,
                                          u"\u0645\u0631\u062D\u0628\u0627 right to left"_s, u"2"_s,
                                          u"0.125"_s, u"0.25"_s, u"'\tTabbed"_s},
                                         {u"DA4"_s, u"Dorvane Only"_s, u"Emoji \U0001F697 part"_s,
                                          u"10"_s, u"7"_s, u"70"_s, u"'\rReturn first"_s}};
        QList<QStringList> many{header};
        for (int i = 1; i <= 500; ++i) {
            const QString n = u"%1"_s.arg(i, 4, 10, QChar(u'0'));
            many << QStringList{u"DV" + n, u"LR" + n, u"Part number " + n, u"1"_s,
                                u"1"_s,    u"1"_s,    u"Note " + n};
        }
        addRow("open order exported", u"mnuExportOrderCsv"_s, hostileLines, hostile, QString(),
               true);
        addRow("previous order exported", u"cmdExportOrderCsv"_s, hostileLines, hostile, QString(),
               true);
        addRow("500 lines exported", u"mnuExportOrderCsv"_s, numberedLines(500), many, QString(),
               true);
        addRow("open order e-mailed", u"mnuEmailOrder"_s, hostileLines, hostile,
               u"Order 5 (01/03/2026)"_s, true);
        addRow("previous order e-mailed", u"cmdEmailOrder"_s, hostileLines, hostile,
               u"Order 4 (01/03/2026)"_s, true);
        addRow("no mail client", u"mnuEmailOrder"_s, hostileLines, hostile,
               u"Order 5 (01/03/2026)"_s, false);
    }

    void csvAndEmail() {
        QFETCH(QString, command);
        QFETCH(QStringList, lines);
        QFETCH(QString, subject);
        QFETCH(bool, client);
        ProgramDriver app;
        orderOf(app, lines, command.startsWith(u"cmd"));
        QString csv = scratch_.filePath(u"lines.csv"_s);
        if (subject.isEmpty())
            app.dialogs.answerNextSaveFile(csv);
        app.browser.setMailAvailable(client);

        give(app, command);

        QCOMPARE(app.dialogs.errors(), QStringList());
        QCOMPARE(app.browser.mails().size(), subject.isEmpty() ? 0 : 1);
        if (subject.isEmpty()) {
            QCOMPARE(app.dialogs.shownWindows().contains(u"frmOptions"_s), false);
        } else {
            const RecordingBrowser::Mail& mail = app.browser.mails().first();
            QCOMPARE(mail.subject, subject);
            QCOMPARE(mail.attachments.size(), 2);
            const QString number = subject.section(u' ', 1, 1);
            const QFileInfo pdf(mail.attachments[0]);
            csv = mail.attachments[1];
            QCOMPARE(pdf.fileName(), u"Order " + number + u".pdf");
            QCOMPARE(QFileInfo(csv).fileName(), u"Order " + number + u".csv");
            QCOMPARE(QFileInfo(csv).absolutePath(), pdf.absolutePath());
            QCOMPARE(QFileInfo(pdf.absolutePath()).permissions() & 0x0077, QFile::Permissions());
            QCOMPARE(pdfText(pdf.filePath()).size(), 1);
            QCOMPARE(titles(app.dialogs), client ? QString() : u"Order not e-mailed"_s);
            if (!client)
                QVERIFY(app.dialogs.boxes()[0].prompt.contains(pdf.filePath()) &&
                        app.dialogs.boxes()[0].prompt.contains(csv));
        }
        QString shape;
        QTEST(csvRecords(csv, &shape), "records");
        QCOMPARE(shape, u"bom, crlf"_s);
        QVERIFY(subject.isEmpty() ? QFile::remove(csv)
                                  : QDir(QFileInfo(csv).absolutePath()).removeRecursively());
    }

    // Where the save dialog opens and what it leaves, asked twice: the documents folder first,
    // then the folder used last; the suffix added to a name typed without it (and the replace
    // question the dialog could not ask); a file that can't be written says why and leaves
    // nothing; Cancel saves nothing.
    void saveDialog_data() {
        // answer: relative to the scratch folder; "" cancels
        // saved: the file then there, "" none
        // second: where the second dialog opens: "out" or "start"
        // boxes: the titles of the boxes
        tests::addColumns<QString, QString, QString, QString>("answer", "saved", "second", "boxes");
        addRow("named with its suffix", u"out/a.csv"_s, u"out/a.csv"_s, u"out"_s, u""_s);
        addRow("suffix added", u"out/b"_s, u"out/b.csv"_s, u"out"_s, u"Replace file?"_s);
        addRow("folder missing", u"gone/c.csv"_s, u""_s, u"start"_s,
               u"File not saved|File not saved"_s);
        addRow("a folder at the name", u"out/dir.csv"_s, u""_s, u"out"_s,
               u"File not saved|File not saved"_s);
        addRow("cancelled", u""_s, u""_s, u"start"_s, u""_s);
    }

    void saveDialog() {
        QFETCH(QString, answer);
        QFETCH(QString, saved);
        QFETCH(QString, second);
        QFETCH(QString, boxes);
        QDir(scratch_.path()).mkpath(u"out/dir.csv"_s);
        ProgramDriver app;
        orderOf(app, {u"DA1|AAA111|Bolt|1|1"_s}, false);
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString start =
            (QFileInfo(documents).isDir() ? documents : QDir::homePath()) + u"/Order 5.csv";
        for (int time = 0; time < 2; ++time)
            app.dialogs.answerNextSaveFile(answer.isEmpty() ? answer : scratch_.filePath(answer));
        if (boxes == u"Replace file?")
            app.dialogs.answerNext(Dialogs::Button::Yes);

        app.trigger(u"mnuExportOrderCsv"_s);
        app.trigger(u"mnuExportOrderCsv"_s);

        QCOMPARE(app.dialogs.errors(), QStringList());
        const auto& asked = app.dialogs.saveQuestions();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].suggestedPath, start);
        QCOMPARE(asked[0].filter, u"CSV files (*.csv)"_s);
        QCOMPARE(asked[1].suggestedPath,
                 second == u"out" ? scratch_.filePath(u"out/Order 5.csv"_s) : start);
        QCOMPARE(titles(app.dialogs), boxes);
        if (boxes.startsWith(u"File"))
            QVERIFY2(app.dialogs.boxes()[0].prompt.contains(u"could not be written"),
                     qPrintable(app.dialogs.boxes()[0].prompt));
        if (!saved.isEmpty()) {
            QVERIFY(QFileInfo(scratch_.filePath(saved)).isFile());
            QCOMPARE(app.status(), u"Order 5 exported as CSV."_s);
            QVERIFY(QFile::remove(scratch_.filePath(saved)));
        }
        QCOMPARE(QDir(scratch_.filePath(u"out"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // The paper of the user's locale.
    void paper_data() {
        tests::addColumns<QString, QString>("locale", "paper");
        addRow("United Kingdom", u"en_GB"_s, u"A4"_s);
        addRow("United States", u"en_US"_s, u"Letter / ANSI A"_s);
    }

    void paper() {
        QFETCH(QString, locale);
        QTEST(OrderFormPages::paperFor(QLocale(locale)).name(), "paper");
    }

    // The desktop's mail client as xdg-email answers: started with the subject and the
    // files attached, or not found.
    void desktopMail_data() {
        // exit: the fake xdg-email's exit status; "" none installed
        tests::addColumns<QString, bool>("exit", "started");
        addRow("client opens", u"0"_s, true);
        addRow("no mail client", u"3"_s, false);
        addRow("xdg-email missing", u""_s, false);
    }

    void desktopMail() {
        QFETCH(QString, exit);
        QTemporaryDir bin;
        const QString arguments = bin.filePath(u"arguments"_s);
        if (!exit.isEmpty()) {
            const QString fake = bin.filePath(u"xdg-email"_s);
            writeFile(fake, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/arguments\"\nexit " +
                                exit.toLatin1() + "\n");
            QVERIFY(QFile::setPermissions(fake,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QString pdf = bin.filePath(u"Order 5.pdf"_s);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const auto putBack = qScopeGuard([&] { qputenv("PATH", path); });
        DesktopBrowser desktop;

        QTEST(desktop.mail(u"Order 5 (01/03/2026)"_s, {pdf, bin.filePath(u"Order 5.csv"_s)}),
              "started");

        QCOMPARE(QString::fromUtf8(readFile(arguments)),
                 exit.isEmpty() ? u"<unreadable>"_s
                                : u"--utf8\n--subject\nOrder 5 (01/03/2026)\n--attach\n"_s + pdf +
                                      u"\n--attach\n" + bin.filePath(u"Order 5.csv"_s) + u'\n');
        QCOMPARE(QDir(bin.path())
                     .entryList(QDir::Hidden | QDir::Files)
                     .contains(u".mail-client-status"_s),
                 false);
    }

    // The File menu's commands of the open order say so for an order without lines.
    void withoutLines() {
        ProgramDriver app;
        orderOf(app, {}, false);

        app.trigger(u"mnuSaveOrderPdf"_s);
        app.trigger(u"mnuEmailOrder"_s);

        QCOMPARE(app.dialogs.errors(), QStringList());
        QCOMPARE(titles(app.dialogs), u"Dorvane Quillon|Dorvane Quillon"_s);
        QCOMPARE(app.dialogs.boxes()[0].prompt, u"Order 5 has no parts."_s);
        QCOMPARE(app.dialogs.boxes()[1].prompt, u"Order 5 has no parts."_s);
        QCOMPARE(app.browser.mails().size(), 0);
    }
};

QUILLON_TEST_CLASS(OrderOutputTest)

#include "test_order_output.moc"
