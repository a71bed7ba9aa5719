// Runs every test class of the housekeeping: About and Help, backup and restore.
#include "housekeeping_tests.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    failures += runTextWindowTests(argc, argv);
    failures += runUserDataBackupTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
