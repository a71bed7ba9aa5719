#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

// A LIKE pattern of the stores, compiled once and matched against many UTF-8 texts:
//   *  any run of characters, also none      ?  any one character      #  one digit 0-9
//   [abc]  one of the characters   [a-z]  one in the range   [!abc]  one not among them
// A "[" without a closing "]" is the character itself; "[]" matches nothing (zero characters);
// % and _ are plain characters. Letters match without regard to case, also beyond ASCII.
// With an escape character, the character after it is taken literally.
class LikeMatcher final {
public:
    static constexpr char32_t noEscape = 0xFFFFFFFF;

    explicit LikeMatcher(std::string_view pattern, char32_t escape = noEscape);

    // Whether the whole text matches the pattern. Does not allocate.
    [[nodiscard]] bool matches(std::string_view text) const noexcept;

    char32_t escape() const { return escape_; }

private:
    enum class Op : std::uint8_t { Literal, AnyOne, Digit, Set, AnyRun };
    struct Element {
        Op op;
        char32_t ch;       // Literal: the folded character
        std::uint32_t set; // Set: index into sets_
    };
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct CharSet {
        bool negated = false;
        std::vector<Range> ranges;
        bool contains(char32_t c) const noexcept;
    };

    bool matchesOne(const Element& element, char32_t c) const noexcept;

    std::vector<Element> elements_;
    std::vector<CharSet> sets_;
    char32_t escape_;
};

} // namespace quillon
