// Robustness: what may stand in the Application folder when the program starts (damaged, odd or
// locked files, leftovers of a crash, a running program), every kind of text a counter hand might
// type or paste in the boxes, and faults injected as the program writes its files (a read-only
// folder, a full disk, links planted at the names it writes). A start that can't go on says what
// is wrong in one box and leaves every file as it was; a start that can repairs what a crash left.
// No engine error; every value stored reads back as typed; a fault gets a clear message and loses
// nothing; the catalogue is only ever read.
#include "addresses/address_table.h"
#include "app/start_up.h"
#include "housekeeping/user_data_backup.h"
#include "other_program.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "program_driver.h"
#include "read_only_place.h"
#include "session/handler_guard.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/transaction.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <functional>
#include <optional>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::OtherProgram;
using quillon::tests::ProgramDriver;
using quillon::tests::ProgramRun;
using quillon::tests::ReadOnlyPlace;
using quillon::tests::TestAppFolder;
using Button = Dialogs::Button;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
        qFatal("could not write %s", qPrintable(path));
}

// user.mdb with one open order (OrderNum 1) of lines lines, the first of them DA1001 at 4.50.
void makeUserDatabase(const AppFolder& folder, int lines = 1) {
    const auto db = Database::create(folder.userDatabase());
    Schema::createUser(*db);
    Transaction transaction(*db);
    db->execute(u"INSERT INTO orders(orderDate) SELECT '01/02/2025' AS orderDate"_s);
    for (int i = 0; i < lines; ++i)
        db->execute(u"INSERT INTO orderParts(OrderNum, DorvaneNum, RoverNum, "
                    u"Description, Quantity, Price, Comments) SELECT '1' AS a, "
                    u"'DA%1' AS b, 'ERR%1' AS c, 'Oil filter' AS d, '3' AS e, "
                    u"'4.5' AS f, '%2' AS g"_s.arg(1001 + i)
                        .arg(QString(i ? 100 : 0, u'c')));
    transaction.commit();
}

// The journal of a change to a large user.mdb cut short by a power cut, copied to journalTo (and
// the file as it then was to copyTo, when given).
void interruptedChange(const QString& copyTo, const QString& journalTo) {
    const TestAppFolder source;
    makeUserDatabase(source.folder, 1001);
    const auto db = Database::open(source.folder.userDatabase(), Database::Access::ReadWrite);
    db->execute(u"PRAGMA cache_size=5"_s); // the change reaches the file
    db->execute(u"BEGIN"_s);
    db->execute(u"DELETE * FROM orderParts WHERE OrderNum=1"_s);
    db->execute(u"DELETE * FROM orders WHERE OrderNum=1"_s);
    if (!copyTo.isEmpty())
        QFile::copy(source.folder.userDatabase(), copyTo);
    QFile::copy(source.folder.userDatabase() + u"-journal"_s, journalTo);
    db->execute(u"ROLLBACK"_s);
}

