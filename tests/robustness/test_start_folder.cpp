// What may stand in the Application folder when the program starts: damaged, odd or locked
// files, leftovers of a crash, a running program. A start that can't go on says what is wrong in
// one box and leaves every file as it was; a start that can repairs what a crash left.
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "robustness_support.h"
#include "store/database.h"
#include "test_registry.h"

#include <QDir>
#include <QTest>
#include <optional>

using namespace quillon;
using namespace quillon::tests::robustness;
using namespace Qt::StringLiterals;
using quillon::tests::ProgramRun;
using quillon::tests::TestAppFolder;

class StartFolderTest : public QObject {
    Q_OBJECT

private slots:
    void whatStandsInTheFolder_data() {
        // words: pieces of the box, %F the folder; starts: with its order 1 open
        tests::addColumns<QString, QStringList, bool>("how", "words", "starts");
        const auto row = [](const char* how, std::initializer_list<QAnyStringView> words,
                            bool starts = false) {
            QStringList pieces;
            for (const QAnyStringView word : words)
                pieces << word.toString();
            QTest::newRow(how) << QString::fromLatin1(how) << pieces << starts;
        };
        for (const char* how : {"garbage", "page overwritten"})
            row(how,
                {"user.mdb in the folder %F is damaged", "has not changed it", "There is no backup",
                 "restore a previous backup of your user data file", "What is wrong: "});
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
};

QUILLON_TEST_CLASS(StartFolderTest)
#include "test_start_folder.moc"
