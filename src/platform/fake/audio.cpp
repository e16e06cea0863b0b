// MME devices (through the system folder's WINMM.DLL, a scripted module) and audio endpoints,
// from the machine's tables, which are also the device store that endpoint properties are
// written to; every object is counted until it is released.
#include "platform/fake/internal.h"

#include <cstring>

namespace platform {
using namespace fake;

uint32_t waveDeviceCount(ModuleHandle winmm, bool capture) {
    if (!winmm || !hasExport(winmm, capture ? "waveInGetNumDevs" : "waveOutGetNumDevs")) return 0;
    return uint32_t((capture ? state().waveIn : state().waveOut).size());
}

bool waveDeviceCaps(ModuleHandle winmm, bool capture, uint32_t index, WaveCaps* caps) {
    const auto& devices = capture ? state().waveIn : state().waveOut;
    if (!winmm || !hasExport(winmm, capture ? "waveInGetDevCapsW" : "waveOutGetDevCapsW") ||
        index >= devices.size() || devices[index].capsFail)
        return false;
    memset(caps, 0, sizeof *caps);
    devices[index].name.copy(caps->name, 31);
    caps->channels = devices[index].channels;
    return true;
}

namespace {
struct DeviceObject {
    bool capture;
    size_t index;  // of devices and stores
};
std::vector<Endpoint>& endpoints(bool capture) {
    return capture ? state().captureEndpoints : state().renderEndpoints;
}
Handle newObject(bool capture, size_t index) {
    ++state().open["object"];
    return new DeviceObject{capture, index};
}
DeviceObject* object(Handle handle) { return static_cast<DeviceObject*>(handle); }
Endpoint& endpointOf(Handle handle) {
    return endpoints(object(handle)->capture)[object(handle)->index];
}
const char* direction(bool capture) { return capture ? "capture" : "render"; }

const PropertyValue* property(Handle store, const PropertyKey& key) {
    auto& properties = endpointOf(store).properties;
    auto found = properties.find(propertyName(key));
    return found == properties.end() ? nullptr : &found->second;
}
}  // namespace

Handle createDeviceEnumerator() {
    return fails("createDeviceEnumerator", "*") ? nullptr : newObject(false, 0);
}

Handle activeEndpoints(Handle, bool capture) {
    return fails("activeEndpoints", direction(capture)) ? nullptr : newObject(capture, 0);
}

bool endpointCount(Handle collection, uint32_t* count) {
    bool capture = object(collection)->capture;
    if (fails("endpointCount", direction(capture))) return false;
    *count = uint32_t(endpoints(capture).size());
    return true;
}

Handle endpointAt(Handle collection, uint32_t index) {
    bool capture = object(collection)->capture;
    if (index >= endpoints(capture).size() || endpoints(capture)[index].itemFails) return nullptr;
    return newObject(capture, index);
}

bool endpointId(Handle device, char16_t* out, uint32_t capacity) {
    const std::u16string& id = endpointOf(device).id;
    size_t from = id.size() < capacity ? 0 : id.size() - (capacity - 1);
    out[id.copy(out, capacity - 1, from)] = 0;
    return !id.empty();
}

Handle openEndpointProperties(Handle device) {
    if (endpointOf(device).storeFails) return nullptr;
    return newObject(object(device)->capture, object(device)->index);
}

PropertyRead endpointText(Handle store, const PropertyKey& key, char16_t* out,
                          uint32_t capacity) {
    out[0] = 0;
    const PropertyValue* value = property(store, key);
    if (value && value->kind == PropertyValue::Kind::failing) return PropertyRead::failed;
    if (!value || value->kind != PropertyValue::Kind::text) return PropertyRead::other;
    out[value->text.copy(out, capacity - 1)] = 0;
    return PropertyRead::ok;
}

PropertyRead endpointBool(Handle store, const PropertyKey& key, int16_t* out) {
    *out = 0;
    const PropertyValue* value = property(store, key);
    if (value && value->kind == PropertyValue::Kind::failing) return PropertyRead::failed;
    if (!value || value->kind != PropertyValue::Kind::boolean) return PropertyRead::other;
    *out = value->boolean;
    return PropertyRead::ok;
}

// The device store: the endpoints of both flows by id, exactly as GetId spells it.
Handle endpointById(Handle, const char16_t* id) {
    for (bool capture : {false, true})
        for (size_t i = 0; i < endpoints(capture).size(); ++i)
            if (endpoints(capture)[i].id == id) return newObject(capture, i);
    return nullptr;
}

Handle openEndpointPropertiesForWriting(Handle device) { return openEndpointProperties(device); }

// "endpointSet:ID\{fmtid},pid" refuses one value.
bool setEndpointText(Handle store, const PropertyKey& key, const char16_t* text) {
    Endpoint& endpoint = endpointOf(store);
    std::string name = propertyName(key);
    if (fails("endpointSet", narrow(endpoint.id.c_str()) + "\\" + name)) return false;
    endpoint.properties[name] = PropertyValue{PropertyValue::Kind::text, text};
    log("endpoint " + narrow(endpoint.id.c_str()) + "\\" + name + " = " + narrow(text));
    return true;
}

void releaseObject(Handle handle) {
    if (!handle) return;
    --state().open["object"];
    delete object(handle);
}

}  // namespace platform
