#include "robustness_fixture.h"

#include "store/database.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>

namespace quillon::tests {

void AppFolderFixture::makeUserDatabase() const {
    const auto db = Database::create(folder.userDatabase());
    Schema::createUser(*db);
    db->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT '01/02/2025' AS orderDate"));
    db->execute(QStringLiteral(
        "INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,Description,Quantity,Price,Comments) "
        "SELECT '1' AS a, 'DA1001' AS b, 'ERR1001' AS c, 'Oil filter' AS d, '3' AS e, '4.5' AS "
        "f, 'it''s urgent' AS Comment"));
}

void AppFolderFixture::writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
        qFatal("could not write %s", qPrintable(path));
}

QByteArray AppFolderFixture::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

} // namespace quillon::tests
