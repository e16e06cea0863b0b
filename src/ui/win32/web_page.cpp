#include "ui/win32/web_page.h"

#include <shellapi.h>

#include <cstring>

#include "ui/web_address.h"

void openWebAddress(HWND owner, const uint8_t* stored, uint32_t size) {
    char buffer[512];
    if (size > sizeof buffer) return;
    memcpy(buffer, stored, size);
    scrambleAddress(reinterpret_cast<uint8_t*>(buffer), size, WEB_ADDRESS_SEED);
    ShellExecuteA(owner, "open", buffer, nullptr, nullptr, SW_SHOW);
    SecureZeroMemory(buffer, sizeof buffer);
}
