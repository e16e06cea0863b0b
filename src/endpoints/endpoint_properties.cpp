#include "endpoints/endpoint_properties.h"

#include "devices/endpoint_store.h"
#include "endpoints/wide_text.h"
#include "platform/platform.h"

namespace {
constexpr size_t QUERY_BYTES = 4096;
constexpr size_t MOST_TEXT_BYTES = 4050;

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }
}  // namespace

bool readProperty(const char16_t* keyPath, const char16_t* valueName, char16_t* out,
                  size_t capacity) {
    if (capacity == 0) return false;
    platform::Handle key = openStoreKey(keyPath);
    if (!key) return false;
    char16_t data[QUERY_BYTES / 2];
    platform::RegType type = platform::RegType::none;
    uint32_t size = 0;
    bool read = platform::regQueryWide(key, valueName, &type, data, sizeof data, &size);
    platform::regClose(key);
    if (!read || (type != platform::RegType::string && type != platform::RegType::expandString))
        return false;
    // The stored value need not end with a terminator: never read past what was returned.
    size_t most = (size < MOST_TEXT_BYTES ? size : MOST_TEXT_BYTES) / 2;
    if (most > capacity - 1) most = capacity - 1;
    size_t length = 0;
    while (length < most && data[length]) ++length;
    for (size_t i = 0; i < length; ++i) out[i] = data[i];
    out[length] = 0;
    return true;
}

bool writeProperty(bool view64, const char16_t* keyPath, const char16_t* valueName,
                   const char16_t* text) {
    platform::Handle root = platform::regRoot(platform::RegRoot::localMachine);
    uint32_t view = view64 ? uint32_t(platform::regView64) : 0u;
    platform::Handle key = platform::regOpenWide(root, keyPath, platform::regSetValue | view);
    if (!key) key = platform::regCreateWide(root, keyPath, platform::regAll | view);
    if (!key) return false;
    bool written = platform::regSetWideString(key, valueName, text);
    platform::regClose(key);
    return written;
}

bool isVaioServiceName(const char16_t* text) {
    static const char NAME[] = "QLOrvaloVAIO";
    for (size_t i = 0;; ++i) {
        if (lowerAscii(text[i]) != lowerAscii(char16_t(NAME[i]))) return false;
        if (NAME[i] == 0) return true;
    }
}

int32_t endpointNumber(const char16_t* text) {
    size_t length = wideLength(text);
    if (length < 5) return -1;
    const char16_t* last = text + length - 4;
    return 1000 * (last[0] - 48) + 100 * (last[1] - 48) + 10 * (last[2] - 48) + (last[3] - 48);
}
