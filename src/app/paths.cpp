#include "app/paths.h"

#include <cstdio>
#include <cstring>

bool copyText(char* out, size_t capacity, const char* text) {
    size_t length = strlen(text);
    if (length >= capacity) {
        if (capacity > 0) out[0] = 0;
        return false;
    }
    memcpy(out, text, length + 1);
    return true;
}

bool joinPath(char* out, size_t capacity, const char* folder, const char* name) {
    size_t folderLen = strlen(folder);
    bool needsSeparator = folderLen == 0 || folder[folderLen - 1] != '\\';
    size_t total = folderLen + (needsSeparator ? 1 : 0) + strlen(name);
    if (total >= capacity) {
        if (capacity > 0) out[0] = 0;
        return false;
    }
    memmove(out, folder, folderLen);
    if (needsSeparator) out[folderLen++] = '\\';
    strcpy(out + folderLen, name);
    return true;
}

bool quotePath(char* out, size_t capacity, const char* path) {
    int length = snprintf(out, capacity, "\"%s\"", path);
    if (length >= 0 && size_t(length) < capacity) return true;
    if (capacity > 0) out[0] = 0;
    return false;
}

// Every byte but a continuation byte (10xxxxxx) starts a character; one of four bytes is
// beyond the first plane and takes two units.
bool withinPathLimit(const char* path) {
    size_t units = 0;
    for (const char* p = path; *p; ++p) {
        unsigned char byte = static_cast<unsigned char>(*p);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units < PATH_LIMIT;
}

const char* fileNameOf(const char* path) {
    const char* slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

size_t folderLength(const char* path) {
    const char* slash = strrchr(path, '\\');
    return slash ? size_t(slash - path) : 0;
}
