// Where the program finds its Application folder, and the per-user folder it makes from an
// installed, read-only one.
#include "app/start_up.h"
#include "install_layout.h"
#include "platform/app_folder_error.h"
#include "platform/app_folder_locator.h"
#include "platform/per_user_folder.h"
#include "program_run.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <sys/time.h>

using quillon::AppFolder;
using quillon::AppFolderError;
using quillon::AppFolderLocator;
using quillon::PerUserFolder;
using quillon::tests::InstallLayout;
using Kind = AppFolderLocator::Kind;

namespace {

const QStringList noArguments{QStringLiteral("dorvane-quillon")};

// The installed folder as the tests see it: only its owner could write it, and the tests run
// as root, so "read-only" is the locator's own test for writing.
AppFolderLocator::Places readOnlyInstall(const InstallLayout& layout,
                                         const QString& programFolder = {}) {
    return {programFolder.isEmpty() ? layout.bin() : programFolder, layout.userFolder(),
            [](const QString&) { return false; }};
}

// The folder found and completed, as a start that holds it completes it.
AppFolderLocator::Location locate(const AppFolderLocator::Places& places,
                                  const QStringList& arguments = noArguments) {
    auto location = AppFolderLocator(places).locate(arguments);
    AppFolderLocator::complete(location);
    return location;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

QStringList hiddenEntries(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        .filter(QRegularExpression(QStringLiteral("^\\.")));
}

using Started = quillon::tests::ProgramRun;

} // namespace

class FolderRulesTest final : public QObject {
    Q_OBJECT

private slots:
    void givenFolderWins() {
        InstallLayout layout;
        const QTemporaryDir given;
        const auto location = locate(
            {layout.installed(), layout.userFolder(), [](const QString&) { return true; }},
            {QStringLiteral("dorvane-quillon"), QStringLiteral("--app-folder"), given.path()});
        QCOMPARE(location.kind, Kind::Given);
        QCOMPARE(location.folder.path(), QDir::cleanPath(given.path()));
        QVERIFY(!QFileInfo::exists(layout.userFolder()));
    }

