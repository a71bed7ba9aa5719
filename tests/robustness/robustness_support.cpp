#include "robustness_support.h"

#include "session/handler_guard.h"
#include "store/schema.h"
#include "store/transaction.h"

#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <array>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Button = quillon::Dialogs::Button;

namespace quillon::tests::robustness {

namespace {

// The names of the order and the delivery address start() stores.
const QString orderAddressName = u"O'Hara's"_s;
const QString deliveryAddressName = u"Depot"_s;

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

} // namespace

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
    // The random texts come from a generator of a fixed seed (varied by the box's name, not by
    // the machine), the same at every run. None is, in any letter case, a text before it or the
    // name of an address the folder holds: a new address of such a name would be refused.
    static const QString pieces = u"'\"\\*?#[]!-%_;/ aZ09éßØжΩ語ש\u202E\t\n\r\u0001"_s;
    QStringList taken{orderAddressName, deliveryAddressName};
    for (const Hostile& earlier : texts)
        taken << earlier.text;
    QRandomGenerator random(20261206u + qChecksum(box.toUtf8()));
    for (int i = 0; i < 12; ++i) {
        QString text;
        do {
            // Led by a letter: neither an amount nor a quantity.
            text = price || quantity ? u"x"_s : QString();
            for (int length = 1 + random.bounded(i % 4 == 3 ? 300 : 24); text.size() < length;)
                text += random.bounded(8) ? QString(pieces[random.bounded(int(pieces.size()))])
                                          : u"🚗"_s;
        } while (taken.contains(text, Qt::CaseInsensitive));
        taken << text;
        texts.append({text, price ? notAnAmount : quantity ? noQuantity : QString()});
    }
    return texts;
}

QString engineErrors(const ScriptedDialogs& dialogs) {
    QStringList found = dialogs.errors();
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.title == HandlerGuard::errorTitle() || box.prompt.startsWith(u"Could not"))
            found << box.prompt.left(200);
    }
    return found.join(u"; "_s);
}

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

void click(QWidget& root, const QString& name) {
    QTest::mouseClick(root.findChild<QPushButton*>(name), Qt::LeftButton);
}

void start(ProgramDriver& p, bool withAnOrder) {
    p.copyOrderFormFiles();
    p.writeIcons();
    QStringList parts;
    for (const char16_t* part :
         {u"DA1001|STC1001|Brake pad set", u"O'BR-2002|O'NEILL-77|Driver's door seal",
          u"QU\"OTE-3003|Dorvane Only|\"Heavy duty\" spring",
          u"BACK\\SL-4004|BS\\4004|Back\\slash bracket", u"PCT%_5005|P%_5005|50% off_ clip",
          u"ÜMLAUT-6006|GRÖSSE-6|Größe Dichtung", u"CAR🚗-8008|EMOJI-8|Spanner 🔧 set"}) {
        const QStringList f = QString::fromUtf16(part).split(u'|');
        parts << u"DorvaneNum=%1|RoverNum=%2|Description=%3|CustomerPrice=12.5"_s.arg(f[0], f[1],
                                                                                      f[2]);
    }
    p.addParts(parts);
    p.run();
    p.addRows(u"orderCompanyDetails"_s, {{{u"RecordName"_s, orderAddressName}}});
    p.addRows(u"deliveryCompanyDetails"_s, {{{u"RecordName"_s, deliveryAddressName}}});
    if (!withAnOrder)
        return;
    p.dialogs.answerNext(Button::Yes);
    p.click(u"cmdStartOrder"_s);
    for (const char* number : {"DA1001", "O'BR-2002"}) {
        p.searchPart(QString::fromUtf8(number));
        p.dialogs.onWindow(u"frmOrderQuantity"_s, [](QDialog& dialog) {
            ProgramDriver::typeInto(dialog.findChild<QLineEdit*>(u"txtQty"_s), u"3"_s);
            ProgramDriver::typeInto(dialog.findChild<QLineEdit*>(u"txtComment"_s),
                                    u"Mr O'Neill's van"_s);
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

QStringList userRows(const ProgramDriver& p, const QString& store) {
    QStringList rows;
    for (const char* table :
         {"orders", "orderParts", "customParts", "orderCompanyDetails", "deliveryCompanyDetails"}) {
        const QString select = u"SELECT * FROM "_s + QLatin1String(table);
        rows << (store.isEmpty() ? p.userRows(select) : ProgramDriver::rowsIn(store, select));
    }
    return rows;
}

void command(ProgramDriver& p, bool backup, const std::function<void()>& whileWriting) {
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
} // namespace quillon::tests::robustness
