#include "endpoints/endpoint_naming.h"

#include "devices/device_record.h"
#include "devices/endpoint_store.h"
#include "devices/endpoint_store_keys.h"
#include "endpoints/endpoint_properties.h"
#include "endpoints/icon_source.h"
#include "endpoints/wide_text.h"
#include "platform/platform.h"

namespace {
constexpr size_t NAME_CAPACITY = 512;
constexpr size_t LONGEST_NAME = 254;
constexpr size_t PATH_CAPACITY = 1024;
constexpr size_t TEXT_CAPACITY = 1024;
constexpr platform::PropertyKey NAME_KEY = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 2};
constexpr platform::PropertyKey ICON_KEY = {
    {0x259abffc, 0x50a7, 0x47ce, {0xaf, 0x08, 0x68, 0xc9, 0xa7, 0xd7, 0x33, 0x66}}, 12};

struct Pass {
    const char16_t* prefix;
    int32_t iconBase;
    const char16_t* iconSource;
    const char16_t* idPrefix;     // an endpoint's id is this and its key name
    platform::Handle enumerator;  // nullptr: every endpoint is written in its key
    bool view64;
    int32_t number = 0, handled = 0, failed = 0;
};

// Playback ("Render") endpoints' ids begin with {0.0.0.00000000}, recording ("Capture") ones'
// with {0.0.1.00000000}.
const char16_t* idPrefix(const char16_t* flow) {
    return flow[0] == u'R' ? u"{0.0.0.00000000}." : u"{0.0.1.00000000}.";
}

// The device whose id is the flow's prefix and the store's key name; nullptr when the
// enumerator has none.
platform::Handle endpointDevice(const Pass& pass, const char16_t* key) {
    char16_t id[NAME_CAPACITY] = {};
    if (!pass.enumerator || !appendText(id, pass.idPrefix) || !appendText(id, key)) return nullptr;
    return platform::endpointById(pass.enumerator, id);
}

// On Windows 10 and 11 the store's keys belong to the audio service, which refuses even an
// administrator and would not see a raw write before it restarts: the device's own property
// store takes the values. The key is written only for an endpoint the enumerator lacks. A
// text that could not be made (nullptr) counts as refused.
int32_t refusedWrites(const Pass& pass, const char16_t* key, const char16_t* properties,
                      const char16_t* name, const char16_t* icon) {
    bool named, iconed;
    if (platform::Handle device = endpointDevice(pass, key)) {
        platform::Handle store = platform::openEndpointPropertiesForWriting(device);
        named = name && store && platform::setEndpointText(store, NAME_KEY, name);
        iconed = icon && store && platform::setEndpointText(store, ICON_KEY, icon);
        platform::releaseObject(store);
        platform::releaseObject(device);
    } else {
        named = name && writeProperty(pass.view64, properties, DEVICE_DESCRIPTION, name);
        iconed = icon && writeProperty(pass.view64, properties, ICON_PATH, icon);
    }
    return !named + !iconed;
}

void nameEndpoint(Pass& pass, const char16_t* key, const char16_t* properties) {
    char16_t text[TEXT_CAPACITY];
    if (!readProperty(properties, MATCHING_DEVICE_ID, text, TEXT_CAPACITY) ||
        !isVaioServiceName(afterLast(text, u':')))
        return;
    // An endpoint without a number of its own goes on counting from the one before it.
    ++pass.number;
    if (readProperty(properties, INTERFACE_PATH, text, TEXT_CAPACITY) && endpointNumber(text) > 0)
        pass.number = endpointNumber(text);

    char16_t name[TEXT_CAPACITY] = {}, icon[TEXT_CAPACITY] = {};
    bool named = appendText(name, pass.prefix) && appendText(name, u" ") &&
                 appendNumber(name, pass.number);
    bool iconed = appendText(icon, pass.iconSource) && appendText(icon, u",-") &&
                  appendNumber(icon, pass.iconBase + pass.number);
    pass.failed += refusedWrites(pass, key, properties, named ? name : nullptr,
                                 iconed ? icon : nullptr);
    ++pass.handled;
}
}  // namespace

int32_t nameEndpoints(const char16_t* flow, const char16_t* prefix, int32_t iconBase) {
    char16_t iconSource[ICON_SOURCE_CAPACITY];
    if (!findIconSource(iconSource)) return -1;
    char16_t flowKey[PATH_CAPACITY] = {};
    if (!appendText(flowKey, ENDPOINT_STORE_KEY) || !appendText(flowKey, u"\\") ||
        !appendText(flowKey, flow))
        return 0;

    Pass pass{prefix, iconBase, iconSource, idPrefix(flow), nullptr, false};
    platform::Handle key = openStoreListKey(flowKey, &pass.view64);
    if (!key) return 0;
    pass.enumerator = platform::createDeviceEnumerator();
    char16_t name[NAME_CAPACITY];
    for (uint32_t index = 0;
         platform::regEnumSubkeyWide(key, index, name, NAME_CAPACITY) == platform::EnumResult::ok;
         ++index) {
        char16_t properties[PATH_CAPACITY] = {};
        if (wideLength(name) <= LONGEST_NAME && appendText(properties, flowKey) &&
            appendText(properties, u"\\") && appendText(properties, name) &&
            appendText(properties, u"\\Properties"))
            nameEndpoint(pass, name, properties);
    }
    platform::releaseObject(pass.enumerator);
    platform::regClose(key);
    return pass.failed > 0 ? -pass.failed : pass.handled;
}
