#include "store/typed_values.h"

#include "store/statement_tokens.h"

#include <QSet>
#include <limits>
#include <utility>
#include <vector>

namespace quillon {

namespace {

using Kind = SqlToken::Kind;

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

} // namespace

const LocaleFormats& TypedValues::formats() const {
    if (!formats_)
        formats_.emplace();
    return *formats_;
}

// The columns of the tables that the statement names whose values are kept in another form
// than they are written: amounts (ten-thousandths) and Booleans (1 and 0), folded.
const QHash<QString, ColumnType>& TypedValues::typedColumns() {
    if (typedColumns_)
        return *typedColumns_;
    typedColumns_.emplace();
    QSet<QString> names;
    for (qsizetype p = 0; p < tokens_.size(); ++p) {
        if (tokens_.at(p).isName())
            names.insert(tokens_.at(p).name().toCaseFolded());
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
std::optional<ColumnType> TypedValues::typedColumnAt(qsizetype p) {
    if (p < 0 || p >= tokens_.size() || !tokens_.at(p).isName())
        return std::nullopt;
    if (tokens_.symbolAt(p + 1, u"(") || tokens_.symbolAt(p + 1, u"."))
        return std::nullopt;
    const auto& columns = typedColumns();
    const auto found = columns.constFind(tokens_.at(p).name().toCaseFolded());
    if (found == columns.cend())
        return std::nullopt;
    return *found;
}

// Whether the sign at p stands before a number rather than between two operands.
bool TypedValues::signIsUnaryAt(qsizetype p) const {
    if (p == 0)
        return true;
    const SqlToken& before = tokens_.at(p - 1);
    if (before.kind == Kind::Symbol)
        return before.text != u")";
    for (QStringView word : {u"AND", u"OR", u"NOT", u"WHERE", u"ON", u"WHEN", u"THEN", u"ELSE",
                             u"SELECT", u"BETWEEN", u"IN", u"IS"}) {
        if (before.isWord(word))
            return true;
    }
    return false;
}

// The number of tokens of a literal at p: 1 for a number or a quoted text, 2 for a sign and a
// number; 0 when there is none.
qsizetype TypedValues::literalLengthAt(qsizetype p) const {
    if (p < 0 || p >= tokens_.size())
        return 0;
    if (tokens_.literalAt(p))
        return 1;
    if ((tokens_.at(p).isSymbol(u"-") || tokens_.at(p).isSymbol(u"+")) && p + 1 < tokens_.size() &&
        tokens_.at(p + 1).kind == Kind::Number && signIsUnaryAt(p))
        return 2;
    return 0;
}

bool TypedValues::arithmeticAt(qsizetype p) const {
    return p >= 0 && p < tokens_.size() && isArithmetic(tokens_.at(p));
}

const QHash<qsizetype, TypedValues::ComparedLiteral>& TypedValues::comparedLiterals() {
    if (!comparedLiterals_)
        findComparedLiterals();
    return *comparedLiterals_;
}

void TypedValues::findComparedLiterals() {
    comparedLiterals_.emplace();
    auto mark = [this](qsizetype start, ColumnType type, const QString& column) {
        const qsizetype length = literalLengthAt(start);
        if (length == 0 || arithmeticAt(start - 1) || arithmeticAt(start + length))
            return false;
        comparedLiterals_->insert(start, {length, type, column});
        return true;
    };
    for (qsizetype p = 0; p < tokens_.size(); ++p) {
        const auto type = typedColumnAt(p);
        if (!type)
            continue;
        const QString& column = tokens_.at(p).name();
        // Where the column reference begins: at its table's name when it has one (t.c).
        const qsizetype first =
            p >= 2 && tokens_.symbolAt(p - 1, u".") && tokens_.at(p - 2).isName() ? p - 2 : p;
        if (p + 1 < tokens_.size() && isComparison(tokens_.at(p + 1)) && !arithmeticAt(first - 1))
            mark(p + 2, *type, column);
        if (first >= 2 && isComparison(tokens_.at(first - 1)) && !arithmeticAt(p + 1)) {
            qsizetype start = first - 2;
            if (tokens_.at(start).kind == Kind::Number && literalLengthAt(start - 1) == 2)
                --start;
            mark(start, *type, column);
        }
        qsizetype q = p + 1;
        if (tokens_.wordAt(q, u"NOT"))
            ++q;
        if (tokens_.wordAt(q, u"BETWEEN")) {
            const qsizetype low = q + 1;
            const qsizetype lowLength = literalLengthAt(low);
            if (lowLength > 0 && tokens_.wordAt(low + lowLength, u"AND")) {
                const qsizetype high = low + lowLength + 1;
                if (literalLengthAt(high) > 0 && !arithmeticAt(high + literalLengthAt(high))) {
                    comparedLiterals_->insert(low, {lowLength, *type, column});
                    comparedLiterals_->insert(high, {literalLengthAt(high), *type, column});
                }
            }
        } else if (tokens_.wordAt(q, u"IN") && tokens_.symbolAt(q + 1, u"(")) {
            std::vector<std::pair<qsizetype, qsizetype>> items;
            for (qsizetype r = q + 2;;) {
                const qsizetype length = literalLengthAt(r);
                if (length == 0)
                    break;
                items.emplace_back(r, length);
                r += length;
                if (tokens_.symbolAt(r, u")")) {
                    for (const auto& [start, n] : items)
                        comparedLiterals_->insert(start, {n, *type, column});
                    break;
                }
                if (!tokens_.symbolAt(r, u","))
                    break;
                ++r;
            }
        }
    }
}

QString TypedValues::storedForm(qsizetype p, const ComparedLiteral& literal) const {
    const SqlToken& token = tokens_.at(p);
    const QString text = literal.length == 2          ? token.text + tokens_.at(p + 1).text
                         : token.kind == Kind::Number ? token.text
                                                      : token.value;
    if (literal.type == ColumnType::Amount) {
        if (const auto amount = formats().parseAmount(text))
            return QString::number(amount->units());
        tokens_.fail(QStringLiteral("The value '%1' is compared with the amount column %2 but is "
                                    "not an amount.")
                         .arg(text, literal.column));
    }
    if (const auto flag = booleanFlag(text))
        return QString::number(*flag);
    tokens_.fail(QStringLiteral("The value '%1' is compared with the column %2, which holds TRUE "
                                "or FALSE.")
                     .arg(text, literal.column));
}

SqlParameter TypedValues::convert(const QString& text, const TableCatalog::Table& table,
                                  const TableCatalog::Column& column) const {
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
        tokens_.fail(
            QStringLiteral("The value '%1' can't be stored in the column %2.%3, which holds %4.")
                .arg(text, table.name, column.name, QLatin1String(holds)));
    return *number;
}

std::optional<SqlParameter> TypedValues::boundValue(qsizetype from, qsizetype to,
                                                    const TableCatalog::Table& table,
                                                    const TableCatalog::Column& column) const {
    const qsizetype length = to - from;
    if (length == 1 && tokens_.literalAt(from)) {
        const SqlToken& token = tokens_.at(from);
        return convert(token.kind == Kind::Number ? token.text : token.value, table, column);
    }
    if (length == 2 && (tokens_.at(from).isSymbol(u"-") || tokens_.at(from).isSymbol(u"+")) &&
        tokens_.at(from + 1).kind == Kind::Number)
        return convert(tokens_.at(from).text + tokens_.at(from + 1).text, table, column);
    if (length == 1 && tokens_.at(from).isWord(u"NULL"))
        return SqlParameter();
    if (length == 0)
        tokens_.fail(
            QStringLiteral("The statement has no value for the column %1.").arg(column.name));
    return std::nullopt;
}

} // namespace quillon
