// Runs the VAIO driver's own setup program from the install folder.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct InstallerContext;

enum : int32_t {
    VAIO_SETUP_FAILED = -20,      // the program reported a failure
    VAIO_RESTART_REQUIRED = -21,  // the system must restart before the driver can install
    VAIO_NO_PROCESS_HANDLE = -604,
    VAIO_NOT_STARTED = -605,
};

// 0 on success or one of the codes above; on -20 and -21 errorText is written and
// CMD_DONE/DONE_FAILED posted (the install goes on).
int32_t runVaioSetup(InstallerContext* context);

// The driver's setup program for this system, as installFolder\name; false when it would
// not fit in capacity.
bool vaioProgramPath(char* out, size_t capacity, const InstallerContext* context);
// Starts program with arguments in folder and waits for it without a limit. Once started,
// exitCode is its exit code, or -1 when it cannot be waited for or read.
platform::StartResult runToEnd(const char* program, const char* arguments, const char* folder,
                               int32_t* exitCode);
