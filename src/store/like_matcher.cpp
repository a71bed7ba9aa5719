#include "store/like_matcher.h"

#include "store/text_fold.h"

#include <QChar>
#include <algorithm>

namespace quillon {

namespace {

std::vector<char32_t> decodeAll(std::string_view text) {
    std::vector<char32_t> codePoints;
    codePoints.reserve(text.size());
    auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end)
        codePoints.push_back(TextFold::decode(p, end));
    return codePoints;
}

// The next code point of the text, with the ASCII case inline.
inline char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) noexcept {
    if (*p < 0x80)
        return *p++;
    return TextFold::decode(p, end);
}

} // namespace

LikeMatcher::LikeMatcher(std::string_view pattern, char32_t escape) : escape_(escape) {
    const std::vector<char32_t> cps = decodeAll(pattern);
    const std::size_t n = cps.size();
    auto literal = [this](char32_t c) { elements_.push_back({Op::Literal, TextFold::fold(c), 0}); };
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = cps[i];
        if (c == escape_) {
            literal(i + 1 < n ? cps[++i] : c);
            continue;
        }
        switch (c) {
        case U'*':
            if (elements_.empty() || elements_.back().op != Op::AnyRun)
                elements_.push_back({Op::AnyRun, 0, 0});
            break;
        case U'?':
            elements_.push_back({Op::AnyOne, 0, 0});
            break;
        case U'#':
            elements_.push_back({Op::Digit, 0, 0});
            break;
        case U'[': {
            std::size_t first = i + 1;
            const bool negated = first < n && cps[first] == U'!';
            if (negated)
                ++first;
            const auto close =
                std::find(cps.begin() + static_cast<std::ptrdiff_t>(first), cps.end(), U']');
            if (close == cps.end()) {
                literal(c); // a lone "[" is the character itself
                break;
            }
            const auto last = static_cast<std::size_t>(close - cps.begin());
            if (last == first) {
                if (negated)
                    literal(U'!'); // "[!]" is the character "!"
                i = last;          // "[]" matches zero characters
                break;
            }
            CharSet set;
            set.negated = negated;
            for (std::size_t k = first; k < last;) {
                if (k + 2 < last && cps[k + 1] == U'-') {
                    set.ranges.push_back(
                        {std::min(cps[k], cps[k + 2]), std::max(cps[k], cps[k + 2])});
                    k += 3;
                } else {
                    set.ranges.push_back({cps[k], cps[k]});
                    ++k;
                }
            }
            elements_.push_back({Op::Set, 0, static_cast<std::uint32_t>(sets_.size())});
            sets_.push_back(std::move(set));
            i = last;
            break;
        }
        default:
            literal(c);
            break;
        }
    }
}

bool LikeMatcher::CharSet::contains(char32_t c) const noexcept {
    auto inRanges = [this](char32_t x) {
        for (const Range& range : ranges) {
            if (x >= range.low && x <= range.high)
                return true;
        }
        return false;
    };
    bool found = inRanges(c);
    if (!found) {
        // Without regard to case: try the character's other forms.
        const char32_t folded = TextFold::fold(c);
        const char32_t upper =
            c < 128 ? (c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c) : QChar::toUpper(c);
        const char32_t lower = c < 128 ? folded : QChar::toLower(c);
        found = (folded != c && inRanges(folded)) || (upper != c && inRanges(upper)) ||
                (lower != c && lower != folded && inRanges(lower));
    }
    return found != negated;
}

bool LikeMatcher::matchesOne(const Element& element, char32_t c) const noexcept {
    switch (element.op) {
    case Op::Literal:
        return element.ch == c || element.ch == TextFold::fold(c);
    case Op::AnyOne:
        return true;
    case Op::Digit:
        return c >= U'0' && c <= U'9';
    case Op::Set:
        return sets_[element.set].contains(c);
    case Op::AnyRun:
        break;
    }
    return false;
}

bool LikeMatcher::matches(std::string_view text) const noexcept {
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = t + text.size();
    const std::size_t n = elements_.size();
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t e = 0;
    std::size_t resumeElement = none; // the element after the last "*" seen
    const unsigned char* resumeText = nullptr;
    // Every element but "*" takes exactly one character, so it is enough to let the last "*"
    // take one more character whenever the rest fails.
    while (true) {
        if (e < n && elements_[e].op == Op::AnyRun) {
            resumeElement = ++e;
            resumeText = t;
            if (e == n)
                return true; // a trailing "*" takes the rest
            continue;
        }
        if (t == end)
            return e == n;
        if (e < n) {
            const unsigned char* before = t;
            if (matchesOne(elements_[e], nextCodePoint(t, end))) {
                ++e;
                continue;
            }
            t = before;
        }
        if (resumeElement == none)
            return false;
        nextCodePoint(resumeText, end);
        t = resumeText;
        e = resumeElement;
    }
}

} // namespace quillon
