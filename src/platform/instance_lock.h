#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <optional>

namespace quillon {

// Marks an Application folder as in use by this run of the program, so that a second start on
// the same folder can tell and stop: two programs on one folder would each take up the one open
// order. The mark is a lock file in the folder, held until the object goes. A lock left by a
// program that was killed or crashed doesn't count: it names a process that no longer runs (or
// this computer has been restarted since), and is taken over.
//
// A QObject, so that the lock can be handed to the window whose run it guards and go with it.
class InstanceLock final : public QObject {
public:
    static QString fileName() { return QStringLiteral("quillon.lock"); }

    enum class Outcome {
        Acquired,      // this run holds the folder
        HeldElsewhere, // another run of the program holds it
        CantWrite,     // the lock file can't be made: the folder can't be written
    };

    // Who holds the lock, as the lock file tells.
    struct Holder {
        qint64 processId = 0;
        QString hostName; // the computer it runs on
    };

    explicit InstanceLock(const QString& folder, QObject* parent = nullptr);
    ~InstanceLock() override;

    // Takes the lock without waiting.
    [[nodiscard]] Outcome tryAcquire();
    [[nodiscard]] bool isHeld() const { return lock_.isLocked(); }
    // The holder named in the lock file, when there is one that can be read.
    [[nodiscard]] std::optional<Holder> holder() const;
    [[nodiscard]] const QString& path() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};

} // namespace quillon
