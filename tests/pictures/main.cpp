// Runs every test class of the part pictures and the picture window; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
