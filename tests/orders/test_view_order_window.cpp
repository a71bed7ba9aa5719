#include "orders_fixture.h"
#include "platform/flex_grid.h"
#include "test_registry.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using quillon::Dialogs;
using quillon::FlexGrid;
using quillon::Money;
using quillon::tests::OrdersFixture;
using quillon::tests::StoredLine;

namespace {

template <typename T> T* child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s in the window", name);
    return found;
}

FlexGrid* grid(QDialog& window) {
    return child<FlexGrid>(window, "MSFlexGridViewOrder");
}

QString statusOf(QDialog& window) {
    // What StatusBarOrder shows.
    auto* bar = child<QStatusBar>(window, "StatusBarOrder");
    QStringList texts;
    for (QLabel* label : bar->findChildren<QLabel*>())
        texts << label->text();
    if (!bar->currentMessage().isEmpty())
        texts << bar->currentMessage();
    return texts.join(u'|');
}

// The selected block of the grid as "row rowSel col colSel".
QString selection(const FlexGrid& g) {
    return QStringLiteral("%1-%2 %3-%4").arg(g.row()).arg(g.rowSel()).arg(g.col()).arg(g.colSel());
}

void clickCell(FlexGrid* g, int row, int col) {
    const QRect cell = g->visualRect(g->model()->index(row - 1, col));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}

// Order 4, current, with three lines; tabs in the third line's texts show as blanks.
void seedThreeLines(OrdersFixture& f) {
    f.seedOrder(4, false);
    f.seedLine(4, "DA1", "NRC1", "Oil filter", 2, "4.5", "");
    f.seedLine(4, "DA2", "Dorvane Only", "Driver's seat \"cover\"", 3, "1234.5", "Don't bend");
    f.seedLine(4, "DA3", "NRC3", "Gasket\tset", 10, "0.25", "Box of\t\"ten\"");
}

} // namespace

