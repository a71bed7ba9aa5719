#include "platform/flex_grid_sort.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quillon {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void FlexGridSort::appendKey(QByteArrayView utf8, std::string& key) {
    const char* text = utf8.data();
    const auto size = static_cast<std::size_t>(utf8.size());
    for (std::size_t i = 0; i < size;) {
        char c = text[i];
        if (isDigit(c)) {
            // A number: its length first (a longer number is a larger one), then its digits,
            // leading zeros left out. Lengths 1 to 8 are one byte '1' ... '8'; a longer one is
            // '9' and then its length as a byte.
            std::size_t start = i;
            while (start + 1 < size && text[start] == '0' && isDigit(text[start + 1]))
                ++start;
            std::size_t end = start;
            while (end < size && isDigit(text[end]))
                ++end;
            const std::size_t digits = end - start;
            if (digits < 9) {
                key += static_cast<char>('0' + digits);
            } else {
                key += '9';
                key += static_cast<char>(std::min<std::size_t>(digits, 255));
            }
            key.append(text + start, digits);
            i = end;
            continue;
        }
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        // A key never holds a zero byte: zero pads a key's last chunk.
        key += c == '\0' ? '\x01' : c;
        ++i;
    }
}

void FlexGridSort::addText(QByteArrayView utf8) {
    appendKey(utf8, keys_);
    ends_.push_back(keys_.size());
}

std::size_t FlexGridSort::keyLength(std::uint32_t row) const {
    return ends_[row] - (row == 0 ? 0 : ends_[row - 1]);
}

std::uint64_t FlexGridSort::chunkAt(std::uint32_t row, std::size_t offset) const {
    const std::size_t start = row == 0 ? 0 : ends_[row - 1];
    const std::size_t length = ends_[row] - start;
    // Eight bytes of the key from offset, the first the most significant, zero past its end.
    unsigned char bytes[8] = {};
    if (offset < length)
        std::memcpy(bytes, keys_.data() + start + offset,
                    std::min<std::size_t>(8, length - offset));
    std::uint64_t chunk = 0;
    for (const unsigned char byte : bytes)
        chunk = (chunk << 8) | byte;
    return chunk;
}

bool FlexGridSort::sameKey(std::uint32_t a, std::uint32_t b) const {
    const std::size_t startA = a == 0 ? 0 : ends_[a - 1];
    const std::size_t startB = b == 0 ? 0 : ends_[b - 1];
    return std::string_view(keys_).substr(startA, ends_[a] - startA) ==
           std::string_view(keys_).substr(startB, ends_[b] - startB);
}

// Sorts entries [first, last) by their keys from byte `offset` on, eight bytes a pass: the rows
// that share a chunk are sorted again by the next one, and rows with equal keys stay by row.
void FlexGridSort::sortFrom(std::vector<Entry>& entries, std::size_t first, std::size_t last,
                            std::size_t offset) const {
    for (std::size_t i = first; i < last; ++i)
        entries[i].chunk = chunkAt(entries[i].row, offset);
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(first),
              entries.begin() + static_cast<std::ptrdiff_t>(last),
              [](const Entry& a, const Entry& b) {
                  return a.chunk != b.chunk ? a.chunk < b.chunk : a.row < b.row;
              });
    for (std::size_t group = first; group < last;) {
        std::size_t end = group + 1;
        bool longer = keyLength(entries[group].row) > offset + 8;
        while (end < last && entries[end].chunk == entries[group].chunk) {
            longer = longer || keyLength(entries[end].row) > offset + 8;
            ++end;
        }
        if (end - group > 1 && longer)
            sortFrom(entries, group, end, offset + 8);
        group = end;
    }
}

std::vector<int> FlexGridSort::order(bool ascending) const {
    std::vector<Entry> entries(ends_.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].row = static_cast<std::uint32_t>(i);
    sortFrom(entries, 0, entries.size(), 0);
    std::vector<int> rows(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        rows[i] = static_cast<int>(entries[i].row);
    if (!ascending) {
        // The other way round, rows with equal keys still in their first order.
        std::reverse(rows.begin(), rows.end());
        for (std::size_t run = 0; run < rows.size();) {
            std::size_t end = run + 1;
            while (end < rows.size() && sameKey(static_cast<std::uint32_t>(rows[run]),
                                                static_cast<std::uint32_t>(rows[end])))
                ++end;
            std::reverse(rows.begin() + static_cast<std::ptrdiff_t>(run),
                         rows.begin() + static_cast<std::ptrdiff_t>(end));
            run = end;
        }
    }
    return rows;
}

} // namespace quillon
