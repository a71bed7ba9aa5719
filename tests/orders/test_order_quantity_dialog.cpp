#include "orders_fixture.h"
#include "test_registry.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using quillon::Dialogs;
using quillon::Money;
using quillon::tests::OrdersFixture;
using quillon::tests::ShownPart;
using quillon::tests::StoredLine;

namespace {

const QString noQuantity = QStringLiteral("Please enter a quantity or press Cancel.");
const QString fraction =
    QStringLiteral("The quantity must be a whole number.\r\n\r\nPlease enter a whole quantity or "
                   "press Cancel.");
const QString outOfRange =
    QStringLiteral("The quantity is too large.\r\n\r\nPlease enter a quantity from -2147483648 to "
                   "2147483647 or press Cancel.");

ShownPart oilFilter() {
    return ShownPart{"DA1",
                     "NRC1",
                     "Oil filter",
                     "EA",
                     *Money::fromPlainText(u"4.5"),
                     *Money::fromPlainText(u"5"),
                     1};
}

void startWithNewOrder(OrdersFixture& f) {
    QVERIFY(f.start());
    f.dialogs.answerNext(Dialogs::Button::Yes);
    f.newOrder();
    f.dialogs.clearRecords();
}

template <typename T> T* child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s in the dialog", name);
    return found;
}

// The top left corner of a widget in the dialog's coordinates.
QPoint at(QDialog& dialog, QWidget* widget) {
    return widget->mapTo(&dialog, QPoint(0, 0));
}

} // namespace

class OrderQuantityDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theDialog() {
        OrdersFixture f;
        startWithNewOrder(f);
        f.showPart(oilFilter());
        QStringList focusChain;
        bool okDefault = false;
        bool cancelDefault = true;
        QString geometryProblem;
        f.dialogs.onWindow("frmOrderQuantity", [&](QDialog& d) {
            auto* txtQty = child<QLineEdit>(d, "txtQty");
            auto* txtComment = child<QLineEdit>(d, "txtComment");
            auto* cmdOK = child<QPushButton>(d, "cmdOK");
            auto* cmdCancel = child<QPushButton>(d, "cmdCancel");
            okDefault = cmdOK->isDefault();
            cancelDefault = cmdCancel->isDefault();

            // The quantity row above the instructions row; OK and Cancel side by side at the
            // bottom right; the quantity box short, the instructions box wide.
            if (!(at(d, txtQty).y() < at(d, txtComment).y()))
                geometryProblem += "quantity not above instructions; ";
            if (!(at(d, cmdOK).y() > at(d, txtComment).y() &&
                  at(d, cmdOK).y() == at(d, cmdCancel).y() &&
                  at(d, cmdOK).x() < at(d, cmdCancel).x()))
                geometryProblem += "buttons not side by side below; ";
            if (!(at(d, cmdCancel).x() + cmdCancel->width() > d.width() * 3 / 4))
                geometryProblem += "buttons not on the right; ";
            if (!(txtQty->width() * 2 < txtComment->width()))
                geometryProblem += "quantity box not short; ";

            // The tab order, from the quantity box.
            QApplication::setActiveWindow(&d);
            txtQty->setFocus();
            for (int i = 0; i < 4; ++i) {
                QWidget* focus = QApplication::focusWidget();
                focusChain << (focus ? focus->objectName() : QStringLiteral("(none)"));
                QTest::keyClick(focus ? focus : &d, Qt::Key_Tab);
            }

            // Enter in the quantity box presses OK.
            txtQty->setFocus();
            txtQty->setText("6");
            QTest::keyClick(txtQty, Qt::Key_Return);
        });

        f.addToOrder();

