#include "platform/win32/wide.h"

#include <cstring>

namespace platform {

bool toWide(const char* text, wchar_t* out, int capacity) {
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, out, capacity);
    if (units <= 0 && capacity > 0) out[0] = 0;
    return units > 0;
}

bool fromWide(const wchar_t* text, char* out, int capacity) {
    int bytes = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, -1, out, capacity,
                                    nullptr, nullptr);
    if (bytes <= 0 && capacity > 0) out[0] = 0;
    return bytes > 0;
}

uint32_t pathFromWide(const wchar_t* text, UINT result, UINT room, char* out, uint32_t capacity) {
    if (result > 0 && result < room && fromWide(text, out, int(capacity)))
        return uint32_t(strlen(out));
    if (capacity > 0) out[0] = 0;
    return result == 0 ? 0 : capacity;
}

}  // namespace platform