class ViewOrderWindowTest : public QObject {
    Q_OBJECT

private slots:
    void anOrderWithThreeLines() {
        OrdersFixture f;
        seedThreeLines(f);
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        QList<QStringList> rows;
        QStringList labels;
        int fixedCols = -1;
        QString selected;
        QString status = "unset";
        QString total;
        f.onViewOrder([&](QDialog& w) {
            QCOMPARE(w.windowTitle(), "View Parts Order");
            labels << child<QLabel>(w, "lblOrderNum")->text()
                   << child<QLabel>(w, "lblOrderTotal")->text()
                   << child<QPushButton>(w, "cmdModify")->text()
                   << child<QPushButton>(w, "cmdDelete")->text()
                   << child<QPushButton>(w, "cmdOK")->text();
            FlexGrid* g = grid(w);
            rows = OrdersFixture::gridTexts(*g);
            fixedCols = g->fixedCols();
            selected = selection(*g);
            total = child<QLineEdit>(w, "txtOrderTotal")->text();
            status = statusOf(w);
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });

        f.viewOrder();

        QCOMPARE(f.dialogs.shownWindows(), QStringList{"frmViewOrder"});
        QCOMPARE(labels,
                 (QStringList{"Order Number 4", "Order Total £", "Modify", "Delete", "OK"}));
        QCOMPARE(fixedCols, 1);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QStringList{"", "DV No.", "Rover No.", "Description",
                                       "Special Instructions", "Qty", "Price", "Total"}));
        QCOMPARE(rows[1],
                 (QStringList{"1", "DA1", "NRC1", "Oil filter", "", "2", "£4.50", "£9.00"}));
        QCOMPARE(rows[2], (QStringList{"2", "DA2", "Dorvane Only", "Driver's seat \"cover\"",
                                       "Don't bend", "3", "£1,234.50", "£3,703.50"}));
        QCOMPARE(rows[3], (QStringList{"3", "DA3", "NRC3", "Gasket set", "Box of \"ten\"", "10",
                                       "£0.25", "£2.50"}));
        QCOMPARE(total, "£3,715.00");
        // The first line is the selected line, over the whole row.
        QCOMPARE(selected, "1-1 0-7");
        QCOMPARE(status, "");
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // Modify offers the selected line's values and rewrites just that line, by its ID; the price
    // stays as written, even when the catalogue's has changed.
    void modifyTheSecondLine() {
        OrdersFixture f;
        seedThreeLines(f);
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        f.showPart({"DA2", "Dorvane Only", "Driver's seat", "EA", *Money::fromPlainText(u"99"),
                    *Money::fromPlainText(u"99"), 2});
        const QList<StoredLine> before = f.lines(4);
        QString selectedAfterClick;
        QString selectedAfterModify;
        QString status;
        QStringList row2;
        QString total;
        f.answerQuantity("7 each", "Ring Sam's \"desk\" first");
        f.onViewOrder([&](QDialog& w) {
            FlexGrid* g = grid(w);
            clickCell(g, 2, 4);
            selectedAfterClick = selection(*g);
            QTest::mouseClick(child<QPushButton>(w, "cmdModify"), Qt::LeftButton);
            selectedAfterModify = selection(*g);
            status = statusOf(w);
            row2 = OrdersFixture::gridRow(*g, 2);
            total = child<QLineEdit>(w, "txtOrderTotal")->text();
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });

        f.viewOrder();

        QCOMPARE(selectedAfterClick, "2-2 0-7");
        QCOMPARE(f.quantityDialogs.size(), 1);
        // The dialog names the line's part, not the part the main window shows.
        QCOMPARE(f.quantityDialogs[0].part,
                 "DV No. DA2   Rover No. Dorvane Only / Driver's seat \"cover\"");
        QCOMPARE(f.quantityDialogs[0].offeredQuantity, "3");
        QCOMPARE(f.quantityDialogs[0].offeredComment, "Don't bend");
        QCOMPARE(status, "Order updated");
        QCOMPARE(selectedAfterModify, "1-1 0-7");
        QCOMPARE(row2, (QStringList{"2", "DA2", "Dorvane Only", "Driver's seat \"cover\"",
                                    "Ring Sam's \"desk\" first", "7", "£1,234.50", "£8,641.50"}));
        QCOMPARE(total, "£8,653.00");
        const QList<StoredLine> after = f.lines(4);
        QCOMPARE(after.size(), 3);
        QCOMPARE(after[1].id, before[1].id);
        QCOMPARE(after[1].quantity, 7);
        QCOMPARE(after[1].comments, "Ring Sam's \"desk\" first");
        QCOMPARE(after[1].price, before[1].price);
        for (int i : {0, 2}) {
            QCOMPARE(after[i].quantity, before[i].quantity);
            QCOMPARE(after[i].comments, before[i].comments);
        }
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    void modifyCancelledWritesNothing() {
        OrdersFixture f;
        seedThreeLines(f);
        f.seedLine(4, "DA4", "NRC4", "Bulk bolts", 40000, "0.1", "");
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        const QList<StoredLine> before = f.lines(4);
        QString status = "unset";
        f.cancelQuantity();
        f.onViewOrder([&](QDialog& w) {
            clickCell(grid(w), 4, 2);
            QTest::mouseClick(child<QPushButton>(w, "cmdModify"), Qt::LeftButton);
            status = statusOf(w);
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });

        f.viewOrder();

        QCOMPARE(f.quantityDialogs.size(), 1);
        QCOMPARE(f.quantityDialogs[0].offeredQuantity, "40000");
        QCOMPARE(status, "");
        const QList<StoredLine> after = f.lines(4);
        QCOMPARE(after.size(), before.size());
        for (qsizetype i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].quantity, before[i].quantity);
            QCOMPARE(after[i].comments, before[i].comments);
        }
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // A pick in any column selects the whole row, and Delete acts on that row's line.
    void deleteTheRowPicked_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("row 3 by its number") << 3 << 0;
        QTest::newRow("row 2 by its description") << 2 << 3;
        QTest::newRow("row 3 by its total") << 3 << 7;
    }

    void deleteTheRowPicked() {
        QFETCH(int, row);
        QFETCH(int, col);
        OrdersFixture f;
        seedThreeLines(f);
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        const QList<StoredLine> before = f.lines(4);
        QString selected;
        QString status;
        QList<QStringList> rows;
        f.dialogs.answerNext(Dialogs::Button::Yes);
        f.onViewOrder([&](QDialog& w) {
            FlexGrid* g = grid(w);
            clickCell(g, row, col);
            selected = selection(*g);
            QTest::mouseClick(child<QPushButton>(w, "cmdDelete"), Qt::LeftButton);
            status = statusOf(w);
            rows = OrdersFixture::gridTexts(*g);
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });

        f.viewOrder();

        QCOMPARE(selected, QStringLiteral("%1-%1 0-7").arg(row));
        QCOMPARE(f.dialogs.boxes().size(), 1);
        const auto& question = f.dialogs.boxes()[0];
        QCOMPARE(question.title, "Delete record?");
        QCOMPARE(question.prompt,
                 "Are you sure? This will permanently delete the part from this order.");
        QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(question.icon, Dialogs::Icon::Question);
        const QList<StoredLine> after = f.lines(4);
        QCOMPARE(status, "Part deleted");
        QCOMPARE(after.size(), 2);
        for (const StoredLine& line : after)
            QVERIFY(line.id != before[row - 1].id);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1][0], "1");
        QCOMPARE(rows[2][0], "2");
        QCOMPARE(f.commands(), "order on, finalise on, ORD on");
    }

    // Deleting the only line leaves the notice row, and there is nothing left to finalise.
    void deleteTheOnlyLine() {
        OrdersFixture f;
        f.seedOrder(4, false);
        f.seedLine(4, "DA1", "NRC1", "Oil filter", 2, "4.5", "");
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        QCOMPARE(f.commands(), "order on, finalise on, ORD on");
        QString status;
        QList<QStringList> rows;
        QString total = "unset";
        int boxesAfterDelete = 0;
        f.dialogs.answerNext(Dialogs::Button::Yes);
        f.onViewOrder([&](QDialog& w) {
            QTest::mouseClick(child<QPushButton>(w, "cmdDelete"), Qt::LeftButton);
            status = statusOf(w);
            rows = OrdersFixture::gridTexts(*grid(w));
            total = child<QLineEdit>(w, "txtOrderTotal")->text();
            boxesAfterDelete = f.dialogs.boxes().size();
            // Modify and Delete have nothing to act on now.
            QTest::mouseClick(child<QPushButton>(w, "cmdModify"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(w, "cmdDelete"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });

        f.viewOrder();

        QCOMPARE(status, "Part deleted");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1], (QStringList{"", "", "", "NO parts in current order.", "", "", "", ""}));
        QCOMPARE(total, "");
        QCOMPARE(boxesAfterDelete, 1);
        QCOMPARE(f.dialogs.boxes().size(), 1);
        QCOMPARE(f.dialogs.shownWindows(), QStringList{"frmViewOrder"});
        QVERIFY(f.allLines().isEmpty());
        QCOMPARE(f.orders(), QStringList{"4 open"});
        QCOMPARE(f.commands(), "order on, finalise off, ORD on");
        QVERIFY(f.dialogs.errors().isEmpty());
    }
};

QUILLON_TEST_CLASS(ViewOrderWindowTest)

#include "test_view_order_window.moc"
