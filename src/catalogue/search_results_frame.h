#pragma once

#include "platform/flex_grid_columns.h"

#include <QGroupBox>

class QLabel;
class QProgressBar;

namespace quillon {

struct AppContext;
class FlexGrid;

// The "Search Results" frame (frameSearchResults): the results grid MSFlexGrid1, the progress bar
// and the two count labels, which are hidden until a search finds parts.
class SearchResultsFrame final : public QGroupBox {
    Q_OBJECT

public:
    explicit SearchResultsFrame(AppContext& context, QWidget* parent = nullptr);

    // The grid at start: the header row alone, four columns with their widths and header texts.
    // A column dragged wider or narrower keeps the width dragged to as its least.
    void setUpGrid();

    // Column widths (the least each column gets), fits and header texts of the grid: the
    // numbers and the marker whole, the description in the room left.
    static constexpr int columnCount = 4;
    static constexpr int columnWidthsTwips[columnCount] = {1200, 1200, 5800, 670};
    static constexpr ColumnFit columnFits[columnCount] = {ColumnFit::Content, ColumnFit::Content,
                                                          ColumnFit::Fill, ColumnFit::Content};
    static QString headerText(int column);

    FlexGrid* MSFlexGrid1;
    QProgressBar* ProgressBar;
    QLabel* lblPartsFoundsNumber;
    QLabel* lblPartsFounds;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    AppContext& context_;
    QWidget* countBar_ = nullptr;
    bool takingDraggedWidth_ = false;
};

} // namespace quillon
