#include "store/statement_translator.h"

#include "store/locale_formats.h"
#include "store/search_index.h"
#include "store/sql_tokenizer.h"
#include "store/store_error.h"
#include "store/table_catalog.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>
#include <optional>

namespace quillon {

namespace {

using Kind = SqlToken::Kind;

QString quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString quoteText(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

bool isLiteral(const SqlToken& token) {
    return token.kind == Kind::String || token.kind == Kind::DoubleQuoted ||
           token.kind == Kind::Number;
}

bool isComparison(const SqlToken& token) {
    static const QSet<QString> operators = {
        QStringLiteral("="), QStringLiteral("=="), QStringLiteral("<>"), QStringLiteral("!="),
        QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"),  QStringLiteral(">=")};
    return token.kind == Kind::Symbol && operators.contains(token.text);
}

bool isArithmetic(const SqlToken& token) {
    static const QSet<QString> operators = {
        QStringLiteral("+"), QStringLiteral("-"),  QStringLiteral("*"), QStringLiteral("/"),
        QStringLiteral("%"), QStringLiteral("||"), QStringLiteral("&"), QStringLiteral("|")};
    return token.kind == Kind::Symbol && operators.contains(token.text);
}

// A whole number the columns can hold: blanks around it, an optional sign, digits, 32 bits.
std::optional<qint64> strictWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype i = (!trimmed.isEmpty() && (trimmed[0] == u'-' || trimmed[0] == u'+')) ? 1 : 0;
    if (i == trimmed.size())
        return std::nullopt;
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < u'0' || trimmed[i] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return number;
}

std::optional<qint64> booleanFlag(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == u"true" || word == u"-1" || word == u"1" || word == u"yes" || word == u"on")
        return 1;
    if (word == u"false" || word == u"0" || word == u"no" || word == u"off")
        return 0;
    return std::nullopt;
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

// One translation: the tokens of the statement, and what has been made of them.
class Translation {
public:
    Translation(const QString& statement, TableCatalog& catalog, const LooseMatch& loose)
        : statement_(statement), catalog_(catalog), loose_(loose),
          tokens_(SqlTokenizer::tokenize(statement)) {
        for (qsizetype i = 0; i < qsizetype(tokens_.size()); ++i) {
            if (tokens_[i].isSignificant())
                sig_.push_back(i);
        }
        matchParentheses();
    }

    TranslatedStatement run() {
        out_.kind = kindOfTokens(tokens_);
        if (out_.kind == TranslatedStatement::Kind::Other)
            return other();
        dropTrailingSemicolon();

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
            if (!translateIndexedSelect())
                out_.sql = passThrough(0, size());
            break;
        case TranslatedStatement::Kind::Other:
            out_.sql = passThrough(0, size());
            break;
        }
        return std::move(out_);
    }

private:
    // A literal compared with an amount or Boolean column.
    struct TypedLiteral {
        qsizetype length;
        ColumnType type;
        QString column;
    };

    // Positions below are indexes of significant tokens.
    qsizetype size() const { return qsizetype(sig_.size()); }
    const SqlToken& at(qsizetype p) const { return tokens_[sig_[p]]; }
    bool symbolAt(qsizetype p, QStringView symbol) const {
        return p >= 0 && p < size() && at(p).isSymbol(symbol);
    }
    bool wordAt(qsizetype p, QStringView word) const {
        return p >= 0 && p < size() && at(p).isWord(word);
    }

    TranslatedStatement other() {
        out_.kind = TranslatedStatement::Kind::Other;
        out_.sql = statement_;
        return std::move(out_);
    }

    const LocaleFormats& formats() const {
        if (!formats_)
            formats_.emplace();
        return *formats_;
    }

    [[noreturn]] void fail(const QString& message) const { throw StoreError(message, statement_); }

    void dropTrailingSemicolon() {
        for (qsizetype p = 0; p < size(); ++p) {
            if (!at(p).isSymbol(u";"))
                continue;
            for (qsizetype q = p + 1; q < size(); ++q) {
                if (!at(q).isSymbol(u";"))
                    fail(QStringLiteral("Only one statement can be run at a time."));
            }
            sig_.resize(std::size_t(p));
            return;
        }
    }

    // Pairs every opening parenthesis with its closing one, so that the searches below step
    // over a parenthesised part at once: the translation takes time in proportion to the
    // statement's length, however deep it nests. Parentheses that don't pair, or that nest deeper
    // than the engine reads (its parser stops short of 100), are refused.
    void matchParentheses() {
        static constexpr std::size_t deepest = 100;
        close_.assign(sig_.size(), -1);
        std::vector<qsizetype> open;
        for (qsizetype p = 0; p < size(); ++p) {
            if (at(p).isSymbol(u"(")) {
                open.push_back(p);
                if (open.size() > deepest)
                    fail(QStringLiteral("The statement nests parentheses more than %1 deep.")
                             .arg(deepest));
            } else if (at(p).isSymbol(u")")) {
                if (open.empty())
                    fail(QStringLiteral("The statement has a \")\" that closes nothing."));
                close_[std::size_t(open.back())] = p;
                open.pop_back();
            }
        }
        if (!open.empty())
            fail(QStringLiteral("The statement has a \"(\" that is not closed."));
    }

    // The position after p, stepping over a parenthesised part that begins at p.
    qsizetype after(qsizetype p) const {
        return at(p).isSymbol(u"(") ? close_[std::size_t(p)] + 1 : p + 1;
    }

    // The positions [from, to) split at the commas outside parentheses.
    std::vector<std::pair<qsizetype, qsizetype>> splitAtCommas(qsizetype from, qsizetype to) const {
        std::vector<std::pair<qsizetype, qsizetype>> parts;
        qsizetype start = from;
        for (qsizetype p = from; p < to; p = after(p)) {
            if (at(p).isSymbol(u",")) {
                parts.emplace_back(start, p);
                start = p + 1;
            }
        }
        parts.emplace_back(start, to);
        return parts;
    }

    // The first position in [from, to) outside parentheses holding one of the words, or -1.
    qsizetype findTopLevelWord(qsizetype from, qsizetype to,
                               std::initializer_list<QStringView> words) const {
        for (qsizetype p = from; p < to; p = after(p)) {
            for (QStringView word : words) {
                if (at(p).isWord(word))
                    return p;
            }
        }
        return -1;
    }

    // The columns of the tables that the statement names whose values are kept in another
    // form than they are written: amounts (ten-thousandths) and Booleans (1 and 0), folded.
    const QHash<QString, ColumnType>& typedColumns() {
        if (typedColumns_)
            return *typedColumns_;
        typedColumns_.emplace();
        QSet<QString> names;
        for (qsizetype p = 0; p < size(); ++p) {
            if (at(p).isName())
                names.insert(at(p).name().toCaseFolded());
        }
        for (const TableCatalog::Table& table : catalog_.tables()) {
            if (!names.contains(table.name.toCaseFolded()))
                continue;
            for (const TableCatalog::Column& column : table.columns) {
                if (column.type == ColumnType::Amount || column.type == ColumnType::Boolean)
                    typedColumns_->insert(column.name.toCaseFolded(), column.type);
            }
        }
        return *typedColumns_;
    }

    // The type of the amount or Boolean column that position p refers to (not a function or a
    // table qualifier), if it does.
    std::optional<ColumnType> typedColumnAt(qsizetype p) {
        if (p < 0 || p >= size() || !at(p).isName())
            return std::nullopt;
        if (symbolAt(p + 1, u"(") || symbolAt(p + 1, u"."))
            return std::nullopt;
        const auto& columns = typedColumns();
        const auto found = columns.constFind(at(p).name().toCaseFolded());
        if (found == columns.cend())
            return std::nullopt;
        return *found;
    }

    // Whether the sign at p stands before a number rather than between two operands.
    bool signIsUnaryAt(qsizetype p) const {
        if (p == 0)
            return true;
        const SqlToken& before = at(p - 1);
        if (before.kind == Kind::Symbol)
            return before.text != u")";
        for (QStringView word : {u"AND", u"OR", u"NOT", u"WHERE", u"ON", u"WHEN", u"THEN", u"ELSE",
                                 u"SELECT", u"BETWEEN", u"IN", u"IS"}) {
            if (before.isWord(word))
                return true;
        }
        return false;
    }

    // The number of tokens of a literal at p: 1 for a number or a quoted text, 2 for a sign and
    // a number; 0 when there is none.
    qsizetype literalLengthAt(qsizetype p) const {
        if (p < 0 || p >= size())
            return 0;
        if (isLiteral(at(p)))
            return 1;
        if ((at(p).isSymbol(u"-") || at(p).isSymbol(u"+")) && p + 1 < size() &&
            at(p + 1).kind == Kind::Number && signIsUnaryAt(p))
            return 2;
        return 0;
    }

    bool arithmeticAt(qsizetype p) const { return p >= 0 && p < size() && isArithmetic(at(p)); }

    // Finds the literals compared with amount and Boolean columns: "c = 12.5", "12.5 < c",
    // "c [NOT] BETWEEN 1 AND 2", "c [NOT] IN (1, 2)". A literal that is part of arithmetic is
    // left alone.
    void findTypedLiterals() {
        typedLiterals_.emplace();
        auto mark = [this](qsizetype start, ColumnType type, const QString& column) {
            const qsizetype length = literalLengthAt(start);
            if (length == 0 || arithmeticAt(start - 1) || arithmeticAt(start + length))
                return false;
            typedLiterals_->insert(start, {length, type, column});
            return true;
        };
        for (qsizetype p = 0; p < size(); ++p) {
            const auto type = typedColumnAt(p);
            if (!type)
                continue;
            const QString& column = at(p).name();
            // Where the column reference begins: at its table's name when it has one (t.c).
            const qsizetype first =
                p >= 2 && symbolAt(p - 1, u".") && at(p - 2).isName() ? p - 2 : p;
            if (p + 1 < size() && isComparison(at(p + 1)) && !arithmeticAt(first - 1))
                mark(p + 2, *type, column);
            if (first >= 2 && isComparison(at(first - 1)) && !arithmeticAt(p + 1)) {
                qsizetype start = first - 2;
                if (at(start).kind == Kind::Number && literalLengthAt(start - 1) == 2)
                    --start;
                mark(start, *type, column);
            }
            qsizetype q = p + 1;
            if (wordAt(q, u"NOT"))
                ++q;
            if (wordAt(q, u"BETWEEN")) {
                const qsizetype low = q + 1;
                const qsizetype lowLength = literalLengthAt(low);
                if (lowLength > 0 && wordAt(low + lowLength, u"AND")) {
                    const qsizetype high = low + lowLength + 1;
                    if (literalLengthAt(high) > 0 && !arithmeticAt(high + literalLengthAt(high))) {
                        typedLiterals_->insert(low, {lowLength, *type, column});
                        typedLiterals_->insert(high, {literalLengthAt(high), *type, column});
                    }
                }
            } else if (wordAt(q, u"IN") && symbolAt(q + 1, u"(")) {
                std::vector<std::pair<qsizetype, qsizetype>> items;
                for (qsizetype r = q + 2;;) {
                    const qsizetype length = literalLengthAt(r);
                    if (length == 0)
                        break;
                    items.emplace_back(r, length);
                    r += length;
                    if (symbolAt(r, u")")) {
                        for (const auto& [start, n] : items)
                            typedLiterals_->insert(start, {n, *type, column});
                        break;
                    }
                    if (!symbolAt(r, u","))
                        break;
                    ++r;
                }
            }
        }
    }

    // A literal compared with an amount or Boolean column, in the form the column keeps.
    QString typedLiteral(qsizetype p, const TypedLiteral& literal) const {
        const QString text = literal.length == 2          ? at(p).text + at(p + 1).text
                             : at(p).kind == Kind::Number ? at(p).text
                                                          : at(p).value;
        if (literal.type == ColumnType::Amount) {
            if (const auto amount = formats().parseAmount(text))
                return QString::number(amount->units());
            fail(QStringLiteral("The value '%1' is compared with the amount column %2 but is not "
                                "an amount.")
                     .arg(text, literal.column));
        }
        if (const auto flag = booleanFlag(text))
            return QString::number(*flag);
        fail(QStringLiteral("The value '%1' is compared with the column %2, which holds TRUE or "
                            "FALSE.")
                 .arg(text, literal.column));
    }

    // The tokens at positions [from, to) in the engine's SQL, blanks kept as written.
    QString passThrough(qsizetype from, qsizetype to) {
        if (!typedLiterals_)
            findTypedLiterals();
        QString sql;
        for (qsizetype p = from; p < to; ++p) {
            if (p > from) {
                for (qsizetype i = sig_[p - 1] + 1; i < sig_[p]; ++i)
                    sql += tokens_[i].text;
            }
            const auto literal = typedLiterals_->constFind(p);
            if (literal != typedLiterals_->cend()) {
                sql += typedLiteral(p, *literal);
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
            return quoteName(token.value);
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

    SqlParameter convert(const QString& text, const TableCatalog::Table& table,
                         const TableCatalog::Column& column) {
        std::optional<qint64> number;
        const char* holds = "";
        switch (column.type) {
        case ColumnType::Text:
        case ColumnType::Other:
            return text;
        case ColumnType::Integer:
            number = strictWholeNumber(text);
            holds = "whole numbers";
            break;
        case ColumnType::Amount:
            if (const auto amount = formats().parseAmount(text))
                number = amount->units();
            holds = "amounts";
            break;
        case ColumnType::Boolean:
            number = booleanFlag(text);
            holds = "TRUE or FALSE";
            break;
        }
        if (!number)
            fail(QStringLiteral(
                     "The value '%1' can't be stored in the column %2.%3, which holds %4.")
                     .arg(text, table.name, column.name, QLatin1String(holds)));
        return *number;
    }

    // The engine's SQL for the value at positions [from, to) going into a column: a quoted text
    // or a number becomes a parameter converted to the column's type.
    QString valueFor(qsizetype from, qsizetype to, const TableCatalog::Table& table,
                     const TableCatalog::Column& column) {
        const qsizetype length = to - from;
        if (length == 1 && isLiteral(at(from))) {
            const SqlToken& token = at(from);
            return parameter(
                convert(token.kind == Kind::Number ? token.text : token.value, table, column));
        }
        if (length == 2 && (at(from).isSymbol(u"-") || at(from).isSymbol(u"+")) &&
            at(from + 1).kind == Kind::Number)
            return parameter(convert(at(from).text + at(from + 1).text, table, column));
        if (length == 1 && at(from).isWord(u"NULL"))
            return parameter(SqlParameter());
        if (length == 0)
            fail(QStringLiteral("The statement has no value for the column %1.").arg(column.name));
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
    std::pair<qsizetype, qsizetype> withoutAlias(std::pair<qsizetype, qsizetype> item) const {
        const auto [from, to] = item;
        const qsizetype as = findTopLevelWord(from, to, {u"AS"});
        if (as >= 0 && as == to - 2 && at(to - 1).isName())
            return {from, as};
        if (to - from == 2 && isLiteral(at(from)) && at(to - 1).isName())
            return {from, to - 1};
        return item;
    }

    // The positions [from, to) without parentheses that enclose all of them.
    std::pair<qsizetype, qsizetype> withoutParentheses(qsizetype from, qsizetype to) const {
        while (to - from >= 2 && symbolAt(from, u"(") && close_[std::size_t(from)] == to - 1) {
            ++from;
            --to;
        }
        return {from, to};
    }

    // The positions [from, to) split at the word outside parentheses.
    std::vector<std::pair<qsizetype, qsizetype>> splitAtWord(qsizetype from, qsizetype to,
                                                             QStringView word) const {
        std::vector<std::pair<qsizetype, qsizetype>> parts;
        qsizetype start = from;
        for (qsizetype p = findTopLevelWord(from, to, {word}); p >= 0;
             p = findTopLevelWord(p + 1, to, {word})) {
            parts.emplace_back(start, p);
            start = p + 1;
        }
        parts.emplace_back(start, to);
        return parts;
    }

    // The index query for a condition at [from, to) that holds only where a row's indexed
    // column holds a text: "c LIKE '*text*'", or such conditions joined by OR; or a condition
    // joined by AND to others, one of whose parts is such. Nothing when there is none.
    std::optional<QString> indexQuery(qsizetype from, qsizetype to,
                                      const TableCatalog::Table& table) const {
        std::tie(from, to) = withoutParentheses(from, to);
        if (from >= to || findTopLevelWord(from, to, {u"BETWEEN", u"CASE"}) >= 0)
            return std::nullopt;
        // OR binds least: split at AND only where there is no OR outside parentheses.
        const auto conjuncts = findTopLevelWord(from, to, {u"OR"}) >= 0
                                   ? std::vector<std::pair<qsizetype, qsizetype>>{{from, to}}
                                   : splitAtWord(from, to, u"AND");
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
        for (auto [a, b] : splitAtWord(from, to, u"OR")) {
            std::tie(a, b) = withoutParentheses(a, b);
            if (b - a != 3 || !at(a).isName() || !at(a + 1).isWord(u"LIKE") ||
                at(a + 2).kind != Kind::String)
                return std::nullopt;
            const bool indexed = std::any_of(
                table.searchColumns.begin(), table.searchColumns.end(), [&](const QString& name) {
                    return name.compare(at(a).name(), Qt::CaseInsensitive) == 0 &&
                           table.column(name) != nullptr;
                });
            const auto text = SearchIndex::plainInfix(at(a + 2).value);
            if (!indexed || !text)
                return std::nullopt;
            if (!known.contains(*text)) {
                known.insert(*text);
                texts << *text;
            }
        }
        QStringList queries;
        for (const QString& text : texts)
            queries << u'(' + SearchIndex::rowsHolding(text, table.searchTermRows) + u')';
        return queries.join(QStringLiteral(" OR "));
    }

    // The bare text of the loose match, when it asks for more rows; nothing otherwise.
    std::optional<QString> looseText() const {
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
    bool indexHoldsBareForms(const TableCatalog::Table& table) const {
        return std::all_of(loose_.columns.begin(), loose_.columns.end(), [&](const QString& c) {
            const QString indexed = SearchIndex::bareColumnName(c);
            return std::any_of(table.searchColumns.begin(), table.searchColumns.end(),
                               [&indexed](const QString& name) {
                                   return name.compare(indexed, Qt::CaseInsensitive) == 0;
                               });
        });
    }

    // The condition that a row's column, without its marks, holds the bare text.
    QString looseCondition(const TableCatalog::Table& table, const QString& bare) {
        const QString pattern = parameter(u'*' + bare + u'*');
        QStringList conditions;
        for (const QString& column : loose_.columns)
            conditions << SearchIndex::bareSql(quoteName(columnOf(table, column).name)) +
                              QStringLiteral(" LIKE ") + pattern;
        return conditions.join(QStringLiteral(" OR "));
    }

    // "SELECT ... FROM t WHERE condition [ORDER BY ...]": on a table with a substring index,
    // whose condition holds only for rows the index finds, the condition stays as it is and the
    // rows the index finds are the only ones it is tested on. A loose match adds its rows to
    // the condition's: found by the index when it holds the bare forms and the bare text is
    // plain, else by testing every row.
    bool translateIndexedSelect() {
        const qsizetype from = findTopLevelWord(1, size(), {u"FROM"});
        if (from < 0 || from + 2 >= size() || !at(from + 1).isName() || !wordAt(from + 2, u"WHERE"))
            return false;
        const TableCatalog::Table* table = catalog_.table(at(from + 1).name());
        if (table == nullptr)
            return false;
        const qsizetype where = from + 2;
        qsizetype end = findTopLevelWord(where + 1, size(),
                                         {u"GROUP", u"HAVING", u"ORDER", u"LIMIT", u"WINDOW",
                                          u"UNION", u"EXCEPT", u"INTERSECT"});
        if (end < 0)
            end = size();
        auto query =
            table->searchIndex.isEmpty() ? std::nullopt : indexQuery(where + 1, end, *table);
        const auto bare = looseText();
        if (!query && !bare)
            return false;
        QString condition = u'(' + passThrough(where + 1, end) + u')';
        if (bare) {
            condition =
                u'(' + condition + QStringLiteral(" OR ") + looseCondition(*table, *bare) + u')';
            if (query && indexHoldsBareForms(*table) &&
                SearchIndex::plainInfix(u'*' + *bare + u'*')) {
                const QString bareQuery =
                    u'(' + SearchIndex::rowsHolding(*bare, table->searchTermRows) + u')';
                if (*query != bareQuery)
                    *query += QStringLiteral(" OR ") + bareQuery;
            } else {
                query.reset(); // every row is tested
            }
        }
        QString sql = passThrough(0, where + 1) + u' ' + condition;
        if (query)
            sql +=
                QStringLiteral(" AND %1.rowid IN (SELECT rowid FROM %2 WHERE %2 MATCH %3)")
                    .arg(quoteName(table->name), quoteName(table->searchIndex), parameter(*query));
        if (end < size())
            sql += u' ' + passThrough(end, size());
        out_.sql = sql;
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

        std::vector<std::vector<std::pair<qsizetype, qsizetype>>> rows;
        if (wordAt(p, u"SELECT")) {
            if (wordAt(p + 1, u"DISTINCT") || wordAt(p + 1, u"ALL"))
                return false;
            if (findTopLevelWord(p + 1, size(),
                                 {u"FROM", u"WHERE", u"GROUP", u"HAVING", u"ORDER", u"LIMIT",
                                  u"UNION", u"EXCEPT", u"INTERSECT", u"WINDOW"}) >= 0)
                return false; // an INSERT ... SELECT over tables
            std::vector<std::pair<qsizetype, qsizetype>> items;
            for (const auto& item : splitAtCommas(p + 1, size()))
                items.push_back(withoutAlias(item));
            rows.push_back(std::move(items));
        } else if (wordAt(p, u"VALUES")) {
            ++p;
            while (true) {
                if (!symbolAt(p, u"("))
                    return false;
                const qsizetype close = close_[std::size_t(p)];
                rows.push_back(splitAtCommas(p + 1, close));
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
            names << quoteName(column->name);
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
                       .arg(quoteName(table.name), names.join(QStringLiteral(", ")),
                            rowTexts.join(QStringLiteral(", ")));
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
        if (findTopLevelWord(p, size(), {u"FROM", u"ORDER", u"LIMIT", u"RETURNING"}) >= 0)
            return false;
        const TableCatalog::Table& table = tableAt(tablePos);
        qsizetype where = findTopLevelWord(p, size(), {u"WHERE"});
        if (where < 0)
            where = size();
        QStringList assignments;
        for (const auto& [from, to] : splitAtCommas(p, where)) {
            qsizetype q = from;
            // A column may be qualified with its table: t.c
            if (q + 2 < to && at(q).isName() && symbolAt(q + 1, u"."))
                q += 2;
            if (q >= to || !at(q).isName() || !(symbolAt(q + 1, u"=") || symbolAt(q + 1, u"==")))
                return false;
            const TableCatalog::Column& column = columnOf(table, at(q).name());
            assignments << quoteName(column.name) + QStringLiteral(" = ") +
                               valueFor(q + 2, to, table, column);
        }
        out_.sql = QStringLiteral("UPDATE %1 SET %2")
                       .arg(quoteName(table.name), assignments.join(QStringLiteral(", ")));
        if (where < size())
            out_.sql += u' ' + passThrough(where, size());
        return true;
    }

    const QString& statement_;
    TableCatalog& catalog_;
    const LooseMatch& loose_;
    std::vector<SqlToken> tokens_;
    std::vector<qsizetype> sig_;
    std::vector<qsizetype> close_; // at an opening parenthesis: where its closing one stands
    mutable std::optional<LocaleFormats> formats_; // made when the first amount is read
    std::optional<QHash<QString, ColumnType>> typedColumns_;
    std::optional<QHash<qsizetype, TypedLiteral>> typedLiterals_;
    TranslatedStatement out_;
};

} // namespace

TranslatedStatement StatementTranslator::translate(const QString& statement,
                                                   const LooseMatch& loose) {
    return Translation(statement, catalog_, loose).run();
}

TranslatedStatement::Kind StatementTranslator::kindOf(const QString& statement) {
    return kindOfTokens(SqlTokenizer::tokenize(statement));
}

} // namespace quillon
