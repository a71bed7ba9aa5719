#include "test_registry.h"

#include <vector>

namespace quillon::tests {

namespace {

struct Registered {
    const char* className;
    TestRegistry::Run run;
};

std::vector<Registered>& registered() {
    static std::vector<Registered> classes; // filled before main() by the static registrations
    return classes;
}

} // namespace

void TestRegistry::add(const char* className, Run run) {
    registered().push_back({className, run});
}

int TestRegistry::runAll(int argc, char** argv) {
    if (argc > 1) {
        for (const Registered& test : registered()) {
            if (qstrcmp(argv[1], test.className) == 0) {
                argv[1] = argv[0];
                return test.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
    }
    int failures = 0;
    for (const Registered& test : registered())
        failures += test.run(argc, argv);
    return failures == 0 ? 0 : 1;
}

} // namespace quillon::tests
