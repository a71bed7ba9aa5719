#include "platform/per_user_folder.h"

#include "platform/app_folder_error.h"
#include "platform/private_folder.h"
#include "platform/safe_file_writer.h"
#include "store/shown_path.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// There, as a file, a folder or a link (also one that leads nowhere).
bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Where a link leads, as written in it.
QString linkTarget(const QString& path) {
    QByteArray buffer(4096, '\0');
    const auto length =
        ::readlink(QFile::encodeName(path).constData(), buffer.data(), buffer.size());
    if (length < 0)
        return {};
    return QFile::decodeName(buffer.left(length));
}

// The start's own wording for a file it needs.
void requireDatabaseFile(const QString& path, const QString& role) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString folder = shownPath(info.absolutePath());
    if (!info.exists())
        throw AppFolderError(
            QStringLiteral("The %1 %2 is missing from the folder %3.").arg(role, name, folder));
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw AppFolderError(
            QStringLiteral("The %1 %2 in the folder %3 can't be read.").arg(role, name, folder));
    static const QByteArray header("SQLite format 3\0", 16);
    if (file.read(header.size()) != header)
        throw AppFolderError(
            QStringLiteral("The %1 %2 in the folder %3 is damaged: it is not a database file.")
                .arg(role, name, folder));
}

// The user's entry is (or will be made) the link to the installed one, rather than a file or a
// link of the user's own.
bool usesInstalled(const QString& entry, const QString& installedEntry) {
    const QFileInfo info(entry);
    return !info.exists() || (info.isSymLink() && linkTarget(entry) == installedEntry);
}

} // namespace

PerUserFolder::PerUserFolder(const QString& installedFolder, const QString& userFolder)
    : installed_(QDir::cleanPath(installedFolder)), user_(QDir::cleanPath(userFolder)) {}

const QStringList& PerUserFolder::copiedEntries() {
    static const QStringList entries{
        QStringLiteral("orderHeader.dat"),
        QStringLiteral("orderMidA.dat"),
        QStringLiteral("orderFooter.dat"),
    };
    return entries;
}

const QStringList& PerUserFolder::linkedEntries() {
    static const QStringList entries{
        QStringLiteral("parts.mdb"),      QStringLiteral("systemuserDB.dat"),
        QStringLiteral("images"),         QStringLiteral("1pixel-black.gif"),
        QStringLiteral("image-icon.bmp"), QStringLiteral("about.dat"),
        QStringLiteral("help.dat"),
    };
    return entries;
}

void PerUserFolder::checkInstalledFiles() const {
    const auto installed = [this](const QString& name) -> QString {
        return installed_ + QLatin1Char('/') + name;
    };
    const auto user = [this](const QString& name) -> QString {
        return user_ + QLatin1Char('/') + name;
    };
    const QString catalogue = QStringLiteral("parts.mdb");
    if (usesInstalled(user(catalogue), installed(catalogue)))
        requireDatabaseFile(installed(catalogue), QStringLiteral("catalogue database"));
    const QString userTemplate = QStringLiteral("systemuserDB.dat");
    if (!present(user(QStringLiteral("user.mdb"))) &&
        usesInstalled(user(userTemplate), installed(userTemplate)))
        requireDatabaseFile(installed(userTemplate), QStringLiteral("empty user database"));
}

