#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QLocalServer;

namespace quillon {

// Marks an Application folder as in use by this run of the program, so that a second start on
// the same folder can tell and stop: two programs on one folder would each take up the one open
// order. The mark is a lock file in the folder that this run keeps open with an exclusive lock
// of the operating system on it, and removes when the object goes. The system drops that lock
// when a process ends in any way, so a file left by a program that was killed or crashed (or by
// a computer that lost power) holds nobody: whatever it says, the next start takes it over.
//
// The lock file is opened without following a link, and only a plain file of one name is ever
// written: a link (symbolic or hard) planted at its name is refused, never written through.
//
// The holder can also take requests to bring its window to the front: a local socket, named
// after the folder, that a second start on the same folder asks before it gives up.
//
// A QObject, so that the lock can be handed to the window whose run it guards and go with it.
class InstanceLock final : public QObject {
    Q_OBJECT

public:
    static QString fileName() { return QStringLiteral("quillon.lock"); }

    enum class Outcome {
        Acquired,      // this run holds the folder
        HeldElsewhere, // another run of the program holds it
        CantWrite,     // the lock file can't be made: the folder can't be written (error())
        NotOurs,       // the name is taken by a link or by something not a plain file
    };

    // Who holds the lock, as the lock file tells.
    struct Holder {
        qint64 processId = 0;
        QString hostName; // the computer it runs on
    };

    explicit InstanceLock(const QString& folder, QObject* parent = nullptr);
    ~InstanceLock() override;

    // Takes the lock without waiting. A lock file this start made, or whose content it could not
    // write, is not left behind when it fails.
    [[nodiscard]] Outcome tryAcquire();
    [[nodiscard]] bool isHeld() const { return fd_ >= 0; }
    // The system error (errno) of the last CantWrite.
    [[nodiscard]] int error() const { return error_; }
    // The holder named in the lock file, when there is one that can be read. A holder that has
    // only just taken the lock may not have written its name yet.
    [[nodiscard]] std::optional<Holder> holder() const;
    [[nodiscard]] const QString& path() const { return path_; }

    // While the lock is held: answers requests of later starts on the folder by emitting
    // activationRequested(). False when the socket can't be made.
    bool acceptActivationRequests();
    // Asks the run that holds the folder to bring its window to the front; true once it has
    // answered that it did. Runs the event loop while it waits (the holder may be this very
    // process), for at most timeoutMs.
    [[nodiscard]] bool requestActivation(int timeoutMs = 5000) const;
    // The local socket's name: short (it must fit an address of the system), the same for every
    // path that leads to the folder, in socketFolder(); empty when there is no such folder (no
    // requests are taken or made then).
    [[nodiscard]] QString serverName() const;
    // Where the sockets are: the user's runtime folder (XDG_RUNTIME_DIR) when there is one, else
    // dorvane-quillon/run in the user's cache folder, made with mode 0700; either only when it
    // is private (see PrivateFolder) and its name short enough for a socket's address. Never the
    // shared temporary folder. Empty when there is none. A socket goes with the run that made it.
    [[nodiscard]] static QString socketFolder();

signals:
    void activationRequested();

private:
    enum class Attempt { Held, Busy, Replaced, Failed };
    Attempt lockOpenFile();
    void release();

    QString folder_;
    QString path_;
    int fd_ = -1; // open while the lock is held
    int error_ = 0;
    QLocalServer* server_ = nullptr;
};

} // namespace quillon
