// The driver's kernel service. It starts with every session (an automatic start), since a
// driver lives only as long as the session that loaded it.
#include "vaio_setup.h"

namespace {
const char SERVICE_NAME[] = "QLOrvaloVAIO";
const char SERVICE_KEY[] = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIO";
const char PARAMETERS_KEY[] = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIO\\Parameters";
const char MME_SERVICE_KEY[] = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIOMME";
const char CLASS_KEYS[] =
    "\\Registry\\Machine\\System\\CurrentControlSet\\Control\\DeviceClasses\\"
    "{66CAA746-1518-4C53-B6E6-9E550A734FD1}\\";
// An absolute image path: the driver host cannot resolve "System32\drivers\...".
const char IMAGE_PATH[] = "\\SystemRoot\\System32\\drivers\\qlorvalovaio64_win10.sys";
const DWORD STOP_WAIT_MS = 10000;

bool setText(const char* keyPath, const char* name, DWORD type, const char* text) {
    HKEY key = createMachineKey(keyPath);
    if (!key) return false;
    bool set = setAnsiText(key, name, type, text);
    RegCloseKey(key);
    return set;
}

// Where the driver finds its interface: "\\?\x" is linked as "\??\x", and the interface's
// key is named "##?#x" below the interface class's key.
bool writeParameters(const char* interfacePath) {
    if (lstrlenA(interfacePath) < 5 || lstrlenA(interfacePath) > 300) return false;
    char link[320] = "\\??\\", control[600];
    lstrcatA(link, interfacePath + 4);
    lstrcpyA(control, CLASS_KEYS);
    lstrcatA(control, "##?#");
    lstrcatA(control, interfacePath + 4);
    lstrcatA(control, "\\#\\Control");
    return setText(PARAMETERS_KEY, "SymbolicLink", REG_SZ, link) &&
           setText(PARAMETERS_KEY, "ControlKey", REG_SZ, control);
}

SC_HANDLE openOrCreateService(SC_HANDLE manager) {
    SC_HANDLE service =
        CreateServiceA(manager, SERVICE_NAME, "Quillon Orvalo VAIO Driver", SERVICE_ALL_ACCESS,
                       SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, IMAGE_PATH,
                       nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!service && GetLastError() == ERROR_SERVICE_EXISTS)
        service = OpenServiceA(manager, SERVICE_NAME, SERVICE_ALL_ACCESS);
    return service;
}

void waitStopped(SC_HANDLE service) {
    SERVICE_STATUS status;
    for (DWORD waited = 0; waited < STOP_WAIT_MS; waited += 100) {
        if (!QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED)
            return;
        Sleep(100);
    }
}
}  // namespace

bool installDriverService(const char* interfacePath) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = openOrCreateService(manager);
    bool started =
        service && writeParameters(interfacePath) &&
        setText(MME_SERVICE_KEY, "ImagePath", REG_EXPAND_SZ, IMAGE_PATH) &&
        (StartServiceA(service, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return started;
}

void removeDriverService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, SERVICE_NAME, SERVICE_ALL_ACCESS) : nullptr;
    if (service) {
        SERVICE_STATUS status;
        if (ControlService(service, SERVICE_CONTROL_STOP, &status)) waitStopped(service);
        DeleteService(service);
        CloseServiceHandle(service);
    }
    if (manager) CloseServiceHandle(manager);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, SERVICE_KEY);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, MME_SERVICE_KEY);
}