// Puts what the row names in the folder.
void arrange(const TestAppFolder& fx, const QString& how, std::optional<InstanceLock>& lock,
             std::unique_ptr<Database>& other) {
    const AppFolder& folder = fx.folder;
    const QString user = folder.userDatabase();
    const QString lockFile = folder.file(InstanceLock::fileName());
    if (how.startsWith(u"backup, ")) {
        makeUserDatabase(folder);
        QVERIFY(QFile::rename(user, folder.userBackup()));
    }
    if (how.startsWith(u"lock ") || how.startsWith(u"in use") || how.startsWith(u"too large") ||
        how.startsWith(u"disk full"))
        makeUserDatabase(folder);
    if (how == u"garbage") {
        QByteArray bytes(64 * 1024, '\0');
        for (char& byte : bytes)
            byte = char(QRandomGenerator::global()->bounded(256));
        writeFile(user, bytes);
    } else if (how.endsWith(u"page overwritten")) {
        makeUserDatabase(folder, 1001);
        QFile file(user);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4 * 4096));
        QCOMPARE(file.write(QByteArray(2 * 4096, '\xA5')), 2 * 4096);
    } else if (how == u"dangling link") {
        QVERIFY(QFile::link(u"/nowhere/drive/user.mdb"_s, user));
    } else if (how == u"folder") {
        QVERIFY(QDir(folder.path()).mkdir(u"user.mdb"_s));
    } else if (how == u"named pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(user).constData(), 0644), 0);
    } else if (how == u"unreadable" || how == u"read-only") {
        makeUserDatabase(folder);
        QVERIFY(QFile::setPermissions(user, how == u"read-only" ? QFileDevice::ReadOwner
                                                                : QFileDevice::WriteOwner));
    } else if (how == u"stale journal") {
        // A backup copied over user.mdb by hand, with the journal of a change to the file it
        // replaced still beside it.
        makeUserDatabase(folder);
        interruptedChange({}, user + u"-journal"_s);
    } else if (how == u"stale journal of a catalogue's change") {
        // The journal of a change to a smaller catalogue: played back, it damages the file.
        makeUserDatabase(folder, 1001);
        const QString work = fx.dir.filePath(u"work.mdb"_s);
        const auto catalogue = Database::create(work);
        Schema::createCatalogue(*catalogue);
        QCOMPARE(sqlite3_exec(catalogue->handle(),
                              "PRAGMA cache_size = 1; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                              "SELECT i + 1 FROM n WHERE i < 300) INSERT INTO Parts(DorvaneNum, "
                              "Description) SELECT 'N' || i, printf('%.80c', 'd') FROM n; BEGIN; "
                              "UPDATE Parts SET Description = 'CHANGED'",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        QVERIFY(QFile::copy(work + u"-journal"_s, user + u"-journal"_s));
        catalogue->execute(u"ROLLBACK"_s);
        QVERIFY(QFile::remove(work));
    } else if (how == u"interrupted change") {
        interruptedChange(user, user + u"-journal"_s);
    } else if (how == u"in use by another program") {
        other = Database::open(user, Database::Access::ReadWrite);
        other->execute(u"BEGIN EXCLUSIVE"_s);
    } else if (how == u"too large an amount") {
        Database::open(user, Database::Access::ReadWrite)
            ->execute(u"UPDATE orderParts SET Price = '900000000000000'"_s);
    } else if (how == u"lock held by a run that takes no requests") {
        lock.emplace(folder.path());
        QCOMPARE(lock->tryAcquire(), InstanceLock::Outcome::Acquired);
    } else if (how.startsWith(u"lock left behind")) {
        writeFile(lockFile,
                  how.endsWith(u"empty") ? QByteArray() : QByteArray::number(::getpid()) + "\nx\n");
    } else if (how.startsWith(u"lock a link")) {
        writeFile(fx.dir.path() + u"-notes.txt"_s, "the user's own notes\n");
        const QByteArray target = QFile::encodeName(fx.dir.path() + u"-notes.txt"_s);
        QCOMPARE(how.endsWith(u"hard") ? ::link(target.constData(), QFile::encodeName(lockFile))
                                       : ::symlink(target.constData(), QFile::encodeName(lockFile)),
                 0);
    } else if (how == u"catalogue without Parts") {
        QVERIFY(QFile::remove(folder.catalogue()));
        QVERIFY(QFile::copy(folder.userTemplate(), folder.catalogue()));
    } else if (how == u"parts.mdb missing") {
        QVERIFY(QFile::remove(folder.catalogue()));
    } else if (how == u"template missing") {
        QVERIFY(QFile::remove(folder.userTemplate()));
    } else if (how != u"disk full") {
        QFAIL(qPrintable(u"unknown arrangement "_s + how));
    }
}

// A text for a box, with what the box does with it: "" stored as typed, "=X" stored as X,
// "!words" refused with a box that says the words, nothing stored.
struct Hostile {
    QString text;
    QString outcome;
};

// Quotes, backslashes, wildcards, SQL, other scripts, emoji, direction marks, control characters,
// blanks, amounts and 10,000-character texts; and random texts of the same kinds of characters,
// seeded by the box's name. A free-text box stores each as typed; the outcomes in a price box
// (United Kingdom settings), the quantity and an address's new name are written beside the text.
QList<Hostile> hostileTexts(const QString& box) {
    const bool price = box.contains(u"Price");
    const bool quantity = box == u"txtQty";
    const QString notAnAmount = u"!is not an amount."_s;
    const QString noQuantity = u"!Please enter a quantity or press Cancel."_s;
    const QString fraction = u"!must be a whole number"_s;
    // Neither an amount nor a quantity.
    QStringList words =
        u"O'Brien's␞'␞''''␞\"Quoted\" \"\"␞C:\\parts\\new\\␞****␞????␞####␞[A-Z][!0-9]"
        u"␞STC[␞]]]]␞%_%_␞'; DROP TABLE orders; --␞\"; DELETE * FROM orderParts; --"
        u"␞' OR '1'='1␞x' UNION SELECT * FROM customParts --␞Größe façade Zoë␞"
        u"日本語の部品番号␞🚗🔧 parts 🛠️👍🏽␞חלקי "
        u"חילוף␞a\u202Eevil\u202C "
        u"b\u200F␞"
        u"tab\there␞one\ntwo\r\nthree\r␞bell\u0007 esc\u001b del\u007f␞   lead␞"
        u"trail   ␞    ␞\u00a0nbsp\u00a0␞0x1F"_s.split(u'␞');
    words << QString::fromUtf16(u"nul\u0000here", 8) << QString(10000, u'A')
          << QString(10000, u'\'');
    QList<std::array<QString, 3>> rows; // text, as a price, as a quantity
    for (const QString& text : words)
        rows.append({text, notAnAmount, noQuantity});
    rows.append({
        {u"£1,234.50"_s, u"=1234.5"_s, noQuantity},
        {u"-12.5"_s, u"=-12.5"_s, fraction},
        {u" 3.25 "_s, u"=3.25"_s, fraction},
        {u"0.00001"_s, u"=0"_s, fraction},
        {u"1,234"_s, u"=1234"_s, u"=1"_s},
        {u"  -2"_s, u"=-2"_s, u"=-2"_s},
        {u"007"_s, u"=7"_s, u"=7"_s},
        {u"3 boxes"_s, notAnAmount, u"=3"_s},
        {u"1e308"_s, notAnAmount, u"=1"_s},
        {u"99999999999999999999999"_s, notAnAmount, u"!The quantity is too large."_s},
    });
    QList<Hostile> texts;
    for (const auto& [text, asPrice, asQuantity] : rows)
        texts.append({text, price ? asPrice : quantity ? asQuantity : QString()});
    // A new address may not take the name of another, in any letter case.
    if (box.startsWith(u"new"))
        texts.append({u"o'brien's"_s, u"!There is already a"_s});
    static const QString pieces = u"'\"\\*?#[]!-%_;/ aZ09éßØжΩ語ש\u202E\t\n\r\u0001"_s;
    std::mt19937 random(qHash(box, 20261206u));
    for (int i = 0; i < 12; ++i) {
        // Led by a letter: neither an amount nor a quantity.
        QString text = price || quantity ? u"x"_s : QString();
        for (int length = 1 + int(random() % (i % 4 == 3 ? 300 : 24)); text.size() < length;)
            text += random() % 8 ? QString(pieces[qsizetype(random() % pieces.size())]) : u"🚗"_s;
        texts.append({text, price ? notAnAmount : quantity ? noQuantity : QString()});
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

// The error boxes of the handler guard and the boxes nobody scripted.
QString engineErrors(const ScriptedDialogs& dialogs) {
    QStringList found = dialogs.errors();
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.title == HandlerGuard::errorTitle() || box.prompt.startsWith(u"Could not"))
            found << box.prompt.left(200);
    }
    return found.join(u"; "_s);
}

// The boxes shown that ask nothing (only the exclamation ones, when errors).
QString prompts(const ScriptedDialogs& dialogs, bool errors) {
    QStringList all;
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if ((box.icon == Dialogs::Icon::Exclamation ||
             (!errors && box.icon == Dialogs::Icon::None)) &&
            !box.prompt.startsWith(u"Part exists in order."))
            all << box.prompt;
    }
    return all.join(u'\n');
}

