// Runs the install tests: the folder rules, and a catalogue update under a running program.
#include <QApplication>
#include <QTest>
#include <memory>

std::unique_ptr<QObject> makeFolderRulesTest();
std::unique_ptr<QObject> makeCatalogueUpdateTest();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // As the program names itself, so that the desktop's data location ends in its folder name.
    QApplication::setApplicationName(QStringLiteral("dorvane-quillon"));
    QApplication::setOrganizationName(QString());
    int failures = 0;
    for (const auto& make : {&makeFolderRulesTest, &makeCatalogueUpdateTest}) {
        const auto test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
