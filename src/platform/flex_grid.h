#pragma once

#include "platform/flex_grid_columns.h"

#include <QByteArrayView>
#include <QPixmap>
#include <QString>
#include <QTableView>
#include <vector>

namespace quillon {

class FlexGridModel;

// A grid with a fixed header row (row 0) and optionally one fixed first column, addressed by
// row and column like the cells on screen. Rows hold plain texts and an optional picture per
// cell; filling N rows costs time in proportion to N. The current cell moves by mouse, keyboard
// or program, and every move raises rowColChange(); a double click on a data cell raises
// dblClick(). A column is as wide as set, or, by its ColumnFit, at least that wide and wider
// as its texts and the room of the grid allow.
class FlexGrid : public QTableView {
    Q_OBJECT

public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Row and column counts, the fixed header row and fixed column included.
    int rows() const;
    void setRows(int rows); // setRows(1) leaves the header row alone
    // The same, the columns keeping their widths until the next fit (rows added, a cell set, a
    // resize, fitColumns()): a grid emptied to be filled at once is resized once, not twice.
    void setRowsKeepingWidths(int rows);
    // Fits the columns that aren't Fixed to what their cells need, measuring the rows not yet
    // measured.
    void fitColumns();
    int cols() const;
    void setCols(int cols);
    // 0 or 1 fixed columns (a fixed column is drawn as a header and can't be selected).
    void setFixedCols(int fixedCols);
    int fixedCols() const;

    // The width of a Fixed column, the least width of any other.
    void setColWidthTwips(int col, int twips);
    int colWidthTwips(int col) const;
    void setColFit(int col, ColumnFit fit);
    // The width set for the column (the least of a column that isn't Fixed), in twips.
    [[nodiscard]] int colLeastTwips(int col) const {
        return col >= 0 && col < cols() ? columns_[static_cast<std::size_t>(col)].minimumTwips : 0;
    }
    // The width the grid needs to show every column whole without scrolling sideways.
    [[nodiscard]] int widthForAllColumns() const;

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Adds a new last row; the text is split at tabs into consecutive columns from column 0.
    void addItem(const QString& tabSeparatedText);

    void setCellPicture(int row, int col, const QPixmap& picture);
    // Adds the rows as addItem() does one by one, as one insertion: the views hear of the batch
    // once instead of once a row.
    void addItems(const QStringList& tabSeparatedTexts);
    // The same for rows given as UTF-8, one after the other in text, row i ending (exclusive) at
    // rowEnds[i]: a large fill goes in without a string object a row.
    void addUtf8Items(QByteArrayView text, const std::vector<qsizetype>& rowEnds);
    // Puts the same picture into the column of each of the rows.
    void setCellPictures(const std::vector<int>& rows, int col, const QPixmap& picture);
    bool hasCellPicture(int row, int col) const;

    // The current cell. setCurrentCell() raises rowColChange() when the cell changes.
    int row() const;
    int col() const;
    void setCurrentCell(int row, int col);
    // The selected block runs from the current cell to (rowSel, colSel).
    int rowSel() const;
    int colSel() const;
    void setSelectionEnd(int rowSel, int colSel);

    // Puts the data rows in the natural order of the column's texts (FlexGridModel::sortRows());
    // the current cell and the selection stay on their rows, which is no move to report, and the
    // current row is scrolled into view. Returns the rows' former grid rows - 1 in their order.
    std::vector<int> sortRows(int col, Qt::SortOrder order);

    // Alignment of every data cell (rows below the header).
    void setDataAlignment(Qt::Alignment alignment);
    Qt::Alignment dataAlignment() const;

    // Typing letters doesn't move the current cell: the grid is no search box.
    void keyboardSearch(const QString& search) override;

signals:
    void rowColChange();
    void dblClick();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QModelIndex modelIndex(int row, int col) const;
    void beginInput();
    void endInput();
    void beginStructureChange();
    void endStructureChange();
    void reportCurrentCell();
    void takeSelectionEndFromView();
    void applyRowHeight();
    void applyFixedColumnLook();
    // Column widths: what the non-Fixed columns need, measured in the grid's font.
    [[nodiscard]] int cellMargins() const;
    [[nodiscard]] int pictureWidth(const QPixmap& picture) const;
    [[nodiscard]] std::vector<FlexGridColumns::Need> columnNeeds() const;
    void measureRows(int firstGridRow);
    void widen(int col, int content);
    void remeasure();

    struct Column {
        ColumnFit fit = ColumnFit::Fixed;
        int minimumTwips = 0;
        int content = 0; // pixels the widest data cell needs
    };
    std::vector<Column> columns_;
    // The data cells are measured up to this grid row; the rest waits for the next fit.
    int measuredRows_ = 1;
    bool fitting_ = false;

    FlexGridModel* model_;
    // The cell last reported by rowColChange() (0, 0 without data rows).
    int reportedRow_ = 0;
    int reportedCol_ = 0;
    // The far corner of the selected block, in grid coordinates.
    int rowSel_ = 0;
    int colSel_ = 0;
    // While a mouse or key event is handled, a move of the current cell is reported once the
    // view has also updated its selection, so that a handler of rowColChange() sees (and may
    // change) the final state.
    int inputDepth_ = 0;
    bool selectionChangedByInput_ = false;
    // While rows or columns are added or removed, the view moves the current cell by itself;
    // that is no move to report.
    int structureDepth_ = 0;
};

} // namespace quillon
