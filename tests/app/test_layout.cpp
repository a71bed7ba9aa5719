#include "app_fixture.h"
#include "platform/image_box.h"
#include "store/locale_formats.h"
#include "test_registry.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTime>

using namespace quillon;
using quillon::tests::AppFixture;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void menus_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QStringList>("items"); // objectNames in order, separators included
        QTest::newRow("File") << "mnuFile"
                              << "&File"
                              << QStringList{"mnuNewOrder", "mnuBackup", "mnuFileBar1",
                                             "mnuCloseItem"};
        QTest::newRow("Edit") << "mnuEdit"
                              << "&Edit"
                              << QStringList{"mnuAddToOrder", "mnuDeleteOrder", "mnuFinaliseOrder",
                                             "mnuEditBar1", "mnuClearItem"};
        QTest::newRow("View") << "mnuView"
                              << "&View"
                              << QStringList{"mnuOrderItem", "mnuPreviousItem", "mnuAddressItem"};
        QTest::newRow("Help") << "mnuHelp"
                              << "&Help"
                              << QStringList{"mnuContentsItem", "mnuRestore", "mnuHelpBar1",
                                             "mnuAboutItem"};
    }

    void menus() {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QStringList, items);
        AppFixture app;
        MainWindow& window = app.started();
        auto* found = app.find<QMenu>(menu);
        QVERIFY(found);
        QCOMPARE(found->title(), menuCaption);
        QStringList names;
        for (const QAction* action : found->actions()) {
            names << action->objectName();
            QCOMPARE(action->isSeparator(), action->objectName().contains(QLatin1String("Bar")));
        }
        QCOMPARE(names, items);
        // The menus stand in the menu bar in their order.
        QStringList order;
        for (const QAction* action : window.menuBar()->actions())
            order << action->menu()->objectName();
        QCOMPARE(order, (QStringList{"mnuFile", "mnuEdit", "mnuView", "mnuHelp"}));
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("mnuNewOrder") << "mnuNewOrder"
                                     << "&New Order"
                                     << "Ctrl+N" << true;
        QTest::newRow("mnuBackup") << "mnuBackup"
                                   << "&Backup Data"
                                   << "Ctrl+B" << true;
        QTest::newRow("mnuCloseItem") << "mnuCloseItem"
                                      << "E&xit"
                                      << "Ctrl+X" << true;
        QTest::newRow("mnuAddToOrder") << "mnuAddToOrder"
                                       << "&Add to Order"
                                       << "Ctrl+A" << false;
        QTest::newRow("mnuDeleteOrder") << "mnuDeleteOrder"
                                        << "&Delete Order"
                                        << "Ctrl+D" << false;
        QTest::newRow("mnuFinaliseOrder") << "mnuFinaliseOrder"
                                          << "&Finalise Order"
                                          << "Ctrl+F" << false;
        QTest::newRow("mnuClearItem") << "mnuClearItem"
                                      << "&Clear"
                                      << "Ctrl+C" << false;
        QTest::newRow("mnuOrderItem") << "mnuOrderItem"
                                      << "&View Order"
                                      << "Ctrl+V" << false;
        QTest::newRow("mnuPreviousItem") << "mnuPreviousItem"
                                         << "&Previous Orders"
                                         << "Ctrl+P" << true;
        QTest::newRow("mnuAddressItem") << "mnuAddressItem"
                                        << "Address &Options"
                                        << "Ctrl+O" << true;
        QTest::newRow("mnuContentsItem") << "mnuContentsItem"
                                         << "&Program Help"
                                         << "Ctrl+H" << true;
        QTest::newRow("mnuRestore") << "mnuRestore"
                                    << "&Restore User Data"
                                    << "Ctrl+R" << true;
        QTest::newRow("mnuAboutItem") << "mnuAboutItem"
                                      << "Abou&t"
                                      << "Ctrl+T" << true;
    }

    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        AppFixture app;
        app.started();
        auto* action = app.find<QAction>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), QKeySequence(shortcut));
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(action->isVisible());
    }

    void buttons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("cmdClear") << "cmdClear"
                                  << "Clear"
                                  << "Clear current search results" << false;
        QTest::newRow("cmdStartOrder") << "cmdStartOrder"
                                       << "New Order"
                                       << "" << true;
        QTest::newRow("cmdOrder") << "cmdOrder"
                                  << "Add to Order"
                                  << "Add selected part to order" << false;
        QTest::newRow("cmdViewOrder") << "cmdViewOrder"
                                      << "View Order"
                                      << "View current order" << false;
        QTest::newRow("cmdFinaliseOrder") << "cmdFinaliseOrder"
                                          << "Finalise Order"
                                          << "Print current order to HTML" << false;
        QTest::newRow("cmdPreviousOrders") << "cmdPreviousOrders"
                                           << "Previous Orders"
                                           << "" << true;
        QTest::newRow("cmdOptions") << "cmdOptions"
                                    << "Address Options"
                                    << "Options" << true;
        QTest::newRow("cmdSearchPart") << "cmdSearchPart"
                                       << "Search"
                                       << "Search for part number" << true;
        QTest::newRow("cmdSearchDesc") << "cmdSearchDesc"
                                       << "Search"
                                       << "Search for part description" << true;
        QTest::newRow("cmdEnterFilePrice") << "cmdEnterFilePrice"
                                           << "Enter/Update"
                                           << "Enter or update file price" << true;
        QTest::newRow("cmdRemoveFilePrice") << "cmdRemoveFilePrice"
                                            << "Remove"
                                            << "Remove this file price" << true;
    }

    void buttons() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QFETCH(bool, enabled);
        AppFixture app;
        app.started();
        auto* button = app.find<QPushButton>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), toolTip);
        QCOMPARE(button->isEnabled(), enabled);
        QVERIFY(button->isVisible());
        QCOMPARE(button->font().family(), QStringLiteral("Verdana"));
    }

    void toolsButtonsInOneRowInOrder() {
        AppFixture app;
        MainWindow& window = app.started();
        const QStringList order{"cmdClear",     "cmdStartOrder",    "cmdOrder",
                                "cmdViewOrder", "cmdFinaliseOrder", "cmdPreviousOrders",
                                "cmdOptions"};
        auto* frame = app.find<QGroupBox>(QStringLiteral("frameTools"));
        QCOMPARE(frame->title(), QStringLiteral("Tools"));
        int lastRight = -1;
        const int row = app.find<QPushButton>(order.first())->mapTo(&window, QPoint()).y();
        for (const QString& name : order) {
            auto* button = app.find<QPushButton>(name);
            QCOMPARE(button->parentWidget(), frame);
            const QRect rect(button->mapTo(&window, QPoint()), button->size());
            QCOMPARE(rect.y(), row);
            QVERIFY2(rect.left() > lastRight, qPrintable(name));
            lastRight = rect.right();
        }
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption"); // title, label text or combo text
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("framePartSearch") << "framePartSearch"
                                         << "Part Number Search"
                                         << "";
        QTest::newRow("lblEnterPart") << "lblEnterPart"
                                      << "Enter part number:"
                                      << "";
        QTest::newRow("txtPart") << "txtPart"
                                 << ""
                                 << "Enter a DV or Rover number";
        QTest::newRow("frameDescSearch") << "frameDescSearch"
                                         << "Part Description Search"
                                         << "";
        QTest::newRow("lblEnterDesc") << "lblEnterDesc"
                                      << "Enter keyword:"
                                      << "";
        QTest::newRow("txtDesc") << "txtDesc"
                                 << ""
                                 << "Enter a single keyword or part of a description";
        QTest::newRow("lblSelectVehicle") << "lblSelectVehicle"
                                          << "Select vehicle"
                                          << "";
        QTest::newRow("lstApplication") << "lstApplication"
                                        << "- any -"
                                        << "";
        QTest::newRow("frameSearchResults") << "frameSearchResults"
                                            << "Search Results"
                                            << "";
        QTest::newRow("lblPartsFounds") << "lblPartsFounds"
                                        << "parts found"
                                        << "";
        QTest::newRow("framePart") << "framePart"
                                   << "Part Detail"
                                   << "";
        QTest::newRow("lblDRNumber") << "lblDRNumber"
                                     << "DV Number:"
                                     << "";
        QTest::newRow("lblAltDRNumber") << "lblAltDRNumber"
                                        << "Alt DV Number:"
                                        << "";
        QTest::newRow("lblRoverNumber") << "lblRoverNumber"
                                        << "Rover Number:"
                                        << "";
        QTest::newRow("lblDescription") << "lblDescription"
                                        << "Description:"
                                        << "";
        QTest::newRow("lblCustomerPrice") << "lblCustomerPrice"
                                          << "DV Price:"
                                          << "";
        QTest::newRow("lblLRPrice") << "lblLRPrice"
                                    << "LR Price:"
                                    << "";
        QTest::newRow("lblCustomerLRPrice") << "lblCustomerLRPrice"
                                            << "Cust LR Price:"
                                            << "";
        QTest::newRow("lblLRDiscountCode") << "lblLRDiscountCode"
                                           << "LR Discount:"
                                           << "";
        QTest::newRow("lblUnitIssue") << "lblUnitIssue"
                                      << "Unit Issue:"
                                      << "";
        QTest::newRow("lblUnitSale") << "lblUnitSale"
                                     << "Unit Sale:"
                                     << "";
        QTest::newRow("lblWeight") << "lblWeight"
                                   << "Weight:"
                                   << "";
        QTest::newRow("lblProductGroup") << "lblProductGroup"
                                         << "Product Grp:"
                                         << "";
        QTest::newRow("lblBrand") << "lblBrand"
                                  << "Brand:"
                                  << "";
        QTest::newRow("lblRoverSupers") << "lblRoverSupers"
                                        << "Rover Numbers:"
                                        << "";
        QTest::newRow("lblVehicleApplication") << "lblVehicleApplication"
                                               << "Vehicle Applications:"
                                               << "";
        QTest::newRow("frameCustomerRetail") << "frameCustomerRetail"
                                             << "Customer Retail"
                                             << "";
        QTest::newRow("lblFilePrice") << "lblFilePrice"
                                      << "File Price:"
                                      << "";
        QTest::newRow("lblSellingPrice") << "lblSellingPrice"
                                         << "Selling Price:"
                                         << "";
        QTest::newRow("lblUnit") << "lblUnit"
                                 << "Unit:"
                                 << "";
        QTest::newRow("StatusBar1Panel1") << "StatusBar1Panel1"
                                          << "Dorvane Quillon - enter a part number or part "
                                             "description"
                                          << "Program Status";
        QTest::newRow("StatusBar1Panel2") << "StatusBar1Panel2"
                                          << "ORD"
                                          << "Order Status";
    }

    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        AppFixture app;
        app.started();
        auto* widget = app.find<QWidget>(name);
        QVERIFY2(widget, qPrintable(name));
        // The count labels are hidden until a search finds parts.
        QCOMPARE(widget->isVisible(), name != QLatin1String("lblPartsFounds"));
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            QCOMPARE(frame->title(), caption);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->font().family(), QStringLiteral("Verdana"));
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(box->text(), caption);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(combo->currentText(), caption);
            QVERIFY(combo->isEditable());
        } else {
            QFAIL("unexpected kind of control");
        }
        QCOMPARE(widget->toolTip(), toolTip);
    }

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

    // Every control is inside the window and no two controls overlap: at the default size (which
    // fits a 1280 x 800 screen) and at the smallest size the window can be given.
    void controlsDoNotOverlap_data() {
        QTest::addColumn<QString>("size");
        QTest::newRow("default") << "default";
        QTest::newRow("smallest") << "smallest";
        QTest::newRow("large") << "large";
    }

    void controlsDoNotOverlap() {
        QFETCH(QString, size);
        AppFixture app;
        MainWindow& window = app.started();
        QVERIFY(window.frameGeometry().width() <= 1280);
        QVERIFY(window.frameGeometry().height() <= 800 - 40);
        if (size == QLatin1String("smallest"))
            window.resize(window.minimumSizeHint());
        if (size == QLatin1String("large"))
            window.resize(1900, 1150);
        // Thumbnails and count labels take part as they will look when shown.
        for (auto* image : window.findChildren<ImageBox*>())
            image->show();
        for (const char* name : {"lblPartsFoundsNumber", "lblPartsFounds"})
            app.find<QLabel>(QString::fromLatin1(name))->show();
        QTest::qWait(20);
        QCoreApplication::processEvents();

        QList<QWidget*> controls;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            const bool control =
                !widget->objectName().isEmpty() && !qobject_cast<QGroupBox*>(widget) &&
                !qobject_cast<QMenu*>(widget) &&
                widget->objectName() != QLatin1String("partSearchFrames") &&
                widget->objectName() != QLatin1String("centralWidget") &&
                !widget->objectName().startsWith(QLatin1String("qt_")) &&
                widget->isVisibleTo(&window) && widget->parentWidget() != nullptr &&
                widget->objectName() != QLatin1String("StatusBar1");
            if (control)
                controls << widget;
        }
        QVERIFY(controls.size() > 60);
        const QRect windowRect = window.rect();
        QHash<QWidget*, QRect> rects;
        for (QWidget* control : controls) {
            const QRect rect(control->mapTo(&window, QPoint()), control->size());
            QVERIFY2(windowRect.contains(rect), qPrintable(control->objectName()));
            QVERIFY2(control->width() > 0 && control->height() > 0,
                     qPrintable(control->objectName()));
            rects.insert(control, rect);
        }
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                QWidget* a = controls.at(i);
                QWidget* b = controls.at(j);
                if (a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                QVERIFY2(
                    !rects.value(a).intersects(rects.value(b)),
                    qPrintable(a->objectName() + QLatin1String(" overlaps ") + b->objectName()));
            }
        // A long text in a value field never pushes anything out of the window.
        app.find<QLabel>(QStringLiteral("txtDescription"))->setText(QString(400, QLatin1Char('W')));
        QCoreApplication::processEvents();
        QVERIFY(window.minimumSizeHint().width() <= 1280);
    }
};

QUILLON_TEST_CLASS(LayoutTest)
#include "test_layout.moc"
