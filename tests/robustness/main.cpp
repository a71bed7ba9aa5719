// Runs every robustness test class: what stands in the folder at the start, hostile texts in the
// boxes, faults as files are written; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Amounts as a United Kingdom desktop writes them, whatever the machine's settings.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
