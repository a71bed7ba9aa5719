#include "store/store_recovery.h"

#include "store/database.h"
#include "store/schema.h"
#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtEndian>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

// A file descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the close reports a failed write.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool standsAt(const QString& path) {
    struct stat status {};
    return ::lstat(encoded(path).constData(), &status) == 0;
}

// A name beside the path that nothing stands at yet.
QString freeNameBeside(const QString& path, const QString& suffix) {
    QString name = path + suffix;
    for (int i = 2; standsAt(name); ++i)
        name = path + suffix + QString::number(i);
    return name;
}

void syncFolder(const QString& file) {
    const Descriptor folder(::open(encoded(QFileInfo(file).absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        (void)::fsync(folder.get());
}

// Copies a file byte for byte to a new file (never through a link), with the same permissions,
// on the disk before it returns. Empty when done, else why not; a partial copy is removed.
QString copyWhole(const QString& from, const QString& to) {
    const Descriptor in(::open(encoded(from).constData(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (in.get() < 0 || ::fstat(in.get(), &status) != 0)
        return QStringLiteral("%1 can't be read: %2").arg(from, systemError(errno));
    Descriptor out(::open(encoded(to).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          status.st_mode & 07777));
    if (out.get() < 0)
        return QStringLiteral("%1 can't be made: %2").arg(to, systemError(errno));
    const auto fail = [&](const QString& what) {
        const int error = errno;
        out.close();
        ::unlink(encoded(to).constData());
        return QStringLiteral("%1 %2: %3").arg(to, what, systemError(error));
    };
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), std::size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(QStringLiteral("can't be written (reading the file failed)"));
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put =
                ::write(out.get(), buffer.constData() + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                if (put == 0)
                    errno = ENOSPC;
                return fail(QStringLiteral("can't be written"));
            }
            done += put;
        }
    }
    if (::fchmod(out.get(), status.st_mode & 07777) != 0 || ::fsync(out.get()) != 0 || !out.close())
        return fail(QStringLiteral("can't be written"));
    syncFolder(to);
    return {};
}

// Whether the engine takes the journal beside the file for one of an interrupted change, which
// it would play back as it opens the file: asked of a connection that only reads, which refuses
// to read such a file.
bool isJournalOfInterruptedChange(const QString& file) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(encoded(file).constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    const Connection probe(raw);
    if (probe == nullptr)
        return false;
    sqlite3_extended_result_codes(probe.get(), 1);
    sqlite3_busy_timeout(probe.get(), 5000);
    return sqlite3_exec(probe.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr,
                        nullptr) != SQLITE_OK &&
           sqlite3_extended_errcode(probe.get()) == SQLITE_READONLY_ROLLBACK;
}

// The size of the file the journal was written for, from its header (the number of pages and
// their size before the change it undoes); -1 when the header can't be read.
qint64 sizeJournalWasWrittenFor(const QString& journal) {
    static const QByteArray magic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(28);
    if (header.size() < 28 || !header.startsWith(magic))
        return -1;
    const quint64 pages = qFromBigEndian<quint32>(header.constData() + 16);
    const quint64 pageSize = qFromBigEndian<quint32>(header.constData() + 24);
    return qint64(pages * pageSize);
}

bool isLockError(int code) {
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

[[noreturn]] void inUse(const QString& path, const QString& engineWords) {
    throw StoreError(QStringLiteral("The store %1 is in use by another program (%2): its "
                                    "interrupted change can't be undone now.")
                         .arg(path, engineWords));
}

// Plays the journal back through a connection that writes: the engine does it at the first
// read. Empty when the engine has done so, else its words; *locked when another program holds
// the file.
QString playBack(const QString& file, bool* locked) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(encoded(file).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    const Connection writer(raw);
    if (writer == nullptr)
        return QStringLiteral("out of memory");
    sqlite3_extended_result_codes(writer.get(), 1);
    sqlite3_busy_timeout(writer.get(), 5000);
    if (sqlite3_exec(writer.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr,
                     nullptr) == SQLITE_OK)
        return {};
    *locked = isLockError(sqlite3_extended_errcode(writer.get()));
    return QString::fromUtf8(sqlite3_errmsg(writer.get()));
}

// Which of the two stores the file is, by its tables as they stand, read without a lock and
// without looking at the journal: a journal played back must leave it that store.
enum class StoreKind { Other, Catalogue, UserData };

StoreKind kindOf(const QString& file) {
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(file, "/") + "?immutable=1";
    sqlite3* raw = nullptr;
    sqlite3_open_v2(uri.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const Connection db(raw);
    sqlite3_stmt* stmt = nullptr;
    if (db == nullptr || sqlite3_prepare_v2(db.get(),
                                            "SELECT lower(name) FROM sqlite_schema WHERE type = "
                                            "'table' AND lower(name) IN ('parts', 'orders')",
                                            -1, &stmt, nullptr) != SQLITE_OK)
        return StoreKind::Other;
    QStringList names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return names.contains(QStringLiteral("parts"))    ? StoreKind::Catalogue
           : names.contains(QStringLiteral("orders")) ? StoreKind::UserData
                                                      : StoreKind::Other;
}

// What is wrong with the file as it stands (no journal beside it any more): the engine's
// integrity check, the tables of the store it was, then the caller's check. Empty when sound.
// Throws when another program has it.
QString faultOf(const QString& file, StoreKind kind, const StoreRecovery::Check& check) {
    try {
        const auto db = Database::open(file, Database::Access::ReadOnly);
        QStringList problems = db->integrityCheck().join(u'\n').split(u'\n', Qt::SkipEmptyParts);
        problems.removeIf([](const QString& line) { return line.startsWith(u"***"); });
        if (!problems.isEmpty())
            return problems.first();
        const QString lacking = kind == StoreKind::Catalogue  ? Schema::whatCatalogueLacks(*db)
                                : kind == StoreKind::UserData ? Schema::whatUserDatabaseLacks(*db)
                                                              : QString();
        if (!lacking.isEmpty())
            return lacking;
        return check ? check(*db) : QString();
    } catch (const StoreError& error) {
        if (error.message().contains(QLatin1String("database is locked")))
            inUse(file, error.message());
        return error.message();
    }
}

bool moveTo(const QString& from, const QString& to) {
    if (std::rename(encoded(from).constData(), encoded(to).constData()) != 0)
        return false;
    syncFolder(to);
    return true;
}

} // namespace

QString StoreRecovery::keptCopyName(const QString& file) {
    return file + QStringLiteral("-before-recovery");
}

QString StoreRecovery::Outcome::describe() const {
    switch (kind) {
    case Kind::Nothing:
        return {};
    case Kind::Undone:
        return QStringLiteral("%1 had been left mid-change by an interrupted update: the change "
                              "was undone from its journal %2, and the file checked sound.")
            .arg(file, journal);
    case Kind::JournalOfLarger:
    case Kind::JournalDamagedFile:
        break;
    }
    QString text =
        kind == Kind::JournalOfLarger
            ? QStringLiteral("%1 had beside it the journal %2 of an interrupted change, written "
                             "for a larger file (%3 bytes; the file has %4): it doesn't belong "
                             "to the file. The journal was not used but set aside as %5, and "
                             "%1 left exactly as it was.")
                  .arg(file, journal)
                  .arg(journalFileSize)
                  .arg(fileSize)
                  .arg(setAsideAs)
            : QStringLiteral("%1 had beside it the journal %2 of an interrupted change, and "
                             "undoing the change from it damaged the file (%3): the journal "
                             "doesn't belong to the file. %1 was put back exactly as it was, "
                             "and the journal set aside as %4.")
                  .arg(file, journal, damage, setAsideAs);
    text += faultNow.isEmpty()
                ? QStringLiteral(" %1 is sound as it stands.").arg(file)
                : QStringLiteral(" %1 as it stands is not sound: %2").arg(file, faultNow);
    return text;
}

StoreRecovery::Outcome StoreRecovery::recover(const QString& path, const Check& check) {
    Outcome outcome;
    const QFileInfo given(path);
    const QString file = given.canonicalFilePath(); // the journal lies beside the file itself
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return outcome;
    const QString journal = file + QStringLiteral("-journal");
    if (QFileInfo(journal).size() <= 0 || !isJournalOfInterruptedChange(file))
        return outcome;
    outcome.file = file;
    outcome.journal = journal;
    outcome.fileSize = QFileInfo(file).size();

    const QFileInfo folder(QFileInfo(file).absolutePath());
    const bool fileWritable = QFileInfo(file).isWritable();
    if (!fileWritable || !folder.isWritable())
        throw StoreError(
            QStringLiteral("%1 was left mid-change by an update that was interrupted. The journal "
                           "%2 beside it holds what is needed to undo the change, but %3 can't "
                           "be written, so it can't be undone here. To mend it, run "
                           "\"quillon-db check %1\" with write access to the file and its "
                           "folder: that undoes the change and checks the file. Or put a sound "
                           "copy in its place (the catalogue: import it again).")
                .arg(path, given.isSymLink() ? journal : path + QStringLiteral("-journal"),
                     fileWritable          ? QStringLiteral("its folder")
                     : folder.isWritable() ? QStringLiteral("the file")
                                           : QStringLiteral("the file and its folder")));

    // A journal written for a larger file: never played back.
    outcome.journalFileSize = sizeJournalWasWrittenFor(journal);
    if (outcome.journalFileSize > outcome.fileSize) {
        outcome.kind = Outcome::Kind::JournalOfLarger;
        outcome.setAsideAs = freeNameBeside(journal, QStringLiteral("-set-aside"));
        if (!moveTo(journal, outcome.setAsideAs))
            throw StoreError(QStringLiteral("%1 has beside it the journal %2, written for a larger "
                                            "file, and it could not be set aside as %3: %4. "
                                            "Nothing was changed.")
                                 .arg(file, journal, outcome.setAsideAs, systemError(errno)));
        outcome.faultNow = faultOf(file, StoreKind::Other, check);
        return outcome;
    }

    // The file and the journal as they are, kept before the engine plays the journal back.
    const StoreKind kind = kindOf(file);
    const QString kept = freeNameBeside(keptCopyName(file), QString());
    const QString keptJournal = freeNameBeside(journal + QStringLiteral("-before-recovery"), {});
    const auto dropCopies = [&] {
        ::unlink(encoded(kept).constData());
        ::unlink(encoded(keptJournal).constData());
    };
    if (QString error = copyWhole(file, kept); !error.isEmpty())
        throw StoreError(QStringLiteral("%1 was left mid-change by an update that was "
                                        "interrupted, and a copy of it could not be kept before "
                                        "undoing the change: %2. Nothing was changed.")
                             .arg(file, error));
    if (QString error = copyWhole(journal, keptJournal); !error.isEmpty()) {
        dropCopies();
        throw StoreError(QStringLiteral("%1 was left mid-change by an update that was "
                                        "interrupted, and a copy of its journal could not be "
                                        "kept before undoing the change: %2. Nothing was "
                                        "changed.")
                             .arg(file, error));
    }

    bool locked = false;
    const QString failed = playBack(file, &locked);
    if (!failed.isEmpty() && locked) {
        dropCopies(); // the engine couldn't take the file: it is as it was
        inUse(file, failed);
    }
    if (!failed.isEmpty() && QFileInfo(journal).size() > 0) {
        // The engine didn't get through: the file back as it was, the journal still beside it.
        const bool putBack = moveTo(kept, file);
        ::unlink(encoded(keptJournal).constData());
        if (!putBack)
            throw StoreError(QStringLiteral("Undoing the interrupted change in %1 failed (%2), and "
                                            "the file could not be put back as it was: it is "
                                            "kept as %3.")
                                 .arg(file, failed, kept));
        throw StoreError(QStringLiteral("%1 was left mid-change by an update that was "
                                        "interrupted, and undoing the change failed: %2. The file "
                                        "and its journal are as they were.")
                             .arg(file, failed));
    }

    QString fault;
    try {
        fault = failed.isEmpty() ? faultOf(file, kind, check) : failed;
    } catch (const StoreError&) {
        dropCopies(); // the change is undone; only the check couldn't be made
        throw;
    }
    if (fault.isEmpty()) {
        dropCopies();
        outcome.kind = Outcome::Kind::Undone;
        return outcome;
    }

    // The journal damaged the file: the file put back, the journal set aside.
    outcome.kind = Outcome::Kind::JournalDamagedFile;
    outcome.damage = fault;
    if (!moveTo(kept, file))
        throw StoreError(QStringLiteral("Undoing an interrupted change from the journal %1 "
                                        "damaged %2 (%3), and the file could not be put back as "
                                        "it was: %4. The file as it was is kept as %5.")
                             .arg(journal, file, fault, systemError(errno), kept));
    outcome.setAsideAs = freeNameBeside(journal, QStringLiteral("-set-aside"));
    if (!moveTo(keptJournal, outcome.setAsideAs))
        outcome.setAsideAs = keptJournal;
    outcome.faultNow = faultOf(file, kind, check);
    return outcome;
}

} // namespace quillon
