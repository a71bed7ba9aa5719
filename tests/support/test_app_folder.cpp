#include "test_app_folder.h"

#include "folder_snapshot.h"
#include "store/database.h"
#include "store/schema.h"

namespace quillon::tests {

TestAppFolder::TestAppFolder() : folder(dir.path()) {
    Schema::createCatalogue(*Database::create(folder.catalogue()));
    Schema::createUser(*Database::create(folder.userTemplate()));
}

QMap<QString, QByteArray> TestAppFolder::snapshot() const {
    return folderSnapshot(dir.path());
}

} // namespace quillon::tests
