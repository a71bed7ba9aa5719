// Faults injected as the program writes its files (a read-only folder, a full disk, links
// planted at the names it writes): a clear message, nothing lost.
#include "addresses/address_table.h"
#include "app/start_up.h"
#include "housekeeping/user_data_backup.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "program_driver.h"
#include "read_only_place.h"
#include "robustness_support.h"
#include "session/handler_guard.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "test_registry.h"

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
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace Qt::StringLiterals;
using namespace quillon::tests::robustness;
using quillon::tests::ProgramDriver;
using quillon::tests::ProgramRun;
using quillon::tests::ReadOnlyPlace;
using quillon::tests::TestAppFolder;
using Button = Dialogs::Button;

class WriteFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // Amounts as a United Kingdom desktop writes them, whatever the machine's settings.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void faultsAsFilesAreWritten_data() {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("named"); // in the message
        QTest::newRow("form, folder read-only as it is written") << false << "folder late"
                                                                 << "printOrder.html";
        QTest::newRow("form, disk full as it is written")
            << false << "disk full late"
            << "printOrder.html could not be written: the disk is full";
        QTest::newRow("backup, file read-only") << true << "file"
                                                << "NOT copied to userdatabackup.mdb";
        QTest::newRow("backup, folder read-only") << true << "folder"
                                                  << "NOT copied to userdatabackup.mdb";
        QTest::newRow("backup, disk full")
            << true << "disk full"
            << "userdatabackup.mdb could not be written: the disk is full";
        for (const char* link : {"symbolic link", "hard link"}) {
            QTest::addRow("form, %s", link) << false << link << "printOrder.html";
            QTest::addRow("backup, %s", link) << true << link << "userdatabackup.mdb";
        }
    }

    void faultsAsFilesAreWritten() {
        QFETCH(bool, backup);
        QFETCH(QString, fault);
        QFETCH(QString, named);
        ProgramDriver p;
        const QTemporaryDir outside;
        start(p, true);
        const QString file = backup ? p.folder.userBackup() : p.folder.printOrder();
        const QString notes = outside.filePath(u"notes.txt"_s);
        QFile earlier(fault.endsWith(u"link") ? notes : file);
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
        QString why;
        const auto inject = [&] {
            if (fault.startsWith(u"disk full"))
                diskFull.emplace(ENOSPC);
            else if (!fault.endsWith(u"link"))
                readOnly = ReadOnlyPlace::make(fault == u"file" ? file : p.folder.path(), &why);
        };
        if (!fault.endsWith(u"late"))
            inject();
        command(p, backup, inject);
        readOnly.reset();
        diskFull.reset();
        if (!why.isEmpty())
            QSKIP(qPrintable(u"no way to make it read-only here: "_s + why));
        QCOMPARE(engineErrors(p.dialogs), QString());
        QFile written(fault.endsWith(u"link") ? notes : file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("the user's own\n"));
        const QString said = prompts(p.dialogs, true);
        if (fault.endsWith(u"link") && !said.contains(named)) { // replaced by a file of its own
            QVERIFY(!QFileInfo(file).isSymLink() && digest(file) != digest(notes));
            return;
        }
        QVERIFY2(said.contains(named), qPrintable(said));
        QCOMPARE(userRows(p), before);
        QVERIFY(p.state.orderActive && p.browser.requests().isEmpty());
        // With the store's folder read-only, the User database, closed for the copy, may open
        // for reading only: a second message says so, and nothing has been lost.
        if (said.contains(u"Nothing has been lost"))
            return;
        QFile::remove(file);
        command(p, backup);
        QCOMPARE(engineErrors(p.dialogs) + prompts(p.dialogs, true), QString());
        if (backup) {
            QCOMPARE(digest(file), digest(p.folder.userDatabase()));
            return;
        }
        QFile form(file);
        QVERIFY(form.open(QIODevice::ReadOnly));
        const QByteArray page = form.readAll();
        QVERIFY(page.contains("O'BR-2002") && page.contains("Mr O'Neill's van"));
        QVERIFY(!p.state.orderActive && p.browser.requests().size() == 1);
    }
};

QUILLON_TEST_CLASS(WriteFaultsTest)
#include "test_write_faults.moc"
