#include "robustness_fixture.h"

#include "app/start_up.h"
#include "folder_snapshot.h"
#include "store/database.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>

namespace quillon::tests {

AppFolderFixture::AppFolderFixture() : folder(dir.path()) {
    Schema::createCatalogue(*Database::create(folder.catalogue()));
    Schema::createUser(*Database::create(folder.userTemplate()));
}

void AppFolderFixture::makeUserDatabase() const {
    const auto db = Database::create(folder.userDatabase());
    Schema::createUser(*db);
    db->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT '01/02/2025' AS orderDate"));
    db->execute(QStringLiteral(
        "INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,Description,Quantity,Price,Comments) "
        "SELECT '1' AS a, 'DA1001' AS b, 'ERR1001' AS c, 'Oil filter' AS d, '3' AS e, '4.5' AS "
        "f, 'it''s urgent' AS Comment"));
}

void AppFolderFixture::makeBackup() const {
    QFile::remove(folder.userBackup());
    if (!QFile::copy(folder.userDatabase(), folder.userBackup()))
        qFatal("could not copy the user database");
}

QMap<QString, QByteArray> AppFolderFixture::snapshot() const {
    return folderSnapshot(dir.path());
}

void AppFolderFixture::writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
        qFatal("could not write %s", qPrintable(path));
}

QByteArray AppFolderFixture::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

bool ProgramRun::start(const AppFolder& folder) {
    window = StartUp::start(state, dialogs, browser, folder);
    return window != nullptr;
}

QString ProgramRun::onlyPrompt() const {
    if (dialogs.boxes().size() != 1)
        return QStringLiteral("%1 boxes").arg(dialogs.boxes().size());
    return dialogs.boxes().first().prompt;
}

bool ProgramRun::refused() const {
    if (state.userDb || state.catalogueDb || dialogs.boxes().size() != 1)
        return false;
    const auto& box = dialogs.boxes().first();
    return box.title == StartUp::failureTitle() && box.icon == Dialogs::Icon::Exclamation;
}

} // namespace quillon::tests
