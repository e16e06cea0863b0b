// The install procedure as a whole: its order, its waits, where it stops and what it leaves.
// The setup copy under another running file name is checked on the real program (e2e_install).
#include "app/status_label.h"
#include "install/install.h"
#include "install_fixture.h"

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
constexpr uint32_t VAIO_STEP_WITHOUT_DEVICE = 1000 + 5 * (1000 + 4000);
const std::string ENTRY =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";

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
    uint32_t totalSleep() {
        uint32_t total = 0;
        for (const auto& event : events("sleep ")) total += uint32_t(std::stoul(event.substr(6)));
        return total;
    }
    std::string finalLabel() {
        char label[STATUS_LABEL_MAX + 1];
        copyStatusLabel(context.get(), label);
        return label;
    }
    using Posts = std::vector<std::string>;
};

TEST_F(InstallProcedure, RunsItsStepsInOrderOn64BitWindows10) {
    const std::string lastSetting = "reg hkcu\\quillon\\quillonorvalozintho\\EngineMode";
    traceCalls({"sleep", "start", "post", "link", "copy", lastSetting,
                "reg " + key(ENTRY) + "\\Uninstall"});
    const std::string folder = INSTALL_FOLDER, menu = MENU_FOLDER;
    ASSERT_EQ(runInstall(context.get()), 1);
    std::vector<std::string> expected = {
        "label Extract Package", "sleep 3000", "label Copy Files", "sleep 3000",
        "label Install VAIOs", "start " + VAIO_SETUP + "|-h -i -H -n|" + folder,
        "sleep 50", "sleep 50", "sleep 50", "sleep 50"};
    for (const char* module : MODULES_64)
        expected.push_back("start " + REGISTRATION_TOOL + "| -f" + folder + "\\" + module +
                           "|<inherited>");
    for (const char* line : {"sleep 1000", "label Create Shortcuts"}) expected.push_back(line);
    for (std::string link :
         {"Readme|readme.txt", "QuillonOrvalo|QuillonOrvalo.exe",
          "QuillonOrvalo x64|QuillonOrvalo_x64.exe", "Nalta-Screen|NaltaScreen.exe"}) {
        std::string name = link.substr(0, link.find('|')), target = link.substr(link.find('|') + 1);
        expected.push_back("link " + menu + "\\" + name + ".LNK|" + folder + "\\" + target + "|" +
                           name + "|" + folder);
    }
    expected.insert(expected.end(), {
        lastSetting + " = ",
        "copy " + SETUP_PATH + " -> " + folder + "\\QuillonOrvalo_Setup.exe",
        "reg " + key(ENTRY) + "\\UninstallString = " + folder + "\\QuillonOrvalo_Setup.exe",
        "sleep 1000", "label Configure VAIOs", "sleep 1000"});
    for (int attempt = 0; attempt < 5; ++attempt)  // no VAIO device here: the search gives up
        expected.insert(expected.end(), {"sleep 1000", "sleep 4000"});
    expected.insert(expected.end(), {"label Installation Completed", "post 180 128"});
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(totalSleep(), 3000u + 3000u + 4 * 50u + 1000u + 1000u + VAIO_STEP_WITHOUT_DEVICE);
    EXPECT_EQ(context->vaioInstalled, 1);
    EXPECT_EQ(std::string(context->errorTitle), "QuillonOrvalo Installation Error");
}

struct StopCase {
    const char* name;
    void (*arrange)();
    int32_t result;
    std::string text;
    uint32_t sleeps;
    const char* label;
    size_t writes;
};

class StoppingFailure : public InstallProcedure, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppingFailure, PostsItsTextAndRunsNothingAfter) {
    GetParam().arrange();
    EXPECT_EQ(runInstall(context.get()), GetParam().result);
    EXPECT_EQ(std::string(context->errorText), GetParam().text);
    EXPECT_EQ(events("post "), Posts{"post 180 127"});
    EXPECT_EQ(totalSleep(), GetParam().sleeps);
    EXPECT_EQ(finalLabel(), GetParam().label);
    EXPECT_EQ(events("write ").size(), GetParam().writes);
    for (const char* later : {"start ", "load ", "link ", "reg ", "copy "})
        EXPECT_TRUE(events(later).empty()) << later;
    EXPECT_EQ(context->vaioInstalled, 0);
}

void noPackage() { fake::state().packagePresent = false; }
void folderFails() { fake::state().failing.insert("createFolder:" + key(PROGRAM_FILES + "\\QL")); }
void fileHeld() {  // the eleventh entry: the twelve after it are still written
    fake::state().lockedFiles.insert(key(INSTALL_FOLDER + "\\qlorvalo_vasio8_driver.dll"));
}

