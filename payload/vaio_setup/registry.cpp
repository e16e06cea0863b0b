#include "vaio_setup.h"

HKEY createMachineKey(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool setValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExA(key, name, 0, type, (const BYTE*)data, size) == ERROR_SUCCESS;
}

bool setAnsiText(HKEY key, const char* name, DWORD type, const char* text) {
    return setValue(key, name, type, text, (DWORD)lstrlenA(text) + 1);
}
