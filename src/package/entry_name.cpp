#include "package/entry_name.h"

#include <cstring>

namespace {
// ".", ".." and the forms Windows trims to them (trailing dots and spaces are dropped).
bool isDotComponent(const char* part, size_t length) {
    if (length == 0) return false;
    for (size_t i = 0; i < length; ++i)
        if (part[i] != '.' && part[i] != ' ') return false;
    return true;
}
}  // namespace

bool isSafeEntryName(const char* name, size_t capacity) {
    size_t length = strnlen(name, capacity);
    if (length == 0 || length == capacity) return false;
    if (name[0] == '\\' || name[0] == '/') return false;  // rooted, or a network path
    if (memchr(name, ':', length)) return false;         // drive letter or stream name
    // Walk the components, whichever separator Windows is given; the last names the file.
    for (size_t start = 0;;) {
        size_t end = start;
        while (end < length && name[end] != '\\' && name[end] != '/') ++end;
        if (isDotComponent(name + start, end - start)) return false;
        if (end == length) return end > start;
        start = end + 1;
    }
}
