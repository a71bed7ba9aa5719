#include "catalogue/results_grid.h"

#include "catalogue/part_display.h"
#include "catalogue/search_results_frame.h"
#include "platform/app_folder.h"
#include "platform/dialogs.h"
#include "platform/flex_grid.h"
#include "session/app_context.h"
#include "session/handler_guard.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/recordset.h"
#include "store/store_error.h"

#include <QByteArray>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QStringList>
#include <algorithm>
#include <string>

namespace quillon {

namespace {

constexpr int pictureColumn = 3;
// Milliseconds between two repaints of the progress bar while a fill runs, and before the
// emptied frames of a search are painted: what is shown for less is never seen.
constexpr qint64 progressInterval = 40;

// Appends a cell text of a row as UTF-8: a value's text, absent as empty. A tab inside a value
// would push the rest of the row into the wrong columns; it shows as a blank.
void appendCell(std::string& rows, const Recordset& result, int column) {
    const std::size_t start = rows.size();
    result.appendText(column, rows);
    std::replace(rows.begin() + static_cast<std::ptrdiff_t>(start), rows.end(), '\t', ' ');
}

// Index of a column of the search result, which keeps listedColumns().
int columnOf(const Recordset& result, QStringView name) {
    const int index = result.columnIndex(name);
    if (index < 0)
        throw StoreError(QStringLiteral("The search result has no column %1.").arg(name), {});
    return index;
}

} // namespace

ResultsGrid::ResultsGrid(AppContext& context, SearchResultsFrame& frame, PartDisplay& display)
    : context_(context), frame_(frame), display_(display) {
    QObject::connect(frame.MSFlexGrid1->horizontalHeader(), &QHeaderView::sectionClicked,
                     frame.MSFlexGrid1, [this](int column) {
                         context_.guard.run(QStringLiteral("sort the results"),
                                            [this, column] { MSFlexGrid1_HeaderClick(column); });
                     });
}

const QStringList& ResultsGrid::listedColumns() {
    static const QStringList columns{QStringLiteral("ID"), QStringLiteral("DorvaneNum"),
                                     QStringLiteral("RoverNum"), QStringLiteral("Description"),
                                     QStringLiteral("Picture1")};
    return columns;
}

int ResultsGrid::progressStep(int rowCount) {
    return std::max(1, rowCount / 100);
}

void ResultsGrid::emptyForSearch() {
    forgetSort();
    frame_.MSFlexGrid1->setRowsKeepingWidths(1);
    frame_.lblPartsFounds->hide();
    frame_.lblPartsFoundsNumber->hide();
    sinceEmptied_.start();
    emptiedShown_ = false;
}

void ResultsGrid::showEmptiedIfSlow() {
    if (emptiedShown_ || sinceEmptied_.elapsed() < progressInterval)
        return;
    emptiedShown_ = true;
    frame_.MSFlexGrid1->fitColumns();
    context_.window.repaintNow();
}

void ResultsGrid::fillResultsGrid() {
    ProgramState& state = context_.state;
    Recordset& result = state.searchRecordset;
    state.selectedPart.id = 0;
    state.resultsListed = false;

    if (result.bof() && result.eof()) {
        listNoParts();
        return;
    }
    const int count = startFill(result);
    addResultRows(result, count);
    showFound(count);
}

void ResultsGrid::listNoParts() {
    frame_.MSFlexGrid1->addItem(QStringLiteral("\t\t") + noPartsFound() + QStringLiteral("\t"));
    context_.window.setStatusText(noPartsFound());
    context_.dialogs.beep();
}

int ResultsGrid::startFill(Recordset& result) {
    QProgressBar& progress = *frame_.ProgressBar;
    progress.setValue(0);
    result.moveLast();
    const int count = result.recordCount();
    result.moveFirst();
    context_.state.resultPartIds.assign(static_cast<std::size_t>(count), 0);
    progress.setRange(0, count);
    // Every data cell is aligned left and centred vertically: one property of the grid.
    frame_.MSFlexGrid1->setDataAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return count;
}

void ResultsGrid::addResultRows(Recordset& result, int count) {
    FlexGrid& grid = *frame_.MSFlexGrid1;
    std::vector<qint32>& ids = context_.state.resultPartIds;
    const int idColumn = columnOf(result, u"ID");
    const int dorvaneColumn = columnOf(result, u"DorvaneNum");
    const int roverColumn = columnOf(result, u"RoverNum");
    const int descriptionColumn = columnOf(result, u"Description");
    const int pictureColumnOfResult = columnOf(result, u"Picture1");
    // The marker is read once per fill, when the first part with a picture needs it.
    QPixmap marker;
    bool markerRead = false;
    const int step = progressStep(count);

    // The bar's value is set only where the eye can see it move: every progressInterval
    // milliseconds at most (setting it paints the bar). The rows go into the grid in one
    // insertion per step of the bar, and the rest at the end: the views hear of them once, not
    // per row. A fill done sooner leaves the bar as it was, at 0, and unpainted.
    QElapsedTimer sinceShown;
    sinceShown.start();
    std::string batch;
    std::vector<qsizetype> batchEnds;
    std::vector<int> batchPictures;
    const auto addBatch = [&] {
        grid.addUtf8Items(batch, batchEnds);
        grid.setCellPictures(batchPictures, pictureColumn, marker);
        batch.clear();
        batchEnds.clear();
        batchPictures.clear();
    };

    for (int k = 0; k < count; ++k) {
        appendCell(batch, result, dorvaneColumn);
        batch += '\t';
        appendCell(batch, result, roverColumn);
        batch += '\t';
        appendCell(batch, result, descriptionColumn);
        batchEnds.push_back(static_cast<qsizetype>(batch.size()));

        if (!result.isAbsent(pictureColumnOfResult)) {
            if (!markerRead) {
                marker = QPixmap(context_.folder.imageIcon());
                markerRead = true;
            }
            batchPictures.push_back(k + 1);
        }
        ids[static_cast<std::size_t>(k)] = result.field(idColumn).toInt32();
        result.moveNext();

        if (k + 1 == count) {
            addBatch();
        } else if ((k + 1) % step == 0 && sinceShown.elapsed() >= progressInterval) {
            addBatch();
            frame_.ProgressBar->setValue(k + 1);
            // The frames, when they are painted now, are painted with the bar in them.
            showEmptiedIfSlow();
            sinceShown.restart();
        }
    }
}

void ResultsGrid::showFound(int count) {
    frame_.lblPartsFounds->show();
    frame_.lblPartsFoundsNumber->show();
    frame_.lblPartsFoundsNumber->setText(QString::number(count));
    context_.window.setStatusText(QString::number(count) + QStringLiteral(" parts found"));

    context_.state.resultsListed = true;
    frame_.ProgressBar->setValue(0);
    // The grid's current cell is row 1, column 0: the first part is shown and highlighted.
    display_.showSelectedPart();
    context_.dialogs.beep();
}

void ResultsGrid::MSFlexGrid1_RowColChange() {
    if (context_.state.resultsListed)
        display_.showSelectedPart();
}

void ResultsGrid::MSFlexGrid1_ContextMenu(const QPoint& position) {
    FlexGrid& grid = *frame_.MSFlexGrid1;
    const QModelIndex cell = grid.indexAt(position);
    if (!context_.state.resultsListed || !cell.isValid() || cell.column() > 1)
        return;
    const QString number = grid.textMatrix(cell.row() + 1, cell.column());
    QMenu menu(&grid);
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setEnabled(!number.isEmpty());
    if (menu.exec(grid.viewport()->mapToGlobal(position)) == copy)
        QGuiApplication::clipboard()->setText(number);
}

void ResultsGrid::forgetSort() {
    sortedColumn_ = -1;
    ascending_ = true;
    QHeaderView& header = *frame_.MSFlexGrid1->horizontalHeader();
    header.setSortIndicatorShown(false);
    header.setSortIndicator(-1, Qt::AscendingOrder);
}

void ResultsGrid::MSFlexGrid1_HeaderClick(int column) {
    ProgramState& state = context_.state;
    FlexGrid& grid = *frame_.MSFlexGrid1;
    // The header flips its mark by itself on a click; the mark is this grid's to set.
    if (!state.resultsListed || state.resultPartIds.size() != std::size_t(grid.rows() - 1)) {
        forgetSort();
        return;
    }
    ascending_ = column == sortedColumn_ ? !ascending_ : true;
    sortedColumn_ = column;
    const Qt::SortOrder order = ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder;
    const std::vector<int> rows = grid.sortRows(column, order);
    std::vector<qint32> ids(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        ids[i] = state.resultPartIds[static_cast<std::size_t>(rows[i])];
    state.resultPartIds = std::move(ids);
    QHeaderView& header = *grid.horizontalHeader();
    header.setSortIndicatorShown(true);
    header.setSortIndicator(column, order);
}

void ResultsGrid::cmdClear_Click() {
    forgetSort();
    frame_.MSFlexGrid1->setRows(1);
    context_.state.resultsListed = false;
    display_.clearSelectedPart();
    frame_.ProgressBar->setValue(0);
    context_.window.setClearCommandsEnabled(false);
}

} // namespace quillon