QByteArray digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

void click(QWidget& root, const QString& name) {
    QTest::mouseClick(root.findChild<QPushButton*>(name), Qt::LeftButton);
}

// The shipped files, a catalogue whose numbers and descriptions hold quotes, backslashes,
// wildcards and other scripts, an order and a delivery address; the program started on it, with
// an open order of two lines when asked.
void start(ProgramDriver& p, bool withAnOrder = false) {
    p.copyOrderFormFiles();
    p.writeIcons();
    for (const char16_t* part :
         {u"DA1001|STC1001|Brake pad set", u"O'BR-2002|O'NEILL-77|Driver's door seal",
          u"QU\"OTE-3003|Dorvane Only|\"Heavy duty\" spring",
          u"BACK\\SL-4004|BS\\4004|Back\\slash bracket", u"PCT%_5005|P%_5005|50% off_ clip",
          u"ÜMLAUT-6006|GRÖSSE-6|Größe Dichtung", u"CAR🚗-8008|EMOJI-8|Spanner 🔧 set"}) {
        const QStringList f = QString::fromUtf16(part).split(u'|');
        p.addParts({{{u"DorvaneNum"_s, f[0]},
                     {u"RoverNum"_s, f[1]},
                     {u"Description"_s, f[2]},
                     {u"CustomerPrice"_s, u"12.5"_s}}});
    }
    p.run();
    p.addRows(u"orderCompanyDetails"_s, {{{u"RecordName"_s, u"O'Hara's"_s}}});
    p.addRows(u"deliveryCompanyDetails"_s, {{{u"RecordName"_s, u"Depot"_s}}});
    if (!withAnOrder)
        return;
    p.dialogs.answerNext(Button::Yes);
    p.click(u"cmdStartOrder"_s);
    for (const char* number : {"DA1001", "O'BR-2002"}) {
        p.searchPart(QString::fromUtf8(number));
        p.dialogs.onWindow(u"frmOrderQuantity"_s, [](QDialog& dialog) {
            enterText(dialog.findChild<QLineEdit*>(u"txtQty"_s), u"3"_s);
            enterText(dialog.findChild<QLineEdit*>(u"txtComment"_s), u"Mr O'Neill's van"_s);
            click(dialog, u"cmdOK"_s);
        });
        p.click(u"cmdOrder"_s);
    }
    // The address window once, as the user looks the addresses over: OK writes its boxes.
    p.dialogs.onWindow(u"frmOptions"_s, [](QDialog& window) { click(window, u"cmdOK"_s); });
    p.click(u"cmdOptions"_s);
    if (!engineErrors(p.dialogs).isEmpty())
        qFatal("the order could not be made: %s", qPrintable(engineErrors(p.dialogs)));
}

