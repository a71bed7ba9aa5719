// The results grid: the rows, the picture marker, the count, the "No Parts Found!" row, the first
// part shown, walking the rows, Clear, and the grid's model.
#include "catalogue_fixture.h"
#include "platform/flex_grid.h"
#include "session/program_state.h"
#include "store/database.h"
#include "test_registry.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <cstdio>

using quillon::FlexGrid;
using quillon::tests::CatalogueFixture;
using quillon::tests::Part;

namespace {

using Cells = QList<QPair<int, int>>;

Cells wholeRow(int row) {
    return {{row, 0}, {row, 1}, {row, 2}, {row, 3}};
}

QList<Part> gridCatalogue() {
    return {
        {{"ID", "3"},
         {"DorvaneNum", "GR100"},
         {"RoverNum", "STC100"},
         {"Description", "Hub seal"},
         {"Picture1", "hub.jpg"}},
        {{"ID", "7"}, {"DorvaneNum", "GR200"}, {"Description", "Hub nut"}},
        {{"ID", "9"},
         {"DorvaneNum", "GR300"},
         {"RoverNum", "NRC300"},
         {"Description", "Hub bearing"},
         {"Picture2", "bearing.jpg"}},
        {{"ID", "12"}, {"DorvaneNum", "GR400"}, {"RoverNum", "ANR400"}, {"Description", ""}},
        {{"ID", "20"},
         {"DorvaneNum", "LONE1"},
         {"RoverNum", "LONE-R"},
         {"Description", "Single\twith a tab"}},
    };
}

// A part with every field of Part Detail set, listed fifth by "GR*0" after gridCatalogue().
Part fullPart() {
    return {{"ID", "30"},
            {"DorvaneNum", "GR500"},
            {"AltDorvaneNum", "ALT500"},
            {"RoverNum", "STC500"},
            {"RoverSuper3", "OLD3"},
            {"Description", "Hub cap"},
            {"CustomerPrice", "12.5"},
            {"LRPrice", "1234.5"},
            {"CustomerLRPrice", "0.25"},
            {"LRDiscountCode", "B"},
            {"UnitSale", "SET"},
            {"UnitIssue", "2"},
            {"Weight", "1.2kg"},
            {"ProductGroup", "Hubs"},
            {"Brand", "Genuine"},
            {"Application2", "Defender"},
            {"Picture2", "cap.jpg"}};
}

// Part Detail shows fullPart() whole: every field, both lists and its thumbnail.
void verifyFullPartShown(const CatalogueFixture& app) {
    QCOMPARE(app.detailFields(),
             QStringList({"STC500", "GR500", "ALT500", "Hub cap", "£12.50", "£1,234.50", "£0.25",
                          "B", "SET", "2", "1.2kg", "Hubs", "Genuine"}));
    QCOMPARE(app.listEntries("lstRoverSupers"), QStringList{"OLD3"});
    QCOMPARE(app.listEntries("lstVehicleApplication"), QStringList{"Defender"});
    QVERIFY(app.thumbnailShown(2) && !app.thumbnailShown(1));
    QCOMPARE(app.state.selectedPartId, 30);
    QCOMPARE(app.selectedCells(), wholeRow(5));
}

class ResultsGridTest : public QObject {
    Q_OBJECT

private slots:
    void rowsOfTheResult() {
        CatalogueFixture app(gridCatalogue());
        app.start();
        app.searchPart("GR*0");

        FlexGrid* grid = app.grid();
        QCOMPARE(grid->rows(), 5);
        QCOMPARE(app.gridColumn(0), QStringList({"GR100", "GR200", "GR300", "GR400"}));
        // A Null Rover number directly below one that has a number leaves its cell empty.
        QCOMPARE(app.gridColumn(1), QStringList({"STC100", "", "NRC300", "ANR400"}));
        QCOMPARE(app.gridColumn(2), QStringList({"Hub seal", "Hub nut", "Hub bearing", ""}));
        QCOMPARE(app.gridColumn(3), QStringList({"", "", "", ""}));
        // The marker for a first picture only; a later picture alone gives none.
        QVERIFY(grid->hasCellPicture(1, 3));
        QVERIFY(!grid->hasCellPicture(2, 3));
        QVERIFY(!grid->hasCellPicture(3, 3));
        QCOMPARE(app.state.resultPartIds, std::vector<qint32>({3, 7, 9, 12}));
        QCOMPARE(grid->dataAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
        for (int row = 1; row < grid->rows(); ++row) {
            const QVariant alignment =
                grid->model()->data(grid->model()->index(row - 1, 2), Qt::TextAlignmentRole);
            QCOMPARE(alignment.value<Qt::Alignment>(), Qt::AlignLeft | Qt::AlignVCenter);
        }
    }

    void tabInsideAValueStaysInItsCell() {
        CatalogueFixture app(gridCatalogue());
        app.start();
        app.searchPart("LONE");
        QCOMPARE(app.gridColumn(0), QStringList{"LONE1"});
        QCOMPARE(app.gridColumn(1), QStringList{"LONE-R"});
        QCOMPARE(app.gridColumn(2), QStringList{"Single with a tab"});
    }

    // The count, and the first part shown at once with its row highlighted; the count text in
    // the status line is replaced at once by the part's description, even an empty one.
    void countAndFirstPartShown_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("description");
        QTest::addColumn<qint32>("id");
        QTest::newRow("four parts") << "GR*0" << 4 << "Hub seal" << 3;
        QTest::newRow("one part") << "GR30" << 1 << "Hub bearing" << 9;
        QTest::newRow("one part without a description") << "GR40" << 1 << "" << 12;
    }

