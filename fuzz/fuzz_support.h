#pragma once

// Helpers shared by the fuzz targets: property checks that stop the run with a readable report,
// and a scratch folder for targets that need files.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace quillon::fuzz {

// Reports a broken property (what was checked, with the values involved) and aborts, which
// libFuzzer records as a crash with the input that caused it.
[[noreturn]] void fail(const char* file, int line, const char* condition, const QString& detail);

// The text with every character outside printable ASCII written as \u{hex}, for reports.
QString visible(QStringView text);

// A folder of this process for scratch files, on a memory file system when there is one, made
// on first use and removed when the process ends.
const QString& scratchFolder();

// The input as bytes.
inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

} // namespace quillon::fuzz

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::quillon::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                       \
    } while (false)