// Every row of the User database, or of another copy of it (a backup).
QStringList userRows(const ProgramDriver& p, const QString& store = {}) {
    QStringList rows;
    for (const char* table :
         {"orders", "orderParts", "customParts", "orderCompanyDetails", "deliveryCompanyDetails"}) {
        const QString select = u"SELECT * FROM "_s + QLatin1String(table);
        rows << (store.isEmpty() ? p.userRows(select) : ProgramDriver::rowsIn(store, select));
    }
    return rows;
}

// Finalise Order (Yes, the addresses chosen) or Backup; whileWriting() runs between the choice
// of the addresses and the writing of the form.
void command(ProgramDriver& p, bool backup, const std::function<void()>& whileWriting = {}) {
    p.dialogs.clearRecords();
    p.browser.clear();
    p.dialogs.answerNext(Button::Yes);
    if (backup)
        return p.trigger(u"mnuBackup"_s);
    p.dialogs.onWindow(u"frmOptions"_s, [&](QDialog& window) {
        click(window, u"cmdOK"_s);
        if (window.isVisible()) // the choice could not be taken: the user gives up
            click(window, u"cmdCancel"_s);
        else if (whileWriting)
            whileWriting();
    });
    p.click(u"cmdFinaliseOrder"_s);
}

} // namespace

