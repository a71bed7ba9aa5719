#include "store/sql_tokenizer.h"

#include "store/store_error.h"

namespace quillon {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'$' || c.unicode() >= 0x80;
}
bool isNamePart(QChar c) {
    return isNameStart(c) || c.isDigit();
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
// The blanks the engine itself knows; any other character is part of a token.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

class Scanner {
public:
    explicit Scanner(const QString& s) : s_(s) {}

    std::vector<SqlToken> run() {
        std::vector<SqlToken> tokens;
        while (i_ < s_.size()) {
            const qsizetype start = i_;
            SqlToken token = next();
            token.text = s_.mid(start, i_ - start);
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

private:
    QChar at(qsizetype k) const { return k < s_.size() ? s_[k] : QChar(); }

    SqlToken next() {
        const QChar c = s_[i_];
        if (isBlank(c))
            return space();
        if (c == u'-' && at(i_ + 1) == u'-') {
            while (i_ < s_.size() && s_[i_] != u'\n')
                ++i_;
            return {SqlToken::Kind::Space, {}, {}};
        }
        if (c == u'/' && at(i_ + 1) == u'*') {
            const qsizetype close = s_.indexOf(QStringLiteral("*/"), i_ + 2);
            if (close < 0)
                throw StoreError(QStringLiteral("The statement has a comment that is not closed."),
                                 s_);
            i_ = close + 2;
            return {SqlToken::Kind::Space, {}, {}};
        }
        if (c == u'\'')
            return quoted(u'\'', u'\'', SqlToken::Kind::String, "a text in quotes");
        if (c == u'"')
            return quoted(u'"', u'"', SqlToken::Kind::DoubleQuoted, "a text in double quotes");
        if (c == u'[')
            return quoted(u'[', u']', SqlToken::Kind::QuotedName, "a name in brackets");
        if (c == u'`')
            return quoted(u'`', u'`', SqlToken::Kind::QuotedName, "a name in backquotes");
        if (isDigit(c) || (c == u'.' && isDigit(at(i_ + 1))))
            return number();
        if (isNameStart(c)) {
            while (i_ < s_.size() && isNamePart(s_[i_]))
                ++i_;
            return {SqlToken::Kind::Word, {}, {}};
        }
        return symbol();
    }

    SqlToken space() {
        while (i_ < s_.size() && isBlank(s_[i_]))
            ++i_;
        return {SqlToken::Kind::Space, {}, {}};
    }

    SqlToken quoted(QChar open, QChar close, SqlToken::Kind kind, const char* what) {
        QString value;
        ++i_;
        while (true) {
            if (i_ >= s_.size())
                throw StoreError(QStringLiteral("The statement has %1 that is not closed.")
                                     .arg(QLatin1String(what)),
                                 s_);
            const QChar c = s_[i_++];
            if (c == close) {
                // A doubled closing quote stands for itself (not in brackets).
                if (open == close && at(i_) == close) {
                    value += c;
                    ++i_;
                    continue;
                }
                break;
            }
            value += c;
        }
        return {kind, {}, value};
    }

    SqlToken number() {
        if (s_[i_] == u'0' && (at(i_ + 1) == u'x' || at(i_ + 1) == u'X')) {
            i_ += 2;
            while (i_ < s_.size() &&
                   (isDigit(s_[i_]) || QStringLiteral("abcdefABCDEF").contains(s_[i_])))
                ++i_;
            return {SqlToken::Kind::Number, {}, {}};
        }
        while (i_ < s_.size() && isDigit(s_[i_]))
            ++i_;
        if (at(i_) == u'.') {
            ++i_;
            while (i_ < s_.size() && isDigit(s_[i_]))
                ++i_;
        }
        if ((at(i_) == u'e' || at(i_) == u'E') &&
            (isDigit(at(i_ + 1)) ||
             ((at(i_ + 1) == u'+' || at(i_ + 1) == u'-') && isDigit(at(i_ + 2))))) {
            i_ += 2;
            while (i_ < s_.size() && isDigit(s_[i_]))
                ++i_;
        }
        return {SqlToken::Kind::Number, {}, {}};
    }

    SqlToken symbol() {
        static const char* const pairs[] = {"<=", ">=", "<>", "!=", "==", "||", "<<", ">>"};
        for (const char* pair : pairs) {
            if (s_[i_] == QLatin1Char(pair[0]) && at(i_ + 1) == QLatin1Char(pair[1])) {
                i_ += 2;
                return {SqlToken::Kind::Symbol, {}, {}};
            }
        }
        // One character; a surrogate pair stays whole.
        i_ += (s_[i_].isHighSurrogate() && at(i_ + 1).isLowSurrogate()) ? 2 : 1;
        return {SqlToken::Kind::Symbol, {}, {}};
    }

    const QString& s_;
    qsizetype i_ = 0;
};

} // namespace

std::vector<SqlToken> SqlTokenizer::tokenize(const QString& statement) {
    return Scanner(statement).run();
}

} // namespace quillon
