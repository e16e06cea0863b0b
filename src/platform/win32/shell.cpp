// Shell folders, looked up at run time in the library that the caller loaded (older systems
// lack one or the other), and the shell-link object that writes the Start-menu shortcuts.
#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include "platform/platform.h"

namespace platform {
namespace {
using SpecialFolderPathA = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using FolderPathA = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

template <typename Function>
Function lookUp(ModuleHandle module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)));
}
}  // namespace

ShellCall specialFolderPath(ModuleHandle shell32, int csidl, bool create, char out[260]) {
    out[0] = 0;
    auto call = lookUp<SpecialFolderPathA>(shell32, "SHGetSpecialFolderPathA");
    if (!call) return ShellCall::missing;
    if (call(nullptr, out, csidl, create ? TRUE : FALSE) == 1) return ShellCall::ok;
    out[0] = 0;
    return ShellCall::failed;
}

ShellCall folderPath(ModuleHandle shfolder, int csidl, char out[260]) {
    out[0] = 0;
    auto call = lookUp<FolderPathA>(shfolder, "SHGetFolderPathA");
    if (!call) return ShellCall::missing;
    if (call(nullptr, csidl, nullptr, 0, out) == 0) return ShellCall::ok;
    out[0] = 0;
    return ShellCall::failed;
}

uint32_t windowsFolder(char* out, uint32_t capacity) { return GetWindowsDirectoryA(out, capacity); }

int32_t saveShellLink(const char* linkPath, const char* target, const char* description,
                      const char* workingFolder) {
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, reinterpret_cast<void**>(&link));
    if (FAILED(result)) return result;
    link->SetPath(target);
    link->SetDescription(description);
    link->SetArguments(nullptr);
    link->SetWorkingDirectory(workingFolder);

    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        link->Release();
        return result;
    }
    WCHAR widePath[2048];
    widePath[0] = 0;
    MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, 2048);
    result = file->Save(widePath, TRUE);
    file->Release();
    link->Release();
    return result;
}

}  // namespace platform
