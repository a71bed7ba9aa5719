// Every kind of text a counter hand might type or paste in the boxes: no engine error, every
// value stored reads back as typed, a refusal says why and stores nothing; the catalogue is only
// ever read.
#include "robustness_support.h"
#include "test_registry.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

using namespace quillon;
using namespace quillon::tests::robustness;
using namespace Qt::StringLiterals;
using quillon::tests::ProgramDriver;
using Button = Dialogs::Button;

class HostileTextsTest : public QObject {
    Q_OBJECT

private slots:
    // The box, and the statement that reads what it stored.
    void hostileTextsInEveryBox_data() {
        tests::addColumns<QString, QString>("box", "select");
        const auto row = [](const char* box, const char* select) {
            QTest::newRow(box) << QString::fromLatin1(box) << QString::fromLatin1(select);
        };
        row("txtFilePrice", "SELECT CustomerPrice FROM customParts");
        row("txtSellingPrice", "SELECT CustomerLRPrice FROM customParts");
        row("txtUnit", "SELECT CustomerUnitSale FROM customParts");
        row("txtQty", "SELECT Quantity FROM orderParts");
        row("txtComment", "SELECT Comments FROM orderParts");
        row("txtOrderName", "SELECT OrderContactName FROM orderCompanyDetails");
        row("txtOrderAddress1", "SELECT OrderAddress1 FROM orderCompanyDetails");
        row("txtDeliveryPostcode", "SELECT DeliveryPostcode FROM deliveryCompanyDetails");
        row("txtDeliveryTel", "SELECT DeliveryTel FROM deliveryCompanyDetails");
        row("new Order", "SELECT RecordName FROM orderCompanyDetails ORDER BY rowid DESC");
        row("new Delivery", "SELECT RecordName FROM deliveryCompanyDetails ORDER BY rowid DESC");
    }

    // Each text is taken as typed, and then stored (as typed, a price as the amount it names, a
    // quantity as the number it starts with) or refused with one box, nothing stored, as the
    // text's outcome says. (The search boxes' hostile texts are the counter's search table.)
    void hostileTextsInEveryBox() {
        QFETCH(QString, box);
        QFETCH(QString, select);
        ProgramDriver p;
        start(p);
        const QByteArray catalogue = p.snapshot().value(u"parts.mdb"_s);
        const QString side = box.contains(u"Order") ? u"Order"_s : u"Delivery"_s;
        if (box.startsWith(u"txtFile") || box.startsWith(u"txtSelling") || box == u"txtUnit") {
            p.searchPart(u"O'BR-2002"_s);
        } else if (box == u"txtQty" || box == u"txtComment") {
            p.dialogs.answerNext(Button::Yes);
            p.click(u"cmdStartOrder"_s);
            p.searchPart(u"QU\"OTE-3003"_s);
        }
        const auto stored = [&] { return p.userRows(select).value(0); };
        const auto tryAll = [&](QWidget& root) {
            for (const auto& [text, outcome] : hostileTexts(box)) {
                p.dialogs.clearRecords();
                const QString what = box + u": "_s + text.left(60);
                const QStringList before = userRows(p);
                bool taken = true;
                if (box == u"txtQty" || box == u"txtComment") {
                    if (!stored().isEmpty())
                        p.dialogs.answerNext(Button::Yes); // "Part exists in order." Update?
                    p.dialogs.onWindow(u"frmOrderQuantity"_s, [&](QDialog& dialog) {
                        const bool qty = box == u"txtQty";
                        ProgramDriver::typeInto(dialog.findChild<QLineEdit*>(u"txtQty"_s),
                                                qty ? text : u"2"_s);
                        ProgramDriver::typeInto(dialog.findChild<QLineEdit*>(u"txtComment"_s),
                                                qty ? u"x"_s : text);
                        taken = dialog.findChild<QLineEdit*>(box)->text() == text;
                        click(dialog, u"cmdOK"_s);
                        if (dialog.isVisible())
                            click(dialog, u"cmdCancel"_s);
                    });
                    click(root, u"cmdOrder"_s);
                } else if (box.startsWith(u"new")) {
                    p.dialogs.answerNextInput(text);
                    click(root, u"cmdNew%1Address"_s.arg(side));
                } else {
                    auto* target = root.findChild<QLineEdit*>(box);
                    target->setFocus(Qt::MouseFocusReason);
                    ProgramDriver::typeInto(target, text);
                    taken = target->text() == text;
                    if (&root == p.window.get())
                        click(root, u"cmdEnterFilePrice"_s);
                    else // an address is written when the focus leaves its box
                        QTest::keyClick(target, Qt::Key_Tab);
                }
                QVERIFY2(taken && engineErrors(p.dialogs).isEmpty(),
                         qPrintable(what + engineErrors(p.dialogs)));
                const QString said = prompts(p.dialogs, false);
                if (outcome.startsWith(u'!')) {
                    QVERIFY2(said.contains(outcome.mid(1)), qPrintable(what + u" said: "_s + said));
                    QVERIFY2(userRows(p) == before, qPrintable(what));
                } else {
                    QVERIFY2(said.isEmpty(), qPrintable(what + u" said: "_s + said));
                    QVERIFY2(stored() == (outcome.isEmpty() ? text : outcome.mid(1)),
                             qPrintable(what + u" stored as "_s + stored()));
                }
                if (QTest::currentTestFailed())
                    return;
            }
        };
        if (box.startsWith(u"txtOrder") || box.startsWith(u"txtDelivery") ||
            box.startsWith(u"new")) {
            p.dialogs.onWindow(u"frmOptions"_s, [&](QDialog& window) {
                QApplication::setActiveWindow(&window);
                QVERIFY(QTest::qWaitForWindowActive(&window));
                tryAll(window);
                click(window, u"cmdOK"_s);
            });
            p.click(u"cmdOptions"_s);
        } else {
            tryAll(*p.window);
        }
        QCOMPARE(p.state.userDb->integrityCheck(), QStringList());
        p.window.reset();
        QCOMPARE(p.snapshot().value(u"parts.mdb"_s), catalogue);
    }
};

QUILLON_TEST_CLASS(HostileTextsTest)
#include "test_hostile_texts.moc"
