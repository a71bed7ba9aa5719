#pragma once

#include <memory>

namespace quillon {

class Database;

// A store whose file has been replaced under the same name: a catalogue update builds a new file
// and renames it over the old one, while an open connection keeps reading the old file (the
// engine holds it open by its inode, not by its name). Called before a statement whose answer
// should come from the newest file.
class StoreReload final {
public:
    // Whether the file now at the store's path is another file than the one the connection
    // reads (replaced, or removed). False for a closed store.
    [[nodiscard]] static bool fileReplaced(const Database& db);

    // When the file at the store's path has been replaced, opens it with the same access and puts
    // the new connection in the old one's place; true then. When the new file can't be opened
    // (removed, damaged, half-written by a careless copy), keeps the old connection, which goes
    // on working, and returns false. Never throws for the new file.
    static bool reopenIfReplaced(std::unique_ptr<Database>& db);
};

} // namespace quillon
