// Runs every test class of the application core: start-up and shut-down, the window's layout and
// keys, dialogs, the handler guard; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
