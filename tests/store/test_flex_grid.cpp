// The grid: its model on its own (rows, cells, pictures, the fixed column), and the widget's
// current cell, selection and column widths as mouse, keys and program move them.
#include "platform/flex_grid.h"
#include "platform/flex_grid_model.h"
#include "platform/twips.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <cmath>
#include <memory>

using namespace quillon;

namespace {

const QStringList fiveRows = {"1\ta1\tb1\tc1", "2\ta2", "3\ta3", "4\ta4", "5\ta5"};

// A model of four columns, "H1" over column 1, with one data row per text, checked throughout.
struct Model {
    explicit Model(const QStringList& rows) {
        model.setGridCols(4);
        model.setText(0, 1, "H1");
        model.appendRows(rows);
    }
    FlexGridModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

// A shown grid, its columns 1200 twips wide, with one data row per text.
std::unique_ptr<FlexGrid> makeGrid(int cols, const QStringList& rows, int fixedCols = 0) {
    auto grid = std::make_unique<FlexGrid>();
    grid->setCols(cols);
    grid->setFixedCols(fixedCols);
    for (int c = 0; c < cols; ++c)
        grid->setColWidthTwips(c, 1200);
    grid->addItems(rows);
    grid->resize(800, 400);
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get()))
        qFatal("The grid never showed");
    return grid;
}

// "row,col rowSel,colSel " of the current cell and the selection's end, then "!row,col" for
// every cell shown selected.
QString cells(const FlexGrid& grid) {
    QStringList shown;
    for (const QModelIndex& index : grid.selectionModel()->selectedIndexes())
        shown << QStringLiteral("!%1,%2").arg(index.row() + 1).arg(index.column());
    shown.sort();
    return QStringLiteral("%1,%2 %3,%4 ")
               .arg(grid.row())
               .arg(grid.col())
               .arg(grid.rowSel())
               .arg(grid.colSel()) +
           shown.join(QString());
}

// Clicks a cell; row 0 clicks below the last row.
void click(FlexGrid& grid, int row, int col, bool twice = false) {
    const QRect cell = grid.visualRect(grid.model()->index(row - 1, col));
    const QPoint at = row > 0 ? cell.center() : QPoint(5, grid.viewport()->height() - 3);
    twice ? QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at)
          : QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT

