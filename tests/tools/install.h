#pragma once

#include "platform/app_folder_locator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quillon::tests::tool {

// An installed system: <root>/usr/bin, the read-only <root>/usr/share/dorvane-quillon (the
// shipped files, a catalogue of DA1001 and the template) and <root>/home.
struct Install {
    QTemporaryDir root;
    QString bin = root.filePath(QStringLiteral("usr/bin"));
    QString installed = root.filePath(QStringLiteral("usr/share/dorvane-quillon"));
    QString home = root.filePath(QStringLiteral("home"));
    QString dataHome = home + QStringLiteral("/.local/share");
    QString user = dataHome + QStringLiteral("/dorvane-quillon");
    // The folders' names as the system gives them, when a test sets them.
    QByteArray programName, userName;

    Install();
    // The folder found from the program in programFolder (default bin), which the process may
    // write or not, and completed, as the start that holds it completes it.
    AppFolderLocator::Location locate(bool canWrite = false, QString programFolder = {},
                                      const QStringList& more = {}) const;
};

} // namespace quillon::tests::tool
