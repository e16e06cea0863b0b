// Registry access for the procedures, through the wide functions: key paths, value names and
// strings are converted between UTF-8 and UTF-16 at each call. regLegacy keeps the old
// RegOpenKey/RegCreateKey semantics (whatever access the caller may have, default view); the
// rest map to a SAM.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/win32/wide.h"

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
const char16_t* units(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

bool isRoot(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }
}  // namespace

Handle regRoot(RegRoot root) {
    return root == RegRoot::localMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

Handle regOpen(Handle parent, const char* path, uint32_t access) {
    Wide widePath(path);
    return widePath.ok ? regOpenWide(parent, units(widePath.text), access) : nullptr;
}

Handle regOpenWide(Handle parent, const char16_t* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = (access & regLegacy)
                      ? RegOpenKeyW(asKey(parent), wide(path), &key)
                      : RegOpenKeyExW(asKey(parent), wide(path), 0, samOf(access), &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

Handle regCreate(Handle parent, const char* path, uint32_t access) {
    Wide widePath(path);
    return widePath.ok ? regCreateWide(parent, units(widePath.text), access) : nullptr;
}

Handle regCreateWide(Handle parent, const char16_t* path, uint32_t access) {
    HKEY key = nullptr;
    LONG status = (access & regLegacy)
                      ? RegCreateKeyW(asKey(parent), wide(path), &key)
                      : RegCreateKeyExW(asKey(parent), wide(path), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, samOf(access), nullptr, &key,
                                        nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

bool regSetString(Handle key, const char* name, const char* text) {
    Wide wideName(name), wideText(text);
    return wideName.ok && wideText.ok &&
           regSetWideString(key, units(wideName.text), units(wideText.text));
}

bool regSetWideString(Handle key, const char16_t* name, const char16_t* text) {
    DWORD bytes = DWORD((lstrlenW(wide(text)) + 1) * sizeof(wchar_t));
    return RegSetValueExW(asKey(key), wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool regSetDword(Handle key, const char* name, uint32_t value) {
    Wide wideName(name);
    DWORD data = value;
    return wideName.ok && RegSetValueExW(asKey(key), wideName.text, 0, REG_DWORD,
                                         reinterpret_cast<const BYTE*>(&data),
                                         sizeof data) == ERROR_SUCCESS;
}

// A string comes in UTF-16, at most capacity units since each takes a byte or more in UTF-8,
// and is terminated here, whether or not it was stored with its end.
bool regQuery(Handle key, const char* name, RegType* type, void* data, uint32_t capacity,
              uint32_t* size) {
    Wide wideName(name);
    auto* raw = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), 0, (size_t(capacity) + 1) * sizeof(wchar_t)));
    DWORD rawType = 0, bytes = capacity * sizeof(wchar_t);
    bool ok = wideName.ok && raw &&
              RegQueryValueExW(asKey(key), wideName.text, nullptr, &rawType,
                               reinterpret_cast<BYTE*>(raw), &bytes) == ERROR_SUCCESS;
    if (ok && (rawType == REG_SZ || rawType == REG_EXPAND_SZ)) {
        raw[bytes / sizeof(wchar_t)] = 0;
        ok = fromWide(raw, static_cast<char*>(data), int(capacity));
        bytes = ok ? DWORD(strlen(static_cast<char*>(data)) + 1) : 0;
    } else if (ok && (ok = bytes <= capacity)) {
        memcpy(data, raw, bytes);
    }
    if (raw) HeapFree(GetProcessHeap(), 0, raw);
    if (!ok) return false;
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
    char16_t wideName[256];  // a key's name holds at most 255 units
    EnumResult result = regEnumSubkeyWide(key, index, wideName, 256);
    if (result == EnumResult::ok && !fromWide(wide(wideName), name, int(capacity)))
        return EnumResult::failed;
    return result;
}

EnumResult regEnumSubkeyWide(Handle key, uint32_t index, char16_t* name, uint32_t capacity) {
    DWORD length = capacity;
    LONG status = RegEnumKeyExW(asKey(key), index, reinterpret_cast<wchar_t*>(name), &length,
                                nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return EnumResult::noMore;
    return status == ERROR_SUCCESS ? EnumResult::ok : EnumResult::failed;
}

bool regDeleteSubkey(Handle parent, const char* subkey) {
    Wide wideSubkey(subkey);
    return wideSubkey.ok && RegDeleteKeyW(asKey(parent), wideSubkey.text) == ERROR_SUCCESS;
}

void regClose(Handle key) {
    if (key && !isRoot(asKey(key))) RegCloseKey(asKey(key));
}

}  // namespace platform