private slots:
    // Grid row r is model row r - 1 and row 0 the header; a text is split at tabs, parts beyond
    // the last column dropped; rows given as texts and as UTF-8 are the same.
    void rowsSplitAtTabs() {
        const QStringList texts = {"a\tb", "\t\tNo Parts Found!\t", "1\t2\t3\t4\t5", "",
                                   " x \tÿ€ "};
        Model model(texts);
        Model utf8({});
        QByteArray joined;
        std::vector<qsizetype> ends;
        for (const QString& text : texts)
            ends.push_back((joined += text.toUtf8()).size());
        utf8.model.appendUtf8Rows(joined, ends);
        const QStringList expected = {"a|b||", "||No Parts Found!|", "1|2|3|4", "|||", " x |ÿ€ ||"};
        for (const FlexGridModel* m : {&model.model, &utf8.model}) {
            QCOMPARE(m->rowCount(), 5);
            for (int r = 0; r < 5; ++r) {
                QStringList row;
                for (int c = 0; c < 4; ++c)
                    row << m->index(r, c).data().toString();
                QCOMPARE(row.join(u'|'), expected[r]);
                QCOMPARE(m->text(r + 1, 1), row[1]);
            }
            QCOMPARE(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "H1");
        }
    }

    void rowCountLeavesTheHeaderAlone() {
        Model m({"a\tb\tc", "d"});
        m.model.setPicture(2, 3, QPixmap(12, 10));
        m.model.setGridRows(5); // grows with empty rows
        m.model.setText(4, 1, "set");
        QCOMPARE(m.model.rowCount(), 4);
        QCOMPARE(m.model.index(3, 1).data().toString() + m.model.text(1, 2), "setc");
        m.model.setGridRows(1); // cleared: the header row alone
        QCOMPARE(m.model.rowCount(), 0);
        QCOMPARE(m.model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "H1");
        // The next fill starts afresh: nothing of the earlier rows shows through.
        m.model.appendRows({"new", "\t\tsecond", "", ""});
        QCOMPARE(m.model.text(1, 1) + m.model.text(2, 0) + m.model.text(2, 2) + m.model.text(4, 1),
                 "second");
        QVERIFY(!m.model.hasPicture(2, 3));
        m.model.setGridRows(0); // never below the header row
        QCOMPARE(m.model.gridRows(), 1);
    }

    void picturesAndFixedColumn() {
        Model m(fiveRows);
        FlexGridModel& model = m.model;
        model.setPicture(2, 3, QPixmap(12, 10));
        QVERIFY(model.hasPicture(2, 3) && !model.hasPicture(2, 2) && !model.hasPicture(3, 3));
        QCOMPARE(model.index(1, 3).data(Qt::DecorationRole).value<QPixmap>().size(), QSize(12, 10));
        QVERIFY(!model.index(1, 2).data(Qt::DecorationRole).isValid());
        model.setPicture(9, 3, QPixmap(12, 10)); // no such row
        model.setPicture(2, 3, QPixmap());
        QVERIFY(!model.hasPicture(9, 3) && !model.hasPicture(2, 3));
        model.setPicture(3, 3, QPixmap(12, 10));
        model.setGridCols(3); // the column goes, and its pictures with it
        model.setGridCols(4);
        QVERIFY(!model.hasPicture(3, 3));
        model.setPictures({0, 1, 3, 9}, 3, QPixmap(12, 10)); // the header and beyond passed over
        QVERIFY(model.hasPicture(1, 3) && !model.hasPicture(2, 3) && model.hasPicture(3, 3));
        QVERIFY(!model.hasPicture(0, 3) && !model.hasPicture(9, 3));

        model.setFixedCols(1);
        model.setFixedColumnBrushes(Qt::gray, Qt::black);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
        QVERIFY(model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(0, 1).data(Qt::BackgroundRole).isValid());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(changed.count(), 1); // one notice for the whole table, not one per cell
        model.appendRows({"late"});
        QCOMPARE(model.index(5, 3).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
    }

    // Every change of the current cell is reported once: by program, keys or clicks; none for
    // a repeat, a cell outside the grid, a change of the row count, Enter or letters. The
    // selection runs from the current cell, the fixed column never shown selected.
    void currentCellAndSelection() {
        auto grid = makeGrid(4, {}, 1);
        QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
        grid->setCurrentCell(1, 2);
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(cells(*grid), "0,0 0,0 "); // the header, while the grid is empty
        grid->addItems(fiveRows);
        QCOMPARE(cells(*grid), "1,1 1,1 "); // the first movable column, unreported
        for (const auto& [row, col] : {std::pair{3, 1}, {3, 1}, {3, 0}, {6, 0}, {2, 4}, {0, 1}})
            grid->setCurrentCell(row, col);
        grid->setSelectionEnd(1, 2);
        QCOMPARE(cells(*grid), "3,0 1,2 !1,1!1,2!2,1!2,2!3,1!3,2");
        QTest::keyClick(grid.get(), Qt::Key_Down); // moves on from a fixed cell
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QTest::keyClicks(grid.get(), "a2");
        QCOMPARE(cells(*grid), "4,1 4,1 !4,1");
        QCOMPARE(changes.count(), 4);
        click(*grid, 2, 3);
        click(*grid, 2, 3);
        QCOMPARE(cells(*grid), "2,3 2,3 !2,3");
        click(*grid, 0, 0);
        grid->setRows(2); // the current row goes away
        grid->setCols(2); // and so does the current column
        QCOMPARE(cells(*grid), "1,1 1,1 ");
        QCOMPARE(changes.count(), 5);
    }

    // A double click reports the cell first; a report's handler may widen the selection to the
    // whole row, and clicks and keys keep that.
    void handlerCanWidenAClickToTheWholeRow() {
        auto grid = makeGrid(3, fiveRows);
        QSignalSpy doubleClicks(grid.get(), &FlexGrid::dblClick);
        connect(grid.get(), &FlexGrid::rowColChange, grid.get(), [&] {
            grid->setCurrentCell(grid->row(), 0);
            grid->setSelectionEnd(grid->row(), 2);
        });
        int rowAtDoubleClick = 0;
        connect(grid.get(), &FlexGrid::dblClick, grid.get(),
                [&] { rowAtDoubleClick = grid->row(); });
        click(*grid, 3, 1, true);
        QCOMPARE(doubleClicks.count(), 1);
        QCOMPARE(rowAtDoubleClick, 3);
        QCOMPARE(cells(*grid), "3,0 3,2 !3,0!3,1!3,2");
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(cells(*grid), "4,0 4,2 !4,0!4,1!4,2");
        click(*grid, 0, 0, true); // below the last row
        QCOMPARE(doubleClicks.count(), 1);
    }

    // Widths in twips at the screen's resolution; a Content column is as wide as its widest
    // text, a Fill column takes the room left, neither below its width in twips.
    void columnWidths() {
        auto grid = makeGrid(4, {"1\t£1,111,111,111.11\t£1"});
        const int dpi = grid->logicalDpiX();
        QCOMPARE(Twips::toPixelsX(-270, grid.get()), -int(std::lround(270 * dpi / 1440.0)));
        grid->horizontalHeader()->resizeSection(0, dpi); // the user makes it one inch
        QCOMPARE(grid->colWidthTwips(0), 1440);
        grid->setColWidthTwips(0, 1200);
        QCOMPARE(grid->columnWidth(0), Twips::toPixelsX(1200, grid.get()));
        for (const int col : {1, 2})
            grid->setColFit(col, ColumnFit::Content);
        grid->setColFit(3, ColumnFit::Fill);
        QVERIFY(grid->columnWidth(1) >=
                QFontMetrics(grid->font()).horizontalAdvance("£1,111,111,111.11"));
        QVERIFY(grid->columnWidth(1) > grid->columnWidth(0));
        QCOMPARE(grid->columnWidth(2), grid->columnWidth(0));
        QCOMPARE(grid->viewport()->width(), grid->columnWidth(0) + grid->columnWidth(1) +
                                                grid->columnWidth(2) + grid->columnWidth(3));
        grid->resize(150, 200);
        QCOMPARE(grid->columnWidth(3), Twips::toPixelsX(1200, grid.get()));
        QVERIFY(grid->widthForAllColumns() >= grid->columnWidth(1) + 3 * grid->columnWidth(0));
    }
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
