#pragma once

#include <cstddef>

namespace quillon {

// Letter case folding of UTF-8 text, for the stores' text comparisons (= and LIKE ignore case,
// also beyond ASCII: é matches É, ø matches Ø). Works on the bytes as they are, without
// allocating.
class TextFold final {
public:
    // The case-folded form of one code point.
    static char32_t fold(char32_t c) noexcept {
        if (c < 128)
            return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
        return foldBeyondAscii(c);
    }
    static char32_t foldBeyondAscii(char32_t c) noexcept;

    // Decodes the code point at p (which must be < end) and advances p past it. A malformed
    // sequence reads as U+FFFD and advances one byte.
    static char32_t decode(const unsigned char*& p, const unsigned char* end) noexcept;

    // Orders two UTF-8 texts by their folded code points; 0 when they differ only in case.
    static int compare(const void* a, int aBytes, const void* b, int bBytes) noexcept;

    // The name of the collation that the stores' text columns declare.
    static constexpr const char* collationName = "UNOCASE";
};

} // namespace quillon
