#include "platform/flex_grid.h"
#include "platform/twips.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

using quillon::ColumnFit;
using quillon::FlexGrid;
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
    for (const QString& row : rows) {
        grid->addItem(row);
    }
    grid->resize(800, 400);
    grid->show();
    return grid;
}

QStringList numberedRows(int count) {
    QStringList rows;
    for (int r = 1; r <= count; ++r) {
        rows << QStringLiteral("%1\ta%1\tb%1\tc%1").arg(r);
    }
    return rows;
}

QPoint cellCentre(const FlexGrid& grid, int row, int col) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

bool highlighted(const FlexGrid& grid, int row, int col) {
    return grid.selectionModel()->isSelected(grid.model()->index(row - 1, col));
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
    void modelStaysConsistentWhileFillingAndClearing();
    void addItemSplitsAtTabs_data();
    void addItemSplitsAtTabs();
    void setRowsOneLeavesTheHeaderAlone();
    void setRowsGrowsWithEmptyRows();
    void emptyGridHasTheHeaderAsCurrentCell();
    void firstRowBecomesCurrentWithoutAReport();
    void programMovesAreReportedOncePerChange();
    void keyboardMovesAreReported();
    void mouseClicksAreReported();
    void typingLettersDoesNotMoveTheCurrentCell();
    void rowCountChangesAreNotReported();
    void selectionBlockRunsFromTheCurrentCell_data();
    void selectionBlockRunsFromTheCurrentCell();
    void handlerCanWidenAClickToTheWholeRow();
    void cellPictures();
    void fixedColumnIsAddressableButNotHighlighted();
    void dataAlignmentIsOneProperty();
    void columnWidthsRoundTripInTwips_data();
    void columnWidthsRoundTripInTwips();
    void userResizedColumnReadsBackInTwips();
    void fittedColumnWidths_data();
    void fittedColumnWidths();
    void doubleClickOnACellRaisesDblClick();
    void twipsConvertByLogicalResolution_data();
    void twipsConvertByLogicalResolution();
};

void TestFlexGrid::modelStaysConsistentWhileFillingAndClearing() {
    FlexGrid grid;
    QAbstractItemModelTester tester(grid.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setCols(4);
    for (const QString& row : numberedRows(30)) {
        grid.addItem(row);
    }
    grid.setTextMatrix(0, 2, QStringLiteral("Description"));
    grid.setTextMatrix(5, 1, QStringLiteral("changed"));
    grid.setCellPicture(3, 3, marker());
    grid.setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid.setFixedCols(1);
    grid.setCurrentCell(10, 2);
    grid.setSelectionEnd(20, 3);
    grid.setCols(3);
    grid.setCols(6);
    grid.setRows(12);
    grid.setRows(1);
    grid.setRows(4);
    grid.addItem(QStringLiteral("x\ty"));
    grid.addItems(numberedRows(7));
    grid.addItems({});
    grid.setCellPictures({6, 8, 40}, 3, marker());
    QCOMPARE(grid.rows(), 12);
    QCOMPARE(grid.model()->rowCount(), 11);
    QCOMPARE(grid.model()->columnCount(), 6);
}

void TestFlexGrid::addItemSplitsAtTabs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("three parts") << QStringLiteral("a\tb\tc") << QStringList{"a", "b", "c", ""};
    QTest::newRow("notice in the description")
        << QStringLiteral("\t\tNo Parts Found!\t") << QStringList{"", "", "No Parts Found!", ""};
    QTest::newRow("too many parts are dropped")
        << QStringLiteral("1\t2\t3\t4\t5\t6") << QStringList{"1", "2", "3", "4"};
    QTest::newRow("one part") << QStringLiteral("only") << QStringList{"only", "", "", ""};
    QTest::newRow("empty text") << QString() << QStringList{"", "", "", ""};
    QTest::newRow("blanks kept") << QStringLiteral(" x \t\ty ") << QStringList{" x ", "", "y ", ""};
}

