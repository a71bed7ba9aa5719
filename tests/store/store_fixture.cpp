#include "store_fixture.h"

#include "store/schema.h"
#include "store/sql_text.h"

#include <QStringList>

namespace quillon::tests {

StoreFixture::StoreFixture() {
    if (!dir_.isValid())
        qFatal("Can't make a temp folder for the store tests");
}

std::unique_ptr<Database> StoreFixture::createStore(const QString& fileName, bool withParts) {
    auto db = Database::create(path(fileName));
    Schema::createUser(*db);
    if (withParts)
        Schema::createCatalogue(*db);
    return db;
}

QString render(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        return QStringLiteral("NULL");
    case Value::Kind::Text:
        return u'\'' + value.toText() + u'\'';
    case Value::Kind::Integer:
        return value.toText();
    case Value::Kind::Amount:
        return value.toText() + u'm';
    case Value::Kind::Boolean:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    return {};
}

QString render(Recordset&& result) {
    QStringList rows;
    for (result.moveFirst(); !result.eof(); result.moveNext()) {
        QStringList fields;
        for (int c = 0; c < result.columnCount(); ++c)
            fields << render(result.field(c));
        rows << fields.join(u',');
    }
    return rows.join(u';');
}

QString partNumberSearch(const QString& text) {
    QStringList conditions;
    for (const char* column :
         {"DorvaneNum", "RoverNum", "RoverSuper1", "RoverSuper2", "RoverSuper3", "RoverSuper4",
          "RoverSuper5", "RoverSuper6", "AltDorvaneNum"})
        conditions << QLatin1String(column) + QStringLiteral(" LIKE '*") + sqlEscape(text) + "*'";
    return QStringLiteral("SELECT * FROM Parts WHERE (") + conditions.join(QStringLiteral(" OR ")) +
           QStringLiteral(") ORDER BY ID ASC");
}

QString descriptionSearch(const QString& text, const QString& vehicle) {
    const QString like = QStringLiteral("Description LIKE '*") + sqlEscape(text) + "*'";
    if (vehicle.isEmpty())
        return QStringLiteral("SELECT * FROM Parts WHERE (") + like + u')';
    QStringList apps;
    for (int i = 1; i <= 9; ++i)
        apps << QStringLiteral("Application%1 = '").arg(i) + sqlEscape(vehicle) + u'\'';
    return QStringLiteral("SELECT * FROM Parts WHERE (") + like + QStringLiteral(" AND (") +
           apps.join(QStringLiteral(" OR ")) + QStringLiteral(")) ORDER BY ID ASC");
}

} // namespace quillon::tests
