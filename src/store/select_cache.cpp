#include "store/select_cache.h"

#include <sqlite3.h>

namespace quillon {

std::optional<SelectCache::Entry>
SelectCache::take(const QString& statement, const LooseMatch& loose, const QStringList& kept) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->statement == statement && it->loose == loose && it->kept == kept) {
            Entry entry = std::move(it->entry);
            entries_.erase(it);
            return entry;
        }
    }
    return std::nullopt;
}

void SelectCache::put(const QString& statement, const LooseMatch& loose, const QStringList& kept,
                      Entry entry) {
    if (capacity_ == 0 || !entry.compiled)
        return;
    sqlite3_reset(entry.compiled.get());
    sqlite3_clear_bindings(entry.compiled.get());
    entries_.insert(entries_.begin(), {statement, loose, kept, std::move(entry)});
    if (entries_.size() > capacity_)
        entries_.erase(entries_.begin() + std::ptrdiff_t(capacity_), entries_.end());
}

} // namespace quillon
