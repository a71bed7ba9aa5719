#include "folder_snapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace quillon::tests {

QMap<QString, QByteArray> folderSnapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir root(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray state =
            file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                : QByteArrayLiteral("<unreadable>");
        state += QByteArray::number(int(QFile::permissions(path)), 16);
        files.insert(root.relativeFilePath(path), state);
    }
    return files;
}

} // namespace quillon::tests
