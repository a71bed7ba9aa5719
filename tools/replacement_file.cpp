#include "replacement_file.h"

#include "store/shown_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

// Makes a rename inside the folder survive a power cut.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

// The names the engine gives the files it keeps beside a store while it writes.
const QStringList engineSuffixes{QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

// ".<target>.<process>-<8 hex digits>.tmp", and the engine's files beside it.
const QRegularExpression
    temporaryName(QStringLiteral("^\\..+\\.([0-9]+)-[0-9a-f]{8}\\.tmp(-journal|-wal|-shm)?$"));

bool processRuns(qint64 pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return true; // no process number: not ours to judge
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

} // namespace

ReplacementFile::ReplacementFile(const QString& targetPath, const QString& modelPath)
    : targetPath_(QFileInfo(targetPath).absoluteFilePath()),
      modelPath_(modelPath.isEmpty() ? targetPath_ : modelPath) {
    const QFileInfo target(targetPath_);
    if (target.isSymLink()) {
        const QString real = target.canonicalFilePath().isEmpty() ? target.symLinkTarget()
                                                                  : target.canonicalFilePath();
        throw std::runtime_error(
            QStringLiteral("%1 is a link to %2: give %2 itself, so that everyone who reads it "
                           "through the link gets the new file. Nothing written.")
                .arg(shownPath(targetPath_), shownPath(real))
                .toStdString());
    }
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw std::runtime_error("the folder " + shownPath(folder).toStdString() +
                                 " does not exist");
    // A hidden name in the same folder, so that the final rename stays on one file system.
    do {
        buildPath_ = folder + QStringLiteral("/.") + target.fileName() +
                     QStringLiteral(".%1-%2.tmp")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    } while (QFileInfo::exists(buildPath_));
    QStringList built{buildPath_};
    for (const QString& suffix : engineSuffixes)
        built << buildPath_ + suffix;
    cleanup_.emplace(built);
}

ReplacementFile::~ReplacementFile() {
    if (!committed_)
        removeBuilt();
}

void ReplacementFile::removeBuilt() const {
    QFile::remove(buildPath_);
    for (const QString& suffix : engineSuffixes)
        QFile::remove(buildPath_ + suffix);
}

ReplacementFile::Leftovers ReplacementFile::removeLeftovers(const QString& folder) {
    Leftovers removed;
    const QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        const QRegularExpressionMatch match = temporaryName.match(entry.fileName());
        if (!match.hasMatch() || entry.isSymLink() || processRuns(match.captured(1).toLongLong()))
            continue;
        const qint64 size = entry.size();
        if (QFile::remove(entry.absoluteFilePath())) {
            removed.names << entry.fileName();
            removed.bytes += size;
        }
    }
    return removed;
}

void ReplacementFile::commit() {
    // The new file takes the permissions and owner of the one it replaces: a catalogue that its
    // users could read stays readable whatever the umask of the person updating it, and a user's
    // file restored by root stays the user's.
    struct stat model {};
    if (::stat(QFile::encodeName(modelPath_).constData(), &model) == 0) {
        const QByteArray built = QFile::encodeName(buildPath_);
        (void)::chown(built.constData(), model.st_uid, model.st_gid);
        (void)::chmod(built.constData(), model.st_mode & 07777);
    }
    if (std::rename(QFile::encodeName(buildPath_).constData(),
                    QFile::encodeName(targetPath_).constData()) != 0) {
        const int error = errno;
        throw std::runtime_error("cannot replace " + shownPath(targetPath_).toStdString() + ": " +
                                 std::strerror(error));
    }
    committed_ = true;
    cleanup_.reset();
    syncFolder(QFileInfo(targetPath_).absolutePath());
}

} // namespace quillon
