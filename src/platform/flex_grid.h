#pragma once

#include <QPixmap>
#include <QString>
#include <QTableView>

namespace quillon {

class FlexGridModel;

// A grid with a fixed header row (row 0) and optionally one fixed first column, addressed by
// row and column like the cells on screen. Rows hold plain texts and an optional picture per
// cell; filling N rows costs time in proportion to N. The current cell moves by mouse, keyboard
// or program, and every move raises rowColChange(); a double click on a data cell raises
// dblClick().
class FlexGrid : public QTableView {
    Q_OBJECT

public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Row and column counts, the fixed header row and fixed column included.
    int rows() const;
    void setRows(int rows); // setRows(1) leaves the header row alone
    int cols() const;
    void setCols(int cols);
    // 0 or 1 fixed columns (a fixed column is drawn as a header and can't be selected).
    void setFixedCols(int fixedCols);
    int fixedCols() const;

    void setColWidthTwips(int col, int twips);
    int colWidthTwips(int col) const;

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // Adds a new last row; the text is split at tabs into consecutive columns from column 0.
    void addItem(const QString& tabSeparatedText);

    void setCellPicture(int row, int col, const QPixmap& picture);
    bool hasCellPicture(int row, int col) const;

    // The current cell. setCurrentCell() raises rowColChange() when the cell changes.
    int row() const;
    int col() const;
    void setCurrentCell(int row, int col);
    // The selected block runs from the current cell to (rowSel, colSel).
    int rowSel() const;
    int colSel() const;
    void setSelectionEnd(int rowSel, int colSel);

    // Alignment of every data cell (rows below the header).
    void setDataAlignment(Qt::Alignment alignment);
    Qt::Alignment dataAlignment() const;

signals:
    void rowColChange();
    void dblClick();

private:
    FlexGridModel* model_;
    // further private members as the implementation needs
};

} // namespace quillon
