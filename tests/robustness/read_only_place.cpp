#include "read_only_place.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace quillon::tests {

std::unique_ptr<ReadOnlyPlace> ReadOnlyPlace::make(const QString& path, QString* why) {
    const QByteArray target = QFile::encodeName(path);
    // The namespace is made once, for the thread that runs the program's code.
    static const bool own = ::unshare(CLONE_NEWNS) == 0 &&
                            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (own && ::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) == 0) {
        if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) == 0)
            return std::unique_ptr<ReadOnlyPlace>(new ReadOnlyPlace(target));
        ::umount2(target.constData(), MNT_DETACH);
    }
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return nullptr;
}

ReadOnlyPlace::~ReadOnlyPlace() {
    ::umount2(path_.constData(), MNT_DETACH);
}

} // namespace quillon::tests
