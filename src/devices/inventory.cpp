#include "devices/inventory.h"

#include <cstring>
#include <initializer_list>
#include <iterator>

#include "app/system_libraries.h"
#include "devices/endpoint_store.h"
#include "platform/platform.h"

DeviceInventory deviceInventory;

namespace {

constexpr platform::PropertyKey FRIENDLY_NAME = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
constexpr platform::PropertyKey INTERFACE_FRIENDLY_NAME = {
    {0x026e516e, 0xb814, 0x414b, {0x83, 0xcd, 0x85, 0x6d, 0x6f, 0xef, 0x48, 0x22}}, 2};
constexpr platform::PropertyKey CAPTURE_BOOL = {
    {0x24dbb0fc, 0x9311, 0x4b3d, {0x9c, 0xf0, 0x18, 0xff, 0x15, 0x56, 0x39, 0xd4}}, 1};

constexpr int32_t S_FALSE_RESULT = 1;

// A string property into a field; false when GetValue failed. Other types read as empty.
template <size_t N>
bool readText(platform::Handle store, const platform::PropertyKey& key, char16_t (&field)[N]) {
    char16_t text[N + 1];  // a unit more than the field tells whether the value goes on
    if (platform::endpointText(store, key, text, uint32_t(std::size(text))) ==
        platform::PropertyRead::failed)
        return false;
    copyWide(field, text);
    return true;
}

// Endpoint `index` of the collection as a record; false when it is to be left out.
bool endpointRecord(platform::Handle collection, uint32_t index, bool capture,
                    DeviceRecord* record) {
    platform::Handle device = platform::endpointAt(collection, index);
    if (!device) return false;
    memset(record, 0, sizeof *record);
    char16_t id[512];
    if (platform::endpointId(device, id, 512)) endpointKeyFromId(id, record->endpointKey);
    platform::Handle store = platform::openEndpointProperties(device);
    bool ok = store && readText(store, FRIENDLY_NAME, record->name) &&
              readText(store, INTERFACE_FRIENDLY_NAME, record->interfaceName);
    if (ok) {
        copyAnsi(record->nameAnsi, record->name);
        int16_t value = 0;
        if (capture &&
            platform::endpointBool(store, CAPTURE_BOOL, &value) == platform::PropertyRead::ok &&
            value == -1)
            record->flags |= FLAG_CAPTURE_BOOL;
        matchEndpoint(record, capture ? u"Capture" : u"Render", ENDPOINT_READS);
        record->kind = capture ? KIND_ENDPOINT_IN : KIND_ENDPOINT;
        record->deviceIndex = int32_t(index);
        record->channels = uint32_t(record->deviceFormat[2] | record->deviceFormat[3] << 8);
    }
    platform::releaseObject(store);
    platform::releaseObject(device);
    return ok;
}

void listWaveDevices(platform::ModuleHandle winmm, bool capture) {
    DeviceList* list = capture ? &deviceInventory.inputDevices : &deviceInventory.outputDevices;
    uint32_t count = platform::waveDeviceCount(winmm, capture);
    DeviceRecord record;
    for (uint32_t i = 0; i < count; ++i) {
        platform::WaveCaps caps;
        if (!platform::waveDeviceCaps(winmm, capture, i, &caps)) continue;
        memset(&record, 0, sizeof record);
        record.deviceIndex = int32_t(i);
        copyWide(record.name, caps.name);
        copyAnsi(record.nameAnsi, record.name);
        record.channels = caps.channels;
        record.kind = capture ? KIND_MME_IN : KIND_MME;
        matchEndpoint(&record, capture ? u"Capture" : u"Render", MME_READS);
        appendItem(list, &record);
    }
}

}  // namespace

void endpointKeyFromId(const char16_t* endpointId, char16_t (&out)[64]) {
    out[0] = 0;
    const char16_t* brace = nullptr;
    uint32_t length = 0;
    for (; endpointId[length]; ++length)
        if (endpointId[length] == u'{') brace = endpointId + length;
    if (brace && endpointId + length - brace > 16) copyWide(out, brace);
}

int32_t enumerateEndpoints(bool capture) {
    DeviceList* list = capture ? &deviceInventory.inputDevices : &deviceInventory.outputDevices;
    platform::Handle enumerator = platform::createDeviceEnumerator();
    platform::Handle collection =
        enumerator ? platform::activeEndpoints(enumerator, capture) : nullptr;
    uint32_t count = 0;
    if (!collection || !platform::endpointCount(collection, &count)) count = 0;
    int32_t appended = 0;
    DeviceRecord record;
    for (uint32_t i = 0; i < count; ++i)
        if (endpointRecord(collection, i, capture, &record) && appendItem(list, &record))
            ++appended;
    platform::releaseObject(collection);
    platform::releaseObject(enumerator);
    return appended;
}

int32_t enumerateDevices() {
    resetList(&deviceInventory.inputDevices);
    resetList(&deviceInventory.outputDevices);
    // Once for both directions; without it there are no MME devices.
    platform::ModuleHandle winmm = loadSystemLibrary("WINMM.DLL");
    if (deviceInventory.endpointApiAvailable)
        deviceInventory.endpointCountIn = enumerateEndpoints(true);
    listWaveDevices(winmm, true);
    if (deviceInventory.endpointApiAvailable)
        deviceInventory.endpointCountOut = enumerateEndpoints(false);
    listWaveDevices(winmm, false);
    if (winmm) platform::freeModule(winmm);
    sortList(&deviceInventory.inputDevices, compareDevices);
    sortList(&deviceInventory.outputDevices, compareDevices);
    return 0;
}

int32_t initInventory() {
    memset(&deviceInventory, 0, sizeof deviceInventory);
    deviceInventory.comInitResult = platform::coInitialize();
    deviceInventory.endpointApiAvailable = platform::kernelHasExport("CreateEventExA");
    createList(&deviceInventory.inputDevices, sizeof(DeviceRecord));
    createList(&deviceInventory.outputDevices, sizeof(DeviceRecord));
    return enumerateDevices();
}

int32_t closeInventory() {
    if (deviceInventory.comInitResult == 0 || deviceInventory.comInitResult == S_FALSE_RESULT)
        platform::coUninitialize();
    destroyList(&deviceInventory.inputDevices);
    destroyList(&deviceInventory.outputDevices);
    memset(&deviceInventory, 0, sizeof deviceInventory);
    return 0;
}
