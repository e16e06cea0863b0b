#include "devices/endpoint_store.h"

#include <cstring>
#include <initializer_list>

#include "devices/device_record.h"
#include "devices/endpoint_store_keys.h"
#include "devices/inventory.h"
#include "platform/platform.h"

namespace {

constexpr const char16_t* VALUE3 = u"{b3f8fa53-0004-438e-9003-51a46e139bfc},3";
constexpr const char16_t* VALUE4 = u"{b3f8fa53-0004-438e-9003-51a46e139bfc},4";
constexpr const char16_t* INTERFACE_NAME = u"{b3f8fa53-0004-438e-9003-51a46e139bfc},6";
constexpr const char16_t* FORM_FACTOR = u"{1da5d803-d492-4edd-8c23-e0c0ffee7f0e},0";
constexpr const char16_t* ENDPOINT_FORMAT = u"{e4870e26-3cc5-4cd2-ba46-ca0a9a70ed04},0";
constexpr const char16_t* DEVICE_FORMAT = u"{f19f064d-082c-4e27-bc73-6882a1bb8e4c},0";
constexpr const char16_t* LONG_BINARY = u"{fd8a7b27-0b18-4025-ab1c-bdd6b32e1604},2";

constexpr uint32_t PATH_UNITS = 1200;    // store, direction, a 1000-unit key name, Properties
constexpr uint32_t STRING_UNITS = 2048;  // the 4096-byte query buffer
constexpr uint32_t NAME_UNITS = 1000;

// Joins texts into a path of PATH_UNITS, cut (and then unopenable) when too long.
void joinPath(char16_t (&out)[PATH_UNITS], std::initializer_list<const char16_t*> parts) {
    uint32_t length = 0;
    for (const char16_t* part : parts)
        for (; *part && length < PATH_UNITS - 1; ++part) out[length++] = *part;
    out[length] = 0;
}

// The value's bytes and type; false when the key or the value cannot be read.
bool queryValue(const char16_t* keyPath, const char16_t* valueName, platform::RegType* type,
                void* data, uint32_t capacity, uint32_t* size, bool* opened = nullptr) {
    platform::Handle key = openStoreKey(keyPath);
    if (opened) *opened = key != nullptr;
    if (!key) return false;
    bool ok = platform::regQueryWide(key, valueName, type, data, capacity, size);
    platform::regClose(key);
    return ok;
}

// Whether description + open + adapter + ")" begins with name.
bool formBeginsWith(const char16_t* description, const char16_t* open, const char16_t* adapter,
                    const char16_t* name) {
    uint32_t at = 0;
    for (const char16_t* part : {description, open, adapter, u")"})
        for (; *part; ++part, ++at) {
            if (name[at] == 0) return true;
            if (name[at] != *part) return false;
        }
    return name[at] == 0;
}

bool beginsWith(const char16_t* text, const char16_t* name) {
    for (uint32_t at = 0; name[at]; ++at)
        if (text[at] != name[at]) return false;
    return true;
}

void readFormat(const char16_t* keyPath, const char16_t* valueName, uint8_t (&format)[18]) {
    uint8_t value[1024];
    int32_t size = readRegBinary(keyPath, valueName, value);
    if (size >= 48 && size <= 255) memcpy(format, value + 8, sizeof format);
}

// Flag pair of a REG_DWORD: `present` when it exists, `set` unless it exists and is 0.
void readFlagPair(DeviceRecord* record, const char16_t* keyPath, const char16_t* valueName,
                  uint32_t present, uint32_t set) {
    uint32_t value = 0;
    record->flags |= set;
    if (!readRegDword(keyPath, valueName, &value)) return;
    record->flags |= present;
    if (value == 0) record->flags &= ~set;
}

const char16_t* afterFirst(const char16_t* text, char16_t mark) {
    for (; *text; ++text)
        if (*text == mark) return text;
    return text;
}

}  // namespace

platform::Handle openStoreKey(const char16_t* keyPath, bool* view64) {
    platform::Handle root = platform::regRoot(platform::RegRoot::localMachine);
    platform::Handle key = platform::regOpenWide(root, keyPath, platform::regRead);
    if (view64) *view64 = !key;
    return key ? key
               : platform::regOpenWide(root, keyPath, platform::regRead | platform::regView64);
}

platform::Handle openStoreListKey(const char16_t* keyPath, bool* view64) {
    platform::Handle key = openStoreKey(keyPath, view64);
    char16_t name[NAME_UNITS];
    if (!key || *view64 ||
        platform::regEnumSubkeyWide(key, 0, name, NAME_UNITS) == platform::EnumResult::ok)
        return key;
    platform::Handle key64 =
        platform::regOpenWide(platform::regRoot(platform::RegRoot::localMachine), keyPath,
                              platform::regRead | platform::regView64);
    if (!key64) return key;  // lists as empty, as it did
    platform::regClose(key);
    *view64 = true;
    return key64;
}

