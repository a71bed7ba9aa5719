#include "store/text_fold.h"

#include <QChar>
#include <array>

namespace quillon {

namespace {

constexpr std::array<unsigned char, 128> asciiFoldTable() {
    std::array<unsigned char, 128> table{};
    for (int i = 0; i < 128; ++i)
        table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + ('a' - 'A') : i);
    return table;
}

constexpr std::array<unsigned char, 128> asciiFold = asciiFoldTable();

constexpr char32_t replacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t TextFold::foldBeyondAscii(char32_t c) noexcept {
    return QChar::toCaseFolded(c);
}

char32_t TextFold::decode(const unsigned char*& p, const unsigned char* end) noexcept {
    const unsigned char lead = *p;
    if (lead < 0x80) {
        ++p;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++p;
        return replacement;
    }
    if (end - p < length) {
        ++p;
        return replacement;
    }
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(p[i])) {
            ++p;
            return replacement;
        }
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++p;
        return replacement;
    }
    p += length;
    return c;
}

int TextFold::compare(const void* a, int aBytes, const void* b, int bBytes) noexcept {
    auto* p = static_cast<const unsigned char*>(a);
    auto* q = static_cast<const unsigned char*>(b);
    const unsigned char* pEnd = p + aBytes;
    const unsigned char* qEnd = q + bBytes;
    while (p < pEnd && q < qEnd) {
        if (*p < 0x80 && *q < 0x80) {
            const unsigned char x = asciiFold[*p++];
            const unsigned char y = asciiFold[*q++];
            if (x != y)
                return x < y ? -1 : 1;
            continue;
        }
        const char32_t x = fold(decode(p, pEnd));
        const char32_t y = fold(decode(q, qEnd));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (p < pEnd)
        return 1;
    if (q < qEnd)
        return -1;
    return 0;
}

} // namespace quillon
