// The grid: its model on its own (rows, cells, pictures, the fixed column), and the widget's
// current cell, selection and column widths as mouse, keys and program move them.
#include "platform/flex_grid.h"
#include "platform/flex_grid_model.h"
#include "platform/twips.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QStyle>
#include <cmath>
#include <memory>

using quillon::ColumnFit;
using quillon::FlexGrid;
using quillon::FlexGridModel;
using quillon::Twips;

namespace {

// A shown grid of the given width with one data row per text.
std::unique_ptr<FlexGrid> makeGrid(int cols, const QStringList& rows, int fixedCols = 0) {
    auto grid = std::make_unique<FlexGrid>();
    grid->setCols(cols);
    grid->setFixedCols(fixedCols);
    for (int c = 0; c < cols; ++c) {
        grid->setTextMatrix(0, c, QStringLiteral("H%1").arg(c));
        grid->setColWidthTwips(c, 1200);
    }
    grid->addItems(rows);
    grid->resize(800, 400);
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get()))
        qFatal("The grid never showed");
    return grid;
}

QStringList numberedRows(int count) {
    QStringList rows;
    for (int r = 1; r <= count; ++r)
        rows << QStringLiteral("%1\ta%1\tb%1\tc%1").arg(r);
    return rows;
}

QPoint cellCentre(const FlexGrid& grid, int row, int col) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

bool highlighted(const FlexGrid& grid, int row, int col) {
    return grid.selectionModel()->isSelected(grid.model()->index(row - 1, col));
}

// (row, col) of the current cell, then (rowSel, colSel).
QString cells(const FlexGrid& grid) {
    return QStringLiteral("%1,%2 %3,%4")
        .arg(grid.row())
        .arg(grid.col())
        .arg(grid.rowSel())
        .arg(grid.colSel());
}

QPixmap marker() {
    QPixmap pixmap(12, 10);
    pixmap.fill(Qt::red);
    return pixmap;
}

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT

