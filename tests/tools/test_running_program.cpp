// The program while it runs: a second start on its folder, and a catalogue updated under it.
#include "install.h"
#include "platform/instance_lock.h"
#include "program_run.h"
#include "test_app_folder.h"
#include "test_registry.h"
#include "tool_test_support.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace quillon;
using namespace quillon::tests::tool;
using namespace Qt::StringLiterals;
using quillon::tests::ProgramRun;

class TestRunningProgram : public QObject {
    Q_OBJECT

private slots:
    // A second start on a folder asks the first to show its window, through a socket in a
    // folder of the user's alone: the runtime folder, else one made 0700 in the user's cache;
    // never the shared temporary folder. With no private place the second start says the
    // program is running. The socket goes with the first run.
    void aSecondStartAsksTheFirst_data() {
        // runtime: XDG_RUNTIME_DIR, "" or its mode; cache: the cache folder's mode, when made
        tests::addColumns<QString, QString, QString>("runtime", "cache", "socketIn");
        using tests::addRow;
        const char* inCache = "cache/dorvane-quillon/run";
        addRow("runtime folder", "0700", "", "run");
        addRow("no runtime folder", "", "", inCache);
        addRow("runtime folder others may write", "0777", "", inCache);
        addRow("cache of the user's, group may read", "", "0750", inCache);
        addRow("no private place", "", "0777", "");
    }
    void aSecondStartAsksTheFirst() {
        QFETCH(QString, runtime);
        QFETCH(QString, cache);
        QFETCH(QString, socketIn);
        const QTemporaryDir home;
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
            qputenv("XDG_CACHE_HOME", savedCache);
        });
        qunsetenv("XDG_RUNTIME_DIR");
        const auto make = [&](const char* name, const QString& mode) {
            const QByteArray path = QFile::encodeName(home.filePath(QLatin1String(name)));
            QVERIFY(QDir().mkpath(QFile::decodeName(path)));
            QCOMPARE(::chmod(path.constData(), mode_t(mode.toUInt(nullptr, 8))), 0);
        };
        if (!runtime.isEmpty()) {
            make("run", runtime);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(u"run"_s)));
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(u"cache"_s)));
        if (!cache.isEmpty())
            make("cache", cache);
        const QStringList tempBefore = entries(QDir::tempPath()).filter(u"dorvane-quillon"_s);
        const QString folder = socketIn.isEmpty() ? QString() : home.filePath(socketIn);
        QCOMPARE(InstanceLock::socketFolder(), folder);
        const tests::TestAppFolder app;
        {
            ProgramRun first;
            QVERIFY2(first.start(app.folder), qPrintable(first.onlyPrompt()));
            const QString socket = InstanceLock(app.folder.path()).serverName();
            QCOMPARE(socket.isEmpty(), socketIn.isEmpty());
            if (!socketIn.isEmpty()) {
                QCOMPARE(QFileInfo(socket).absolutePath(), folder);
                struct stat info {};
                QVERIFY(::lstat(QFile::encodeName(socket).constData(), &info) == 0 &&
                        S_ISSOCK(info.st_mode));
                QVERIFY(::stat(QFile::encodeName(folder).constData(), &info) == 0 &&
                        (info.st_mode & 07777) == 0700);
            }
            ProgramRun second;
            QCOMPARE(second.start(app.folder), false);
            QCOMPARE(second.handedOver, !socketIn.isEmpty());
            QCOMPARE(second.dialogs.boxes().size(), socketIn.isEmpty() ? 1 : 0);
            if (socketIn.isEmpty())
                QVERIFY2(second.onlyPrompt().contains(u"already running"_s),
                         qPrintable(second.onlyPrompt()));
        }
        if (!folder.isEmpty())
            QCOMPARE(entries(folder), QStringList());
        QCOMPARE(entries(QDir::tempPath()).filter(u"dorvane-quillon"_s), tempBefore);
    }

    void catalogueUpdatedUnderARunningProgram_data() {
        QTest::addColumn<QString>("update");
        for (const char* update : {"a new catalogue", "removed", "not a store"})
            QTest::newRow(update) << QString::fromLatin1(update);
    }

    // The running program reads the catalogue it opened until a search finds it replaced; one that
    // can't be opened leaves it on the old. The new file is readable by every user whatever the
    // umask of the person updating it.
    void catalogueUpdatedUnderARunningProgram() {
        QFETCH(QString, update);
        const QString found = update == u"a new catalogue" ? u"DA2001"_s : QString();
        Install install;
        const auto location = install.locate();
        ProgramRun program;
        QVERIFY2(program.startShown(location.folder), qPrintable(program.onlyPrompt()));
        QCOMPARE(searched(program, u"DA1001"_s), u"DA1001"_s);
        const QString target = install.installed + u"/parts.mdb"_s;
        if (!found.isEmpty()) {
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ReadGroup | QFile::ReadOther));
            const mode_t saved = ::umask(077);
            importParts(target, {u"DA2001"_s, u"DA2002"_s});
            ::umask(saved);
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0644));
        } else {
            QVERIFY(QFile::remove(target));
            if (update == u"not a store")
                writeFile(target, "half a catalogue, copied by hand");
        }
        QCOMPARE(searched(program, u"DA2001"_s), found);
        QCOMPARE(searched(program, u"DA1001"_s), found.isEmpty() ? u"DA1001"_s : QString());
    }
};

QUILLON_TEST_CLASS(TestRunningProgram)
#include "test_running_program.moc"
