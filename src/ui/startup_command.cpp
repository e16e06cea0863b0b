#include "ui/startup_command.h"

#include <cstdio>
#include <cstring>

#include "app/context.h"
#include "platform/platform.h"
#include "ui/preinstall_checks.h"

namespace {

constexpr uint32_t ERROR_BOX = platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR;
constexpr uint32_t WARNING_BOX = platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING;

void box(CommandOutcome* out, const char* text, const char* caption, uint32_t flags) {
    if (silentFlag) return;  // an unattended run must never wait for a box
    out->boxText = text;
    out->boxCaption = caption;
    out->boxFlags = flags;
}

void exitWith(CommandOutcome* out, int32_t code) {
    out->setsExitCode = true;
    out->exitCode = code;
}

// "Installation finished !" and what did not go well: the driver, the program's copy that
// removes it, or both, each in its own paragraph.
void finishedBox(bool vaioWarning, bool notPlaced, CommandOutcome* out) {
    snprintf(out->text, sizeof out->text,
             "Installation finished !\n\n%s%sThanks to restart your system anyway",
             vaioWarning ? "Virtual Audio Driver might not be installed correctly,\nVirtual "
                           "inputs and outputs could not be available.\n\n"
                         : "",
             notPlaced ? "The setup program could not be placed for removal:\nthis "
                         "installation is not listed in Windows Programs and Features.\n\n"
                       : "");
    out->openAfterInstallPage = true;
    box(out, out->text, "REBOOT YOUR SYSTEM", WARNING_BOX);
}

void decideDone(intptr_t code, const InstallerContext* context, CommandOutcome* out) {
    switch (code) {
        case DONE_FAILED:
            box(out, context->errorText, context->errorTitle, ERROR_BOX);
            break;
        case DONE_OK:
            out->openAfterInstallPage = true;
            box(out,
                "Installation Complete and Successful !\n\nYOU MUST RESTART your computer to "
                "finalize installation",
                "REBOOT YOUR SYSTEM", WARNING_BOX);
            break;
        case DONE_VAIO_WARNING:
        case DONE_NOT_PLACED:
        case DONE_VAIO_WARNING_NOT_PLACED:
            finishedBox(code != DONE_NOT_PLACED, code != DONE_VAIO_WARNING, out);
            break;
        default:
            return;
    }
    out->postClose = true;
}

void decideAuto(intptr_t code, const InstallerContext* context, CommandOutcome* out) {
    if (code == AUTO_INSTALL) {
        if (context->installed || context->uninstallEntryFound)
            exitWith(out, -4);
        else
            out->procedure = Procedure::installAndWait;  // the worker stores the exit code
    } else if (code == AUTO_UNINSTALL) {
        exitWith(out, -4);
        if (context->installed) out->procedure = Procedure::uninstall;
    }
    out->endLoop = true;
}

}  // namespace

WindowCommand startupCommand(const InstallerContext* context) {
    if (installFlag) return {CMD_AUTO, AUTO_INSTALL, false};
    if (uninstallFlag) return {CMD_AUTO, AUTO_UNINSTALL, false};
    const bool end = silentFlag != 0;  // a hidden window would wait for a click forever
    if (context->uninstallEntryFound) {
        if (sameSetupCheck(context) == 0 && !silentFlag) return {CMD_WRONG_SETUP, 0, false};
        return {0, 0, end};  // with an entry, found devices are no news
    }
    // Silent, the exit code is the only report of a driver present: the command still goes,
    // to set it without a box.
    if (context->driverPresence != 0) return {CMD_DRIVER_PRESENT, 0, end};
    return {0, 0, end};
}

void decideCommand(uintptr_t wParam, intptr_t lParam, const InstallerContext* context,
                   CommandOutcome* out) {
    memset(out, 0, sizeof *out);
    switch (wParam & 0xFFFF) {
        case CMD_DONE:
            if (!silentFlag) decideDone(lParam, context, out);
            break;
        case CMD_AUTO:
            decideAuto(lParam, context, out);
            break;
        case CMD_WRONG_SETUP:
            snprintf(out->text, sizeof out->text,
                     "Current %s version has been installed by another Setup program...\n\n"
                     "You must use the same Setup Program to uninstall it,\nalso listed in "
                     "Windows Programs and Features...\n\nDON'T FORGET TO REBOOT AFTER "
                     "UNINSTALLATION",
                     PRODUCT_ID);
            box(out, out->text, "Wrong Installation Program", ERROR_BOX);
            exitWith(out, -2);
            out->postClose = true;
            break;
        case CMD_DRIVER_PRESENT:
            snprintf(out->text, sizeof out->text,
                     "Quillon Driver presence has been detected. Check %s drivers are no more "
                     "present in Windows Device Manager...\n\nThis application must not be "
                     "installed if its audio driver is still present, thanks to uninstall them "
                     "by the Windows Device Manager procedure...\n\nDON'T FORGET TO REBOOT AFTER "
                     "UNINSTALLATION",
                     PRODUCT_NAME);
            box(out, out->text, "Installation Issue", WARNING_BOX);
            exitWith(out, -3);  // the window stays: the user may still use the button
            break;
        default:
            break;
    }
}

void launchFailureBox(CommandOutcome* out) {
    memset(out, 0, sizeof *out);
    snprintf(out->text, sizeof out->text, "%s Installation Error", PRODUCT_ID);
    box(out, "Failed to launch Procedure...", out->text, ERROR_BOX);
}

void startupFailureBox(bool classFailed, CommandOutcome* out) {
    memset(out, 0, sizeof *out);
    box(out, classFailed ? "Failed to register window class..." : "Failed to create window...",
        "Startup Error", platform::MB_ICON_WARNING);
}

CloseStep closeStep(bool afterNotice, int32_t busy) {
    if (!busy) return CloseStep::end;
    return afterNotice ? CloseStep::endAfterWorker : CloseStep::refuse;
}
