#pragma once

#include <QString>
#include <functional>

namespace quillon {

class PriceSource;
class ReplacementFile;

// Builds a Catalogue database from a CSV price file (UTF-8, RFC 4180) whose header line names
// columns of the table Parts, in any order and any letter case. ID may be left out: the parts then
// get 1, 2, 3, ... in the order of the file. An empty field is Null; amounts are plain decimals
// (12.5) or their display form (£1,234.50). The new file is built beside DB and moved over it only
// when every row is in, so a fault leaves DB as it was and nothing half-built behind. Only a
// catalogue is replaced: a target that is the price file itself, a link, or a file that is not
// a store with the table Parts (a User database, say) is refused, and so is a file with no parts.
class CatalogueImporter final {
public:
    // bytesDone, bytesTotal, parts so far.
    using Progress = std::function<void(qint64, qint64, qint64)>;

    // Returns the number of parts written. A fault of the file throws ImportError with its line;
    // a fault of the store throws StoreError; a file that can't be read or replaced throws
    // std::runtime_error, and so does a target that is refused.
    // csvPath "-" reads standard input. A price file that changes while it is read is refused.
    static qint64 import(const QString& csvPath, const QString& dbPath,
                         const Progress& progress = {});

private:
    // Writes the catalogue the source holds into the target's new file, its parts and indexes;
    // returns the parts.
    static qint64 build(PriceSource& source, const ReplacementFile& target,
                        const Progress& progress);
    // Moves the new file over the target, once the source is known not to have changed.
    static void replace(const PriceSource& source, ReplacementFile& target);
};

} // namespace quillon
