// The LIKE matcher of the stores against a plain recursive matcher written from the rules of the
// pattern language: every pattern and text must get the same answer from both.
// Input: one byte choosing the escape character (a printable ASCII character is the escape, any
// other byte means none), then the pattern, a NUL byte, and the text. Without a NUL the pattern
// is also the text.

#include "fuzz_support.h"
#include "store/like_matcher.h"
#include "store/text_fold.h"

#include <QChar>
#include <string_view>
#include <vector>

using quillon::LikeMatcher;
using quillon::TextFold;

namespace {

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> out;
    auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (const auto* end = p + text.size(); p < end;)
        out.push_back(TextFold::decode(p, end));
    return out;
}

// The pattern read afresh at every step, one rule per wildcard; the answer for (pattern
// position, text position) is remembered so that runs of "*" stay polynomial.
class Reference {
public:
    Reference(std::vector<char32_t> pattern, std::vector<char32_t> text, char32_t escape)
        : p_(std::move(pattern)), t_(std::move(text)), escape_(escape),
          memo_((p_.size() + 1) * (t_.size() + 1), -1) {}

    bool match(std::size_t i, std::size_t j) {
        signed char& known = memo_[i * (t_.size() + 1) + j];
        if (known < 0)
            known = compute(i, j) ? 1 : 0;
        return known == 1;
    }

private:
    // A character is in a set when it or another case of it lies in one of the ranges.
    bool inSet(std::size_t k, std::size_t close, char32_t c) const {
        const char32_t forms[] = {c, TextFold::fold(c), QChar::toUpper(c), QChar::toLower(c)};
        while (k < close) {
            const bool range = k + 2 < close && p_[k + 1] == U'-';
            const char32_t low = range ? std::min(p_[k], p_[k + 2]) : p_[k];
            const char32_t high = range ? std::max(p_[k], p_[k + 2]) : p_[k];
            k += range ? 3 : 1;
            for (const char32_t form : forms)
                if (form >= low && form <= high)
                    return true;
        }
        return false;
    }

    bool literal(char32_t c, std::size_t next, std::size_t j) {
        return j < t_.size() && TextFold::fold(c) == TextFold::fold(t_[j]) && match(next, j + 1);
    }

    bool compute(std::size_t i, std::size_t j) {
        const std::size_t n = p_.size();
        if (i == n)
            return j == t_.size();
        const char32_t c = p_[i];
        if (c == escape_)
            return i + 1 < n ? literal(p_[i + 1], i + 2, j) : literal(c, i + 1, j);
        if (c == U'*')
            return match(i + 1, j) || (j < t_.size() && match(i, j + 1));
        if (c == U'?')
            return j < t_.size() && match(i + 1, j + 1);
        if (c == U'#')
            return j < t_.size() && t_[j] >= U'0' && t_[j] <= U'9' && match(i + 1, j + 1);
        if (c != U'[')
            return literal(c, i + 1, j);
        std::size_t first = i + 1;
        const bool negated = first < n && p_[first] == U'!';
        first += negated ? 1 : 0;
        std::size_t close = first;
        while (close < n && p_[close] != U']')
            ++close;
        if (close == n)
            return literal(c, i + 1, j); // no closing bracket: "[" itself
        if (close == first)              // "[]" is nothing at all, "[!]" the character "!"
            return negated ? literal(U'!', close + 1, j) : match(close + 1, j);
        return j < t_.size() && inSet(first, close, t_[j]) != negated && match(close + 1, j + 1);
    }

    std::vector<char32_t> p_;
    std::vector<char32_t> t_;
    char32_t escape_;
    std::vector<signed char> memo_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char32_t escape =
        data[0] >= 0x21 && data[0] <= 0x7E ? char32_t(data[0]) : LikeMatcher::noEscape;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view pattern = rest.substr(0, nul);
    const std::string_view text = nul == std::string_view::npos ? rest : rest.substr(nul + 1);
    const bool answer = LikeMatcher(pattern, escape).matches(text);

    auto patternPoints = codePoints(pattern);
    auto textPoints = codePoints(text);
    if ((patternPoints.size() + 1) * (textPoints.size() + 1) > (1u << 20))
        return 0; // too long for the reference's table; the matcher has run for crashes
    FUZZ_CHECK(Reference(std::move(patternPoints), std::move(textPoints), escape).match(0, 0) ==
                   answer,
               QStringLiteral("pattern \"%1\" text \"%2\" escape %3: the matcher says %4")
                   .arg(QString::fromUtf8(pattern.data(), qsizetype(pattern.size())),
                        QString::fromUtf8(text.data(), qsizetype(text.size())))
                   .arg(uint(escape))
                   .arg(answer));
    return 0;
}
