// Faults injected while the program runs, through the real main window: the Application folder
// read-only or the disk full just as the Order form is written, a template missing, the backup
// target read-only or the disk full, links planted at the names of the files the program writes,
// a picture file that is no picture. Each gets a clear message, the program
// goes on, and nothing is lost: the User database holds what it held, and once the fault is gone
// the same command succeeds. Also: picture names from the catalogue that lead out of the images
// folder are never opened.
#include "addresses/address_table.h"
#include "catalogue/part_pictures.h"
#include "catalogue_fixture.h"
#include "hostile_checks.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "read_only_place.h"
#include "session/program_state.h"
#include "store/database.h"
#include "store_dump.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::tests;

namespace {

using Button = Dialogs::Button;

// One injected fault: made by inject(), gone with reset().
struct Fault {
    std::unique_ptr<ReadOnlyPlace> readOnly;
    std::unique_ptr<SafeFileWriter::InjectedFault> diskFull;
    void reset() {
        readOnly.reset();
        diskFull.reset();
    }
};

void copyShippedFile(const QString& name, const AppFolder& folder) {
    const QString target = folder.file(name);
    QFile::remove(target);
    if (!QFile::copy(qEnvironmentVariable("QUILLON_TEST_DATA") + u'/' + name, target))
        qFatal("could not copy %s from QUILLON_TEST_DATA", qPrintable(name));
}

StoreDump::Rows userRows(const CatalogueFixture& fx) {
    return StoreDump::read(fx.state.userDb->handle());
}

// The program started on the hostile catalogue with the order form templates, an order address
// and a delivery address, a custom price, and an open order of two lines, all made through the
// window.
void startWithAnOrder(CatalogueFixture& fx) {
    for (const char* name :
         {"orderHeader.dat", "orderMidA.dat", "orderFooter.dat", "1pixel-black.gif"})
        copyShippedFile(QString::fromLatin1(name), fx.folder);
    fx.start();
    Database& user = *fx.state.userDb;
    user.execute(AddressTable::order().insertRecord(QStringLiteral("O'Hara's Office")));
    user.execute(AddressTable::order().updateRecord(
        QStringLiteral("O'Hara's Office"),
        {"Mr O'Hara", "1 Mill Lane", "", "", "", "", "AB1 2CD", ""}));
    user.execute(AddressTable::delivery().insertRecord(QStringLiteral("Depot")));

    fx.dialogs.answerNext(Button::Yes);
    fx.click(QStringLiteral("cmdStartOrder"));
    const auto addPart = [&fx](const QString& number, const QString& quantity,
                               const QString& comment) {
        fx.searchPart(number);
        fx.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [=](QDialog& dialog) {
            enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtQty")), quantity);
            enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtComment")), comment);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        });
        fx.click(QStringLiteral("cmdOrder"));
    };
    addPart(QStringLiteral("DA1001"), QStringLiteral("3"), QStringLiteral("first"));
    addPart(QStringLiteral("O'BR-2002"), QStringLiteral("2"), QStringLiteral("Mr O'Neill's van"));
    enterText(fx.box(QStringLiteral("txtFilePrice")), QStringLiteral("7.25"));
    fx.click(QStringLiteral("cmdEnterFilePrice"));
    // The address window once, as the user looks the addresses over: OK writes its boxes.
    fx.dialogs.onWindow(QStringLiteral("frmOptions"), [](QDialog& window) {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    fx.click(QStringLiteral("cmdOptions"));
    if (!engineErrors(fx.dialogs).isEmpty())
        qFatal("the order could not be made: %s", qPrintable(engineErrors(fx.dialogs)));
    fx.dialogs.clearRecords();
}

// The error boxes of the last command, with their prompts.
QStringList errorPrompts(const ScriptedDialogs& dialogs) {
    QStringList prompts;
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.icon == Dialogs::Icon::Exclamation)
            prompts << box.prompt;
    }
    return prompts;
}

// Finalise Order, answering Yes and choosing the addresses; between the choice and the writing of
// the form, duringWrite() runs.
void finalise(CatalogueFixture& fx, const std::function<void()>& duringWrite = {}) {
    fx.dialogs.clearRecords();
    fx.browser.clear();
    fx.dialogs.answerNext(Button::Yes);
    fx.dialogs.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        if (window.isVisible()) // the choice could not be taken: the user gives up
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
        else if (duringWrite)
            duringWrite();
    });
    fx.click(QStringLiteral("cmdFinaliseOrder"));
}

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestInjectedFaults : public QObject {
    Q_OBJECT

private slots:
    void finaliseFaults_data();
    void finaliseFaults();
    void backupFaults_data();
    void backupFaults();
    void plantedLinks_data();
    void plantedLinks();
    void pictureThatIsNoPicture();
    void pictureNamesLeavingTheImagesFolder_data();
    void pictureNamesLeavingTheImagesFolder();
    void cleanupTestCase();

private:
    QStringList injected_;
};

