#pragma once

#include <QFile>
#include <QObject>
#include <QString>
#include <optional>

namespace quillon {

// Marks an Application folder as in use by this run of the program, so that a second start on
// the same folder can tell and stop: two programs on one folder would each take up the one open
// order. The mark is a lock file in the folder that this run keeps open with an exclusive lock
// of the operating system on it, and removes when the object goes. The system drops that lock
// when a process ends in any way, so a file left by a program that was killed or crashed (or by
// a computer that lost power) holds nobody: whatever it says, the next start takes it over.
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
    [[nodiscard]] bool isHeld() const { return held_; }
    // The holder named in the lock file, when there is one that can be read. A holder that has
    // only just taken the lock may not have written its name yet.
    [[nodiscard]] std::optional<Holder> holder() const;
    [[nodiscard]] const QString& path() const { return path_; }

private:
    enum class Attempt { Held, Busy, Replaced, Failed };
    Attempt lockOpenFile();

    QString path_;
    QFile file_; // open while the lock is held, and while trying to take it
    bool held_ = false;
};

} // namespace quillon
