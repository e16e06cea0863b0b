// What the installer window does with the commands it posts to itself and receives from the
// procedures, decided here as data; the window procedure only carries it out.
#pragma once
#include <cstdint>

struct InstallerContext;

struct WindowCommand {
    uint32_t id;  // 0: nothing to post
    int32_t code;
    bool thenEnd;  // then end the program (WM_DESTROY), once the command has set its code
};

// The one command (if any) that the creation handler posts, from the command-line flags and
// the pre-install checks' results; runs the same-setup check when the decision needs it.
// Silent without -i or -u, nothing can follow the checks: the program ends with their code.
WindowCommand startupCommand(const InstallerContext* context);

enum class Procedure { none, installAndWait, uninstall };

struct CommandOutcome {
    bool openAfterInstallPage;  // before the box
    const char* boxText;        // nullptr: no box
    const char* boxCaption;
    uint32_t boxFlags;
    bool setsExitCode;  // after the box, before the procedure
    int32_t exitCode;
    Procedure procedure;  // an uninstall's result becomes the exit code
    bool postClose;       // WM_CLOSE to the window
    bool endLoop;         // release the drawing resources, PostQuitMessage(0)
    char text[1024];      // formatted box text
};

// For a WM_COMMAND: id is compared on its low 16 bits, code in full.
void decideCommand(uintptr_t wParam, intptr_t lParam, const InstallerContext* context,
                   CommandOutcome* outcome);

// The button action's box when the worker thread cannot start.
void launchFailureBox(CommandOutcome* outcome);
// The "Startup Error" box when the window class or the window cannot be made.
void startupFailureBox(bool classFailed, CommandOutcome* outcome);
// In silent mode none of these outcomes holds a box: the exit code is the only report.

// A close request. The user's (close box, Escape) is refused while the worker runs. The one
// that follows a notice is never refused: the worker posts its final notice just before it
// clears busy, so that close waits for the worker to end instead.
enum class CloseStep { refuse, end, endAfterWorker };
CloseStep closeStep(bool afterNotice, int32_t busy);
