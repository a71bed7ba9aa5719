#include "platform/flex_grid.h"

#include "platform/flex_grid_model.h"
#include "platform/twips.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>

namespace quillon {

namespace {

// Space above and below the text of a row, in pixels.
constexpr int rowPadding = 3;
// Columns may be narrower than Qt's default minimum: a row-number column is 270 twips wide.
constexpr int minimumColumnWidth = 4;

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this)) {
    setModel(model_);
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
    beginStructureChange();
    model_->setGridRows(rows);
    endStructureChange();
}

int FlexGrid::cols() const {
    return model_->gridCols();
}

void FlexGrid::setCols(int cols) {
    beginStructureChange();
    model_->setGridCols(cols);
    endStructureChange();
}

void FlexGrid::setFixedCols(int fixedCols) {
    model_->setFixedCols(fixedCols);
}

int FlexGrid::fixedCols() const {
    return model_->fixedCols();
}

void FlexGrid::setColWidthTwips(int col, int twips) {
    if (col < 0 || col >= cols()) {
        return;
    }
    horizontalHeader()->resizeSection(col, Twips::toPixelsX(std::max(twips, 0), this));
}

int FlexGrid::colWidthTwips(int col) const {
    if (col < 0 || col >= cols()) {
        return 0;
    }
    return Twips::fromPixelsX(columnWidth(col), this);
}

QString FlexGrid::textMatrix(int row, int col) const {
    return model_->text(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    model_->setText(row, col, text);
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
}

void FlexGrid::addUtf8Items(QByteArrayView text, const std::vector<qsizetype>& rowEnds) {
    if (rowEnds.empty())
        return;
    beginStructureChange();
    model_->appendUtf8Rows(text, rowEnds);
    endStructureChange();
}

void FlexGrid::setCellPicture(int row, int col, const QPixmap& picture) {
    model_->setPicture(row, col, picture);
}

void FlexGrid::setCellPictures(const std::vector<int>& rows, int col, const QPixmap& picture) {
    model_->setPictures(rows, col, picture);
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
    if (!index.isValid()) {
        return;
    }
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
    if (!corner.isValid() || !current.isValid()) {
        return;
    }
    rowSel_ = rowSel;
    colSel_ = colSel;
    const QItemSelection block(model_->index(std::min(current.row(), corner.row()),
                                             std::min(current.column(), corner.column())),
                               model_->index(std::max(current.row(), corner.row()),
                                             std::max(current.column(), corner.column())));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
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
    if (structureDepth_ > 0 || inputDepth_ > 0) {
        return;
    }
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
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        applyFixedColumnLook();
        break;
    default:
        break;
    }
}

QModelIndex FlexGrid::modelIndex(int row, int col) const {
    if (row < 1 || row >= rows() || col < 0 || col >= cols()) {
        return {};
    }
    return model_->index(row - 1, col);
}

void FlexGrid::beginInput() {
    if (inputDepth_++ == 0) {
        selectionChangedByInput_ = false;
    }
}

void FlexGrid::endInput() {
    if (--inputDepth_ > 0) {
        return;
    }
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
    if (--structureDepth_ > 0) {
        return;
    }
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
    if (structureDepth_ > 0 || inputDepth_ > 0) {
        return;
    }
    const int r = row();
    const int c = col();
    if (r == reportedRow_ && c == reportedCol_) {
        return;
    }
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

} // namespace quillon
