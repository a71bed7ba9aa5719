#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon::tests {

// A file's bytes, or "<unreadable>" when it can't be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>");
}

// Writes the bytes to the file, making the folders above it; a test can't go on when it fails.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
}

} // namespace quillon::tests