INSTANTIATE_TEST_SUITE_P(
    Install, StoppingFailure,
    ::testing::Values(
        StopCase{"MissingPackage", noPackage, -100, CORRUPT_TEXT, 3000, "Extract Package", 0},
        StopCase{"UncreatableFolder", folderFails, -101, FOLDER_TEXT, 6000, "Copy Files", 0},
        StopCase{"FileHeldOpen", fileHeld, -102, COPY_TEXT, 6000, "Copy Files",
                 size_t(PACKAGE_ENTRY_COUNT - 1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallProcedure, StaleFilesAreSweptBeforeExtraction) {
    for (const std::string& folder : {PROGRAM_FILES, PROGRAM_FILES + "\\QL", INSTALL_FOLDER})
        fake::state().folders[key(folder)] = folder;
    fake::addFile(INSTALL_FOLDER + "\\QuillonOrvalo.del", "old");
    ASSERT_EQ(runInstall(context.get()), 1);
    std::vector<std::string> all;
    for (const auto& event : fake::state().events) all.push_back(fake::lower(event));
    auto deleted =
        std::find(all.begin(), all.end(), key("delete " + INSTALL_FOLDER + "\\QuillonOrvalo.del"));
    auto firstWrite = std::find_if(all.begin(), all.end(),
                                   [](const std::string& e) { return e.rfind("write ", 0) == 0; });
    EXPECT_LT(deleted, firstWrite);
}

struct VaioCase {
    int32_t exitCode;
    const char* text;  // nullptr: success
};

class VaioExitCode : public InstallProcedure, public ::testing::WithParamInterface<VaioCase> {};

TEST_P(VaioExitCode, DecidesBetweenWarningAndSuccess) {
    fake::state().processes[key(VAIO_SETUP)] = exitingWith(GetParam().exitCode);
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(context->vaioInstalled, 1);
    // Shortcuts, settings and the entry are written either way.
    EXPECT_EQ(events("link ").size(), 4u);
    EXPECT_EQ(events("reg hkcu").size(), 6u);
    EXPECT_EQ(events("reg hklm").size(), 4u);
    EXPECT_EQ(finalLabel(), "Installation Completed");
    if (GetParam().text) {
        EXPECT_EQ(events("post "), (Posts{"post 180 127", "post 180 129"}));
        EXPECT_EQ(std::string(context->errorText), GetParam().text);
        EXPECT_EQ(totalSleep(), 8200u - 1000u);  // no configuration step
    } else {
        EXPECT_EQ(events("post "), Posts{"post 180 128"});
        EXPECT_EQ(totalSleep(), 8200u + VAIO_STEP_WITHOUT_DEVICE);
    }
}

INSTANTIATE_TEST_SUITE_P(Install, VaioExitCode,
                         ::testing::Values(VaioCase{int32_t(0x80000000), ADMIN_TEXT},
                                           VaioCase{-1, ADMIN_TEXT}, VaioCase{1, RESTART_TEXT},
                                           VaioCase{2, nullptr}),
                         [](const auto& info) {
                             int32_t code = info.param.exitCode;
                             return code < 0 ? "ExitMinus" + std::to_string(-int64_t(code))
                                             : "Exit" + std::to_string(code);
                         });

TEST_F(InstallProcedure, VaioSetupThatCannotStartEndsWithTheWarningButNoMessage) {
    fake::state().processes[key(VAIO_SETUP)].start = platform::StartResult::failed;
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("post "), Posts{"post 180 129"});
}

TEST_F(InstallProcedure, On32BitWindows10NoVaioStepAndNoRegistrationTool) {
    context->is64BitSystem = 0;
    traceCalls({"start", "post"});
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(trace, (std::vector<std::string>{"label Extract Package", "label Copy Files",
                                               "label Create Shortcuts",
                                               "label Installation Completed", "post 180 128"}));
    EXPECT_EQ(events("call ").size(), 4u);
    EXPECT_EQ(events("link ").size(), 3u);
    EXPECT_EQ(context->vaioInstalled, 0);
}

TEST_F(InstallProcedure, VaioStepOnlyFromWindows10On64BitWindows) {
    context->osCode = 6;  // 8.1: the modules still, through the tool, but no VAIO setup
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("start " + REGISTRATION_TOOL).size(), 4u);
    EXPECT_EQ(events("start ").size(), 4u);
    EXPECT_EQ(events("call ").size(), 4u);
    EXPECT_EQ(events("post "), Posts{"post 180 128"});
    EXPECT_EQ(context->vaioInstalled, 0);
    SetUp();
    context->osCode = 8;  // later majors do run it
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("start " + VAIO_SETUP).size(), 1u);
}

TEST_F(InstallProcedure, FailingOptionalStepsDoNotChangeTheOutcome) {
    fake::state().failing.insert("copyFile:*");
    fake::state().failing.insert("regSet:*");
    fake::state().shellLinkResult = int32_t(0x80004005);
    fake::state().modules[key(INSTALL_FOLDER + "\\" + MODULES_32[0])].exports["DllRegisterServer"] =
        int32_t(0x80004005);
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("post "), Posts{"post 180 128"});
}

TEST_F(InstallProcedure, WorkerStoresTheResultAndClearsBusyLast) {
    context->busy = 1;
    context->procedureResult = -1;
    fake::state().packagePresent = false;
    EXPECT_EQ(installWorker(context.get()), 0u);
    EXPECT_EQ(context->procedureResult, -100);
    EXPECT_EQ(exitCode, -100);
    EXPECT_EQ(context->busy, 0);
    EXPECT_EQ(fake::state().events.front(), "priority below normal");
}

}  // namespace
}  // namespace install_test
