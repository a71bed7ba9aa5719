// Runs every test class of the install: the folder rules, and a catalogue update under a running
// program; each test file registers one.
#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // As the program names itself, so that the desktop's data location ends in its folder name.
    QApplication::setApplicationName(QStringLiteral("dorvane-quillon"));
    QApplication::setOrganizationName(QString());
    return quillon::tests::TestRegistry::runAll(argc, argv);
}
