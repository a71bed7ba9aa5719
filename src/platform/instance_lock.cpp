#include "platform/instance_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>

namespace quillon {

namespace {

// Whether the open file is still the one the path names: a holder that was ending may have
// removed it between our opening it and locking it.
bool stillNamedBy(const QFile& file, const QString& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(file.handle(), &opened) == 0 &&
           ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

InstanceLock::InstanceLock(const QString& folder, QObject* parent)
    : QObject(parent), path_(QDir(folder).filePath(fileName())), file_(path_) {}

InstanceLock::~InstanceLock() {
    if (!held_)
        return;
    // Removed while still locked, so that nobody can take the file over in between; a start
    // that opened it just before finds it no longer named by the path and makes a new one.
    QFile::remove(path_);
    file_.close();
}

InstanceLock::Attempt InstanceLock::lockOpenFile() {
    for (;;) {
        if (::flock(file_.handle(), LOCK_EX | LOCK_NB) == 0)
            return stillNamedBy(file_, path_) ? Attempt::Held : Attempt::Replaced;
        switch (errno) {
        case EINTR:
            continue;
        case EWOULDBLOCK:
            return Attempt::Busy;
        default:
            // The folder's file system has no locks (some network shares): the file still
            // names this run, but can't keep a second one out.
            return Attempt::Failed;
        }
    }
}

InstanceLock::Outcome InstanceLock::tryAcquire() {
    if (held_)
        return Outcome::Acquired;
    // A few rounds at most: each one lost means another run removed the file in between.
    for (int round = 0; round < 8; ++round) {
        if (!file_.open(QIODevice::ReadWrite))
            return Outcome::CantWrite;
        const Attempt attempt = lockOpenFile();
        if (attempt == Attempt::Busy) {
            file_.close();
            return Outcome::HeldElsewhere;
        }
        if (attempt == Attempt::Replaced) {
            file_.close();
            continue;
        }
        // Whatever an earlier holder wrote gives way to this run's name.
        const QByteArray name = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        if (!file_.resize(0) || file_.write(name) != name.size() || !file_.flush()) {
            file_.close();
            return Outcome::CantWrite;
        }
        held_ = true;
        return Outcome::Acquired;
    }
    return Outcome::HeldElsewhere;
}

std::optional<InstanceLock::Holder> InstanceLock::holder() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    Holder holder;
    holder.processId = lines.value(0).toLongLong(&ok);
    if (!ok || holder.processId <= 0)
        return std::nullopt;
    holder.hostName = QString::fromUtf8(lines.value(2));
    return holder;
}

} // namespace quillon
