// Registry access for the procedures. regLegacy keeps the old RegOpenKeyA/RegCreateKeyA
// semantics (whatever access the caller may have, default view); the rest map to a SAM.
#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace {
HKEY asKey(Handle key) { return static_cast<HKEY>(key); }

REGSAM samOf(uint32_t access) {
    REGSAM sam = 0;
    if (access & regRead) sam |= KEY_READ;
    if (access & regSetValue) sam |= KEY_SET_VALUE;
    if (access & regDelete) sam |= DELETE | KEY_ENUMERATE_SUB_KEYS;
    if (access & regAll) sam |= KEY_ALL_ACCESS;
    if (access & regView64) sam |= KEY_WOW64_64KEY;
    if (access & regView32) sam |= KEY_WOW64_32KEY;
    return sam;
}

RegType typeOf(DWORD type) {
    switch (type) {
        case REG_NONE: return RegType::none;
        case REG_SZ: return RegType::string;
        case REG_EXPAND_SZ: return RegType::expandString;
        case REG_DWORD: return RegType::dword;
        case REG_BINARY: return RegType::binary;
        default: return RegType::other;
    }
}

const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

bool isRoot(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }
}  // namespace

Handle regRoot(RegRoot root) {
    return root == RegRoot::localMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

Handle regOpen(Handle parent, const char* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = (access & regLegacy) ? RegOpenKeyA(asKey(parent), path, &key)
                                       : RegOpenKeyExA(asKey(parent), path, 0, samOf(access), &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

Handle regOpenWide(Handle parent, const char16_t* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = (access & regLegacy)
                      ? RegOpenKeyW(asKey(parent), wide(path), &key)
                      : RegOpenKeyExW(asKey(parent), wide(path), 0, samOf(access), &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

Handle regCreate(Handle parent, const char* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = (access & regLegacy)
                      ? RegCreateKeyA(asKey(parent), path, &key)
                      : RegCreateKeyExA(asKey(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        samOf(access), nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

Handle regCreateWide(Handle parent, const char16_t* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(asKey(parent), wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  samOf(access), nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

bool regSetString(Handle key, const char* name, const char* text) {
    DWORD bytes = DWORD(lstrlenA(text) + 1);
    return RegSetValueExA(asKey(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool regSetWideString(Handle key, const char16_t* name, const char16_t* text) {
    DWORD bytes = DWORD((lstrlenW(wide(text)) + 1) * sizeof(wchar_t));
    return RegSetValueExW(asKey(key), wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool regSetDword(Handle key, const char* name, uint32_t value) {
    DWORD data = value;
    return RegSetValueExA(asKey(key), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool regQuery(Handle key, const char* name, RegType* type, void* data, uint32_t capacity,
              uint32_t* size) {
    DWORD rawType = 0, bytes = capacity;
    if (RegQueryValueExA(asKey(key), name, nullptr, &rawType, static_cast<BYTE*>(data), &bytes) !=
        ERROR_SUCCESS)
        return false;
    *type = typeOf(rawType);
    *size = bytes;
    return true;
}

bool regQueryWide(Handle key, const char16_t* name, RegType* type, void* data, uint32_t capacity,
                  uint32_t* size) {
    DWORD rawType = 0, bytes = capacity;
    if (RegQueryValueExW(asKey(key), wide(name), nullptr, &rawType, static_cast<BYTE*>(data),
                         &bytes) != ERROR_SUCCESS)
        return false;
    *type = typeOf(rawType);
    *size = bytes;
    return true;
}

EnumResult regEnumSubkey(Handle key, uint32_t index, char* name, uint32_t capacity) {
    DWORD length = capacity;
    LONG status =
        RegEnumKeyExA(asKey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return EnumResult::noMore;
    return status == ERROR_SUCCESS ? EnumResult::ok : EnumResult::failed;
}

EnumResult regEnumSubkeyWide(Handle key, uint32_t index, char16_t* name, uint32_t capacity) {
    DWORD length = capacity;
    LONG status = RegEnumKeyExW(asKey(key), index, reinterpret_cast<wchar_t*>(name), &length,
                                nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return EnumResult::noMore;
    return status == ERROR_SUCCESS ? EnumResult::ok : EnumResult::failed;
}

bool regDeleteSubkey(Handle parent, const char* subkey) {
    return RegDeleteKeyA(asKey(parent), subkey) == ERROR_SUCCESS;
}

void regClose(Handle key) {
    if (key && !isRoot(asKey(key))) RegCloseKey(asKey(key));
}

}  // namespace platform