    void countAndFirstPartShown() {
        QFETCH(QString, number);
        QFETCH(int, count);
        QFETCH(QString, description);
        QFETCH(qint32, id);
        CatalogueFixture app(gridCatalogue());
        app.start();
        QProgressBar* progress = app.find<QProgressBar>("ProgressBar");
        QList<int> progressValues;
        connect(progress, &QProgressBar::valueChanged, this,
                [&progressValues](int value) { progressValues << value; });
        app.searchPart(number);

        QVERIFY(app.label("lblPartsFoundsNumber")->isVisible());
        QVERIFY(app.label("lblPartsFounds")->isVisible());
        QCOMPARE(app.label("lblPartsFoundsNumber")->text(), QString::number(count));
        QCOMPARE(app.label("lblPartsFounds")->text(), "parts found");
        QCOMPARE(app.status(), description);
        QCOMPARE(app.field("txtDescription"), description.isEmpty() ? "-" : description);
        QCOMPARE(app.state.selectedPartId, id);
        QVERIFY(app.state.resultsListed);
        QCOMPARE(app.selectedCells(), wholeRow(1));
        QVERIFY(app.button("cmdClear")->isEnabled());
        QCOMPARE(app.dialogs.beeps(), 1);
        QVERIFY(app.dialogs.boxes().isEmpty());
        // The bar ran up to the count during the fill and is back at 0.
        QCOMPARE(progress->maximum(), count);
        QCOMPARE(progress->value(), 0);
        QVERIFY(progressValues.size() >= 2);
        QCOMPARE(progressValues.last(), 0);
        QCOMPARE(progressValues.at(progressValues.size() - 2), count);
    }

    void noMatch() {
        CatalogueFixture app(gridCatalogue());
        app.start();
        app.searchPart("GR*0"); // counts shown first
        app.searchPart("QQQQ");

        FlexGrid* grid = app.grid();
        QCOMPARE(grid->rows(), 2);
        QCOMPARE(grid->textMatrix(1, 0), "");
        QCOMPARE(grid->textMatrix(1, 1), "");
        QCOMPARE(grid->textMatrix(1, 2), "No Parts Found!");
        QCOMPARE(grid->textMatrix(1, 3), "");
        QCOMPARE(app.status(), "No Parts Found!");
        QCOMPARE(app.dialogs.beeps(), 2);
        QVERIFY(app.dialogs.boxes().isEmpty());
        QVERIFY(!app.label("lblPartsFoundsNumber")->isVisible());
        QVERIFY(!app.label("lblPartsFounds")->isVisible());
        QVERIFY(!app.state.resultsListed);
        QCOMPARE(app.state.selectedPartId, 0);
        QCOMPARE(app.field("txtDescription"), "");

        // The row is no part: clicking it or moving onto it shows nothing.
        app.clickCell(1, 2);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(app.status(), "No Parts Found!");
        QCOMPARE(app.field("txtDescription"), "");
        QCOMPARE(app.state.selectedPartId, 0);
        QCOMPARE(app.dialogs.beeps(), 2);
    }

