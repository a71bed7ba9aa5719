#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// The order of a grid's rows by the texts of one column: letters without regard to case, and a
// run of digits by the number it writes, so that "LR2" comes before "LR10" (natural order). Rows
// whose texts are equal keep the order they had. Made for hundreds of thousands of rows: each
// text becomes a key once, and the keys are sorted eight bytes at a time.
class FlexGridSort final {
public:
    // Adds a row's text (UTF-8) as its next key.
    void addText(QByteArrayView utf8);
    [[nodiscard]] int rows() const { return static_cast<int>(ends_.size()); }

    // The rows' indexes in sorted order, ascending or descending (rows with equal texts in
    // their first order either way).
    [[nodiscard]] std::vector<int> order(bool ascending) const;

    // The key of a text: bytes compared as they stand give the natural order.
    static void appendKey(QByteArrayView utf8, std::string& key);

private:
    struct Entry {
        std::uint64_t chunk;
        std::uint32_t row;
    };
    [[nodiscard]] std::uint64_t chunkAt(std::uint32_t row, std::size_t offset) const;
    [[nodiscard]] std::size_t keyLength(std::uint32_t row) const;
    [[nodiscard]] bool sameKey(std::uint32_t a, std::uint32_t b) const;
    void sortFrom(std::vector<Entry>& entries, std::size_t first, std::size_t last,
                  std::size_t offset) const;

    std::string keys_;
    std::vector<std::size_t> ends_;
};

} // namespace quillon
