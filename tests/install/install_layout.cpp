#include "install_layout.h"

#include "store/database.h"
#include "store/schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace quillon::tests {

namespace {

void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            qFatal("can't copy %s", qPrintable(source));
    }
}

} // namespace

InstallLayout::InstallLayout() {
    QDir().mkpath(bin());
    QDir().mkpath(home());
    copyTree(qEnvironmentVariable("QUILLON_TEST_DATA"), installed());
    importCatalogue(installed() + QStringLiteral("/parts.mdb"), {QStringLiteral("DA1001")});
    makeUserTemplate(installed() + QStringLiteral("/systemuserDB.dat"));
    // Installed files are read-only to their users, as a package leaves them.
    QDirIterator it(installed(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

void InstallLayout::importCatalogue(const QString& path, const QStringList& dorvaneNums) {
    QTemporaryDir work;
    const QString csv = work.filePath(QStringLiteral("parts.csv"));
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("can't write %s", qPrintable(csv));
    file.write("DorvaneNum,RoverNum,Description,CustomerPrice\n");
    for (const QString& number : dorvaneNums)
        file.write(QStringLiteral("%1,ERR%1,OIL FILTER,12.5\n").arg(number).toUtf8());
    file.close();
    QProcess tool;
    tool.start(QStringLiteral(QUILLON_DB_PATH), {QStringLiteral("import-catalogue"), csv, path});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
        qFatal("quillon-db import-catalogue failed: %s", tool.readAllStandardError().constData());
}

QStringList InstallLayout::numbersOf(Recordset& parts) {
    QStringList numbers;
    for (parts.moveFirst(); !parts.eof(); parts.moveNext())
        numbers << parts.field(QStringLiteral("DorvaneNum")).toText();
    return numbers;
}

QStringList InstallLayout::partsOf(const QString& catalogue) {
    auto db = Database::open(catalogue, Database::Access::ReadOnly);
    Recordset parts = db->openRecordset(QStringLiteral("SELECT DorvaneNum FROM Parts ORDER BY ID"));
    return numbersOf(parts);
}

void InstallLayout::makeUserTemplate(const QString& path) {
    auto db = Database::create(path);
    Schema::createUser(*db);
}

QMap<QString, QString> InstallLayout::snapshot(const QString& folder) {
    QMap<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir root(folder);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QString value;
        if (info.isSymLink()) {
            value = QStringLiteral("-> ") + info.symLinkTarget();
        } else if (info.isFile()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                value = QString::fromLatin1(
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
        } else {
            value = QStringLiteral("folder");
        }
        entries.insert(root.relativeFilePath(path), value);
    }
    return entries;
}

} // namespace quillon::tests
