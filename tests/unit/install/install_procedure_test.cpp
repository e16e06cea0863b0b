// The install procedure as a whole: its order, its waits, where it stops and what it leaves.
// The setup copy under another running file name is checked on the real program (e2e_install).
#include <cstring>
#include <tuple>

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
        lastSetting + " = ", "write " + key(copy), "normal " + copy,
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
    EXPECT_NE(bars[1], bars[0]);  // further on in the same state: the taskbar is told
    EXPECT_EQ(bars[bars.size() - 2].completed, bars[bars.size() - 2].total);
    EXPECT_EQ(bars.back(), (TaskbarProgress{ProgressState::none, 0, 0}));
}

TEST_F(InstallProcedure, AStoppingFailurePostsItsTextAndRunsNothingAfter) {
    // What breaks; the result, the notice's text, the time waited, the last label, the writes.
    const std::tuple<void (*)(), int32_t, const std::string&, uint32_t, const char*, size_t>
        cases[] = {
        {[] { fake::state().packagePresent = false; }, -100, CORRUPT_TEXT, 3000,
         "Extract Package", 0},
        {[] { fake::state().failing.insert("createFolder:" + key(PROGRAM_FILES + "\\QL")); },
         -101, FOLDER_TEXT, 6000, "Copy Files", 0},
        {[] {  // the eleventh entry: the twelve after it are still written
             fake::state().lockedFiles.insert(key(INSTALL_FOLDER + "\\" + MODULES_32[0]));
         },
         -102, COPY_TEXT, 6000, "Copy Files", size_t(PACKAGE_ENTRY_COUNT - 1)},
    };
    for (const auto& [arrange, result, text, waitedMs, label, writes] : cases) {
        SCOPED_TRACE(result);
        SetUp();
        arrange();
        EXPECT_EQ(runInstall(context.get()), result);
        EXPECT_EQ(std::string(context->errorText), text);
        EXPECT_EQ(events("post "), Posts{"post 180 127"});
        EXPECT_EQ(fake::state().clockMs, waitedMs);
        EXPECT_EQ(finalLabel(), label);
        EXPECT_EQ(events("write ").size(), writes);
        // (The shell's own library is loaded on the way to the install folder; no module is.)
        for (const std::string& later :
             std::vector<std::string>{"start ", "load " + INSTALL_FOLDER, "link ", "reg "})
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
    // 64-bit, OS code; then the runs of the VAIO setup and of the registration tool
    for (auto [is64, osCode, vaio, tool] :
         {std::tuple{0, 7, 0u, 0u}, {1, 6, 0u, 4u}, {1, 8, 1u, 4u}}) {
        SCOPED_TRACE(osCode);
        SetUp();
        context->is64BitSystem = is64;
        context->osCode = osCode;
        ASSERT_EQ(runInstall(context.get()), 1);
        EXPECT_EQ(events("start " + VAIO_SETUP).size(), vaio);
        EXPECT_EQ(events("start " + REGISTRATION_TOOL).size(), tool);
        EXPECT_EQ(events("call ").size(), 4u);
        EXPECT_EQ(events("post "), Posts{"post 180 128"});
        EXPECT_EQ(context->vaioInstalled, int32_t(vaio));
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

// The copy is the program that was started, read from its file held since start and proven by
// the stamp in the running image, never another file put in its place; run from the install
// folder it is in place already. Without the copy in place no entry may name it, and the
// install ends with -105 and its own notice.
TEST_F(InstallProcedure, TheEntryNamesTheStartedProgramInTheInstallFolderOrNothing) {
    static const std::string COPY = INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe";
    static const std::string RUNNING = stampedProgram("the installed setup, running");
    // Started from, what happens, held from the start, what the copy holds after the install.
    const std::tuple<const char*, std::string, void (*)(), bool, std::string> cases[] = {
        {"HeldAgainstASwapOverAnOlderCopy", SETUP_PATH, [] {
             swapStarted();
             fake::addFile(COPY, "an older setup");
         }, true, SETUP_CONTENT},
        // Renamed and replaced before the start held it: the held file is another program.
        {"SwappedBeforeTheHold", SETUP_PATH,
         [] { fake::addFile(SETUP_PATH, stampedProgram("another program")); }, true, "<none>"},
        {"ReadFails", SETUP_PATH,
         [] { fake::state().failing.insert("readFileAt:" + key(SETUP_PATH)); }, true, "<none>"},
        // Larger than one read can take: never copied cut, though its start is the program.
        {"Over4GiB", SETUP_PATH, [] { fake::state().sizeBeyondContent = 1ull << 32; }, true, "<none>"},
        {"ShortWriteAndNothingShortStays", SETUP_PATH, shortWrites, true, "<none>"},
        {"CopyNotCreated", SETUP_PATH,
         [] { fake::state().failing.insert("openFileForWriting:" + key(COPY)); }, true, "<none>"},
        {"HeldOnlyAtTheCopy", SETUP_PATH, [] {}, false, SETUP_CONTENT},
        {"NotOpenedAtAll", SETUP_PATH, [] {
             fake::state().failing.insert("openFileIdentity:" + key(SETUP_PATH));
         }, false, "<none>"},
        {"NotHeldAndSwapped", SETUP_PATH, swapStarted, false, "<none>"},
        {"FromTheInstalledCopy", COPY, [] {
             fake::addFile(COPY, RUNNING);
             runningProgramIs(RUNNING);
         }, true, RUNNING},
    };
    for (const auto& [name, started, arrange, heldAtStart, copied] : cases) {
        SCOPED_TRACE(name);
        SetUp();
        arrange();
        closeStartedProgram();  // started anew: from where the case says, held or not
        snprintf(context->setupPath, sizeof context->setupPath, "%s", started.c_str());
        if (!heldAtStart) fake::state().failing.insert("openFileHeld:" + key(started));
        openStartedProgram(started.c_str());
        fake::state().failing.erase("openFileHeld:" + key(started));
        bool placed = copied != "<none>";
        ASSERT_EQ(runInstall(context.get()), placed ? 1 : -105);
        EXPECT_EQ(events("post ").back(), placed ? "post 180 128" : "post 180 130");
        std::string copy = INSTALL_FOLDER + "\\" + fileNameOf(started.c_str());
        EXPECT_EQ(fake::fileExists(copy) ? fake::state().files[key(copy)] : "<none>", copied);
        EXPECT_EQ(fake::regString(ENTRY, "UninstallString"),
                  placed ? "\"" + copy + "\"" : "<no key>");
    }
}

// A product that nothing can remove outweighs a driver that failed: -105, and a notice that
// says both.
TEST_F(InstallProcedure, NotPlacedOutweighsAFailedDriver) {
    fake::state().processes[key(VAIO_SETUP)] = {.start = platform::StartResult::started,
                                                .exitCode = -1};
    fake::state().failing.insert("openFileForWriting:" + key(INSTALL_FOLDER +
                                                             "\\QuillonOrvalo_Setup.exe"));
    ASSERT_EQ(runInstall(context.get()), -105);
    EXPECT_EQ(events("post ").back(), "post 180 131");
}

// A stamp proves a file only as the build left it. A signature added since (a certificate
// table at the end, its directory entry, the checksum) keeps the digest, and so does the stamp
// itself; any other byte changed, or one added, changes it; a file whose certificate table
// would leave part of the program out, or that cannot be read as a program, proves nothing.
TEST(ProgramDigest, LeavesOutWhatASignatureChangesAndNothingElse) {
    for (uint32_t magic : {0x10B, 0x20B}) {  // PE32, PE32+: the directories 16 bytes further on
        const std::string program = stampedProgram(std::string(70000, 'x'), magic);  // past 16 bits
        const uint32_t CHECKSUM = 0x58 + 64, end = uint32_t(program.size());
        const uint32_t ENTRY_AT = 0x58 + (magic == 0x10B ? 128 : 144);
        auto edit = [&](std::vector<std::pair<uint32_t, uint32_t>> words, std::string tail = "") {
            std::string file = program + tail;
            for (auto [at, value] : words)
                for (int i = 0; i < 4; ++i) file[at + i] = char(value >> 8 * i);
            return file;
        };
        enum Proves { same, differs, nothing };
        const std::pair<std::string, Proves> cases[] = {
            {edit({{ENTRY_AT, end}, {ENTRY_AT + 4, 16}, {CHECKSUM, ~0u}}, std::string(16, 'c')), same},
            {edit({{STAMP_OFFSET, 1}, {STAMP_OFFSET + SHA256_SIZE - 4, 1}}), same},
            {program + "x", differs},
            // An optional header that ends right after the certificate table's entry is read.
            {edit({{0x54, ENTRY_AT + 8 - 0x58}}), differs},
            // A table that does not end the file, one over the last section's data, a cut header,
            // a file that ends before the stamp, no "MZ", no "PE", no known optional header, one
            // too short for the certificate table's entry.
            {edit({{ENTRY_AT, end}, {ENTRY_AT + 4, 16}}, std::string(17, 'c')), nothing},
            {edit({{ENTRY_AT, end - 16}, {ENTRY_AT + 4, 16}}), nothing},
            {program.substr(0, 0x140), nothing},
            {program.substr(0, 0x200), nothing},
            {"NZ" + program.substr(2), nothing},
            {edit({{0x40, 0x4551}}), nothing},
            {edit({{0x58, 0x10C}}), nothing},
            {edit({{0x54, ENTRY_AT + 7 - 0x58}}), nothing}};
        // And the stamp is the digest of every other byte but the checksum and the entry, with
        // the stamp's own bytes as zeros: any other byte changed changes it.
        std::string hashed = program.substr(0, CHECKSUM) +
                             program.substr(CHECKSUM + 4, ENTRY_AT - CHECKSUM - 4) +
                             program.substr(ENTRY_AT + 8, STAMP_OFFSET - ENTRY_AT - 8) +
                             std::string(SHA256_SIZE, '\0') +
                             program.substr(STAMP_OFFSET + SHA256_SIZE);
        uint8_t digest[SHA256_SIZE];
        Sha256 hash;
        sha256Start(&hash);
        sha256Add(&hash, hashed.data(), hashed.size());
        sha256Finish(&hash, digest);
        EXPECT_EQ(memcmp(digest, program.data() + STAMP_OFFSET, SHA256_SIZE), 0);
        for (size_t i = 0; i < std::size(cases); ++i) {
            const auto& [file, proves] = cases[i];
            bool read = programDigest(reinterpret_cast<const uint8_t*>(file.data()), file.size(),
                                      STAMP_OFFSET, digest);
            bool equal = read && memcmp(digest, program.data() + STAMP_OFFSET, SHA256_SIZE) == 0;
            EXPECT_EQ(read ? equal ? same : differs : nothing, proves) << magic << ", " << i;
        }
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
