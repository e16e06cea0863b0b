// The operating-system services that the installer's procedures use, and nothing more.
// The product links platform/win32; native unit tests link platform/fake, which keeps files,
// registry, processes and a virtual clock in memory and can fail any call on demand.
// Texts are UTF-8 unless the name says Wide (UTF-16); results follow the house rule (1/0 or
// codes). A text that is not valid UTF-8 never reaches Windows: the call fails instead.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

using Handle = void*;  // process, file, find, registry key, module: opaque to callers
using WindowHandle = void*;
using ModuleHandle = void*;

// ---- waits, ticks and the calendar ------------------------------------------------
void sleepMs(uint32_t ms);  // on the window's thread, answering it (below)
uint32_t tickCount();
struct LocalDate {
    uint16_t year, month, day;  // 1-based month and day
};
LocalDate localDate();  // GetLocalTime: today where this computer is

// ---- files and folders --------------------------------------------------------------
enum class FolderResult { created, alreadyExists, failed };
FolderResult createFolder(const char* path);
bool removeFolder(const char* path);  // empty folders only; a folder link goes, not its target
// Opens the folder itself, never what a link names (FILE_FLAG_OPEN_REPARSE_POINT), with
// FOLDER_HOLD_ACCESS and FOLDER_HOLD_SHARING: until releaseFolder, nobody can delete, rename
// or replace it. nullptr when it cannot be opened or is no folder; isLink tells a junction or
// folder symbolic link, whose listing would list the folder it points to.
Handle holdFolder(const char* path, bool* isLink);
void releaseFolder(Handle folder);
// Windows checks sharing only between opens that both ask for data access (read, write,
// execute or delete): a hold asks for some, listing (FILE_LIST_DIRECTORY, reading data), and
// shares reads only, so that a rename or delete, which asks for DELETE, is refused.
constexpr uint32_t FOLDER_HOLD_ACCESS = 0x0001 | 0x0080;  // FILE_LIST_DIRECTORY, READ_ATTRIBUTES
constexpr uint32_t FOLDER_HOLD_SHARING = 0x1;              // FILE_SHARE_READ
Handle openFileForWriting(const char* path);  // no sharing, always create; nullptr on failure
// One WriteFile; each call writes on after the last.
bool writeFileOnce(Handle file, const void* data, uint32_t size, uint32_t* written);
bool fileExistsReadable(const char* path);  // open for reading, existing only, read sharing
// Open for reading, existing only, sharing reads only: while it is open nobody can rename,
// replace, delete or write the file. nullptr on failure.
Handle openFileHeld(const char* path);
// Open for its attributes only, sharing everything, so whoever holds the file: enough to tell
// which file a path names. nullptr on failure.
Handle openFileIdentity(const char* path);
// Whether two open handles are on one file (volume and file index), whatever the paths that
// opened them; false when either cannot tell.
bool sameFile(Handle a, Handle b);
// Up to capacity bytes from offset; true with *read 0 at the end of the file.
bool readFileAt(Handle file, uint64_t offset, void* data, uint32_t capacity, uint32_t* read);
// The file's size in bytes (GetFileSizeEx); false when it cannot be read.
bool fileSize(Handle file, uint64_t* size);
void closeFile(Handle file);  // any handle of the open functions above
bool deleteFile(const char* path);
bool moveFileNoReplace(const char* from, const char* to);  // fails when `to` exists
bool setNormalAttributes(const char* path);

// The name in UTF-8, with room for any that Windows lists (up to 259 UTF-16 units); empty for
// a name that is no valid UTF-16, which no UTF-8 path could name.
struct FoundFile {
    char name[780];
    bool isFolder;
};
Handle findFirstFile(const char* pattern, FoundFile* found);  // nullptr when nothing matches
bool findNextFile(Handle search, FoundFile* found);
void findClose(Handle search);

// ---- the signed-in person's own folders ----------------------------------------------
// Whose rights the calling thread's file operations run with, from actAsPerson on until
// actAsProcess.
enum class PersonRights {
    own,          // this process's own: it runs unsplit (the system account, User Account
                  // Control off, Windows before Vista), so its user is the person
    person,       // the signed-in person's own, unelevated rights
    unavailable,  // this process is elevated from a person whose unelevated rights it cannot
                  // take (no desktop shell of theirs): nothing may be done in their name
};
PersonRights actAsPerson();
void actAsProcess();

