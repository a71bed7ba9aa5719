#pragma once

#include "store/database.h"

#include <QString>
#include <QTemporaryDir>
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

// The program's searches for a text (quoted here): by part number, and by description, limited
// to one vehicle unless it is empty.
QString partNumberSearch(const QString& text);
QString descriptionSearch(const QString& text, const QString& vehicle);

} // namespace quillon::tests
