// The grid: its model on its own (rows, cells, pictures, the fixed column), and the widget's
// current cell, selection and column widths as mouse, keys and program move them.
#include "platform/flex_grid.h"
#include "platform/flex_grid_model.h"
#include "platform/twips.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyle>
#include <cmath>
#include <memory>

using namespace quillon;

namespace {

// A model of four columns with one data row per text.
std::unique_ptr<FlexGridModel> makeModel(const QStringList& rows) {
    auto model = std::make_unique<FlexGridModel>();
    model->setGridCols(4);
    model->setText(0, 1, "H1");
    model->appendRows(rows);
    return model;
}

// A shown grid of the given width, its columns 1200 twips wide, with one data row per text.
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

const QStringList fiveRows = {"1\ta1\tb1\tc1", "2\ta2", "3\ta3", "4\ta4", "5\ta5"};

// The current cell "row,col", then the other end of the selection; "!" marks the cells shown
// selected.
QString cells(const FlexGrid& grid) {
    QStringList selected;
    for (const QModelIndex& index : grid.selectionModel()->selectedIndexes())
        selected << QStringLiteral("!%1,%2").arg(index.row() + 1).arg(index.column());
    selected.sort();
    return QStringLiteral("%1,%2 %3,%4 ")
               .arg(grid.row())
               .arg(grid.col())
               .arg(grid.rowSel())
               .arg(grid.colSel()) +
           selected.join(QString());
}

void click(FlexGrid& grid, int row, int col, bool twice = false) {
    const QRect cell = grid.visualRect(grid.model()->index(row - 1, col));
    const QPoint at = row > 0 ? cell.center() : QPoint(5, grid.viewport()->height() - 3);
    twice ? QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at)
          : QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
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
    // Grid row r is model row r - 1 and row 0 the header; a text is split at tabs, parts beyond
    // the last column dropped; rows given as texts and as UTF-8 are the same.
    void rowsSplitAtTabs() {
        const QStringList texts = {"a\tb", "\t\tNo Parts Found!\t", "1\t2\t3\t4\t5", "",
                                   " x \tÿ€ "};
        auto model = makeModel(texts);
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        FlexGridModel utf8;
        utf8.setGridCols(4);
        const QByteArray joined = texts.join(QString()).toUtf8();
        std::vector<qsizetype> ends;
        for (const QString& text : texts)
            ends.push_back((ends.empty() ? 0 : ends.back()) + text.toUtf8().size());
        utf8.appendUtf8Rows(joined, ends);
        const QStringList expected = {"a|b||", "||No Parts Found!|", "1|2|3|4", "|||", " x |ÿ€ ||"};
        for (const FlexGridModel* m : {model.get(), &utf8}) {
            QCOMPARE(m->rowCount(), 5);
            for (int r = 0; r < 5; ++r) {
                QStringList row;
                for (int c = 0; c < 4; ++c)
                    row << m->index(r, c).data().toString();
                QCOMPARE(row.join(u'|'), expected[r]);
                QCOMPARE(m->text(r + 1, 1), row[1]);
            }
        }
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "H1");
        QCOMPARE(model->text(0, 1), "H1");
    }

    void rowCountLeavesTheHeaderAlone() {
        auto model = makeModel({"a\tb\tc", "d"});
        QAbstractItemModelTester tester(model.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model->setPicture(2, 3, marker());
        model->setGridRows(5); // grows with empty rows
        model->setText(4, 1, "set");
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->index(3, 1).data().toString() + model->text(1, 2), "setc");
        model->setGridRows(1); // cleared: the header row alone
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "H1");
        // The next fill starts afresh: nothing of the earlier rows shows through.
        model->appendRows({"new", "\t\tsecond", "", ""});
        QCOMPARE(model->text(1, 1) + model->text(2, 0) + model->text(2, 2) + model->text(4, 1),
                 "second");
        QVERIFY(!model->hasPicture(2, 3));
        model->setGridRows(0); // never below the header row
        QCOMPARE(model->gridRows(), 1);
    }

    void pictures() {
        auto model = makeModel(fiveRows);
        model->setPicture(2, 3, marker());
        QVERIFY(model->hasPicture(2, 3) && !model->hasPicture(2, 2) && !model->hasPicture(3, 3));
        QCOMPARE(model->index(1, 3).data(Qt::DecorationRole).value<QPixmap>().size(),
                 QSize(12, 10));
        QVERIFY(!model->index(1, 2).data(Qt::DecorationRole).isValid());
        model->setPicture(9, 3, marker()); // no such row
        model->setPicture(2, 3, QPixmap());
        QVERIFY(!model->hasPicture(9, 3) && !model->hasPicture(2, 3));
        model->setPicture(3, 3, marker());
        model->setGridCols(3); // the column goes, and its pictures with it
        model->setGridCols(4);
        QVERIFY(!model->hasPicture(3, 3));
        model->setPictures({0, 1, 3, 9}, 3, marker()); // the header and rows beyond are passed over
        QVERIFY(model->hasPicture(1, 3) && !model->hasPicture(2, 3) && model->hasPicture(3, 3));
        QVERIFY(!model->hasPicture(0, 3) && !model->hasPicture(9, 3));
    }

    void fixedColumnAndAlignment() {
        auto model = makeModel(fiveRows);
        model->setFixedCols(1);
        model->setFixedColumnBrushes(Qt::gray, Qt::black);
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model->flags(model->index(0, 1)) & Qt::ItemIsSelectable);
        QVERIFY(model->index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model->index(0, 1).data(Qt::BackgroundRole).isValid());
        model->setFixedCols(0);
        QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsSelectable);
        QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
        model->setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(changed.count(), 1); // one notice for the whole table, not one per cell
        model->appendRows({"late"});
        for (const int row : {0, 5})
            QCOMPARE(model->index(row, 3).data(Qt::TextAlignmentRole).toInt(),
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
        click(*grid, 0, 0); // below the last row
        QCOMPARE(changes.count(), 5);
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

    void widthsInTwips() {
        auto grid = makeGrid(4, fiveRows);
        const int dpi = grid->logicalDpiX();
        for (const int twips : {0, 7, 270, 1200, 5800}) {
            const int pixels = int(std::lround(twips * dpi / 1440.0));
            QCOMPARE(Twips::toPixelsX(twips, grid.get()) + Twips::toPixelsX(-twips, grid.get()), 0);
            QCOMPARE(Twips::toPixelsY(twips, grid.get()),
                     int(std::lround(twips * grid->logicalDpiY() / 1440.0)));
            grid->setColWidthTwips(3, twips);
            QCOMPARE(grid->columnWidth(3), pixels);
            QVERIFY(std::abs(grid->colWidthTwips(3) - twips) <= 1440 / dpi);
        }
        grid->setColWidthTwips(4, 800); // no such column: nothing happens
        QCOMPARE(grid->colWidthTwips(4), 0);
        grid->horizontalHeader()->resizeSection(1, dpi); // the user makes it one inch
        QCOMPARE(grid->colWidthTwips(1), 1440);
    }

    // Column 1, 800 twips at least, between a Fixed and a Content column, is as wide as its
    // text or picture, or as the room left, and never below its least width.
    void fittedColumnWidths_data() {
        QTest::addColumn<ColumnFit>("fit");
        QTest::addColumn<QString>("text"); // "picture": a picture 90 pixels wide
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<QString>("width"); // "least", "text" or "room"
        const QString amount = "£1,111,111,111.11";
        QTest::newRow("wide amount") << ColumnFit::Content << amount << 300 << "text";
        QTest::newRow("short amount") << ColumnFit::Content << "£1" << 300 << "least";
        QTest::newRow("beyond Latin")
            << ColumnFit::Content << "Ae\u0301\u6f22\u5b57\u6f22\u5b57\u6f22\u5b57\u0416\u0416"
            << 300 << "text";
        QTest::newRow("picture") << ColumnFit::Content << "picture" << 300 << "text";
        QTest::newRow("fill with room") << ColumnFit::Fill << amount << 900 << "room";
        QTest::newRow("fill without room") << ColumnFit::Fill << amount << 150 << "least";
    }
    void fittedColumnWidths() {
        QFETCH(ColumnFit, fit);
        QFETCH(QString, text);
        QFETCH(int, gridWidth);
        QFETCH(QString, width);
        auto grid = makeGrid(3, {"a\t\tb"});
        grid->setColFit(1, fit);
        grid->setColFit(2, ColumnFit::Content);
        grid->setColWidthTwips(1, 800);
        const bool picture = text == u"picture";
        grid->addItem(picture ? QString() : u'\t' + text);
        if (picture)
            grid->setCellPicture(2, 1, QPixmap(90, 10));
        grid->resize(gridWidth, 200);
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
        const int textWidth =
            (picture ? 90 : QFontMetrics(grid->font()).horizontalAdvance(text)) + margins;
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
        QVERIFY(width == u"room" ||
                grid->widthForAllColumns() >= got + grid->columnWidth(0) + grid->columnWidth(2));
    }
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
