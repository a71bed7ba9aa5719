#include "app_fixture.h"

#include "app/start_up.h"
#include "store/database.h"
#include "store/schema.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace quillon::tests {

AppFixture::AppFixture() : folder(dir.path()) {
    makeCatalogue(folder.catalogue());
    makeUserTemplate(folder.userTemplate());
}

void AppFixture::makeCatalogue(const QString& path) {
    auto db = Database::create(path);
    Schema::createCatalogue(*db);
}

void AppFixture::makeUserTemplate(const QString& path) {
    auto db = Database::create(path);
    Schema::createUser(*db);
}

bool AppFixture::start() {
    window = StartUp::start(state, dialogs, browser, folder);
    if (!window)
        return false;
    window->show();
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get());
}

MainWindow& AppFixture::started() {
    if (!start())
        qFatal("the main window did not start");
    return *window;
}

QMap<QString, QByteArray> AppFixture::snapshot() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir root(dir.path());
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray digest;
        if (file.open(QIODevice::ReadOnly))
            digest = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        files.insert(root.relativeFilePath(path), digest);
    }
    return files;
}

} // namespace quillon::tests
