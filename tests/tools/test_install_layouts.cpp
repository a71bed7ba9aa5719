// Where the program finds its Application folder when it is installed, and the per-user folder
// it makes and keeps.
#include "app/start_up.h"
#include "folder_snapshot.h"
#include "install.h"
#include "platform/app_folder_error.h"
#include "platform/app_folder_locator.h"
#include "platform/per_user_folder.h"
#include "program_run.h"
#include "test_registry.h"
#include "tool_test_support.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::tests::tool;
using namespace Qt::StringLiterals;
using quillon::tests::folderSnapshot;
using quillon::tests::ProgramRun;

class TestInstallLayouts : public QObject {
    Q_OBJECT

private slots:
    // Where the program finds its Application folder: given, its own folder when that holds a
    // catalogue and can be written, else a per-user folder made from the installed one.
    void installLayouts_data() {
        // arrange; the program's folder: can it be written, bin or installed; kind and folder
        // found, or the error's words
        tests::addColumns<QString, bool, QString, QString>("arrange", "canWrite", "program",
                                                           "expected");
        using tests::addRow;
        addRow("given folder", "given", true, "installed", "Given given");
        addRow("portable", "", true, "installed", "ProgramFolder installed");
        addRow("writable without catalogue", "", true, "bin", "PerUser user made");
        addRow("share beside bin", "", false, "bin", "PerUser user made");
        addRow("installed in the program folder", "", false, "installed", "PerUser user made");
        addRow("nothing installed", "no install", false, "bin", "ProgramFolder bin");
        addRow("nothing installed, user's own folder", "no install, own folder", false, "bin",
               "PerUser user");
        addRow("catalogue missing", "parts.mdb", false, "bin",
               "error: catalogue database parts.mdb is missing|%I");
        addRow("catalogue damaged", "parts.mdb=PK\x03\x04 no store", false, "bin",
               "error: parts.mdb|damaged|%I");
        addRow("template missing", "systemuserDB.dat", false, "bin",
               "error: empty user database systemuserDB.dat|%I");
        // The per-user folder is the user's alone: made 0700 (the folders above it that the
        // program makes too) whatever the umask; one that others can change is refused.
        addRow("made under umask 000", "umask 000", false, "bin", "PerUser user made");
        addRow("own folder writable by others", "own folder 0777", false, "bin",
               "error: The folder %U, which holds your own files, can be changed by other "
               "users|chmod 700 %U\r\nthen start|Nothing has been changed.");
        addRow("own folder group-writable", "own folder 0770, group 65534", false, "bin",
               "error: The folder %U, which holds|chmod 700 %U");
        addRow("own folder of another user", "own folder 0700, owner 65534", false, "bin",
               "error: The folder %U, which holds your own files, belongs to another user|"
               "mv %U %U.not-mine");
        addRow("own folder not writable by others", "own folder 0755", false, "bin",
               "PerUser user");
        addRow("data folder writable by others", "data 0777", false, "bin",
               "error: The folder %D, above the one that holds your own files (%U), can be "
               "changed by other users|chmod go-w %D");
        addRow("home writable by others", "home 0757", false, "bin",
               "error: The folder %H, above the one|chmod go-w %H");
        addRow("home of another user", "home 0755, owner 65534", false, "bin",
               "error: The folder %H, above the one that holds your own files (%U), belongs to "
               "another user|XDG_DATA_HOME");
        addRow("home writable by all, sticky", "home 01777", false, "bin", "PerUser user made");
        // A folder whose name the system gives with a byte that isn't UTF-8 is named as it is.
        addRow("home name not UTF-8", "user name caf%FF", false, "bin",
               "error: The folder %H/caf\\xFF/.local/share/dorvane-quillon can't be used: its "
               "name holds a byte (\\xFF) that isn't UTF-8 text");
        addRow("program folder name not UTF-8", "program name b%FE%FFn", true, "installed",
               "error: /b\\xFE\\xFFn can't be used: its name holds bytes (\\xFE, \\xFF) that "
               "aren't UTF-8");
        addRow("given folder, program folder name not UTF-8", "given, program name b%FF", true,
               "installed", "Given given");
    }

