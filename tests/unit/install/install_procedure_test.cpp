// The install procedure as a whole: its order, its waits, where it stops and what it leaves.
// The setup copy under another running file name is checked on the real program (e2e_install).
#include "app/status_label.h"
#include "install/install.h"
#include "install_fixture.h"
#include "ui/taskbar_progress.h"

namespace install_test {
namespace {

const std::string DOWNLOAD =
    "thanks to download official package at\nhttps://www.quillon-software.example.";
const std::string CORRUPT_TEXT = "Installation package might be corrupted\n" + DOWNLOAD;
const std::string FOLDER_TEXT = "Failed to create target folder on system disk\n" + DOWNLOAD;
const std::string COPY_TEXT =
    "Failed to copy file(s) to destination folder...\n\nSome application could still use our "
    "dll (Sonnarel Remote API or Virtual ASIO driver)\nClose all applications that could use "
    "them...\n\nOtherwise installation package might be corrupted\n" + DOWNLOAD;
const char* const ADMIN_TEXT =
    "Failed to install virtual i/o driver...\nCheck running setup in administrator mode";
const char* const RESTART_TEXT =
    "Cannot install Package now...\nYou must RESTART your system and then relaunch setup program";
constexpr uint32_t VAIO_STEP_WITHOUT_DEVICE = 1000 + 5 * (1000 + 4000);  // no VAIO device here

class InstallProcedure : public InstallMachine {
protected:
    std::vector<std::string> trace;  // "label X" whenever the label changed, then the event
    std::string lastLabel;

