#include "app/tools_frame.h"
#include "app_fixture.h"
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "store/database.h"
#include "store/locale_formats.h"
#include "test_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTime>

using namespace quillon;
using quillon::tests::AppFixture;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void partDetailStartsEmpty() {
        AppFixture app;
        MainWindow& window = app.started();
        QCOMPARE(window.windowTitle(), QStringLiteral("Dorvane Quillon"));
        for (const char* name :
             {"txtRoverNumber", "txtDRNumber", "txtAltDRNumber", "txtDescription",
              "txtCustomerPrice", "txtLRPrice", "txtCustomerLRPrice", "txtLRDiscountCode",
              "txtUnitSale", "txtUnitIssue", "txtWeight", "txtProductGroup", "txtBrand"}) {
            auto* field = app.find<QLabel>(QString::fromLatin1(name));
            QVERIFY2(field && field->isVisible() && field->text().isEmpty(), name);
        }
        for (const char* name : {"lstRoverSupers", "lstVehicleApplication"})
            QCOMPARE(app.find<QListWidget>(QString::fromLatin1(name))->count(), 0);
        for (int slot = 1; slot <= 9; ++slot) {
            auto* image = app.find<ImageBox>(QStringLiteral("Image%1").arg(slot));
            QVERIFY(image);
            QVERIFY(image->isHidden());
            QVERIFY(!image->hasPicture());
        }
        for (const char* name : {"lblPartsFoundsNumber", "lblPartsFounds"})
            QVERIFY(app.find<QLabel>(QString::fromLatin1(name))->isHidden());
        QCOMPARE(app.find<QProgressBar>(QStringLiteral("ProgressBar"))->value(), 0);
        for (const char* name : {"txtFilePrice", "txtSellingPrice", "txtUnit"})
            QVERIFY(app.find<QLineEdit>(QString::fromLatin1(name))->text().isEmpty());
        auto* logo = app.find<QLabel>(QStringLiteral("Picture1"));
        QVERIFY(logo->isVisible());
        QVERIFY(!logo->pixmap().isNull());
    }

    void customerRetailTabOrder() {
        AppFixture app;
        app.started();
        const QStringList order{"txtFilePrice", "txtSellingPrice", "txtUnit", "cmdEnterFilePrice",
                                "cmdRemoveFilePrice"};
        app.find<QWidget>(order.first())->setFocus();
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), order.at(i));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), order.last());
    }

    void statusBarClockPanels() {
        AppFixture app;
        app.started();
        auto* bar = app.find<QStatusBar>(QStringLiteral("StatusBar1"));
        QVERIFY(bar && bar->isVisible());
        auto* time = app.find<QLabel>(QStringLiteral("StatusBar1Panel3"));
        auto* date = app.find<QLabel>(QStringLiteral("StatusBar1Panel4"));
        QCOMPARE(time->toolTip(), QStringLiteral("Time"));
        QCOMPARE(date->toolTip(), QStringLiteral("Date"));
        const LocaleFormats formats;
        QCOMPARE(date->text(), formats.shortDate(QDate::currentDate()));
        // The time panel follows the clock (allow for a minute turning over while we look).
        const auto now = [&formats] {
            return formats.locale().toString(QTime::currentTime(), QLocale::ShortFormat);
        };
        const QString before = now();
        QTRY_VERIFY(time->text() == before || time->text() == now());
        QCOMPARE(time->font().family(), QStringLiteral("Verdana"));
    }

    // The window fits each screen (with room for a window frame and a panel) with no two controls
    // overlapping, and every control can be reached: inside the window, or brought into view by
    // the scroll area that holds the window's content.
    void windowFitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("scrolls"); // the content needs scrolling to be reached
        QTest::newRow("1280 x 800") << QSize(1280, 800) << false;
        QTest::newRow("1024 x 600") << QSize(1024, 600) << false;
        QTest::newRow("1280 x 800 at 150 %") << QSize(853, 533) << true;
        QTest::newRow("large") << QSize(1920, 1200) << false;
    }

    void windowFitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(bool, scrolls);
        AppFixture app;
        MainWindow& window = app.started();
        const QSize room = screen - QSize(16, 40);
        QVERIFY(window.minimumSizeHint().boundedTo(room) == window.minimumSizeHint());
        window.resize(room);
        // Thumbnails and count labels take part as they will look when shown.
        for (auto* image : window.findChildren<ImageBox*>())
            image->show();
        for (const char* name : {"lblPartsFoundsNumber", "lblPartsFounds"})
            app.find<QLabel>(QString::fromLatin1(name))->show();
        QTest::qWait(20);
        QCOMPARE(window.size(), room);
        auto* area = app.find<QScrollArea>(QStringLiteral("centralScrollArea"));
        QCOMPARE(area->verticalScrollBar()->maximum() > 0, scrolls);
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);

        QHash<QWidget*, QRect> rects; // in the content's or the window's coordinates
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const QString name = control->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
                qobject_cast<QGroupBox*>(control) || qobject_cast<QMenu*>(control) ||
                control == area || control == area->widget() || control == window.statusBar() ||
                name == QLatin1String("partSearchFrames") || !control->isVisibleTo(&window))
                continue;
            QVERIFY2(control->width() > 0 && control->height() > 0, qPrintable(name));
            if (area->widget()->isAncestorOf(control)) {
                area->ensureWidgetVisible(control, 0, 0);
                const QRect shown(control->mapTo(area->viewport(), QPoint()), control->size());
                QVERIFY2(area->viewport()->rect().contains(shown), qPrintable(name));
                rects.insert(control,
                             QRect(control->mapTo(area->widget(), QPoint()), control->size()));
            } else {
                const QRect shown(control->mapTo(&window, QPoint()), control->size());
                QVERIFY2(window.rect().contains(shown), qPrintable(name));
            }
            if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control))
                QCOMPARE(control->font().family(), QStringLiteral("Verdana"));
        }
        QVERIFY(rects.size() > 60);
        for (auto a = rects.cbegin(); a != rects.cend(); ++a)
            for (auto b = std::next(a); b != rects.cend(); ++b)
                QVERIFY2(!a.value().intersects(b.value()) || a.key()->isAncestorOf(b.key()) ||
                             b.key()->isAncestorOf(a.key()),
                         qPrintable(a.key()->objectName() + " overlaps " + b.key()->objectName()));
        // The Tools buttons stand in one row.
        const auto buttons = app.find<ToolsFrame>(QStringLiteral("frameTools"))->buttons();
        for (std::size_t i = 1; i < buttons.size(); ++i)
            QVERIFY(rects[buttons[i]].top() == rects[buttons[0]].top() &&
                    rects[buttons[i]].left() > rects[buttons[i - 1]].right());
        // A brand shows whole; a long description never widens the window's content.
        auto* brand = app.find<QLabel>(QStringLiteral("txtBrand"));
        brand->setText(QStringLiteral("DORVANE SELECT HEAVY DUTY"));
        QTest::qWait(10);
        QVERIFY(brand->contentsRect().width() >=
                brand->fontMetrics().horizontalAdvance(brand->text()));
        const int least = area->widget()->minimumSizeHint().width();
        app.find<QLabel>(QStringLiteral("txtDescription"))->setText(QString(400, QLatin1Char('W')));
        QCOMPARE(area->widget()->minimumSizeHint().width(), least);
    }

    // In each grid every number and amount shows whole in the grid's font, the description
    // takes the room the other columns leave, and a wider window gives it more.
    void gridsShowWholeValues_data() {
        QTest::addColumn<QString>("window"); // empty for the main window
        QTest::addColumn<QString>("grid");
        QTest::newRow("View Parts Order") << "frmViewOrder"
                                          << "MSFlexGridViewOrder";
        QTest::newRow("Previous Orders") << "frmBackOrders"
                                         << "MSFlexGridOrders";
        QTest::newRow("results grid") << ""
                                      << "MSFlexGrid1";
    }

    void gridsShowWholeValues() {
        QFETCH(QString, window);
        QFETCH(QString, grid);
        AppFixture app;
        const QString longText = QString(60, QLatin1Char('W'));
        Database::open(app.folder.catalogue(), Database::Access::ReadWrite)
            ->execute("INSERT INTO Parts (DorvaneNum, RoverNum, Description) VALUES ('DWWW1', "
                      "'Dorvane Only', '" +
                      longText + "')");
        MainWindow& main = app.started();
        app.dialogs.answerNext(Dialogs::Button::Yes);
        QTest::mouseClick(app.find<QPushButton>(QStringLiteral("cmdStartOrder")), Qt::LeftButton);
        app.state.userDb->execute("INSERT INTO orders (OrderNum, OrderStatus) VALUES (90, TRUE)");
        for (const int order : {app.state.currentOrderNum, 90})
            for (const char* line : {"'DWWW1', 'Dorvane Only', 1000, 1111.11, 'x'",
                                     "'DA2', 'NRC2', 1, 1111111.11, ''"})
                app.state.userDb->execute(
                    QStringLiteral("INSERT INTO orderParts (OrderNum, Description, DorvaneNum, "
                                   "RoverNum, Quantity, Price, Comments) VALUES (%1, '%2', %3)")
                        .arg(order)
                        .arg(longText, QString::fromLatin1(line)));

        int checked = 0;
        const auto check = [&](QWidget& top) {
            auto* g = top.findChild<FlexGrid*>(grid);
            const QFontMetrics metrics(g->font());
            const int margins =
                2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1) + 1;
            top.resize(1400, top.height());
            QTest::qWait(10);
            int description = -1;
            int total = 0;
            for (int c = 0; c < g->cols(); ++c) {
                const QString header = g->textMatrix(0, c);
                total += g->columnWidth(c);
                QVERIFY(g->horizontalHeader()->sectionSizeHint(c) <= g->columnWidth(c));
                if (header == QLatin1String("Description"))
                    description = c;
                if (header == QLatin1String("Description") ||
                    header == QLatin1String("Special Instructions"))
                    continue;
                for (int r = 1; r < g->rows(); ++r)
                    QVERIFY2(metrics.horizontalAdvance(g->textMatrix(r, c)) + margins <=
                                 g->columnWidth(c),
                             qPrintable(g->textMatrix(r, c)));
            }
            QVERIFY(g->rows() > 2);
            QCOMPARE(total, g->viewport()->width());
            const int before = g->columnWidth(description);
            const int viewport = g->viewport()->width();
            top.resize(1600, top.height());
            QTest::qWait(10);
            QCOMPARE(g->columnWidth(description) - before, g->viewport()->width() - viewport);
            QVERIFY(g->viewport()->width() > viewport);
            ++checked;
        };
        if (window.isEmpty()) {
            QTest::keyClicks(app.find<QLineEdit>(QStringLiteral("txtPart")), "DWWW");
            QTest::keyClick(app.find<QLineEdit>(QStringLiteral("txtPart")), Qt::Key_Return);
            app.find<FlexGrid>(grid)->addItem(QStringLiteral("DA1\tLR1\tshort"));
            check(main);
        } else {
            app.dialogs.onWindow(window, [&](QDialog& dialog) {
                check(dialog);
                dialog.accept();
            });
            QTest::mouseClick(app.find<QPushButton>(window == QLatin1String("frmViewOrder")
                                                        ? QStringLiteral("cmdViewOrder")
                                                        : QStringLiteral("cmdPreviousOrders")),
                              Qt::LeftButton);
        }
        QCOMPARE(checked, 1);
        QVERIFY(app.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(LayoutTest)
#include "test_layout.moc"
