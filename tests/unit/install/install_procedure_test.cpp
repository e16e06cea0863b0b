// The install procedure as a whole: its order, its waits, where it stops and what it leaves.
#include <numeric>

#include "app/status_label.h"
#include "install/install.h"
#include "install_fixture.h"

namespace install_test {
namespace {

const std::string CORRUPT_TEXT =
    "Installation package might be corrupted\nthanks to download official package at\n"
    "https://www.quillon-software.example.";
const std::string FOLDER_TEXT =
    "Failed to create target folder on system disk\nthanks to download official package at\n"
    "https://www.quillon-software.example.";
const std::string COPY_TEXT =
    "Failed to copy file(s) to destination folder...\n\nSome application could still use our "
    "dll (Sonnarel Remote API or Virtual ASIO driver)\nClose all applications that could use "
    "them...\n\nOtherwise installation package might be corrupted\nthanks to download official "
    "package at\nhttps://www.quillon-software.example.";

class InstallProcedure : public InstallMachine {
protected:
    std::vector<std::string> trace;  // "label X" whenever the label changed, then the event

    // Records the label as the next observable call sees it, interleaved with the calls whose
    // names start with one of prefixes.
    void traceCalls(std::vector<std::string> prefixes) {
        fake::state().onEvent = [this, prefixes](const std::string& event) {
            char label[STATUS_LABEL_MAX + 1];
            copyStatusLabel(context.get(), label);
            if (trace.empty() || lastLabel != label) {
                lastLabel = label;
                trace.push_back("label " + lastLabel);
            }
            for (const auto& prefix : prefixes)
                if (event.rfind(prefix, 0) == 0) trace.push_back(event);
        };
    }
    std::string lastLabel;

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
};

TEST_F(InstallProcedure, RunsItsStepsInOrderOn64BitWindows10) {
    const std::string lastSetting = "reg hkcu\\quillon\\quillonorvalozintho\\EngineMode";
    const std::string entryPath = "reg " + key(
        "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "QL:QuillonOrvalo {45CF77f2-4E06-4A39}\\");
    traceCalls({"sleep", "start", "post", "link", "copy", lastSetting, entryPath + "Uninstall"});
    std::string folder = INSTALL_FOLDER;
    std::string menu = MENU_FOLDER;
    ASSERT_EQ(runInstall(context.get()), 1);
    std::vector<std::string> expected = {
        "label Extract Package",
        "sleep 3000",
        "label Copy Files",
        "sleep 3000",
        "label Install VAIOs",
        "start " + VAIO_SETUP + "|-h -i -H -n|" + folder,
        "sleep 50",
        "sleep 50",
        "sleep 50",
        "sleep 50",
        "start " + REGISTRATION_TOOL + "| -f" + folder +
            "\\qlorvalo_vasio8_driver64.dll|<inherited>",
        "start " + REGISTRATION_TOOL + "| -f" + folder +
            "\\qlorvalo_vasio64A_driver64.dll|<inherited>",
        "start " + REGISTRATION_TOOL + "| -f" + folder +
            "\\qlorvalo_vasio64B_driver64.dll|<inherited>",
        "start " + REGISTRATION_TOOL + "| -f" + folder +
            "\\qlorvalo_vasio128_driver64.dll|<inherited>",
        "sleep 1000",
        "label Create Shortcuts",
        "link " + menu + "\\Readme.LNK|" + folder + "\\readme.txt|Readme|" + folder,
        "link " + menu + "\\QuillonOrvalo.LNK|" + folder + "\\QuillonOrvalo.exe|QuillonOrvalo|" +
            folder,
        "link " + menu + "\\QuillonOrvalo x64.LNK|" + folder +
            "\\QuillonOrvalo_x64.exe|QuillonOrvalo x64|" + folder,
        "link " + menu + "\\Nalta-Screen.LNK|" + folder + "\\NaltaScreen.exe|Nalta-Screen|" +
            folder,
        lastSetting + " = ",
        "copy " + SETUP_PATH + " -> " + folder + "\\QuillonOrvalo_Setup.exe",
        entryPath + "UninstallString = " + folder + "\\QuillonOrvalo_Setup.exe",
        // The configuration step sets its label and returns before anything observable.
        "sleep 1000",
        "label Installation Completed",
        "post 180 128",
    };
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(context->vaioInstalled, 1);
    EXPECT_EQ(finalLabel(), "Installation Completed");
    EXPECT_EQ(std::string(context->errorTitle), "QuillonOrvalo Installation Error");
}

TEST_F(InstallProcedure, LeavesEveryPackageFileAndTheRecordsInPlace) {
    ASSERT_EQ(runInstall(context.get()), 1);
    for (const char* name : PACKAGE_FILE_NAMES) {
        auto found = fake::state().files.find(key(INSTALL_FOLDER + "\\" + name));
        ASSERT_NE(found, fake::state().files.end()) << name;
        EXPECT_EQ(found->second, contentOf(name));
    }
    EXPECT_EQ(fake::state().files[key(INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe")],
              "the setup program");
    std::string entry =
        "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";
    EXPECT_EQ(fake::regString(entry, "UninstallString"),
              INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe");
    EXPECT_EQ(fake::regString(entry, "Publisher"), "Quillon Software");
    ASSERT_NE(fake::key("HKCU\\Quillon\\QuillonOrvaloZintho"), nullptr);
    EXPECT_EQ(fake::key("HKCU\\Quillon\\QuillonOrvaloZintho")->size(), 3u);
}

TEST_F(InstallProcedure, FixedWaitsAddUpToEightSecondsPlusTheModuleWaits) {
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(totalSleep(), 3000u + 3000u + 4 * 50u + 1000u + 1000u);
}

TEST_F(InstallProcedure, MissingPackageStopsAfterThreeSecondsWithNothingWritten) {
    fake::state().packagePresent = false;
    EXPECT_EQ(runInstall(context.get()), -100);
    EXPECT_EQ(std::string(context->errorText), CORRUPT_TEXT);
    EXPECT_EQ(std::string(context->errorTitle), "QuillonOrvalo Installation Error");
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 127"});
    EXPECT_EQ(totalSleep(), 3000u);
    EXPECT_EQ(finalLabel(), "Extract Package");
    EXPECT_TRUE(events("mkdir ").empty());
    EXPECT_TRUE(events("write ").empty());
    EXPECT_TRUE(events("reg ").empty());
}

TEST_F(InstallProcedure, UncreatableInstallFolderStopsBeforeAnyFile) {
    fake::state().failing.insert("createFolder:" + key(PROGRAM_FILES + "\\QL"));
    EXPECT_EQ(runInstall(context.get()), -101);
    EXPECT_EQ(std::string(context->errorText), FOLDER_TEXT);
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 127"});
    EXPECT_EQ(totalSleep(), 6000u);
    EXPECT_TRUE(events("write ").empty());
    EXPECT_TRUE(events("start ").empty());
}

TEST_F(InstallProcedure, FileHeldOpenStopsAfterTheOtherFilesAreWritten) {
    std::string held = INSTALL_FOLDER + "\\qlorvalo_vasio8_driver.dll";
    fake::state().lockedFiles.insert(key(held));
    EXPECT_EQ(runInstall(context.get()), -102);
    EXPECT_EQ(std::string(context->errorText), COPY_TEXT);
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 127"});
    EXPECT_EQ(events("write ").size(), size_t(PACKAGE_ENTRY_COUNT - 1));
    EXPECT_TRUE(fake::fileExists(INSTALL_FOLDER + "\\qlregsvr64.exe"));  // after the held one
    // Nothing after the extraction ran.
    EXPECT_TRUE(events("start ").empty());
    EXPECT_TRUE(events("load ").empty());
    EXPECT_TRUE(events("link ").empty());
    EXPECT_TRUE(events("reg ").empty());
    EXPECT_EQ(context->vaioInstalled, 0);
    EXPECT_EQ(finalLabel(), "Copy Files");
}

TEST_F(InstallProcedure, StaleFilesAreSweptBeforeExtraction) {
    fake::state().folders[key(PROGRAM_FILES)] = PROGRAM_FILES;
    fake::state().folders[key(PROGRAM_FILES + "\\QL")] = PROGRAM_FILES + "\\QL";
    fake::state().folders[key(INSTALL_FOLDER)] = INSTALL_FOLDER;
    fake::addFile(INSTALL_FOLDER + "\\QuillonOrvalo.del", "old");
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_FALSE(fake::fileExists(INSTALL_FOLDER + "\\QuillonOrvalo.del"));
    std::vector<std::string> all;
    for (const auto& event : fake::state().events) all.push_back(fake::lower(event));
    auto deleted =
        std::find(all.begin(), all.end(), key("delete " + INSTALL_FOLDER + "\\QuillonOrvalo.del"));
    ASSERT_NE(deleted, all.end());
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
        EXPECT_EQ(events("post "), (std::vector<std::string>{"post 180 127", "post 180 129"}));
        EXPECT_EQ(std::string(context->errorText), GetParam().text);
        EXPECT_EQ(totalSleep(), 8200u - 1000u);  // no configuration step
    } else {
        EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 128"});
        EXPECT_EQ(totalSleep(), 8200u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Install, VaioExitCode,
    ::testing::Values(
        VaioCase{
            -1,
            "Failed to install virtual i/o driver...\nCheck running setup in administrator mode"},
        VaioCase{1,
                 "Cannot install Package now...\nYou must RESTART your system and then relaunch "
                 "setup program"},
        VaioCase{2, nullptr}));

TEST_F(InstallProcedure, VaioSetupThatCannotStartEndsWithTheWarningButNoMessage) {
    fake::state().processes[key(VAIO_SETUP)].start = platform::StartResult::failed;
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 129"});
    EXPECT_EQ(context->vaioInstalled, 1);
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
    EXPECT_EQ(totalSleep(), 8200u - 1000u);
}

TEST_F(InstallProcedure, On64BitWindows81ModulesButNoVaioStep) {
    context->osCode = 6;
    ASSERT_EQ(runInstall(context.get()), 1);
    auto starts = events("start ");
    ASSERT_EQ(starts.size(), 4u);
    for (const auto& start : starts) EXPECT_EQ(start.find("start " + REGISTRATION_TOOL), 0u);
    EXPECT_EQ(events("call ").size(), 4u);
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 128"});
    EXPECT_EQ(context->vaioInstalled, 0);
}

TEST_F(InstallProcedure, LaterWindowsMajorVersionsRunTheVaioStep) {
    context->osCode = 8;
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("start " + VAIO_SETUP).size(), 1u);
}

TEST_F(InstallProcedure, SetupCopyKeepsTheRunningFileNameAndTheEntryNamesIt) {
    std::string renamed = "C:\\Downloads\\MySetup.exe";
    fake::addFile(renamed, "renamed setup");
    snprintf(context->setupPath, sizeof context->setupPath, "%s", renamed.c_str());
    ASSERT_EQ(runInstall(context.get()), 1);
    std::string copy = INSTALL_FOLDER + "\\MySetup.exe";
    EXPECT_EQ(fake::state().files[key(copy)], "renamed setup");
    EXPECT_FALSE(fake::fileExists(INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe"));
    std::string entry =
        "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";
    EXPECT_EQ(fake::regString(entry, "UninstallString"), copy);
    EXPECT_EQ(fake::regString(entry, "DisplayIcon"), copy);
}

TEST_F(InstallProcedure, FailingOptionalStepsDoNotChangeTheOutcome) {
    fake::state().failing.insert("copyFile:*");
    fake::state().failing.insert("regSet:*");
    fake::state().shellLinkResult = int32_t(0x80004005);
    fake::state().modules[key(INSTALL_FOLDER + "\\" + MODULES_32[0])].exports["DllRegisterServer"] =
        int32_t(0x80004005);
    ASSERT_EQ(runInstall(context.get()), 1);
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 128"});
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
