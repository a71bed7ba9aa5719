#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// Puts a backup of the User database in the place of user.mdb, safely:
//  - the backup must be a sound User database (the engine's integrity check, the user tables);
//  - the program must not be running on the folder, and can't start there meanwhile (its lock
//    is held for the time of the restore);
//  - the restored file is a new store written from the backup by the engine's backup interface,
//    checked, and moved over user.mdb in one step;
//  - the old user.mdb is kept beside it as user.mdb.before-restore, and a journal that an
//    interrupted change left beside the old file moves with it, so that the engine can never
//    apply that journal to the restored file.
// A refusal or a failure throws std::runtime_error (or StoreError) and leaves user.mdb as it was.
class UserDataRestore final {
public:
    struct Result {
        QString keptAs;      // where the old file is kept; empty when there was none
        QStringList movedOn; // the journal files that moved with it
    };

    static Result restore(const QString& backupPath, const QString& userDbPath);
};

} // namespace quillon
