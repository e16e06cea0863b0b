// Starting the programs that the package carries (waiting for them: waits.cpp).
#include <windows.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {

StartResult startProcess(const char* application, const char* commandLine,
                         const char* currentFolder, Handle* process) {
    *process = nullptr;
    // CreateProcessW may write into its command line: the converted one is this call's own.
    Wide program(application), line(commandLine), folder(currentFolder ? currentFolder : "");
    if (!program.ok || !line.ok || !folder.ok) return StartResult::failed;

    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof info);
    if (!CreateProcessW(program.text, line.text, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, currentFolder ? folder.text : nullptr, &startup, &info))
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
