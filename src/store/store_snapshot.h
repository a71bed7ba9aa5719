#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

class Database;

// A copy of a whole store as it stands between two changes, for the backup of the User
// database.
class StoreSnapshot final {
public:
    // The bytes of a store file holding what the open store holds, read through the engine's
    // online backup under one read lock held for the whole copy: a change another program is
    // making at that moment is wholly in (when it ends within the store's wait for a lock) or
    // wholly out. Of a store no one is changing, the bytes are those of its file. The copy is
    // checked with the engine's integrity check before it is returned.
    // Throws StoreError saying why when the store can't be read (another program keeps it
    // locked: the message holds "database is locked") or the copy is not sound.
    static QByteArray take(Database& store);

    // What is wrong with a store file as it stands, read without taking a lock or looking at a
    // journal beside it: the engine's integrity check (its first finding), or why the file
    // can't be read as a store. Empty when sound.
    [[nodiscard]] static QString faultOf(const QString& path);
};

} // namespace quillon
