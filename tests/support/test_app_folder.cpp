#include "test_app_folder.h"

#include "folder_snapshot.h"
#include "platform/user_settings.h"
#include "store/database.h"
#include "store/schema.h"

#include <QFile>

namespace quillon::tests {

TestAppFolder::TestAppFolder()
    : folder(dir.path()), previousConfigHome_(qgetenv("XDG_CONFIG_HOME")) {
    Schema::createCatalogue(*Database::create(folder.catalogue()));
    Schema::createUser(*Database::create(folder.userTemplate()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
}

TestAppFolder::~TestAppFolder() {
    qputenv("XDG_CONFIG_HOME", previousConfigHome_);
}

QString TestAppFolder::settingsFile() const {
    return UserSettings::defaultPath();
}

QMap<QString, QByteArray> TestAppFolder::snapshot() const {
    return folderSnapshot(dir.path());
}

} // namespace quillon::tests
