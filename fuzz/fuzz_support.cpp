#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quillon::fuzz {

void fail(const char* file, int line, const char* condition, const QString& detail) {
    std::fprintf(stderr, "\n*** property broken at %s:%d\n*** %s\n*** %s\n", file, line, condition,
                 detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QString visible(QStringView text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u{%1}").arg(c.unicode(), 0, 16);
    }
    return out;
}

const QString& scratchFolder() {
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/quillon-fuzz-XXXXXX"));
        if (!dir->isValid()) {
            std::fprintf(stderr, "can't make a scratch folder under %s\n", qPrintable(base));
            std::abort();
        }
        return dir;
    }();
    static const QString path = folder->path();
    return path;
}

} // namespace quillon::fuzz
