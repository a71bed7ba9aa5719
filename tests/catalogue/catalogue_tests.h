#pragma once

#include <QObject>
#include <QTest>
#include <functional>
#include <vector>

namespace quillon::tests {

using CatalogueTestRunner = std::function<int(int, char**)>;
struct NamedCatalogueTestRunner {
    const char* className;
    CatalogueTestRunner run;
};

// The test classes of the catalogue search, results grid, Part Detail and custom prices register
// themselves here (see QUILLON_CATALOGUE_TEST). "test_catalogue SearchTest [functions and
// options]" runs one class only.
std::vector<NamedCatalogueTestRunner>& catalogueTestRunners();

template <typename TestClass> struct CatalogueTestRegistration {
    CatalogueTestRegistration() {
        catalogueTestRunners().push_back(
            {TestClass::staticMetaObject.className(), [](int argc, char** argv) {
                 TestClass test;
                 return QTest::qExec(&test, argc, argv);
             }});
    }
};

} // namespace quillon::tests

// Put after a test class's definition, in its .cpp file: registers it with the runner.
#define QUILLON_CATALOGUE_TEST(TestClass)                                                          \
    static const quillon::tests::CatalogueTestRegistration<TestClass> TestClass##Registration;
