// Hostile use of the real main window: every kind of text a counter hand might type or paste in
// the boxes, and faults injected as the program writes its files (a read-only folder, a full
// disk, links planted at the names it writes). No engine error, every value stored reads back as
// typed, a fault gets a clear message and loses nothing, and the catalogue is only ever read.
#include "addresses/address_table.h"
#include "platform/safe_file_writer.h"
#include "program_run.h"
#include "read_only_place.h"
#include "session/handler_guard.h"
#include "store/database.h"
#include "store/locale_formats.h"
#include "store/sql_text.h"
#include "test_app_folder.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <functional>
#include <random>
#include <unistd.h>

using namespace quillon;
using quillon::tests::ProgramRun;
using quillon::tests::ReadOnlyPlace;
using quillon::tests::TestAppFolder;
using Button = Dialogs::Button;

namespace {

// The fixed texts, and random ones of the same kinds of characters (seeded by the box's name).
QStringList hostileTexts(const QString& box) {
    QStringList texts{"O'Brien's",
                      "'",
                      "''''",
                      "\"Quoted\" \"\"",
                      "C:\\parts\\new\\",
                      "****",
                      "????",
                      "####",
                      "[A-Z][!0-9]",
                      "STC[",
                      "]]]]",
                      "%_%_",
                      "'; DROP TABLE orders; --",
                      "\"; DELETE * FROM orderParts; --",
                      "' OR '1'='1",
                      "x' UNION SELECT * FROM customParts --",
                      QStringLiteral("Größe façade Zoë"),
                      QStringLiteral("日本語の部品番号"),
                      QStringLiteral("🚗🔧 parts 🛠️👍🏽"),
                      QStringLiteral("חלקי חילוף"),
                      QStringLiteral("a\u202Eevil\u202C b\u200F"),
                      "tab\there",
                      "one\ntwo\r\nthree\r",
                      QStringLiteral("bell\u0007 esc\u001b del\u007f"),
                      QString::fromUtf16(u"nul\u0000here", 8),
                      "   lead",
                      "trail   ",
                      "    ",
                      QStringLiteral("\u00a0nbsp\u00a0"),
                      QStringLiteral("£1,234.50"),
                      "-12.5",
                      "99999999999999999999999",
                      "1e308",
                      "0x1F",
                      QString(10000, u'A'),
                      QString(10000, u'\'')};
    static const QString pieces =
        QStringLiteral("'\"\\*?#[]!-%_;/ aZ09éßØжΩ語ש\u202E\t\n\r\u0001\u00a0");
    std::mt19937 random(qHash(box, 20261206u));
    for (int i = 0; i < 12; ++i) {
        QString text;
        for (int length = 1 + int(random() % (i % 4 == 3 ? 300 : 24)); text.size() < length;)
            text +=
                random() % 8 ? pieces[qsizetype(random() % pieces.size())] : QStringLiteral("🚗");
        texts << text;
    }
    return texts;
}

// Short plain text is typed key by key, anything else pasted over what the box held.
void enterText(QLineEdit* box, const QString& text) {
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else if (text.size() <= 60 && std::all_of(text.begin(), text.end(), [](QChar c) {
                 return c.unicode() >= 32 && c.unicode() < 127;
             }))
        QTest::keyClicks(box, text);
    else
        box->insert(text);
}

QString shown(const QString& text) {
    return text.left(60).replace(u'\n', QStringLiteral("\\n")) +
           (text.size() > 60 ? QStringLiteral("... (%1)").arg(text.size()) : QString());
}

// The error boxes of the handler guard and the boxes nobody scripted.
QString engineErrors(const ScriptedDialogs& dialogs) {
    QStringList found = dialogs.errors();
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.title == HandlerGuard::errorTitle() || box.prompt.startsWith(u"Could not"))
            found << shown(box.prompt);
    }
    return found.join(QStringLiteral("; "));
}

QStringList errorPrompts(const ScriptedDialogs& dialogs) {
    QStringList prompts;
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.icon == Dialogs::Icon::Exclamation)
            prompts << box.prompt;
    }
    return prompts;
}

QByteArray digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

// Every row of the User database's tables, to compare.
QString userRows(Database& db) {
    QString rows;
    for (const char* table :
         {"orders", "orderParts", "customParts", "orderCompanyDetails", "deliveryCompanyDetails"}) {
        for (Recordset r = db.openRecordset(QStringLiteral("SELECT * FROM ") + table); !r.eof();
             r.moveNext()) {
            rows += QLatin1String(table);
            for (int column = 0; column < r.columnCount(); ++column)
                rows += u'|' +
                        (r.field(column).isNull() ? QStringLiteral("-") : r.field(column).toText());
            rows += u'\n';
        }
    }
    return rows;
}

