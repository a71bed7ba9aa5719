// The grid's model without a view: rows and cells, pictures, the fixed column. (The widget's
// current cell and selection are driven by the tests that use the program's grids.)
#include "platform/flex_grid_model.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QSignalSpy>

using namespace quillon;
using namespace Qt::StringLiterals;

namespace {

// A model of four columns, "H1" over column 1, with one data row per text, checked throughout.
struct Model {
    explicit Model(const QStringList& rows) {
        model.setGridCols(4);
        model.setText(0, 1, u"H1"_s);
        model.appendRows(rows);
    }
    // The header, then every data row as a view gets it: cells joined by "|", rows by ";".
    QString shown() const {
        QStringList rows{model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString()};
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c)
                cells << model.index(r, c).data().toString();
            rows << cells.join(u'|');
        }
        return rows.join(u';');
    }
    FlexGridModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT

private slots:
    // Grid row r is model row r - 1, row 0 the header; a text is split at tabs, parts beyond the
    // last column dropped. Setting the rows to 1 clears the grid but for the header; more rows
    // are empty ones.
    void rowsAndCells() {
        Model m({u"a\tb"_s, u"\t\tNo Parts Found!\t"_s, u"1\t2\t3\t4\t5"_s, u""_s, u" x \tÿ€ "_s});
        QCOMPARE(m.shown(), u"H1;a|b||;||No Parts Found!|;1|2|3|4;|||; x |ÿ€ ||"_s);
        QCOMPARE(m.model.text(2, 2) + m.model.text(0, 1), u"No Parts Found!H1"_s);
        m.model.setPicture(2, 3, QPixmap(12, 10));
        m.model.setGridRows(1);
        QCOMPARE(m.shown(), u"H1"_s);
        m.model.appendRows({u"new"_s, u"\t\tsecond"_s}); // no earlier row shows through
        m.model.setGridRows(5);
        m.model.setText(4, 1, u"set"_s);
        QCOMPARE(m.shown(), u"H1;new|||;||second|;|||;|set||"_s);
        QVERIFY(!m.model.hasPicture(2, 3));
        m.model.setGridRows(0); // never below the header row
        QCOMPARE(m.model.gridRows(), 1);
    }

    void picturesAndFixedColumn() {
        Model m({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s});
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
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setDataAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(changed.count(), 1); // one notice for the whole table, not one per cell
        model.appendRows({u"late"_s});
        QCOMPARE(model.index(5, 3).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
    }
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
