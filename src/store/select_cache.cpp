#include "store/select_cache.h"

#include <sqlite3.h>

namespace quillon {

std::optional<SelectCache::Entry> SelectCache::take(const QString& statement) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->first == statement) {
            Entry entry = std::move(it->second);
            entries_.erase(it);
            return entry;
        }
    }
    return std::nullopt;
}

void SelectCache::put(const QString& statement, Entry entry) {
    if (capacity_ == 0 || !entry.compiled)
        return;
    sqlite3_reset(entry.compiled.get());
    sqlite3_clear_bindings(entry.compiled.get());
    entries_.insert(entries_.begin(), {statement, std::move(entry)});
    if (entries_.size() > capacity_)
        entries_.resize(capacity_);
}

} // namespace quillon
