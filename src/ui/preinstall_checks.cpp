#include "ui/preinstall_checks.h"

#include <cctype>

#include "app/context.h"
#include "app/paths.h"
#include "install/registry_records.h"

namespace {

constexpr uint32_t VALUE_BUFFER_SIZE = 1024;

// The entry in the default view, else in the 32-bit view; nullptr when in neither.
platform::Handle openUninstallEntry() {
    platform::Handle root = platform::regRoot(platform::RegRoot::localMachine);
    platform::Handle key = platform::regOpen(root, UNINSTALL_KEY, platform::regRead);
    if (!key) key = platform::regOpen(root, UNINSTALL_KEY, platform::regRead | platform::regView32);
    return key;
}

// The UninstallString as a REG_SZ; false when missing, too long or of another type.
bool readUninstallString(platform::Handle key, char (&text)[VALUE_BUFFER_SIZE]) {
    platform::RegType type = platform::RegType::none;
    uint32_t size = 0;
    bool ok = platform::regQuery(key, "UninstallString", &type, text, sizeof text, &size);
    platform::regClose(key);
    if (!ok || type != platform::RegType::string) return false;
    // A stored string may lack its terminator; never read past the buffer.
    text[size < sizeof text ? size : sizeof text - 1] = 0;
    return true;
}

bool equalIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (tolower(static_cast<unsigned char>(*a)) != tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

}  // namespace

int32_t uninstallEntryCheck() {
    platform::Handle key = openUninstallEntry();
    if (!key) return 0;
    char text[VALUE_BUFFER_SIZE];
    return readUninstallString(key, text) ? 1 : 0;
}

int32_t sameSetupCheck(const InstallerContext* context) {
    platform::Handle key = openUninstallEntry();
    if (!key) return 1;
    char text[VALUE_BUFFER_SIZE];
    if (!readUninstallString(key, text) || !text[0]) return 1;
    return equalIgnoringAsciiCase(fileNameOf(context->setupPath), fileNameOf(text)) ? 1 : 0;
}

// The audio device inventory is still empty, so no product device can be found yet.
int32_t deviceNameScan() { return 0; }

int32_t vaioInterfaceProbe(InstallerContext* context) {
    platform::Handle device = nullptr;
    platform::DeviceOpen result = platform::openFirstDeviceInterface(VAIO_INTERFACE_CLASS, &device);
    if (result == platform::DeviceOpen::none) return 0;
    if (result == platform::DeviceOpen::opened) platform::closeHandle(device);
    context->vaioInstalled = 1;
    context->installed = 1;
    context->driverPresence = 1;
    return 1;
}
