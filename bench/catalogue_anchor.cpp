#include "catalogue_anchor.h"

#include "store/schema.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <sqlite3.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace quillon::bench {

namespace {

const QStringList amountColumns = {u"CustomerPrice"_s, u"LRPrice"_s, u"CustomerLRPrice"_s};

// The Parts table of the catalogue, with the collation the shell knows.
QString partsTable(const QString& cataloguePath) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(cataloguePath).constData(), &db, SQLITE_OPEN_READONLY,
                    nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_schema WHERE name = 'Parts'", -1, &stmt,
                       nullptr);
    QString sql;
    if (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW)
        sql = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    if (sql.isEmpty())
        throw std::runtime_error("the catalogue has no Parts table");
    return sql.replace(u"COLLATE UNOCASE"_s, u"COLLATE NOCASE"_s);
}

QStringList headerOf(const QString& csvPath) {
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        throw std::runtime_error("can't read " + csvPath.toStdString());
    return QString::fromUtf8(csv.readLine()).trimmed().split(u',');
}

double timed(const QString& program, const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!input.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(3600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(QString(program + u" failed: ").toStdString() +
                                 process.readAllStandardError().toStdString());
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

double CatalogueAnchor::build(const QString& csvPath, const QString& cataloguePath,
                              const QString& anchorPath) {
    const QString shell = QStandardPaths::findExecutable(u"sqlite3"_s);
    if (shell.isEmpty())
        throw std::runtime_error("the sqlite3 shell is not installed (scripts/install-deps)");
    const QStringList columns = headerOf(csvPath);
    QStringList values;
    for (const QString& column : columns) {
        if (column == u"ID")
            values << u"CAST(ID AS INTEGER)"_s;
        else if (amountColumns.contains(column))
            values << u"iif(%1 = '', NULL, CAST(round(%1 * 10000) AS INTEGER))"_s.arg(column);
        else
            values << u"nullif(%1, '')"_s.arg(column);
    }
    QString csv = csvPath;
    csv.replace(u'"', u"\"\""_s);
    const QString script =
        u".bail on\n%1;\n.import --csv --schema temp \"%2\" PartsCsv\n"
        u"INSERT INTO Parts (%3) SELECT %4 FROM temp.PartsCsv;\n"
        u"CREATE VIRTUAL TABLE Parts_search USING fts5(%5, Description, content='Parts', "
        u"content_rowid='ID', tokenize='trigram', detail=none);\n"
        u"INSERT INTO Parts_search(Parts_search) VALUES ('rebuild');\n"
        u"CREATE INDEX PartsRoverNum ON Parts (RoverNum);\n"
        u"CREATE INDEX PartsDorvaneNum ON Parts (DorvaneNum);\n"_s.arg(
            partsTable(cataloguePath), csv, columns.join(u", "_s), values.join(u", "_s),
            Schema::partNumberColumns().join(u", "_s));
    QFile::remove(anchorPath);
    return timed(shell, {anchorPath}, script.toUtf8());
}

double CatalogueAnchor::import(const QString& tool, const QString& csvPath,
                               const QString& catalogueOut) {
    QFile::remove(catalogueOut);
    return timed(tool, {u"import-catalogue"_s, csvPath, catalogueOut}, {});
}

} // namespace quillon::bench
