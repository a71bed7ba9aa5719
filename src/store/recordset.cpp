#include "store/recordset.h"

#include "store/store_error.h"

#include <cstring>
#include <limits>
#include <utility>

namespace quillon {

namespace {

constexpr quint32 kindBits = 3;
constexpr quint32 kindMask = (1U << kindBits) - 1;
// The longest text a cell can hold: its byte count shares a word with the kind.
constexpr std::size_t longestText = std::numeric_limits<quint32>::max() >> kindBits;
// The buffers of a closed result are kept for the next one up to this size.
constexpr std::size_t keptCapacity = std::size_t(256) << 20;

// The emptied buffers of the thread's last closed result.
struct SpareBuffers {
    ByteBuffer cells;
    ByteBuffer data;
};
thread_local SpareBuffers spare;

} // namespace

Recordset::Recordset(QStringList columns)
    : columns_(std::move(columns)), cells_(std::move(spare.cells)), data_(std::move(spare.data)),
      open_(true) {
    cells_.clear();
    data_.clear();
    // Of two columns of the same name, the first is the one found by it.
    for (qsizetype c = columns_.size() - 1; c >= 0; --c)
        columnByFoldedName_.insert(columns_[c].toCaseFolded(), int(c));
}

Recordset::~Recordset() {
    releaseBuffers();
}

Recordset::Recordset(Recordset&& other) noexcept
    : columns_(std::move(other.columns_)),
      columnByFoldedName_(std::move(other.columnByFoldedName_)), cells_(std::move(other.cells_)),
      data_(std::move(other.data_)), rowCount_(std::exchange(other.rowCount_, 0)),
      columnInRow_(std::exchange(other.columnInRow_, 0)),
      position_(std::exchange(other.position_, 0)), open_(std::exchange(other.open_, false)) {}

Recordset& Recordset::operator=(Recordset&& other) noexcept {
    if (this != &other) {
        releaseBuffers();
        columns_ = std::move(other.columns_);
        columnByFoldedName_ = std::move(other.columnByFoldedName_);
        cells_ = std::move(other.cells_);
        data_ = std::move(other.data_);
        rowCount_ = std::exchange(other.rowCount_, 0);
        columnInRow_ = std::exchange(other.columnInRow_, 0);
        position_ = std::exchange(other.position_, 0);
        open_ = std::exchange(other.open_, false);
    }
    return *this;
}

void Recordset::releaseBuffers() {
    // The larger buffers are the ones worth keeping.
    if (cells_.capacity() > spare.cells.capacity() && cells_.capacity() <= keptCapacity)
        spare.cells = std::move(cells_);
    if (data_.capacity() > spare.data.capacity() && data_.capacity() <= keptCapacity)
        spare.data = std::move(data_);
    cells_ = ByteBuffer();
    data_ = ByteBuffer();
}

void Recordset::add(Value::Kind kind, const void* bytes, std::size_t size) {
    if (columns_.isEmpty())
        throw StoreError(QStringLiteral("A result without columns can't hold values."));
    if (size > longestText || data_.size() > std::numeric_limits<quint32>::max() - size)
        throw StoreError(QStringLiteral("The result is too large to hold."));
    Cell cell;
    cell.offset = quint32(data_.size());
    cell.sizeAndKind = (quint32(size) << kindBits) | quint32(kind);
    data_.append(bytes, size);
    cells_.append(&cell, sizeof cell);
    if (++columnInRow_ == columnCount()) {
        columnInRow_ = 0;
        ++rowCount_;
    }
}

void Recordset::addNull() {
    add(Value::Kind::Null, nullptr, 0);
}

void Recordset::addText(const char* utf8, qsizetype size) {
    if (size < 0)
        throw StoreError(QStringLiteral("A text of the result has no length."));
    add(Value::Kind::Text, utf8, std::size_t(size));
}

void Recordset::addInteger(qint64 number) {
    if (number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max()) {
        add(Value::Kind::Integer, &number, sizeof number);
        return;
    }
    // A number that fits 32 bits (an ID, a quantity) lives in the cell itself: no data bytes.
    if (columns_.isEmpty())
        throw StoreError(QStringLiteral("A result without columns can't hold values."));
    Cell cell;
    cell.offset = quint32(qint32(number));
    cell.sizeAndKind = quint32(Value::Kind::Integer);
    cells_.append(&cell, sizeof cell);
    if (++columnInRow_ == columnCount()) {
        columnInRow_ = 0;
        ++rowCount_;
    }
}

void Recordset::addAmount(Money amount) {
    const qint64 units = amount.units();
    add(Value::Kind::Amount, &units, sizeof units);
}

void Recordset::addBoolean(bool flag) {
    const qint64 number = flag ? 1 : 0;
    add(Value::Kind::Boolean, &number, sizeof number);
}

bool Recordset::bof() const {
    return rowCount_ == 0 || position_ < 0;
}

bool Recordset::eof() const {
    return rowCount_ == 0 || position_ >= rowCount_;
}

void Recordset::moveFirst() {
    position_ = 0;
}

void Recordset::moveNext() {
    if (position_ < rowCount_)
        ++position_;
}

void Recordset::moveLast() {
    position_ = rowCount_ == 0 ? 0 : rowCount_ - 1;
}

int Recordset::columnIndex(QStringView name) const {
    return columnByFoldedName_.value(name.toString().toCaseFolded(), -1);
}

Value Recordset::field(QStringView name) const {
    const int column = columnIndex(name);
    if (column < 0)
        throw StoreError(QStringLiteral("The result has no field %1.").arg(name));
    return field(column);
}

Recordset::Cell Recordset::cellAt(int column) const {
    if (column < 0 || column >= columnCount())
        throw StoreError(QStringLiteral("The result has no field number %1.").arg(column));
    if (bof() || eof())
        throw StoreError(QStringLiteral("No current record."));
    const std::size_t index =
        std::size_t(position_) * std::size_t(columnCount()) + std::size_t(column);
    Cell cell;
    std::memcpy(&cell, cells_.data() + index * sizeof cell, sizeof cell);
    return cell;
}

qint64 Recordset::numberAt(Cell cell) const {
    if ((cell.sizeAndKind >> kindBits) == 0) // a 32-bit integer in the cell
        return qint32(cell.offset);
    qint64 number = 0;
    std::memcpy(&number, data_.data() + cell.offset, sizeof number);
    return number;
}

Value Recordset::field(int column) const {
    const Cell cell = cellAt(column);
    switch (Value::Kind(cell.sizeAndKind & kindMask)) {
    case Value::Kind::Null:
        break;
    case Value::Kind::Text:
        return Value::text(
            QString::fromUtf8(data_.data() + cell.offset, qsizetype(cell.sizeAndKind >> kindBits)));
    case Value::Kind::Integer:
        return Value::integer(numberAt(cell));
    case Value::Kind::Amount:
        return Value::amount(Money::fromUnits(numberAt(cell)));
    case Value::Kind::Boolean:
        return Value::boolean(numberAt(cell) != 0);
    }
    return Value();
}

bool Recordset::isAbsent(int column) const {
    const Cell cell = cellAt(column);
    const auto kind = Value::Kind(cell.sizeAndKind & kindMask);
    return kind == Value::Kind::Null ||
           (kind == Value::Kind::Text && (cell.sizeAndKind >> kindBits) == 0);
}

void Recordset::appendText(int column, std::string& out) const {
    const Cell cell = cellAt(column);
    switch (Value::Kind(cell.sizeAndKind & kindMask)) {
    case Value::Kind::Null:
        return;
    case Value::Kind::Text:
        out.append(data_.data() + cell.offset, std::size_t(cell.sizeAndKind >> kindBits));
        return;
    default:
        out.append(field(column).toText().toStdString());
        return;
    }
}

void Recordset::close() {
    releaseBuffers();
    columns_.clear();
    columnByFoldedName_.clear();
    rowCount_ = 0;
    columnInRow_ = 0;
    position_ = 0;
    open_ = false;
}

} // namespace quillon