// A folder reached without passing any link: the drive's root, then one name at a time below
// an open folder, each resolved in that open folder (never again from the drive, so nothing
// swapped into the path once walked is followed), opened as itself (a junction, mount point
// or symbolic link is not followed), refused unless it is a plain folder, and held with
// FOLDER_HOLD_ACCESS and FOLDER_HOLD_SHARING. nullptr when refused, missing or not a folder.
Handle openDriveRoot(char letter);  // 'A' to 'Z'
Handle openFolderIn(Handle folder, const char* name);
// Deletes the plain file (isFolder false) or the empty plain folder `name` of an open folder
// through a handle of its own, opened there as itself: never what a link names, never a link.
// false when refused, missing, not empty or denied.
bool deleteIn(Handle folder, const char* name, bool isFolder);
void closeFolder(Handle folder);  // any folder of openDriveRoot and openFolderIn

// ---- shell folders (each function is looked up at run time and may be missing) ------
// The library is the loaded SHELL32.DLL or SHFOLDER.DLL; nullptr counts as missing. A folder
// that does not fit capacity fails, never cut.
enum class ShellCall { missing, failed, ok };
ShellCall specialFolderPath(ModuleHandle shell32, int csidl, bool create, char* out,
                            uint32_t capacity);  // SHGetSpecialFolderPathW
ShellCall folderPath(ModuleHandle shfolder, int csidl, char* out,
                     uint32_t capacity);  // SHGetFolderPathW
// GetWindowsDirectoryW: the length, or capacity or more when the folder does not fit.
uint32_t windowsFolder(char* out, uint32_t capacity);

constexpr int CSIDL_STARTUP_FOLDER = 7;
constexpr int CSIDL_COMMON_PROGRAMS_FOLDER = 23;
constexpr int CSIDL_PROGRAM_FILES_FOLDER = 0x26;

// Shell link: CoCreateInstance, SetPath, SetDescription, SetArguments(null),
// SetWorkingDirectory, QueryInterface(IPersistFile), Save. Returns the last HRESULT.
int32_t saveShellLink(const char* linkPath, const char* target, const char* description,
                      const char* workingFolder);

// ---- web pages ----------------------------------------------------------------------
// The desktop shell's own process opens the address (its Shell.Application ShellExecute
// "open", reached through the desktop's shell view), so that the browser runs as the
// signed-in person, not with this program's administrator rights. missing: no desktop shell
// could be reached that way; failed: it was reached, and refused. COM is initialised.
ShellCall shellOpenAsDesktopUser(const char* address);

// ---- registry -----------------------------------------------------------------------
// Paths are relative to parent: a root from regRoot or a key opened here.
enum class RegRoot { localMachine, currentUser };
enum RegAccess : uint32_t {
    regRead = 1,        // KEY_READ
    regSetValue = 2,    // KEY_SET_VALUE
    regDelete = 4,      // DELETE | KEY_ENUMERATE_SUB_KEYS
    regLegacy = 8,      // RegOpenKey / RegCreateKey: whatever access the caller may have
    regAll = 16,        // KEY_ALL_ACCESS
    regView64 = 0x100,  // KEY_WOW64_64KEY
    regView32 = 0x200,  // KEY_WOW64_32KEY
};
enum class RegType { none, string, expandString, dword, binary, other };
enum class EnumResult { ok, noMore, failed };

Handle regRoot(RegRoot root);
Handle regOpen(Handle parent, const char* path, uint32_t access);    // nullptr on failure
Handle regOpenWide(Handle parent, const char16_t* path, uint32_t access);
Handle regCreate(Handle parent, const char* path, uint32_t access);  // creates missing parents
Handle regCreateWide(Handle parent, const char16_t* path, uint32_t access);
bool regSetString(Handle key, const char* name, const char* text);   // REG_SZ with terminator
bool regSetWideString(Handle key, const char16_t* name, const char16_t* text);
bool regSetDword(Handle key, const char* name, uint32_t value);
// Reads into data (capacity bytes), a string (REG_SZ, REG_EXPAND_SZ) in UTF-8 and always
// terminated; false when the value is missing or does not fit.
bool regQuery(Handle key, const char* name, RegType* type, void* data, uint32_t capacity,
              uint32_t* size);
