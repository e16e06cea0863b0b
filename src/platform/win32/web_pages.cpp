// Opening web pages. This program runs elevated, and so would a browser that it starts; the
// desktop shell, which runs as the signed-in person, is asked to start it instead, the way the
// shell offers to scripts: the desktop's shell view gives the shell's Shell.Application
// object, whose ShellExecute runs in the shell's process. Without that shell no page opens.
#include <windows.h>
// after windows.h, whose ShellExecute macro the shell dispatch interface's method name follows
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {
template <typename Interface>
void release(Interface* object) {
    if (object) object->Release();
}

// The desktop shell's Shell.Application object, or nullptr where no desktop shell answers.
// Only a server in another process is taken: one made in this process would start the
// browser with this process's rights.
IShellDispatch2* desktopShell() {
    IShellWindows* windows = nullptr;
    IDispatch *desktop = nullptr, *background = nullptr, *application = nullptr;
    IServiceProvider* provider = nullptr;
    IShellBrowser* browser = nullptr;
    IShellView* view = nullptr;
    IShellFolderViewDual* folder = nullptr;
    IShellDispatch2* shell = nullptr;
    VARIANT location, root;
    VariantInit(&location);
    VariantInit(&root);
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    LONG window = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                   IID_IShellWindows, reinterpret_cast<void**>(&windows))) &&
        windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              &desktop) == S_OK &&
        desktop &&
        SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider,
                                          reinterpret_cast<void**>(&provider))) &&
        SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                         reinterpret_cast<void**>(&browser))) &&
        SUCCEEDED(browser->QueryActiveShellView(&view)) && view &&
        SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                      reinterpret_cast<void**>(&background))) &&
        SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual,
                                             reinterpret_cast<void**>(&folder))) &&
        SUCCEEDED(folder->get_Application(&application)) && application)
        application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(&shell));
    release(application);
    release(folder);
    release(background);
    release(view);
    release(browser);
    release(provider);
    release(desktop);
    release(windows);
    return shell;
}
}  // namespace

ShellCall shellOpenAsDesktopUser(const char* address) {
    IShellDispatch2* shell = desktopShell();
    if (!shell) return ShellCall::missing;
    Wide wide(address);
    BSTR file = wide.ok ? SysAllocString(wide.text) : nullptr;
    VARIANT none, verb, show;
    VariantInit(&none);
    verb.vt = VT_BSTR;
    verb.bstrVal = SysAllocString(L"open");
    show.vt = VT_I4;
    show.lVal = SW_SHOW;
    HRESULT result = E_OUTOFMEMORY;
    if (file && verb.bstrVal) result = shell->ShellExecute(file, none, none, verb, show);
    shell->Release();
    SecureZeroMemory(wide.text, sizeof wide.text);  // the address, unscrambled
    if (file) SecureZeroMemory(file, SysStringByteLen(file));
    SysFreeString(file);
    VariantClear(&verb);
    return SUCCEEDED(result) ? ShellCall::ok : ShellCall::failed;
}

}  // namespace platform
