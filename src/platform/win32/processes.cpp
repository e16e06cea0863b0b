// Starting the programs that the package carries (waiting for them: waits.cpp).
#include <windows.h>

#include <cstring>

#include "platform/platform.h"

namespace platform {

StartResult startProcess(const char* application, const char* commandLine,
                         const char* currentFolder, Handle* process) {
    *process = nullptr;
    // CreateProcessA may write into its command line, so it gets a copy.
    char line[4096];
    size_t length = strlen(commandLine);
    if (length >= sizeof line) return StartResult::failed;
    memcpy(line, commandLine, length + 1);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof info);
    if (!CreateProcessA(application, line, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        currentFolder, &startup, &info))
        return StartResult::failed;
    if (info.hThread) CloseHandle(info.hThread);
    if (!info.hProcess) return StartResult::noHandle;
    *process = info.hProcess;
    return StartResult::started;
}

bool processExitCode(Handle process, int32_t* code) {
    DWORD exit = 0;
    if (!GetExitCodeProcess(process, &exit)) return false;
    *code = int32_t(exit);
    return true;
}

void closeProcess(Handle process) { CloseHandle(process); }

}  // namespace platform
