#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace quillon::tests {

// Every file, folder and link under a folder, by relative path, with a digest of its content (or
// what it is) and its permissions: two snapshots compare equal when nothing was added, removed,
// changed or made read-only.
QMap<QString, QByteArray> folderSnapshot(const QString& folder);

} // namespace quillon::tests
