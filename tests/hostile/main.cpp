// Runs the hostile-input tests and the injected-fault tests; "test_hostile TestInjectedFaults
// [functions and options]" runs one class only.
#include "hostile_tests.h"

#include <QApplication>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const struct {
        const char* name;
        int (*run)(int, char**);
    } classes[] = {{"TestHostileInput", runHostileInputTests},
                   {"TestInjectedFaults", runInjectedFaultTests}};
    if (argc > 1) {
        for (const auto& testClass : classes) {
            if (std::strcmp(argv[1], testClass.name) == 0) {
                argv[1] = argv[0];
                return testClass.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
    }
    int failed = 0;
    for (const auto& testClass : classes)
        failed += testClass.run(argc, argv);
    return failed == 0 ? 0 : 1;
}
