#include "folder_snapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace quillon::tests {

QMap<QString, QByteArray> folderSnapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir root(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray state;
        QFile file(path);
        // A link is what it points to; a named pipe is never opened (that would wait).
        if (info.isSymLink())
            state = "<link to " + QFile::encodeName(info.symLinkTarget()) + '>';
        else if (info.isDir())
            state = "<folder>";
        else if (!info.isFile())
            state = "<special>";
        else if (file.open(QIODevice::ReadOnly))
            state = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        else
            state = "<unreadable>";
        state += QByteArray::number(int(QFile::permissions(path)), 16);
        files.insert(root.relativeFilePath(path), state);
    }
    return files;
}

} // namespace quillon::tests
