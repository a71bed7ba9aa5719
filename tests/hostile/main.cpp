// Runs every test class of the hostile input into every text box and the faults injected while the
// program runs; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