    // The real program's answers on the terminal, with no window and no folder made.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says"); // on its standard output, else its error output
        QTest::newRow("help") << QStringList{"--help"} << 0
                              << "usage: dorvane-quillon [--app-folder DIR]";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "dorvane-quillon 1.0.0\n";
        QTest::newRow("unknown") << QStringList{"--helpme"} << 2 << "unknown argument: --helpme";
        QTest::newRow("no folder") << QStringList{"--app-folder"} << 2 << "needs a folder";
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        InstallLayout layout;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), layout.home());
        for (const char* name : {"XDG_DATA_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (exitCode != 0) // the questions alone are answered with no desktop at all
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUILLON_PROGRAM_PATH), arguments);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), exitCode);
        const QString output = QString::fromLocal8Bit(
            exitCode == 0 ? process.readAllStandardOutput() : process.readAllStandardError());
        QVERIFY2(output.contains(says), qPrintable(output));
        QVERIFY(!QFileInfo::exists(layout.userFolder()));
    }

    // A start repairs the per-user folder only once it holds it: a second start while the first
    // runs hands over to it and changes nothing.
    void folderRepairedOnlyByItsHolder() {
        InstallLayout layout;
        const auto location = locate(readOnlyInstall(layout));
        Started first;
        QVERIFY(first.start(location.folder));
        QVERIFY(QFile::remove(location.folder.helpText()));
        const auto again = AppFolderLocator(readOnlyInstall(layout)).locate(noArguments);
        Started second;
        QVERIFY(!quillon::StartUp::start(
            second.state, second.dialogs, second.browser, again.folder,
            [&] { AppFolderLocator::complete(again); }, &second.handedOver));
        QVERIFY2(second.handedOver, qPrintable(second.onlyPrompt()));
        QVERIFY(!QFileInfo::exists(location.folder.helpText()));
    }

    void writableProgramFolderIsPortable() {
        InstallLayout layout;
        QStringList asked;
        const auto location =
            locate({layout.installed(), layout.userFolder(), [&](const QString& folder) {
                        asked << folder;
                        return true;
                    }});
        QCOMPARE(location.kind, Kind::ProgramFolder);
        QCOMPARE(location.folder.path(), layout.installed());
        QCOMPARE(asked, QStringList{layout.installed()});
        QVERIFY(!QFileInfo::exists(layout.userFolder()));
    }

    // A writable folder without a catalogue is no Application folder: the installed one is used.
    void writableProgramFolderWithoutCatalogueIsNotPortable() {
        InstallLayout layout;
        const auto location =
            locate({layout.bin(), layout.userFolder(), [](const QString&) { return true; }});
        QCOMPARE(location.kind, Kind::PerUser);
        QCOMPARE(location.installedFolder, layout.installed());
    }

    void readOnlyInstallMakesPerUserFolder_data() {
        QTest::addColumn<bool>("besideTheProgram"); // else under ../share beside it
        QTest::newRow("share folder beside bin") << false;
        QTest::newRow("program folder holding the catalogue") << true;
    }

    void readOnlyInstallMakesPerUserFolder() {
        QFETCH(bool, besideTheProgram);
        InstallLayout layout;
        const auto before = InstallLayout::snapshot(layout.installed());
        const auto location =
            locate(readOnlyInstall(layout, besideTheProgram ? layout.installed() : layout.bin()));

        QCOMPARE(location.kind, Kind::PerUser);
        QCOMPARE(location.folder.path(), layout.userFolder());
        QCOMPARE(location.installedFolder, layout.installed());
        QVERIFY(location.made);

        const QString user = layout.userFolder();
        for (const QString& name : PerUserFolder::copiedEntries()) {
            const QFileInfo copy(user + QLatin1Char('/') + name);
            QVERIFY2(copy.isFile() && !copy.isSymLink(), qPrintable(name));
            QCOMPARE(contentOf(copy.filePath()),
                     contentOf(layout.installed() + QLatin1Char('/') + name));
            QVERIFY2(copy.permissions() & QFile::WriteOwner, qPrintable(name));
        }
        for (const QString& name : PerUserFolder::linkedEntries()) {
            const QFileInfo link(user + QLatin1Char('/') + name);
            QVERIFY2(link.isSymLink(), qPrintable(name));
            QCOMPARE(link.symLinkTarget(), layout.installed() + QLatin1Char('/') + name);
        }
        QVERIFY(QFileInfo(location.folder.htmlIcon()).isFile());     // through the images link
        QVERIFY(!QFileInfo::exists(location.folder.userDatabase())); // the start makes it
        QCOMPARE(hiddenEntries(layout.dataHome()), QStringList());   // no build left behind
        QCOMPARE(hiddenEntries(user), QStringList());
        QCOMPARE(InstallLayout::snapshot(layout.installed()), before);
    }

    void startCreatesUserDatabaseInPerUserFolder() {
        InstallLayout layout;
        const auto installedBefore = InstallLayout::snapshot(layout.installed());
        const auto location = locate(readOnlyInstall(layout));
        {
            Started program;
            QVERIFY2(program.start(location.folder), qPrintable(program.onlyPrompt()));
            QVERIFY(program.state.catalogueDb && program.state.userDb);
        }
        const QFileInfo user(location.folder.userDatabase());
        QVERIFY(user.isFile() && !user.isSymLink());
        QVERIFY(user.permissions() & QFile::WriteOwner);
        QCOMPARE(InstallLayout::snapshot(layout.installed()), installedBefore);

        // The next start reuses both the folder and the user database.
        const auto afterFirstStart = InstallLayout::snapshot(layout.userFolder());
        const auto again = locate(readOnlyInstall(layout));
        QVERIFY(!again.made);
        {
            Started program;
            QVERIFY(program.start(again.folder));
        }
        QCOMPARE(InstallLayout::snapshot(layout.userFolder()).value(QStringLiteral("user.mdb")),
                 afterFirstStart.value(QStringLiteral("user.mdb")));
    }

    void editedFilesSurviveTheNextStart_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : PerUserFolder::copiedEntries())
            QTest::newRow(qPrintable(name)) << name;
    }

    void editedFilesSurviveTheNextStart() {
        QFETCH(QString, name);
        InstallLayout layout;
        const auto location = locate(readOnlyInstall(layout));
        const QString path = location.folder.file(name);
        const QByteArray edited = "<p>Hammond &amp; Sons, Unit 4</p>\r\n";
        writeFile(path, edited);
        const auto again = locate(readOnlyInstall(layout));
        QVERIFY(!again.made);
        QCOMPARE(contentOf(path), edited);
        Started program;
        QVERIFY(program.start(again.folder));
        QCOMPARE(contentOf(path), edited);
    }

    void catalogueIsLinkedNotCopied() {
        InstallLayout layout;
        const auto location = locate(readOnlyInstall(layout));
        QCOMPARE(InstallLayout::partsOf(location.folder.catalogue()),
                 QStringList{QStringLiteral("DA1001")});
        // An update of the installed catalogue (a new file renamed over the old one) reaches the
        // user's folder with no step of the user's.
        InstallLayout::importCatalogue(layout.installed() + QStringLiteral("/parts.mdb"),
                                       {QStringLiteral("DA2001"), QStringLiteral("DA2002")});
        QCOMPARE(InstallLayout::partsOf(location.folder.catalogue()),
                 (QStringList{QStringLiteral("DA2001"), QStringLiteral("DA2002")}));
        QVERIFY(!locate(readOnlyInstall(layout)).made);
    }

    // Each start completes the folder: what went missing comes back, a link that leads nowhere
    // (an installation that moved) is pointed at the installed entry, and a file or link of the
    // user's own in place of a link stays.
    void laterStartsCompleteTheFolder() {
        InstallLayout layout;
        const QString user = layout.userFolder();
        QVERIFY(locate(readOnlyInstall(layout)).made);
        QVERIFY(QFile::remove(user + QStringLiteral("/help.dat"))); // an earlier version's copy
        writeFile(user + QStringLiteral("/help.dat"), "the help of an earlier version");
        QVERIFY(QFile::remove(user + QStringLiteral("/parts.mdb")));
        QVERIFY(QFile::remove(user + QStringLiteral("/images")));
        QVERIFY(QFile::link(QStringLiteral("/nowhere/images"), user + QStringLiteral("/images")));
        QVERIFY(QFile::remove(user + QStringLiteral("/image-icon.bmp")));
        writeFile(user + QStringLiteral("/image-icon.bmp"), "own icon");
        const QString ownPixel = layout.home() + QStringLiteral("/own-pixel.gif");
        writeFile(ownPixel, "own pixel");
        QVERIFY(QFile::remove(user + QStringLiteral("/1pixel-black.gif")));
        QVERIFY(QFile::link(ownPixel, user + QStringLiteral("/1pixel-black.gif")));

        const auto location = locate(readOnlyInstall(layout));
        QVERIFY(!location.made);
        QCOMPARE(QFileInfo(user + QStringLiteral("/help.dat")).symLinkTarget(),
                 layout.installed() + QStringLiteral("/help.dat"));
        QCOMPARE(QFileInfo(user + QStringLiteral("/parts.mdb")).symLinkTarget(),
                 layout.installed() + QStringLiteral("/parts.mdb"));
        QCOMPARE(QFileInfo(user + QStringLiteral("/images")).symLinkTarget(),
                 layout.installed() + QStringLiteral("/images"));
        QCOMPARE(contentOf(user + QStringLiteral("/image-icon.bmp")), QByteArray("own icon"));
        QCOMPARE(QFileInfo(user + QStringLiteral("/1pixel-black.gif")).symLinkTarget(), ownPixel);
        QCOMPARE(hiddenEntries(user), QStringList());
    }

    void brokenInstallationNamesTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty: the file is removed
        QTest::addColumn<QString>("says");
        QTest::newRow("catalogue missing")
            << "parts.mdb" << QByteArray() << "catalogue database parts.mdb is missing";
        QTest::newRow("catalogue damaged")
            << "parts.mdb" << QByteArray("PK\x03\x04 not a store at all") << "damaged";
        QTest::newRow("catalogue empty") << "parts.mdb" << QByteArray("\0", 1) << "damaged";
        QTest::newRow("template missing")
            << "systemuserDB.dat" << QByteArray() << "empty user database systemuserDB.dat";
        QTest::newRow("template damaged")
            << "systemuserDB.dat" << QByteArray("SQLite format 2") << "damaged";
    }

    void brokenInstallationNamesTheFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        InstallLayout layout;
        const QString installedFile = layout.installed() + QLatin1Char('/') + name;
        QFile::remove(installedFile);
        if (!content.isEmpty())
            writeFile(installedFile, content);
        try {
            (void)locate(readOnlyInstall(layout));
            QFAIL("the broken installation was used");
        } catch (const AppFolderError& error) {
            QVERIFY2(error.message().contains(says), qPrintable(error.message()));
            QVERIFY2(error.message().contains(name), qPrintable(error.message()));
            QVERIFY2(error.message().contains(QDir::toNativeSeparators(layout.installed())),
                     qPrintable(error.message()));
        }
        QVERIFY(!QFileInfo::exists(layout.userFolder())); // a failed first start makes nothing
    }

    // A catalogue of the user's own in place of the link: the installed one isn't needed.
    void ownCatalogueInPlaceOfTheLink() {
        InstallLayout layout;
        const auto location = locate(readOnlyInstall(layout));
        const QString own = layout.home() + QStringLiteral("/own-parts.mdb");
        InstallLayout::importCatalogue(own, {QStringLiteral("DA7001")});
        QVERIFY(QFile::remove(location.folder.catalogue()));
        QVERIFY(QFile::link(own, location.folder.catalogue()));
        QVERIFY(QFile::remove(layout.installed() + QStringLiteral("/parts.mdb")));
        const auto again = locate(readOnlyInstall(layout));
        QCOMPARE(InstallLayout::partsOf(again.folder.catalogue()),
                 QStringList{QStringLiteral("DA7001")});
    }

    // The template is needed only to make user.mdb.
    void templateNotNeededOnceUserDatabaseExists() {
        InstallLayout layout;
        const auto location = locate(readOnlyInstall(layout));
        {
            Started program;
            QVERIFY(program.start(location.folder));
        }
        QVERIFY(QFile::remove(layout.installed() + QStringLiteral("/systemuserDB.dat")));
        const auto again = locate(readOnlyInstall(layout));
        QCOMPARE(again.kind, Kind::PerUser);
        Started program;
        QVERIFY(program.start(again.folder));
    }

    void nothingInstalled() {
        InstallLayout layout;
        QVERIFY(QDir(layout.installed()).removeRecursively());
        // No folder of the user's either: the program's own folder, whose start names what it
        // lacks.
        auto location = locate(readOnlyInstall(layout));
        QCOMPARE(location.kind, Kind::ProgramFolder);
        QCOMPARE(location.folder.path(), layout.bin());
        Started program;
        QVERIFY(!program.start(location.folder));
        QVERIFY(program.dialogs.boxes().first().prompt.contains(QStringLiteral("parts.mdb")));
        // A folder of the user's own is used as it is.
        QVERIFY(QDir().mkpath(layout.userFolder()));
        location = locate(readOnlyInstall(layout));
        QCOMPARE(location.kind, Kind::PerUser);
        QCOMPARE(location.folder.path(), layout.userFolder());
    }

    void abandonedBuildsRemoved() {
        InstallLayout layout;
        const QString old = layout.dataHome() + QStringLiteral("/.dorvane-quillon-Ab12Cd");
        const QString recent = layout.dataHome() + QStringLiteral("/.dorvane-quillon-Ef34Gh");
        QVERIFY(QDir().mkpath(old) && QDir().mkpath(recent));
        QVERIFY(QFile::link(layout.installed() + QStringLiteral("/images"),
                            old + QStringLiteral("/images")));
        const timeval twoHoursAgo[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
        QCOMPARE(::utimes(QFile::encodeName(old).constData(), twoHoursAgo), 0);

        QVERIFY(locate(readOnlyInstall(layout)).made);
        QVERIFY(!QFileInfo::exists(old));
        QVERIFY(QFileInfo(recent).isDir()); // may be another start building its folder now
        QVERIFY(QFileInfo(layout.installed() + QStringLiteral("/images/htmlIcon.jpg")).isFile());
    }

    void somethingElseInThePlaceOfTheFolder() {
        InstallLayout layout;
        QVERIFY(QDir().mkpath(layout.dataHome()));
        writeFile(layout.userFolder(), "a file");
        QVERIFY_THROWS_EXCEPTION(AppFolderError, (void)locate(readOnlyInstall(layout)));
    }

    // The program itself, copied into <prefix>/bin beside <prefix>/share/dorvane-quillon and
    // started by a user whose home holds nothing of it yet.
    void installedProgramMakesItsFolderInTheHome() {
        InstallLayout layout;
        const QString program = layout.bin() + QStringLiteral("/dorvane-quillon");
        QVERIFY(QFile::copy(QStringLiteral(QUILLON_PROGRAM_PATH), program));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), layout.home());
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(program, {});
        QVERIFY(process.waitForStarted(10000));
        const QString userDatabase = layout.userFolder() + QStringLiteral("/user.mdb");
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(userDatabase) || process.state() == QProcess::NotRunning, 30000);
        const bool running = process.state() == QProcess::Running;
        process.kill();
        process.waitForFinished(10000);
        QVERIFY2(running, process.readAllStandardError().constData());
        QVERIFY(QFileInfo(layout.userFolder() + QStringLiteral("/parts.mdb")).isSymLink());
        QVERIFY(QFileInfo(userDatabase).isFile());
    }
};

QUILLON_TEST_CLASS(FolderRulesTest)

#include "test_folder_rules.moc"
