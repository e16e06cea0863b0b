// Runs the VAIO driver's setup program from the install folder in its removal mode.
#pragma once

struct InstallerContext;

// Whether the driver is there to remove: its interface was found at start (vaioInstalled), or
// its service or its device is registered.
bool vaioRemovalNeeded(const InstallerContext* context);

// A missing program (on 64-bit Windows) is first written into the install folder with the
// driver files it uses, from the running program's package. Does nothing when it is missing
// still or cannot be started; waits for it without a limit. A negative exit code, or one that
// cannot be read, writes errorText and posts CMD_DONE/DONE_FAILED.
void runVaioRemoval(InstallerContext* context);
