#pragma once

#include "store/sql_token.h"

#include <QString>
#include <QStringView>
#include <initializer_list>
#include <utility>
#include <vector>

namespace quillon {

// The tokens of one statement of the stores' dialect, read by the position of each significant
// token (blanks and comments are kept for writing the statement back, but take no position).
// Every opening parenthesis is paired with its closing one, so that a search steps over a
// parenthesised part at once: a statement is read in time proportional to its length, however
// deep it nests. Parentheses that don't pair, or nest more than 100 deep, are refused with
// StoreError, as is an unterminated quote or bracket.
class StatementTokens final {
public:
    // Positions [first, second).
    using Span = std::pair<qsizetype, qsizetype>;

    explicit StatementTokens(const QString& statement);

    const QString& statement() const { return statement_; }
    // Every token, blanks and comments too.
    const std::vector<SqlToken>& all() const { return tokens_; }

    qsizetype size() const { return qsizetype(sig_.size()); }
    const SqlToken& at(qsizetype p) const { return tokens_[std::size_t(sig_[std::size_t(p)])]; }
    bool symbolAt(qsizetype p, QStringView symbol) const {
        return p >= 0 && p < size() && at(p).isSymbol(symbol);
    }
    bool wordAt(qsizetype p, QStringView word) const {
        return p >= 0 && p < size() && at(p).isWord(word);
    }
    // Whether the token at p is a number or a quoted text.
    bool literalAt(qsizetype p) const;
    // The blanks and comments written between the tokens at p - 1 and p.
    QString spaceBefore(qsizetype p) const;

    // Where the parenthesis that opens at p closes.
    qsizetype closing(qsizetype p) const { return close_[std::size_t(p)]; }
    // The position after p, stepping over a parenthesised part that begins at p.
    qsizetype after(qsizetype p) const { return at(p).isSymbol(u"(") ? closing(p) + 1 : p + 1; }
    // The first position in [from, to) outside parentheses holding one of the words, or -1.
    qsizetype findTopLevelWord(qsizetype from, qsizetype to,
                               std::initializer_list<QStringView> words) const;
    // The positions [from, to) split at the commas outside parentheses.
    std::vector<Span> splitAtCommas(qsizetype from, qsizetype to) const;
    // The positions [from, to) split at the word outside parentheses.
    std::vector<Span> splitAtWord(qsizetype from, qsizetype to, QStringView word) const;
    // The positions [from, to) without parentheses that enclose all of them.
    Span withoutParentheses(qsizetype from, qsizetype to) const;

    // Leaves out a semicolon that ends the statement; refuses a second statement after it.
    void dropTrailingSemicolon();

    // A name in the engine's SQL: between double quotes, those within doubled.
    static QString quoteName(const QString& name);

    // Throws StoreError with the message, naming the statement.
    [[noreturn]] void fail(const QString& message) const;

private:
    void matchParentheses();

    const QString& statement_;
    std::vector<SqlToken> tokens_;
    std::vector<qsizetype> sig_;   // where each significant token stands among all of them
    std::vector<qsizetype> close_; // at an opening parenthesis: where its closing one stands
};

} // namespace quillon
