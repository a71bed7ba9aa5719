#include "baseline_query.h"

#include "store/schema.h"
#include "store/text_fold.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <sqlite3.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace quillon::bench {

namespace {

int compareFolded(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return TextFold::compare(a, aBytes, b, bBytes);
}

// A typed text as the engine's own LIKE reads it: * and ? become % and _, quotes doubled.
QString likePattern(const QString& text) {
    QString pattern = text;
    pattern.replace(u'\'', u"''"_s);
    pattern.replace(u'*', u'%');
    pattern.replace(u'?', u'_');
    return u'%' + pattern + u'%';
}

} // namespace

BaselineQuery::BaselineQuery(const QString& cataloguePath) {
    if (sqlite3_open_v2(QFile::encodeName(cataloguePath).constData(), &db_, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
        throw std::runtime_error("can't open the catalogue for the baseline");
    sqlite3_create_collation_v2(db_, TextFold::collationName, SQLITE_UTF8, nullptr, compareFolded,
                                nullptr);
}

BaselineQuery::~BaselineQuery() {
    sqlite3_close_v2(db_);
}

double BaselineQuery::run(const QString& where, int* rows, qint64* firstId) {
    const QByteArray sql = (u"SELECT * FROM Parts WHERE "_s + where).toUtf8();
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("baseline: ") + sqlite3_errmsg(db_));
    int count = 0;
    qint64 first = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (count == 0)
            first = sqlite3_column_int64(stmt, 0);
        ++count;
    }
    sqlite3_finalize(stmt);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (rows != nullptr)
        *rows = count;
    if (firstId != nullptr)
        *firstId = first;
    return ms;
}

QString BaselineQuery::partNumberWhere(const QString& text) {
    const QString pattern = likePattern(text);
    QString where = u"("_s;
    QStringList tests;
    for (const QString& column : Schema::partNumberColumns())
        tests << column + u" LIKE '"_s + pattern + u'\'';
    return where + tests.join(u" OR "_s) + u") ORDER BY ID ASC"_s;
}

QString BaselineQuery::looseNumberWhere(const QString& text) {
    QString bare = text;
    bare.remove(QRegularExpression(u"[ ./-]"_s));
    QString where = partNumberWhere(text);
    where.chop(u" ORDER BY ID ASC"_s.size());
    for (const QString& column : Schema::partNumberColumns())
        where += u" OR replace(replace(replace(replace(%1, ' ', ''), '-', ''), "
                 u"'.', ''), '/', '') LIKE %2"_s.arg(column, u'\'' + likePattern(bare) + u'\'');
    return where + u" ORDER BY ID ASC"_s;
}

QString BaselineQuery::descriptionWhere(const QString& keyword, const QString& vehicle) {
    const QString pattern = likePattern(keyword);
    if (vehicle == u"- any -")
        return u"(Description LIKE '"_s + pattern + u"')"_s;
    QString value = vehicle;
    value.replace(u'\'', u"''"_s);
    QString where =
        u"(Description LIKE '"_s + pattern + u"' AND (Application1 = '"_s + value + u'\'';
    for (int i = 2; i <= 9; ++i)
        where += u" OR Application%1 = '"_s.arg(i) + value + u'\'';
    return where + u")) ORDER BY ID ASC"_s;
}

} // namespace quillon::bench