bool regQueryWide(Handle key, const char16_t* name, RegType* type, void* data,
                  uint32_t capacity, uint32_t* size);
EnumResult regEnumSubkey(Handle key, uint32_t index, char* name, uint32_t capacity);
EnumResult regEnumSubkeyWide(Handle key, uint32_t index, char16_t* name, uint32_t capacity);
bool regDeleteSubkey(Handle parent, const char* subkey);  // the subkey must have no subkeys
void regClose(Handle key);                                // roots are left alone

// ---- processes ----------------------------------------------------------------------
enum class StartResult { started, noHandle, failed };
// CreateProcessW(application, commandLine, ..., NORMAL_PRIORITY_CLASS, currentFolder). The
// helpers get the install folder: never this program's own current folder (often a downloads
// folder), where a library that they load by bare name could be planted.
StartResult startProcess(const char* application, const char* commandLine,
                         const char* currentFolder, Handle* process);
// True when it ended; on the window's thread, answering it (below).
bool waitProcess(Handle process, uint32_t timeoutMs);
constexpr uint32_t WAIT_FOREVER = 0xFFFFFFFF;  // INFINITE
bool processExitCode(Handle process, int32_t* code);
void closeProcess(Handle process);

// ---- modules ------------------------------------------------------------------------
// LoadLibraryW: what a module imports comes from the system folder only (once
// restrictDllSearch ran).
ModuleHandle loadModule(const char* path);
// A module by its full path whose imports come from its own folder, then the system folder,
// as a module that ships its own libraries needs (LoadLibraryExW).
ModuleHandle loadModuleWithItsFolder(const char* path);
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run time (Vista and 7
// may lack it): libraries loaded by name, also by system code, come from the system folder
// only. Nothing happens where the function is missing.
void restrictDllSearch();
uint32_t systemFolder(char* out, uint32_t capacity);  // GetSystemDirectoryW, as windowsFolder
bool hasExport(ModuleHandle module, const char* name);
bool kernelHasExport(const char* name);  // GetProcAddress(GetModuleHandleA("Kernel32.dll"))
int32_t callExport(ModuleHandle module, const char* name);  // STDAPI HRESULT name(void)
void freeModule(ModuleHandle module);    // FreeLibrary
void coFreeModule(ModuleHandle module);  // CoFreeLibrary

// ---- this program's own image --------------------------------------------------------
// The digest that the build stamped into this program (install/program_digest.h) and where
// its file holds it, read from the loaded image, which the person's programs cannot change:
// false in a program that was never stamped.
bool programStamp(uint8_t stamp[32], uint64_t* fileOffset);

// ---- COM and threads ------------------------------------------------------------------
int32_t coInitialize();  // HRESULT; S_OK is 0
void coUninitialize();
void lowerThreadPriority();  // THREAD_PRIORITY_BELOW_NORMAL

// ---- the package resource (RT_RCDATA 100) -------------------------------------------
struct Resource {
    const uint8_t* data;  // as shipped: extraction descrambles each entry into a block of its own
    uint32_t size;
};
bool lockPackage(ModuleHandle instance, Resource* resource);
void releasePackage(Resource* resource);

// ---- device interfaces ----------------------------------------------------------------
struct Guid {
    uint32_t data1;
    uint16_t data2, data3;
    uint8_t data4[8];
};
enum class DeviceOpen { none, openFailed, opened };  // none: no device set or no member
// Opens member 0 of the present interfaces of the class for read/write, sharing reads.
DeviceOpen openFirstDeviceInterface(const Guid& interfaceClass, Handle* device);
bool deviceControl(Handle device, uint32_t code, const void* in, uint32_t inSize, void* out,
                   uint32_t outSize, uint32_t* returned);
void closeHandle(Handle handle);  // CloseHandle on a device (or any kernel) handle
// Whether a device with this hardware ID is registered, present or not: the device of a
// driver that never started (one that the kernel refused) is not present.
bool hardwareIdHasDevice(const char* hardwareId);

// ---- memory blocks (the device lists; null on failure, a failed resize keeps the block) ---
void* allocateMemory(uint32_t bytes);
void* reallocateMemory(void* block, uint32_t bytes);
void freeMemory(void* block);

// ---- texts ----------------------------------------------------------------------------
// WideCharToMultiByte(CP_ACP) of `units` units, no terminator; false when it does not fit.
bool wideToAnsi(const char16_t* text, uint32_t units, char* out, uint32_t capacity,
                uint32_t* written);

// ---- audio devices: MME (winmm) and the multimedia device API ----------------------------
struct WaveCaps {
    char16_t name[32];  // szPname
    uint16_t channels;  // wChannels
};
// Looked up at run time in the loaded WINMM.DLL: nullptr, or a function missing from it,
// counts as no device.
uint32_t waveDeviceCount(ModuleHandle winmm, bool capture);  // waveInGetNumDevs / waveOut...
bool waveDeviceCaps(ModuleHandle winmm, bool capture, uint32_t index,
                    WaveCaps* caps);  // waveInGetDevCapsW / waveOutGetDevCapsW

struct PropertyKey {
    Guid fmtid;
    uint32_t pid;
};
// Enumerator, collection, device and property store are COM objects behind the handle;
// releaseObject releases any of them.
Handle createDeviceEnumerator();  // CoCreateInstance(MMDeviceEnumerator), in-proc or local
Handle activeEndpoints(Handle enumerator, bool capture);  // EnumAudioEndpoints(ACTIVE)
bool endpointCount(Handle collection, uint32_t* count);
Handle endpointAt(Handle collection, uint32_t index);  // IMMDeviceCollection::Item
// IMMDevice::GetId; an id longer than capacity - 1 keeps its end, where the key name is.
bool endpointId(Handle device, char16_t* out, uint32_t capacity);
Handle openEndpointProperties(Handle device);  // OpenPropertyStore(STGM_READ)
enum class PropertyRead { failed, other, ok };  // other: GetValue worked, not of that type
// A VT_LPWSTR value, cut to capacity - 1 units; out is empty unless the result is ok.
PropertyRead endpointText(Handle store, const PropertyKey& key, char16_t* out, uint32_t capacity);
PropertyRead endpointBool(Handle store, const PropertyKey& key, int16_t* value);  // VT_BOOL
// Writing an endpoint's properties through the audio service, which owns them.
Handle endpointById(Handle enumerator, const char16_t* id);  // GetDevice; nullptr: no such one
Handle openEndpointPropertiesForWriting(Handle device);      // OpenPropertyStore(STGM_READWRITE)
// SetValue of a VT_LPWSTR, then Commit; true when both succeeded.
bool setEndpointText(Handle store, const PropertyKey& key, const char16_t* text);
void releaseObject(Handle object);

// ---- the installer window, as seen from the procedures ------------------------------
void postCommand(WindowHandle window, uint32_t id, int32_t code);
// MessageBoxW; only the main thread calls it.
int showMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags);
// The boxes of showMessageBox open right now: a box's own loop handles posted commands, so
// boxes can open over each other.
int openMessageBoxes();
constexpr uint32_t MB_ICON_ERROR = 0x10, MB_ICON_WARNING = 0x30, MB_SYSTEM_MODAL = 0x1000;

// ---- waits on the window's thread (sleepMs and waitProcess, in waits.cpp) ---------------
// Windows counts a window as not responding once its thread has not read its messages for
// 5 s (IsHungAppWindow; "Preventing Hangs in Windows Applications": a message not retrieved
// within 5 s): it ghosts the window, whose close box then offers to end the program. So a
// wait on the window's thread reads the messages at least every ANSWER_EVERY_MS.
constexpr uint32_t ANSWER_EVERY_MS = 500;
void markWindowThread();  // the calling thread made the window and serves it
bool onWindowThread();
enum class Woken { ended, timedOut, message, failed };
// Up to ms for the process to end (nullptr: for the time alone); with `messages`, a message
// that the window must answer at once (sent, a repaint, input) ends it early.
Woken waitFor(Handle process, uint32_t ms, bool messages);
// Reads the thread's messages: answers the sent ones, paints, drops input; posted ones, the
// procedures' notices among them, go back in their order, to be acted on after the wait.
void answerMessages();

}  // namespace platform
