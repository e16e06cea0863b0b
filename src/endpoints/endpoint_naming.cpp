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

struct Pass {
    const char16_t* prefix;
    int32_t iconBase;
    const char16_t* iconSource;
    bool view64;
    int32_t number = 0, handled = 0, failed = 0;
};

void nameEndpoint(Pass& pass, const char16_t* properties) {
    char16_t text[TEXT_CAPACITY];
    if (!readProperty(properties, MATCHING_DEVICE_ID, text, TEXT_CAPACITY) ||
        !isVaioServiceName(afterLast(text, u':')))
        return;
    // An endpoint without a number of its own goes on counting from the one before it.
    ++pass.number;
    if (readProperty(properties, INTERFACE_PATH, text, TEXT_CAPACITY) && endpointNumber(text) > 0)
        pass.number = endpointNumber(text);

    char16_t name[TEXT_CAPACITY] = {};
    bool written = appendText(name, pass.prefix) && appendText(name, u" ") &&
                   appendNumber(name, pass.number) &&
                   writeProperty(pass.view64, properties, DEVICE_DESCRIPTION, name);
    pass.failed += written ? 0 : 1;
    char16_t icon[TEXT_CAPACITY] = {};
    written = appendText(icon, pass.iconSource) && appendText(icon, u",-") &&
              appendNumber(icon, pass.iconBase + pass.number) &&
              writeProperty(pass.view64, properties, ICON_PATH, icon);
    pass.failed += written ? 0 : 1;
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

    Pass pass{prefix, iconBase, iconSource, false};
    platform::Handle key = openStoreListKey(flowKey, &pass.view64);
    if (!key) return 0;
    char16_t name[NAME_CAPACITY];
    for (uint32_t index = 0;
         platform::regEnumSubkeyWide(key, index, name, NAME_CAPACITY) == platform::EnumResult::ok;
         ++index) {
        char16_t properties[PATH_CAPACITY] = {};
        if (wideLength(name) <= LONGEST_NAME && appendText(properties, flowKey) &&
            appendText(properties, u"\\") && appendText(properties, name) &&
            appendText(properties, u"\\Properties"))
            nameEndpoint(pass, properties);
    }
    platform::regClose(key);
    return pass.failed > 0 ? -pass.failed : pass.handled;
}
