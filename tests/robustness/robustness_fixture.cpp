#include "robustness_fixture.h"

#include "app/start_up.h"
#include "store/database.h"
#include "store/schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
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
    QMap<QString, QByteArray> files;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir root(dir.path());
    while (it.hasNext()) {
        const QString path = it.next();
        QByteArray state = QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
        state += QByteArray::number(int(QFile::permissions(path)), 16);
        files.insert(root.relativeFilePath(path), state);
    }
    return files;
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
