#pragma once

#include <QString>

namespace quillon::bench {

// The yardstick of a lean catalogue: the same price file made into a catalogue by the sqlite3
// shell alone. The rows go in by .import (through a temporary table, converting the amounts to
// the stored ten-thousandths and empty fields to Null) into the same Parts table (its letter
// case collation the engine's own NOCASE, which the shell knows), with an FTS5 trigram index
// without positions (detail=none) over the nine number columns and the description, and the two
// number indexes.
class CatalogueAnchor final {
public:
    // Builds the anchor at anchorPath (replaced) from the price file, with the Parts table of the
    // catalogue file; milliseconds. Throws std::runtime_error when the shell fails.
    static double build(const QString& csvPath, const QString& cataloguePath,
                        const QString& anchorPath);

    // Imports the price file with quillon-db into catalogueOut (replaced); milliseconds.
    static double import(const QString& tool, const QString& csvPath, const QString& catalogueOut);
};

} // namespace quillon::bench
