#pragma once

#include "store/byte_buffer.h"
#include "store/money.h"
#include "store/value.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <string>

namespace quillon {

// A materialised query result with a current row. An empty result has bof() and eof() both
// true. Moving never throws: moveNext() past the last row sets eof(), and the moves of an empty
// result leave it at bof() and eof(). Reading a field while there is no current row, or by a name
// the result doesn't have, throws StoreError.
//
// The rows are kept compact: eight bytes a value, and the texts (as UTF-8) and numbers one after
// the other in a second buffer. A field becomes a Value only when it is read, so a large result
// costs little more than its bytes, however few of its columns are read. The buffers of a closed
// result are kept for the next one of the thread, so that a search after a search writes into
// memory the process already has. Move-only.
class Recordset {
public:
    Recordset() = default; // closed and empty
    // An open result with these columns and no rows yet; the rows are added cell by cell.
    explicit Recordset(QStringList columns);
    ~Recordset();
    Recordset(Recordset&& other) noexcept;
    Recordset& operator=(Recordset&& other) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Adding a row's cells, left to right; a row is complete with its last column's cell.
    void addNull();
    void addText(const char* utf8, qsizetype size);
    void addInteger(qint64 number);
    void addAmount(Money amount);
    void addBoolean(bool flag);

    bool isOpen() const { return open_; }
    bool bof() const;
    bool eof() const;
    bool isEmpty() const { return rowCount_ == 0; }

    void moveFirst();
    void moveNext();
    void moveLast();
    // The exact number of rows (always, not only after moveLast()).
    int recordCount() const { return rowCount_; }
    // Index of the current row, 0-based; -1 before the first, recordCount() after the last.
    int position() const { return position_; }

    int columnCount() const { return static_cast<int>(columns_.size()); }
    const QStringList& columnNames() const { return columns_; }
    // Column index by name in any letter case; -1 when the result has no such column.
    int columnIndex(QStringView name) const;

    Value field(QStringView name) const;
    Value field(int column) const;
    // Whether the field is Null or an empty text, without making its Value.
    bool isAbsent(int column) const;
    // Appends the field's text as UTF-8 to out (nothing for Null), a text without making its
    // Value.
    void appendText(int column, std::string& out) const;

    // Releases the rows; the result reads as closed and empty afterwards.
    void close();

private:
    // A value: where its bytes start in data_, and their count and the kind in one word (the
    // kind in the low three bits). Numbers, amounts and Booleans are eight bytes (a qint64);
    // Null has none; an integer that fits 32 bits has none either and is held in offset.
    struct Cell {
        quint32 offset = 0;
        quint32 sizeAndKind = 0;
    };
    void add(Value::Kind kind, const void* bytes, std::size_t size);
    Cell cellAt(int column) const;
    qint64 numberAt(Cell cell) const;
    void releaseBuffers();

    QStringList columns_;
    QHash<QString, int> columnByFoldedName_;
    ByteBuffer cells_; // row-major, columnCount() cells a row
    ByteBuffer data_;  // the texts (UTF-8) and numbers of the cells
    int rowCount_ = 0;
    int columnInRow_ = 0; // the column the next added cell goes into
    int position_ = 0;
    bool open_ = false;
};

} // namespace quillon
