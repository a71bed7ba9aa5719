// Runs every test class of the robustness suite. Each test file registers one class.
#include "robustness_tests.h"

#include <QApplication>

namespace quillon::tests {

std::vector<NamedRobustnessTest>& robustnessTests() {
    static std::vector<NamedRobustnessTest> tests;
    return tests;
}

} // namespace quillon::tests

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto& tests = quillon::tests::robustnessTests();
    if (argc > 1) {
        for (const auto& test : tests) {
            if (qstrcmp(argv[1], test.className) == 0) {
                argv[1] = argv[0];
                return test.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
    }
    int failures = 0;
    for (const auto& test : tests)
        failures += test.run(argc, argv);
    return failures == 0 ? 0 : 1;
}