void TestFlexGrid::addItemSplitsAtTabs() {
    QFETCH(QString, text);
    QFETCH(QStringList, cells);

    // Row by row, and the same rows as one batch.
    FlexGrid byRow;
    FlexGrid batched;
    for (FlexGrid* grid : {&byRow, &batched}) {
        grid->setCols(4);
    }
    byRow.addItem(QStringLiteral("first\trow"));
    byRow.addItem(text);
    batched.addItems({QStringLiteral("first\trow"), text});

    for (const FlexGrid* grid : {&byRow, &batched}) {
        QCOMPARE(grid->rows(), 3);
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(grid->textMatrix(2, c), cells.at(c));
            QCOMPARE(grid->model()->index(1, c).data().toString(), cells.at(c));
        }
        QCOMPARE(grid->textMatrix(1, 0), QStringLiteral("first"));
        QCOMPARE(grid->textMatrix(1, 2), QString());
        QCOMPARE(grid->textMatrix(0, 0), QString());
    }
}

void TestFlexGrid::setRowsOneLeavesTheHeaderAlone() {
    auto grid = makeGrid(4, numberedRows(5));
    grid->setCellPicture(2, 3, marker());
    grid->setCurrentCell(4, 2);

    grid->setRows(1);

    QCOMPARE(grid->rows(), 1);
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->textMatrix(0, 1), QStringLiteral("H1"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("H1"));
    QCOMPARE(grid->textMatrix(1, 0), QString());
    QVERIFY(!grid->hasCellPicture(2, 3));

    // The next fill starts afresh: nothing of the earlier rows shows through.
    grid->addItem(QStringLiteral("new"));
    grid->addItem(QStringLiteral("\t\tsecond"));
    QCOMPARE(grid->textMatrix(1, 0), QStringLiteral("new"));
    QCOMPARE(grid->textMatrix(1, 1), QString());
    QCOMPARE(grid->textMatrix(2, 0), QString());
    QCOMPARE(grid->textMatrix(2, 2), QStringLiteral("second"));
    QVERIFY(!grid->hasCellPicture(2, 3));
}

void TestFlexGrid::setRowsGrowsWithEmptyRows() {
    FlexGrid grid;
    grid.setCols(3);
    grid.addItem(QStringLiteral("a\tb\tc"));
    grid.setRows(4);
    QCOMPARE(grid.rows(), 4);
    QCOMPARE(grid.textMatrix(1, 2), QStringLiteral("c"));
    QCOMPARE(grid.textMatrix(3, 0), QString());
    grid.setTextMatrix(3, 1, QStringLiteral("set"));
    QCOMPARE(grid.textMatrix(3, 1), QStringLiteral("set"));

    grid.addItem(QStringLiteral("after"));
    QCOMPARE(grid.rows(), 5);
    QCOMPARE(grid.textMatrix(4, 0), QStringLiteral("after"));

    grid.setRows(0); // never below the header row
    QCOMPARE(grid.rows(), 1);
}

void TestFlexGrid::emptyGridHasTheHeaderAsCurrentCell() {
    auto grid = makeGrid(4, {});
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);

    grid->setCurrentCell(1, 0);
    grid->setCurrentCell(0, 2);
    grid->setSelectionEnd(1, 3);
    QTest::keyClick(grid.get(), Qt::Key_Down);

    QCOMPARE(grid->row(), 0);
    QCOMPARE(grid->col(), 0);
    QCOMPARE(grid->rowSel(), 0);
    QCOMPARE(grid->colSel(), 0);
    QCOMPARE(changes.count(), 0);
}

void TestFlexGrid::firstRowBecomesCurrentWithoutAReport() {
    auto grid = makeGrid(4, {});
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);

    grid->addItem(QStringLiteral("\t\tNo Parts Found!\t"));
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->col(), 0);
    grid->setCurrentCell(1, 0);
    QCOMPARE(changes.count(), 0);

    // With a fixed column the first movable column is current.
    auto fixed = makeGrid(4, {}, 1);
    fixed->addItem(QStringLiteral("1\ta"));
    QCOMPARE(fixed->row(), 1);
    QCOMPARE(fixed->col(), 1);
}

