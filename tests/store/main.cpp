// Runs every test class of the store. Each test file provides one run function.
#include "store_tests.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (const auto& run : quillon::tests::storeTestRunners())
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
