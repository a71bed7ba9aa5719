// How every file of the program is written: whatever stands at the name (nothing, a file of
// its own permissions, a read-only one, a link to a file, to a folder or to nothing, a hard
// link, a folder) is replaced by a file of our own or refused with the reason; what a link
// leads to is never written; no temporary file is left behind.
#include "platform/safe_file_writer.h"
#include "store_fixture.h"
#include "test_files.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace Qt::StringLiterals;

namespace {

// Each entry of the folder, hidden ones too, sorted: "name file 644 text", "name link" or
// "name folder".
QString listing(const QString& folder) {
    QStringList entries;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            entries << name + u" gone"_s;
        } else if (S_ISLNK(st.st_mode)) {
            entries << name + u" link"_s;
        } else if (S_ISDIR(st.st_mode)) {
            entries << name + u" folder"_s;
        } else {
            entries << name + u" file "_s + QString::number(st.st_mode & 07777, 8) + u' ' +
                           QString::fromUtf8(tests::readFile(dir.filePath(name)));
        }
    }
    return entries.join(u", ");
}

} // namespace

class SafeFileWriterTest : public QObject {
    Q_OBJECT

    mode_t savedMask_ = 0;

private slots:
    void initTestCase() { savedMask_ = ::umask(022); }
    void cleanupTestCase() { ::umask(savedMask_); }

    // What stands at the name, how it is written ("replace", "keep" what stands there, "as 600"
    // with the permissions given, "disk full" as it is written), what it says ("" when written),
    // and the folder afterwards.
    void whatStandsAtTheName_data() {
        tests::textTable({"stands", "how", "said", "after"},
                         "nothing>replace>>f.txt file 644 new|nothing>keep>>f.txt file 644 new|"
                         "nothing>as 600>>f.txt file 600 new|file 600>replace>>f.txt file 600 new|"
                         "file 640>as 600>>f.txt file 600 new|"
                         "file 444>replace>the file is read-only>f.txt file 444 old|"
                         "file 600>keep>something stands at>f.txt file 600 old|"
                         "file 600>disk full>the disk is full>f.txt file 600 old|"
                         "link to a file>replace>>f.txt file 644 new|"
                         "link to a folder>replace>>f.txt file 644 new|"
                         "dangling link>keep>something stands at>f.txt link|"
                         "dangling link>replace>>f.txt file 644 new|"
                         "hard link>replace>>f.txt file 600 new|"
                         "folder>replace>Is a directory>f.txt folder");
    }
    void whatStandsAtTheName() {
        QFETCH(QString, stands);
        QFETCH(QString, how);
        QFETCH(QString, said);
        const QTemporaryDir folder;
        const QTemporaryDir outside;
        const QString path = folder.filePath(u"f.txt"_s);
        const QString notes = outside.filePath(u"notes.txt"_s);
        tests::writeFile(notes, "notes");
        QVERIFY(QFile::setPermissions(notes, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QByteArray name = QFile::encodeName(path);
        if (stands.startsWith(u"file ")) {
            tests::writeFile(path, "old");
            QCOMPARE(::chmod(name.constData(), mode_t(stands.mid(5).toUInt(nullptr, 8))), 0);
        } else if (stands == u"link to a file") {
            QVERIFY(QFile::link(notes, path));
        } else if (stands == u"link to a folder") {
            QVERIFY(QFile::link(outside.path(), path));
        } else if (stands == u"dangling link") {
            QVERIFY(QFile::link(outside.filePath(u"nothing"_s), path));
        } else if (stands == u"hard link") {
            QCOMPARE(::link(QFile::encodeName(notes).constData(), name.constData()), 0);
        } else if (stands == u"folder") {
            QVERIFY(QDir().mkdir(path));
        }

        QString reason;
        if (how == u"replace" || how == u"disk full") {
            std::optional<SafeFileWriter::InjectedFault> diskFull;
            if (how == u"disk full")
                diskFull.emplace(ENOSPC);
            if (!SafeFileWriter::writeWhole(path, "new", &reason))
                QVERIFY(!reason.isEmpty());
        } else {
            const auto permissions = how == u"as 600"
                                         ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther;
            reason = SafeFileWriter::writeWhole(path, "new", permissions,
                                                how == u"keep" ? SafeFileWriter::Existing::Keep
                                                               : SafeFileWriter::Existing::Replace);
        }
        if (said.isEmpty())
            QCOMPARE(reason, QString());
        else
            QVERIFY2(reason.contains(said), qPrintable(reason));
        QTEST(listing(folder.path()), "after");
        QCOMPARE(listing(outside.path()), u"notes.txt file 600 notes"_s);
    }
};

QUILLON_TEST_CLASS(SafeFileWriterTest)

#include "test_safe_file_writer.moc"
