#pragma once

#include "store/loose_match.h"
#include "store/prepared_statement.h"
#include "store/translated_statement.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <vector>

namespace quillon {

// The SELECTs a connection ran last, each with its translation and its compiled statement, so
// that running one again (the same search, the part shown, the prices looked up) compiles
// nothing. The most recently used come first; the oldest beyond the capacity are finalized.
class SelectCache final {
public:
    struct Entry {
        TranslatedStatement translated;
        PreparedStatement::Compiled compiled; // reset, with its values unbound
    };

    explicit SelectCache(std::size_t capacity) : capacity_(capacity) {}

    // Takes the entry of the statement (the text as the caller gave it, with its loose match)
    // out of the cache.
    [[nodiscard]] std::optional<Entry> take(const QString& statement, const LooseMatch& loose,
                                            const QStringList& kept);
    // Keeps the entry of the statement as the most recently used one.
    void put(const QString& statement, const LooseMatch& loose, const QStringList& kept,
             Entry entry);
    // Finalizes every kept statement: before the connection closes or its tables change.
    void clear() { entries_.clear(); }

private:
    std::size_t capacity_;
    struct Kept {
        QString statement;
        LooseMatch loose;
        QStringList kept;
        Entry entry;
    };
    std::vector<Kept> entries_;
};

} // namespace quillon
