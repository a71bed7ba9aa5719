#include "store/store_reload.h"

#include "store/database.h"
#include "store/store_error.h"

#include <QDebug>
#include <sqlite3.h>

namespace quillon {

bool StoreReload::fileReplaced(const Database& db) {
    if (db.handle() == nullptr)
        return false;
    // The engine compares the file at the connection's path with the one it holds open.
    int moved = 0;
    if (sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK)
        return false;
    return moved != 0;
}

bool StoreReload::reopenIfReplaced(std::unique_ptr<Database>& db) {
    if (!db || !fileReplaced(*db))
        return false;
    try {
        auto fresh = Database::open(db->path(), db->access());
        db = std::move(fresh);
        return true;
    } catch (const StoreError& error) {
        qWarning().noquote() << "The store" << db->path()
                             << "was replaced, but the new file can't be opened; the old one "
                                "stays in use:"
                             << error.message();
        return false;
    }
}

} // namespace quillon
