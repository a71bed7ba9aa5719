// Runs every test class of the robustness suite: faults at start-up, one run of the program a
// folder, the fuzz findings; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
