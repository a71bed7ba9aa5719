#include "platform/flex_grid_model.h"

#include "platform/flex_grid_sort.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace quillon {

namespace {

std::size_t toSize(int value) {
    return static_cast<std::size_t>(std::max(value, 0));
}

} // namespace

FlexGridModel::FlexGridModel(QObject* parent)
    : QAbstractTableModel(parent), header_(toSize(cols_)) {}

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : dataRows_;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const int gridRow = index.row() + 1;
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cell(gridRow, col);
    case Qt::DecorationRole: {
        if (pictures_.isEmpty()) {
            return {};
        }
        const auto found = pictures_.constFind(pictureKey(gridRow, col));
        return found == pictures_.cend() ? QVariant() : QVariant(*found);
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>(dataAlignment_.toInt());
    case Qt::BackgroundRole:
        return col < fixedCols_ && fixedBackground_.style() != Qt::NoBrush
                   ? QVariant(fixedBackground_)
                   : QVariant();
    case Qt::ForegroundRole:
        return col < fixedCols_ && fixedForeground_.style() != Qt::NoBrush
                   ? QVariant(fixedForeground_)
                   : QVariant();
    default:
        return {};
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= cols_) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return header_[toSize(section)];
    case Qt::DecorationRole: {
        const auto found = pictures_.constFind(pictureKey(0, section));
        return found == pictures_.cend() ? QVariant() : QVariant(*found);
    }
    default:
        return {};
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // A fixed cell stays enabled so that the current cell can stand in it and move on from it
    // with the arrow keys; it is never part of the highlighted selection.
    if (index.column() < fixedCols_) {
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void FlexGridModel::setGridRows(int rows) {
    const int newDataRows = std::max(rows, 1) - 1;
    if (newDataRows == dataRows_) {
        return;
    }
    if (newDataRows > dataRows_) {
        beginInsertRows(QModelIndex(), dataRows_, newDataRows - 1);
        // New rows are empty: they end where the packed rows end.
        rowEnds_.insert(rowEnds_.size(), newDataRows - dataRows_, packed_.size());
        dataRows_ = newDataRows;
        endInsertRows();
        return;
    }
    beginRemoveRows(QModelIndex(), newDataRows, dataRows_ - 1);
    rowEnds_.resize(newDataRows);
    packed_.truncate(rowEnds_.empty() ? 0 : rowEnds_.back());
    if (rowEnds_.empty()) {
        // An emptied grid gives its memory back.
        packed_ = QByteArray();
        rowEnds_.squeeze();
    }
    dataRows_ = newDataRows;
    dropPicturesOutside(gridRows(), cols_);
    endRemoveRows();
}

void FlexGridModel::setGridCols(int cols) {
    const int newCols = std::max(cols, 1);
    if (newCols == cols_) {
        return;
    }
    // Re-pack the rows with the texts of the columns that stay: a column added later starts
    // empty.
    const auto relayout = [this, newCols] {
        const int keep = std::min(cols_, newCols);
        QByteArray packed;
        QList<qsizetype> rowEnds;
        rowEnds.reserve(rowEnds_.size());
        for (int r = 1; r <= dataRows_; ++r) {
            for (int c = 0; c < keep; ++c) {
                if (c > 0) {
                    packed += '\t';
                }
                packed += packedCell(r, c);
            }
            rowEnds.push_back(packed.size());
        }
        packed_ = std::move(packed);
        rowEnds_ = std::move(rowEnds);
        header_.resize(toSize(newCols));
        cols_ = newCols;
    };
    if (newCols > cols_) {
        beginInsertColumns(QModelIndex(), cols_, newCols - 1);
        relayout();
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), newCols, cols_ - 1);
        relayout();
        dropPicturesOutside(gridRows(), cols_);
        endRemoveColumns();
    }
    if (fixedCols_ > cols_) {
        setFixedCols(cols_);
    }
}

