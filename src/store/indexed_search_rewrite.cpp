#include "store/indexed_search_rewrite.h"

#include "store/search_index.h"
#include "store/statement_tokens.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <tuple>
#include <vector>

namespace quillon {

// The index query for a condition at [from, to) that holds only where a row's indexed column
// holds a text: "c LIKE '*text*'", or such conditions joined by OR; or a condition joined by
// AND to others, one of whose parts is such. Nothing when there is none.
std::optional<QString> IndexedSearchRewrite::indexQuery(qsizetype from, qsizetype to,
                                                        const TableCatalog::Table& table) const {
    std::tie(from, to) = tokens_.withoutParentheses(from, to);
    if (from >= to || tokens_.findTopLevelWord(from, to, {u"BETWEEN", u"CASE"}) >= 0)
        return std::nullopt;
    // OR binds least: split at AND only where there is no OR outside parentheses.
    const auto conjuncts = tokens_.findTopLevelWord(from, to, {u"OR"}) >= 0
                               ? std::vector<StatementTokens::Span>{{from, to}}
                               : tokens_.splitAtWord(from, to, u"AND");
    if (conjuncts.size() > 1) {
        for (const auto& [a, b] : conjuncts) {
            if (auto query = indexQuery(a, b, table))
                return query;
        }
        return std::nullopt;
    }
    // Each part of an OR: indexed column LIKE '*text*'. The texts.
    QStringList texts;
    QSet<QString> known; // the texts so far: a long OR list is read in linear time
    for (auto [a, b] : tokens_.splitAtWord(from, to, u"OR")) {
        std::tie(a, b) = tokens_.withoutParentheses(a, b);
        if (b - a != 3 || !tokens_.at(a).isName() || !tokens_.at(a + 1).isWord(u"LIKE") ||
            tokens_.at(a + 2).kind != SqlToken::Kind::String)
            return std::nullopt;
        const QString& name = tokens_.at(a).name();
        const bool indexed = std::any_of(
            table.searchColumns.begin(), table.searchColumns.end(), [&](const QString& column) {
                return column.compare(name, Qt::CaseInsensitive) == 0 &&
                       table.column(column) != nullptr;
            });
        const auto text = SearchIndex::plainInfix(tokens_.at(a + 2).value);
        if (!indexed || !text)
            return std::nullopt;
        if (!known.contains(*text)) {
            known.insert(*text);
            texts << *text;
        }
    }
    QStringList queries;
    for (const QString& text : texts)
        queries << u'(' + SearchIndex::rowsHolding(text, table.searchTermRows, table.rowEstimate) +
                       u')';
    return queries.join(QStringLiteral(" OR "));
}

// The bare text of the loose match, when it asks for more rows; nothing otherwise.
std::optional<QString> IndexedSearchRewrite::looseText() const {
    const QString bare = SearchIndex::bareText(loose_.text);
    if (bare.isEmpty() || loose_.columns.isEmpty())
        return std::nullopt;
    for (QChar c : bare) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            return std::nullopt;
    }
    return bare;
}

// Whether the table's index holds the bare forms of the loose match's columns.
bool IndexedSearchRewrite::indexHoldsBareForms(const TableCatalog::Table& table) const {
    return std::all_of(loose_.columns.begin(), loose_.columns.end(), [&](const QString& c) {
        const QString indexed = SearchIndex::bareColumnName(c);
        return std::any_of(table.searchColumns.begin(), table.searchColumns.end(),
                           [&indexed](const QString& name) {
                               return name.compare(indexed, Qt::CaseInsensitive) == 0;
                           });
    });
}

// The condition that a row's column, without its marks, holds the bare text.
QString IndexedSearchRewrite::looseCondition(const TableCatalog::Table& table, const QString& bare,
                                             const Writer& writer) const {
    const QString pattern = writer.parameter(u'*' + bare + u'*');
    QStringList conditions;
    for (const QString& name : loose_.columns) {
        const TableCatalog::Column* column = table.column(name);
        if (column == nullptr)
            tokens_.fail(QStringLiteral("The table %1 has no column %2.").arg(table.name, name));
        conditions << SearchIndex::bareSql(StatementTokens::quoteName(column->name)) +
                          QStringLiteral(" LIKE ") + pattern;
    }
    return conditions.join(QStringLiteral(" OR "));
}

std::optional<IndexedSearchRewrite::Rewritten>
IndexedSearchRewrite::rewrite(const Writer& writer) const {
    const qsizetype size = tokens_.size();
    const qsizetype from = tokens_.findTopLevelWord(1, size, {u"FROM"});
    if (from < 0 || from + 2 >= size || !tokens_.at(from + 1).isName() ||
        !tokens_.wordAt(from + 2, u"WHERE"))
        return std::nullopt;
    const TableCatalog::Table* table = catalog_.table(tokens_.at(from + 1).name());
    if (table == nullptr)
        return std::nullopt;
    const qsizetype where = from + 2;
    qsizetype end = tokens_.findTopLevelWord(
        where + 1, size,
        {u"GROUP", u"HAVING", u"ORDER", u"LIMIT", u"WINDOW", u"UNION", u"EXCEPT", u"INTERSECT"});
    if (end < 0)
        end = size;
    auto query = table->searchIndex.isEmpty() ? std::nullopt : indexQuery(where + 1, end, *table);
    const auto bare = looseText();
    if (!query && !bare)
        return std::nullopt;
    QString condition = u'(' + writer.passThrough(where + 1, end) + u')';
    if (bare) {
        condition = u'(' + condition + QStringLiteral(" OR ") +
                    looseCondition(*table, *bare, writer) + u')';
        if (query && indexHoldsBareForms(*table) && SearchIndex::plainInfix(u'*' + *bare + u'*')) {
            const QString bareQuery =
                u'(' + SearchIndex::rowsHolding(*bare, table->searchTermRows, table->rowEstimate) +
                u')';
            if (*query != bareQuery)
                *query += QStringLiteral(" OR ") + bareQuery;
        } else {
            query.reset(); // every row is tested
        }
    }
    QString sql = writer.passThrough(0, where + 1) + u' ' + condition;
    if (query)
        sql += QStringLiteral(" AND %1.rowid IN (SELECT rowid FROM %2 WHERE %2 MATCH %3)")
                   .arg(StatementTokens::quoteName(table->name),
                        StatementTokens::quoteName(table->searchIndex), writer.parameter(*query));
    if (end < size)
        sql += u' ' + writer.passThrough(end, size);
    return Rewritten{sql, query.has_value()};
}

} // namespace quillon
