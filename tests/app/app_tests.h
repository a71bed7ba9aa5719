#pragma once

#include <QObject>
#include <QTest>
#include <functional>
#include <vector>

namespace quillon::tests {

using TestRunner = std::function<int(int, char**)>;
struct NamedTestRunner {
    const char* className;
    TestRunner run;
};

// The test classes of the application core register themselves here (see QUILLON_APP_TEST).
// "test_app KeysTest [test functions and options]" runs one class only.
std::vector<NamedTestRunner>& appTestRunners();

template <typename TestClass> struct AppTestRegistration {
    AppTestRegistration() {
        appTestRunners().push_back(
            {TestClass::staticMetaObject.className(), [](int argc, char** argv) {
                 TestClass test;
                 return QTest::qExec(&test, argc, argv);
             }});
    }
};

} // namespace quillon::tests

// Put after a test class's definition, in its .cpp file: registers it with the runner.
#define QUILLON_APP_TEST(TestClass)                                                                \
    static const quillon::tests::AppTestRegistration<TestClass> TestClass##Registration;
