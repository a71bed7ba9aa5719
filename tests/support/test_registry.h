#pragma once

#include <QTest>

namespace quillon::tests {

// The test classes of one test executable: each registers itself from its own file (see
// QUILLON_TEST_CLASS), and main() runs them.
class TestRegistry {
public:
    using Run = int (*)(int argc, char** argv);

    static void add(const char* className, Run run);
    // Runs every registered class; "test_x SomeTest [test functions and options]" runs that one
    // class only. Returns the process's exit code: 0 when every test passed.
    static int runAll(int argc, char** argv);
};

template <typename TestClass> int runTestClass(int argc, char** argv) {
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

// The columns of a data-driven test: their types, and their names in the same order.
template <typename... Types, typename... Names> void addColumns(const Names&... names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name a type");
    (QTest::addColumn<Types>(names), ...);
}

// One row of a data-driven test: its name, then its values in the order of the columns.
template <typename... Values> void addRow(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}

} // namespace quillon::tests

// Put after a test class's definition, in its .cpp file: registers it with the executable's main().
#define QUILLON_TEST_CLASS(TestClass)                                                              \
    static const bool TestClass##Registered =                                                      \
        (quillon::tests::TestRegistry::add(TestClass::staticMetaObject.className(),                \
                                           &quillon::tests::runTestClass<TestClass>),              \
         true);
