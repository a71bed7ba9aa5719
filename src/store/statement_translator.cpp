#include "store/statement_translator.h"

#include "store/indexed_search_rewrite.h"
#include "store/sql_text.h"
#include "store/sql_tokenizer.h"
#include "store/statement_tokens.h"
#include "store/table_catalog.h"
#include "store/typed_values.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace quillon {

namespace {

using Kind = SqlToken::Kind;
using Span = StatementTokens::Span;

QString quoteText(const QString& text) {
    return u'\'' + sqlEscape(text) + u'\'';
}

// The kind of statement that a word begins, Other for any word but these four.
TranslatedStatement::Kind kindOfWord(const SqlToken& token) {
    using K = TranslatedStatement::Kind;
    for (const auto& [word, kind] :
         {std::pair{u"SELECT", K::Select}, std::pair{u"INSERT", K::Insert},
          std::pair{u"UPDATE", K::Update}, std::pair{u"DELETE", K::Delete}}) {
        if (token.isWord(word))
            return kind;
    }
    return K::Other;
}

// The kind of statement the tokens make: that of its first word, or after WITH that of the first
// of the four words outside parentheses (the common table expressions are inside them).
TranslatedStatement::Kind kindOfTokens(const std::vector<SqlToken>& tokens) {
    bool first = true;
    int depth = 0;
    for (const SqlToken& token : tokens) {
        if (!token.isSignificant())
            continue;
        if (first) {
            if (!token.isWord(u"WITH"))
                return kindOfWord(token);
            first = false;
        } else if (token.isSymbol(u"(")) {
            ++depth;
        } else if (token.isSymbol(u")")) {
            --depth;
        } else if (depth == 0 && kindOfWord(token) != TranslatedStatement::Kind::Other) {
            return kindOfWord(token);
        }
    }
    return TranslatedStatement::Kind::Other;
}

// One translation: the tokens of the statement, and what has been made of them. The values
// that go to typed columns are TypedValues' to write; a SELECT that the substring index or a
// loose match serves is IndexedSearchRewrite's.
class Translation {
public:
    Translation(const QString& statement, TableCatalog& catalog, const LooseMatch& loose,
                const QStringList& kept)
        : tokens_(statement), catalog_(catalog), loose_(loose), kept_(kept),
          typed_(tokens_, catalog) {}

    TranslatedStatement run() {
        out_.kind = kindOfTokens(tokens_.all());
        if (out_.kind == TranslatedStatement::Kind::Other)
            return other();
        tokens_.dropTrailingSemicolon();

        switch (out_.kind) {
        case TranslatedStatement::Kind::Insert:
            if (!translateInsert())
                out_.sql = passThrough(0, size());
            break;
        case TranslatedStatement::Kind::Update:
            if (!translateUpdate())
                out_.sql = passThrough(0, size());
            break;
        case TranslatedStatement::Kind::Delete:
            // "DELETE * FROM t": the star names nothing in the engine's SQL.
            if (size() > 1 && at(1).isSymbol(u"*"))
                out_.sql = at(0).text + u' ' + passThrough(2, size());
            else
                out_.sql = passThrough(0, size());
            break;
        case TranslatedStatement::Kind::Select:
            if (!translateSelect())
                out_.sql = passThrough(0, size());
            readOnlyKept();
            out_.testsEveryRow =
                !out_.indexed && std::any_of(tokens_.all().begin(), tokens_.all().end(),
                                             [](const SqlToken& t) { return t.isWord(u"LIKE"); });
            break;
        case TranslatedStatement::Kind::Other:
            out_.sql = passThrough(0, size());
            break;
        }
        return std::move(out_);
    }

private:
    // Positions below are indexes of significant tokens.
    qsizetype size() const { return tokens_.size(); }
    const SqlToken& at(qsizetype p) const { return tokens_.at(p); }
    bool symbolAt(qsizetype p, QStringView symbol) const { return tokens_.symbolAt(p, symbol); }
    bool wordAt(qsizetype p, QStringView word) const { return tokens_.wordAt(p, word); }
    [[noreturn]] void fail(const QString& message) const { tokens_.fail(message); }

    TranslatedStatement other() {
        out_.kind = TranslatedStatement::Kind::Other;
        out_.sql = tokens_.statement();
        return std::move(out_);
    }

    // The tokens at positions [from, to) in the engine's SQL, blanks kept as written.
    QString passThrough(qsizetype from, qsizetype to) {
        const auto& literals = typed_.comparedLiterals();
        QString sql;
        for (qsizetype p = from; p < to; ++p) {
            if (p > from)
                sql += tokens_.spaceBefore(p);
            const auto literal = literals.constFind(p);
            if (literal != literals.cend()) {
                sql += typed_.storedForm(p, *literal);
                p += literal->length - 1;
                continue;
            }
            // The engine reads a statement only up to a NUL character, so a quoted text that
            // holds one goes in as a parameter.
            if ((at(p).kind == Kind::String || at(p).kind == Kind::DoubleQuoted) &&
                at(p).value.contains(QChar(0))) {
                sql += parameter(at(p).value);
                continue;
            }
            sql += translateToken(p);
        }
        return sql;
    }

