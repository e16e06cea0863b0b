// The one record of the running installer, shared by the window thread and the install
// worker. Plain data, cleared once at start-up; see status_label.h for the label, and
// storeShared/loadShared below for the words that pass the worker's result to the window.
#pragma once
#include <atomic>
#include <cstdint>

#include "app/paths.h"
#include "app/version.h"
#include "package/package_entry.h"
#include "platform/platform.h"

struct Rect32 {
    int32_t left, top, right, bottom;
};

struct InstallerContext {
    platform::WindowHandle windowHandle;
    platform::ModuleHandle instanceHandle;
    int32_t is64BitSystem;
    char setupPath[1024];
    uintptr_t timerId;
    int32_t osCode;
    int32_t vaioInstalled;
    int32_t uninstallEntryFound;
    int32_t installed;
    int32_t driverPresence;
    char installFolder[1024];
    PackageEntry packageDirectory[PACKAGE_ENTRY_COUNT];
    Rect32 buttonRect;
    int32_t blinkCounter;
    void* skinBitmap;
    int32_t skinWidth;
    int32_t skinHeight;
    void* handCursor;
    void* fontBold;
    void* fontOsLabel;
    void* fontButton;
    platform::Handle workerThread;
    uint32_t workerThreadId;
    int32_t busy;             // shared: through storeShared/loadShared
    int32_t procedureResult;  // shared: through storeShared/loadShared
    char errorTitle[512];
    char errorText[2048];
    char statusLabel[1024];  // written through setStatusLabel, read through copyStatusLabel
};

// Process-wide values set from the command line, and the program's exit code.
extern int32_t exitCode;  // shared: written by the worker at its end
extern int32_t silentFlag;
extern int32_t installFlag;
extern int32_t uninstallFlag;

// The running program's own file, opened first thing at start and kept open for the whole run
// (it closes with the process). `held`: nobody can rename, replace or write it meanwhile, and
// the setup copy is read from this handle. Otherwise it is open for its attributes only, which
// still tells which file was started.
struct StartedProgram {
    platform::Handle file;
    bool held;
};
extern StartedProgram startedProgram;

// busy, procedureResult and exitCode pass between the two threads. The worker stores its result
// and exit code, then clears busy; a thread that loads busy as 0 therefore sees both.
inline void storeShared(int32_t& word, int32_t value) {
    std::atomic_ref<int32_t>(word).store(value, std::memory_order_release);
}
inline int32_t loadShared(int32_t& word) {
    return std::atomic_ref<int32_t>(word).load(std::memory_order_acquire);
}

// Shell folders resolved once at start-up; empty when unresolved.
extern char commonProgramsFolder[PATH_BYTES];
extern char startupFolder[PATH_BYTES];

// Product texts used by more than one subsystem.
inline constexpr const char* PRODUCT_ID = "QuillonOrvalo";
inline constexpr const char* PRODUCT_NAME = "Quillon Orvalo";
inline constexpr const char* SETUP_VERSION = SETUP_VERSION_TEXT;
inline constexpr const char* MAKER_SITE = "https://www.quillon-software.example";

// Commands posted to the installer window (WM_COMMAND: id in wParam, code in lParam).
enum : uint32_t {
    CMD_AUTO = 165,
    CMD_DONE = 180,
    CMD_WRONG_SETUP = 1492,
    CMD_DRIVER_PRESENT = 1493,
};
enum : int32_t {
    AUTO_INSTALL = 101,
    AUTO_UNINSTALL = 102,
    DONE_FAILED = 127,
    DONE_OK = 128,
    DONE_VAIO_WARNING = 129,
    // The install's final notices when the program could not be placed for removal: alone,
    // and with the VAIO driver's warning.
    DONE_NOT_PLACED = 130,
    DONE_VAIO_WARNING_NOT_PLACED = 131,
};
