// Runs every test class of the store and of the grid; each test file registers one. The grid's
// tests show widgets, hence an application with a GUI.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
