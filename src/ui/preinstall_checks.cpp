#include "ui/preinstall_checks.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

#include "app/context.h"
#include "app/paths.h"
#include "devices/inventory.h"
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

// The program that an UninstallString runs: the text inside the quotes when it starts with one
// (what follows the closing quote are arguments), else the whole text, unquoted as installs
// before the quoting wrote it. Cuts text at the closing quote.
const char* programOf(char* text) {
    if (text[0] != '"') return text;
    if (char* end = strchr(text + 1, '"')) *end = 0;
    return text + 1;
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
    if (!readUninstallString(key, text)) return 1;
    const char* program = programOf(text);
    if (!program[0]) return 1;
    return equalIgnoringAsciiCase(fileNameOf(context->setupPath), fileNameOf(program)) ? 1 : 0;
}

int32_t deviceNameScan() {
    const DeviceList* lists[] = {&deviceInventory.inputDevices, &deviceInventory.outputDevices};
    for (int32_t base : {0, 10}) {
        const DeviceList* list = lists[base / 10];
        for (int32_t i = 1; i <= (list->storage ? list->count : 0); ++i) {
            const auto* device = static_cast<const DeviceRecord*>(itemAt(list, i));
            if (wideContains(device->interfaceName, u"Quillon Orvalo")) return base + 1;
            if (wideContains(device->name, u"Quillon Orvalo")) return base + 2;
            if (wideContains(device->interfaceName, u"QLOrvalo")) return base + 3;
            if (wideContains(device->name, u"QLOrvalo")) return base + 4;
        }
    }
    return 0;
}

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
