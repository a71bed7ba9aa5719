#include "platform/safe_file_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

int injectedError = 0;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Makes a rename in the folder survive a power cut. Best effort: a file system that can't do it
// still has the complete file.
void syncFolder(const QString& folder) {
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& path) : path_(QFileInfo(path).absoluteFilePath()) {}

SafeFileWriter::~SafeFileWriter() {
    discard();
}

QString SafeFileWriter::describe(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

bool SafeFileWriter::writeAll(int fd, const QByteArray& bytes) {
    if (injectedError != 0) {
        errno = injectedError;
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

SafeFileWriter::InjectedFault::InjectedFault(int error) : saved_(injectedError) {
    injectedError = error;
}

SafeFileWriter::InjectedFault::~InjectedFault() {
    injectedError = saved_;
}

bool SafeFileWriter::fail(int error) {
    return fail(describe(error));
}

bool SafeFileWriter::fail(const QString& reason) {
    errorString_ = reason;
    failed_ = true;
    discard();
    return false;
}

void SafeFileWriter::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporaryPath_.isEmpty())
        ::unlink(native(temporaryPath_).constData());
    temporaryPath_.clear();
}

bool SafeFileWriter::open() {
    if (failed_ || fd_ >= 0)
        return fd_ >= 0;
    // What has the name now: lstat, so that a link is looked at, not what it leads to.
    struct stat existing {};
    if (::lstat(native(path_).constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(EISDIR);
        if (S_ISREG(existing.st_mode)) {
            // A read-only mark is kept even by an administrator, whom the system lets write.
            if ((existing.st_mode & 0222) == 0 || ::access(native(path_).constData(), W_OK) != 0)
                return fail(QStringLiteral("the file is read-only"));
            mode_ = int(existing.st_mode & 07777);
        }
    } else if (errno != ENOENT) {
        return fail(errno);
    }

    const QFileInfo target(path_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden, in the same folder, so that the rename stays on one file system.
        const QString candidate =
            target.absolutePath() + QStringLiteral("/.") + target.fileName() +
            QStringLiteral(".%1.tmp").arg(QRandomGenerator::system()->generate64(), 16, 16,
                                          QLatin1Char('0'));
        // O_EXCL: a name that exists, also as a link, is never opened.
        fd_ = ::open(native(candidate).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporaryPath_ = candidate;
            if (mode_ >= 0 && ::fchmod(fd_, mode_t(mode_)) != 0)
                return fail(errno);
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

bool SafeFileWriter::write(const QByteArray& bytes) {
    if (fd_ < 0)
        return false;
    if (!writeAll(fd_, bytes))
        return fail(errno);
    return true;
}

bool SafeFileWriter::setPermissions(QFileDevice::Permissions permissions) {
    if (fd_ < 0)
        return false;
    // Qt's owner and user bits mean the same for a file this process owns.
    mode_t mode = 0;
    const auto bit = [&](QFileDevice::Permission permission, mode_t flag) {
        if (permissions & permission)
            mode |= flag;
    };
    bit(QFileDevice::ReadOwner, S_IRUSR);
    bit(QFileDevice::WriteOwner, S_IWUSR);
    bit(QFileDevice::ExeOwner, S_IXUSR);
    bit(QFileDevice::ReadGroup, S_IRGRP);
    bit(QFileDevice::WriteGroup, S_IWGRP);
    bit(QFileDevice::ExeGroup, S_IXGRP);
    bit(QFileDevice::ReadOther, S_IROTH);
    bit(QFileDevice::WriteOther, S_IWOTH);
    bit(QFileDevice::ExeOther, S_IXOTH);
    if (::fchmod(fd_, mode) != 0)
        return fail(errno);
    return true;
}

bool SafeFileWriter::commit(Existing existing) {
    if (fd_ < 0)
        return false;
    // The bytes reach the disk before the name moves to them.
    if (::fsync(fd_) != 0)
        return fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(errno);
    const QByteArray from = native(temporaryPath_);
    const QByteArray to = native(path_);
    if (existing == Existing::Keep) {
        // A second name fails on anything standing at the name, a dangling link included; on a
        // file system without second names, the rename follows a look that nothing stands there.
        if (::link(from.constData(), to.constData()) == 0) {
            discard(); // the temporary name goes; the file keeps its new one
            syncFolder(QFileInfo(path_).absolutePath());
            return true;
        }
        struct stat standing {};
        if (errno == EEXIST || ::lstat(to.constData(), &standing) == 0)
            return fail(QStringLiteral("something stands at %1 already").arg(path_));
    }
    // rename() replaces whatever has the name, a link included, and never follows it.
    if (std::rename(from.constData(), to.constData()) != 0)
        return fail(errno);
    temporaryPath_.clear();
    syncFolder(QFileInfo(path_).absolutePath());
    return true;
}

bool SafeFileWriter::writeWhole(const QString& path, const QByteArray& bytes, QString* reason) {
    SafeFileWriter file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

QString SafeFileWriter::writeWhole(const QString& path, const QByteArray& bytes,
                                   QFileDevice::Permissions permissions, Existing existing) {
    SafeFileWriter file(path);
    if (file.open() && file.setPermissions(permissions) && file.write(bytes) &&
        file.commit(existing))
        return {};
    return file.errorString();
}

} // namespace quillon
