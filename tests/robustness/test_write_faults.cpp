// Faults injected as the program writes its files (a read-only folder, a full disk, links
// planted at the names it writes, another program changing the User database): a clear message,
// nothing lost.
#include "other_program.h"
#include "platform/safe_file_writer.h"
#include "read_only_place.h"
#include "robustness_support.h"
#include "test_registry.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <unistd.h>

using namespace quillon;
using namespace quillon::tests::robustness;
using namespace Qt::StringLiterals;
using quillon::tests::OtherProgram;
using quillon::tests::ProgramDriver;
using quillon::tests::ReadOnlyPlace;

class WriteFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // A fault as the Order form or the backup is written: the folder read-only or the disk full
    // (from the start, or once the addresses are chosen), a link planted at the file's name that
    // leads out of the folder, another program changing the User database meanwhile. Each row
    // has one outcome. A box naming the fault: the order still open, nothing else changed, an
    // earlier file kept byte for byte, and the command succeeds once the fault is gone. No box:
    // the command does its work, a file of the program's own in place of a link, whatever the
    // link leads to never written. A backup holds what user.mdb holds; one taken while another
    // program is halfway through a change holds the whole change.
    void faultsAsFilesAreWritten_data() {
        // says: in the box that stops the command; empty: no box
        tests::addColumns<bool, QString, QString>("backup", "fault", "says");
        using tests::addRow;
        addRow("form, folder read-only as it is written", false, "folder late", "printOrder.html");
        addRow("form, disk full as it is written", false, "disk full late",
               "printOrder.html could not be written: the disk is full");
        addRow("backup, file read-only", true, "file",
               "userdatabackup.mdb could not be written: the file is read-only");
        addRow("backup, folder read-only", true, "folder", "NOT copied to userdatabackup.mdb");
        addRow("backup, disk full", true, "disk full",
               "userdatabackup.mdb could not be written: the disk is full");
        addRow("backup, another program halfway through a change", true, "change ending", "");
        addRow("backup, another program keeps its change going", true, "change held",
               "user.mdb is in use by another program that is changing it");
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
        writeFile(link ? notes : file, "the user's own\n");
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
        const QByteArray kept = readFile(link ? notes : file);
        if (says.isEmpty()) {
            QCOMPARE(said, QString());
            QVERIFY(!QFileInfo(file).isSymLink() && (!link || kept == "the user's own\n"));
        } else {
            QVERIFY2(said.contains(says), qPrintable(said));
            QCOMPARE(kept, QByteArray("the user's own\n"));
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
        const QByteArray page = readFile(file);
        QVERIFY(page.contains("O'BR-2002") && page.contains("Mr O'Neill's van"));
        QVERIFY(!p.state.orderActive && p.browser.requests().size() == 1);
    }
};

QUILLON_TEST_CLASS(WriteFaultsTest)
#include "test_write_faults.moc"
