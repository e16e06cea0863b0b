// The system's audio devices: MME wave devices through winmm, whose functions are looked up in
// the library that the caller loaded (never imported: the loader would take a WINMM.DLL from
// the program's own folder first), endpoints through the multimedia device API (enumerator,
// collection, device, property store).
#include <windows.h>
// after windows.h, which they need
#include <mmdeviceapi.h>
#include <mmsystem.h>
#include <propidl.h>

#include <cstring>

#include "platform/platform.h"

namespace platform {
namespace {
// CLSID_MMDeviceEnumerator and IID_IMMDeviceEnumerator, spelled out so that no GUID library
// decides whether they link.
const GUID MM_DEVICE_ENUMERATOR = {
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const GUID MM_DEVICE_ENUMERATOR_INTERFACE = {
    0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};

PROPERTYKEY toKey(const PropertyKey& key) {
    PROPERTYKEY out;
    out.fmtid.Data1 = key.fmtid.data1;
    out.fmtid.Data2 = key.fmtid.data2;
    out.fmtid.Data3 = key.fmtid.data3;
    memcpy(out.fmtid.Data4, key.fmtid.data4, sizeof out.fmtid.Data4);
    out.pid = key.pid;
    return out;
}

// A function of the loaded WINMM.DLL, typed by its declaration (decltype imports nothing).
template <typename Function>
Function winmmFunction(ModuleHandle winmm, const char* name) {
    if (!winmm) return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(winmm), name)));
}

// GetValue into a cleared PROPVARIANT; the caller clears it again.
bool getValue(Handle store, const PropertyKey& key, PROPVARIANT* value) {
    PropVariantInit(value);
    PROPERTYKEY systemKey = toKey(key);
    return SUCCEEDED(static_cast<IPropertyStore*>(store)->GetValue(systemKey, value));
}
}  // namespace

uint32_t waveDeviceCount(ModuleHandle winmm, bool capture) {
    auto count = winmmFunction<decltype(&waveInGetNumDevs)>(
        winmm, capture ? "waveInGetNumDevs" : "waveOutGetNumDevs");
    return count ? count() : 0;
}

bool waveDeviceCaps(ModuleHandle winmm, bool capture, uint32_t index, WaveCaps* caps) {
    static_assert(sizeof caps->name == sizeof WAVEINCAPSW::szPname, "the product name's size");
    if (capture) {
        auto read = winmmFunction<decltype(&waveInGetDevCapsW)>(winmm, "waveInGetDevCapsW");
        WAVEINCAPSW system;
        if (!read || read(index, &system, sizeof system) != MMSYSERR_NOERROR) return false;
        memcpy(caps->name, system.szPname, sizeof caps->name);
        caps->channels = system.wChannels;
    } else {
        auto read = winmmFunction<decltype(&waveOutGetDevCapsW)>(winmm, "waveOutGetDevCapsW");
        WAVEOUTCAPSW system;
        if (!read || read(index, &system, sizeof system) != MMSYSERR_NOERROR) return false;
        memcpy(caps->name, system.szPname, sizeof caps->name);
        caps->channels = system.wChannels;
    }
    caps->name[31] = 0;  // a driver may fill all 32 units
    return true;
}

Handle createDeviceEnumerator() {
    void* enumerator = nullptr;
    HRESULT result =
        CoCreateInstance(MM_DEVICE_ENUMERATOR, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         MM_DEVICE_ENUMERATOR_INTERFACE, &enumerator);
    return SUCCEEDED(result) ? enumerator : nullptr;
}

Handle activeEndpoints(Handle enumerator, bool capture) {
    IMMDeviceCollection* collection = nullptr;
    HRESULT result =
        static_cast<IMMDeviceEnumerator*>(enumerator)
            ->EnumAudioEndpoints(capture ? eCapture : eRender, DEVICE_STATE_ACTIVE, &collection);
    return SUCCEEDED(result) ? collection : nullptr;
}

bool endpointCount(Handle collection, uint32_t* count) {
    UINT value = 0;
    if (FAILED(static_cast<IMMDeviceCollection*>(collection)->GetCount(&value))) return false;
    *count = value;
    return true;
}

Handle endpointAt(Handle collection, uint32_t index) {
    IMMDevice* device = nullptr;
    HRESULT result = static_cast<IMMDeviceCollection*>(collection)->Item(index, &device);
    return SUCCEEDED(result) ? device : nullptr;
}

bool endpointId(Handle device, char16_t* out, uint32_t capacity) {
    out[0] = 0;
    LPWSTR id = nullptr;
    if (FAILED(static_cast<IMMDevice*>(device)->GetId(&id)) || !id) return false;
    size_t length = wcslen(id);
    size_t from = length < capacity ? 0 : length - (capacity - 1);
    memcpy(out, id + from, (length - from) * sizeof(char16_t));
    out[length - from] = 0;
    CoTaskMemFree(id);
    return true;
}

Handle openEndpointProperties(Handle device) {
    IPropertyStore* store = nullptr;
    HRESULT result = static_cast<IMMDevice*>(device)->OpenPropertyStore(STGM_READ, &store);
    return SUCCEEDED(result) ? store : nullptr;
}

PropertyRead endpointText(Handle store, const PropertyKey& key, char16_t* out, uint32_t capacity) {
    out[0] = 0;
    PROPVARIANT value;
    if (!getValue(store, key, &value)) return PropertyRead::failed;
    PropertyRead result = PropertyRead::other;
    if (value.vt == VT_LPWSTR && value.pwszVal) {
        size_t length = wcsnlen(value.pwszVal, capacity - 1);
        memcpy(out, value.pwszVal, length * sizeof(char16_t));
        out[length] = 0;
        result = PropertyRead::ok;
    }
    PropVariantClear(&value);
    return result;
}

PropertyRead endpointBool(Handle store, const PropertyKey& key, int16_t* out) {
    *out = 0;
    PROPVARIANT value;
    if (!getValue(store, key, &value)) return PropertyRead::failed;
    PropertyRead result = PropertyRead::other;
    if (value.vt == VT_BOOL) {
        *out = value.boolVal;
        result = PropertyRead::ok;
    }
    PropVariantClear(&value);
    return result;
}

// GetDevice finds an endpoint in any state, not only an active one.
Handle endpointById(Handle enumerator, const char16_t* id) {
    IMMDevice* device = nullptr;
    HRESULT result = static_cast<IMMDeviceEnumerator*>(enumerator)->GetDevice(
        reinterpret_cast<const wchar_t*>(id), &device);
    return SUCCEEDED(result) ? device : nullptr;
}

// "The method permits a client running as an administrator to open a store for read-only,
// write-only, or read/write access" (IMMDevice::OpenPropertyStore); this program always runs
// as one.
Handle openEndpointPropertiesForWriting(Handle device) {
    IPropertyStore* store = nullptr;
    HRESULT result = static_cast<IMMDevice*>(device)->OpenPropertyStore(STGM_READWRITE, &store);
    return SUCCEEDED(result) ? store : nullptr;
}

// The value only borrows the text, so it is not cleared.
bool setEndpointText(Handle store, const PropertyKey& key, const char16_t* text) {
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_LPWSTR;
    value.pwszVal = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    auto* properties = static_cast<IPropertyStore*>(store);
    return SUCCEEDED(properties->SetValue(toKey(key), value)) && SUCCEEDED(properties->Commit());
}

void releaseObject(Handle object) {
    if (object) static_cast<IUnknown*>(object)->Release();
}

}  // namespace platform
