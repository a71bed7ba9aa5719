#include "user_data_restore.h"

#include "program_lock.h"
#include "replacement_file.h"
#include "store/database.h"
#include "store/shown_path.h"
#include "store/store_error.h"
#include "store_probe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const QString keptSuffix = QStringLiteral(".before-restore");
// The files the engine keeps beside a store while a change is under way.
const QStringList engineSuffixes{QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

[[noreturn]] void refuse(const QString& why) {
    throw std::runtime_error(QString(why + QStringLiteral(" Nothing changed.")).toStdString());
}

[[noreturn]] void refuseBackup(const QString& backupPath, const QString& fault) {
    refuse(QStringLiteral("The backup %1 is not a sound User database: %2.")
               .arg(shownPath(backupPath), fault));
}

bool present(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// What keeps a file from being a User database, read without changing it; empty when nothing.
QString userDatabaseFault(const QString& path) {
    const StoreProbe probe(path);
    switch (probe.kind()) {
    case StoreProbe::Kind::Missing:
        return QStringLiteral("there is no such file");
    case StoreProbe::Kind::Link:
    case StoreProbe::Kind::NotAFile:
        return QStringLiteral("it is not a file");
    case StoreProbe::Kind::NotAStore:
        return QStringLiteral("it is not a store");
    case StoreProbe::Kind::Unreadable:
        return probe.problem();
    case StoreProbe::Kind::Catalogue:
        return QStringLiteral("it is a Catalogue database");
    case StoreProbe::Kind::UserData:
    case StoreProbe::Kind::OtherStore:
        break;
    }
    for (const QString& table : StoreProbe::userTables()) {
        if (!probe.tables().contains(table, Qt::CaseInsensitive))
            return QStringLiteral("the table %1 is missing").arg(table);
    }
    return {};
}

// The engine's integrity check of an open store; empty when it is sound.
QString integrityFault(Database& db) {
    try {
        const QStringList problems = db.integrityCheck();
        return problems.isEmpty() ? QString() : problems.first();
    } catch (const StoreError& error) {
        return error.message();
    }
}

void copyStore(Database& from, Database& to) {
    sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (backup == nullptr)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(to.handle())));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        throw StoreError(QStringLiteral("Can't copy %1: %2")
                             .arg(from.path(), QString::fromUtf8(sqlite3_errmsg(to.handle()))));
    // The copy keeps the journal of a store the program writes, whatever the backup's was.
    if (sqlite3_exec(to.handle(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(to.handle())),
                         QStringLiteral("PRAGMA journal_mode=DELETE"));
}

// Copies a file byte for byte to a new one that is complete on disk before it gets its name.
void copyFile(const QString& from, const QString& to) {
    ReplacementFile copy(to, from);
    QFile source(from);
    QFile target(copy.buildPath());
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("can't read %1: %2")
                                     .arg(shownPath(from), source.errorString())
                                     .toStdString());
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw std::runtime_error(QStringLiteral("can't write %1: %2")
                                     .arg(shownPath(target.fileName()), target.errorString())
                                     .toStdString());
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            throw std::runtime_error(QStringLiteral("can't copy %1 to %2: %3")
                                         .arg(shownPath(from), shownPath(to),
                                              target.errorString() + source.errorString())
                                         .toStdString());
    }
    if (!target.flush() || ::fsync(target.handle()) != 0)
        throw std::runtime_error(QStringLiteral("can't write %1: %2")
                                     .arg(shownPath(to), target.errorString())
                                     .toStdString());
    target.close();
    copy.commit();
}

} // namespace

UserDataRestore::Result UserDataRestore::restore(const QString& backupPath,
                                                 const QString& userDbPath) {
    ReplacementFile restored(userDbPath);
    const QString target = restored.targetPath();
    const QString kept = target + keptSuffix;
    const QString folder = QFileInfo(target).absolutePath();

    // The target: a User database, or what is left of one; never anything else.
    if (StoreProbe::sameFile(backupPath, target))
        refuse(QStringLiteral("The backup %1 is %2 itself.")
                   .arg(shownPath(backupPath), shownPath(target)));
    switch (StoreProbe(target).kind()) {
    case StoreProbe::Kind::NotAFile:
        refuse(QStringLiteral("%1 is not a file.").arg(shownPath(target)));
    case StoreProbe::Kind::Catalogue:
    case StoreProbe::Kind::OtherStore:
        refuse(QStringLiteral("%1 is a store but not a User database: only user.mdb is restored.")
                   .arg(shownPath(target)));
    default:
        break;
    }

    // The backup: a sound User database, checked before anything is written.
    const QString backupFile = QFileInfo(backupPath).canonicalFilePath(); // through any link
    if (const QString fault = userDatabaseFault(backupFile.isEmpty() ? backupPath : backupFile);
        !fault.isEmpty())
        refuseBackup(backupPath, fault);
    std::unique_ptr<Database> source;
    try {
        source = Database::open(backupPath, Database::Access::ReadOnly);
    } catch (const StoreError& error) {
        refuseBackup(backupPath, error.message());
    }
    if (const QString fault = integrityFault(*source); !fault.isEmpty())
        refuseBackup(backupPath, fault);

    // The old file's place, and the folder to itself until the restore is done.
    if (present(kept))
        refuse(QStringLiteral("%1 is there from an earlier restore: move it somewhere safe first, "
                              "so that it is not lost.")
                   .arg(shownPath(kept)));

    ProgramLock lock(folder);
    switch (lock.take()) {
    case ProgramLock::Outcome::Taken:
        break;
    case ProgramLock::Outcome::ProgramRunning:
        refuse(QStringLiteral("Dorvane Quillon is running on the folder %1: close it there, then "
                              "restore.")
                   .arg(shownPath(folder)));
    case ProgramLock::Outcome::CantWrite:
        refuse(QStringLiteral("The folder %1 can't be written (the lock file %2 can't be made).")
                   .arg(shownPath(folder), shownPath(lock.path())));
    }

    // The restored file, whole and checked under its temporary name.
    {
        const std::unique_ptr<Database> copy = Database::create(restored.buildPath());
        copyStore(*source, *copy);
        if (const QString fault = integrityFault(*copy); !fault.isEmpty())
            throw std::runtime_error(
                QStringLiteral("the copy of the backup is not sound: %1").arg(fault).toStdString());
        copy->close();
    }
    source->close();
    if (const QString fault = userDatabaseFault(restored.buildPath()); !fault.isEmpty())
        throw std::runtime_error(
            QStringLiteral("the copy of the backup is not sound: %1").arg(fault).toStdString());

    // The old file and its journal move aside before the restored file takes the name.
    Result result;
    for (const QString& suffix : engineSuffixes)
        QFile::remove(kept + suffix);
    if (present(target)) {
        copyFile(target, kept);
        result.keptAs = kept;
    }
    for (const QString& suffix : engineSuffixes) {
        if (!present(target + suffix))
            continue;
        if (std::rename(QFile::encodeName(target + suffix).constData(),
                        QFile::encodeName(kept + suffix).constData()) != 0)
            throw std::runtime_error(QStringLiteral("can't move %1 aside to %2")
                                         .arg(shownPath(target + suffix), shownPath(kept + suffix))
                                         .toStdString());
        result.movedOn << kept + suffix;
    }
    restored.commit();
    return result;
}

} // namespace quillon
