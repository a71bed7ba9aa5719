#include "store/select_cache.h"

#include <sqlite3.h>

namespace quillon {

std::optional<SelectCache::Entry> SelectCache::take(const QString& statement,
                                                    const LooseMatch& loose) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->statement == statement && it->loose == loose) {
            Entry entry = std::move(it->entry);
            entries_.erase(it);
            return entry;
        }
    }
    return std::nullopt;
}

void SelectCache::put(const QString& statement, const LooseMatch& loose, Entry entry) {
    if (capacity_ == 0 || !entry.compiled)
        return;
    sqlite3_reset(entry.compiled.get());
    sqlite3_clear_bindings(entry.compiled.get());
    entries_.insert(entries_.begin(), {statement, loose, std::move(entry)});
    if (entries_.size() > capacity_)
        entries_.erase(entries_.begin() + std::ptrdiff_t(capacity_), entries_.end());
}

} // namespace quillon
