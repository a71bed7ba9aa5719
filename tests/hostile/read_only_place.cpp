#include "read_only_place.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::tests {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString lastError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A mount namespace of this test's own (for the calling thread, which is the one that runs the
// program's code), whose mounts nobody else sees. Made once.
bool ownMountNamespace(QString* why) {
    static int made = -1;
    static QString reason;
    if (made < 0) {
        made = ::unshare(CLONE_NEWNS) == 0 &&
               ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!made)
            reason = QStringLiteral("no mount namespace: ") + lastError();
    }
    if (!made && why)
        *why = reason;
    return made == 1;
}

bool setImmutable(const QString& path, bool on, QString* why) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *why = lastError();
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!done && why)
        *why = QStringLiteral("no immutable flag: ") + lastError();
    ::close(fd);
    return done;
}

} // namespace

std::unique_ptr<ReadOnlyPlace> ReadOnlyPlace::make(Kind kind, const QString& path, QString* why) {
    struct stat info {};
    if (::stat(native(path).constData(), &info) != 0) {
        *why = lastError();
        return nullptr;
    }
    const unsigned int mode = info.st_mode & 07777;
    if (::geteuid() != 0) {
        // Permission bits are enough. A file in a folder that can be written could be replaced
        // whole, so its folder is made read-only too.
        const QString place = kind == Kind::Folder ? path : QFileInfo(path).absolutePath();
        if (kind == Kind::File)
            ::chmod(native(path).constData(), mode & ~0222u);
        struct stat folderInfo {};
        ::stat(native(place).constData(), &folderInfo);
        ::chmod(native(place).constData(), (folderInfo.st_mode & 07777) & ~0222u);
        return std::unique_ptr<ReadOnlyPlace>(
            new ReadOnlyPlace(Means::Permissions, path, QStringLiteral("permission bits"), mode));
    }
    if (kind == Kind::File) {
        if (!setImmutable(path, true, why))
            return nullptr;
        return std::unique_ptr<ReadOnlyPlace>(
            new ReadOnlyPlace(Means::Immutable, path, QStringLiteral("immutable flag"), mode));
    }
    if (!ownMountNamespace(why))
        return nullptr;
    const QByteArray target = native(path);
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        *why = QStringLiteral("no bind mount: ") + lastError();
        return nullptr;
    }
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        *why = QStringLiteral("no read-only remount: ") + lastError();
        ::umount2(target.constData(), MNT_DETACH);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyPlace>(
        new ReadOnlyPlace(Means::BindMount, path, QStringLiteral("read-only bind mount"), mode));
}

ReadOnlyPlace::ReadOnlyPlace(Means means, QString path, QString how, unsigned int savedMode)
    : means_(means), path_(std::move(path)), how_(std::move(how)), savedMode_(savedMode) {}

ReadOnlyPlace::~ReadOnlyPlace() {
    const QByteArray target = native(path_);
    switch (means_) {
    case Means::BindMount:
        ::umount2(target.constData(), MNT_DETACH);
        break;
    case Means::Immutable: {
        QString ignored;
        setImmutable(path_, false, &ignored);
        break;
    }
    case Means::Permissions: {
        const QFileInfo info(path_);
        if (info.isFile()) {
            ::chmod(native(info.absolutePath()).constData(), 0755);
            ::chmod(target.constData(), savedMode_);
        } else {
            ::chmod(target.constData(), savedMode_);
        }
        break;
    }
    }
}

} // namespace quillon::tests