void click(QWidget& root, const QString& name) {
    QTest::mouseClick(root.findChild<QPushButton*>(name), Qt::LeftButton);
}

void searchPart(ProgramRun& run, const QString& number) {
    enterText(run.find<QLineEdit>(QStringLiteral("txtPart")), number);
    click(*run.window, QStringLiteral("cmdSearchPart"));
}

// The shipped files and a catalogue whose numbers, descriptions and a vehicle hold quotes,
// backslashes, wildcards, accents, CJK, emoji and Hebrew; the program started on it.
void start(const TestAppFolder& fx, ProgramRun& run) {
    const QString data = qEnvironmentVariable("QUILLON_TEST_DATA");
    for (QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString target = fx.folder.file(QDir(data).relativeFilePath(it.next()));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(it.filePath(), target);
    }
    auto catalogue = Database::open(fx.folder.catalogue(), Database::Access::ReadWrite);
    for (const auto& [dorvane, rover, description, vehicle] :
         {std::array<const char*, 4>{"DA1001", "STC1001", "Brake pad set", "Defender"},
          {"O'BR-2002", "O'NEILL-77", "Driver's door seal", "Land Rover 'Series' III"},
          {"QU\"OTE-3003", "Dorvane Only", "\"Heavy duty\" spring", ""},
          {"BACK\\SL-4004", "BS\\4004", "Back\\slash bracket", ""},
          {"PCT%_5005", "P%_5005", "50% off_ clip", ""},
          {"ÜMLAUT-6006", "GRÖSSE-6", "Größe Dichtung façade", ""},
          {"日本-7007", "部品-7", "日本語の部品", ""},
          {"CAR🚗-8008", "EMOJI-8", "Spanner 🔧 set", ""},
          {"STAR*9009", "Q?9009", "Wildcard [A-Z] #1 part", ""},
          {"RTL-1010", "HEB-10", "חלקי חילוף", ""}})
        catalogue->execute(QStringLiteral("INSERT INTO Parts(DorvaneNum, RoverNum, Description, "
                                          "Application1, CustomerPrice) SELECT '%1' AS a, '%2' "
                                          "AS b, '%3' AS c, %4 AS d, 12.5 AS e")
                               .arg(sqlEscape(QString::fromUtf8(dorvane)),
                                    sqlEscape(QString::fromUtf8(rover)),
                                    sqlEscape(QString::fromUtf8(description)),
                                    *vehicle ? u'\'' + sqlEscape(QString::fromUtf8(vehicle)) + u'\''
                                             : QStringLiteral("NULL")));
    catalogue.reset();
    if (!run.startShown(fx.folder))
        qFatal("the program did not start: %s", qPrintable(run.onlyPrompt()));
}

// The program with an open order of two lines, an order and a delivery address.
void startWithAnOrder(const TestAppFolder& fx, ProgramRun& run) {
    start(fx, run);
    run.state.userDb->execute(AddressTable::order().insertRecord(QStringLiteral("O'Hara's")));
    run.state.userDb->execute(AddressTable::delivery().insertRecord(QStringLiteral("Depot")));
    run.dialogs.answerNext(Button::Yes);
    click(*run.window, QStringLiteral("cmdStartOrder"));
    for (const char* number : {"DA1001", "O'BR-2002"}) {
        searchPart(run, QString::fromUtf8(number));
        run.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [](QDialog& dialog) {
            enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtQty")), "3");
            enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtComment")),
                      "Mr O'Neill's van");
            click(dialog, QStringLiteral("cmdOK"));
        });
        click(*run.window, QStringLiteral("cmdOrder"));
    }
    // The address window once, as the user looks the addresses over: OK writes its boxes.
    run.dialogs.onWindow(QStringLiteral("frmOptions"),
                         [](QDialog& window) { click(window, QStringLiteral("cmdOK")); });
    click(*run.window, QStringLiteral("cmdOptions"));
    if (!engineErrors(run.dialogs).isEmpty())
        qFatal("the order could not be made: %s", qPrintable(engineErrors(run.dialogs)));
}