    void installLayouts() {
        QFETCH(QString, arrange);
        QFETCH(bool, canWrite);
        QFETCH(QString, program);
        QFETCH(QString, expected);
        Install install;
        const QTemporaryDir given;
        if (arrange.startsWith(u"no install"))
            QVERIFY(QDir(install.installed).removeRecursively());
        if (arrange.endsWith(u"own folder"))
            QVERIFY(QDir().mkpath(install.user));
        if (arrange.contains(u".mdb") || arrange.contains(u".dat")) { // removed, or made that
            QFile::remove(install.installed + u'/' + arrange.section(u'=', 0, 0));
            if (arrange.contains(u'='))
                writeFile(install.installed + u'/' + arrange.section(u'=', 0, 0),
                          arrange.section(u'=', 1).toLatin1());
        }
        // "<which> <mode>[, group|owner <id>]": a folder of the user's made so.
        const QMap<QString, QString> folders{{u"own folder"_s, install.user},
                                             {u"data"_s, install.dataHome},
                                             {u"home"_s, install.home}};
        const QRegularExpression arranged(
            u"^(own folder|data|home) ([0-7]+)(?:, (\\w+) (\\d+))?$"_s);
        if (const auto m = arranged.match(arrange); m.hasMatch()) {
            const QByteArray path = QFile::encodeName(folders.value(m.captured(1)));
            QVERIFY(QDir().mkpath(QFile::decodeName(path)));
            QCOMPARE(::chmod(path.constData(), mode_t(m.captured(2).toUInt(nullptr, 8))), 0);
            if (!m.captured(3).isEmpty() && ::geteuid() != 0)
                QSKIP("only the system's administrator can give a folder to another user");
            const uid_t id = m.captured(4).toUInt();
            if (m.captured(3) == u"owner")
                QCOMPARE(::chown(path.constData(), id, gid_t(-1)), 0);
            else if (m.captured(3) == u"group")
                QCOMPARE(::chown(path.constData(), uid_t(-1), id), 0);
        }
        if (arrange.contains(u" name ")) {
            const QByteArray name =
                QByteArray::fromPercentEncoding(arrange.section(u' ', -1).toLatin1());
            if (arrange.contains(u"program name"))
                install.programName = QFile::encodeName(install.installed) + '/' + name;
            else
                install.userName =
                    QFile::encodeName(install.home) + '/' + name + "/.local/share/dorvane-quillon";
        }
        const auto before = folderSnapshot(install.installed);
        const auto homeBefore = folderSnapshot(install.home);
        const QStringList more = arrange.startsWith(u"given")
                                     ? QStringList{u"--app-folder"_s, given.path()}
                                     : QStringList{};
        const mode_t umask = ::umask(arrange == u"umask 000" ? 0 : 022);
        try {
            const auto location =
                install.locate(canWrite, program == u"bin" ? install.bin : install.installed, more);
            ::umask(umask);
            const QMap<QString, QString> found{{u"given"_s, given.path()},
                                               {u"installed"_s, install.installed},
                                               {u"user"_s, install.user},
                                               {u"bin"_s, install.bin}};
            const QStringList kinds{u"Given"_s, u"ProgramFolder"_s, u"PerUser"_s};
            QCOMPARE(u"%1 %2%3"_s.arg(kinds[int(location.kind)], found.key(location.folder.path()),
                                      location.made ? u" made"_s : QString()),
                     expected);
        } catch (const AppFolderError& error) {
            ::umask(umask);
            QVERIFY2(expected.startsWith(u"error"), qPrintable(error.message()));
            for (QString words : expected.mid(7).split(u'|')) {
                words.replace(u"%I"_s, QDir::toNativeSeparators(install.installed))
                    .replace(u"%U"_s, QDir::toNativeSeparators(install.user))
                    .replace(u"%D"_s, QDir::toNativeSeparators(install.dataHome))
                    .replace(u"%H"_s, QDir::toNativeSeparators(install.home));
                QVERIFY2(error.message().contains(words), qPrintable(error.message()));
            }
            QCOMPARE(folderSnapshot(install.home), homeBefore); // nothing made
        }
        QCOMPARE(folderSnapshot(install.installed), before);
        if (expected.startsWith(u"error"))
            return;
        QCOMPARE(QFileInfo::exists(install.user), expected.startsWith(u"PerUser"));
        // What the program made is the user's alone.
        for (const QString& folder :
             QStringList{install.home + u"/.local"_s, install.dataHome, install.user}) {
            struct stat info {};
            if (expected.endsWith(u"made"))
                QVERIFY2(::stat(QFile::encodeName(folder).constData(), &info) == 0 &&
                             (info.st_mode & 07777) == 0700,
                         qPrintable(folder));
        }
    }