        QCOMPARE(geometryProblem, "");
        QVERIFY(okDefault);
        QVERIFY(!cancelDefault);
        QCOMPARE(focusChain, (QStringList{"txtQty", "txtComment", "cmdOK", "cmdCancel"}));
        QCOMPARE(f.lines(1).size(), 1);
        QCOMPARE(f.lines(1)[0].quantity, 6);
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // OK takes the number the quantity box begins with; what can't be a line's quantity brings a
    // message and leaves the dialog open with the boxes as typed.
    void quantityTexts_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<qint64>("stored");
        QTest::newRow("3 boxes") << "3 boxes"
                                 << "" << qint64(3);
        QTest::newRow("leading blanks") << "  12"
                                        << "" << qint64(12);
        QTest::newRow("negative") << "-2"
                                  << "" << qint64(-2);
        QTest::newRow("2.0 is whole") << "2.0"
                                      << "" << qint64(2);
        QTest::newRow("largest") << "2147483647"
                                 << "" << qint64(2147483647);
        QTest::newRow("empty") << "" << noQuantity << qint64(0);
        QTest::newRow("0") << "0" << noQuantity << qint64(0);
        QTest::newRow("PAIR") << "PAIR" << noQuantity << qint64(0);
        QTest::newRow("fraction") << "2.5" << fraction << qint64(0);
        QTest::newRow("fraction with text") << "0.5 litre" << fraction << qint64(0);
        QTest::newRow("beyond 32 bits") << "2147483648" << outOfRange << qint64(0);
        QTest::newRow("far beyond") << "99999999999999999999999" << outOfRange << qint64(0);
        QTest::newRow("below 32 bits") << "-2147483649" << outOfRange << qint64(0);
    }

    void quantityTexts() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(qint64, stored);
        OrdersFixture f;
        startWithNewOrder(f);
        const QString statusBefore = f.status();
        f.showPart(oilFilter());
        bool openAfterOk = false;
        QString quantityAfterOk;
        QString commentAfterOk;
        f.dialogs.onWindow("frmOrderQuantity", [&](QDialog& d) {
            auto* txtQty = child<QLineEdit>(d, "txtQty");
            auto* txtComment = child<QLineEdit>(d, "txtComment");
            txtQty->clear();
            QTest::keyClicks(txtQty, typed);
            QTest::keyClicks(txtComment, "Fit with care");
            QTest::mouseClick(child<QPushButton>(d, "cmdOK"), Qt::LeftButton);
            openAfterOk = d.isVisible();
            quantityAfterOk = txtQty->text();
            commentAfterOk = txtComment->text();
            if (d.isVisible())
                QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
        });

        f.addToOrder();

        QVERIFY(f.dialogs.errors().isEmpty());
        if (message.isEmpty()) {
            QVERIFY(!openAfterOk);
            QVERIFY(f.dialogs.boxes().isEmpty());
            QCOMPARE(f.lines(1).size(), 1);
            QCOMPARE(f.lines(1)[0].quantity, stored);
            QCOMPARE(f.lines(1)[0].comments, "Fit with care");
            QCOMPARE(f.status(), "Part added to order number 1");
        } else {
            QVERIFY(openAfterOk);
            QCOMPARE(quantityAfterOk, typed);
            QCOMPARE(commentAfterOk, "Fit with care");
            QCOMPARE(f.dialogs.boxes().size(), 1);
            QCOMPARE(f.dialogs.boxes()[0].prompt, message);
            QCOMPARE(f.dialogs.boxes()[0].title, "Dorvane Quillon");
            QCOMPARE(f.dialogs.boxes()[0].buttons, Dialogs::Buttons::Ok);
            QCOMPARE(f.dialogs.boxes()[0].icon, Dialogs::Icon::None);
            // Then Cancel: nothing written, nothing said, nothing enabled.
            QVERIFY(f.allLines().isEmpty());
            QCOMPARE(f.status(), statusBefore);
            QCOMPARE(f.commands(), "order on, finalise off, ORD on");
        }
    }

    // Cancel, Esc and the window's frame all answer Cancel: nothing is written, and the line's
    // values offered by the dialog are not offered again.
    void everyWayOutButOkCancels_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("window frame") << "close";
    }

    void everyWayOutButOkCancels() {
        QFETCH(QString, way);
        OrdersFixture f;
        startWithNewOrder(f);
        f.showPart(oilFilter());
        f.answerQuantity("4", "urgent");
        f.addToOrder();
        const QString statusBefore = f.status();
        f.dialogs.clearRecords();

        f.dialogs.answerNext(Dialogs::Button::Yes);
        QString offered;
        f.dialogs.onWindow("frmOrderQuantity", [&](QDialog& d) {
            auto* txtQty = child<QLineEdit>(d, "txtQty");
            offered = txtQty->text();
            txtQty->setText("9");
            child<QLineEdit>(d, "txtComment")->setText("changed");
            if (way == "cancel") {
                QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
            } else if (way == "escape") {
                txtQty->setFocus();
                QTest::keyClick(txtQty, Qt::Key_Escape);
            } else {
                d.close();
            }
        });

        f.addToOrder();

        QCOMPARE(offered, "4");
        QVERIFY(f.dialogs.errors().isEmpty());
        QCOMPARE(f.dialogs.shownWindows(), QStringList{"frmOrderQuantity"});
        QCOMPARE(f.status(), statusBefore);
        QCOMPARE(f.lines(1).size(), 1);
        QCOMPARE(f.lines(1)[0].quantity, 4);
        QCOMPARE(f.lines(1)[0].comments, "urgent");
    }

    // Quantities beyond 16 bits are offered exactly.
    void aLargeStoredQuantityIsOfferedExactly() {
        OrdersFixture f;
        f.seedOrder(1, false);
        f.seedLine(1, "DA1", "NRC1", "Oil filter", 40000, "4.5", "bulk");
        QVERIFY(f.start());
        f.dialogs.clearRecords();
        f.showPart(oilFilter());
        f.dialogs.answerNext(Dialogs::Button::Yes);
        QString offered;
        f.dialogs.onWindow("frmOrderQuantity", [&](QDialog& d) {
            offered = child<QLineEdit>(d, "txtQty")->text();
            QTest::mouseClick(child<QPushButton>(d, "cmdOK"), Qt::LeftButton);
        });

        f.addToOrder();

        QCOMPARE(f.dialogs.boxes().size(), 1);
        QVERIFY(f.dialogs.boxes()[0].prompt.contains("\r\nQuantity = 40000\r\n"));
        QCOMPARE(offered, "40000");
        QCOMPARE(f.lines(1).size(), 1);
        QCOMPARE(f.lines(1)[0].quantity, 40000);
        QCOMPARE(f.lines(1)[0].comments, "bulk");
    }
};

QUILLON_TEST_CLASS(OrderQuantityDialogTest)

#include "test_order_quantity_dialog.moc"