    QString translateToken(qsizetype p) const {
        const SqlToken& token = at(p);
        switch (token.kind) {
        case Kind::Word:
            if ((token.isWord(u"TRUE") || token.isWord(u"FALSE")) && !symbolAt(p - 1, u".") &&
                !symbolAt(p + 1, u"(") && !symbolAt(p + 1, u"."))
                return token.isWord(u"TRUE") ? QStringLiteral("1") : QStringLiteral("0");
            return token.text;
        case Kind::QuotedName:
            return StatementTokens::quoteName(token.value);
        case Kind::DoubleQuoted:
            return quoteText(token.value);
        case Kind::Symbol:
            if (token.text == u"?")
                fail(QStringLiteral("The statement has a \"?\" outside quotes."));
            return token.text;
        case Kind::String:
        case Kind::Number:
        case Kind::Space:
            break;
        }
        return token.text;
    }

    QString parameter(SqlParameter value) {
        out_.parameters.push_back(std::move(value));
        return u'?' + QString::number(out_.parameters.size());
    }

    // The engine's SQL for the value at positions [from, to) going into a column: a quoted text
    // or a number becomes a parameter converted to the column's type.
    QString valueFor(qsizetype from, qsizetype to, const TableCatalog::Table& table,
                     const TableCatalog::Column& column) {
        if (auto value = typed_.boundValue(from, to, table, column))
            return parameter(std::move(*value));
        return passThrough(from, to);
    }

    const TableCatalog::Table& tableAt(qsizetype p) {
        const TableCatalog::Table* table = catalog_.table(at(p).name());
        if (table == nullptr)
            fail(QStringLiteral("The store has no table %1.").arg(at(p).name()));
        return *table;
    }

    const TableCatalog::Column& columnOf(const TableCatalog::Table& table, const QString& name) {
        const TableCatalog::Column* column = table.column(name);
        if (column == nullptr)
            fail(QStringLiteral("The table %1 has no column %2.").arg(table.name, name));
        return *column;
    }

    // The expression of a select item, without its alias ("'v' AS a", "'v' a").
    Span withoutAlias(Span item) const {
        const auto [from, to] = item;
        const qsizetype as = tokens_.findTopLevelWord(from, to, {u"AS"});
        if (as >= 0 && as == to - 2 && at(to - 1).isName())
            return {from, as};
        if (to - from == 2 && tokens_.literalAt(from) && at(to - 1).isName())
            return {from, to - 1};
        return item;
    }

    // "SELECT * FROM t [WHERE ...] [ORDER BY ...]" of whose columns only some are kept: the
    // engine reads only those, not every column of every row.
    void readOnlyKept() {
        if (kept_.isEmpty() || size() < 4 || !symbolAt(1, u"*") || !wordAt(2, u"FROM") ||
            !at(3).isName() || (size() > 4 && !wordAt(4, u"WHERE") && !wordAt(4, u"ORDER")) ||
            tokens_.findTopLevelWord(
                4, size(), {u"GROUP", u"HAVING", u"WINDOW", u"UNION", u"EXCEPT", u"INTERSECT"}) >=
                0)
            return;
        // "ORDER BY 2" names a column by its place in the result.
        const qsizetype order = tokens_.findTopLevelWord(4, size(), {u"ORDER"});
        for (qsizetype p = order; order >= 0 && p < size(); ++p) {
            if (at(p).kind == Kind::Number)
                return;
        }
        const TableCatalog::Table* table = catalog_.table(at(3).name());
        if (table == nullptr)
            return;
        QStringList columns;
        for (const QString& name : kept_) {
            const TableCatalog::Column* column = table->column(name);
            if (column == nullptr)
                return; // the result reports the missing column as it would
            columns << StatementTokens::quoteName(column->name);
        }
        const QString head = at(0).text + tokens_.spaceBefore(1) + u'*';
        if (out_.sql.startsWith(head))
            out_.sql.replace(0, head.size(),
                             at(0).text + u' ' + columns.join(QStringLiteral(", ")));
    }

    bool translateSelect() {
        const IndexedSearchRewrite::Writer writer{
            [this](qsizetype from, qsizetype to) { return passThrough(from, to); },
            [this](SqlParameter value) { return parameter(std::move(value)); }};
        auto rewritten = IndexedSearchRewrite(tokens_, catalog_, loose_).rewrite(writer);
        if (!rewritten)
            return false;
        out_.sql = std::move(rewritten->sql);
        out_.indexed = rewritten->indexed;
        return true;
    }