// Finalise Order, answering Yes and choosing the addresses; duringWrite() runs between the
// choice and the writing of the form.
void finalise(ProgramRun& run, const std::function<void()>& duringWrite = {}) {
    run.dialogs.clearRecords();
    run.browser.clear();
    run.dialogs.answerNext(Button::Yes);
    run.dialogs.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
        click(window, QStringLiteral("cmdOK"));
        if (window.isVisible()) // the choice could not be taken: the user gives up
            click(window, QStringLiteral("cmdCancel"));
        else if (duringWrite)
            duringWrite();
    });
    click(*run.window, QStringLiteral("cmdFinaliseOrder"));
}

void backup(ProgramRun& run) {
    run.dialogs.clearRecords();
    run.dialogs.answerNext(Button::Yes);
    run.find<QAction>(QStringLiteral("mnuBackup"))->trigger();
}

} // namespace

class HostileUseTest : public QObject {
    Q_OBJECT

private slots:
    // Values with quotes, backslashes, wildcards and other scripts are found by typing them.
    void searchesFindHostileValues_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found"); // the DorvaneNum listed first; empty: none
        QTest::newRow("apostrophe") << "txtPart"
                                    << "'NEILL"
                                    << "O'BR-2002";
        QTest::newRow("double quote") << "txtPart"
                                      << "QU\"OTE"
                                      << "QU\"OTE-3003";
        QTest::newRow("backslash") << "txtPart"
                                   << "K\\SL"
                                   << "BACK\\SL-4004";
        QTest::newRow("percent and underscore are plain") << "txtPart"
                                                          << "%_50"
                                                          << "PCT%_5005";
        QTest::newRow("emoji") << "txtPart"
                               << "🚗-80"
                               << "CAR🚗-8008";
        QTest::newRow("SQL finds nothing") << "txtPart"
                                           << "'; DROP TABLE orders; --"
                                           << "";
        QTest::newRow("sharp s, other case") << "txtDesc"
                                             << "GRÖßE"
                                             << "ÜMLAUT-6006";
        QTest::newRow("Hebrew") << "txtDesc"
                                << "חלקי"
                                << "RTL-1010";
    }

    void searchesFindHostileValues() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, found);
        const TestAppFolder fx;
        ProgramRun run;
        start(fx, run);
        enterText(run.find<QLineEdit>(box), text);
        QTest::keyClick(run.find<QLineEdit>(box), Qt::Key_Return);
        QCOMPARE(engineErrors(run.dialogs), QString());
        QCOMPARE(run.dialogs.beeps(), 1);
        QCOMPARE(found.isEmpty() ? run.window->statusText() : run.state.selectedDorvaneNum,
                 found.isEmpty() ? QStringLiteral("No Parts Found!") : found);
    }

    void hostileTextsInEveryBox_data() {
        QTest::addColumn<QString>("box");
        for (const char* box :
             {"txtPart", "txtDesc", "txtFilePrice", "txtSellingPrice", "txtUnit", "txtQty",
              "txtComment", "txtOrderName", "txtOrderAddress1", "txtDeliveryPostcode",
              "txtDeliveryTel", "new Order name", "new Delivery name"})
            QTest::newRow(box) << QString::fromLatin1(box);
    }

    void hostileTextsInEveryBox() {
        QFETCH(QString, box);
        const TestAppFolder fx;
        ProgramRun run;
        start(fx, run);
        const QByteArray catalogue = digest(fx.folder.catalogue());
        Database& user = *run.state.userDb;
        const LocaleFormats formats;
        const auto each =
            [&](const std::function<void(const QString& text, const QString& what)>& check) {
                for (const QString& text : hostileTexts(box)) {
                    run.dialogs.clearRecords();
                    check(text, box + QStringLiteral(": ") + shown(text));
                    QVERIFY2(engineErrors(run.dialogs).isEmpty(),
                             qPrintable(engineErrors(run.dialogs)));
                    if (QTest::currentTestFailed())
                        return;
                }
            };
        const auto value = [&](const QString& select) {
            Recordset rows = user.openRecordset(select);
            return rows.eof() ? QString() : rows.field(0).toText();
        };
        if (box == u"txtPart" || box == u"txtDesc") {
            // Run (one beep), or refused as too short with nothing else changed.
            QLineEdit* target = run.find<QLineEdit>(box);
            each([&](const QString& text, const QString& what) {
                enterText(target, text);
                QTest::keyClick(target, Qt::Key_Return);
                QVERIFY2(target->text() == text, qPrintable(what));
                const bool tooShort = text.toUcs4().size() < 4;
                QVERIFY2(run.dialogs.beeps() == (tooShort ? 0 : 1), qPrintable(what));
                QVERIFY2(run.dialogs.boxes().size() == (tooShort ? 1 : 0), qPrintable(what));
                if (tooShort)
                    QVERIFY(run.dialogs.boxes()[0].prompt.endsWith(
                        u"must be longer then 3 characters"));
            });
        } else if (box.startsWith(u"txtFile") || box.startsWith(u"txtSelling") ||
                   box == u"txtUnit") {
            // A price is stored as the amount it names or refused; a unit is stored as typed.
            searchPart(run, QStringLiteral("O'BR-2002"));
            const QString column = box == u"txtUnit"        ? QStringLiteral("CustomerUnitSale")
                                   : box == u"txtFilePrice" ? QStringLiteral("CustomerPrice")
                                                            : QStringLiteral("CustomerLRPrice");
            each([&](const QString& text, const QString& what) {
                for (const char* other : {"txtFilePrice", "txtSellingPrice", "txtUnit"})
                    enterText(run.find<QLineEdit>(QLatin1String(other)), QString());
                enterText(run.find<QLineEdit>(box), text);
                const QString before = userRows(user);
                click(*run.window, QStringLiteral("cmdEnterFilePrice"));
                const auto amount = formats.parseAmount(text);
                if (box != u"txtUnit" && !amount) {
                    QVERIFY2(errorPrompts(run.dialogs).join(u' ').contains(u"is not an amount"),
                             qPrintable(what));
                    QVERIFY2(userRows(user) == before, qPrintable(what));
                    return;
                }
                QVERIFY2(run.window->statusText().startsWith(u"Custom price "), qPrintable(what));
                const QString stored = value(QStringLiteral("SELECT %1 FROM customParts WHERE "
                                                            "RoverNum = 'O''NEILL-77'")
                                                 .arg(column));
                QVERIFY2(box == u"txtUnit" ? stored == text
                                           : *Money::fromPlainText(stored) == *amount,
                         qPrintable(what + QStringLiteral(" stored as ") + stored));
            });
        } else if (box == u"txtQty" || box == u"txtComment") {
            // A quantity is stored as the number it starts with, or refused; a comment as typed.
            run.dialogs.answerNext(Button::Yes);
            click(*run.window, QStringLiteral("cmdStartOrder"));
            searchPart(run, QStringLiteral("QU\"OTE-3003"));
            const QString line = QStringLiteral("SELECT %1 FROM orderParts WHERE OrderNum = %2");
            each([&](const QString& text, const QString& what) {
                const QString before = value(line.arg("Quantity").arg(run.state.currentOrderNum));
                if (!before.isEmpty())
                    run.dialogs.answerNext(Button::Yes); // "Part exists in order." Update?
                QString refusal;
                run.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [&](QDialog& dialog) {
                    enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtQty")),
                              box == u"txtQty" ? text : QStringLiteral("2"));
                    enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtComment")),
                              box == u"txtQty" ? QStringLiteral("x") : text);
                    click(dialog, QStringLiteral("cmdOK"));
                    if (dialog.isVisible()) {
                        refusal = run.dialogs.boxes().value(0).prompt + u'?';
                        click(dialog, QStringLiteral("cmdCancel"));
                    }
                });
                click(*run.window, QStringLiteral("cmdOrder"));
                bool ok = false;
                const qint64 quantity = leadingNumberText(text).toLongLong(&ok);
                if (box == u"txtQty" && !(ok && quantity != 0 && quantity == qint32(quantity))) {
                    QVERIFY2(refusal.contains(u"quantity"), qPrintable(what + refusal));
                    QVERIFY2(value(line.arg("Quantity").arg(run.state.currentOrderNum)) == before,
                             qPrintable(what));
                    return;
                }
                QVERIFY2(refusal.isEmpty(), qPrintable(what + refusal));
                QVERIFY2(value(line.arg(box == u"txtQty" ? "Quantity" : "Comments")
                                   .arg(run.state.currentOrderNum)) ==
                             (box == u"txtQty" ? QString::number(quantity) : text),
                         qPrintable(what));
            });
        } else {
            // An address box is written as typed when the focus leaves it; Add New makes a record
            // of exactly the name, or says the name is in use.
            const bool order = box.contains(u"Order");
            const AddressTable& table = order ? AddressTable::order() : AddressTable::delivery();
            const QString side = order ? QStringLiteral("Order") : QStringLiteral("Delivery");
            const QString record = QStringLiteral("O'Hara & Sons \"Ltd\"");
            user.execute(table.insertRecord(record));
            const QStringList boxes{"Name",     "Address1", "Address2", "Address3",
                                    "Address4", "Address5", "Postcode", "Tel"};
            const QString column = table.columns().value(boxes.indexOf(box.mid(3 + side.size())));
            run.dialogs.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
                QApplication::setActiveWindow(&window);
                QVERIFY(QTest::qWaitForWindowActive(&window));
                auto* status = window.findChild<QStatusBar*>(QStringLiteral("OptionsStatusBar"));
                each([&](const QString& text, const QString& what) {
                    const QString names =
                        QStringLiteral("SELECT count(*) FROM %1 WHERE RecordName = '%2'")
                            .arg(table.name());
                    if (box.startsWith(u"new")) {
                        const QString before = userRows(user);
                        run.dialogs.answerNextInput(text);
                        click(window, QStringLiteral("cmdNew%1Address").arg(side));
                        if (userRows(user) == before)
                            QVERIFY2(
                                run.dialogs.boxes().value(0).prompt.startsWith(u"There is already"),
                                qPrintable(what));
                        else
                            QVERIFY2(value(names.arg(sqlEscape(text))) == u"1", qPrintable(what));
                        return;
                    }
                    auto* target = window.findChild<QLineEdit*>(box);
                    target->setFocus(Qt::MouseFocusReason);
                    enterText(target, text);
                    QTest::keyClick(target, Qt::Key_Tab);
                    QVERIFY2(status->currentMessage() ==
                                 QStringLiteral("Record \"%1\" updated").arg(record),
                             qPrintable(what + status->currentMessage()));
                    QVERIFY2(value(QStringLiteral("SELECT %1 FROM %2").arg(column, table.name())) ==
                                 text,
                             qPrintable(what));
                });
                click(window, QStringLiteral("cmdOK"));
            });
            click(*run.window, QStringLiteral("cmdOptions"));
        }
        QCOMPARE(user.integrityCheck(), QStringList());
        run.window.reset();
        QVERIFY(digest(fx.folder.catalogue()) == catalogue);
    }

    // The folder read-only or the disk full as the Order form is written: a message naming the
    // file, the order still open with all its lines, nothing changed; the fault gone, the same
    // command completes the order.
    void finaliseFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("whileWriting"); // injected after the addresses were chosen
        QTest::addColumn<QString>("named");     // what the message must name (one of, split at |)
        QTest::newRow("folder read-only as the form is written")
            << "readOnly" << true << "printOrder.html";
        QTest::newRow("disk full as the form is written")
            << "diskFull" << true << "printOrder.html could not be written: the disk is full";
        QTest::newRow("folder read-only from the start")
            << "readOnly" << false
            << "printOrder.html|can't be written: its folder may be read-only";
    }

    void finaliseFaults() {
        QFETCH(QString, fault);
        QFETCH(bool, whileWriting);
        QFETCH(QString, named);
        const TestAppFolder fx;
        ProgramRun run;
        startWithAnOrder(fx, run);
        const qint32 orderNum = run.state.currentOrderNum;
        const QString before = userRows(*run.state.userDb);
        std::unique_ptr<ReadOnlyPlace> readOnly;
        std::optional<SafeFileWriter::InjectedFault> diskFull;
        QString why;
        const auto inject = [&] {
            if (fault == u"readOnly")
                readOnly = ReadOnlyPlace::make(fx.folder.path(), &why);
            else
                diskFull.emplace(ENOSPC);
        };
        if (!whileWriting)
            inject();
        finalise(run, whileWriting ? inject : std::function<void()>());
        readOnly.reset();
        diskFull.reset();
        if (!why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no way to make a folder read-only here: ") + why));
        const QString errors = errorPrompts(run.dialogs).join(u'\n');
        const QStringList pieces = named.split(u'|');
        QVERIFY2(std::any_of(pieces.begin(), pieces.end(),
                             [&](const QString& piece) { return errors.contains(piece); }),
                 qPrintable(errors));
        QVERIFY(run.state.orderActive && run.state.currentOrderNum == orderNum);
        QVERIFY(run.browser.requests().isEmpty());
        QCOMPARE(userRows(*run.state.userDb), before);

        finalise(run);
        QCOMPARE(engineErrors(run.dialogs) + errorPrompts(run.dialogs).join(u'\n'), QString());
        QCOMPARE(run.browser.requests().size(), 1);
        QFile page(fx.folder.printOrder());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray form = page.readAll();
        QVERIFY(form.contains("DA1001") && form.contains("O'BR-2002") &&
                form.contains("Mr O'Neill's van"));
        QVERIFY(!run.state.orderActive);
    }

    // The backup target read-only or the disk full: said so, the earlier backup unchanged, the
    // program goes on, and once the fault is gone the backup is made.
    void backupFaults_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("backup file read-only") << "file";
        QTest::newRow("folder read-only") << "folder";
        QTest::newRow("disk full") << "diskFull";
    }

    void backupFaults() {
        QFETCH(QString, fault);
        const TestAppFolder fx;
        ProgramRun run;
        startWithAnOrder(fx, run);
        QFile earlier(fx.folder.userBackup());
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier backup") > 0);
        earlier.close();
        const QString before = userRows(*run.state.userDb);
        QString why;
        std::unique_ptr<ReadOnlyPlace> readOnly;
        std::optional<SafeFileWriter::InjectedFault> diskFull;
        if (fault == u"diskFull")
            diskFull.emplace(ENOSPC);
        else if (!(readOnly = ReadOnlyPlace::make(
                       fault == u"file" ? fx.folder.userBackup() : fx.folder.path(), &why)))
            QSKIP(qPrintable(QStringLiteral("no way to make it read-only here: ") + why));
        backup(run);
        readOnly.reset();
        diskFull.reset();
        const QStringList errors = errorPrompts(run.dialogs);
        QVERIFY2(errors.value(0).startsWith(u"User data file NOT copied to userdatabackup.mdb"),
                 qPrintable(errors.join(u'\n')));
        if (fault == u"diskFull")
            QVERIFY(
                errors[0].contains(u"userdatabackup.mdb could not be written: the disk is full"));
        QCOMPARE(digest(fx.folder.userBackup()),
                 QCryptographicHash::hash("an earlier backup", QCryptographicHash::Sha256));
        // With the store's folder read-only, the User database, closed for the copy, may open
        // for reading only: a second message says so, and nothing has been lost.
        if (errors.size() > 1)
            QVERIFY2(errors.size() == 2 && fault == u"folder" &&
                         errors[1].contains(u"Nothing has been lost"),
                     qPrintable(errors.join(u'\n')));
        QCOMPARE(userRows(*run.state.userDb), before);
        if (errors.size() > 1)
            return;
        searchPart(run, QStringLiteral("ÜMLAUT-6006"));
        run.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [](QDialog& dialog) {
            enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtQty")), QStringLiteral("1"));
            click(dialog, QStringLiteral("cmdOK"));
        });
        click(*run.window, QStringLiteral("cmdOrder"));
        QVERIFY(run.window->statusText().startsWith(u"Part added to order number"));
        backup(run);
        QCOMPARE(errorPrompts(run.dialogs), QStringList());
        QCOMPARE(digest(fx.folder.userBackup()), digest(fx.folder.userDatabase()));
    }

    // A link planted at the name of a file the program writes, leading out of the folder to a
    // file of the user's: that file is never written; the program puts a file of its own in
    // place of the link, or stops with a message naming the file.
    void plantedLinks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hard");
        for (const char* name : {"printOrder.html", "userdatabackup.mdb"}) {
            QTest::addRow("%s, symbolic link", name) << name << false;
            QTest::addRow("%s, hard link", name) << name << true;
        }
    }

    void plantedLinks() {
        QFETCH(QString, name);
        QFETCH(bool, hard);
        const TestAppFolder fx;
        const QTemporaryDir outside;
        ProgramRun run;
        startWithAnOrder(fx, run);
        const QString notes = outside.filePath(QStringLiteral("notes.txt"));
        const QString path = fx.folder.file(name);
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("the user's own notes\n") > 0);
        file.close();
        QFile::remove(path);
        QVERIFY(hard ? ::link(QFile::encodeName(notes).constData(),
                              QFile::encodeName(path).constData()) == 0
                     : QFile::link(notes, path));
        if (name == u"printOrder.html")
            finalise(run);
        else
            backup(run);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("the user's own notes\n"));
        const QFileInfo now(path);
        const QString said = errorPrompts(run.dialogs).join(u'\n');
        QVERIFY2((now.isFile() && !now.isSymLink() && digest(path) != digest(notes)) ||
                     said.contains(name),
                 qPrintable(said));
    }
};

QUILLON_TEST_CLASS(HostileUseTest)
#include "test_hostile_use.moc"