bool PerUserFolder::make() const {
    const QFileInfo target(user_);
    if (target.isDir())
        return false;
    if (present(user_))
        throw AppFolderError(
            QStringLiteral("The Application folder %1 can't be made: something that is not a "
                           "folder is in its place.")
                .arg(shownPath(user_)));

    const QString parent = target.absolutePath();
    QString reason;
    if (!PrivateFolder::make(parent, &reason))
        throw AppFolderError(
            QStringLiteral("The folder %1 can't be made: %2").arg(shownPath(parent), reason));
    removeAbandonedBuilds();

    QTemporaryDir build(parent + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral("-XXXXXX"));
    if (!build.isValid())
        throw AppFolderError(QStringLiteral("The Application folder %1 can't be made: %2")
                                 .arg(shownPath(user_), build.errorString()));
    // The user's alone, whatever the umask.
    ::chmod(QFile::encodeName(build.path()).constData(), 0700);
    complete(build.path());
    if (std::rename(QFile::encodeName(build.path()).constData(),
                    QFile::encodeName(user_).constData()) != 0) {
        const int error = errno;
        // Another start of the program made it first: that one is used, and completed (if need
        // be) by whichever start holds it.
        if (QFileInfo(user_).isDir())
            return false;
        throw AppFolderError(QStringLiteral("The Application folder %1 can't be made: %2")
                                 .arg(shownPath(user_), systemError(error)));
    }
    build.setAutoRemove(false);
    return true;
}

void PerUserFolder::complete() const {
    complete(user_);
}

void PerUserFolder::complete(const QString& folder) const {
    for (const QString& name : copiedEntries())
        copyEntry(name, folder);
    for (const QString& name : linkedEntries())
        linkEntry(name, folder);
}

void PerUserFolder::copyEntry(const QString& name, const QString& folder) const {
    const QString target = folder + QLatin1Char('/') + name;
    const QString source = installed_ + QLatin1Char('/') + name;
    if (present(target) || !QFileInfo(source).isFile())
        return; // never copied twice; one the installation lacks comes at a later start
    QFile file(source);
    QString reason;
    if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    else if (SafeFileWriter::writeWhole(target, file.readAll(), &reason))
        return;
    throw AppFolderError(QStringLiteral("The file %1 could not be copied to the folder %2: %3")
                             .arg(shownPath(source), shownPath(folder), reason));
}

void PerUserFolder::linkEntry(const QString& name, const QString& folder) const {
    const QString link = folder + QLatin1Char('/') + name;
    const QString source = installed_ + QLatin1Char('/') + name;
    const QFileInfo info(link);
    // The user's own file in place of the link, or a link of the user's to a file that is there:
    // left alone. A link that leads nowhere (the installation moved) is pointed at the installed
    // entry again. The texts the program shows are its own, never the user's: a copy that an
    // earlier version made of them gives way to the link, so that an update's texts reach the user.
    const bool programText = name == u"about.dat" || name == u"help.dat";
    if (info.exists() && !(programText && info.isFile() && !info.isSymLink()))
        return;
    if (info.isSymLink() && linkTarget(link) == source)
        return; // the installed entry is missing: the start says so when it needs it
    // A new link under a temporary name, renamed over any stray one in one step.
    const QString building = folder + QStringLiteral("/.") + name +
                             QStringLiteral(".link-%1").arg(QCoreApplication::applicationPid());
    const QByteArray buildingName = QFile::encodeName(building);
    ::unlink(buildingName.constData());
    if (::symlink(QFile::encodeName(source).constData(), buildingName.constData()) != 0 ||
        std::rename(buildingName.constData(), QFile::encodeName(link).constData()) != 0) {
        const int error = errno;
        ::unlink(buildingName.constData());
        throw AppFolderError(QStringLiteral("The link %1 to %2 could not be made: %3")
                                 .arg(shownPath(link), shownPath(source), systemError(error)));
    }
}

void PerUserFolder::removeAbandonedBuilds() const {
    const QFileInfo target(user_);
    const QDir parent(target.absolutePath());
    const QDateTime cutOff = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QStringList builds =
        parent.entryList({QStringLiteral(".") + target.fileName() + QStringLiteral("-??????")},
                         QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : builds) {
        const QFileInfo build(parent.filePath(name));
        // An hour old: not another start building it right now.
        if (build.lastModified().toUTC() < cutOff)
            QDir(build.filePath()).removeRecursively();
    }
}

} // namespace quillon
