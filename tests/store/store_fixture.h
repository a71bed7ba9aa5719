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
    // A new, empty User database (the five tables) at fileName, open read-write; with the
    // Catalogue's Parts table too when asked.
    std::unique_ptr<Database> createStore(const QString& fileName = QStringLiteral("user.mdb"),
                                          bool withParts = false);

private:
    QTemporaryDir dir_;
};

// A Value as the tests compare it: NULL, 'text', 3, 12.5m, TRUE/FALSE.
QString render(const Value& value);
// Every row of a result from the first, fields joined by ",", rows by ";".
QString render(Recordset&& result);
inline QString rows(Database& db, const QString& statement) {
    return render(db.openRecordset(statement));
}

// The program's searches for a text: by part number, and by description, limited to one
// vehicle unless it is empty.
QString partNumberSearch(const QString& text);
QString descriptionSearch(const QString& text, const QString& vehicle);

} // namespace quillon::tests
