#pragma once

#include <QStringList>

namespace quillon {

class Database;

// The tables of the two stores.
class Schema {
public:
    // The columns of the catalogue table Parts, in table order (ID first).
    static const QStringList& partsColumns();
    // The nine part-number columns of Parts, in the order the searches test them: DorvaneNum,
    // RoverNum, RoverSuper1 ... RoverSuper6, AltDorvaneNum.
    static const QStringList& partNumberColumns();

    // What a store lacks of the tables and columns the program uses, for a person: "the table
    // orders is missing." or "the table orders has no column OrderDate."; empty when it has them
    // all. Names match in any letter case.
    static QString whatCatalogueLacks(Database& db);
    static QString whatUserDatabaseLacks(Database& db);

    // Creates the table Parts in an empty Catalogue database.
    static void createCatalogue(Database& db);
    // Creates the five tables of an empty User database.
    static void createUser(Database& db);
};

} // namespace quillon