    // INSERT INTO t [(cols)] SELECT values (no FROM) | VALUES (values)[, (values)]
    bool translateInsert() {
        qsizetype p = 1;
        if (!wordAt(p, u"INTO"))
            return false;
        ++p;
        if (p >= size() || !at(p).isName() || symbolAt(p + 1, u"."))
            return false;
        const TableCatalog::Table& table = tableAt(p);
        ++p;
        std::vector<const TableCatalog::Column*> columns;
        if (symbolAt(p, u"(")) {
            ++p;
            while (true) {
                if (p >= size() || !at(p).isName())
                    return false;
                columns.push_back(&columnOf(table, at(p).name()));
                ++p;
                if (symbolAt(p, u")"))
                    break;
                if (!symbolAt(p, u","))
                    return false;
                ++p;
            }
            ++p;
        } else {
            for (const TableCatalog::Column& column : table.columns)
                columns.push_back(&column);
        }

        std::vector<std::vector<Span>> rows;
        if (wordAt(p, u"SELECT")) {
            if (wordAt(p + 1, u"DISTINCT") || wordAt(p + 1, u"ALL"))
                return false;
            if (tokens_.findTopLevelWord(p + 1, size(),
                                         {u"FROM", u"WHERE", u"GROUP", u"HAVING", u"ORDER",
                                          u"LIMIT", u"UNION", u"EXCEPT", u"INTERSECT",
                                          u"WINDOW"}) >= 0)
                return false; // an INSERT ... SELECT over tables
            std::vector<Span> items;
            for (const auto& item : tokens_.splitAtCommas(p + 1, size()))
                items.push_back(withoutAlias(item));
            rows.push_back(std::move(items));
        } else if (wordAt(p, u"VALUES")) {
            ++p;
            while (true) {
                if (!symbolAt(p, u"("))
                    return false;
                const qsizetype close = tokens_.closing(p);
                rows.push_back(tokens_.splitAtCommas(p + 1, close));
                p = close + 1;
                if (p == size())
                    break;
                if (!symbolAt(p, u","))
                    return false;
                ++p;
            }
        } else {
            return false;
        }

        QStringList names;
        for (const TableCatalog::Column* column : columns)
            names << StatementTokens::quoteName(column->name);
        QStringList rowTexts;
        for (const auto& items : rows) {
            if (items.size() != columns.size())
                fail(QStringLiteral("The statement gives %1 values for %2 columns of %3.")
                         .arg(items.size())
                         .arg(columns.size())
                         .arg(table.name));
            QStringList values;
            for (std::size_t i = 0; i < items.size(); ++i)
                values << valueFor(items[i].first, items[i].second, table, *columns[i]);
            rowTexts << u'(' + values.join(QStringLiteral(", ")) + u')';
        }
        out_.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                       .arg(StatementTokens::quoteName(table.name),
                            names.join(QStringLiteral(", ")), rowTexts.join(QStringLiteral(", ")));
        return true;
    }

    // UPDATE t SET c = v, ... [WHERE condition]
    bool translateUpdate() {
        qsizetype p = 1;
        if (p >= size() || !at(p).isName() || symbolAt(p + 1, u"."))
            return false;
        const qsizetype tablePos = p;
        ++p;
        if (!wordAt(p, u"SET"))
            return false;
        ++p;
        if (tokens_.findTopLevelWord(p, size(), {u"FROM", u"ORDER", u"LIMIT", u"RETURNING"}) >= 0)
            return false;
        const TableCatalog::Table& table = tableAt(tablePos);
        qsizetype where = tokens_.findTopLevelWord(p, size(), {u"WHERE"});
        if (where < 0)
            where = size();
        QStringList assignments;
        for (const auto& [from, to] : tokens_.splitAtCommas(p, where)) {
            qsizetype q = from;
            // A column may be qualified with its table: t.c
            if (q + 2 < to && at(q).isName() && symbolAt(q + 1, u"."))
                q += 2;
            if (q >= to || !at(q).isName() || !(symbolAt(q + 1, u"=") || symbolAt(q + 1, u"==")))
                return false;
            const TableCatalog::Column& column = columnOf(table, at(q).name());
            assignments << StatementTokens::quoteName(column.name) + QStringLiteral(" = ") +
                               valueFor(q + 2, to, table, column);
        }
        out_.sql = QStringLiteral("UPDATE %1 SET %2")
                       .arg(StatementTokens::quoteName(table.name),
                            assignments.join(QStringLiteral(", ")));
        if (where < size())
            out_.sql += u' ' + passThrough(where, size());
        return true;
    }

    StatementTokens tokens_;
    TableCatalog& catalog_;
    const LooseMatch& loose_;
    const QStringList& kept_;
    TypedValues typed_;
    TranslatedStatement out_;
};

} // namespace

TranslatedStatement StatementTranslator::translate(const QString& statement,
                                                   const LooseMatch& loose,
                                                   const QStringList& keptColumns) {
    return Translation(statement, catalog_, loose, keptColumns).run();
}

TranslatedStatement::Kind StatementTranslator::kindOf(const QString& statement) {
    return kindOfTokens(SqlTokenizer::tokenize(statement));
}

} // namespace quillon
