// Writes a sample printOrder.html (shipped templates, two addresses, three lines) into the folder
// given, through the real Finalise Order, for rendering in a browser. The templates come from
// $QUILLON_TEST_DATA.
#include "addresses/address_table.h"
#include "order_fixture.h"
#include "orders/order_finaliser.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextStream>

using namespace quillon;
using namespace quillon::tests;

int main(int argc, char** argv) {
    useUnitedKingdomSettings();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no window is seen
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make-sample-order-form OUTPUT-FOLDER\n";
        return 2;
    }
    OrderFixture fx;
    fx.addAddress(AddressTable::order(), "Workshop",
                  {"Sam Archer", "Archer 4x4 Ltd", "Unit 3, Mill Lane", "Ashcombe", "Wessex", "",
                   "AS2 7PL", "01632 960555"});
    fx.addAddress(
        AddressTable::delivery(), "Yard",
        {"Goods In", "Archer 4x4 Ltd", "Back Yard, Mill Lane", "Ashcombe", "", "", "AS2 7PL"});
    fx.addCataloguePart("DA1024", "STC1234", "Brake pad set, front (Defender 110)");
    fx.addCataloguePart("DA2048", "Dorvane Only", "Wheel nut & stud kit, pack of 5");
    const qint32 orderNum = fx.startOrder();
    fx.addLine(orderNum, "DA1024", "STC1234", "Brake pad set", "2", "24.95", "Urgent <2 days");
    fx.addLine(orderNum, "DA2048", "Dorvane Only", "Wheel nut kit", "4", "3.5");
    fx.addLine(orderNum, "DA9999", "ESR1700", "Oil filter (discontinued)", "10", "1234.5",
               "Use \"equivalent\" if needed");
    fx.dialogs.onWindow("frmOptions",
                        [](QDialog& window) { window.findChild<QPushButton*>("cmdOK")->click(); });
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    OrderFinaliser(fx.context).cmdFinaliseOrder_Click();
    if (fx.browser.requests().isEmpty() || !fx.dialogs.errors().isEmpty()) {
        QTextStream(stderr) << "the order form was not made: " << fx.dialogs.errors().join("; ")
                            << "\n";
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        QTextStream(stderr) << "can't make " << out.path() << "\n";
        return 1;
    }
    for (const QString& name :
         {QStringLiteral("printOrder.html"), QStringLiteral("1pixel-black.gif")}) {
        QFile::remove(out.filePath(name));
        if (!QFile::copy(fx.folder.file(name), out.filePath(name))) {
            QTextStream(stderr) << "can't copy " << name << " to " << out.path() << "\n";
            return 1;
        }
    }
    QTextStream(stdout) << out.filePath("printOrder.html") << "\n";
    return 0;
}
