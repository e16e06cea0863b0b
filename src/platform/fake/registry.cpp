// The registry in memory: HKLM and HKCU, with the 32-bit view of HKLM\SOFTWARE kept below
// WOW6432Node, as a 32-bit process on 64-bit Windows sees it. A key takes only the values that
// its handle was opened to set (RegDeleteKey, as on Windows, asks nothing of the parent).
#include "platform/fake/internal.h"

#include <cstring>

namespace platform {
using namespace fake;

namespace {
struct OpenKey {
    std::string path;  // stored path, e.g. "hklm\\software\\wow6432node\\x"
    bool isRoot = false;
    uint32_t access = platform::regAll;
};
OpenKey hklmRoot{"hklm", true};
OpenKey hkcuRoot{"hkcu", true};

bool maySetValues(const OpenKey* key) {
    return key->access & (platform::regSetValue | platform::regLegacy | platform::regAll);
}

std::string resolveKey(platform::Handle parent, const std::string& path, uint32_t access) {
    auto* base = static_cast<OpenKey*>(parent);
    std::string relative = lower(path);
    if (base == &hklmRoot) {
        bool view32 = (access & platform::regView32) ||
                      (state().wow64 && !(access & platform::regView64));
        bool software = relative == "software" || relative.rfind("software\\", 0) == 0;
        if (view32 && software && relative.find("wow6432node") == std::string::npos)
            relative.insert(8, "\\wow6432node");
    }
    if (relative.empty()) return base->path;
    return base->path + "\\" + relative;
}

// Windows 10 and 11 keep the endpoint store for the audio service: it sets the endpoints'
// properties ("Audio Endpoint Properties" of the Core Audio documentation), which a client
// running as administrator changes through IMMDevice::OpenPropertyStore; the keys below
// MMDevices refuse the administrator anything but reading.
bool serviceOwned(const std::string& stored) {
    if (!state().audioServiceOwnsStore) return false;
    for (std::string view : {"hklm\\software\\", "hklm\\software\\wow6432node\\"}) {
        std::string store = view + "microsoft\\windows\\currentversion\\mmdevices";
        if (stored == store || stored.rfind(store + "\\", 0) == 0) return true;
    }
    return false;
}

bool writes(uint32_t access) {
    return access & (platform::regSetValue | platform::regDelete | platform::regAll);
}

// A legacy open of a key that grants reading only gets reading only.
platform::Handle newKey(const std::string& stored, uint32_t access) {
    if (serviceOwned(stored)) access &= ~uint32_t(platform::regLegacy);
    ++state().open["key"];
    return new OpenKey{stored, false, access};
}
}  // namespace

Handle regRoot(RegRoot root) { return root == RegRoot::localMachine ? &hklmRoot : &hkcuRoot; }

Handle regOpen(Handle parent, const char* path, uint32_t access) {
    std::string stored = resolveKey(parent, path, access);
    ++state().regOpens;
    if (fails("regOpen", stored) || !state().keys.count(stored) ||
        (serviceOwned(stored) && writes(access)))
        return nullptr;
    return newKey(stored, access);
}

Handle regOpenWide(Handle parent, const char16_t* path, uint32_t access) {
    return regOpen(parent, narrow(path).c_str(), access);
}

Handle regCreate(Handle parent, const char* path, uint32_t access) {
    std::string stored = resolveKey(parent, path, access);
    if (fails("regCreate", stored) ||
        (serviceOwned(stored) && (writes(access) || !state().keys.count(stored))))
        return nullptr;
    for (std::string p = stored; !p.empty(); p = parentOf(p)) state().keys[p];
    return newKey(stored, access);
}

Handle regCreateWide(Handle parent, const char16_t* path, uint32_t access) {
    return regCreate(parent, narrow(path).c_str(), access);
}

static bool setValue(Handle key, const std::string& name, RegType type, const std::string& data) {
    auto* open = static_cast<OpenKey*>(key);
    if (!maySetValues(open) || fails("regSet", open->path + "\\" + lower(name))) return false;
    state().keys[open->path][lower(name)] = RegValue{type, data};
    log("reg " + open->path + "\\" + name + " = " + data.substr(0, data.find('\0')));
    return true;
}

bool regSetString(Handle key, const char* name, const char* text) {
    std::string data(text, strlen(text) + 1);
    return validUtf8(text) && setValue(key, name, RegType::string, data);
}

bool regSetWideString(Handle key, const char16_t* name, const char16_t* text) {
    std::u16string wide(text);
    std::string bytes(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2);
    return setValue(key, narrow(name), RegType::string, bytes);
}

bool regSetDword(Handle key, const char* name, uint32_t value) {
    return setValue(key, name, RegType::dword, std::string(reinterpret_cast<char*>(&value), 4));
}

bool regQuery(Handle key, const char* name, RegType* type, void* data, uint32_t capacity,
              uint32_t* size) {
    auto* open = static_cast<OpenKey*>(key);
    auto& values = state().keys[open->path];
    auto found = values.find(lower(name));
    if (found == values.end() || found->second.data.size() > capacity) return false;
    *type = found->second.type;
    memcpy(data, found->second.data.data(), found->second.data.size());
    // Past the value the buffer holds whatever it held: never a terminator to rely on.
    memset(static_cast<char*>(data) + found->second.data.size(), 0xAA,
           capacity - found->second.data.size());
    *size = uint32_t(found->second.data.size());
    return true;
}

bool regQueryWide(Handle key, const char16_t* name, RegType* type, void* data, uint32_t capacity,
                  uint32_t* size) {
    return regQuery(key, narrow(name).c_str(), type, data, capacity, size);
}

EnumResult regEnumSubkey(Handle key, uint32_t index, char* name, uint32_t capacity) {
    auto* open = static_cast<OpenKey*>(key);
    if (fails("regEnum", open->path)) return EnumResult::failed;
    uint32_t seen = 0;
    for (const auto& entry : state().keys) {
        if (parentOf(entry.first) != open->path) continue;
        if (seen++ == index) {
            std::string child = entry.first.substr(open->path.size() + 1);
            if (child.size() >= capacity) return EnumResult::failed;
            memcpy(name, child.c_str(), child.size() + 1);
            return EnumResult::ok;
        }
    }
    return EnumResult::noMore;
}

EnumResult regEnumSubkeyWide(Handle key, uint32_t index, char16_t* name, uint32_t capacity) {
    char narrowName[1024];
    EnumResult result = regEnumSubkey(key, index, narrowName, capacity < 1024 ? capacity : 1024);
    if (result == EnumResult::ok)
        for (uint32_t i = 0;; ++i)
            if ((name[i] = char16_t(narrowName[i])) == 0) break;
    return result;
}

bool regDeleteSubkey(Handle parent, const char* subkey) {
    std::string stored = resolveKey(parent, subkey, 0);
    if (fails("regDelete", stored) || !state().keys.count(stored) || serviceOwned(stored))
        return false;
    for (const auto& entry : state().keys)
        if (parentOf(entry.first) == stored) return false;
    state().keys.erase(stored);
    log("regdelete " + stored);
    return true;
}

// RegOpenKeyExW: a key that is not a predefined one stays open until RegCloseKey.
void regClose(Handle key) {
    auto* open = static_cast<OpenKey*>(key);
    if (!open || open->isRoot) return;
    --state().open["key"];
    delete open;
}

}  // namespace platform
