#pragma once

// What the fuzz targets share: a property check that stops the run with a report (libFuzzer
// keeps the input that broke it), the input as bytes, and a scratch folder of the process.

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "\n*** property broken at %s:%d: %s\n*** %s\n", __FILE__,         \
                         __LINE__, #condition, qPrintable(QAnyStringView(detail).toString()));     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace quillon::fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// On a memory file system when there is one; removed when the process ends.
inline QString scratchFolder() {
    const QString shm = QStringLiteral("/dev/shm");
    static const QTemporaryDir dir((QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) +
                                   u"/fuzz-XXXXXX");
    FUZZ_CHECK(dir.isValid(), "no scratch folder");
    return dir.path();
}

} // namespace quillon::fuzz