int32_t readRegString(const char16_t* keyPath, const char16_t* valueName, char16_t* out,
                      uint32_t capacity) {
    char16_t text[STRING_UNITS + 1];
    platform::RegType type = platform::RegType::none;
    uint32_t size = 0;
    if (!queryValue(keyPath, valueName, &type, text, sizeof text - 2, &size) ||
        type != platform::RegType::string)
        return 0;
    text[size / 2 < STRING_UNITS ? size / 2 : STRING_UNITS] = 0;  // stored without terminator
    copyWide(out, capacity, text);
    return 1;
}

int32_t readRegDword(const char16_t* keyPath, const char16_t* valueName, uint32_t* out) {
    platform::RegType type = platform::RegType::none;
    uint32_t value = 0, size = 0;
    if (!queryValue(keyPath, valueName, &type, &value, sizeof value, &size) ||
        type != platform::RegType::dword || size != sizeof value)
        return 0;
    *out = value;
    return 1;
}

int32_t readRegBinary(const char16_t* keyPath, const char16_t* valueName, uint8_t (&out)[1024]) {
    platform::RegType type = platform::RegType::none;
    uint32_t size = 0;
    bool opened = false;
    if (!queryValue(keyPath, valueName, &type, out, sizeof out, &size, &opened))
        return opened ? -2 : 0;
    return type == platform::RegType::binary ? int32_t(size) : -1;
}

void readEndpointProperties(DeviceRecord* record, const char16_t* endpointKeyName,
                            const char16_t* directionKeyPath, uint32_t reads) {
    char16_t path[PATH_UNITS];
    joinPath(path, {directionKeyPath, u"\\", endpointKeyName, u"\\Properties"});
    char16_t text[STRING_UNITS + 1];
    if (reads & READ_KEY_NAME) copyWide(record->endpointKey, endpointKeyName);
    if (readRegString(path, INTERFACE_PATH, text)) {
        copyWide(record->interfacePath, afterFirst(text, u'\\'));
        copyAnsi(record->interfacePathAnsi, record->interfacePath);
    }
    readRegString(path, DEVICE_DESCRIPTION, record->description);
    readFlagPair(record, path, VALUE3, FLAG_VALUE3_PRESENT, FLAG_VALUE3_SET);
    readFlagPair(record, path, VALUE4, FLAG_VALUE4_PRESENT, FLAG_VALUE4_SET);
    if (reads & READ_INTERFACE_NAME)
        readRegString(path, INTERFACE_NAME, record->interfaceName);
    record->formFactor = 0;
    readRegDword(path, FORM_FACTOR, &record->formFactor);
    readRegString(path, ICON_PATH, record->iconPath);
    readFormat(path, ENDPOINT_FORMAT, record->endpointFormat);
    readFormat(path, DEVICE_FORMAT, record->deviceFormat);
    if (readRegString(path, MATCHING_DEVICE_ID, text))
        copyAnsi(record->matchingDeviceId, afterLast(text, u':'));
    uint8_t binary[1024];
    if (readRegBinary(path, LONG_BINARY, binary) > 10)
        record->flags |= FLAG_LONG_BINARY;
    else
        record->flags &= ~FLAG_LONG_BINARY;
}

int32_t matchEndpoint(DeviceRecord* record, const char16_t* directionName, uint32_t reads) {
    char16_t directionPath[PATH_UNITS];
    joinPath(directionPath, {ENDPOINT_STORE_KEY, u"\\", directionName});
    if (record->endpointKey[0]) {  // an endpoint that knows its key from its id
        readEndpointProperties(record, record->endpointKey, directionPath, reads);
        return 0;
    }
    bool view64 = false;
    platform::Handle key = openStoreListKey(directionPath, &view64);
    if (!key) return -1;
    char16_t name[NAME_UNITS];
    for (uint32_t index = 0;
         platform::regEnumSubkeyWide(key, index, name, NAME_UNITS) == platform::EnumResult::ok;
         ++index) {
        char16_t path[PATH_UNITS], description[512], adapter[512];
        joinPath(path, {directionPath, u"\\", name, u"\\Properties"});
        if (!readRegString(path, DEVICE_DESCRIPTION, description) ||
            !readRegString(path, INTERFACE_NAME, adapter))
            continue;
        if (formBeginsWith(description, u" (", adapter, record->name) ||
            formBeginsWith(description, u"(", adapter, record->name)) {
            readEndpointProperties(record, name, directionPath, reads | READ_KEY_NAME);
            platform::regClose(key);
            return 0;
        }
    }
    platform::regClose(key);
    bool render = beginsWith(directionName, u"Render") && directionName[6] == 0;
    const DeviceList* list =
        render ? &deviceInventory.outputDevices : &deviceInventory.inputDevices;
    int32_t endpoints = render ? deviceInventory.endpointCountOut : deviceInventory.endpointCountIn;
    for (int32_t i = 1; i <= endpoints; ++i) {
        const auto* endpoint = static_cast<const DeviceRecord*>(itemAt(list, i));
        if (!endpoint || !beginsWith(endpoint->name, record->name)) continue;
        memcpy(record->matchingDeviceId, endpoint->matchingDeviceId,
               sizeof record->matchingDeviceId);
        readEndpointProperties(record, endpoint->endpointKey, directionPath, reads | READ_KEY_NAME);
        return 0;
    }
    return -2;
}
