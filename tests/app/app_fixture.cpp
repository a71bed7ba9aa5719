#include "app_fixture.h"

#include "app/start_up.h"
#include "folder_snapshot.h"
#include "store/database.h"
#include "store/schema.h"

#include <QApplication>
#include <QDir>
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
    return folderSnapshot(dir.path());
}

} // namespace quillon::tests
