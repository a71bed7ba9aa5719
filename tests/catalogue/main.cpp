// Runs every test class of the catalogue search and part display and of the custom prices.
#include "catalogue_tests.h"

#include <QApplication>

namespace quillon::tests {

std::vector<NamedCatalogueTestRunner>& catalogueTestRunners() {
    static std::vector<NamedCatalogueTestRunner> runners;
    return runners;
}

} // namespace quillon::tests

int main(int argc, char** argv) {
    // Amounts as a United Kingdom desktop shows them, whatever the machine's settings.
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("LANG", "en_GB.UTF-8");
    QApplication app(argc, argv);
    const auto& runners = quillon::tests::catalogueTestRunners();
    if (argc > 1) {
        for (const auto& runner : runners) {
            if (qstrcmp(argv[1], runner.className) == 0) {
                argv[1] = argv[0];
                return runner.run(argc - 1, argv + 1) == 0 ? 0 : 1;
            }
        }
    }
    int failures = 0;
    for (const auto& runner : runners)
        failures += runner.run(argc, argv);
    return failures == 0 ? 0 : 1;
}
