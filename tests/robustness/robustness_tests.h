#pragma once

#include <QObject>
#include <QTest>
#include <functional>
#include <vector>

namespace quillon::tests {

using RobustnessTestRunner = std::function<int(int, char**)>;
struct NamedRobustnessTest {
    const char* className;
    RobustnessTestRunner run;
};

// The test classes of the robustness suite register themselves here (QUILLON_ROBUSTNESS_TEST).
// "test_robustness SingleInstanceTest [test functions and options]" runs one class only.
std::vector<NamedRobustnessTest>& robustnessTests();

template <typename TestClass> struct RobustnessTestRegistration {
    RobustnessTestRegistration() {
        robustnessTests().push_back(
            {TestClass::staticMetaObject.className(), [](int argc, char** argv) {
                 TestClass test;
                 return QTest::qExec(&test, argc, argv);
             }});
    }
};

} // namespace quillon::tests

// Put after a test class's definition, in its .cpp file: registers it with the runner.
#define QUILLON_ROBUSTNESS_TEST(TestClass)                                                         \
    static const quillon::tests::RobustnessTestRegistration<TestClass> TestClass##Registration;
