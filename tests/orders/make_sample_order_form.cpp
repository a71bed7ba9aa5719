// Writes a sample printOrder.html (the shipped templates, two addresses, three lines) into the
// folder given, through Finalise Order in the real main window, for rendering in a browser. The
// templates come from $QUILLON_TEST_DATA.
#include "order_steps.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace quillon;
using namespace quillon::tests;

int main(int argc, char** argv) {
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no window is seen
    QApplication qt(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make-sample-order-form OUTPUT-FOLDER\n";
        return 2;
    }
    ProgramDriver app;
    const QDir data(qEnvironmentVariable("QUILLON_TEST_DATA"));
    for (const char* name :
         {"orderHeader.dat", "orderMidA.dat", "orderFooter.dat", "1pixel-black.gif"})
        if (!QFile::copy(data.filePath(name), app.folder.file(name)))
            qFatal("could not copy %s from QUILLON_TEST_DATA", name);
    const auto row = &ProgramDriver::row;
    app.addRows("orderCompanyDetails",
                {row("RecordName=Workshop|OrderContactName=Sam Archer|OrderAddress1=Archer 4x4 Ltd|"
                     "OrderAddress2=Unit 3, Mill Lane|OrderAddress3=Ashcombe|OrderAddress4=Wessex|"
                     "OrderPostcode=AS2 7PL|OrderTel=01632 960555")});
    app.addRows("deliveryCompanyDetails",
                {row("RecordName=Yard|DeliveryContactName=Goods In|DeliveryAddress1=Archer 4x4 Ltd|"
                     "DeliveryAddress2=Back Yard, Mill Lane|DeliveryAddress3=Ashcombe|"
                     "DeliveryPostcode=AS2 7PL")});
    app.addParts({row("ID=1|DorvaneNum=DA1024|RoverNum=STC1234|"
                      "Description=Brake pad set, front (Defender 110)"),
                  row("ID=2|DorvaneNum=DA2048|RoverNum=Dorvane Only|"
                      "Description=Wheel nut & stud kit, pack of 5")});
    addOrder(app, 1, false,
             {"DA1024|STC1234|Brake pad set|2|24.95|Urgent <2 days",
              "DA2048|Dorvane Only|Wheel nut kit|4|3.5",
              "DA9999|ESR1700|Oil filter (discontinued)|10|1234.5|Use \"equivalent\" if needed"});
    app.run();
    app.dialogs.onWindow("frmOptions", [](QDialog& window) { press(window, "cmdOK"); });
    app.dialogs.answerNext(Dialogs::Button::Yes);
    app.click("cmdFinaliseOrder");
    if (app.browser.requests().isEmpty() || !app.dialogs.errors().isEmpty()) {
        QTextStream(stderr) << "the order form was not made: " << app.dialogs.errors().join("; ")
                            << "\n";
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        QTextStream(stderr) << "can't make " << out.path() << "\n";
        return 1;
    }
    for (const QString name : {"printOrder.html", "1pixel-black.gif"}) {
        QFile::remove(out.filePath(name));
        if (!QFile::copy(app.folder.file(name), out.filePath(name))) {
            QTextStream(stderr) << "can't copy " << name << " to " << out.path() << "\n";
            return 1;
        }
    }
    QTextStream(stdout) << out.filePath("printOrder.html") << "\n";
    return 0;
}