void FlexGridModel::setFixedCols(int fixedCols) {
    const int newFixed = std::clamp(fixedCols, 0, std::min(cols_, 1));
    if (newFixed == fixedCols_) {
        return;
    }
    const int changed = std::max(newFixed, fixedCols_);
    fixedCols_ = newFixed;
    if (dataRows_ > 0) {
        emit dataChanged(index(0, 0), index(dataRows_ - 1, changed - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

QString FlexGridModel::text(int gridRow, int col) const {
    return isCell(gridRow, col) ? cell(gridRow, col) : QString();
}

void FlexGridModel::setText(int gridRow, int col, const QString& text) {
    if (!isCell(gridRow, col)) {
        return;
    }
    if (gridRow == 0) {
        header_[toSize(col)] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    setCells_.insert(pictureKey(gridRow, col), text);
    notifyRowChanged(gridRow, col, col);
}

void FlexGridModel::appendPackedRow(QByteArrayView tabSeparatedUtf8) {
    packed_.append(tabSeparatedUtf8);
    rowEnds_.push_back(packed_.size());
}

void FlexGridModel::appendRows(const QStringList& tabSeparatedTexts) {
    if (tabSeparatedTexts.isEmpty()) {
        return;
    }
    const int first = dataRows_;
    const int count = static_cast<int>(tabSeparatedTexts.size());
    beginInsertRows(QModelIndex(), first, first + count - 1);
    for (const QString& text : tabSeparatedTexts) {
        appendPackedRow(text.toUtf8());
    }
    dataRows_ += count;
    endInsertRows();
}

void FlexGridModel::appendUtf8Rows(QByteArrayView text, const std::vector<qsizetype>& rowEnds) {
    if (rowEnds.empty()) {
        return;
    }
    const int first = dataRows_;
    const int count = static_cast<int>(rowEnds.size());
    beginInsertRows(QModelIndex(), first, first + count - 1);
    const qsizetype base = packed_.size();
    packed_.append(text);
    for (const qsizetype end : rowEnds) {
        rowEnds_.push_back(base + end);
    }
    dataRows_ += count;
    endInsertRows();
}

void FlexGridModel::setPicture(int gridRow, int col, const QPixmap& picture) {
    if (!isCell(gridRow, col)) {
        return;
    }
    const quint64 key = pictureKey(gridRow, col);
    if (picture.isNull()) {
        if (pictures_.remove(key) == 0) {
            return;
        }
    } else {
        pictures_.insert(key, picture);
    }
    if (gridRow == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        notifyRowChanged(gridRow, col, col);
    }
}

void FlexGridModel::setPictures(const std::vector<int>& gridRows, int col, const QPixmap& picture) {
    if (picture.isNull()) {
        return;
    }
    int lowest = -1;
    int highest = -1;
    for (const int gridRow : gridRows) {
        if (gridRow < 1 || !isCell(gridRow, col)) {
            continue;
        }
        pictures_.insert(pictureKey(gridRow, col), picture);
        lowest = lowest < 0 ? gridRow : std::min(lowest, gridRow);
        highest = std::max(highest, gridRow);
    }
    if (lowest > 0) {
        emit dataChanged(index(lowest - 1, col), index(highest - 1, col));
    }
}

bool FlexGridModel::hasPicture(int gridRow, int col) const {
    return isCell(gridRow, col) && pictures_.contains(pictureKey(gridRow, col));
}

QPixmap FlexGridModel::widestPicture(int col) const {
    QPixmap widest;
    for (auto entry = pictures_.cbegin(); entry != pictures_.cend(); ++entry) {
        const bool inColumn = static_cast<int>(entry.key() & 0xffffffffU) == col;
        if (inColumn && (entry.key() >> 32) > 0 &&
            (widest.isNull() ||
             entry->deviceIndependentSize().width() > widest.deviceIndependentSize().width()))
            widest = *entry;
    }
    return widest;
}

void FlexGridModel::setDataAlignment(Qt::Alignment alignment) {
    if (alignment == dataAlignment_) {
        return;
    }
    dataAlignment_ = alignment;
    // One notification for the whole table: the views repaint what they show.
    if (dataRows_ > 0) {
        emit dataChanged(index(0, 0), index(dataRows_ - 1, cols_ - 1), {Qt::TextAlignmentRole});
    }
}

void FlexGridModel::setFixedColumnBrushes(const QBrush& background, const QBrush& foreground) {
    fixedBackground_ = background;
    fixedForeground_ = foreground;
    if (dataRows_ > 0 && fixedCols_ > 0) {
        emit dataChanged(index(0, 0), index(dataRows_ - 1, fixedCols_ - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

QByteArrayView FlexGridModel::packedCell(int gridRow, int col) const {
    const std::size_t r = toSize(gridRow - 1);
    const qsizetype start = r == 0 ? 0 : rowEnds_[qsizetype(r) - 1];
    // Parts beyond the last column are never reached; columns without a part are empty.
    const char* part = packed_.constData() + start;
    const char* const end = packed_.constData() + rowEnds_[qsizetype(r)];
    for (int c = 0;; ++c) {
        const auto* tab =
            static_cast<const char*>(std::memchr(part, '\t', static_cast<std::size_t>(end - part)));
        const char* partEnd = tab != nullptr ? tab : end;
        if (c == col) {
            return QByteArrayView(part, partEnd - part);
        }
        if (tab == nullptr) {
            return {};
        }
        part = tab + 1;
    }
}

QString FlexGridModel::cell(int gridRow, int col) const {
    if (gridRow == 0) {
        return header_[toSize(col)];
    }
    if (!setCells_.isEmpty()) {
        const auto found = setCells_.constFind(pictureKey(gridRow, col));
        if (found != setCells_.cend()) {
            return *found;
        }
    }
    return QString::fromUtf8(packedCell(gridRow, col));
}

void FlexGridModel::dropPicturesOutside(int gridRows, int cols) {
    const auto outside = [gridRows, cols](quint64 key) {
        const int row = static_cast<int>(key >> 32);
        const int col = static_cast<int>(key & 0xffffffffU);
        return row >= gridRows || col >= cols;
    };
    pictures_.removeIf([&outside](const auto& entry) { return outside(entry.key()); });
    setCells_.removeIf([&outside](const auto& entry) { return outside(entry.key()); });
}

void FlexGridModel::notifyRowChanged(int gridRow, int firstCol, int lastCol) {
    emit dataChanged(index(gridRow - 1, firstCol), index(gridRow - 1, lastCol));
}

std::vector<int> FlexGridModel::sortRows(int col, bool ascending) {
    std::vector<int> order(static_cast<std::size_t>(dataRows_));
    if (col < 0 || col >= cols_ || dataRows_ < 2) {
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        return order;
    }
    FlexGridSort sort;
    QByteArray owned;
    for (int gridRow = 1; gridRow <= dataRows_; ++gridRow) {
        const quint64 key = pictureKey(gridRow, col);
        const auto set = setCells_.constFind(key);
        QByteArrayView text = set != setCells_.cend() ? QByteArrayView(owned = set->toUtf8())
                                                      : packedCell(gridRow, col);
        if (!pictures_.isEmpty() && pictures_.contains(key)) {
            owned = text.toByteArray() + '\x02';
            text = owned;
        }
        sort.addText(text);
    }
    order = sort.order(ascending);
    permuteRows(order);
    return order;
}

void FlexGridModel::permuteRows(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    QByteArray packed;
    packed.reserve(packed_.size());
    QList<qsizetype> ends;
    ends.reserve(rowEnds_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int old = order[i];
        const qsizetype start = old == 0 ? 0 : rowEnds_[old - 1];
        packed.append(packed_.constData() + start, rowEnds_[old] - start);
        ends.push_back(packed.size());
        newRowOf[static_cast<std::size_t>(old)] = static_cast<int>(i);
    }
    packed_ = std::move(packed);
    rowEnds_ = std::move(ends);
    // Cells set on their own and pictures go with their rows.
    const auto moved = [&newRowOf](auto& cells) {
        std::remove_reference_t<decltype(cells)> result;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            const auto gridRow = static_cast<int>(it.key() >> 32);
            const auto col = static_cast<int>(it.key() & 0xffffffffU);
            const int newRow =
                gridRow < 1 ? gridRow : newRowOf[static_cast<std::size_t>(gridRow - 1)] + 1;
            result.insert(pictureKey(newRow, col), it.value());
        }
        cells = std::move(result);
    };
    moved(setCells_);
    moved(pictures_);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.push_back(index.isValid() ? this->index(newRowOf[static_cast<std::size_t>(index.row())],
                                                   index.column())
                                     : index);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace quillon
