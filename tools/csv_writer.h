#pragma once

#include <QIODevice>
#include <QStringList>

namespace quillon {

// Writes comma-separated records (RFC 4180) in UTF-8 with CR LF line ends. A field that holds a
// comma, a double quote, a line break or blanks at either end is quoted, its quotes doubled.
class CsvWriter final {
public:
    explicit CsvWriter(QIODevice& device) : device_(device) {}

    // Throws std::runtime_error when the device refuses the bytes.
    void writeRecord(const QStringList& fields);

    [[nodiscard]] static QString quoted(const QString& field);

private:
    QIODevice& device_;
};

} // namespace quillon