    void walkingTheRows() {
        CatalogueFixture app(gridCatalogue());
        app.addParts({fullPart()});
        app.writePicture("images/cap.jpg");
        app.start();
        app.searchPart("GR*0");
        FlexGrid* grid = app.grid();
        grid->setFocus();

        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(app.status(), "Hub nut");
        QCOMPARE(app.state.selectedPartId, 7);
        QCOMPARE(app.selectedCells(), wholeRow(2));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(app.field("txtDRNumber"), "GR300");
        QCOMPARE(app.selectedCells(), wholeRow(3));
        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(app.field("txtDRNumber"), "GR200");
        // The part below one with a Rover number shows none, and keeps none of the other's.
        QCOMPARE(app.field("txtRoverNumber"), "-");
        QCOMPARE(app.state.selectedRoverNum, "");

        // Another cell of the same row: the same part again, the row highlighted again.
        app.clickCell(2, 2);
        QCOMPARE(app.state.selectedPartId, 7);
        QCOMPARE(app.field("txtDRNumber"), "GR200");
        QCOMPARE(app.selectedCells(), wholeRow(2));
        QCOMPARE(grid->row(), 2);
        QCOMPARE(grid->col(), 0);

        app.clickCell(4, 3);
        QCOMPARE(app.state.selectedPartId, 12);
        QCOMPARE(app.selectedCells(), wholeRow(4));
        // The search keeps only what the grid lists: the part below is read whole when shown.
        QTest::keyClick(grid, Qt::Key_Down);
        verifyFullPartShown(app);
        QCOMPARE(app.dialogs.beeps(), 1);
        QVERIFY(app.dialogs.boxes().isEmpty());
    }

    // A catalogue renamed over the file while results are listed: the parts shown still come
    // from the file the search read, the file of the rows listed; the next search reads the new.
    void catalogueReplacedWhileListed() {
        CatalogueFixture app(gridCatalogue());
        app.addParts({fullPart()});
        app.writePicture("images/cap.jpg");
        app.start();
        app.searchPart("GR*0");
        const QString built = app.folder.catalogue() + QStringLiteral(".new");
        QVERIFY(QFile::copy(app.folder.catalogue(), built));
        quillon::Database::open(built, quillon::Database::Access::ReadWrite)
            ->execute("UPDATE Parts SET Description = 'Renewed part', Brand = 'X'");
        QVERIFY(std::rename(QFile::encodeName(built).constData(),
                            QFile::encodeName(app.folder.catalogue()).constData()) == 0);

        app.clickCell(5, 1);
        verifyFullPartShown(app);
        QTest::keyClick(app.grid(), Qt::Key_Up);
        QCOMPARE(app.field("txtDescription"), "-");
        app.searchDesc("Renewed");
        QCOMPARE(app.gridColumn(2), QStringList(6, "Renewed part"));
    }

