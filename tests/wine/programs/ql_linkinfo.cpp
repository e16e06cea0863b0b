// Prints what a shortcut holds: ql_linkinfo LNK prints target|working folder|description.
// Reads through the shell's own link object, so it sees what the shell would see.
#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2 || FAILED(CoInitialize(nullptr))) return 2;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR widePath[MAX_PATH];
    char target[MAX_PATH] = "", folder[MAX_PATH] = "", description[MAX_PATH] = "";
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, widePath, MAX_PATH);
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(widePath, STGM_READ)) &&
              SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
              SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
              SUCCEEDED(link->GetDescription(description, MAX_PATH));
    if (ok) printf("%s|%s|%s\n", target, folder, description);  // nothing for an unreadable link
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return ok ? 0 : 1;
}
