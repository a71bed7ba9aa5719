#include "platform/instance_lock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace quillon {

InstanceLock::InstanceLock(const QString& folder, QObject* parent)
    : QObject(parent), path_(QDir(folder).filePath(fileName())), lock_(path_) {
    // A lock is stale only when its process is gone, never for its age: the program may run
    // for days.
    lock_.setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default; // the lock file goes with lock_

InstanceLock::Outcome InstanceLock::tryAcquire() {
    if (lock_.isLocked())
        return Outcome::Acquired;
    if (lock_.tryLock(0))
        return Outcome::Acquired;
    if (lock_.error() != QLockFile::LockFailedError)
        return Outcome::CantWrite;
    // A lock file that names no holder was left by a run killed (or a power cut) between making
    // the file and writing into it, which takes a moment only: once it has stood a while, nobody
    // holds it.
    constexpr qint64 unwrittenLockSeconds = 5;
    const QDateTime made = QFileInfo(path_).lastModified();
    if (!holder() && made.isValid() &&
        qAbs(made.secsTo(QDateTime::currentDateTime())) > unwrittenLockSeconds &&
        lock_.removeStaleLockFile() && lock_.tryLock(0))
        return Outcome::Acquired;
    // A lock that names this very process was left by an earlier one that had the same
    // process ID (IDs are reused) and was killed: this process has taken no lock. The removal
    // fails while a live holder still has the file locked.
    if (const auto named = holder(); named &&
                                     named->processId == QCoreApplication::applicationPid() &&
                                     lock_.removeStaleLockFile() && lock_.tryLock(0))
        return Outcome::Acquired;
    return Outcome::HeldElsewhere;
}

std::optional<InstanceLock::Holder> InstanceLock::holder() const {
    Holder holder;
    QString application;
    if (!lock_.getLockInfo(&holder.processId, &holder.hostName, &application))
        return std::nullopt;
    return holder;
}

} // namespace quillon