    // Records the label as the next observable call sees it, interleaved with the calls whose
    // names start with one of prefixes.
    void traceCalls(std::vector<std::string> prefixes) {
        fake::state().onEvent = [this, prefixes](const std::string& event) {
            std::string label = finalLabel();
            if (trace.empty() || lastLabel != label)
                trace.push_back("label " + (lastLabel = label));
            for (const auto& prefix : prefixes)
                if (event.rfind(prefix, 0) == 0) trace.push_back(event);
        };
    }
    std::string finalLabel() {
        char label[STATUS_LABEL_MAX + 1];
        copyStatusLabel(context.get(), label);
        return label;
    }
    using Posts = std::vector<std::string>;
    // The taskbar button after each label or notice of the trace, as the window shows them.
    std::vector<TaskbarProgress> taskbar() {
        std::vector<TaskbarProgress> bars;
        TaskbarProgress bar = {};
        for (const std::string& line : trace) {
            if (line.rfind("label ", 0) == 0)
                bars.push_back(bar = progressAfterLabel(bar, &line[6]));
            if (line.rfind("post 180 ", 0) == 0)
                bars.push_back(bar = progressAfterNotice(bar, std::stoi(line.substr(9))));
        }
        return bars;
    }
};

// Every wait is in the trace, so the trace pins the time the procedure takes as well.
TEST_F(InstallProcedure, RunsItsStepsInOrderOn64BitWindows10) {
    for (const std::string& folder : {PROGRAM_FILES, PROGRAM_FILES + "\\QL", INSTALL_FOLDER})
        fake::state().folders[key(folder)] = folder;
    fake::addFile(INSTALL_FOLDER + "\\QuillonOrvalo.del", "old");
    const std::string lastSetting = "reg hkcu\\quillon\\quillonorvalozintho\\EngineMode";
    const std::string folder = INSTALL_FOLDER, copy = folder + "\\QuillonOrvalo_Setup.exe";
    const std::string entry = "reg " + key(ENTRY) + "\\";  // the values first written
    traceCalls({"sleep", "start", "post", "link", "write " + key(copy), "normal", "delete",
                lastSetting, "write " + key(folder + "\\readme.txt"), entry + "DisplayName",
                entry + "Publisher", entry + "UninstallString", entry + "DisplayIcon"});
    ASSERT_EQ(runInstall(context.get()), 1);
    std::vector<std::string> expected = {
        "label Extract Package", "sleep 3000", "label Copy Files", "sleep 3000",
        "delete " + folder + "\\quillonorvalo.del",  // stale files go before extraction
        "write " + key(folder + "\\readme.txt"), "label Install VAIOs",
        "start " + VAIO_SETUP + "|-h -i -H -n|" + folder, "sleep 50", "sleep 50", "sleep 50",
        "sleep 50"};
    for (const char* module : MODULES_64)
        expected.push_back("start " + REGISTRATION_TOOL + "| -f" + folder + "\\" + module +
                           "|" + folder);
    for (const char* line : {"sleep 1000", "label Create Shortcuts"}) expected.push_back(line);
    for (std::string link :
         {"Readme|readme.txt", "QuillonOrvalo|QuillonOrvalo.exe",
          "QuillonOrvalo x64|QuillonOrvalo_x64.exe", "Nalta-Screen|NaltaScreen.exe"}) {
        std::string name = link.substr(0, link.find('|')), target = link.substr(link.find('|') + 1);
        expected.push_back("link " + MENU_FOLDER + "\\" + name + ".LNK|" + folder + "\\" +
                           target + "|" + name + "|" + folder);
    }
    expected.insert(expected.end(), {
        lastSetting + " = ", "write " + key(copy), "write " + key(copy), "normal " + copy,
        entry + "DisplayName = Quillon Orvalo, Audio Router",
        entry + "Publisher = Quillon Software",
        entry + "UninstallString = \"" + copy + "\"", entry + "DisplayIcon = " + copy,
        "sleep 1000", "label Configure VAIOs", "sleep 1000"});
    for (int attempt = 0; attempt < 5; ++attempt)  // no VAIO device here: the search gives up
        expected.insert(expected.end(), {"sleep 1000", "sleep 4000"});
    expected.insert(expected.end(), {"label Installation Completed", "post 180 128"});
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(std::string(context->errorTitle), "QuillonOrvalo Installation Error");
    // The bar moves on with every step, is full at the last and goes with the final notice.
    std::vector<TaskbarProgress> bars = taskbar();
    for (size_t step = 0; step + 1 < bars.size(); ++step) {
        EXPECT_GT(bars[step].completed, step ? bars[step - 1].completed : 0) << step;
        EXPECT_EQ(bars[step].state, ProgressState::normal) << step;
    }
    EXPECT_EQ(progressAfterNotice(bars[0], DONE_VAIO_WARNING + 1), bars[0]);  // no notice
    EXPECT_EQ(bars[bars.size() - 2].completed, bars[bars.size() - 2].total);
    EXPECT_EQ(bars.back(), (TaskbarProgress{ProgressState::none, 0, 0}));
}

TEST_F(InstallProcedure, AStoppingFailurePostsItsTextAndRunsNothingAfter) {
    struct Case {
        void (*arrange)();
        int32_t result;
        const std::string& text;
        uint32_t waitedMs;
        const char* label;
        size_t writes;
    } cases[] = {
        {[] { fake::state().packagePresent = false; }, -100, CORRUPT_TEXT, 3000,
         "Extract Package", 0},
        {[] { fake::state().failing.insert("createFolder:" + key(PROGRAM_FILES + "\\QL")); },
         -101, FOLDER_TEXT, 6000, "Copy Files", 0},
        {[] {  // the eleventh entry: the twelve after it are still written
             fake::state().lockedFiles.insert(key(INSTALL_FOLDER + "\\" + MODULES_32[0]));
         },
         -102, COPY_TEXT, 6000, "Copy Files", size_t(PACKAGE_ENTRY_COUNT - 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        SetUp();
        c.arrange();
        EXPECT_EQ(runInstall(context.get()), c.result);
        EXPECT_EQ(std::string(context->errorText), c.text);
        EXPECT_EQ(events("post "), Posts{"post 180 127"});
        EXPECT_EQ(fake::state().clockMs, c.waitedMs);
        EXPECT_EQ(finalLabel(), c.label);
        EXPECT_EQ(events("write ").size(), c.writes);
        // (The shell's own library is loaded on the way to the install folder; no module is.)
        using Prefixes = std::vector<std::string>;
        for (const std::string& later :
             Prefixes{"start ", "load " + INSTALL_FOLDER, "link ", "reg ", "copy "})
            EXPECT_TRUE(events(later).empty()) << later;
    }
}

// Whatever the VAIO setup reports, the install completes; only a clean run is configured.
TEST_F(InstallProcedure, VaioSetupResultDecidesBetweenWarningAndSuccess) {
    constexpr auto STARTED = platform::StartResult::started;
    struct Case {
        const char* name;
        int32_t exitCode;
        const char* text;  // nullptr: no DONE_FAILED
        platform::StartResult start;
        bool waitFails;
    } cases[] = {
        {"ExitMinMinus", int32_t(0x80000000), ADMIN_TEXT, STARTED, false},
        {"ExitMinus1", -1, ADMIN_TEXT, STARTED, false},
        {"Exit1", 1, RESTART_TEXT, STARTED, false},
        {"Exit2", 2, nullptr, STARTED, false},
        {"WaitFails", 0, ADMIN_TEXT, STARTED, true},  // not STILL_ACTIVE
        {"NotStarted", 0, nullptr, platform::StartResult::failed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        fake::state().processes[key(VAIO_SETUP)] = {.start = c.start, .exitCode = c.exitCode};
        if (c.waitFails) fake::state().failing.insert("waitProcess:" + key(VAIO_SETUP));
        trace.clear();
        traceCalls({"post"});
        bool ok = c.start == STARTED && !c.text;
        ASSERT_EQ(runInstall(context.get()), ok ? 1 : -104);  // the notices say no more
        // A failure turns the bar red for the steps after it, until the final notice.
        std::vector<TaskbarProgress> bars = taskbar();
        EXPECT_EQ(bars[bars.size() - 2].state,
                  c.text ? ProgressState::error : ProgressState::normal);
        EXPECT_EQ(bars.back().state, ProgressState::none);
        EXPECT_EQ(context->vaioInstalled, 1);
        // Shortcuts, settings and the entry are written either way.
        EXPECT_EQ(events("link ").size(), 4u);
        EXPECT_EQ(events("reg ").size(), 6u + 14u);
        EXPECT_EQ(finalLabel(), "Installation Completed");
        Posts posts = ok ? Posts{"post 180 128"} : Posts{"post 180 129"};
        if (c.text) {
            posts.insert(posts.begin(), "post 180 127");
            EXPECT_EQ(std::string(context->errorText), c.text);
        }
        EXPECT_EQ(events("post "), posts);
        // No configuration step after a fault. Up to it: the waits of extraction and copy, four
        // settle waits and four tool runs of 300 ms, the wait after the registration.
        uint32_t untilShortcuts = 3000 + 3000 + 4 * (50 + 300) + 1000;
        EXPECT_EQ(fake::state().clockMs,
                  ok ? untilShortcuts + 1000 + VAIO_STEP_WITHOUT_DEVICE : untilShortcuts);
    }
}

// The VAIO setup runs only from Windows 10 on and only on 64-bit Windows; the ASIO modules
// are registered everywhere, the 64-bit ones through the tool on 64-bit Windows only.
TEST_F(InstallProcedure, VaioStepOnlyOn64BitWindows10AndLater) {
    struct Case {
        int32_t is64, osCode;
        size_t vaioStarts, toolStarts;
    } cases[] = {{0, 7, 0, 0}, {1, 6, 0, 4}, {1, 8, 1, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.osCode);
        SetUp();
        context->is64BitSystem = c.is64;
        context->osCode = c.osCode;
        ASSERT_EQ(runInstall(context.get()), 1);
        EXPECT_EQ(events("start " + VAIO_SETUP).size(), c.vaioStarts);
        EXPECT_EQ(events("start " + REGISTRATION_TOOL).size(), c.toolStarts);
        EXPECT_EQ(events("call ").size(), 4u);
        EXPECT_EQ(events("post "), Posts{"post 180 128"});
        EXPECT_EQ(context->vaioInstalled, int32_t(c.vaioStarts));
    }
}

// While the install runs, another program tries to rename the started setup away and to put
// its own in the place.
void swapStarted() {
    fake::state().processes[key(VAIO_SETUP)].onRun = [] {
        if (platform::moveFileNoReplace(SETUP_PATH.c_str(), "C:\\Downloads\\x.exe"))
            fake::addFile(SETUP_PATH, "another program");
    };
}

// Once the driver setup has run, every write stops a byte short.
void shortWrites() {
    fake::state().processes[key(VAIO_SETUP)].onRun = [] { fake::state().shortWriteBy = 1; };
}

// The copy is the program that was started, read from its file held since start, never
// another file put in its place; run from the install folder it is in place already. Without
// the copy in place no entry may name it, and the install still succeeds.
TEST_F(InstallProcedure, TheEntryNamesTheStartedProgramInTheInstallFolderOrNothing) {
    static const std::string COPY = INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe";
    static const std::string RUNNING = "the installed setup, running";
    auto inPlace = [] { fake::addFile(COPY, RUNNING); };
    struct Case {
        const char* name;
        std::string started;
        void (*arrange)();
        bool heldAtStart;
        std::string copied;  // what the copy holds after the install
    } cases[] = {
        {"HeldAgainstASwapOverAnOlderCopy", SETUP_PATH, [] {
             swapStarted();
             fake::addFile(COPY, "an older setup");
         }, true, SETUP_CONTENT},
        {"ReadFails", SETUP_PATH,
         [] { fake::state().failing.insert("readFileAt:" + key(SETUP_PATH)); }, true, "<none>"},
        {"ShortWriteAndNothingShortStays", SETUP_PATH, shortWrites, true, "<none>"},
        {"HeldOnlyAtTheCopy", SETUP_PATH, [] {}, false, SETUP_CONTENT},
        {"NotOpenedAtAll", SETUP_PATH, [] {
             fake::state().failing.insert("openFileIdentity:" + key(SETUP_PATH));
         }, false, "<none>"},
        {"NotHeldAndSwapped", SETUP_PATH, swapStarted, false, "<none>"},
        {"FromTheInstalledCopy", COPY, inPlace, true, RUNNING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.arrange();
        closeStartedProgram();  // started anew: from where the case says, held or not
        snprintf(context->setupPath, sizeof context->setupPath, "%s", c.started.c_str());
        if (!c.heldAtStart) fake::state().failing.insert("openFileHeld:" + key(c.started));
        openStartedProgram(c.started.c_str());
        fake::state().failing.erase("openFileHeld:" + key(c.started));
        ASSERT_EQ(runInstall(context.get()), 1);
        std::string copy = INSTALL_FOLDER + "\\" + fileNameOf(c.started.c_str());
        EXPECT_EQ(fake::fileExists(copy) ? fake::state().files[key(copy)] : "<none>", c.copied);
        EXPECT_EQ(fake::regString(ENTRY, "UninstallString"),
                  c.copied == "<none>" ? "<no key>" : "\"" + copy + "\"");
        EXPECT_EQ(fake::state().heldFiles.size(), c.heldAtStart ? 1u : 0u);  // a late hold ends
    }
}

TEST_F(InstallProcedure, WorkerStoresTheResultAndClearsBusyLast) {
    for (bool comFails : {false, true}) {
        SetUp();
        context->busy = 1;
        context->procedureResult = -1;
        if (comFails) fake::state().failing.insert("coInitialize:*");
        std::vector<std::string> seen;  // the hand-over as the window could see it meanwhile
        fake::state().onEvent = [&](const std::string& event) {
            seen.push_back(event + " busy " + std::to_string(context->busy) + " result " +
                           std::to_string(context->procedureResult) + " exit " +
                           std::to_string(exitCode));
        };
        EXPECT_EQ(installWorker(context.get()), 0u);
        EXPECT_EQ(context->procedureResult, 1);
        EXPECT_EQ(exitCode, 1);
        EXPECT_EQ(context->busy, 0);
        EXPECT_EQ(seen.front(), "priority below normal busy 1 result -1 exit 0");
        // The final notice comes while busy is still set: its close has to wait (see the
        // window's close rule), then COM is released only if it was initialised, and only
        // after the result is stored.
        Posts last = {"post 180 128 busy 1 result -1 exit 0"};
        if (!comFails) last.push_back("co uninitialize busy 1 result 1 exit 1");
        EXPECT_EQ(Posts(seen.end() - last.size(), seen.end()), last);
    }
}

}  // namespace
}  // namespace install_test
