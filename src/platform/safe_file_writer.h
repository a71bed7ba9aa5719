#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace quillon {

// How the program writes every file it creates or replaces in a folder: the bytes go to a new
// file under a temporary name in the same folder, created exclusively and never through a link,
// are flushed to the disk, and the new file is then renamed over the name in one step. Until
// commit() the file of that name is untouched; afterwards it is the whole new file. A link at the
// name (symbolic or hard) is replaced, never followed: whatever it leads to is never opened for
// writing. An existing file marked read-only is refused, as a read-only file is meant to be
// kept; the new file takes an existing file's permissions. Destroyed without commit(), the
// writer removes its temporary file.
class SafeFileWriter final {
public:
    explicit SafeFileWriter(const QString& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Each false on failure, with the reason in errorString(); the file of the name is then
    // unchanged, and the writer can do nothing more.
    [[nodiscard]] bool open();
    [[nodiscard]] bool write(const QByteArray& bytes);
    // What commit() does when something stands at the name: Replace puts the new file in its
    // place; Keep leaves it and fails ("something stands at …").
    enum class Existing { Replace, Keep };
    [[nodiscard]] bool commit(Existing existing = Existing::Replace);
    // The new file's permissions instead of the replaced file's (or a new file's defaults);
    // call after open().
    [[nodiscard]] bool setPermissions(QFileDevice::Permissions permissions);

    // The reason of the last failure, for a message that names the file ("the disk is full").
    [[nodiscard]] const QString& errorString() const { return errorString_; }
    [[nodiscard]] const QString& path() const { return path_; }
    // The temporary file the bytes go to until commit(), for a check of what was written;
    // empty before open() and after commit() or a failure.
    [[nodiscard]] const QString& temporaryPath() const { return temporaryPath_; }

    // Writes bytes as the whole file at path; false with the reason in *reason.
    [[nodiscard]] static bool writeWhole(const QString& path, const QByteArray& bytes,
                                         QString* reason);
    // The same with the new file's permissions given, and what to do with a file standing at
    // the name; empty when done, else why not.
    [[nodiscard]] static QString writeWhole(const QString& path, const QByteArray& bytes,
                                            QFileDevice::Permissions permissions,
                                            Existing existing);

    // The words for a system error (errno): a full disk or a used-up disk quota is "the disk is
    // full"; anything else the system's own words.
    [[nodiscard]] static QString describe(int error);

    // Writes all of bytes to an open file descriptor; false with errno set when it can't. Every
    // write of the program's files goes through here, so that the tests can fail them.
    [[nodiscard]] static bool writeAll(int fd, const QByteArray& bytes);

    // For the tests: while one lives, every write through writeAll() fails with the given
    // system error (ENOSPC: as on a full disk).
    class InjectedFault final {
    public:
        explicit InjectedFault(int error);
        ~InjectedFault();
        InjectedFault(const InjectedFault&) = delete;
        InjectedFault& operator=(const InjectedFault&) = delete;

    private:
        int saved_;
    };

private:
    bool fail(int error);
    bool fail(const QString& reason);
    void discard();

    QString path_;
    QString temporaryPath_;
    QString errorString_;
    int fd_ = -1;
    int mode_ = -1; // the permissions of the file replaced; -1: a new file's
    bool failed_ = false;
};

} // namespace quillon
