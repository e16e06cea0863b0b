// Test probe for the ASIO driver modules, built by e2e_helpers.sh for either width:
//   asio_com_probe <module path> <class id> registered|unregistered
// Checks the module's class factory directly (wrong class, aggregation, interfaces, unload
// state) and then COM activation through the registry, which must succeed exactly when the
// module is registered. Prints the first failed check and exits 1; exits 0 when all hold.
#include <windows.h>
#include <objbase.h>
#include <stdio.h>
#include <string.h>

typedef HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* CanUnloadNow)();

static int failures;
static void check(bool ok, const char* what, HRESULT result) {
    if (!ok) {
        printf("FAILED: %s (0x%08lX)\n", what, (unsigned long)result);
        ++failures;
    }
}

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    wchar_t text[64];
    MultiByteToWideChar(CP_ACP, 0, argv[2], -1, text, 64);
    CLSID classId, otherId;
    if (CLSIDFromString(text, &classId) != S_OK) return 2;
    otherId = classId;
    otherId.Data1 ^= 1;
    bool registered = strcmp(argv[3], "registered") == 0;

    HMODULE module = LoadLibraryA(argv[1]);
    GetClassObject getClassObject = (GetClassObject)(void*)GetProcAddress(module, "DllGetClassObject");
    CanUnloadNow canUnloadNow = (CanUnloadNow)(void*)GetProcAddress(module, "DllCanUnloadNow");
    check(module && getClassObject && canUnloadNow, "module loads with its entry points", 0);
    if (failures) return 1;

    void* unused = nullptr;
    HRESULT hr = getClassObject(otherId, IID_IClassFactory, &unused);
    check(hr == CLASS_E_CLASSNOTAVAILABLE && !unused, "another class id is refused", hr);

    IClassFactory* factory = nullptr;
    hr = getClassObject(classId, IID_IClassFactory, (void**)&factory);
    check(hr == S_OK && factory, "class factory handed out", hr);
    if (!factory) return 1;
    check(canUnloadNow() == S_FALSE, "held factory keeps the module", 0);

    // Any object will do as a would-be aggregator.
    hr = factory->CreateInstance(factory, IID_IUnknown, &unused);
    check(hr == CLASS_E_NOAGGREGATION && !unused, "aggregation refused", hr);

    IUnknown* object = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, (void**)&object);
    check(hr == S_OK && object, "driver object created", hr);
    factory->Release();
    if (object) {
        hr = object->QueryInterface(IID_IClassFactory, &unused);
        check(hr == E_NOINTERFACE && !unused, "object answers only for what it is", hr);
        check(canUnloadNow() == S_FALSE, "live object keeps the module", 0);
        object->Release();
    }
    check(canUnloadNow() == S_OK, "module unloadable once everything is released", 0);
    FreeLibrary(module);

    CoInitialize(nullptr);
    object = nullptr;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&object);
    if (registered) check(hr == S_OK && object, "COM activates the registered driver", hr);
    else check(hr == REGDB_E_CLASSNOTREG, "COM does not know the unregistered driver", hr);
    if (object) object->Release();
    CoUninitialize();
    return failures ? 1 : 0;
}
