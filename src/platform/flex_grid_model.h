#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstring>
#include <vector>

namespace quillon {

// The cells of a FlexGrid as plain texts, plus a sparse set of cell pictures. The data rows are
// kept packed: each row's texts as UTF-8 joined by tabs, one row after the other in one buffer,
// with the end of each row; a cell set on its own afterwards is kept beside them. A row costs
// its bytes and eight more, not a string object a cell, so a grid of a million rows stays small.
// Grid row 0 is the header row and is served as the horizontal header; grid row r (r >= 1) is model
// row r - 1. Columns are the same in the grid and in the model. The first fixedCols() columns are
// served header-styled and can't be selected.
class FlexGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FlexGridModel(QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Grid rows, the header row included (always at least 1).
    [[nodiscard]] int gridRows() const { return dataRows_ + 1; }
    void setGridRows(int rows);
    [[nodiscard]] int gridCols() const { return cols_; }
    void setGridCols(int cols);
    [[nodiscard]] int fixedCols() const { return fixedCols_; }
    void setFixedCols(int fixedCols);

    [[nodiscard]] QString text(int gridRow, int col) const;
    void setText(int gridRow, int col, const QString& text);
    // Appends data rows, announced to the views as one insertion; each text is split at tabs
    // into columns 0, 1, ...; parts beyond the last column are dropped, columns without a part
    // stay empty.
    void appendRows(const QStringList& tabSeparatedTexts);
    // The same for rows given as UTF-8: the rows one after the other in text, row i ending
    // (exclusive) at rowEnds[i].
    void appendUtf8Rows(QByteArrayView text, const std::vector<qsizetype>& rowEnds);

    // Puts the data rows in the natural order of the column's texts (a picture counts after an
    // empty text), ascending or descending; rows with equal texts keep their order. The views
    // keep their current cell and selection on the same rows. Returns the rows' former indexes
    // (model rows) in their new order.
    std::vector<int> sortRows(int col, bool ascending);

    // A null picture removes the cell's picture.
    void setPicture(int gridRow, int col, const QPixmap& picture);
    [[nodiscard]] bool hasPicture(int gridRow, int col) const;
    // The widest picture of the column's data cells (null when it has none).
    [[nodiscard]] QPixmap widestPicture(int col) const;
    // The same picture (not null) into the column of each of the rows; cells outside the grid
    // are passed over.
    void setPictures(const std::vector<int>& gridRows, int col, const QPixmap& picture);

    void setDataAlignment(Qt::Alignment alignment);
    [[nodiscard]] Qt::Alignment dataAlignment() const { return dataAlignment_; }

    // How cells of the fixed columns are painted (the view passes its header colours).
    void setFixedColumnBrushes(const QBrush& background, const QBrush& foreground);

    [[nodiscard]] bool isCell(int gridRow, int col) const {
        return gridRow >= 0 && gridRow <= dataRows_ && col >= 0 && col < cols_;
    }

    // Calls visit(col, utf8) for each packed cell of the data rows from gridRow on, one pass over
    // their bytes; false, visiting nothing, when some cell was set on its own (then text() is
    // the way to read the rows).
    template <typename Visit> bool visitPackedCells(int gridRow, Visit&& visit) const {
        if (!setCells_.isEmpty() || gridRow < 1)
            return false;
        for (int r = gridRow - 1; r < dataRows_; ++r) {
            const char* part = packed_.constData() + (r == 0 ? 0 : rowEnds_[r - 1]);
            const char* const end = packed_.constData() + rowEnds_[r];
            for (int col = 0; col < cols_; ++col) {
                const auto* tab = static_cast<const char*>(
                    std::memchr(part, '\t', static_cast<std::size_t>(end - part)));
                visit(col, QByteArrayView(part, (tab != nullptr ? tab : end) - part));
                if (tab == nullptr)
                    break;
                part = tab + 1;
            }
        }
        return true;
    }

private:
    [[nodiscard]] static quint64 pictureKey(int gridRow, int col) {
        return (static_cast<quint64>(static_cast<quint32>(gridRow)) << 32) |
               static_cast<quint32>(col);
    }
    [[nodiscard]] QString cell(int gridRow, int col) const;
    // The packed text of a data row's column: empty when the row has fewer parts.
    [[nodiscard]] QByteArrayView packedCell(int gridRow, int col) const;
    void appendPackedRow(QByteArrayView tabSeparatedUtf8);
    void dropPicturesOutside(int gridRows, int cols);
    // Moves model row order[i] to row i for every i.
    void permuteRows(const std::vector<int>& order);
    void notifyRowChanged(int gridRow, int firstCol, int lastCol);

    int dataRows_ = 0;
    int cols_ = 2;
    int fixedCols_ = 0;
    std::vector<QString> header_;
    // The data rows' texts, packed; row r - 1 ends at rowEnds_[r - 1]. Both grow by realloc(),
    // which moves a large block by remapping its pages: no copy beside the old one.
    QByteArray packed_;
    QList<qsizetype> rowEnds_;
    // Cells set one by one (setText()), by the same key as the pictures; they win over packed_.
    QHash<quint64, QString> setCells_;
    QHash<quint64, QPixmap> pictures_;
    Qt::Alignment dataAlignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QBrush fixedBackground_;
    QBrush fixedForeground_;
};

} // namespace quillon
