#include "price_source.h"

#include "import_error.h"
#include "store/shown_path.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace quillon {

namespace {

const QString standardInput = QStringLiteral("-");

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void cannotRead(const QString& why) {
    throw ImportError(QStringLiteral("can't be read: %1").arg(why), 0);
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

PriceSource::PriceSource(const QString& path) : path_(path) {
    if (path == standardInput) {
        fd_ = STDIN_FILENO;
        if (::isatty(fd_) != 0)
            cannotRead(QStringLiteral("standard input is a terminal; send the price file in "
                                      "(quillon-db import-catalogue - parts.mdb < parts.csv), or "
                                      "give its path"));
    } else {
        // Not waiting for a writer of a FIFO here: awaitWriter() waits, for a while only.
        fd_ = ::open(QFile::encodeName(path).constData(),
                     O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            cannotRead(systemError(errno));
        ownsFd_ = true;
    }
    if (::fstat(fd_, &noted_) != 0)
        cannotRead(systemError(errno));
    if (S_ISDIR(noted_.st_mode))
        cannotRead(QStringLiteral("it is a folder, not a price file"));
    // A device may never end (/dev/zero) or ask someone to type (a terminal).
    if (ownsFd_ && (S_ISCHR(noted_.st_mode) || S_ISBLK(noted_.st_mode)))
        cannotRead(QStringLiteral("it is a device, not a price file"));
    regular_ = S_ISREG(noted_.st_mode);
    // Standard input may have been read part-way before (by the shell's own read): the rest is
    // the price file.
    if (regular_) {
        const off_t start = ::lseek(fd_, 0, SEEK_CUR);
        expectedBytes_ = noted_.st_size - std::max<off_t>(0, std::min(start, noted_.st_size));
    }
    awaitingWriter_ = ownsFd_ && S_ISFIFO(noted_.st_mode);
    if (ownsFd_ && !awaitingWriter_) {
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

PriceSource::~PriceSource() {
    if (ownsFd_)
        ::close(fd_);
}

QString PriceSource::name() const {
    return path_ == standardInput ? QStringLiteral("standard input") : shownPath(path_);
}

bool PriceSource::isFile(const QString& path) const {
    struct stat other {};
    return ::stat(QFile::encodeName(path).constData(), &other) == 0 &&
           other.st_dev == noted_.st_dev && other.st_ino == noted_.st_ino;
}

bool PriceSource::awaitWriter() {
    awaitingWriter_ = false;
    // Until a program opens the FIFO for writing, there is nothing to read and no end; once one
    // has, there is data, or the end when it closes it.
    pollfd wanted{fd_, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&wanted, 1, writerWaitSeconds * 1000);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    // From here on a read waits for the writer, and ends when it has gone.
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    return true;
}

qint64 PriceSource::readData(char* data, qint64 maxSize) {
    if (awaitingWriter_ && !awaitWriter()) {
        setErrorString(QStringLiteral("no program wrote to the FIFO within %1 seconds; start the "
                                      "one that writes the price file first")
                           .arg(writerWaitSeconds));
        return -1;
    }
    // Whole chunks, so that the progress of a big file is told as a file's is.
    qint64 done = 0;
    while (done < maxSize) {
        const ssize_t got = ::read(fd_, data + done, std::size_t(maxSize - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A stream handed over set not to wait: wait for its data, or for its end.
            pollfd wanted{fd_, POLLIN, 0};
            if (::poll(&wanted, 1, -1) >= 0 || errno == EINTR)
                continue;
            setErrorString(systemError(errno));
            return -1;
        }
        if (got < 0) {
            setErrorString(systemError(errno));
            return -1;
        }
        if (got == 0) {
            atEnd_ = true;
            break;
        }
        done += got;
    }
    if (firstBytes_.size() < 16)
        firstBytes_.append(data, qsizetype(std::min<qint64>(16 - firstBytes_.size(), done)));
    bytesRead_ += done;
    return done;
}

qint64 PriceSource::writeData(const char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

void PriceSource::checkUnchanged() const {
    if (!regular_)
        return;
    const auto changed = [&](const QString& how) {
        throw ImportError(QStringLiteral("the file %1 while it was being read, so its rows may be "
                                         "part old, part new. Nothing of it was imported: import "
                                         "it again once whatever writes it has finished.")
                              .arg(how),
                          0);
    };
    struct stat now {};
    if (::fstat(fd_, &now) != 0)
        cannotRead(systemError(errno));
    if (path_ != standardInput && !isFile(path_))
        changed(QStringLiteral("was replaced or removed"));
    if (now.st_size != noted_.st_size)
        changed(QStringLiteral("went from %1 to %2 bytes").arg(noted_.st_size).arg(now.st_size));
    if (atEnd_ && bytesRead_ != expectedBytes_)
        changed(QStringLiteral("had %1 bytes to read when the import began, but %2 were read")
                    .arg(expectedBytes_)
                    .arg(bytesRead_));
    if (!sameTime(now.st_mtim, noted_.st_mtim))
        changed(QStringLiteral("was written to"));
}

} // namespace quillon
