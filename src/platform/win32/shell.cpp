// Shell folders, looked up at run time in the library that the caller loaded (older systems
// lack one or the other), and the shell-link object that writes the Start-menu shortcuts.
#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {
using SpecialFolderPathW = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
using FolderPathW = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

template <typename Function>
Function lookUp(ModuleHandle module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name)));
}

// The shell's calls write at most MAX_PATH units; the folder goes on whole or not at all.
ShellCall inUtf8(bool succeeded, const wchar_t* folder, char* out, uint32_t capacity) {
    return succeeded && fromWide(folder, out, int(capacity)) ? ShellCall::ok : ShellCall::failed;
}
}  // namespace

ShellCall specialFolderPath(ModuleHandle shell32, int csidl, bool create, char* out,
                            uint32_t capacity) {
    out[0] = 0;
    auto call = lookUp<SpecialFolderPathW>(shell32, "SHGetSpecialFolderPathW");
    if (!call) return ShellCall::missing;
    wchar_t folder[MAX_PATH] = L"";
    return inUtf8(call(nullptr, folder, csidl, create ? TRUE : FALSE) == 1, folder, out, capacity);
}

ShellCall folderPath(ModuleHandle shfolder, int csidl, char* out, uint32_t capacity) {
    out[0] = 0;
    auto call = lookUp<FolderPathW>(shfolder, "SHGetFolderPathW");
    if (!call) return ShellCall::missing;
    wchar_t folder[MAX_PATH] = L"";
    return inUtf8(call(nullptr, csidl, nullptr, 0, folder) == 0, folder, out, capacity);
}

uint32_t windowsFolder(char* out, uint32_t capacity) {
    wchar_t folder[MAX_PATH];
    return pathFromWide(folder, GetWindowsDirectoryW(folder, MAX_PATH), MAX_PATH, out, capacity);
}

int32_t saveShellLink(const char* linkPath, const char* target, const char* description,
                      const char* workingFolder) {
    Wide wideTarget(target), wideDescription(description), wideFolder(workingFolder);
    Wide wideLink(linkPath);
    if (!wideTarget.ok || !wideDescription.ok || !wideFolder.ok || !wideLink.ok)
        return E_INVALIDARG;  // never a shortcut to a path other than the one given
    IShellLinkW* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link));
    if (FAILED(result)) return result;
    link->SetPath(wideTarget.text);
    link->SetDescription(wideDescription.text);
    link->SetArguments(nullptr);
    link->SetWorkingDirectory(wideFolder.text);

    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(result)) {
        link->Release();
        return result;
    }
    result = file->Save(wideLink.text, TRUE);
    file->Release();
    link->Release();
    return result;
}

}  // namespace platform
