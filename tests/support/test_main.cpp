// The main() of a test executable whose test files each register their class (see
// QUILLON_TEST_CLASS): runs them in an application with a GUI, with amounts and dates as a
// United Kingdom desktop shows them, whatever the machine's settings.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
