#pragma once

#include "platform/app_folder.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace quillon::tests {

// A fresh Application folder in a temporary directory, holding an empty catalogue parts.mdb and
// the empty user database template systemuserDB.dat.
class TestAppFolder {
public:
    TestAppFolder();

    // Every file under the folder: see folderSnapshot().
    [[nodiscard]] QMap<QString, QByteArray> snapshot() const;

    QTemporaryDir dir;
    AppFolder folder;
};

} // namespace quillon::tests
