#include "read_only_place.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::tests {

namespace {

QString lastError(const char* what) {
    return QString::fromLatin1(what) + QString::fromLocal8Bit(std::strerror(errno));
}

void setWritable(const QString& path, bool writable) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) == 0)
        ::chmod(native.constData(), writable ? (info.st_mode | 0200u) : (info.st_mode & ~0222u));
}

} // namespace

std::unique_ptr<ReadOnlyPlace> ReadOnlyPlace::make(const QString& path, QString* why) {
    const QByteArray target = QFile::encodeName(path);
    if (::geteuid() != 0) {
        setWritable(path, false);
        if (QFileInfo(path).isFile())
            setWritable(QFileInfo(path).absolutePath(), false);
        return std::unique_ptr<ReadOnlyPlace>(new ReadOnlyPlace(path, false));
    }
    // The namespace is made once, for the thread that runs the program's code.
    static const QString noNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
                ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            ? QString()
            : lastError("no mount namespace: ");
    *why = noNamespace;
    if (!why->isEmpty())
        return nullptr;
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        *why = lastError("no bind mount: ");
        return nullptr;
    }
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        *why = lastError("no read-only remount: ");
        ::umount2(target.constData(), MNT_DETACH);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyPlace>(new ReadOnlyPlace(path, true));
}

ReadOnlyPlace::~ReadOnlyPlace() {
    if (mounted_) {
        ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
        return;
    }
    setWritable(path_, true);
    if (QFileInfo(path_).isFile())
        setWritable(QFileInfo(path_).absolutePath(), true);
}

} // namespace quillon::tests
