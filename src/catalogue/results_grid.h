#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace quillon {

struct AppContext;
class PartDisplay;
class Recordset;
class SearchResultsFrame;

// The "Search Results" frame at work: lists a search's result in the grid MSFlexGrid1 with the
// progress bar and the count, keeps the catalogue ID of every row in resultPartIds, shows the
// part of the current row while results are listed, and empties everything on Clear.
class ResultsGrid final {
public:
    ResultsGrid(AppContext& context, SearchResultsFrame& frame, PartDisplay& display);

    // The grid back to its header row and the count labels hidden: the start of every search.
    // The emptied frames are painted only once the search has run long enough for the eye to
    // see them (showEmptiedIfSlow()); a search that ends sooner goes straight to its results.
    void emptyForSearch();
    // While a search runs: paints the emptied frames, once, when the search started at least
    // the progress interval ago.
    void showEmptiedIfSlow();
    // Lists searchRecordset (open, on an emptied grid): one row per part with its numbers,
    // description and picture marker, or the "No Parts Found!" row; then the count and the first
    // part. Ends with one beep either way.
    void fillResultsGrid();

    // The grid's current cell moved: shows that row's part while results are listed.
    void MSFlexGrid1_RowColChange();
    // A click on a column's heading while parts are listed: the rows sorted by that column
    // (natural order for the numbers in it), ascending, or the other way when it is the column
    // sorted by already; the part shown stays shown and selected, and resultPartIds follows the
    // rows. The heading shows the sort mark. The next search lists in its statement's order.
    void MSFlexGrid1_HeaderClick(int column);
    // Clear: the grid back to its header row, Part Detail emptied, Clear disabled.
    void cmdClear_Click();
    // A right click at the position (in the grid's viewport) on a part's DV No. or Rover No.:
    // a menu whose "Copy" puts that number on the clipboard.
    void MSFlexGrid1_ContextMenu(const QPoint& position);

    [[nodiscard]] static QString noPartsFound() { return QStringLiteral("No Parts Found!"); }
    // The columns of a search's result that the fill reads (the row's ID, the grid's texts and
    // the picture marker's column): all a search keeps of its rows. Part Detail reads the
    // other fields of the part it shows from the catalogue.
    [[nodiscard]] static const QStringList& listedColumns();
    // The progress bar moves once every this many rows of a fill (and at the last row): a fill
    // of many thousands of rows repaints the bar about a hundred times, not once a row.
    [[nodiscard]] static int progressStep(int rowCount);

private:
    // The steps of a fill: "No parts found" for an empty result; the count, the bar's range
    // and the IDs' room; the rows in batches with their picture markers and IDs, the bar moving;
    // the count shown and the first part shown.
    void listNoParts();
    [[nodiscard]] int startFill(Recordset& result);
    void addResultRows(Recordset& result, int count);
    void showFound(int count);
    // The rows back in the order they were listed in: no sort mark.
    void forgetSort();

    AppContext& context_;
    SearchResultsFrame& frame_;
    PartDisplay& display_;
    QElapsedTimer sinceEmptied_;
    bool emptiedShown_ = true;
    int sortedColumn_ = -1;
    bool ascending_ = true;
};

} // namespace quillon
