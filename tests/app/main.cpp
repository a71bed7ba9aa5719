// Runs every test class of the application core. Each test file registers one class.
#include "app_tests.h"

#include <QApplication>

namespace quillon::tests {

std::vector<NamedTestRunner>& appTestRunners() {
    static std::vector<NamedTestRunner> runners;
    return runners;
}

} // namespace quillon::tests

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    const auto& runners = quillon::tests::appTestRunners();
    if (argc > 1) {
        for (const auto& runner : runners) {
            if (qstrcmp(argv[1], runner.className) == 0) {
                argv[1] = argv[0];
                return runner.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
    }
    for (const auto& runner : runners)
        failures += runner.run(argc, argv);
    return failures == 0 ? 0 : 1;
}
