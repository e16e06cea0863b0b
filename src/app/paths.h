// Path texts in fixed buffers, in UTF-8: every join puts one "\" between folder and name unless
// the folder already ends with one, and refuses (returns false, leaves out empty) a result that
// would not fit rather than cutting it, so that a character is never split either.
#pragma once
#include <cstddef>

// Windows' path limit (MAX_PATH, terminator included), which counts UTF-16 units: Windows
// refuses a longer path, since this program never adds the long-path prefix (see "Maximum Path
// Length Limitation" in Microsoft's documentation), so whatever would need one is left alone.
inline constexpr size_t PATH_LIMIT = 260;
// Room for any path within the limit: a UTF-16 unit takes at most three bytes in UTF-8.
inline constexpr size_t PATH_BYTES = 3 * PATH_LIMIT;
// Whether the path stays within the limit, counted as Windows counts it.
bool withinPathLimit(const char* path);

bool joinPath(char* out, size_t capacity, const char* folder, const char* name);
template <size_t N>
bool joinPath(char (&out)[N], const char* folder, const char* name) {
    return joinPath(out, N, folder, name);
}

// Bounded copy; false (and out empty) when text does not fit.
bool copyText(char* out, size_t capacity, const char* text);
template <size_t N>
bool copyText(char (&out)[N], const char* text) {
    return copyText(out, N, text);
}

// The path between double quotes, as a command line names a program whose path may hold
// blanks; false (and out empty) when it does not fit.
bool quotePath(char* out, size_t capacity, const char* path);
template <size_t N>
bool quotePath(char (&out)[N], const char* path) {
    return quotePath(out, N, path);
}

// The text after the last "\", or the whole text when there is none.
const char* fileNameOf(const char* path);
// Length of the folder part: the index of the last "\" (0 when there is none).
size_t folderLength(const char* path);
