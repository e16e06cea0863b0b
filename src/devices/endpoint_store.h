// The endpoint store in the registry (HKLM ...\MMDevices\Audio\Render|Capture\{key}\Properties),
// which ties an MME device to its endpoint by name and fills a record's endpoint properties.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

struct DeviceRecord;

// Which optional reads readEndpointProperties makes.
enum : uint32_t {
    READ_KEY_NAME = 1,        // store the key name as endpointKey
    READ_INTERFACE_NAME = 2,  // interfaceName from the store (endpoints keep the property's)
};
inline constexpr uint32_t MME_READS = READ_KEY_NAME | READ_INTERFACE_NAME;
inline constexpr uint32_t ENDPOINT_READS = 0;

// 0 when tied to an endpoint and read; -1 when the direction's key cannot be opened; -2 when
// no endpoint matches. directionName: "Capture" or "Render".
int32_t matchEndpoint(DeviceRecord* record, const char16_t* directionName, uint32_t reads);
void readEndpointProperties(DeviceRecord* record, const char16_t* endpointKeyName,
                            const char16_t* directionKeyPath, uint32_t reads);

// Under HKEY_LOCAL_MACHINE, in the default view, else in the 64-bit view (`view64` tells which
// view opened, or was tried last).
platform::Handle openStoreKey(const char16_t* keyPath, bool* view64 = nullptr);
// The same for a key whose subkeys are listed: one without subkeys in the default view is
// taken from the 64-bit view, where the audio system may keep the store, when it opens there.
platform::Handle openStoreListKey(const char16_t* keyPath, bool* view64);
int32_t readRegString(const char16_t* keyPath, const char16_t* valueName, char16_t* out,
                      uint32_t capacity);  // 1 or 0
template <size_t N>
int32_t readRegString(const char16_t* keyPath, const char16_t* valueName, char16_t (&out)[N]) {
    return readRegString(keyPath, valueName, out, uint32_t(N));
}
int32_t readRegDword(const char16_t* keyPath, const char16_t* valueName, uint32_t* out);
// The value's size; 0 when the key cannot be opened, -1 for another type, -2 when the query
// fails (missing, or larger than the 1024-byte buffer).
int32_t readRegBinary(const char16_t* keyPath, const char16_t* valueName, uint8_t (&out)[1024]);
