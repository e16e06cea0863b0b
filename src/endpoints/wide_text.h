// UTF-16 texts in fixed buffers, as the endpoint store names and holds them. Appends refuse
// (return false, leave the buffer as it was) a text that would not fit rather than cut it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

inline size_t wideLength(const char16_t* text) {
    size_t length = 0;
    while (text[length]) ++length;
    return length;
}

// Appends UTF-16 text, or ASCII text one character per unit.
template <size_t N, typename Char>
bool appendText(char16_t (&out)[N], const Char* text) {
    size_t length = wideLength(out), added = 0;
    while (text[added]) ++added;
    if (length + added >= N) return false;
    for (size_t i = 0; i <= added; ++i) out[length + i] = char16_t(text[i]);
    return true;
}

template <size_t N>
bool appendNumber(char16_t (&out)[N], int32_t number) {
    char digits[16];
    snprintf(digits, sizeof digits, "%i", number);
    return appendText(out, digits);
}
