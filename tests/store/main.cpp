// Runs every test class of the store; each test file registers one.
#include "test_registry.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
