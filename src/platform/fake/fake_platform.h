// An in-memory Windows for native unit tests: files, folders, registry (with the 32-bit
// view redirected to WOW6432Node, as a 32-bit process on 64-bit Windows sees it), scripted
// processes and modules, a virtual clock, and a log of every observable call.
// Any call can be made to fail: add "operation:path" (or "operation:*") to `failing`.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct ScriptedProcess {
    platform::StartResult start = platform::StartResult::started;
    int32_t exitCode = 0;
    bool exitCodeReadable = true;
    uint32_t runsMs = 0;  // how long it runs on the virtual clock
    std::function<void()> onRun = {};  // side effects of the program (writes files, keys, ...)
};

struct ScriptedModule {
    std::map<std::string, int32_t> exports;  // export name -> HRESULT it returns
    std::function<void(const std::string& exportName)> onCall;
    std::vector<std::string> imports;  // libraries it needs, by name: a load finds them or fails
};

struct RegValue {
    platform::RegType type;
    std::string data;  // raw bytes as stored (strings include their terminator)
};

// Audio devices: MME devices by number, endpoints by collection position.
struct WaveDevice {
    std::u16string name;
    uint16_t channels = 2;
    bool capsFail = false;
};
struct PropertyValue {
    enum class Kind { text, boolean, other, failing } kind = Kind::text;
    std::u16string text;
    int16_t boolean = 0;
};
struct Endpoint {
    std::u16string id;  // empty: GetId fails
    std::map<std::string, PropertyValue> properties;  // "{fmtid},pid", fmtid lower case
    bool itemFails = false, storeFails = false;  // storeFails: for reading and for writing
};

// Windows counts a window as not responding (IsHungAppWindow) once its thread has not read
// its messages for this long.
constexpr uint64_t NOT_RESPONDING_AFTER_MS = 5000;

struct State {
    uint64_t clockMs = 0;
    // The window's thread (markWindowThread), when it last read its messages, and the longest
    // stretch of virtual time that it spent waiting without reading them.
    std::thread::id windowThread;
    uint64_t messagesReadAtMs = 0, longestUnreadMs = 0;
    platform::LocalDate today = {2024, 5, 14};
    std::vector<std::string> events;
    std::function<void(const std::string& event)> onEvent;  // sees each event as it is logged

    // Files and folders; keys are lower-cased paths, values keep the original spelling.
    std::map<std::string, std::string> files;      // path -> content
    std::map<std::string, std::string> folders;    // path -> spelling
    std::set<std::string> failing;                 // "operation:path" or "operation:*"
    std::set<std::string> lockedFiles;             // open without sharing by another program
    std::multiset<std::string> heldFiles;          // open here sharing reads only (openFileHeld)
    // Which file a path names: a move takes it along, addFile puts a new file in the place.
    std::map<std::string, uint64_t> fileIds;
    uint64_t lastFileId = 0;
    std::set<std::string> busyFiles;               // in use: cannot be deleted, can be moved
    std::map<std::string, std::string> folderLinks;  // junction path -> the folder it names
    std::multiset<std::string> heldFolders;          // held: cannot go or be replaced
    // Rights: what actAsPerson finds, whether the thread now acts as the person, and the
    // folders (with all below them) that only administrators may change.
    platform::PersonRights personRights = platform::PersonRights::person;
    bool actingAsPerson = false;
    std::set<std::string> adminOnly;
    uint32_t shortWriteBy = 0;                     // a write that stops this many bytes short
    uint64_t sizeBeyondContent = 0;  // what fileSize adds: a file larger than its readable part
    std::string currentFolder = "C:\\Windows\\system32";  // where a relative path leads

    // Shell folders.
    platform::ShellCall specialFolderCall = platform::ShellCall::ok;
    platform::ShellCall folderPathCall = platform::ShellCall::ok;
    std::map<int, std::string> shellFolders;  // csidl -> path
    std::string windowsFolder = "C:\\windows";
    std::string systemFolder = "C:\\windows\\system32";  // SHELL32, SHFOLDER, WINMM
    int32_t shellLinkResult = 0;              // HRESULT of a shell link save
    platform::ShellCall desktopShellCall = platform::ShellCall::ok;  // asked for a web page

    // Registry: "HKLM\\SOFTWARE\\..." -> values (lower-cased key paths).
    bool wow64 = true;  // a 32-bit process on 64-bit Windows
    // Below MMDevices only the audio service writes, as on Windows 10 and 11; false: anybody
    // may, as under Wine.
    bool audioServiceOwnsStore = true;
    std::map<std::string, std::map<std::string, RegValue>> keys;

    std::map<std::string, ScriptedProcess> processes;  // lower-cased application path
    std::map<std::string, ScriptedModule> modules;     // lower-cased module path

    // What the build stamped into the running program (empty: never stamped), and where.
    std::string programStamp;
    uint64_t programStampOffset = 0;

    bool packagePresent = true;
    std::vector<uint8_t> package;

    platform::DeviceOpen deviceOpen = platform::DeviceOpen::none;
    std::set<std::string> deviceHardwareIds;  // of the devices, present or not (lower case)
    // The driver's answer: it writes its bytes into out and says how many (-1: it fails).
    std::function<int32_t(uint32_t code, const void* in, uint32_t inSize, void* out,
                          uint32_t outSize)>
        deviceControl;

    int messageBoxAnswer = 1;  // IDOK

    int comStarts = 0;  // CoInitialize calls on the thread not yet balanced by CoUninitialize

    // Memory blocks ("allocateMemory:BYTES" and "reallocateMemory:BYTES" fail on demand),
    // audio devices ("createDeviceEnumerator:*", "activeEndpoints:capture|render",
    // "endpointCount:capture|render", "endpointSet:ID\{fmtid},pid" fail on demand) and what was
    // opened of them.
    std::vector<WaveDevice> waveIn, waveOut;
    std::vector<Endpoint> captureEndpoints, renderEndpoints;
    std::set<std::string> missingKernelExports;
    uint64_t regOpens = 0;

    // What was handed out and not closed yet, by kind: "file", "folder", "search", "key",
    // "block", "process", "module", "device" and "object" (enumerators, collections,
    // devices, stores). A reset keeps these counts: what an earlier machine handed out is
    // still open.
    std::map<std::string, int> open;
};

State& state();
void reset();  // a fresh machine: C:\ exists, nothing else
// What is still open, as "key 2 search 1 " ("" when nothing is), counted from nothing again.
std::string leftOpen();

// Helpers for tests.
std::string lower(const std::string& text);
bool fileExists(const std::string& path);
void addFile(const std::string& path, const std::string& content);  // a new file there
bool folderExists(const std::string& path);
void addFolder(const std::string& path);  // with its missing parents
// What another program may do to a folder: rename it away and put a junction to target in
// its place. Refused (false) while the folder is held, as Windows refuses the rename.
bool replaceFolderWithLink(const std::string& folder, const std::string& target);
// Registry key as stored: the path after redirection, e.g. "HKLM\\SOFTWARE\\WOW6432Node\\X".
const std::map<std::string, RegValue>* key(const std::string& storedPath);
std::string regString(const std::string& storedPath, const std::string& name);
void setRegValue(const std::string& storedPath, const std::string& name, platform::RegType type,
                 const std::string& data);
std::vector<std::string> eventsStartingWith(const std::string& prefix);
std::string wideBytes(const std::u16string& text);  // UTF-16 bytes with the terminator
std::string repeated(const std::string& text, int times);  // a name of many characters
std::string propertyName(const platform::PropertyKey& key);  // "{fmtid},pid"

}  // namespace fake
