#include "platform/flex_grid_model.h"

#include <algorithm>
#include <cstddef>

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
        cells_.resize(toSize(newDataRows) * toSize(cols_));
        dataRows_ = newDataRows;
        endInsertRows();
        return;
    }
    beginRemoveRows(QModelIndex(), newDataRows, dataRows_ - 1);
    cells_.resize(toSize(newDataRows) * toSize(cols_));
    dataRows_ = newDataRows;
    dropPicturesOutside(gridRows(), cols_);
    endRemoveRows();
}

void FlexGridModel::setGridCols(int cols) {
    const int newCols = std::max(cols, 1);
    if (newCols == cols_) {
        return;
    }
    // Re-lay the rows out with the new number of texts per row.
    const auto relayout = [this, newCols] {
        const std::size_t keep = toSize(std::min(cols_, newCols));
        std::vector<QString> relaid(toSize(dataRows_) * toSize(newCols));
        for (std::size_t r = 0; r < toSize(dataRows_); ++r) {
            const auto from = cells_.begin() + static_cast<std::ptrdiff_t>(r * toSize(cols_));
            std::move(from, from + static_cast<std::ptrdiff_t>(keep),
                      relaid.begin() + static_cast<std::ptrdiff_t>(r * toSize(newCols)));
        }
        cells_ = std::move(relaid);
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
    cell(gridRow, col) = text;
    if (gridRow == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        notifyRowChanged(gridRow, col, col);
    }
}

void FlexGridModel::appendRows(const QStringList& tabSeparatedTexts) {
    if (tabSeparatedTexts.isEmpty()) {
        return;
    }
    const int first = dataRows_;
    const int count = static_cast<int>(tabSeparatedTexts.size());
    beginInsertRows(QModelIndex(), first, first + count - 1);
    const std::size_t end = cells_.size();
    cells_.resize(end + toSize(count) * toSize(cols_));
    auto row = cells_.begin() + static_cast<std::ptrdiff_t>(end);
    for (const QString& text : tabSeparatedTexts) {
        // Parts beyond the last column are dropped; columns without a part stay empty.
        auto cell = row;
        for (const QStringView part : QStringView(text).tokenize(u'\t')) {
            if (cell == row + cols_) {
                break;
            }
            *cell++ = part.toString();
        }
        row += cols_;
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

QString& FlexGridModel::cell(int gridRow, int col) {
    if (gridRow == 0) {
        return header_[toSize(col)];
    }
    return cells_[toSize(gridRow - 1) * toSize(cols_) + toSize(col)];
}

const QString& FlexGridModel::cell(int gridRow, int col) const {
    if (gridRow == 0) {
        return header_[toSize(col)];
    }
    return cells_[toSize(gridRow - 1) * toSize(cols_) + toSize(col)];
}

void FlexGridModel::dropPicturesOutside(int gridRows, int cols) {
    pictures_.removeIf([gridRows, cols](const QHash<quint64, QPixmap>::iterator& entry) {
        const int row = static_cast<int>(entry.key() >> 32);
        const int col = static_cast<int>(entry.key() & 0xffffffffU);
        return row >= gridRows || col >= cols;
    });
}

void FlexGridModel::notifyRowChanged(int gridRow, int firstCol, int lastCol) {
    emit dataChanged(index(gridRow - 1, firstCol), index(gridRow - 1, lastCol));
}

} // namespace quillon
