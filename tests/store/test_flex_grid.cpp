// The grid's model without a view: rows and cells, pictures, the fixed column. (The widget's
// current cell and selection are driven by the tests that use the program's grids.)
#include "platform/flex_grid_model.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QSignalSpy>

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

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT

private slots:
    // Grid row r is model row r - 1 and row 0 the header; a text is split at tabs, parts beyond
    // the last column dropped.
    void rowsSplitAtTabs() {
        const QStringList texts = {"a\tb", "\t\tNo Parts Found!\t", "1\t2\t3\t4\t5", "",
                                   " x \tÿ€ "};
        Model model(texts);
        const QStringList expected = {"a|b||", "||No Parts Found!|", "1|2|3|4", "|||", " x |ÿ€ ||"};
        for (const FlexGridModel* m : {&model.model}) {
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
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
