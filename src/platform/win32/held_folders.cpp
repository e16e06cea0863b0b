// Folders walked one name at a time, each name opened through the open folder above it: the
// native open (NtCreateFile) takes a name relative to an open folder (OBJECT_ATTRIBUTES'
// RootDirectory), which the Win32 functions cannot, so that nothing swapped into the path
// once it has been walked is followed. These ntdll functions are those of every Windows, found
// at run time in the ntdll that the system maps into every process before any of its code
// runs: a static import would let the loader look for a file of that name, not a KnownDLL,
// beside the program first.
#include <windows.h>
#include <winternl.h>

#include <cwchar>
#include <initializer_list>

#include "platform/platform.h"
#include "platform/win32/wide.h"

extern "C" NTSTATUS NTAPI NtQueryAttributesFile(POBJECT_ATTRIBUTES, PFILE_BASIC_INFORMATION);

namespace platform {
namespace {
// The loaded ntdll's export, never a library searched for; nullptr where it has none.
template <typename Function>
Function native(const char* name) {
    static const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)));
}
// An open folder and the path it was reached by ("\??\C:\..."), for plain().
struct Held {
    HANDLE handle;
    wchar_t path[WIDE_CAPACITY];
};

// Calls call with the name, relative to root (none: name is a full "\??\" path), whose drive
// letter is looked up in this process's own device map, not in that of the person whose
// rights the thread may have taken, who can map a "C:" of their own anywhere
// (OBJ_IGNORE_IMPERSONATED_DEVICEMAP, OBJECT_ATTRIBUTES in ntdef.h). Systems that do not know
// the flag refuse it, and get the plain lookup.
template <typename Call>
NTSTATUS callWithName(HANDLE root, const wchar_t* name, Call call) {
    USHORT bytes = USHORT(wcslen(name) * sizeof *name);  // names stay far below 32 K
    UNICODE_STRING text = {bytes, USHORT(bytes + sizeof *name), const_cast<wchar_t*>(name)};
    NTSTATUS status = NTSTATUS(STATUS_INVALID_PARAMETER);
    for (ULONG flags : {ULONG(OBJ_IGNORE_IMPERSONATED_DEVICEMAP), 0ul}) {
        OBJECT_ATTRIBUTES attributes;
        InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE | flags, root, nullptr);
        status = call(&attributes);
        if (status != NTSTATUS(STATUS_INVALID_PARAMETER)) break;
    }
    return status;
}

// The entry itself, never what a link names (FILE_OPEN_REPARSE_POINT); nullptr on failure.
HANDLE openAsItself(HANDLE root, const wchar_t* name, ACCESS_MASK access, ULONG sharing,
                    ULONG options) {
    static const auto createFile = native<decltype(&NtCreateFile)>("NtCreateFile");
    HANDLE handle = nullptr;
    if (!createFile) return nullptr;
    NTSTATUS status = callWithName(root, name, [&](OBJECT_ATTRIBUTES* attributes) {
        IO_STATUS_BLOCK io;
        return createFile(&handle, access | SYNCHRONIZE, attributes, &io, nullptr, 0, sharing,
                            FILE_OPEN,
                            options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT,
                            nullptr, 0);
    });
    return NT_SUCCESS(status) ? handle : nullptr;
}

// A plain entry of the kind asked for: no reparse point as its open handle tells, nor as its
// path tells, since Wine shows a link to a folder only there (the folder above is held, so
// the path still names the open entry; a failed query counts as a link).
bool plain(HANDLE entry, const wchar_t* path, bool folder) {
    static const auto queryAttributes =
        native<decltype(&NtQueryAttributesFile)>("NtQueryAttributesFile");
    BY_HANDLE_FILE_INFORMATION information;
    FILE_BASIC_INFORMATION byPath;
    if (!queryAttributes || !GetFileInformationByHandle(entry, &information) ||
        !NT_SUCCESS(callWithName(nullptr, path, [&](OBJECT_ATTRIBUTES* attributes) {
            return queryAttributes(attributes, &byPath);
        })))
        return false;
    DWORD kind = information.dwFileAttributes;
    return !((kind | byPath.FileAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) &&
           ((kind & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// The folder's path, "\" unless it ends with one, and name; false when it does not fit.
bool pathBelow(wchar_t (&out)[WIDE_CAPACITY], const Held* folder, const wchar_t* name) {
    size_t length = wcslen(folder->path);
    const wchar_t* separator = folder->path[length - 1] == L'\\' ? L"" : L"\\";
    int written = _snwprintf(out, WIDE_CAPACITY, L"%ls%ls%ls", folder->path, separator, name);
    return written > 0 && written < WIDE_CAPACITY;
}

// name (relative to parent, when there is one), opened and held as a plain folder.
Held* holdAsItself(HANDLE parent, const wchar_t* name, const wchar_t* path, ULONG sharing) {
    HANDLE handle = openAsItself(parent, name, FOLDER_HOLD_ACCESS, sharing, FILE_DIRECTORY_FILE);
    if (!handle) return nullptr;
    if (!plain(handle, path, true)) {
        CloseHandle(handle);
        return nullptr;
    }
    // From the heap, not by operator new, which would bring the C++ library's exceptions along.
    auto* held = static_cast<Held*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Held)));
    if (!held) {
        CloseHandle(handle);
        return nullptr;
    }
    held->handle = handle;
    wcscpy(held->path, path);
    return held;
}
}  // namespace

// Nothing renames or replaces a drive's root: it is held sharing everything, so that other
// programs' opens of it cannot keep the walk from starting.
Handle openDriveRoot(char letter) {
    wchar_t root[] = L"\\??\\C:\\";
    root[4] = wchar_t(letter);
    constexpr ULONG SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return holdAsItself(nullptr, root, root, SHARE_ALL);
}

Handle openFolderIn(Handle folder, const char* name) {
    auto* parent = static_cast<Held*>(folder);
    Wide wide(name);
    wchar_t path[WIDE_CAPACITY];
    if (!wide.ok || !pathBelow(path, parent, wide.text)) return nullptr;
    return holdAsItself(parent->handle, wide.text, path, FOLDER_HOLD_SHARING);
}

// Deleted through its own handle (the disposition; a folder's is refused unless it is empty),
// so that what goes is the very entry that was found plain.
bool deleteIn(Handle folder, const char* name, bool isFolder) {
    auto* parent = static_cast<Held*>(folder);
    Wide wide(name);
    wchar_t path[WIDE_CAPACITY];
    if (!wide.ok || !pathBelow(path, parent, wide.text)) return false;
    HANDLE entry = openAsItself(parent->handle, wide.text, DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE,
                                isFolder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE);
    if (!entry) return false;
    FILE_DISPOSITION_INFO dispose = {TRUE};
    bool deleted = plain(entry, path, isFolder) &&
                   SetFileInformationByHandle(entry, FileDispositionInfo, &dispose, sizeof dispose);
    CloseHandle(entry);
    return deleted;
}

void closeFolder(Handle folder) {
    auto* held = static_cast<Held*>(folder);
    CloseHandle(held->handle);
    HeapFree(GetProcessHeap(), 0, held);
}

}  // namespace platform