class RobustnessTest : public QObject {
    Q_OBJECT

private slots:
    // Amounts as a United Kingdom desktop writes them, whatever the machine's settings.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void whatStandsInTheFolder_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("words"); // pieces of the box; %F: the folder
        QTest::addColumn<bool>("starts");       // with its order 1 open
        const auto row = [](const char* how, std::initializer_list<QAnyStringView> words,
                            bool starts = false) {
            QStringList pieces;
            for (const QAnyStringView word : words)
                pieces << word.toString();
            QTest::newRow(how) << QString::fromLatin1(how) << pieces << starts;
        };
        for (const char* how : {"garbage", "page overwritten"})
            row(how, {"user.mdb in the folder %F is damaged", "has not changed it",
                      "There is no backup", UserDataBackup::restoreNotice(), "What is wrong: "});
        row("backup, page overwritten", {"is damaged", "The last backup of your user data"});
        row("dangling link", {"%F is a link to /nowhere/drive/user.mdb", "not changed anything"});
        row("folder", {"user.mdb in the folder %F is a folder, not a file."});
        row("named pipe", {"user.mdb in the folder %F is a named pipe (FIFO), not a file."});
        row("unreadable", {"user.mdb in the folder %F can't be read"});
        row("read-only", {"user.mdb in the folder %F can't be written: the file is read-only."});
        row("stale journal",
            {"user.mdb-journal, that doesn't belong to it", "it was written for a larger file",
             "has left user.mdb exactly as it was, and moved the journal aside as "
             "user.mdb-journal-set-aside."});
        row("stale journal of a catalogue's change",
            {"user.mdb-journal, that doesn't belong to it",
             "finishing the change from it damaged the file (database disk image is malformed)",
             "has put user.mdb back exactly as it was, and moved the journal aside as "
             "user.mdb-journal-set-aside."});
        // Locked by another program is in use, not damaged: nobody is sent to restore a backup.
        row("in use by another program",
            {"user.mdb in the folder %F is in use by another program"});
        row("lock held by a run that takes no requests", {"already running from %F."});
        for (const char* how : {"lock a link, symbolic", "lock a link, hard"})
            row(how, {"quillon.lock in the Application folder %F is a link to another file"});
        row("disk full", {"the disk is full", "Nothing has been changed."});
        row("catalogue without Parts", {"parts.mdb in the folder %F", "Parts is missing"});
        row("parts.mdb missing", {"parts.mdb is missing from the folder %F"});
        row("template missing", {"systemuserDB.dat is missing from the folder %F"});
        row("interrupted change", {}, true); // undone, all before it kept
        row("too large an amount",
            {"Order number 1 can't be shown: line 1 (DV No. DA1001", "has an amount too large"},
            true);
        for (const char* how : {"lock left behind, empty", "lock left behind, this process"})
            row(how, {}, true);
    }

    void whatStandsInTheFolder() {
        QFETCH(QString, how);
        QFETCH(QStringList, words);
        QFETCH(bool, starts);
        const TestAppFolder fx;
        const AppFolder& start = fx.folder;
        std::optional<InstanceLock> lock;
        std::unique_ptr<Database> other;
        arrange(fx, how, lock, other);
        auto expected = fx.snapshot();
        if (how.startsWith(u"stale journal")) // the journal alone is moved aside, as it was
            expected.insert(u"user.mdb-journal-set-aside"_s, expected.take(u"user.mdb-journal"_s));
        const QString notes = fx.dir.path() + u"-notes.txt"_s; // planted links' target
        ProgramRun run;
        {
            std::optional<SafeFileWriter::InjectedFault> diskFull;
            if (how == u"disk full")
                diskFull.emplace(ENOSPC);
            QCOMPARE(run.start(start), starts);
        }
        for (QString& part : words)
            part.replace(QLatin1String("%F"), QDir::toNativeSeparators(start.path()));
        const QString said = starts && !run.dialogs.boxes().isEmpty()
                                 ? run.dialogs.boxes().last().prompt
                                 : run.onlyPrompt();
        for (const QString& part : words)
            QVERIFY2(said.contains(part), qPrintable(said));
        if (!starts) {
            QVERIFY2(run.refused(), qPrintable(said));
            QCOMPARE(fx.snapshot(), expected);
            QFile file(notes); // what a planted link leads to is never written
            QVERIFY(!file.open(QIODevice::ReadOnly) || file.readAll() == "the user's own notes\n");
            file.remove();
            if (!how.startsWith(u"lock"))
                QVERIFY(!QFile::exists(start.file(InstanceLock::fileName())));
            if (!how.startsWith(u"stale journal"))
                return;
            run.state = {}; // the restored backup starts with its order
            QVERIFY2(run.start(start), qPrintable(run.onlyPrompt()));
        }
        QVERIFY(run.state.orderActive);
        QCOMPARE(run.state.currentOrderNum, 1);
        QCOMPARE(run.state.userDb->integrityCheck(), QStringList());
        if (how == u"interrupted change")
            QCOMPARE(run.state.userDb->openRecordset(u"SELECT ID FROM orderParts"_s).recordCount(),
                     1001);
        QCOMPARE(InstanceLock(start.path()).holder()->processId,
                 QCoreApplication::applicationPid());
    }

    void hostileTextsInEveryBox_data() {
        QTest::addColumn<QString>("box");
        for (const char* box :
             {"txtFilePrice", "txtSellingPrice", "txtUnit", "txtQty", "txtComment", "txtOrderName",
              "txtOrderAddress1", "txtDeliveryPostcode", "txtDeliveryTel", "new Order",
              "new Delivery"})
            QTest::newRow(box) << QString::fromLatin1(box);
    }

    // Each text is taken as typed, and then stored (as typed, a price as the amount it names, a
    // quantity as the number it starts with) or refused with one box, nothing stored, as the
    // text's outcome says. (The search boxes' hostile texts are the counter's search table.)
    void hostileTextsInEveryBox() {
        QFETCH(QString, box);
        ProgramDriver p;
        start(p);
        const QByteArray catalogue = digest(p.folder.catalogue());
        const bool order = box.contains(u"Order");
        const AddressTable& table = order ? AddressTable::order() : AddressTable::delivery();
        const QString side = order ? u"Order"_s : u"Delivery"_s;
        QString select; // what the box stores
        if (box.startsWith(u"txtFile") || box.startsWith(u"txtSelling") || box == u"txtUnit") {
            p.searchPart(u"O'BR-2002"_s);
            select = u"SELECT %1 FROM customParts"_s.arg(box == u"txtUnit" ? u"CustomerUnitSale"_s
                                                         : box == u"txtFilePrice"
                                                             ? u"CustomerPrice"_s
                                                             : u"CustomerLRPrice"_s);
        } else if (box == u"txtQty" || box == u"txtComment") {
            p.dialogs.answerNext(Button::Yes);
            p.click(u"cmdStartOrder"_s);
            p.searchPart(u"QU\"OTE-3003"_s);
            select = box == u"txtQty" ? u"SELECT Quantity FROM orderParts"_s
                                      : u"SELECT Comments FROM orderParts"_s;
        } else if (box.startsWith(u"new")) {
            select = u"SELECT RecordName FROM %1 ORDER BY rowid DESC"_s.arg(table.name());
        } else {
            const QStringList boxes{u"Name"_s,     u"Address1"_s, u"Address2"_s, u"Address3"_s,
                                    u"Address4"_s, u"Address5"_s, u"Postcode"_s, u"Tel"_s};
            select = u"SELECT %1 FROM %2"_s.arg(
                table.columns().value(boxes.indexOf(box.mid(3 + side.size()))), table.name());
        }
        const auto stored = [&] { return p.userRows(select).value(0); };
        const auto tryAll = [&](QWidget& root) {
            for (const auto& [text, outcome] : hostileTexts(box)) {
                p.dialogs.clearRecords();
                const QString what = box + u": "_s + text.left(60);
                const QStringList before = userRows(p);
                bool taken = true;
                if (box == u"txtQty" || box == u"txtComment") {
                    if (!stored().isEmpty())
                        p.dialogs.answerNext(Button::Yes); // "Part exists in order." Update?
                    p.dialogs.onWindow(u"frmOrderQuantity"_s, [&](QDialog& dialog) {
                        const bool qty = box == u"txtQty";
                        enterText(dialog.findChild<QLineEdit*>(u"txtQty"_s), qty ? text : u"2"_s);
                        enterText(dialog.findChild<QLineEdit*>(u"txtComment"_s),
                                  qty ? u"x"_s : text);
                        taken = dialog.findChild<QLineEdit*>(box)->text() == text;
                        click(dialog, u"cmdOK"_s);
                        if (dialog.isVisible())
                            click(dialog, u"cmdCancel"_s);
                    });
                    click(root, u"cmdOrder"_s);
                } else if (box.startsWith(u"new")) {
                    p.dialogs.answerNextInput(text);
                    click(root, u"cmdNew%1Address"_s.arg(side));
                } else {
                    auto* target = root.findChild<QLineEdit*>(box);
                    target->setFocus(Qt::MouseFocusReason);
                    enterText(target, text);
                    taken = target->text() == text;
                    if (&root == p.window.get())
                        click(root, u"cmdEnterFilePrice"_s);
                    else // an address is written when the focus leaves its box
                        QTest::keyClick(target, Qt::Key_Tab);
                }
                QVERIFY2(taken && engineErrors(p.dialogs).isEmpty(),
                         qPrintable(what + engineErrors(p.dialogs)));
                const QString said = prompts(p.dialogs, false);
                if (outcome.startsWith(u'!')) {
                    QVERIFY2(said.contains(outcome.mid(1)), qPrintable(what + u" said: "_s + said));
                    QVERIFY2(userRows(p) == before, qPrintable(what));
                } else {
                    QVERIFY2(said.isEmpty(), qPrintable(what + u" said: "_s + said));
                    QVERIFY2(stored() == (outcome.isEmpty() ? text : outcome.mid(1)),
                             qPrintable(what + u" stored as "_s + stored()));
                }
                if (QTest::currentTestFailed())
                    return;
            }
        };
        if (box.startsWith(u"txtOrder") || box.startsWith(u"txtDelivery") ||
            box.startsWith(u"new")) {
            p.dialogs.onWindow(u"frmOptions"_s, [&](QDialog& window) {
                QApplication::setActiveWindow(&window);
                QVERIFY(QTest::qWaitForWindowActive(&window));
                tryAll(window);
                click(window, u"cmdOK"_s);
            });
            p.click(u"cmdOptions"_s);
        } else {
            tryAll(*p.window);
        }
        QCOMPARE(p.state.userDb->integrityCheck(), QStringList());
        p.window.reset();
        QVERIFY(digest(p.folder.catalogue()) == catalogue);
    }

    // A fault as the Order form or the backup is written: the folder read-only or the disk full
    // (from the start, or once the addresses are chosen), a link planted at the file's name that
    // leads out of the folder, another program changing the User database meanwhile. Each row
    // has one outcome. A box naming the fault: the order still open, nothing else changed, an
    // earlier file kept byte for byte, and the command succeeds once the fault is gone. No box:
    // the command does its work, a file of the program's own in place of a link, whatever the
    // link leads to never written. A backup holds what user.mdb holds; one taken while another
    // program is halfway through a change holds the whole change.
    void faultsAsFilesAreWritten_data() {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("says"); // in the box that stops the command; empty: no box
        QTest::newRow("form, folder read-only as it is written") << false << "folder late"
                                                                 << "printOrder.html";
        QTest::newRow("form, disk full as it is written")
            << false << "disk full late"
            << "printOrder.html could not be written: the disk is full";
        QTest::newRow("backup, file read-only")
            << true << "file"
            << "userdatabackup.mdb could not be written: the file is read-only";
        QTest::newRow("backup, folder read-only") << true << "folder"
                                                  << "NOT copied to userdatabackup.mdb";
        QTest::newRow("backup, disk full")
            << true << "disk full"
            << "userdatabackup.mdb could not be written: the disk is full";
        QTest::newRow("backup, another program halfway through a change") << true << "change ending"
                                                                          << "";
        QTest::newRow("backup, another program keeps its change going")
            << true << "change held"
            << "user.mdb is in use by another program that is changing it";
        for (const char* link : {"symbolic link", "hard link"}) {
            QTest::addRow("form, %s", link) << false << link << "";
            QTest::addRow("backup, %s", link) << true << link << "";
        }
    }

    void faultsAsFilesAreWritten() {
        QFETCH(bool, backup);
        QFETCH(QString, fault);
        QFETCH(QString, says);
        ProgramDriver p;
        const QTemporaryDir outside;
        start(p, true);
        const QString file = backup ? p.folder.userBackup() : p.folder.printOrder();
        const QString notes = outside.filePath(u"notes.txt"_s);
        const bool link = fault.endsWith(u"link");
        QFile earlier(link ? notes : file);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("the user's own\n") > 0);
        earlier.close();
        if (fault == u"symbolic link")
            QVERIFY(QFile::link(notes, file));
        if (fault == u"hard link")
            QCOMPARE(
                ::link(QFile::encodeName(notes).constData(), QFile::encodeName(file).constData()),
                0);
        const QStringList before = userRows(p);
        std::unique_ptr<ReadOnlyPlace> readOnly;
        std::optional<SafeFileWriter::InjectedFault> diskFull;
        std::optional<OtherProgram> other;
        QString why;
        const auto inject = [&] {
            if (fault.startsWith(u"disk full"))
                diskFull.emplace(ENOSPC);
            else if (fault.startsWith(u"change"))
                other.emplace(p.folder.userDatabase(), fault == u"change ending");
            else if (!link)
                readOnly = ReadOnlyPlace::make(fault == u"file" ? file : p.folder.path(), &why);
        };
        if (!fault.endsWith(u"late"))
            inject();
        command(p, backup, inject);
        other.reset();
        readOnly.reset();
        diskFull.reset();
        if (!why.isEmpty())
            QSKIP(qPrintable(u"no way to make it read-only here: "_s + why));
        QCOMPARE(engineErrors(p.dialogs), QString());
        const QString said = prompts(p.dialogs, true);
        QFile kept(link ? notes : file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        if (says.isEmpty()) {
            QCOMPARE(said, QString());
            QVERIFY(!QFileInfo(file).isSymLink() &&
                    (!link || kept.readAll() == "the user's own\n"));
        } else {
            QVERIFY2(said.contains(says), qPrintable(said));
            QCOMPARE(kept.readAll(), QByteArray("the user's own\n"));
            QCOMPARE(userRows(p), before);
            QVERIFY(p.state.orderActive && p.browser.requests().isEmpty());
            QFile::remove(file);
            command(p, backup);
            QCOMPARE(engineErrors(p.dialogs) + prompts(p.dialogs, true), QString());
        }
        if (backup) {
            QCOMPARE(userRows(p, file), userRows(p));
            QCOMPARE(ProgramDriver::rowsIn(file, u"SELECT count(*) FROM customParts"_s),
                     QStringList{fault == u"change ending" ? u"300"_s : u"0"_s});
            return;
        }
        QFile form(file);
        QVERIFY(form.open(QIODevice::ReadOnly));
        const QByteArray page = form.readAll();
        QVERIFY(page.contains("O'BR-2002") && page.contains("Mr O'Neill's van"));
        QVERIFY(!p.state.orderActive && p.browser.requests().size() == 1);
    }
};

QTEST_MAIN(RobustnessTest)
#include "test_robustness.moc"
