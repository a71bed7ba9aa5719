#pragma once

#include <QByteArray>
#include <QIODevice>
#include <vector>

namespace quillon {

// Reads comma-separated records (RFC 4180) from a device: fields may be quoted with double
// quotes, and a quoted field may hold commas, doubled quotes and line breaks. Records end with
// CR LF, LF or a lone CR; blank lines are skipped. Fields come back as the raw bytes of the file.
// A UTF-8 byte-order mark at the start of the file is skipped; one anywhere else is an error.
// A malformed record throws ImportError with the line where it begins; input that can't be read
// on throws it with line 0 and the device's reason.
class CsvReader final {
public:
    explicit CsvReader(QIODevice& device);

    // Reads the next record; false when the input has no more.
    [[nodiscard]] bool readRecord(std::vector<QByteArray>& fields);
    // The line on which the last record read begins (1-based).
    [[nodiscard]] qint64 recordLine() const { return recordLine_; }
    // How many bytes of the device have been consumed so far.
    [[nodiscard]] qint64 bytesConsumed() const { return consumedBefore_ + pos_; }

private:
    [[nodiscard]] int next();
    [[nodiscard]] int peek();
    bool refill();
    void readQuoted(QByteArray& field);
    // Reads an unquoted field up to its end; returns the byte that ended it (-1 at the end).
    int readUnquoted(QByteArray& field);
    // Consumes a line end whose first byte (CR or LF) has just been read.
    void finishLine(int first);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qint64 consumedBefore_ = 0;
    qint64 line_ = 1;
    qint64 recordLine_ = 0;
    bool atEnd_ = false;
};

} // namespace quillon
