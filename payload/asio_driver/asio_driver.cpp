// One of the product's virtual ASIO driver modules: a COM in-process server that hands out
// its driver object through a class factory and registers itself where audio hosts look
// for such drivers. The same source builds all eight modules; QL_DRIVER_NAME and
// QL_DRIVER_CLSID (the braced GUID text) tell them apart.
#include <windows.h>
#include <olectl.h>
#include <new>

#ifndef QL_DRIVER_NAME
#error QL_DRIVER_NAME must name the driver
#endif
#ifndef QL_DRIVER_CLSID
#error QL_DRIVER_CLSID must give the class id of the driver as braced text
#endif

namespace {

HINSTANCE moduleInstance;
LONG liveObjects;   // driver objects not yet released
LONG moduleLocks;   // LockServer calls and references to the class factory

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to the GUID's 16 bytes. The text is fixed at
// build time, so a malformed one is a build fault and yields the null GUID.
GUID guidFromText(const char* text) {
    static const int digitOrder[32] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 15, 16, 17, 18,
                                       20, 21, 22, 23, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};
    unsigned char digits[16] = {};
    for (int i = 0; i < 32; ++i) {
        int value = hexValue(text[digitOrder[i]]);
        if (value < 0) return GUID{};
        digits[i / 2] = (unsigned char)(digits[i / 2] << 4 | value);
    }
    GUID guid;
    guid.Data1 = (DWORD)digits[0] << 24 | (DWORD)digits[1] << 16 | (DWORD)digits[2] << 8 | digits[3];
    guid.Data2 = (WORD)(digits[4] << 8 | digits[5]);
    guid.Data3 = (WORD)(digits[6] << 8 | digits[7]);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = digits[8 + i];
    return guid;
}

GUID driverClassId;  // parsed from QL_DRIVER_CLSID when the module is loaded

// The driver object. Hosts reach the driver's own interface through it; this module only
// answers for IUnknown.
class DriverObject final : public IUnknown {
public:
    DriverObject() { InterlockedIncrement(&liveObjects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        if (!result) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *result = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            this->~DriverObject();
            HeapFree(GetProcessHeap(), 0, this);
            InterlockedDecrement(&liveObjects);
        }
        return (ULONG)left;
    }

private:
    LONG references = 1;
};

// One factory for the module's lifetime; its references keep the module loaded.
class DriverFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        if (!result) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *result = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&moduleLocks) + 1; }
    ULONG STDMETHODCALLTYPE Release() override { return (ULONG)InterlockedDecrement(&moduleLocks) + 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(DriverObject));
        if (!memory) return E_OUTOFMEMORY;
        DriverObject* object = new (memory) DriverObject();
        HRESULT outcome = object->QueryInterface(iid, result);
        object->Release();
        return outcome;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) InterlockedIncrement(&moduleLocks);
        else InterlockedDecrement(&moduleLocks);
        return S_OK;
    }
};

DriverFactory factory;

// Registry helpers: one value, one key.
bool setText(HKEY root, const char* path, const char* name, const char* text) {
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool removeKey(HKEY root, const char* path) {
    LONG status = RegDeleteKeyA(root, path);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

const char CLASS_KEY[] = "CLSID\\" QL_DRIVER_CLSID;
const char SERVER_KEY[] = "CLSID\\" QL_DRIVER_CLSID "\\InprocServer32";
const char DRIVER_KEY[] = "SOFTWARE\\ASIO\\" QL_DRIVER_NAME;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        driverClassId = guidFromText(QL_DRIVER_CLSID);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!IsEqualCLSID(classId, driverClassId)) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, result);
}

STDAPI DllCanUnloadNow() {
    return liveObjects == 0 && moduleLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    char modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(moduleInstance, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath) return SELFREG_E_CLASS;
    bool ok = setText(HKEY_CLASSES_ROOT, CLASS_KEY, nullptr, QL_DRIVER_NAME " Driver") &&
              setText(HKEY_CLASSES_ROOT, SERVER_KEY, nullptr, modulePath) &&
              setText(HKEY_CLASSES_ROOT, SERVER_KEY, "ThreadingModel", "Apartment") &&
              setText(HKEY_LOCAL_MACHINE, DRIVER_KEY, "CLSID", QL_DRIVER_CLSID) &&
              setText(HKEY_LOCAL_MACHINE, DRIVER_KEY, "Description", QL_DRIVER_NAME);
    return ok ? S_OK : SELFREG_E_CLASS;
}

// Removes only this driver's keys; the shared SOFTWARE\ASIO key belongs to every driver.
STDAPI DllUnregisterServer() {
    bool ok = removeKey(HKEY_CLASSES_ROOT, SERVER_KEY);
    ok = removeKey(HKEY_CLASSES_ROOT, CLASS_KEY) && ok;
    ok = removeKey(HKEY_LOCAL_MACHINE, DRIVER_KEY) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}
