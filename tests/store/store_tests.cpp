#include "store_tests.h"

namespace quillon::tests {

std::vector<TestRunner>& storeTestRunners() {
    static std::vector<TestRunner> runners;
    return runners;
}

} // namespace quillon::tests
