#pragma once

#include "store/database.h"
#include "store/schema.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace quillon::tests {

// A new store file in the folder, open read-write: the User tables, and Parts when asked.
inline std::unique_ptr<Database> createStore(const QTemporaryDir& dir, const QString& name,
                                             bool withParts = false) {
    auto db = Database::create(dir.filePath(name));
    Schema::createUser(*db);
    if (withParts)
        Schema::createCatalogue(*db);
    return db;
}

// A Value as the tests compare it: NULL, 'text', 3, 12.5m, TRUE/FALSE.
inline QString render(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        return QStringLiteral("NULL");
    case Value::Kind::Text:
        return u'\'' + value.toText() + u'\'';
    case Value::Kind::Amount:
        return value.toText() + u'm';
    case Value::Kind::Boolean:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default:
        return value.toText();
    }
}

// Every row of a result from the first, fields joined by ",", rows by ";".
inline QString render(Recordset&& result) {
    QStringList rows;
    for (result.moveFirst(); !result.eof(); result.moveNext()) {
        QStringList fields;
        for (int c = 0; c < result.columnCount(); ++c)
            fields << render(result.field(c));
        rows << fields.join(u',');
    }
    return rows.join(u';');
}

inline QString rows(Database& db, const QString& statement) {
    return render(db.openRecordset(statement));
}

// A test's table of text columns written as rows "a>b>c" parted by "|", each row its own tag.
inline void textTable(std::initializer_list<const char*> columns, const char* table) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QString& line : QString::fromUtf8(table).split(u'|')) {
        QTestData& row = QTest::newRow(qPrintable(line));
        for (qsizetype c = 0; c < qsizetype(columns.size()); ++c)
            row << line.section(u'>', int(c), int(c));
    }
}

} // namespace quillon::tests
