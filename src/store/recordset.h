#pragma once

#include "store/value.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillon {

// A materialised query result with a current row. An empty result has bof() and eof() both
// true. Moving never throws: moveNext() past the last row sets eof(), and the moves of an empty
// result leave it at bof() and eof(). Reading a field while there is no current row, or by a name
// the result doesn't have, throws StoreError.
class Recordset {
public:
    Recordset() = default; // closed and empty
    Recordset(QStringList columns, std::vector<Value> values);

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

    const Value& field(QStringView name) const;
    const Value& field(int column) const;

    // Releases the rows; the result reads as closed and empty afterwards.
    void close();

private:
    QStringList columns_;
    QHash<QString, int> columnByFoldedName_;
    std::vector<Value> values_; // row-major, columnCount() values a row
    int rowCount_ = 0;
    int position_ = 0;
    bool open_ = false;
};

} // namespace quillon