    // The per-user folder: the templates copied (the user may edit them), the rest linked, so that
    // a catalogue update reaches it. The start makes user.mdb;
    // a start while another holds the folder changes nothing; later starts keep user.mdb and the
    // edits, and complete the folder.
    void perUserFolderMadeAndKept() {
        Install install;
        const auto installedBefore = folderSnapshot(install.installed);
        const auto location = install.locate();
        QVERIFY(location.made);
        for (const QString& name : PerUserFolder::copiedEntries()) {
            const QFileInfo copy(install.user + u'/' + name);
            QVERIFY2(copy.isFile() && !copy.isSymLink() && (copy.permissions() & QFile::WriteOwner),
                     qPrintable(name));
            QCOMPARE(readFile(copy.filePath()), readFile(install.installed + u'/' + name));
            writeFile(copy.filePath(), "<p>Hammond &amp; Sons, Unit 4</p>\r\n");
        }
        for (const QString& name : PerUserFolder::linkedEntries())
            QCOMPARE(QFileInfo(install.user + u'/' + name).symLinkTarget(),
                     install.installed + u'/' + name);
        QVERIFY(QFileInfo(location.folder.htmlIcon()).isFile());
        QVERIFY(!QFileInfo::exists(location.folder.userDatabase()));
        QCOMPARE(entries(install.user).filter(QRegularExpression(u"^\\."_s)), QStringList());
        QByteArray userDb;
        {
            ProgramRun first;
            QVERIFY2(first.start(location.folder), qPrintable(first.onlyPrompt()));
            const QFileInfo made(location.folder.userDatabase());
            QVERIFY(made.isFile() && !made.isSymLink() && (made.permissions() & QFile::WriteOwner));
            // A second start while the first runs hands over, and repairs nothing.
            QVERIFY(QFile::remove(location.folder.helpText()));
            ProgramRun second;
            const auto again =
                AppFolderLocator({install.bin, install.user, [](const QString&) { return false; }})
                    .locate({u"dorvane-quillon"_s});
            QVERIFY(!StartUp::start(
                second.state, second.dialogs, second.browser, again.folder,
                [&] { AppFolderLocator::complete(again); }, &second.handedOver));
            QVERIFY(second.handedOver);
            QVERIFY(!QFileInfo::exists(location.folder.helpText()));
            userDb = readFile(location.folder.userDatabase());
        }
        QCOMPARE(folderSnapshot(install.installed), installedBefore);
        // The next start puts back what went missing (help.dat), points a link that leads
        // nowhere (an installation that moved) at the installed entry, and keeps a file or link
        // of the user's own in place of a link. The template is needed only to make user.mdb, and
        // a catalogue of the user's own needs none installed.
        const QString ownPixel = install.home + u"/own-pixel.gif"_s;
        const QString ownParts = install.home + u"/own-parts.mdb"_s;
        writeFile(ownPixel, "own pixel");
        importParts(ownParts, {u"DA7001"_s});
        for (const auto& [name, link] :
             {std::pair("images", u"/nowhere/images"_s), std::pair("1pixel-black.gif", ownPixel),
              std::pair("parts.mdb", ownParts), std::pair("image-icon.bmp", QString())}) {
            QVERIFY(QFile::remove(install.user + u'/' + QLatin1String(name)));
            if (link.isEmpty())
                writeFile(install.user + u'/' + QLatin1String(name), "own icon");
            else
                QVERIFY(QFile::link(link, install.user + u'/' + QLatin1String(name)));
        }
        for (const char* name : {"systemuserDB.dat", "parts.mdb"})
            QVERIFY(QFile::remove(install.installed + u'/' + QLatin1String(name)));
        const auto again = install.locate();
        QVERIFY(!again.made);
        for (const char* name : {"help.dat", "images"})
            QCOMPARE(QFileInfo(install.user + u'/' + QLatin1String(name)).symLinkTarget(),
                     install.installed + u'/' + QLatin1String(name));
        QCOMPARE(readFile(install.user + u"/image-icon.bmp"_s), "own icon");
        QCOMPARE(QFileInfo(install.user + u"/1pixel-black.gif"_s).symLinkTarget(), ownPixel);
        ProgramRun next;
        QVERIFY2(next.startShown(again.folder), qPrintable(next.onlyPrompt()));
        QCOMPARE(searched(next, u"DA7001"_s), u"DA7001"_s);
        QCOMPARE(readFile(location.folder.userDatabase()), userDb);
        for (const QString& name : PerUserFolder::copiedEntries())
            QCOMPARE(readFile(install.user + u'/' + name), "<p>Hammond &amp; Sons, Unit 4</p>\r\n");
    }
};

QUILLON_TEST_CLASS(TestInstallLayouts)
#include "test_install_layouts.moc"
