#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

struct sqlite3;

namespace quillon::tests {

// The logical content of a User database, one entry per row, read straight from the engine:
//   order:<OrderNum>            OrderDate, OrderStatus
//   line:<OrderNum>:<ID>        every column of the orderParts row
//   custom:<rowid>              every column of the customParts row
//   oaddr:<rowid>, daddr:<rowid>  every column of the order / delivery address row
// A value is the row's columns, each tagged with its storage class, so that Null, an empty text,
// the number 0 and the text "0" all differ.
class StoreDump final {
public:
    using Rows = QMap<QString, QString>;

    // One row that differs: its new value, or nothing when the row is gone.
    struct Change {
        QString entity;
        std::optional<QString> value;
        friend bool operator==(const Change&, const Change&) = default;
    };

    // Reads every row of the five tables. Throws std::runtime_error on an engine failure.
    [[nodiscard]] static Rows read(sqlite3* db);
    // The changes that turn before into after, by entity.
    [[nodiscard]] static QList<Change> diff(const Rows& before, const Rows& after);
    static void apply(Rows& rows, const QList<Change>& changes);

    // A change as one tab-free, blank-free token ("entity=base64" or "entity=!"), and back.
    [[nodiscard]] static QString encode(const Change& change);
    [[nodiscard]] static std::optional<Change> decode(const QString& token);

    // The OrderNum of an "order:" or "line:" entity (a line's order may be "null").
    [[nodiscard]] static QString orderOf(const QString& entity);
};

} // namespace quillon::tests
