// The parts of the VAIO setup program: the driver's device and interface, its service, and
// the endpoint store entries that the audio system would make for the driver's endpoints.
#pragma once
#include <windows.h>

// The interface of the driver's device, created when missing. path receives the interface's
// "\\?\..." path. False when the device or the interface cannot be made.
bool makeDeviceInterface(char* path, DWORD size);
void removeDeviceInterface();

// The kernel driver service and its MME service key, and the Parameters that tell the driver
// where its interface is; then the service is started. False on any failure.
bool installDriverService(const char* interfacePath);
// Stops the driver (it takes the interface's present mark away) and deletes its keys.
void removeDriverService();

// 8 playback and 8 recording endpoints in the 64-bit endpoint store.
bool writeEndpoints(const char* interfacePath);
void removeEndpoints();

// Values in the machine's 64-bit registry view, where the audio system and the driver look.
// createMachineKey creates the key when missing; the caller closes it.
HKEY createMachineKey(const char* path);
bool setValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size);
bool setAnsiText(HKEY key, const char* name, DWORD type, const char* text);
