#include "store/recordset.h"

#include "store/store_error.h"

namespace quillon {

Recordset::Recordset(QStringList columns, std::vector<Value> values)
    : columns_(std::move(columns)), values_(std::move(values)), open_(true) {
    const qsizetype n = columns_.size();
    // Of two columns of the same name, the first is the one found by it.
    for (qsizetype c = n - 1; c >= 0; --c)
        columnByFoldedName_.insert(columns_[c].toCaseFolded(), int(c));
    if (n == 0 && !values_.empty())
        throw StoreError(QStringLiteral("A result without columns can't hold values."));
    if (n > 0 && values_.size() % std::size_t(n) != 0)
        throw StoreError(QStringLiteral("A result's values don't fill its rows."));
    rowCount_ = n == 0 ? 0 : int(values_.size() / std::size_t(n));
    position_ = 0;
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

const Value& Recordset::field(QStringView name) const {
    const int column = columnIndex(name);
    if (column < 0)
        throw StoreError(QStringLiteral("The result has no field %1.").arg(name));
    return field(column);
}

const Value& Recordset::field(int column) const {
    if (column < 0 || column >= columnCount())
        throw StoreError(QStringLiteral("The result has no field number %1.").arg(column));
    if (bof() || eof())
        throw StoreError(QStringLiteral("No current record."));
    return values_[std::size_t(position_) * std::size_t(columnCount()) + std::size_t(column)];
}

void Recordset::close() {
    columns_.clear();
    columnByFoldedName_.clear();
    values_.clear();
    values_.shrink_to_fit();
    rowCount_ = 0;
    position_ = 0;
    open_ = false;
}

} // namespace quillon
