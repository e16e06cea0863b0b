// Scripted modules and their self-registration entry points; the system folder; the stamp
// in the running program's image.
#include <cstring>

#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

namespace {
// As Windows loads a module once the search is restricted to the system folder: what it
// imports must lie there, or, when the load asks for it, in the module's own folder.
ModuleHandle load(const char* path, bool ownFolder) {
    std::string key = lower(path);
    if (fails("loadModule", path) || !state().modules.count(key)) return nullptr;
    for (const std::string& name : state().modules[key].imports)
        if (!fileExists(state().systemFolder + "\\" + name) &&
            !(ownFolder && fileExists(parentOf(key) + "\\" + name)))
            return nullptr;
    log(std::string("load ") + path);
    ++state().open["module"];
    return new std::string(key);
}
}  // namespace

ModuleHandle loadModule(const char* path) { return load(path, false); }
ModuleHandle loadModuleWithItsFolder(const char* path) { return load(path, true); }

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

static void unload(const char* how, ModuleHandle module) {
    log(how + *static_cast<std::string*>(module));
    --state().open["module"];
    delete static_cast<std::string*>(module);
}

void freeModule(ModuleHandle module) { unload("free ", module); }
void coFreeModule(ModuleHandle module) { unload("cofree ", module); }

bool kernelHasExport(const char* name) { return !state().missingKernelExports.count(name); }

uint32_t systemFolder(char* out, uint32_t capacity) {
    return folderText(state().systemFolder, out, capacity);
}

bool programStamp(uint8_t stamp[32], uint64_t* fileOffset) {
    if (state().programStamp.size() != 32) return false;
    memcpy(stamp, state().programStamp.data(), 32);
    *fileOffset = state().programStampOffset;
    return true;
}

}  // namespace platform