private slots:
    void modelStaysConsistentWhileFillingAndClearing() {
        FlexGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setCols(4);
        grid.addItems(numberedRows(30));
        grid.setTextMatrix(5, 1, QStringLiteral("changed"));
        grid.setCellPicture(3, 3, marker());
        grid.setFixedCols(1);
        grid.setCurrentCell(10, 2);
        grid.setSelectionEnd(20, 3);
        grid.setCols(3);
        grid.setCols(6);
        grid.setRows(12);
        grid.setRows(1);
        grid.setRows(4);
        grid.addItem(QStringLiteral("x\ty"));
        grid.addItems({});
        grid.setCellPictures({6, 8, 40}, 3, marker());
        QCOMPARE(grid.rows(), 5);
        QCOMPARE(grid.model()->rowCount(), 4);
        QCOMPARE(grid.model()->columnCount(), 6);
    }

    // Grid row r is model row r - 1; a text is split at tabs, parts beyond the last column
    // dropped. Row by row, as a batch and as UTF-8 the same.
    void rowsSplitAtTabs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("notice in the description")
            << "\t\tNo Parts Found!\t" << QStringList{"", "", "No Parts Found!", ""};
        QTest::newRow("too many parts") << "1\t2\t3\t4\t5" << QStringList{"1", "2", "3", "4"};
        QTest::newRow("empty text") << "" << QStringList{"", "", "", ""};
        QTest::newRow("blanks kept, not ASCII")
            << " x \t\tÿ€ " << QStringList{" x ", "", "ÿ€ ", ""};
    }
    void rowsSplitAtTabs() {
        QFETCH(QString, text);
        QFETCH(QStringList, cells);
        FlexGridModel batched, utf8;
        FlexGrid byRow;
        byRow.setCols(4);
        byRow.addItem(QStringLiteral("first\trow"));
        byRow.addItem(text);
        batched.setGridCols(4);
        batched.setText(0, 0, QStringLiteral("Part"));
        batched.appendRows({QStringLiteral("first\trow"), text});
        utf8.setGridCols(4);
        const QByteArray bytes = "first\trow" + text.toUtf8();
        utf8.appendUtf8Rows(bytes, {9, bytes.size()});
        for (const QAbstractItemModel* model :
             {byRow.model(), static_cast<QAbstractItemModel*>(&batched),
              static_cast<QAbstractItemModel*>(&utf8)}) {
            QCOMPARE(model->rowCount(), 2);
            for (int c = 0; c < 4; ++c)
                QCOMPARE(model->index(1, c).data().toString(), cells.at(c));
            QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("first"));
            QCOMPARE(model->index(0, 2).data().toString(), QString());
        }
        QCOMPARE(batched.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Part"));
        QCOMPARE(byRow.textMatrix(2, 2), cells.at(2));
        QCOMPARE(batched.text(2, 3), cells.at(3));
    }

    void rowCountLeavesTheHeaderAlone() {
        FlexGridModel model;
        model.setGridCols(4);
        model.setText(0, 1, QStringLiteral("H1"));
        model.appendRows({QStringLiteral("a\tb\tc"), QStringLiteral("d")});
        model.setPicture(2, 3, marker());
        model.setGridRows(5); // grows with empty rows
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.text(1, 2), QStringLiteral("c"));
        model.setText(4, 1, QStringLiteral("set"));
        QCOMPARE(model.index(3, 1).data().toString(), QStringLiteral("set"));

        model.setGridRows(1); // cleared: the header row alone
        QCOMPARE(model.gridRows(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("H1"));
        QVERIFY(!model.hasPicture(2, 3));
        // The next fill starts afresh: nothing of the earlier rows shows through.
        model.appendRows(
            {QStringLiteral("new"), QStringLiteral("\t\tsecond"), QString(), QString()});
        QCOMPARE(model.text(1, 1) + model.text(2, 0) + model.text(2, 2) + model.text(4, 1),
                 QStringLiteral("second"));
        QVERIFY(!model.hasPicture(2, 3));
        model.setGridRows(0); // never below the header row
        QCOMPARE(model.gridRows(), 1);
    }

    void pictures() {
        FlexGridModel model;
        model.setGridCols(4);
        model.appendRows(numberedRows(3));
        model.setPicture(2, 3, marker());
        QVERIFY(model.hasPicture(2, 3) && !model.hasPicture(2, 2) && !model.hasPicture(3, 3));
        QCOMPARE(model.index(1, 3).data(Qt::DecorationRole).value<QPixmap>().size(),
                 marker().size());
        QVERIFY(!model.index(1, 2).data(Qt::DecorationRole).isValid());
        QCOMPARE(model.text(2, 3), QStringLiteral("c2"));
        model.setPicture(9, 3, marker()); // no such row
        QVERIFY(!model.hasPicture(9, 3));
        model.setPicture(2, 3, QPixmap());
        QVERIFY(!model.hasPicture(2, 3));
        model.setPicture(3, 3, marker());
        model.setGridCols(3);
        model.setGridCols(4);
        QVERIFY(!model.hasPicture(3, 3));
        // Many cells at once; the header row and rows beyond the last are passed over.
        model.setPictures({0, 1, 3, 9}, 3, marker());
        QVERIFY(model.hasPicture(1, 3) && !model.hasPicture(2, 3) && model.hasPicture(3, 3));
        QVERIFY(!model.hasPicture(0, 3) && !model.hasPicture(9, 3));
    }

    void fixedColumnAndAlignment() {
        FlexGridModel model;
        model.setGridCols(4);
        model.appendRows(numberedRows(50));
        model.setFixedCols(1);
        model.setFixedColumnBrushes(Qt::gray, Qt::black);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
        QVERIFY(model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(0, 1).data(Qt::BackgroundRole).isValid());
        model.setFixedCols(0);
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());

        const auto alignmentOf = [&](int row, int col) {
            return Qt::Alignment(model.index(row, col).data(Qt::TextAlignmentRole).toInt());
        };
        QCOMPARE(alignmentOf(0, 0), Qt::AlignLeft | Qt::AlignVCenter);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(changed.count(), 1); // one notice for the whole table, not one per cell
        model.appendRows({QStringLiteral("late")});
        QCOMPARE(alignmentOf(49, 3), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(alignmentOf(50, 0), Qt::AlignRight | Qt::AlignVCenter);
    }

    // The current cell: the header of an empty grid, the first row (unreported) when one comes;
    // a report for every change by the program, none for a repeat, a cell outside the grid or
    // a change of the row count.
    void programMovesAreReportedOncePerChange() {
        auto grid = makeGrid(4, {}, 1);
        QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
        grid->setCurrentCell(1, 0);
        grid->setSelectionEnd(1, 3);
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QCOMPARE(cells(*grid), QStringLiteral("0,0 0,0"));
        grid->addItem(QStringLiteral("1\ta"));
        QCOMPARE(cells(*grid), QStringLiteral("1,1 1,1")); // the first movable column
        grid->addItems(numberedRows(4));
        QList<QString> seen;
        connect(grid.get(), &FlexGrid::rowColChange, grid.get(), [&] { seen << cells(*grid); });
        for (const auto& [row, col] :
             {std::pair{3, 1}, {3, 1}, {3, 2}, {5, 2}, {6, 0}, {2, 4}, {0, 1}, {-1, 0}})
            grid->setCurrentCell(row, col);
        grid->setSelectionEnd(1, 0);
        QCOMPARE(seen, (QList<QString>{"3,1 3,1", "3,2 3,2", "5,2 5,2"}));
        QCOMPARE(cells(*grid), QStringLiteral("5,2 1,0"));
        grid->setRows(3); // the current row goes away
        grid->setCols(1); // and so does the current column
        QCOMPARE(cells(*grid), QStringLiteral("2,0 2,0"));
        grid->setRows(1);
        grid->setCols(4);
        grid->addItem(QStringLiteral("a"));
        QCOMPARE(changes.count(), 3);
        grid->setCurrentCell(1, 3);
        QCOMPARE(changes.count(), 4);
    }

    void selectionBlockRunsFromTheCurrentCell_data() {
        QTest::addColumn<QPoint>("current"); // (col, row)
        QTest::addColumn<QPoint>("end");
        QTest::newRow("down and right") << QPoint(0, 1) << QPoint(2, 3);
        QTest::newRow("up and left") << QPoint(3, 4) << QPoint(1, 2);
        QTest::newRow("single cell") << QPoint(1, 3) << QPoint(1, 3);
    }
    void selectionBlockRunsFromTheCurrentCell() {
        QFETCH(QPoint, current);
        QFETCH(QPoint, end);
        auto grid = makeGrid(4, numberedRows(5));
        grid->setCurrentCell(current.y(), current.x());
        QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
        grid->setSelectionEnd(end.y(), end.x());
        QCOMPARE(changes.count(), 0);
        QCOMPARE(cells(*grid), QStringLiteral("%1,%2 %3,%4")
                                   .arg(current.y())
                                   .arg(current.x())
                                   .arg(end.y())
                                   .arg(end.x()));
        const QRect block(QPoint(std::min(current.x(), end.x()), std::min(current.y(), end.y())),
                          QPoint(std::max(current.x(), end.x()), std::max(current.y(), end.y())));
        for (int r = 1; r <= 5; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(highlighted(*grid, r, c), block.contains(c, r));
        grid->setCurrentCell(5, 3); // collapses the block to that cell
        QCOMPARE(cells(*grid), QStringLiteral("5,3 5,3"));
        QCOMPARE(highlighted(*grid, end.y(), end.x()), QPoint(3, 5) == end);
    }

    // Keys, clicks and double clicks move the current cell and report it; Enter, letters and
    // places below the last row don't.
    void mouseAndKeysMoveTheCurrentCell() {
        auto grid = makeGrid(4, numberedRows(3));
        grid->setCurrentCell(1, 0);
        grid->setSelectionEnd(3, 3);
        QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
        QSignalSpy doubleClicks(grid.get(), &FlexGrid::dblClick);
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(cells(*grid), QStringLiteral("2,1 2,1"));
        QVERIFY(highlighted(*grid, 2, 1) && !highlighted(*grid, 1, 0) && !highlighted(*grid, 3, 3));
        QTest::keyClick(grid.get(), Qt::Key_Down);
        QTest::keyClick(grid.get(), Qt::Key_Down); // already on the last row
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QTest::keyClicks(grid.get(), QStringLiteral("a2"));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(cells(*grid), QStringLiteral("3,1 3,1"));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 2, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 2, 2));
        QCOMPARE(changes.count(), 4);
        QCOMPARE(cells(*grid), QStringLiteral("2,2 2,2"));
        int rowAtDoubleClick = 0;
        connect(grid.get(), &FlexGrid::dblClick, grid.get(),
                [&] { rowAtDoubleClick = grid->row(); });
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 1, 0));
        QCOMPARE(doubleClicks.count(), 1);
        QCOMPARE(rowAtDoubleClick, 1); // the current cell moved there first
        const QPoint below(5, grid->viewport()->height() - 3);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(doubleClicks.count(), 1);
        QCOMPARE(changes.count(), 5);
        QCOMPARE(cells(*grid), QStringLiteral("1,0 1,0"));
    }

    // A report's handler may widen the selection to the whole row; clicks and keys keep that,
    // and the fixed column is current but never highlighted.
    void handlerCanWidenAClickToTheWholeRow() {
        auto grid = makeGrid(8, numberedRows(4), 1);
        connect(grid.get(), &FlexGrid::rowColChange, grid.get(), [&] {
            grid->setCurrentCell(grid->row(), 0);
            grid->setSelectionEnd(grid->row(), 7);
        });
        grid->setCurrentCell(1, 3);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 3, 4));
        QCOMPARE(cells(*grid), QStringLiteral("3,0 3,7"));
        QVERIFY(!highlighted(*grid, 3, 0));
        for (int c = 1; c < 8; ++c)
            QVERIFY(highlighted(*grid, 3, c) && !highlighted(*grid, 1, c));
        QTest::keyClick(grid.get(), Qt::Key_Down); // the arrow keys move on from a fixed cell
        QCOMPARE(cells(*grid), QStringLiteral("4,0 4,7"));
        QVERIFY(highlighted(*grid, 4, 6) && !highlighted(*grid, 3, 6));
    }

    void widthsInTwips() {
        auto grid = makeGrid(4, numberedRows(2));
        const int dpi = grid->logicalDpiX();
        for (const int twips : {0, 7, 270, 1200, 5800}) {
            const int pixels = int(std::lround(twips * dpi / 1440.0));
            QCOMPARE(Twips::toPixelsX(twips, grid.get()), pixels);
            QCOMPARE(Twips::toPixelsX(-twips, grid.get()), -pixels);
            QCOMPARE(Twips::toPixelsY(twips, grid.get()),
                     int(std::lround(twips * grid->logicalDpiY() / 1440.0)));
            grid->setColWidthTwips(3, twips);
            QCOMPARE(grid->columnWidth(3), pixels);
            QVERIFY(std::abs(grid->colWidthTwips(3) - twips) <= 1440 / dpi);
        }
        QCOMPARE(Twips::fromPixelsY(grid->logicalDpiY(), grid.get()), 1440);
        grid->setColWidthTwips(4, 800); // no such column: nothing happens
        QCOMPARE(grid->colWidthTwips(4), 0);
        QCOMPARE(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
        grid->horizontalHeader()->resizeSection(1, dpi); // the user makes it one inch
        QCOMPARE(grid->colWidthTwips(1), 1440);
    }

    void fittedColumnWidths_data() {
        QTest::addColumn<ColumnFit>("fit"); // of column 1, between a Fixed and a Content column
        QTest::addColumn<QString>("text");  // of column 1; "picture" puts a 90 pixel wide one there
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<QString>("width"); // what column 1 gets: "least", "text" or "room"
        const QString amount = QStringLiteral("£1,111,111,111.11");
        QTest::newRow("amount wider than its least")
            << ColumnFit::Content << amount << 300 << "text";
        QTest::newRow("short amount") << ColumnFit::Content << "£1" << 300 << "least";
        QTest::newRow("beyond Latin")
            << ColumnFit::Content << "Ae\u0301\u6f22\u5b57\u6f22\u5b57\u0416\u0416" << 300
            << "text";
        QTest::newRow("picture") << ColumnFit::Content << "picture" << 300 << "text";
        QTest::newRow("fill with room") << ColumnFit::Fill << amount << 900 << "room";
        QTest::newRow("fill without room") << ColumnFit::Fill << amount << 150 << "least";
    }
    void fittedColumnWidths() {
        QFETCH(ColumnFit, fit);
        QFETCH(QString, text);
        QFETCH(int, gridWidth);
        QFETCH(QString, width);
        auto grid = makeGrid(3, {QStringLiteral("a\t\tb")});
        grid->setColFit(1, fit);
        grid->setColFit(2, ColumnFit::Content);
        grid->setColWidthTwips(1, 800);
        const QPixmap picture(90, 10);
        const bool isPicture = text == u"picture";
        grid->addItem(isPicture ? QString() : u'\t' + text);
        if (isPicture)
            grid->setCellPicture(2, 1, picture);
        grid->resize(gridWidth, 200);
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));

        const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
        const int textWidth =
            (isPicture ? picture.width() : QFontMetrics(grid->font()).horizontalAdvance(text)) +
            margins;
        const int least = Twips::toPixelsX(800, grid.get());
        const int room = grid->viewport()->width() - grid->columnWidth(0) - grid->columnWidth(2);
        const int got = grid->columnWidth(1);
        if (width == u"text")
            QVERIFY2(got >= textWidth && got <= textWidth + 2 && got > least,
                     qPrintable(QStringLiteral("%1 %2 %3").arg(got).arg(textWidth).arg(least)));
        else
            QCOMPARE(got, width == u"room" ? room : least);
        QVERIFY(grid->columnWidth(2) >= grid->horizontalHeader()->sectionSizeHint(2));
        QCOMPARE(grid->columnWidth(0), Twips::toPixelsX(1200, grid.get()));
        // A window sized by the grid shows every column at the widths it wants.
        QVERIFY(grid->widthForAllColumns() >= got + grid->columnWidth(0) + grid->columnWidth(2) ||
                width == u"room");
    }
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
