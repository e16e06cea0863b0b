// Snapshot of the system's audio devices, taken once at start-up before the window exists,
// then only read (by the device-name scan of the pre-install checks).
#pragma once
#include <cstdint>

#include "devices/device_list.h"
#include "devices/device_record.h"

struct DeviceInventory {
    DeviceList inputDevices;   // capture endpoints and MME wave-in devices
    DeviceList outputDevices;  // render endpoints and MME wave-out devices
    int32_t endpointCountIn;   // capture endpoints appended; 0 without the endpoint API
    int32_t endpointCountOut;
    int32_t comInitResult;
    bool endpointApiAvailable;  // CreateEventExA exists: a system with the endpoint API
};

extern DeviceInventory deviceInventory;

int32_t initInventory();
int32_t closeInventory();
int32_t enumerateDevices();
int32_t enumerateEndpoints(bool capture);  // endpoint records appended
// The GUID part, in braces, of an endpoint id: its key name in the endpoint store.
void endpointKeyFromId(const char16_t* endpointId, char16_t (&out)[64]);
