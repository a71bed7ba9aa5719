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

// Every row of a result from the first, fields joined by ",", rows by ";"; a field as NULL,
// 'text', 3, 12.5m, TRUE or FALSE.
inline QString render(Recordset&& result) {
    QStringList rows;
    for (result.moveFirst(); !result.eof(); result.moveNext()) {
        QStringList fields;
        for (int c = 0; c < result.columnCount(); ++c) {
            const Value value = result.field(c);
            const QString text = value.toText();
            const auto kind = value.kind();
            fields << (kind == Value::Kind::Null      ? QStringLiteral("NULL")
                       : kind == Value::Kind::Text    ? u'\'' + text + u'\''
                       : kind == Value::Kind::Amount  ? text + u'm'
                       : kind == Value::Kind::Boolean ? text.toUpper()
                                                      : text);
        }
        rows << fields.join(u',');
    }
    return rows.join(u';');
}

inline QString rows(Database& db, QAnyStringView statement) {
    return render(db.openRecordset(statement.toString()));
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
