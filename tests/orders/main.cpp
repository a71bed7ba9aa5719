// Runs the test classes of the orders, the Order form and the addresses (each file registers one).
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Amounts and dates as a United Kingdom desktop shows them, whatever the machine's settings.
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
