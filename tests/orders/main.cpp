// Runs every test class of the orders: the current order, Add to Order, the Order form with
// Previous Orders, and the order addresses; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Amounts and dates as a United Kingdom desktop shows them, whatever the machine's settings.
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
