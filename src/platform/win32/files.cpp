// Files and folders, through the wide file functions: each UTF-8 path is converted for its
// call, and one that cannot be (not UTF-8, too long) fails as a path that names nothing.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {

static_assert(FOLDER_HOLD_ACCESS == (FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES) &&
              FOLDER_HOLD_SHARING == FILE_SHARE_READ);

namespace {
Handle fromWin32(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

HANDLE createFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    Wide wide(path);
    if (!wide.ok) return INVALID_HANDLE_VALUE;
    return CreateFileW(wide.text, access, share, nullptr, disposition, flags, nullptr);
}

void copyFound(const WIN32_FIND_DATAW& data, FoundFile* found) {
    fromWide(data.cFileName, found->name, sizeof found->name);
    found->isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

FolderResult createFolder(const char* path) {
    Wide wide(path);
    if (wide.ok && CreateDirectoryW(wide.text, nullptr)) return FolderResult::created;
    return wide.ok && GetLastError() == ERROR_ALREADY_EXISTS ? FolderResult::alreadyExists
                                                             : FolderResult::failed;
}

bool removeFolder(const char* path) {
    Wide wide(path);
    return wide.ok && RemoveDirectoryW(wide.text);
}

// The attributes come from the open handle, so they are those of the folder that is held.
// Held, it cannot be replaced either, so its path's attributes are its own too: they are
// asked as well, since Wine shows a folder link only there (a failed query counts as a link).
// The hold asks for listing, data access: Windows checks sharing only between opens that both
// ask for data access ([MS-FSA] 2.1.5.1.2.2, "Algorithm to Check Sharing Access to an Existing
// Stream or Directory"), so an open for attributes alone would stop no rename.
Handle holdFolder(const char* path, bool* isLink) {
    Wide wide(path);
    if (!wide.ok) return nullptr;
    HANDLE folder = CreateFileW(wide.text, FOLDER_HOLD_ACCESS, FOLDER_HOLD_SHARING, nullptr,
                                OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(folder, &information) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(folder);
        return nullptr;
    }
    DWORD attributes = information.dwFileAttributes | GetFileAttributesW(wide.text);
    *isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return folder;
}

void releaseFolder(Handle folder) { CloseHandle(folder); }

Handle openFileForWriting(const char* path) {
    return fromWin32(createFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
}

bool writeFileOnce(Handle file, const void* data, uint32_t size, uint32_t* written) {
    DWORD count = 0;
    BOOL ok = WriteFile(file, data, size, &count, nullptr);
    *written = count;
    return ok != 0;
}

bool fileExistsReadable(const char* path) {
    HANDLE file =
        createFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

Handle openFileHeld(const char* path) {
    return fromWin32(
        createFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
}

Handle openFileIdentity(const char* path) {
    constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return fromWin32(
        createFile(path, FILE_READ_ATTRIBUTES, SHARE_ALL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
}

bool sameFile(Handle a, Handle b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// With an offset on a synchronous handle, the end of the file is an error of its own.
bool readFileAt(Handle file, uint64_t offset, void* data, uint32_t capacity, uint32_t* read) {
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD count = 0;
    bool ok = ReadFile(file, data, capacity, &count, &at) || GetLastError() == ERROR_HANDLE_EOF;
    *read = ok ? count : 0;
    return ok;
}

bool fileSize(Handle file, uint64_t* size) {
    LARGE_INTEGER bytes;
    if (!GetFileSizeEx(file, &bytes)) return false;
    *size = uint64_t(bytes.QuadPart);
    return true;
}

void closeFile(Handle file) { CloseHandle(file); }

bool deleteFile(const char* path) {
    Wide wide(path);
    return wide.ok && DeleteFileW(wide.text);
}

bool moveFileNoReplace(const char* from, const char* to) {
    Wide source(from), target(to);
    return source.ok && target.ok && MoveFileW(source.text, target.text);
}

bool setNormalAttributes(const char* path) {
    Wide wide(path);
    return wide.ok && SetFileAttributesW(wide.text, FILE_ATTRIBUTE_NORMAL);
}

Handle findFirstFile(const char* pattern, FoundFile* found) {
    Wide wide(pattern);
    WIN32_FIND_DATAW data;
    HANDLE search = wide.ok ? FindFirstFileW(wide.text, &data) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) return nullptr;
    copyFound(data, found);
    return search;
}

bool findNextFile(Handle search, FoundFile* found) {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(search, &data)) return false;
    copyFound(data, found);
    return true;
}

void findClose(Handle search) { FindClose(search); }

}  // namespace platform
