// Runs every test class of the orders: the order lifecycle, Add to Order, the Part Order Details
// dialog and the View Parts Order window.
#include "orders_tests.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Amounts and dates as a United Kingdom desktop shows them, whatever the machine's settings.
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    QApplication app(argc, argv);
    int failures = 0;
    failures += runOrderLifecycleTests(argc, argv);
    failures += runAddToOrderTests(argc, argv);
    failures += runOrderQuantityDialogTests(argc, argv);
    failures += runViewOrderWindowTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
