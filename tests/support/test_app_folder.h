#pragma once

#include "platform/app_folder.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace quillon::tests {

// A fresh Application folder in a temporary directory, holding an empty catalogue parts.mdb and
// the empty user database template systemuserDB.dat; and, while it lives, a user configuration
// folder of its own (XDG_CONFIG_HOME), so that a run never reads or writes the real user's
// settings.
class TestAppFolder {
public:
    TestAppFolder();
    ~TestAppFolder();
    TestAppFolder(const TestAppFolder&) = delete;
    TestAppFolder& operator=(const TestAppFolder&) = delete;

    // The settings file a run on this folder keeps what it remembers in.
    [[nodiscard]] QString settingsFile() const;

    // Every file under the folder: see folderSnapshot().
    [[nodiscard]] QMap<QString, QByteArray> snapshot() const;

    QTemporaryDir dir;
    AppFolder folder;
    QTemporaryDir configHome;

private:
    QByteArray previousConfigHome_;
};

} // namespace quillon::tests
