#include "platform/win32/wide.h"

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

}  // namespace platform
