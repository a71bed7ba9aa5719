#include "platform/flex_grid.h"

#include "platform/current_row_delegate.h"
#include "platform/flex_grid_model.h"
#include "platform/twips.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QtMath>
#include <algorithm>

namespace quillon {

namespace {

// Space above and below the text of a row, in pixels.
constexpr int rowPadding = 2;
// Columns may be narrower than Qt's default minimum: a row-number column is 270 twips wide.
constexpr int minimumColumnWidth = 4;

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
    setItemDelegate(new CurrentRowDelegate(this));
    columns_.resize(static_cast<std::size_t>(model_->gridCols()));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setAlternatingRowColors(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setDragEnabled(false);

    QHeaderView* vertical = verticalHeader();
    vertical->hide();
    vertical->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* horizontal = horizontalHeader();
    horizontal->setSectionsClickable(false);
    horizontal->setHighlightSections(false);
    horizontal->setSectionResizeMode(QHeaderView::Interactive);
    horizontal->setStretchLastSection(false);
    horizontal->setMinimumSectionSize(minimumColumnWidth);

    applyRowHeight();
    applyFixedColumnLook();
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::rows() const {
    return model_->gridRows();
}

void FlexGrid::setRows(int rows) {
    setRowsKeepingWidths(rows);
    fitColumns();
}

void FlexGrid::setRowsKeepingWidths(int rows) {
    const int before = this->rows();
    beginStructureChange();
    model_->setGridRows(rows);
    endStructureChange();
    if (this->rows() < before)
        remeasure();
}

int FlexGrid::cols() const {
    return model_->gridCols();
}

void FlexGrid::setCols(int cols) {
    beginStructureChange();
    model_->setGridCols(cols);
    endStructureChange();
    columns_.resize(static_cast<std::size_t>(this->cols()));
    remeasure();
    fitColumns();
}

void FlexGrid::setFixedCols(int fixedCols) {
    model_->setFixedCols(fixedCols);
}

int FlexGrid::fixedCols() const {
    return model_->fixedCols();
}

void FlexGrid::setColWidthTwips(int col, int twips) {
    if (col < 0 || col >= cols())
        return;
    Column& column = columns_[static_cast<std::size_t>(col)];
    column.minimumTwips = std::max(twips, 0);
    if (column.fit == ColumnFit::Fixed)
        horizontalHeader()->resizeSection(col, Twips::toPixelsX(column.minimumTwips, this));
    else
        fitColumns();
}

int FlexGrid::colWidthTwips(int col) const {
    if (col < 0 || col >= cols())
        return 0;
    return Twips::fromPixelsX(columnWidth(col), this);
}

void FlexGrid::setColFit(int col, ColumnFit fit) {
    if (col < 0 || col >= cols())
        return;
    columns_[static_cast<std::size_t>(col)].fit = fit;
    horizontalHeader()->setSectionResizeMode(col, fit == ColumnFit::Fixed ? QHeaderView::Interactive
                                                                          : QHeaderView::Fixed);
    if (fit == ColumnFit::Fixed)
        setColWidthTwips(col, columns_[static_cast<std::size_t>(col)].minimumTwips);
    else
        fitColumns();
}

int FlexGrid::widthForAllColumns() const {
    return FlexGridColumns::fullWidth(columnNeeds()) + 2 * frameWidth() +
           verticalScrollBar()->sizeHint().width();
}

QString FlexGrid::textMatrix(int row, int col) const {
    return model_->text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    model_->setText(row, col, text);
    if (row > 0 && row < measuredRows_)
        remeasure(); // the cell may have been the widest of its column
    fitColumns();
}

void FlexGrid::addItem(const QString& tabSeparatedText) {
    addItems({tabSeparatedText});
}

void FlexGrid::addItems(const QStringList& tabSeparatedTexts) {
    if (tabSeparatedTexts.isEmpty())
        return;
    beginStructureChange();
    model_->appendRows(tabSeparatedTexts);
    endStructureChange();
    fitColumns();
}

void FlexGrid::addUtf8Items(QByteArrayView text, const std::vector<qsizetype>& rowEnds) {
    if (rowEnds.empty())
        return;
    beginStructureChange();
    model_->appendUtf8Rows(text, rowEnds);
    endStructureChange();
    fitColumns();
}

void FlexGrid::setCellPicture(int row, int col, const QPixmap& picture) {
    model_->setPicture(row, col, picture);
    if (picture.isNull())
        remeasure(); // the picture may have been the widest of its column
    else if (row > 0 && col >= 0 && col < cols())
        widen(col, pictureWidth(picture));
    fitColumns();
}

void FlexGrid::setCellPictures(const std::vector<int>& rows, int col, const QPixmap& picture) {
    model_->setPictures(rows, col, picture);
    if (rows.empty() || col < 0 || col >= cols())
        return;
    widen(col, pictureWidth(picture));
    fitColumns();
}

bool FlexGrid::hasCellPicture(int row, int col) const {
    return model_->hasPicture(row, col);
}

int FlexGrid::row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int FlexGrid::col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void FlexGrid::setCurrentCell(int row, int col) {
    const QModelIndex index = modelIndex(row, col);
    if (!index.isValid())
        return;
    // Set before the move: a handler of rowColChange() may widen the selection itself.
    rowSel_ = row;
    colSel_ = col;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

int FlexGrid::rowSel() const {
    return model_->rowCount() > 0 ? rowSel_ : 0;
}

int FlexGrid::colSel() const {
    return model_->rowCount() > 0 ? colSel_ : 0;
}

void FlexGrid::setSelectionEnd(int rowSel, int colSel) {
    const QModelIndex corner = modelIndex(rowSel, colSel);
    const QModelIndex current = currentIndex();
    if (!corner.isValid() || !current.isValid())
        return;
    rowSel_ = rowSel;
    colSel_ = colSel;
    const QItemSelection block(model_->index(std::min(current.row(), corner.row()),
                                             std::min(current.column(), corner.column())),
                               model_->index(std::max(current.row(), corner.row()),
                                             std::max(current.column(), corner.column())));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

std::vector<int> FlexGrid::sortRows(int col, Qt::SortOrder order) {
    beginStructureChange();
    std::vector<int> rows = model_->sortRows(col, order == Qt::AscendingOrder);
    endStructureChange();
    takeSelectionEndFromView();
    scrollTo(currentIndex());
    return rows;
}

void FlexGrid::setDataAlignment(Qt::Alignment alignment) {
    model_->setDataAlignment(alignment);
}

Qt::Alignment FlexGrid::dataAlignment() const {
    return model_->dataAlignment();
}

void FlexGrid::keyboardSearch(const QString& search) {
    Q_UNUSED(search)
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (structureDepth_ > 0 || inputDepth_ > 0)
        return;
    if (row() != reportedRow_ || col() != reportedCol_) {
        takeSelectionEndFromView();
        reportCurrentCell();
    }
}

void FlexGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (inputDepth_ > 0) {
        selectionChangedByInput_ = true;
    }
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    beginInput();
    QTableView::mousePressEvent(event);
    endInput();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event) {
    beginInput();
    QTableView::mouseMoveEvent(event);
    endInput();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    beginInput();
    QTableView::mouseReleaseEvent(event);
    endInput();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const bool onDataCell =
        event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    beginInput();
    QTableView::mouseDoubleClickEvent(event);
    endInput();
    if (onDataCell) {
        emit dblClick();
    }
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    beginInput();
    QTableView::keyPressEvent(event);
    endInput();
}

void FlexGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        applyRowHeight();
        remeasure();
        fitColumns();
        break;
    case QEvent::StyleChange:
        applyFixedColumnLook();
        remeasure();
        fitColumns();
        break;
    case QEvent::PaletteChange:
        applyFixedColumnLook();
        break;
    default:
        break;
    }
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

QModelIndex FlexGrid::modelIndex(int row, int col) const {
    if (row < 1 || row >= rows() || col < 0 || col >= cols())
        return {};
    return model_->index(row - 1, col);
}

void FlexGrid::beginInput() {
    if (inputDepth_++ == 0) {
        selectionChangedByInput_ = false;
    }
}

void FlexGrid::endInput() {
    if (--inputDepth_ > 0)
        return;
    const bool moved = row() != reportedRow_ || col() != reportedCol_;
    if (moved || selectionChangedByInput_) {
        takeSelectionEndFromView();
    }
    selectionChangedByInput_ = false;
    reportCurrentCell();
}

void FlexGrid::beginStructureChange() {
    ++structureDepth_;
}

void FlexGrid::endStructureChange() {
    if (structureDepth_ == 1 && !currentIndex().isValid() && model_->rowCount() > 0) {
        // A grid with data rows always has a current cell: the first data row's first
        // column that isn't fixed. Placing it there is no move to report.
        const int firstCol = std::min(model_->fixedCols(), model_->gridCols() - 1);
        selectionModel()->setCurrentIndex(model_->index(0, firstCol),
                                          QItemSelectionModel::NoUpdate);
    }
    if (--structureDepth_ > 0)
        return;
    const int r = row();
    const int c = col();
    if (model_->rowCount() == 0 || r != reportedRow_ || c != reportedCol_) {
        reportedRow_ = r;
        reportedCol_ = c;
        rowSel_ = r;
        colSel_ = c;
    } else {
        rowSel_ = std::min(rowSel_, rows() - 1);
        colSel_ = std::min(colSel_, cols() - 1);
    }
}

void FlexGrid::reportCurrentCell() {
    if (structureDepth_ > 0 || inputDepth_ > 0)
        return;
    const int r = row();
    const int c = col();
    if (r == reportedRow_ && c == reportedCol_)
        return;
    reportedRow_ = r;
    reportedCol_ = c;
    emit rowColChange();
}

void FlexGrid::takeSelectionEndFromView() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        rowSel_ = 0;
        colSel_ = 0;
        return;
    }
    const QItemSelection selection = selectionModel()->selection();
    if (selection.size() == 1 && selection.first().contains(current)) {
        const QItemSelectionRange& range = selection.first();
        rowSel_ = (current.row() == range.top() ? range.bottom() : range.top()) + 1;
        colSel_ = current.column() == range.left() ? range.right() : range.left();
    } else {
        rowSel_ = current.row() + 1;
        colSel_ = current.column();
    }
}

void FlexGrid::applyRowHeight() {
    const int height = fontMetrics().height() + 2 * rowPadding;
    QHeaderView* vertical = verticalHeader();
    vertical->setMinimumSectionSize(std::min(height, vertical->minimumSectionSize()));
    vertical->setDefaultSectionSize(height);
}

void FlexGrid::applyFixedColumnLook() {
    model_->setFixedColumnBrushes(palette().brush(QPalette::Button),
                                  palette().brush(QPalette::ButtonText));
}

int FlexGrid::cellMargins() const {
    // What the item delegate leaves on each side of a cell's text, and the grid line.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return 2 * textMargin + (showGrid() ? 1 : 0);
}

int FlexGrid::pictureWidth(const QPixmap& picture) const {
    return picture.isNull() ? 0 : qCeil(picture.deviceIndependentSize().width()) + cellMargins();
}

std::vector<FlexGridColumns::Need> FlexGrid::columnNeeds() const {
    std::vector<FlexGridColumns::Need> needs;
    needs.reserve(columns_.size());
    const QHeaderView* header = horizontalHeader();
    for (std::size_t col = 0; col < columns_.size(); ++col) {
        const Column& column = columns_[col];
        FlexGridColumns::Need need;
        need.fit = column.fit;
        need.minimum = Twips::toPixelsX(column.minimumTwips, this);
        if (column.fit != ColumnFit::Fixed) {
            need.header = header->sectionSizeHint(static_cast<int>(col));
            need.content = column.content;
        }
        needs.push_back(need);
    }
    return needs;
}

void FlexGrid::measureRows(int firstGridRow) {
    std::vector<bool> fitted;
    for (const Column& column : columns_)
        fitted.push_back(column.fit != ColumnFit::Fixed);
    const std::vector<qreal> widest =
        FlexGridColumns::widestTexts(*model_, firstGridRow, fitted, QFontMetricsF(font()));
    for (std::size_t col = 0; col < columns_.size(); ++col) {
        if (!fitted[col])
            continue;
        Column& column = columns_[col];
        column.content = std::max(column.content, qCeil(widest[col]) + cellMargins());
        if (firstGridRow == 1) // pictures that come later widen the column as they are set
            column.content = std::max(column.content,
                                      pictureWidth(model_->widestPicture(static_cast<int>(col))));
    }
    measuredRows_ = rows();
}

void FlexGrid::widen(int col, int content) {
    int& widest = columns_[static_cast<std::size_t>(col)].content;
    widest = std::max(widest, content);
}

void FlexGrid::remeasure() {
    for (Column& column : columns_)
        column.content = 0;
    measuredRows_ = 1;
}

void FlexGrid::fitColumns() {
    const bool anyFitted = std::any_of(columns_.begin(), columns_.end(), [](const Column& column) {
        return column.fit != ColumnFit::Fixed;
    });
    if (!anyFitted || fitting_)
        return;
    fitting_ = true;
    if (measuredRows_ < rows())
        measureRows(measuredRows_);
    const std::vector<int> widths = FlexGridColumns::widths(columnNeeds(), viewport()->width());
    QHeaderView* header = horizontalHeader();
    for (std::size_t col = 0; col < columns_.size(); ++col) {
        const int c = static_cast<int>(col);
        if (columns_[col].fit != ColumnFit::Fixed && header->sectionSize(c) != widths[col])
            header->resizeSection(c, widths[col]);
    }
    fitting_ = false;
}

} // namespace quillon
