// The grid's model without a view: rows and cells, pictures, the fixed column. (The widget's
// current cell and selection are driven by the tests that use the program's grids.)
#include "platform/flex_grid_model.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

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

    // Sorting by a column: the first column's texts in their new order. Rows are given as
    // "text of column 1" (column 0 numbers them); "*" in a row puts a picture into column 1.
    void sorting_data() {
        // order: column 0 of the rows, joined by ","
        tests::addColumns<QStringList, bool, QString>("texts", "ascending", "order");
        const auto texts = [](const char* joined) { return QString::fromUtf8(joined).split(u','); };
        using quillon::tests::addRow;
        addRow("numbers by value", texts("LR10,LR9,LR100,LR09A,LR1"), true, u"4,1,3,0,2"_s);
        addRow("leading zeros equal, first order kept", texts("A010,A10,A0010,A9"), true,
               u"3,0,1,2"_s);
        addRow("descending, equal rows still in first order", texts("A010,A10,A9,B"), false,
               u"3,0,1,2"_s);
        addRow("letters without regard to case", texts("b,A,a,B,c"), true, u"1,2,0,3,4"_s);
        addRow("empty first", texts("x,,y,"), true, u"1,3,0,2"_s);
        addRow("long numbers", texts("N12345678901,N9,N123456789,N99999999"), true, u"1,3,2,0"_s);
        addRow("digits before letters, after blanks", texts("A B,A1,AB,A-"), true, u"0,3,1,2"_s);
        addRow("beyond ASCII after it", texts("Ölfilter,Zahnrad,Achse"), true, u"2,1,0"_s);
        addRow("a picture after the same text without", texts("m*,m,,*"), true, u"2,3,1,0"_s);
        addRow("one row", texts("only"), false, u"0"_s);
    }
    void sorting() {
        QFETCH(QStringList, texts);
        QFETCH(bool, ascending);
        QStringList rows;
        for (qsizetype i = 0; i < texts.size(); ++i)
            rows << QString::number(i) + u'\t' + QString(texts[i]).remove(u'*');
        Model m(rows);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (texts[i].contains(u'*'))
                m.model.setPicture(int(i) + 1, 1, QPixmap(4, 4));
        }
        const QPersistentModelIndex last = m.model.index(int(texts.size()) - 1, 1);
        m.model.setText(1, 2, u"set"_s); // a cell set on its own goes with its row
        m.model.sortRows(1, ascending);
        QStringList shown;
        for (int r = 1; r < m.model.gridRows(); ++r)
            shown << m.model.text(r, 0);
        QTEST(shown.join(u','), "order");
        // What went with the rows: the cell set, the pictures, an index a view holds.
        const int first = int(shown.indexOf(u"0"_s)) + 1;
        QCOMPARE(m.model.text(first, 2), u"set"_s);
        for (int r = 1; r < m.model.gridRows(); ++r)
            QCOMPARE(m.model.hasPicture(r, 1), texts[shown[r - 1].toInt()].contains(u'*'));
        QCOMPARE(m.model.text(last.row() + 1, 0), QString::number(texts.size() - 1));
    }
};

QUILLON_TEST_CLASS(TestFlexGrid)

#include "test_flex_grid.moc"
