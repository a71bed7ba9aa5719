#pragma once

#include <QObject>
#include <QTest>
#include <functional>
#include <vector>

namespace quillon::tests {

using TestRunner = std::function<int(int, char**)>;

// The test classes of the store register themselves here (see QUILLON_STORE_TEST).
std::vector<TestRunner>& storeTestRunners();

template <typename TestClass> struct StoreTestRegistration {
    StoreTestRegistration() {
        storeTestRunners().push_back([](int argc, char** argv) {
            TestClass test;
            return QTest::qExec(&test, argc, argv);
        });
    }
};

} // namespace quillon::tests

// Put after a test class's definition, in its .cpp file: registers it with the store's runner.
#define QUILLON_STORE_TEST(TestClass)                                                              \
    static const quillon::tests::StoreTestRegistration<TestClass> TestClass##Registration;
