#pragma once

#include <QStringList>

namespace quillon {

class Database;

// The tables of the two stores.
class Schema {
public:
    // The columns of the catalogue table Parts, in table order (ID first).
    static const QStringList& partsColumns();

    // Creates the table Parts in an empty Catalogue database.
    static void createCatalogue(Database& db);
    // Creates the five tables of an empty User database.
    static void createUser(Database& db);
};

} // namespace quillon