    void clear() {
        CatalogueFixture app(gridCatalogue());
        app.writePicture("images/hub.jpg");
        app.start();
        app.searchPart("GR*0");
        QVERIFY(app.thumbnailShown(1));
        QAction* menuClear = app.find<QAction>("mnuClearItem");
        QVERIFY(menuClear->isEnabled());

        app.click("cmdClear");

        QCOMPARE(app.grid()->rows(), 1);
        QCOMPARE(app.grid()->textMatrix(0, 2), "Description");
        QVERIFY(!app.state.resultsListed);
        QCOMPARE(app.field("txtDRNumber"), "");
        QCOMPARE(app.field("txtDescription"), "");
        QVERIFY(!app.thumbnail(1)->isVisible());
        QVERIFY(!app.button("cmdClear")->isEnabled());
        QVERIFY(!menuClear->isEnabled());
        QCOMPARE(app.find<QProgressBar>("ProgressBar")->value(), 0);
        // The count and the status line stay as they were; so does the searched text.
        QVERIFY(app.label("lblPartsFoundsNumber")->isVisible());
        QCOMPARE(app.label("lblPartsFoundsNumber")->text(), "4");
        QCOMPARE(app.status(), "Hub seal");
        QCOMPARE(app.box("txtPart")->text(), "GR*0");

        // A new search enables Clear again; the menu item clears the same way.
        app.searchPart("GR*0");
        QVERIFY(menuClear->isEnabled());
        menuClear->trigger();
        QCOMPARE(app.grid()->rows(), 1);
        QVERIFY(!app.button("cmdClear")->isEnabled());
    }

    void oneBeepPerSearch() {
        CatalogueFixture app(gridCatalogue());
        app.start();
        app.searchPart("GR*0");
        app.searchPart("QQQQ");
        app.searchDesc("Hub ");
        app.searchPart("Q"); // refused: no beep
        QCOMPARE(app.dialogs.beeps(), 3);
    }

    void gridModel() {
        CatalogueFixture app(gridCatalogue());
        app.start();
        QAbstractItemModelTester tester(app.grid()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        app.searchPart("GR*0");
        QCOMPARE(app.grid()->model()->rowCount(), 4);
        QCOMPARE(app.grid()->model()->columnCount(), 4);
        QCOMPARE(app.grid()->model()->headerData(3, Qt::Horizontal).toString(), "Img.");
        QTest::keyClick(app.grid(), Qt::Key_Down);
        app.searchPart("QQQQ");
        app.searchPart("GR30");
        app.click("cmdClear");
        QCOMPARE(app.grid()->model()->rowCount(), 0);
        app.searchDesc("Hub ");
        QCOMPARE(app.grid()->model()->rowCount(), 3);
    }

    void manyRows() {
        QList<Part> parts;
        for (int id = 1; id <= 1500; ++id) {
            parts.append({{"ID", QString::number(id)},
                          {"DorvaneNum", QStringLiteral("MR%1").arg(id, 5, 10, QChar(u'0'))},
                          {"Description", QStringLiteral("Part %1").arg(id)},
                          {"Picture1", id % 2 == 0 ? "p.jpg" : ""}});
        }
        CatalogueFixture app(parts);
        app.start();
        QProgressBar* progress = app.find<QProgressBar>("ProgressBar");
        QList<int> progressValues;
        connect(progress, &QProgressBar::valueChanged, this,
                [&progressValues](int value) { progressValues << value; });

        app.searchPart("MR0*");

        QCOMPARE(app.grid()->rows(), 1501);
        QCOMPARE(app.label("lblPartsFoundsNumber")->text(), "1500");
        QCOMPARE(app.grid()->textMatrix(1500, 0), "MR01500");
        QVERIFY(app.grid()->hasCellPicture(1500, 3));
        QVERIFY(!app.grid()->hasCellPicture(1499, 3));
        QCOMPARE(app.state.resultPartIds.size(), std::size_t(1500));
        QCOMPARE(app.state.resultPartIds.back(), 1500);
        // Only the first row is selected, not the block the fill ran through.
        QCOMPARE(app.selectedCells(), wholeRow(1));
        // Rising to the count, then back to 0.
        QVERIFY(std::is_sorted(progressValues.begin(), progressValues.end() - 1));
        QCOMPARE(progressValues.at(progressValues.size() - 2), 1500);
        QCOMPARE(progressValues.last(), 0);
        QCOMPARE(progress->maximum(), 1500);
    }
};

} // namespace

QUILLON_TEST_CLASS(ResultsGridTest)
#include "test_results_grid.moc"
