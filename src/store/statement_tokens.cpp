#include "store/statement_tokens.h"

#include "store/sql_tokenizer.h"
#include "store/store_error.h"

namespace quillon {

StatementTokens::StatementTokens(const QString& statement)
    : statement_(statement), tokens_(SqlTokenizer::tokenize(statement)) {
    for (qsizetype i = 0; i < qsizetype(tokens_.size()); ++i) {
        if (tokens_[std::size_t(i)].isSignificant())
            sig_.push_back(i);
    }
    matchParentheses();
}

bool StatementTokens::literalAt(qsizetype p) const {
    const SqlToken::Kind kind = at(p).kind;
    return kind == SqlToken::Kind::String || kind == SqlToken::Kind::DoubleQuoted ||
           kind == SqlToken::Kind::Number;
}

QString StatementTokens::spaceBefore(qsizetype p) const {
    QString space;
    for (qsizetype i = sig_[std::size_t(p - 1)] + 1; i < sig_[std::size_t(p)]; ++i)
        space += tokens_[std::size_t(i)].text;
    return space;
}

qsizetype StatementTokens::findTopLevelWord(qsizetype from, qsizetype to,
                                            std::initializer_list<QStringView> words) const {
    for (qsizetype p = from; p < to; p = after(p)) {
        for (QStringView word : words) {
            if (at(p).isWord(word))
                return p;
        }
    }
    return -1;
}

std::vector<StatementTokens::Span> StatementTokens::splitAtCommas(qsizetype from,
                                                                  qsizetype to) const {
    std::vector<Span> parts;
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

std::vector<StatementTokens::Span> StatementTokens::splitAtWord(qsizetype from, qsizetype to,
                                                                QStringView word) const {
    std::vector<Span> parts;
    qsizetype start = from;
    for (qsizetype p = findTopLevelWord(from, to, {word}); p >= 0;
         p = findTopLevelWord(p + 1, to, {word})) {
        parts.emplace_back(start, p);
        start = p + 1;
    }
    parts.emplace_back(start, to);
    return parts;
}

StatementTokens::Span StatementTokens::withoutParentheses(qsizetype from, qsizetype to) const {
    while (to - from >= 2 && symbolAt(from, u"(") && closing(from) == to - 1) {
        ++from;
        --to;
    }
    return {from, to};
}

void StatementTokens::dropTrailingSemicolon() {
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

QString StatementTokens::quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

void StatementTokens::fail(const QString& message) const {
    throw StoreError(message, statement_);
}

// Parentheses nested deeper than the engine reads (its parser stops short of 100) are refused.
void StatementTokens::matchParentheses() {
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

} // namespace quillon
