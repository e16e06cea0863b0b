// Runs the VAIO driver's setup program from the install folder in its removal mode.
#pragma once

struct InstallerContext;

// Does nothing when the program is missing or cannot be started; waits for it without a
// limit. A negative exit code, or one that cannot be read, writes errorText and posts
// CMD_DONE/DONE_FAILED.
void runVaioRemoval(InstallerContext* context);