void TestFlexGrid::programMovesAreReportedOncePerChange() {
    auto grid = makeGrid(4, numberedRows(5));
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
    QList<QPoint> seen;
    connect(grid.get(), &FlexGrid::rowColChange, grid.get(),
            [&] { seen << QPoint(grid->col(), grid->row()); });

    grid->setCurrentCell(3, 1);
    grid->setCurrentCell(3, 1);
    grid->setCurrentCell(3, 2);
    grid->setCurrentCell(5, 2);
    grid->setSelectionEnd(1, 0);
    grid->setCurrentCell(6, 0); // beyond the last row
    grid->setCurrentCell(2, 4); // beyond the last column
    grid->setCurrentCell(0, 1); // the header row isn't a cell to stand in
    grid->setCurrentCell(-1, 0);

    QCOMPARE(changes.count(), 3);
    QCOMPARE(seen, (QList<QPoint>{{1, 3}, {2, 3}, {2, 5}}));
    QCOMPARE(grid->row(), 5);
    QCOMPARE(grid->col(), 2);
}

void TestFlexGrid::keyboardMovesAreReported() {
    auto grid = makeGrid(4, numberedRows(3));
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->setCurrentCell(1, 0);
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(grid->row(), 2);
    QCOMPARE(grid->col(), 0);
    QVERIFY(highlighted(*grid, 2, 0));
    QVERIFY(!highlighted(*grid, 1, 0));

    QTest::keyClick(grid.get(), Qt::Key_Right);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(grid->col(), 1);
    QCOMPARE(grid->rowSel(), 2);
    QCOMPARE(grid->colSel(), 1);

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Down); // already on the last row
    QCOMPARE(changes.count(), 3);
    QCOMPARE(grid->row(), 3);

    // Enter is no double click and moves nothing.
    QSignalSpy doubleClicks(grid.get(), &FlexGrid::dblClick);
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QCOMPARE(doubleClicks.count(), 0);
    QCOMPARE(changes.count(), 3);
}

void TestFlexGrid::mouseClicksAreReported() {
    auto grid = makeGrid(4, numberedRows(4));
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->setCurrentCell(1, 0);
    grid->setSelectionEnd(4, 3);
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 3, 2));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(grid->row(), 3);
    QCOMPARE(grid->col(), 2);
    // The click leaves the clicked cell alone selected.
    QCOMPARE(grid->rowSel(), 3);
    QCOMPARE(grid->colSel(), 2);
    QVERIFY(highlighted(*grid, 3, 2));
    QVERIFY(!highlighted(*grid, 4, 3));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 3, 2));
    QCOMPARE(changes.count(), 1);
    // Another cell of the same row is another cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 3, 0));
    QCOMPARE(changes.count(), 2);
    // Below the last row there is no cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(5, grid->viewport()->height() - 3));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(grid->row(), 3);
}

void TestFlexGrid::typingLettersDoesNotMoveTheCurrentCell() {
    auto grid = makeGrid(4, {QStringLiteral("apple"), QStringLiteral("banana")});
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
    QTest::keyClicks(grid.get(), QStringLiteral("ba"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->textMatrix(1, 0), QStringLiteral("apple"));
}

void TestFlexGrid::rowCountChangesAreNotReported() {
    auto grid = makeGrid(4, numberedRows(5));
    grid->setCurrentCell(5, 1);
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);

    grid->setRows(3); // the current row goes away
    QCOMPARE(grid->row(), 2);
    grid->setCols(1); // and so does the current column
    QCOMPARE(grid->col(), 0);
    grid->setRows(1);
    QCOMPARE(grid->row(), 0);
    grid->setCols(4);
    grid->addItem(QStringLiteral("a"));
    QCOMPARE(changes.count(), 0);

    // After all that, a real move is reported again.
    grid->setCurrentCell(1, 3);
    QCOMPARE(changes.count(), 1);
}

void TestFlexGrid::selectionBlockRunsFromTheCurrentCell_data() {
    QTest::addColumn<QPoint>("current"); // (col, row)
    QTest::addColumn<QPoint>("end");

    QTest::newRow("down and right") << QPoint(0, 1) << QPoint(2, 3);
    QTest::newRow("up and left") << QPoint(3, 4) << QPoint(1, 2);
    QTest::newRow("whole row") << QPoint(0, 2) << QPoint(3, 2);
    QTest::newRow("single cell") << QPoint(1, 3) << QPoint(1, 3);
}

