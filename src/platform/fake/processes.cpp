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

}  // namespace platform
