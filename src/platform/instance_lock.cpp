#include "platform/instance_lock.h"

#include "platform/private_folder.h"
#include "platform/safe_file_writer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const QByteArray activateRequest = QByteArrayLiteral("activate\n");
const QByteArray activatedAnswer = QByteArrayLiteral("activated\n");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Whether the open file is still the one the path names: a holder that was ending may have
// removed it between our opening it and locking it.
bool stillNamedBy(int fd, const QString& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(native(path).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

InstanceLock::InstanceLock(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder), path_(QDir(folder).filePath(fileName())) {}

InstanceLock::~InstanceLock() {
    delete server_;
    release();
}

void InstanceLock::release() {
    if (fd_ < 0)
        return;
    // Removed while still locked, so that nobody can take the file over in between; a start
    // that opened it just before finds it no longer named by the path and makes a new one.
    ::unlink(native(path_).constData());
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::Attempt InstanceLock::lockOpenFile() {
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
            return stillNamedBy(fd_, path_) ? Attempt::Held : Attempt::Replaced;
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
    if (isHeld())
        return Outcome::Acquired;
    const QByteArray name = native(path_);
    // A few rounds at most: each one lost means another run removed the file in between.
    for (int round = 0; round < 8; ++round) {
        // Never through a link: O_NOFOLLOW, and O_EXCL when the file is made.
        constexpr int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        fd_ = ::open(name.constData(), flags);
        if (fd_ < 0 && errno == ENOENT) {
            fd_ = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0644);
            if (fd_ < 0 && errno == EEXIST)
                continue;
        }
        if (fd_ < 0) {
            if (errno == ELOOP || errno == EISDIR)
                return Outcome::NotOurs;
            error_ = errno;
            return Outcome::CantWrite;
        }
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            return Outcome::NotOurs;
        }
        const Attempt attempt = lockOpenFile();
        if (attempt == Attempt::Busy || attempt == Attempt::Replaced) {
            ::close(fd_);
            fd_ = -1;
            if (attempt == Attempt::Busy)
                return Outcome::HeldElsewhere;
            continue;
        }
        // A file of the program's own has one name; one with another (a hard link to a file
        // of the user's) is never written.
        if (::fstat(fd_, &info) != 0 || info.st_nlink != 1) {
            ::close(fd_);
            fd_ = -1;
            return Outcome::NotOurs;
        }
        // Whatever an earlier holder wrote gives way to this run's name.
        const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                   QCoreApplication::applicationName().toUtf8() + '\n' +
                                   QSysInfo::machineHostName().toUtf8() + '\n';
        if (::lseek(fd_, 0, SEEK_SET) != 0 || !SafeFileWriter::writeAll(fd_, content) ||
            ::ftruncate(fd_, off_t(content.size())) != 0) {
            // A full disk: no file is left behind, empty or half-written.
            error_ = errno;
            release();
            return Outcome::CantWrite;
        }
        return Outcome::Acquired;
    }
    return Outcome::HeldElsewhere;
}

std::optional<InstanceLock::Holder> InstanceLock::holder() const {
    const int fd =
        ::open(native(path_).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray content(4096, '\0');
    const ssize_t length = ::read(fd, content.data(), size_t(content.size()));
    ::close(fd);
    if (length <= 0)
        return std::nullopt;
    const QList<QByteArray> lines = content.left(length).split('\n');
    bool ok = false;
    Holder holder;
    holder.processId = lines.value(0).toLongLong(&ok);
    if (!ok || holder.processId <= 0)
        return std::nullopt;
    holder.hostName = QString::fromUtf8(lines.value(2));
    return holder;
}

QString InstanceLock::serverName() const {
    QString folder = QFileInfo(folder_).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(folder_).absolutePath());
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256)
            .toHex()
            .left(20));
    const QString sockets = socketFolder();
    return sockets.isEmpty() ? QString() : sockets + QStringLiteral("/dorvane-quillon-") + key;
}

QString InstanceLock::socketFolder() {
    // A socket's whole name must fit the system's address (108 bytes): the folder's, at most 64.
    constexpr qsizetype longest = 64;
    const auto usable = [](const QString& folder) {
        return !folder.isEmpty() && folder.size() <= longest &&
               !PrivateFolder::problem(folder, QStringLiteral("Dorvane Quillon's sockets"));
    };
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QFileInfo(runtime).isDir() && usable(runtime))
        return runtime;
    // Without one (a service session, su), a folder of the user's own in the user's cache, never
    // the shared temporary folder, where anybody could take a name first.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QString own = QDir::cleanPath(cache + QStringLiteral("/dorvane-quillon/run"));
    if (!usable(own) || !PrivateFolder::make(own) || !usable(own))
        return {};
    return own;
}

bool InstanceLock::acceptActivationRequests() {
    if (!isHeld() || serverName().isEmpty())
        return false;
    if (server_)
        return true;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a run that was killed: nobody else holds the folder, so it is stale.
    QLocalServer::removeServer(serverName());
    if (!server->listen(serverName()))
        return false;
    server_ = server.release();
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine() && socket->bytesAvailable() < 64)
                    return;
                if (socket->readLine(64) == activateRequest) {
                    emit activationRequested();
                    socket->write(activatedAnswer);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool InstanceLock::requestActivation(int timeoutMs) const {
    if (serverName().isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(activateRequest);
    socket.flush();
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool answered = false;
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (!socket.canReadLine())
            return;
        answered = socket.readLine(64) == activatedAnswer;
        loop.quit();
    });
    connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    if (socket.canReadLine())
        answered = socket.readLine(64) == activatedAnswer;
    else if (socket.state() == QLocalSocket::ConnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return answered;
}

} // namespace quillon