void TestFlexGrid::selectionBlockRunsFromTheCurrentCell() {
    QFETCH(QPoint, current);
    QFETCH(QPoint, end);

    auto grid = makeGrid(4, numberedRows(5));
    grid->setCurrentCell(current.y(), current.x());
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
    grid->setSelectionEnd(end.y(), end.x());

    QCOMPARE(changes.count(), 0);
    QCOMPARE(grid->row(), current.y());
    QCOMPARE(grid->col(), current.x());
    QCOMPARE(grid->rowSel(), end.y());
    QCOMPARE(grid->colSel(), end.x());
    const QRect block(QPoint(std::min(current.x(), end.x()), std::min(current.y(), end.y())),
                      QPoint(std::max(current.x(), end.x()), std::max(current.y(), end.y())));
    for (int r = 1; r <= 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(highlighted(*grid, r, c), block.contains(c, r));
        }
    }

    // Moving the current cell collapses the block to that cell.
    grid->setCurrentCell(5, 3);
    QCOMPARE(grid->rowSel(), 5);
    QCOMPARE(grid->colSel(), 3);
    QVERIFY(!highlighted(*grid, end.y(), end.x()) || QPoint(3, 5) == end);
}

void TestFlexGrid::handlerCanWidenAClickToTheWholeRow() {
    auto grid = makeGrid(8, numberedRows(4), 1);
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    int reports = 0;
    connect(grid.get(), &FlexGrid::rowColChange, grid.get(), [&] {
        ++reports;
        grid->setCurrentCell(grid->row(), 0);
        grid->setSelectionEnd(grid->row(), 7);
    });
    grid->setCurrentCell(1, 0);
    grid->setSelectionEnd(1, 7);
    reports = 0;

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 3, 4));

    QVERIFY(reports >= 1);
    QCOMPARE(grid->row(), 3);
    QCOMPARE(grid->col(), 0);
    QCOMPARE(grid->rowSel(), 3);
    QCOMPARE(grid->colSel(), 7);
    for (int c = 1; c < 8; ++c) {
        QVERIFY(highlighted(*grid, 3, c));
        QVERIFY(!highlighted(*grid, 1, c));
    }

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(grid->row(), 4);
    QCOMPARE(grid->colSel(), 7);
    QVERIFY(highlighted(*grid, 4, 6));
    QVERIFY(!highlighted(*grid, 3, 6));
}

void TestFlexGrid::cellPictures() {
    auto grid = makeGrid(4, numberedRows(3));
    grid->setCellPicture(2, 3, marker());

    QVERIFY(grid->hasCellPicture(2, 3));
    QVERIFY(!grid->hasCellPicture(2, 2));
    QVERIFY(!grid->hasCellPicture(3, 3));
    const QVariant shown = grid->model()->index(1, 3).data(Qt::DecorationRole);
    QCOMPARE(shown.value<QPixmap>().size(), marker().size());
    QVERIFY(!grid->model()->index(1, 2).data(Qt::DecorationRole).isValid());
    QCOMPARE(grid->textMatrix(2, 3), QStringLiteral("c2"));

    grid->setCellPicture(9, 3, marker()); // no such row
    QVERIFY(!grid->hasCellPicture(9, 3));

    grid->setCellPicture(2, 3, QPixmap());
    QVERIFY(!grid->hasCellPicture(2, 3));

    grid->setCellPicture(3, 3, marker());
    grid->setCols(3);
    grid->setCols(4);
    QVERIFY(!grid->hasCellPicture(3, 3));

    // Many cells at once; the header row and rows beyond the last are passed over.
    grid->setCellPictures({0, 1, 3, 9}, 3, marker());
    QVERIFY(grid->hasCellPicture(1, 3));
    QVERIFY(!grid->hasCellPicture(2, 3));
    QVERIFY(grid->hasCellPicture(3, 3));
    QVERIFY(!grid->hasCellPicture(0, 3));
    QVERIFY(!grid->hasCellPicture(9, 3));
}

