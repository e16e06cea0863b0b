#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace fake {

namespace {
State* current = nullptr;

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool fails(const std::string& operation, const std::string& path) {
    const auto& failing = state().failing;
    return failing.count(operation + ":*") || failing.count(operation + ":" + lower(path));
}

void log(const std::string& event) {
    state().events.push_back(event);
    if (state().onEvent) state().onEvent(event);
}

std::string narrow(const char16_t* text) {
    std::string out;
    for (; text && *text; ++text) out += char(*text < 128 ? *text : '?');
    return out;
}

// Open files, searches and keys are heap records behind the opaque handle.
struct OpenFile {
    std::string path;
};
struct Search {
    std::vector<platform::FoundFile> matches;
    size_t next = 0;
};
struct OpenKey {
    std::string path;  // stored path, e.g. "hklm\\software\\wow6432node\\x"
    bool isRoot = false;
};
OpenKey hklmRoot{"hklm", true};
OpenKey hkcuRoot{"hkcu", true};
struct Process {
    std::string application;
    ScriptedProcess script;
    bool ended = false;
};

bool wildcardMatch(const char* pattern, const char* text) {
    if (*pattern == 0) return *text == 0;
    if (*pattern == '*') {
        for (const char* t = text;; ++t) {
            if (wildcardMatch(pattern + 1, t)) return true;
            if (*t == 0) return false;
        }
    }
    return *text && (*pattern == '?' || tolower(*pattern) == tolower(*text)) &&
           wildcardMatch(pattern + 1, text + 1);
}

std::string resolveKey(platform::Handle parent, const std::string& path, uint32_t access) {
    auto* base = static_cast<OpenKey*>(parent);
    std::string relative = lower(path);
    if (base == &hklmRoot) {
        bool view32 = (access & platform::regView32) ||
                      (state().wow64 && !(access & platform::regView64));
        bool software = relative == "software" || relative.rfind("software\\", 0) == 0;
        if (view32 && software && relative.find("wow6432node") == std::string::npos)
            relative.insert(8, "\\wow6432node");
    }
    if (relative.empty()) return base->path;
    return base->path + "\\" + relative;
}

// Windows takes ".." away before it looks at a path, and a path below a folder link names
// the same path below the link's target.
std::string throughLinks(const std::string& path) {
    std::string key = lower(path);
    for (size_t dots; (dots = key.find("\\..")) != std::string::npos;) {
        size_t start = dots == 0 ? std::string::npos : key.rfind('\\', dots - 1);
        if (start == std::string::npos) break;
        key.erase(start, dots + 3 - start);
    }
    for (const auto& [link, target] : state().folderLinks)
        if (key == link || key.rfind(link + "\\", 0) == 0)
            return lower(target) + key.substr(link.size());
    return key;
}

platform::Handle newKey(const std::string& stored) {
    return new OpenKey{stored, false};
}
}  // namespace

State& state() {
    if (!current) reset();
    return *current;
}

void reset() {
    delete current;
    current = new State();
    current->folders["c:"] = "C:";
    for (const char* library : {"\\shell32.dll", "\\shfolder.dll"})
        current->modules[lower(current->systemFolder + library)] = {};
}

std::string lower(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return tolower(c); });
    return out;
}

bool fileExists(const std::string& path) { return state().files.count(lower(path)) > 0; }
bool folderExists(const std::string& path) { return state().folders.count(lower(path)) > 0; }
void addFile(const std::string& path, const std::string& content) {
    state().files[lower(path)] = content;
}

const std::map<std::string, RegValue>* key(const std::string& storedPath) {
    auto found = state().keys.find(lower(storedPath));
    return found == state().keys.end() ? nullptr : &found->second;
}

std::string regString(const std::string& storedPath, const std::string& name) {
    const auto* values = key(storedPath);
    if (!values) return "<no key>";
    auto found = values->find(lower(name));
    if (found == values->end()) return "<no value>";
    std::string data = found->second.data;
    return data.substr(0, data.find('\0'));
}

void setRegValue(const std::string& storedPath, const std::string& name, platform::RegType type,
                 const std::string& data) {
    std::string path = lower(storedPath);
    for (std::string p = path; !p.empty(); p = parentOf(p)) state().keys[p];
    state().keys[path][lower(name)] = RegValue{type, data};
}