void TestInjectedFaults::cleanupTestCase() {
    qInfo("%d faults injected: %s", static_cast<int>(injected_.size()),
          qPrintable(injected_.join(QStringLiteral("; "))));
}

void TestInjectedFaults::finaliseFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("whileWriting"); // injected after the addresses were chosen
    QTest::addColumn<QString>("named");     // what the message must name (one of, split at |)
    QTest::newRow("folder read-only as the form is written")
        << "readOnly" << true << "printOrder.html";
    QTest::newRow("disk full as the form is written")
        << "diskFull" << true << "printOrder.html could not be written: the disk is full";
    // The address window may be the first to find that the store can't be written.
    QTest::newRow("folder read-only from the start")
        << "readOnly" << false << "printOrder.html|can't be written: its folder may be read-only";
}

void TestInjectedFaults::finaliseFaults() {
    QFETCH(QString, fault);
    QFETCH(bool, whileWriting);
    QFETCH(QString, named);
    CatalogueFixture fx(hostileCatalogue());
    startWithAnOrder(fx);
    const qint32 orderNum = fx.state.currentOrderNum;
    const StoreDump::Rows before = userRows(fx);
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());

    Fault injectedFault;
    QString why;
    const auto inject = [&] {
        if (fault == u"readOnly") {
            injectedFault.readOnly =
                ReadOnlyPlace::make(ReadOnlyPlace::Kind::Folder, fx.folder.path(), &why);
        } else {
            injectedFault.diskFull = std::make_unique<SafeFileWriter::InjectedFault>(ENOSPC);
        }
    };
    if (whileWriting) {
        finalise(fx, inject);
    } else {
        inject();
        finalise(fx);
    }
    injectedFault.reset();
    // Either way the fault could only be injected where a folder can be made read-only.
    if (fault == u"readOnly" && !why.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no way to make a folder read-only here: ") + why));
    injected_ << QString::fromLatin1(QTest::currentDataTag());

    // A clear message, the order still open with all its lines, nothing else changed.
    const QStringList errors = errorPrompts(fx.dialogs);
    QVERIFY2(!errors.isEmpty(), "no message");
    for (const QString& prompt : errors)
        qInfo("%s", qPrintable(prompt.section(QStringLiteral("\r\n"), 0, 0)));
    const QStringList alternatives = named.split(u'|');
    QVERIFY2(
        std::any_of(alternatives.begin(), alternatives.end(),
                    [&errors](const QString& piece) { return errors.join(u'\n').contains(piece); }),
        qPrintable(errors.join(u'\n')));
    QVERIFY(fx.state.orderActive);
    QCOMPARE(fx.state.currentOrderNum, orderNum);
    QVERIFY(fx.button(QStringLiteral("cmdFinaliseOrder"))->isEnabled());
    QVERIFY(fx.browser.requests().isEmpty());
    QVERIFY2(userRows(fx) == before, "the User database changed");

    // The fault gone, the same command prints the form with both lines and completes the order.
    finalise(fx);
    QCOMPARE(engineErrors(fx.dialogs), QString());
    QCOMPARE(errorPrompts(fx.dialogs), QStringList());
    QCOMPARE(fx.browser.requests().size(), 1);
    const QString page = readFile(fx.folder.printOrder());
    QVERIFY(page.contains(QStringLiteral("DA1001")));
    QVERIFY(page.contains(QStringLiteral("O'BR-2002")));
    QVERIFY(page.contains(QStringLiteral("Mr O'Neill's van")));
    QVERIFY(!fx.state.orderActive);
    StoreDump::Rows expected = before;
    const QString orderKey = QStringLiteral("order:%1").arg(orderNum);
    expected[orderKey].replace(expected[orderKey].size() - 2, 2, QStringLiteral("i1"));
    QVERIFY2(userRows(fx) == expected, "the User database lost something");
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

void TestInjectedFaults::backupFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("backup file read-only") << "file";
    QTest::newRow("folder read-only") << "folder";
    QTest::newRow("disk full") << "diskFull";
}