void TestFlexGrid::fixedColumnIsAddressableButNotHighlighted() {
    auto grid = makeGrid(4, {QStringLiteral("1\tA\tB\tC"), QStringLiteral("2\tD\tE\tF")}, 1);
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QCOMPARE(grid->fixedCols(), 1);
    QCOMPARE(grid->textMatrix(2, 0), QStringLiteral("2"));
    grid->setTextMatrix(2, 0, QStringLiteral("9"));
    QCOMPARE(grid->textMatrix(2, 0), QStringLiteral("9"));
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("9"));
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsSelectable));
    QVERIFY(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsSelectable);
    QVERIFY(grid->model()->index(0, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(!grid->model()->index(0, 1).data(Qt::BackgroundRole).isValid());

    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
    grid->setCurrentCell(1, 0);
    grid->setSelectionEnd(1, 3);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(grid->col(), 0);
    QVERIFY(!highlighted(*grid, 1, 0));
    QVERIFY(highlighted(*grid, 1, 1));
    QVERIFY(highlighted(*grid, 1, 3));

    // The arrow keys move on from a fixed cell.
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(grid->row(), 2);
    QCOMPARE(grid->col(), 0);

    grid->setFixedCols(0);
    QVERIFY(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsSelectable);
    QVERIFY(!grid->model()->index(0, 0).data(Qt::BackgroundRole).isValid());
}

void TestFlexGrid::dataAlignmentIsOneProperty() {
    auto grid = makeGrid(4, numberedRows(50));
    const auto alignmentOf = [&](int row, int col) {
        return Qt::Alignment(
            grid->model()->index(row - 1, col).data(Qt::TextAlignmentRole).toInt());
    };
    QCOMPARE(grid->dataAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
    QCOMPARE(alignmentOf(1, 0), Qt::AlignLeft | Qt::AlignVCenter);

    QSignalSpy changed(grid->model(), &QAbstractItemModel::dataChanged);
    grid->setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(changed.count(), 1); // one notice for the whole table, not one per cell
    QCOMPARE(alignmentOf(1, 0), Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(alignmentOf(50, 3), Qt::AlignRight | Qt::AlignVCenter);

    grid->addItem(QStringLiteral("late"));
    QCOMPARE(alignmentOf(51, 0), Qt::AlignRight | Qt::AlignVCenter);
}

void TestFlexGrid::columnWidthsRoundTripInTwips_data() {
    QTest::addColumn<int>("twips");
    for (const int twips : {270, 400, 670, 800, 1200, 1800, 3400, 5800}) {
        QTest::addRow("%d", twips) << twips;
    }
}

void TestFlexGrid::columnWidthsRoundTripInTwips() {
    QFETCH(int, twips);
    FlexGrid grid;
    grid.setCols(8);
    grid.setColWidthTwips(3, twips);

    const double pixels = twips * grid.logicalDpiX() / 1440.0;
    QCOMPARE(grid.columnWidth(3), static_cast<int>(std::lround(pixels)));
    const double twipsPerPixel = 1440.0 / grid.logicalDpiX();
    QVERIFY2(std::abs(grid.colWidthTwips(3) - twips) <= twipsPerPixel,
             qPrintable(QString::number(grid.colWidthTwips(3))));

    grid.setColWidthTwips(8, twips); // no such column: nothing happens
    QCOMPARE(grid.colWidthTwips(8), 0);
}

void TestFlexGrid::userResizedColumnReadsBackInTwips() {
    auto grid = makeGrid(4, numberedRows(2));
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    grid->horizontalHeader()->resizeSection(1, grid->logicalDpiX()); // one inch
    QCOMPARE(grid->colWidthTwips(1), 1440);
}

void TestFlexGrid::fittedColumnWidths_data() {
    QTest::addColumn<ColumnFit>("fit"); // of column 1, between a Fixed and a Content column
    QTest::addColumn<QString>("text");  // of column 1; "picture" puts a 90 pixel wide one there
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<QString>("width"); // what column 1 gets: "least", "text" or "room"
    const QString amount = QStringLiteral("£1,111,111,111.11");
    QTest::newRow("amount wider than its least") << ColumnFit::Content << amount << 300 << "text";
    QTest::newRow("short amount") << ColumnFit::Content << "£1" << 300 << "least";
    QTest::newRow("beyond Latin") << ColumnFit::Content
                                  << "Ae\u0301\u6f22\u5b57\u6f22\u5b57\u6f22\u5b57\u0416\u0416"
                                  << 300 << "text";
    QTest::newRow("picture") << ColumnFit::Content << "picture" << 300 << "text";
    QTest::newRow("fill with room") << ColumnFit::Fill << amount << 900 << "room";
    QTest::newRow("fill without room") << ColumnFit::Fill << amount << 150 << "least";
}

void TestFlexGrid::fittedColumnWidths() {
    QFETCH(ColumnFit, fit);
    QFETCH(QString, text);
    QFETCH(int, gridWidth);
    QFETCH(QString, width);
    auto grid = makeGrid(3, {QStringLiteral("a\t\tb")});
    grid->setColFit(1, fit);
    grid->setColFit(2, ColumnFit::Content);
    grid->setColWidthTwips(1, 800);
    grid->addItem(text == QLatin1String("picture") ? QString() : QStringLiteral("\t") + text);
    QPixmap picture(90, 10);
    if (text == QLatin1String("picture"))
        grid->setCellPicture(2, 1, picture);
    grid->resize(gridWidth, 200);
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));

    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
    const int textWidth = text == QLatin1String("picture")
                              ? picture.width() + margins
                              : QFontMetrics(grid->font()).horizontalAdvance(text) + margins;
    const int least = Twips::toPixelsX(800, grid.get());
    const int room = grid->viewport()->width() - grid->columnWidth(0) - grid->columnWidth(2);
    const int got = grid->columnWidth(1);
    if (width == QLatin1String("text"))
        QVERIFY2(got >= textWidth && got <= textWidth + 2 && got > least,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(got).arg(textWidth).arg(least)));
    else
        QCOMPARE(got, width == QLatin1String("room") ? room : least);
    QVERIFY(grid->columnWidth(2) >= grid->horizontalHeader()->sectionSizeHint(2));
    QCOMPARE(grid->columnWidth(0), Twips::toPixelsX(1200, grid.get()));
    // A window sized by the grid shows every column at the widths it wants.
    QVERIFY(grid->widthForAllColumns() >= got + grid->columnWidth(0) + grid->columnWidth(2) ||
            width == QLatin1String("room"));
}

