#include "app_fixture.h"
#include "catalogue/search_results_frame.h"
#include "platform/flex_grid.h"
#include "store/database.h"
#include "store/schema.h"
#include "test_registry.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <stdexcept>

using namespace quillon;
using quillon::tests::AppFixture;

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCopiesTheTemplate() {
        AppFixture app;
        QVERIFY(!QFile::exists(app.folder.userDatabase()));
        QVERIFY(app.start());

        QVERIFY(QFile::exists(app.folder.userDatabase()));
        QVERIFY(app.state.catalogueDb && app.state.catalogueDb->isOpen());
        QVERIFY(app.state.userDb && app.state.userDb->isOpen());
        QCOMPARE(app.state.userDb->path(), app.folder.userDatabase());
        // The copy is a working user database with the template's tables.
        QVERIFY(app.state.userDb->openRecordset(QStringLiteral("SELECT * FROM orders")).isEmpty());
        QCOMPARE(app.state.userDb->execute(QStringLiteral(
                     "INSERT INTO customParts(DorvaneNum,RoverNum,CustomerPrice,CustomerLRPrice,"
                     "CustomerUnitSale) SELECT 'DV1' AS DorvaneNum, 'NRC1' AS RoverNum, '1' AS "
                     "CustomerPrice, '2' AS CustomerLRPrice, 'EA' AS CustomerUnitSale")),
                 1);

        QVERIFY(app.dialogs.boxes().isEmpty());
        QVERIFY(app.dialogs.errors().isEmpty());
        QVERIFY(!app.state.orderActive);

        // The commands at a first start.
        for (const char* name : {"cmdClear", "cmdOrder", "cmdViewOrder", "cmdFinaliseOrder"})
            QVERIFY2(!app.find<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
        for (const char* name : {"cmdStartOrder", "cmdPreviousOrders", "cmdOptions"})
            QVERIFY2(app.find<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
        for (const char* name : {"mnuAddToOrder", "mnuDeleteOrder", "mnuFinaliseOrder",
                                 "mnuClearItem", "mnuOrderItem"})
            QVERIFY2(!app.find<QAction>(QString::fromLatin1(name))->isEnabled(), name);
        for (const char* name : {"mnuNewOrder", "mnuPreviousItem", "mnuAddressItem"})
            QVERIFY2(app.find<QAction>(QString::fromLatin1(name))->isEnabled(), name);

        // The Status bar.
        auto* panel1 = app.find<QLabel>(QStringLiteral("StatusBar1Panel1"));
        auto* panel2 = app.find<QLabel>(QStringLiteral("StatusBar1Panel2"));
        QCOMPARE(panel1->text(),
                 QStringLiteral("Dorvane Quillon - enter a part number or part description"));
        QCOMPARE(panel2->text(), QStringLiteral("ORD"));
        QVERIFY(!panel2->isEnabled());
        QVERIFY(!app.window->orderIndicatorEnabled());

        // The vehicle list, in order, showing "- any -".
        auto* vehicles = app.find<QComboBox>(QStringLiteral("lstApplication"));
        QStringList entries;
        for (int i = 0; i < vehicles->count(); ++i)
            entries << vehicles->itemText(i);
        QCOMPARE(entries,
                 (QStringList{"- any -", "Series 3", "Defender", "Range Rover", "New R/Rover",
                              "Discovery", "Discovery 2", "TD 5", "Freelander"}));
        QCOMPARE(vehicles->currentText(), QStringLiteral("- any -"));

        // The results grid: the header row alone.
        auto* grid = app.find<FlexGrid>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid->rows(), 1);
        QCOMPARE(grid->cols(), 4);
        QCOMPARE(grid->fixedCols(), 0);
        const QStringList headers{"DV No.", "Rover No.", "Description", "Img."};
        for (int column = 0; column < 4; ++column)
            QCOMPARE(grid->textMatrix(0, column), headers.at(column));
    }

    void existingUserDatabaseIsKept() {
        AppFixture app;
        {
            auto db = Database::create(app.folder.userDatabase());
            Schema::createUser(*db);
            db->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT '01/02/2025' AS "
                                       "orderDate"));
        }
        QVERIFY(app.start());
        const Recordset orders =
            app.state.userDb->openRecordset(QStringLiteral("SELECT * FROM orders"));
        QCOMPARE(orders.recordCount(), 1);
        QCOMPARE(orders.field(QStringLiteral("OrderDate")).toText(), QStringLiteral("01/02/2025"));
        // The template is untouched and still empty.
        auto templateDb = Database::open(app.folder.userTemplate(), Database::Access::ReadOnly);
        QVERIFY(templateDb->openRecordset(QStringLiteral("SELECT * FROM orders")).isEmpty());
    }

    void appFolderFromArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder"); // "" : the program's own folder; "!" : refused
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("separate") << QStringList{"--app-folder", "/tmp/shop"} << "/tmp/shop";
        QTest::newRow("joined") << QStringList{"--app-folder=/tmp/shop/"} << "/tmp/shop";
        QTest::newRow("no folder") << QStringList{"--app-folder"} << "!";
        QTest::newRow("empty folder") << QStringList{"--app-folder="} << "!";
        QTest::newRow("unknown") << QStringList{"--colour"} << "!";
    }

    void appFolderFromArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        arguments.prepend(QStringLiteral("dorvane-quillon"));
        if (folder == QLatin1String("!")) {
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, AppFolder::fromArguments(arguments));
            return;
        }
        const AppFolder result = AppFolder::fromArguments(arguments);
        QCOMPARE(result.path(), folder.isEmpty()
                                    ? QDir::cleanPath(QCoreApplication::applicationDirPath())
                                    : folder);
        QCOMPARE(result.catalogue(), result.path() + QStringLiteral("/parts.mdb"));
        QCOMPARE(result.htmlIcon(), result.path() + QStringLiteral("/images/htmlIcon.jpg"));
    }
};

QUILLON_TEST_CLASS(StartUpTest)
#include "test_start_up.moc"