std::string wideBytes(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

std::string propertyName(const platform::PropertyKey& key) {
    const platform::Guid& g = key.fmtid;
    char text[64];
    snprintf(text, sizeof text, "{%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x},%u", g.data1,
             g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
             g.data4[5], g.data4[6], g.data4[7], key.pid);
    return text;
}

std::vector<std::string> eventsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& event : state().events)
        if (event.rfind(prefix, 0) == 0) out.push_back(event);
    return out;
}

}  // namespace fake

// ---- the platform, as the fake implements it ------------------------------------------
namespace platform {
using namespace fake;

void sleepMs(uint32_t ms) {
    state().clockMs += ms;
    log("sleep " + std::to_string(ms));
}
uint32_t tickCount() { return uint32_t(state().clockMs); }

FolderResult createFolder(const char* path) {
    std::string key = lower(path);
    if (fails("createFolder", path)) return FolderResult::failed;
    if (state().folders.count(key) || state().files.count(key)) return FolderResult::alreadyExists;
    if (!state().folders.count(lower(parentOf(path)))) return FolderResult::failed;
    state().folders[key] = path;
    log(std::string("mkdir ") + path);
    return FolderResult::created;
}

bool removeFolder(const char* path) {
    if (fails("removeFolder", path)) return false;
    if (state().folderLinks.erase(lower(path))) {  // the link goes, not its target
        log(std::string("unlink ") + path);
        return true;
    }
    std::string key = throughLinks(path);
    if (!state().folders.count(key)) return false;
    std::string prefix = key + "\\";
    for (const auto& entry : state().files)
        if (entry.first.rfind(prefix, 0) == 0) return false;
    for (const auto& entry : state().folders)
        if (entry.first.rfind(prefix, 0) == 0) return false;
    state().folders.erase(key);
    log(std::string("rmdir ") + path);
    return true;
}

Handle openFileForWriting(const char* path) {
    std::string key = lower(path);
    if (fails("openFileForWriting", path) || state().lockedFiles.count(key) ||
        state().busyFiles.count(key) ||
        state().folders.count(key) || !state().folders.count(lower(parentOf(path))))
        return nullptr;
    state().files[key].clear();
    return new OpenFile{key};
}

bool writeFileOnce(Handle file, const void* data, uint32_t size, uint32_t* written) {
    auto* open = static_cast<OpenFile*>(file);
    if (fails("writeFileOnce", open->path)) return false;
    uint32_t count = size > state().shortWriteBy ? size - state().shortWriteBy : 0;
    state().files[open->path].assign(static_cast<const char*>(data), count);
    *written = count;
    log("write " + open->path);
    return true;
}

void closeFile(Handle file) { delete static_cast<OpenFile*>(file); }

bool fileExistsReadable(const char* path) {
    return !fails("fileExistsReadable", path) && fileExists(path);
}

bool isFolderLink(const char* path) { return state().folderLinks.count(lower(path)) > 0; }

bool deleteFile(const char* path) {
    std::string key = throughLinks(path);
    if (fails("deleteFile", path) || state().lockedFiles.count(key) ||
        state().busyFiles.count(key) || !state().files.count(key))
        return false;
    state().files.erase(key);
    log(std::string("delete ") + path);
    return true;
}

bool moveFileNoReplace(const char* from, const char* to) {
    std::string source = lower(from), target = lower(to);
    if (fails("moveFile", from) || !state().files.count(source) || state().files.count(target) ||
        state().lockedFiles.count(source) || !state().folders.count(lower(parentOf(to))))
        return false;
    state().files[target] = state().files[source];
    state().files.erase(source);
    if (state().busyFiles.erase(source)) state().busyFiles.insert(target);
    log(std::string("move ") + from + " -> " + to);
    return true;
}

bool copyFileOverwrite(const char* from, const char* to) {
    std::string source = lower(from), target = lower(to);
    if (fails("copyFile", to) || !state().files.count(source) || state().lockedFiles.count(target) ||
        !state().folders.count(lower(parentOf(to))))
        return false;
    state().files[target] = state().files[source];
    log(std::string("copy ") + from + " -> " + to);
    return true;
}

bool setNormalAttributes(const char* path) {
    if (!fileExists(path)) return false;
    log(std::string("normal ") + path);
    return true;
}

Handle findFirstFile(const char* pattern, FoundFile* found) {
    if (fails("findFirstFile", pattern)) return nullptr;
    std::string namePattern = std::string(pattern).substr(parentOf(pattern).size() + 1);
    if (namePattern == "*.*") namePattern = "*";  // as on Windows: names without a dot too
    std::string folder = throughLinks(parentOf(pattern));
    auto* search = new Search;
    auto consider = [&](const std::string& key, bool isFolder) {
        if (parentOf(key) != folder) return;
        std::string name = key.substr(folder.size() + 1);
        if (!wildcardMatch(namePattern.c_str(), name.c_str())) return;
        FoundFile file{};
        snprintf(file.name, sizeof file.name, "%s", name.c_str());
        file.isFolder = isFolder;
        search->matches.push_back(file);
    };
    for (const auto& entry : state().folders) consider(entry.first, true);
    for (const auto& entry : state().folderLinks) consider(entry.first, true);
    for (const auto& entry : state().files) consider(entry.first, false);
    if (search->matches.empty()) {
        delete search;
        return nullptr;
    }
    *found = search->matches[search->next++];
    return search;
}

bool findNextFile(Handle handle, FoundFile* found) {
    auto* search = static_cast<Search*>(handle);
    if (search->next >= search->matches.size()) return false;
    *found = search->matches[search->next++];
    return true;
}

void findClose(Handle handle) { delete static_cast<Search*>(handle); }

// Both shell calls answer from the same table of folders; each can be missing or fail.
static ShellCall shellFolder(ShellCall call, int csidl, char out[260]) {
    out[0] = 0;
    auto found = state().shellFolders.find(csidl);
    if (call != ShellCall::ok) return call;
    if (found == state().shellFolders.end()) return ShellCall::failed;
    snprintf(out, 260, "%s", found->second.c_str());
    return ShellCall::ok;
}

ShellCall specialFolderPath(ModuleHandle shell32, int csidl, bool, char out[260]) {
    return shellFolder(shell32 ? state().specialFolderCall : ShellCall::missing, csidl, out);
}

ShellCall folderPath(ModuleHandle shfolder, int csidl, char out[260]) {
    return shellFolder(shfolder ? state().folderPathCall : ShellCall::missing, csidl, out);
}

// GetWindowsDirectoryA and GetSystemDirectoryA: the length, or the size needed.
static uint32_t folderText(const std::string& folder, char* out, uint32_t capacity) {
    if (folder.size() >= capacity) return uint32_t(folder.size() + 1);
    memcpy(out, folder.c_str(), folder.size() + 1);
    return uint32_t(folder.size());
}

uint32_t windowsFolder(char* out, uint32_t capacity) {
    return folderText(state().windowsFolder, out, capacity);
}

uint32_t systemFolder(char* out, uint32_t capacity) {
    return folderText(state().systemFolder, out, capacity);
}

int32_t saveShellLink(const char* linkPath, const char* target, const char* description,
                      const char* workingFolder) {
    if (state().shellLinkResult != 0) return state().shellLinkResult;
    if (fails("saveShellLink", linkPath)) return int32_t(0x80004005);
    std::string content = std::string(target) + "|" + description + "|" + workingFolder;
    if (!state().folders.count(lower(parentOf(linkPath)))) return int32_t(0x80070003);  // path
    state().files[lower(linkPath)] = content;
    log(std::string("link ") + linkPath + "|" + content);
    return 0;
}

Handle regRoot(RegRoot root) { return root == RegRoot::localMachine ? &hklmRoot : &hkcuRoot; }

Handle regOpen(Handle parent, const char* path, uint32_t access) {
    std::string stored = resolveKey(parent, path, access);
    ++state().regOpens;
    if (fails("regOpen", stored) || !state().keys.count(stored)) return nullptr;
    return newKey(stored);
}

Handle regOpenWide(Handle parent, const char16_t* path, uint32_t access) {
    return regOpen(parent, narrow(path).c_str(), access);
}

Handle regCreate(Handle parent, const char* path, uint32_t access) {
    std::string stored = resolveKey(parent, path, access);
    if (fails("regCreate", stored)) return nullptr;
    for (std::string p = stored; !p.empty(); p = parentOf(p)) state().keys[p];
    return newKey(stored);
}

Handle regCreateWide(Handle parent, const char16_t* path, uint32_t access) {
    return regCreate(parent, narrow(path).c_str(), access);
}

static bool setValue(Handle key, const std::string& name, RegType type, const std::string& data) {
    auto* open = static_cast<OpenKey*>(key);
    if (fails("regSet", open->path + "\\" + lower(name))) return false;
    state().keys[open->path][lower(name)] = RegValue{type, data};
    log("reg " + open->path + "\\" + name + " = " + data.substr(0, data.find('\0')));
    return true;
}

bool regSetString(Handle key, const char* name, const char* text) {
    return setValue(key, name, RegType::string, std::string(text, strlen(text) + 1));
}

bool regSetWideString(Handle key, const char16_t* name, const char16_t* text) {
    std::u16string wide(text);
    std::string bytes(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2);
    return setValue(key, narrow(name), RegType::string, bytes);
}

bool regSetDword(Handle key, const char* name, uint32_t value) {
    return setValue(key, name, RegType::dword, std::string(reinterpret_cast<char*>(&value), 4));
}

bool regQuery(Handle key, const char* name, RegType* type, void* data, uint32_t capacity,
              uint32_t* size) {
    auto* open = static_cast<OpenKey*>(key);
    auto& values = state().keys[open->path];
    auto found = values.find(lower(name));
    if (found == values.end() || found->second.data.size() > capacity) return false;
    *type = found->second.type;
    memcpy(data, found->second.data.data(), found->second.data.size());
    *size = uint32_t(found->second.data.size());
    return true;
}

bool regQueryWide(Handle key, const char16_t* name, RegType* type, void* data, uint32_t capacity,
                  uint32_t* size) {
    return regQuery(key, narrow(name).c_str(), type, data, capacity, size);
}

EnumResult regEnumSubkey(Handle key, uint32_t index, char* name, uint32_t capacity) {
    auto* open = static_cast<OpenKey*>(key);
    if (fails("regEnum", open->path)) return EnumResult::failed;
    uint32_t seen = 0;
    for (const auto& entry : state().keys) {
        if (parentOf(entry.first) != open->path) continue;
        if (seen++ == index) {
            std::string child = entry.first.substr(open->path.size() + 1);
            if (child.size() >= capacity) return EnumResult::failed;
            memcpy(name, child.c_str(), child.size() + 1);
            return EnumResult::ok;
        }
    }
    return EnumResult::noMore;
}

EnumResult regEnumSubkeyWide(Handle key, uint32_t index, char16_t* name, uint32_t capacity) {
    char narrowName[1024];
    EnumResult result = regEnumSubkey(key, index, narrowName, capacity < 1024 ? capacity : 1024);
    if (result == EnumResult::ok)
        for (uint32_t i = 0;; ++i)
            if ((name[i] = char16_t(narrowName[i])) == 0) break;
    return result;
}

bool regDeleteSubkey(Handle parent, const char* subkey) {
    std::string stored = resolveKey(parent, subkey, 0);
    if (fails("regDelete", stored) || !state().keys.count(stored)) return false;
    for (const auto& entry : state().keys)
        if (parentOf(entry.first) == stored) return false;
    state().keys.erase(stored);
    log("regdelete " + stored);
    return true;
}

void regClose(Handle key) {
    auto* open = static_cast<OpenKey*>(key);
    if (open && !open->isRoot) delete open;
}

StartResult startProcess(const char* application, const char* commandLine,
                         const char* currentFolder, Handle* process) {
    log(std::string("start ") + application + "|" + commandLine + "|" +
        (currentFolder ? currentFolder : "<inherited>"));
    *process = nullptr;
    auto found = state().processes.find(lower(application));
    ScriptedProcess script;
    if (found != state().processes.end())
        script = found->second;
    else if (!fileExists(application))
        script.start = StartResult::failed;
    if (script.start != StartResult::started) return script.start;
    *process = new Process{application, script, false};
    return StartResult::started;
}

bool waitProcess(Handle handle, uint32_t timeoutMs) {
    auto* process = static_cast<Process*>(handle);
    if (fails("waitProcess", process->application)) return false;
    if (!process->ended && process->script.runsMs > timeoutMs) {
        state().clockMs += timeoutMs;
        process->script.runsMs -= timeoutMs;
        return false;
    }
    if (!process->ended) {
        state().clockMs += process->script.runsMs;
        if (process->script.onRun) process->script.onRun();
        process->ended = true;
    }
    return true;
}

bool processExitCode(Handle handle, int32_t* code) {
    auto* process = static_cast<Process*>(handle);
    if (!process->script.exitCodeReadable) return false;
    *code = process->ended ? process->script.exitCode : 259;  // STILL_ACTIVE
    return true;
}

void closeProcess(Handle handle) { delete static_cast<Process*>(handle); }

ModuleHandle loadModule(const char* path) {
    std::string key = lower(path);
    if (fails("loadModule", path) || !state().modules.count(key)) return nullptr;
    log(std::string("load ") + path);
    return new std::string(key);
}

void restrictDllSearch() { log("dll search system32"); }

bool hasExport(ModuleHandle module, const char* name) {
    return state().modules[*static_cast<std::string*>(module)].exports.count(name) > 0;
}

int32_t callExport(ModuleHandle module, const char* name) {
    const std::string& path = *static_cast<std::string*>(module);
    auto& scripted = state().modules[path];
    log("call " + path + " " + name);
    if (scripted.onCall) scripted.onCall(name);
    return scripted.exports[name];
}

void freeModule(ModuleHandle module) {
    log("free " + *static_cast<std::string*>(module));
    delete static_cast<std::string*>(module);
}

void coFreeModule(ModuleHandle module) {
    log("cofree " + *static_cast<std::string*>(module));
    delete static_cast<std::string*>(module);
}

int32_t coInitialize() { return fails("coInitialize", "") ? int32_t(0x80010106) : 0; }
void coUninitialize() { log("co uninitialize"); }
void lowerThreadPriority() { log("priority below normal"); }

bool lockPackage(ModuleHandle, Resource* resource) {
    if (!state().packagePresent) return false;
    resource->data = state().package.data();
    resource->size = uint32_t(state().package.size());
    return true;
}

void releasePackage(Resource* resource) { resource->data = nullptr; }

DeviceOpen openFirstDeviceInterface(const Guid& c, Handle* device) {
    char guid[40];
    snprintf(guid, sizeof guid, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", c.data1,
             c.data2, c.data3, c.data4[0], c.data4[1], c.data4[2], c.data4[3], c.data4[4],
             c.data4[5], c.data4[6], c.data4[7]);
    log(std::string("interface ") + guid);
    *device = state().deviceOpen == DeviceOpen::opened ? reinterpret_cast<Handle>(1) : nullptr;
    return state().deviceOpen;
}

bool deviceControl(Handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                   uint32_t outSize, uint32_t* returned) {
    *returned = 0;
    if (!state().deviceControl || !state().deviceControl(code, in, inSize, out, outSize))
        return false;
    *returned = outSize;
    return true;
}

void closeHandle(Handle handle) {
    log("close handle " + std::to_string(reinterpret_cast<uintptr_t>(handle)));
}

void* allocateMemory(uint32_t bytes) {
    return fails("allocateMemory", std::to_string(bytes)) ? nullptr : malloc(bytes);
}

void* reallocateMemory(void* block, uint32_t bytes) {
    return fails("reallocateMemory", std::to_string(bytes)) ? nullptr : realloc(block, bytes);
}

void freeMemory(void* block) { free(block); }

// The fake's ANSI code page is UTF-8, so that cut texts meet characters of several bytes.
bool wideToAnsi(const char16_t* text, uint32_t units, char* out, uint32_t capacity,
                uint32_t* written) {
    std::string bytes;
    for (uint32_t i = 0; i < units; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = '?';
        if (c < 0x80) {
            bytes += char(c);
        } else if (c < 0x800) {
            bytes += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            bytes += {char(0xE0 | c >> 12), char(0x80 | ((c >> 6) & 0x3F)),
                      char(0x80 | (c & 0x3F))};
        } else {
            bytes += {char(0xF0 | c >> 18), char(0x80 | ((c >> 12) & 0x3F)),
                      char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        }
    }
    *written = 0;
    if (bytes.size() > capacity) return false;
    memcpy(out, bytes.data(), bytes.size());
    *written = uint32_t(bytes.size());
    return true;
}

uint32_t waveDeviceCount(bool capture) {
    return uint32_t((capture ? state().waveIn : state().waveOut).size());
}

bool waveDeviceCaps(bool capture, uint32_t index, WaveCaps* caps) {
    const auto& devices = capture ? state().waveIn : state().waveOut;
    if (index >= devices.size() || devices[index].capsFail) return false;
    memset(caps, 0, sizeof *caps);
    devices[index].name.copy(caps->name, 31);
    caps->channels = devices[index].channels;
    return true;
}

bool kernelHasExport(const char* name) { return !state().missingKernelExports.count(name); }

namespace {
struct DeviceObject {
    bool capture;
    size_t index;  // of devices and stores
};
std::vector<Endpoint>& endpoints(bool capture) {
    return capture ? state().captureEndpoints : state().renderEndpoints;
}
Handle newObject(bool capture, size_t index) {
    ++state().liveDeviceObjects;
    return new DeviceObject{capture, index};
}
DeviceObject* object(Handle handle) { return static_cast<DeviceObject*>(handle); }
Endpoint& endpointOf(Handle handle) {
    return endpoints(object(handle)->capture)[object(handle)->index];
}
const char* direction(bool capture) { return capture ? "capture" : "render"; }

const PropertyValue* property(Handle store, const PropertyKey& key) {
    auto& properties = endpointOf(store).properties;
    auto found = properties.find(propertyName(key));
    return found == properties.end() ? nullptr : &found->second;
}
}  // namespace

Handle createDeviceEnumerator() {
    return fails("createDeviceEnumerator", "*") ? nullptr : newObject(false, 0);
}

Handle activeEndpoints(Handle, bool capture) {
    return fails("activeEndpoints", direction(capture)) ? nullptr : newObject(capture, 0);
}

bool endpointCount(Handle collection, uint32_t* count) {
    bool capture = object(collection)->capture;
    if (fails("endpointCount", direction(capture))) return false;
    *count = uint32_t(endpoints(capture).size());
    return true;
}

Handle endpointAt(Handle collection, uint32_t index) {
    bool capture = object(collection)->capture;
    if (index >= endpoints(capture).size() || endpoints(capture)[index].itemFails) return nullptr;
    return newObject(capture, index);
}

bool endpointId(Handle device, char16_t* out, uint32_t capacity) {
    const std::u16string& id = endpointOf(device).id;
    size_t from = id.size() < capacity ? 0 : id.size() - (capacity - 1);
    out[id.copy(out, capacity - 1, from)] = 0;
    return !id.empty();
}

Handle openEndpointProperties(Handle device) {
    if (endpointOf(device).storeFails) return nullptr;
    return newObject(object(device)->capture, object(device)->index);
}

PropertyRead endpointText(Handle store, const PropertyKey& key, char16_t* out,
                          uint32_t capacity) {
    out[0] = 0;
    const PropertyValue* value = property(store, key);
    if (value && value->kind == PropertyValue::Kind::failing) return PropertyRead::failed;
    if (!value || value->kind != PropertyValue::Kind::text) return PropertyRead::other;
    out[value->text.copy(out, capacity - 1)] = 0;
    return PropertyRead::ok;
}

PropertyRead endpointBool(Handle store, const PropertyKey& key, int16_t* out) {
    *out = 0;
    const PropertyValue* value = property(store, key);
    if (value && value->kind == PropertyValue::Kind::failing) return PropertyRead::failed;
    if (!value || value->kind != PropertyValue::Kind::boolean) return PropertyRead::other;
    *out = value->boolean;
    return PropertyRead::ok;
}

void releaseObject(Handle handle) {
    if (!handle) return;
    --state().liveDeviceObjects;
    delete object(handle);
}

void postCommand(WindowHandle, uint32_t id, int32_t code) {
    log("post " + std::to_string(id) + " " + std::to_string(code));
}

int showMessageBox(WindowHandle, const char* text, const char* caption, uint32_t) {
    log(std::string("box ") + caption + "|" + text);
    return state().messageBoxAnswer;
}

int openMessageBoxes() { return 0; }  // a fake box is answered at once

}  // namespace platform
