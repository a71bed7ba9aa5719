// Runs every test class of the built programs: the tool's imports and command lines, the installed
// layouts and the running program; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
