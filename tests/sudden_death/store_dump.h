#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

struct sqlite3;

namespace quillon::tests {

// The logical content of a User database, one entry per row, read straight from the engine:
// "order:<OrderNum>", "line:<OrderNum>:<ID>", "custom:<rowid>", "oaddr:<rowid>", "daddr:<rowid>",
// each with its columns tagged by storage class (so that Null, "", 0 and "0" all differ).
class StoreDump final {
public:
    using Rows = QMap<QString, QString>;

    // Throws std::runtime_error on an engine failure.
    [[nodiscard]] static Rows read(sqlite3* db);
    // As one token without blanks or tabs, and back.
    [[nodiscard]] static QByteArray encode(const Rows& rows);
    [[nodiscard]] static Rows decode(const QByteArray& token);
};

} // namespace quillon::tests
