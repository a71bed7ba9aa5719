#include "program_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

ProgramLock::ProgramLock(const QString& folder)
    // The program's own name for the file (platform/instance_lock).
    : path_(QDir(folder).filePath(QStringLiteral("quillon.lock"))) {}

ProgramLock::~ProgramLock() {
    if (fd_ < 0)
        return;
    // Removed while still locked, as the program removes it: a start that opened the file just
    // before finds it no longer named by the path and makes a new one.
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
}

ProgramLock::Outcome ProgramLock::take() {
    const QByteArray path = QFile::encodeName(path_);
    // A few rounds at most: each one lost means that a program ending removed the file between
    // our opening and our locking it.
    for (int round = 0; round < 8; ++round) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0)
            return Outcome::CantWrite;
        int locked = 0;
        while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (locked != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            return Outcome::ProgramRunning;
        }
        // (A file system without locks can't keep the program out; it goes on as the program
        // does there.)
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) != 0 || ::stat(path.constData(), &named) != 0 ||
            opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        // Who holds the folder, in the program's form: process, name, computer.
        const QByteArray holder = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                  QCoreApplication::applicationName().toUtf8() + '\n' +
                                  QSysInfo::machineHostName().toUtf8() + '\n';
        if (::ftruncate(fd, 0) != 0 ||
            ::write(fd, holder.constData(), static_cast<std::size_t>(holder.size())) !=
                holder.size()) {
            ::close(fd);
            return Outcome::CantWrite;
        }
        fd_ = fd;
        return Outcome::Taken;
    }
    return Outcome::ProgramRunning;
}

} // namespace quillon
