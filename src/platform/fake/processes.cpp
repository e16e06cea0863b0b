// Scripted processes: each runs for its time on the virtual clock, then has its side effects.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

namespace {
struct Process {
    std::string application;
    ScriptedProcess script;
    bool ended = false;
};
}  // namespace

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
    ++state().open["process"];
    *process = new Process{application, script, false};
    return StartResult::started;
}

// No message ever comes: a wait ends with the process or with its time.
Woken waitFor(Handle handle, uint32_t ms, bool) {
    auto* process = static_cast<Process*>(handle);
    if (!process) {
        log("sleep " + std::to_string(ms));
        passTime(ms);
        return Woken::timedOut;
    }
    if (fails("waitProcess", process->application)) return Woken::failed;
    if (!process->ended && process->script.runsMs > ms) {
        passTime(ms);
        process->script.runsMs -= ms;
        return Woken::timedOut;
    }
    if (!process->ended) {
        passTime(process->script.runsMs);
        if (process->script.onRun) process->script.onRun();
        process->ended = true;
    }
    return Woken::ended;
}

bool processExitCode(Handle handle, int32_t* code) {
    auto* process = static_cast<Process*>(handle);
    if (!process->script.exitCodeReadable) return false;
    *code = process->ended ? process->script.exitCode : 259;  // STILL_ACTIVE
    return true;
}

void closeProcess(Handle handle) {
    --state().open["process"];
    delete static_cast<Process*>(handle);
}

}  // namespace platform
