#pragma once

#include "store/database.h"

#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace quillon::tests {

// A temp folder with store files made by the engine itself.
class StoreFixture {
public:
    StoreFixture();

    QString path(const QString& fileName) const { return dir_.filePath(fileName); }

    // A new, empty User database (the five tables) at fileName, open read-write.
    std::unique_ptr<Database> createUserStore(const QString& fileName = QStringLiteral("user.mdb"));
    // A new Catalogue database at fileName holding the Parts rows that the statements insert;
    // closed again, so that it can be opened read-only.
    QString createCatalogue(const QStringList& inserts,
                            const QString& fileName = QStringLiteral("parts.mdb"));

private:
    QTemporaryDir dir_;
};

// A Value as the tests compare it: NULL, 'text', 3, 12.5m, TRUE/FALSE.
QString render(const Value& value);
// Every row of a result from the first, fields joined by ",", rows by ";". Leaves the result
// at its end.
QString render(Recordset& result);
// One column of every row, joined by ",".
QString renderColumn(Recordset& result, const QString& column);

// A row of a data table whose columns are all QString, from UTF-8 literals.
template <typename... Texts> void textRow(const char* name, const Texts&... texts) {
    (QTest::newRow(name) << ... << QString::fromUtf8(texts));
}

} // namespace quillon::tests