void TestInjectedFaults::backupFaults() {
    QFETCH(QString, fault);
    CatalogueFixture fx(hostileCatalogue());
    startWithAnOrder(fx);
    const QByteArray earlier("an earlier backup");
    {
        QFile file(fx.folder.userBackup());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    const StoreDump::Rows before = userRows(fx);
    QString why;
    auto diskFull = std::make_unique<SafeFileWriter::InjectedFault>(ENOSPC);
    std::unique_ptr<ReadOnlyPlace> readOnly;
    if (fault != u"diskFull") {
        diskFull.reset();
        readOnly = ReadOnlyPlace::make(
            fault == u"file" ? ReadOnlyPlace::Kind::File : ReadOnlyPlace::Kind::Folder,
            fault == u"file" ? fx.folder.userBackup() : fx.folder.path(), &why);
        if (!readOnly)
            QSKIP(qPrintable(QStringLiteral("no way to make it read-only here: ") + why));
    }
    injected_ << QString::fromLatin1(QTest::currentDataTag());

    fx.dialogs.answerNext(Button::Yes);
    fx.find<QAction>(QStringLiteral("mnuBackup"))->trigger();
    readOnly.reset();
    diskFull.reset();

    // Said so; the earlier backup unchanged.
    QCOMPARE(fx.dialogs.errors(), QStringList());
    const QStringList errors = errorPrompts(fx.dialogs);
    for (const QString& prompt : errors)
        qInfo("%s", qPrintable(prompt.section(QStringLiteral("\r\n"), 0, 0)));
    QVERIFY(!errors.isEmpty());
    QVERIFY(
        errors[0].startsWith(QStringLiteral("User data file NOT copied to userdatabackup.mdb")));
    if (fault == u"diskFull")
        QVERIFY2(errors[0].contains(QStringLiteral("userdatabackup.mdb could not be written: the "
                                                   "disk is full")),
                 qPrintable(errors[0]));
    QFile backup(fx.folder.userBackup());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(backup.readAll(), earlier);
    backup.close();
    if (fault == u"folder" && errors.size() > 1) {
        // The User database, closed for the copy, can't be opened for changes again while the
        // store file can't be written (a read-only file system; with permission bits only the
        // folder is read-only, the file opens as before): a second message says so, and it is
        // open for reading. The program goes on: parts are searched and shown with their
        // custom prices; a change is refused with a message; the store file holds all it held,
        // and the next start opens it for changes.
        QCOMPARE(errors.size(), 2);
        QVERIFY2(errors[1].contains(QStringLiteral("can't be written")), qPrintable(errors[1]));
        QVERIFY2(errors[1].contains(QStringLiteral("Nothing has been lost")),
                 qPrintable(errors[1]));
        fx.dialogs.clearRecords();
        fx.searchPart(QStringLiteral("DA1001"));
        QCOMPARE(engineErrors(fx.dialogs), QString());
        QCOMPARE(fx.state.selectedDorvaneNum, QStringLiteral("DA1001"));
        QVERIFY2(userRows(fx) == before, "the User database changed");
        enterText(fx.box(QStringLiteral("txtFilePrice")), QStringLiteral("9.99"));
        fx.click(QStringLiteral("cmdEnterFilePrice"));
        const QString refusal = errorPrompts(fx.dialogs).join(u'\n');
        QVERIFY2(refusal.startsWith(QStringLiteral("Could not store the custom price")) &&
                     refusal.contains(QStringLiteral("can't be written")),
                 qPrintable(refusal));
        fx.window.reset();
        fx.state = {};
        fx.dialogs.clearRecords();
        fx.dialogs.onWindow(QStringLiteral("frmViewOrder"), [](QDialog& window) {
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        });
        fx.start(); // takes up the open order
        QCOMPARE(engineErrors(fx.dialogs), QString());
        QVERIFY(fx.state.orderActive);
        QVERIFY2(userRows(fx) == before, "the User database changed");
        return;
    }
    QCOMPARE(errors.size(), 1);
    QVERIFY(fx.state.userDb && fx.state.userDb->isOpen());
    QVERIFY2(userRows(fx) == before, "the User database changed");

    // The program goes on: a line is added to the order, and the backup now succeeds.
    fx.dialogs.clearRecords();
    fx.searchPart(QStringLiteral("ÜMLAUT-6006"));
    fx.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [](QDialog& dialog) {
        enterText(dialog.findChild<QLineEdit*>(QStringLiteral("txtQty")), QStringLiteral("1"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    fx.click(QStringLiteral("cmdOrder"));
    QCOMPARE(engineErrors(fx.dialogs), QString());
    QCOMPARE(fx.status(),
             QStringLiteral("Part added to order number %1").arg(fx.state.currentOrderNum));
    QCOMPARE(StoreDump::diff(before, userRows(fx)).size(), 1);

    fx.dialogs.clearRecords();
    fx.dialogs.answerNext(Button::Yes);
    fx.find<QAction>(QStringLiteral("mnuBackup"))->trigger();
    QCOMPARE(errorPrompts(fx.dialogs), QStringList());
    QCOMPARE(fileDigest(fx.folder.userBackup()), fileDigest(fx.folder.userDatabase()));
}

// A link planted at the name of a file the program writes, leading out of the folder to a file of
// the user's (or to a name not there yet): whatever it leads to is never written. The program
// either puts a file of its own in place of the link or stops with a message naming the file.
void TestInjectedFaults::plantedLinks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("link");
    for (const char* link : {"symbolic", "hard"}) {
        QTest::addRow("lock file, %s link", link) << InstanceLock::fileName() << "start" << link;
        QTest::addRow("Order form, %s link", link) << "printOrder.html"
                                                   << "finalise" << link;
        QTest::addRow("backup, %s link", link) << "userdatabackup.mdb"
                                               << "backup" << link;
    }
    QTest::newRow("user database made at the first start, link to a name not there")
        << "user.mdb"
        << "first start"
        << "dangling";
}

void TestInjectedFaults::plantedLinks() {
    QFETCH(QString, name);
    QFETCH(QString, action);
    QFETCH(QString, link);
    CatalogueFixture fx(hostileCatalogue());
    const QTemporaryDir outside;
    const QString target = outside.filePath(QStringLiteral("notes.txt"));
    const QString path = fx.folder.file(name);
    const QString notes = QStringLiteral("the user's own notes\n");
    const auto plant = [&] {
        QFile::remove(path);
        QFile file(target);
        if (link != u"dangling")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(notes.toUtf8()) > 0);
        QVERIFY(link == u"hard" ? ::link(QFile::encodeName(target).constData(),
                                         QFile::encodeName(path).constData()) == 0
                                : QFile::link(target, path));
    };
    if (action == u"first start") {
        plant();
        (void)fx.ProgramRun::start(fx.folder);
    } else {
        startWithAnOrder(fx);
        if (action == u"start") {
            fx.window.reset();
            fx.state = {};
        }
        plant();
        if (action == u"start")
            (void)fx.ProgramRun::start(fx.folder);
        else if (action == u"finalise")
            finalise(fx);
        else {
            fx.dialogs.answerNext(Button::Yes);
            fx.find<QAction>(QStringLiteral("mnuBackup"))->trigger();
        }
    }

    if (link == u"dangling")
        QVERIFY(!QFile::exists(target));
    else
        QCOMPARE(readFile(target), notes);
    struct stat now {};
    const bool replaced = ::lstat(QFile::encodeName(path).constData(), &now) == 0 &&
                          S_ISREG(now.st_mode) && now.st_nlink == 1;
    const QString said = errorPrompts(fx.dialogs).join(u'\n');
    QVERIFY2(replaced || said.contains(name), qPrintable(said));
}

// A picture that was a picture when Part Detail showed it, and is garbage by the time its
// thumbnail is clicked: the picture window isn't shown, a message says so; showing the part
// again leaves the slot hidden without a message.
void TestInjectedFaults::pictureThatIsNoPicture() {
    QList<Part> parts = hostileCatalogue();
    parts[0].insert(QStringLiteral("Picture1"), QStringLiteral("front.jpg"));
    parts[0].insert(QStringLiteral("Picture2"), QStringLiteral("side.jpg"));
    CatalogueFixture fx(parts);
    fx.writePicture(QStringLiteral("images/front.jpg"));
    fx.writePicture(QStringLiteral("images/side.jpg"));
    fx.start();
    fx.searchPart(QStringLiteral("DA1001"));
    QVERIFY(fx.thumbnailShown(1));
    QVERIFY(fx.thumbnailShown(2));
    injected_ << QStringLiteral("picture replaced by garbage");

    fx.writeFile(QStringLiteral("images/front.jpg"),
                 QByteArray("GIF89a no picture at all\0\1\2", 28));
    fx.dialogs.clearRecords();
    QTest::mouseClick(fx.thumbnail(1), Qt::LeftButton);
    QCOMPARE(engineErrors(fx.dialogs), QString());
    QVERIFY(fx.dialogs.shownWindows().isEmpty());
    const QStringList errors = errorPrompts(fx.dialogs);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].contains(QStringLiteral("front.jpg")), qPrintable(errors[0]));
    qInfo("%s", qPrintable(errors[0]));

    // The program goes on: the other picture opens, and the part shown again skips the broken
    // one silently.
    fx.dialogs.clearRecords();
    fx.dialogs.onWindow(QStringLiteral("frmImageView"), [](QDialog& window) { window.close(); });
    QTest::mouseClick(fx.thumbnail(2), Qt::LeftButton);
    QCOMPARE(fx.dialogs.shownWindows(), QStringList{QStringLiteral("frmImageView")});
    fx.dialogs.clearRecords();
    fx.searchPart(QStringLiteral("DA1001"));
    QVERIFY(!fx.thumbnailShown(1));
    QVERIFY(fx.thumbnailShown(2));
    QVERIFY(fx.dialogs.boxes().isEmpty());
}

