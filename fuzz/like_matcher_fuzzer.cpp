// The LIKE matcher against a plain recursive matcher written from the rules of the patterns.
// Input: a byte choosing the escape character (printable ASCII, else none), the pattern, a NUL
// byte and the text; without a NUL the pattern is also the text.

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

// The pattern p read afresh at every step, one rule per wildcard; the answer for (pattern
// position, text position) is remembered so that runs of "*" stay polynomial.
struct Reference {
    std::vector<char32_t> p;
    std::vector<char32_t> t;
    char32_t escape;
    std::vector<signed char> memo = std::vector<signed char>((p.size() + 1) * (t.size() + 1), -1);

    bool match(std::size_t i, std::size_t j) {
        signed char& known = memo[i * (t.size() + 1) + j];
        if (known < 0)
            known = compute(i, j) ? 1 : 0;
        return known == 1;
    }

    // One character of the text against a literal, or against a set: in it when the character
    // or another case of it lies in one of the set's characters or ranges.
    bool literal(char32_t c, std::size_t next, std::size_t j) {
        return j < t.size() && TextFold::fold(c) == TextFold::fold(t[j]) && match(next, j + 1);
    }
    bool inSet(std::size_t k, std::size_t close, char32_t c) const {
        for (const char32_t form :
             {c, TextFold::fold(c), char32_t(QChar::toUpper(c)), char32_t(QChar::toLower(c))})
            for (std::size_t r = k; r < close; r += (r + 2 < close && p[r + 1] == U'-') ? 3 : 1)
                if (r + 2 < close && p[r + 1] == U'-'
                        ? form >= std::min(p[r], p[r + 2]) && form <= std::max(p[r], p[r + 2])
                        : form == p[r])
                    return true;
        return false;
    }

    bool compute(std::size_t i, std::size_t j) {
        const std::size_t n = p.size();
        if (i == n)
            return j == t.size();
        const char32_t c = p[i];
        const bool one = j < t.size();
        if (c == escape)
            return i + 1 < n ? literal(p[i + 1], i + 2, j) : literal(c, i + 1, j);
        if (c == U'*')
            return match(i + 1, j) || (one && match(i, j + 1));
        if (c == U'?' || c == U'#')
            return one && (c == U'?' || (t[j] >= U'0' && t[j] <= U'9')) && match(i + 1, j + 1);
        const bool negated = c == U'[' && i + 1 < n && p[i + 1] == U'!';
        const std::size_t first = i + 1 + (negated ? 1 : 0);
        std::size_t close = first;
        while (c == U'[' && close < n && p[close] != U']')
            ++close;
        if (c != U'[' || close == n)
            return literal(c, i + 1, j); // a plain character, or "[" without a closing "]"
        if (close == first)              // "[]" is nothing at all, "[!]" the character "!"
            return negated ? literal(U'!', close + 1, j) : match(close + 1, j);
        return one && inSet(first, close, t[j]) != negated && match(close + 1, j + 1);
    }
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
    Reference reference{std::move(patternPoints), std::move(textPoints), escape};
    FUZZ_CHECK(reference.match(0, 0) == answer, answer ? "matched" : "no match");
    return 0;
}
