#include "replacement_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

} // namespace

ReplacementFile::ReplacementFile(const QString& targetPath)
    : targetPath_(QFileInfo(targetPath).absoluteFilePath()) {
    const QFileInfo target(targetPath_);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw std::runtime_error("the folder " + QDir::toNativeSeparators(folder).toStdString() +
                                 " does not exist");
    // A hidden name in the same folder, so that the final rename stays on one file system.
    do {
        buildPath_ = folder + QStringLiteral("/.") + target.fileName() +
                     QStringLiteral(".%1-%2.tmp")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    } while (QFileInfo::exists(buildPath_));
}

ReplacementFile::~ReplacementFile() {
    if (!committed_)
        removeBuilt();
}

void ReplacementFile::removeBuilt() const {
    QFile::remove(buildPath_);
    QFile::remove(buildPath_ + QStringLiteral("-journal"));
    QFile::remove(buildPath_ + QStringLiteral("-wal"));
    QFile::remove(buildPath_ + QStringLiteral("-shm"));
}

void ReplacementFile::commit() {
    // The new file takes the permissions of the one it replaces: a catalogue that its users could
    // read stays readable, whatever the umask of the person updating it.
    struct stat replaced {};
    if (::stat(QFile::encodeName(targetPath_).constData(), &replaced) == 0)
        (void)::chmod(QFile::encodeName(buildPath_).constData(), replaced.st_mode & 07777);
    if (std::rename(QFile::encodeName(buildPath_).constData(),
                    QFile::encodeName(targetPath_).constData()) != 0) {
        const int error = errno;
        throw std::runtime_error("cannot replace " +
                                 QDir::toNativeSeparators(targetPath_).toStdString() + ": " +
                                 std::strerror(error));
    }
    committed_ = true;
    syncFolder(QFileInfo(targetPath_).absolutePath());
}

} // namespace quillon
