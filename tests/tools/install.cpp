#include "install.h"

#include "store/database.h"
#include "store/schema.h"
#include "tool_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace quillon::tests::tool {

Install::Install() {
    QDir().mkpath(bin);
    QDir().mkpath(home);
    const QString data = qEnvironmentVariable("QUILLON_TEST_DATA");
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString target = installed + u'/' + QDir(data).relativeFilePath(it.next());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(it.filePath(), target);
    }
    importParts(installed + u"/parts.mdb"_s, {u"DA1001"_s});
    Schema::createUser(*Database::create(installed + u"/systemuserDB.dat"_s));
    QDirIterator files(installed, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        QFile::setPermissions(files.next(), QFile::ReadOwner | QFile::ReadGroup);
}

AppFolderLocator::Location Install::locate(bool canWrite, QString programFolder,
                                           const QStringList& more) const {
    const auto location =
        AppFolderLocator({programFolder.isEmpty() ? bin : programFolder, user,
                          [canWrite](const QString&) { return canWrite; }, programName, userName})
            .locate(QStringList{u"dorvane-quillon"_s} + more);
    AppFolderLocator::complete(location);
    return location;
}

} // namespace quillon::tests::tool
