// Writes a sample printOrder.html (the shipped templates, two addresses, three lines) and its
// 1pixel-black.gif into the folder given, through Finalise Order in the real main window, for
// rendering in a browser. The templates come from $QUILLON_TEST_DATA.
#include "order_steps.h"

#include <QDir>
#include <QFile>

using namespace quillon;
using namespace quillon::tests;

int main(int argc, char** argv) {
    qputenv("LC_ALL", "en_GB.UTF-8"); // amounts as in the United Kingdom
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no window is seen
    QApplication qt(argc, argv);
    if (argc != 2)
        qFatal("usage: make-sample-order-form OUTPUT-FOLDER");
    ProgramDriver app;
    app.copyOrderFormFiles();
    addAddress(app, u"Order|Workshop|Sam Archer|Archer 4x4 Ltd|Unit 3, Mill Lane|Ashcombe|Wessex||"
                    "AS2 7PL|01632 960555"_s);
    addAddress(app,
               u"Delivery|Yard|Goods In|Archer 4x4 Ltd|Back Yard, Mill Lane|Ashcombe|||AS2 7PL"_s);
    addParts(app, {u"DA1024|STC1234|Brake pad set, front (Defender 110)"_s,
                   u"DA2048|Dorvane Only|Wheel nut & stud kit, pack of 5"_s});
    addOrder(
        app, 1, false,
        {u"DA1024|STC1234|Brake pad set|2|24.95|Urgent <2 days"_s,
         u"DA2048|Dorvane Only|Wheel nut kit|4|3.5"_s,
         u"DA9999|ESR1700|Oil filter (discontinued)|10|1234.5|Use \"equivalent\" if needed"_s});
    app.run();
    app.dialogs.onWindow(u"frmOptions"_s, [](QDialog& window) { press(window, "cmdOK"); });
    app.dialogs.answerNext(Dialogs::Button::Yes);
    app.click(u"cmdFinaliseOrder"_s);
    if (app.browser.requests().isEmpty() || !app.dialogs.errors().isEmpty())
        qFatal("the order form was not made: %s", qPrintable(app.dialogs.errors().join(u"; ")));
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const QString& name : {u"printOrder.html"_s, u"1pixel-black.gif"_s}) {
        QFile::remove(out.filePath(name));
        if (!out.mkpath(u"."_s) || !QFile::copy(app.folder.file(name), out.filePath(name)))
            qFatal("could not copy %s to %s", qPrintable(name), qPrintable(out.path()));
    }
    return 0;
}
