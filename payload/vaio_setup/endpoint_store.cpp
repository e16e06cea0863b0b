// The endpoint store entries of the driver's 16 endpoints, as the audio system writes them
// when a driver's audio pins come up: one key per endpoint below Render (playback) or
// Capture (recording), its state, and the "Properties" that the product reads.
#include <stdio.h>

#include "vaio_setup.h"

namespace {
const char STORE_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\MMDevices\\Audio\\";
const int ENDPOINTS_PER_FLOW = 8;
const DWORD DEVICE_STATE_ACTIVE = 1;
const DWORD FORM_FACTOR_LINE_LEVEL = 2;

struct Flow {
    const char* key;
    const char* description;
    unsigned idBase;
};
const Flow FLOWS[] = {{"Render", "VAIO In", 0x100}, {"Capture", "VAIO Out", 0x200}};

// Stereo, 48 kHz, 24-bit PCM, as a serialised blob: the property type (VT_BLOB), the size,
// then the WAVEFORMATEXTENSIBLE.
const BYTE FORMAT[48] = {
    0x41, 0,    0,    0,    40,   0,    0,    0,  // VT_BLOB, 40 bytes
    0xFE, 0xFF, 2,    0,    0x80, 0xBB, 0,    0,  // extensible, 2 channels, 48000 Hz
    0x00, 0x65, 0x04, 0,    6,    0,    24,   0,  // 288000 bytes/s, block 6, 24 bits
    22,   0,    24,   0,    3,    0,    0,    0,  // 22 more bytes, 24 valid bits, L+R
    1,    0,    0,    0,    0,    0,    0x10, 0,  // KSDATAFORMAT_SUBTYPE_PCM
    0x80, 0,    0,    0xAA, 0,    0x38, 0x9B, 0x71};

// The endpoint's key name: a fixed GUID per endpoint, so that removal finds exactly ours.
// Endpoint ids follow no order of their pins; here they run against the pin numbers.
void endpointKey(char* out, size_t size, const Flow& flow, int number) {
    snprintf(out, size, "%s%s\\{8A1C3F52-0D4E-4B7A-9C61-5E2F7B90%04X}", STORE_KEY, flow.key,
             flow.idBase + ENDPOINTS_PER_FLOW + 1 - number);
}

// The store's texts are UTF-16 (the ANSI call would convert them as ANSI text).
bool setText(HKEY key, const char* name, const char* text) {
    WCHAR wideName[128], wideText[512];
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wideText, 512);
    return MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 128) > 0 && length > 0 &&
           RegSetValueExW(key, wideName, 0, REG_SZ, (const BYTE*)wideText,
                          (DWORD)length * sizeof(WCHAR)) == ERROR_SUCCESS;
}

bool setNumber(HKEY key, const char* name, DWORD number) {
    return setValue(key, name, REG_DWORD, &number, sizeof number);
}

bool writeEndpoint(const Flow& flow, int number, const char* interfacePath) {
    char path[300], text[512];
    endpointKey(path, sizeof path, flow, number);
    HKEY endpoint = createMachineKey(path);
    if (!endpoint) return false;
    bool written = setNumber(endpoint, "DeviceState", DEVICE_STATE_ACTIVE);
    RegCloseKey(endpoint);
    lstrcatA(path, "\\Properties");
    HKEY properties = createMachineKey(path);
    if (!properties) return false;
    snprintf(text, sizeof text, "%s %i", flow.description, number);
    written = written && setText(properties, "{a45c254e-df1c-4efd-8020-67d146a850e0},2", text);
    written = written && setText(properties, "{b3f8fa53-0004-438e-9003-51a46e139bfc},6",
                                 "Quillon Orvalo VAIO");
    // The endpoint's pin: the driver's interface path and the pin number in four digits.
    snprintf(text, sizeof text, "{2}.%s\\%s%04d", interfacePath, flow.key, number);
    written = written && setText(properties, "{233164c8-1b2c-4c7d-bc68-b671687a2567},1", text);
    written =
        written && setText(properties, "{83da6326-97a6-4088-9453-a1923f573b29},3",
                           "qlorvalovaio64_win10.inf:QLOrvaloVAIO.Install:1.0.2.9:QLOrvaloVAIO");
    written =
        written && setNumber(properties, "{b3f8fa53-0004-438e-9003-51a46e139bfc},3", 1) &&
        setNumber(properties, "{b3f8fa53-0004-438e-9003-51a46e139bfc},4", 1) &&
        setNumber(properties, "{1da5d803-d492-4edd-8c23-e0c0ffee7f0e},0", FORM_FACTOR_LINE_LEVEL) &&
        setValue(properties, "{e4870e26-3cc5-4cd2-ba46-ca0a9a70ed04},0", REG_BINARY, FORMAT,
                 sizeof FORMAT) &&
        setValue(properties, "{f19f064d-082c-4e27-bc73-6882a1bb8e4c},0", REG_BINARY, FORMAT,
                 sizeof FORMAT);
    RegCloseKey(properties);
    return written;
}
}  // namespace

bool writeEndpoints(const char* interfacePath) {
    for (const Flow& flow : FLOWS)
        for (int number = 1; number <= ENDPOINTS_PER_FLOW; ++number)
            if (!writeEndpoint(flow, number, interfacePath)) return false;
    return true;
}

// The program is 64-bit, so the plain call deletes in the 64-bit view, key and all.
void removeEndpoints() {
    char path[300];
    for (const Flow& flow : FLOWS)
        for (int number = 1; number <= ENDPOINTS_PER_FLOW; ++number) {
            endpointKey(path, sizeof path, flow, number);
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
        }
}