// A thumbnail click never opens a file outside the images folder, whatever the catalogue names
// (Part Detail shows no thumbnail for such a name; the click is guarded as well).
void TestInjectedFaults::pictureNamesLeavingTheImagesFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opened");
    QTest::newRow("inside") << "front.jpg" << true;
    QTest::newRow("page inside") << "page.htm" << true;
    QTest::newRow("parent folder") << "../outside.jpg" << false;
    QTest::newRow("sibling folder") << "../imagesX/outside.jpg" << false;
    QTest::newRow("parent folder, backslashes") << "..\\outside.jpg" << false;
    QTest::newRow("down and out") << "sub/../../outside.jpg" << false;
    QTest::newRow("absolute path") << "<abs>/outside.jpg" << false;
    QTest::newRow("drive letter") << "C:\\outside.jpg" << false;
    QTest::newRow("network path") << "\\\\server\\share\\outside.jpg" << false;
    QTest::newRow("page outside") << "../../outside.html" << false;
    QTest::newRow("page absolute") << "<abs>/outside.html" << false;
}

void TestInjectedFaults::pictureNamesLeavingTheImagesFolder() {
    QFETCH(QString, name);
    QFETCH(bool, opened);
    CatalogueFixture fx({});
    name.replace(QStringLiteral("<abs>"), fx.dir.path());
    fx.writePicture(QStringLiteral("images/front.jpg"));
    fx.writeFile(QStringLiteral("images/page.htm"), "<html></html>");
    fx.writePicture(QStringLiteral("outside.jpg"));
    QVERIFY(QDir(fx.dir.path()).mkpath(QStringLiteral("imagesX"))); // a sibling of images/
    fx.writePicture(QStringLiteral("imagesX/outside.jpg"));
    fx.writeFile(QStringLiteral("outside.html"), "<html></html>");

    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    state.pictureFiles[0] = name;
    state.pictureKinds[0] = name.right(3);
    PartPictures pictures(state, dialogs, browser, fx.folder, nullptr);
    dialogs.onWindow(QStringLiteral("frmImageView"), [](QDialog& window) { window.close(); });
    pictures.openPicture(1);

    QCOMPARE(dialogs.shownWindows().size() + browser.requests().size(), opened ? 1 : 0);
    // A name that stays inside the folder only by the platform's rules (a backslash is no
    // separator here) may name a missing picture there, and be reported as such.
    const QString inside = QDir::toNativeSeparators(fx.folder.images() + u'/');
    for (const ScriptedDialogs::Box& box : dialogs.boxes())
        QVERIFY2(box.prompt.contains(inside), qPrintable(box.prompt));
    for (const RecordingBrowser::Request& request : browser.requests())
        QVERIFY(request.path.startsWith(fx.folder.images() + u'/'));
}

QUILLON_TEST_CLASS(TestInjectedFaults)

#include "test_injected_faults.moc"
