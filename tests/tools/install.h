#pragma once

#include "platform/app_folder_locator.h"
#include "store/database.h"
#include "store/schema.h"
#include "tool_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

namespace quillon::tests::tool {

using namespace Qt::StringLiterals;

// An installed system: <root>/usr/bin, the read-only <root>/usr/share/dorvane-quillon (the
// shipped files, a catalogue of DA1001 and the template) and <root>/home.
struct Install {
    QTemporaryDir root;
    QString bin = root.filePath(u"usr/bin"_s);
    QString installed = root.filePath(u"usr/share/dorvane-quillon"_s);
    QString home = root.filePath(u"home"_s);
    QString dataHome = home + u"/.local/share"_s;
    QString user = dataHome + u"/dorvane-quillon"_s;
    // The folders' names as the system gives them, when a test sets them.
    QByteArray programName, userName;

    Install() {
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
    // The folder found from the program in programFolder (default bin), which the process may
    // write or not, and completed, as the start that holds it completes it.
    AppFolderLocator::Location locate(bool canWrite = false, QString programFolder = {},
                                      const QStringList& more = {}) const {
        const auto location = AppFolderLocator({programFolder.isEmpty() ? bin : programFolder, user,
                                                [canWrite](const QString&) { return canWrite; },
                                                programName, userName})
                                  .locate(QStringList{u"dorvane-quillon"_s} + more);
        AppFolderLocator::complete(location);
        return location;
    }
};

} // namespace quillon::tests::tool