void TestFlexGrid::doubleClickOnACellRaisesDblClick() {
    auto grid = makeGrid(4, numberedRows(3));
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QSignalSpy doubleClicks(grid.get(), &FlexGrid::dblClick);
    QSignalSpy changes(grid.get(), &FlexGrid::rowColChange);
    int rowAtDoubleClick = 0;
    connect(grid.get(), &FlexGrid::dblClick, grid.get(), [&] { rowAtDoubleClick = grid->row(); });

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(*grid, 2, 1));
    QCOMPARE(doubleClicks.count(), 1);
    QCOMPARE(rowAtDoubleClick, 2); // the current cell moved there first
    QCOMPARE(changes.count(), 1);

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       QPoint(5, grid->viewport()->height() - 3));
    QCOMPARE(doubleClicks.count(), 1);
}

void TestFlexGrid::twipsConvertByLogicalResolution_data() {
    QTest::addColumn<int>("twips");
    for (const int twips : {0, 1, 7, 8, 15, 270, 1200, 1440, 12375}) {
        QTest::addRow("%d", twips) << twips;
    }
}

void TestFlexGrid::twipsConvertByLogicalResolution() {
    QFETCH(int, twips);
    QWidget widget;
    const int dpiX = widget.logicalDpiX();
    const int dpiY = widget.logicalDpiY();
    const auto expected = [](int value, int dpi) {
        return static_cast<int>(std::lround(value * static_cast<double>(dpi) / 1440.0));
    };
    QCOMPARE(Twips::toPixelsX(twips, &widget), expected(twips, dpiX));
    QCOMPARE(Twips::toPixelsY(twips, &widget), expected(twips, dpiY));
    // Negative lengths (scroll positions) round the same way as positive ones.
    QCOMPARE(Twips::toPixelsX(-twips, &widget), -expected(twips, dpiX));
    QCOMPARE(Twips::toPixelsX(twips), Twips::toPixelsX(twips, &widget));

    const int pixels = Twips::toPixelsX(twips, &widget);
    QVERIFY(std::abs(Twips::fromPixelsX(pixels, &widget) - twips) <= 1440 / dpiX);
    QCOMPARE(Twips::fromPixelsX(dpiX, &widget), 1440);
    QCOMPARE(Twips::fromPixelsY(dpiY, &widget), 1440);
}

QTEST_MAIN(TestFlexGrid)
#include "test_flex_grid.moc"
