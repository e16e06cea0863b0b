// A machine ready for an install: a real package of 23 small files, the shell folders of a
// 64-bit Windows 10, the setup program in a download folder, held open as at its start, the
// driver modules and the programs of the package scripted to succeed.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/context.h"
#include "app/paths.h"
#include "install/program_digest.h"
#include "install/setup_copy.h"
#include "platform/fake/fake_platform.h"
#include "../package/package_builder.h"

namespace install_test {

inline const std::string PROGRAM_FILES = "C:\\Program Files (x86)";
inline const std::string INSTALL_FOLDER = "C:\\Program Files (x86)\\QL\\QuillonOrvalo";
inline const std::string COMMON_PROGRAMS =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
inline const std::string MENU_FOLDER = COMMON_PROGRAMS + "\\Quillon\\QuillonOrvalo";
// A program image as the build leaves it: "MZ", a PE32 (or PE32+) header with sixteen
// directories and two sections, which hold body from 0x200, the second its last 16 bytes
// (what follows the section table, up to there, is not zero, so that a header read past its
// end shows), no certificate table, and the program's digest stamped at STAMP_OFFSET, in the
// body.
inline constexpr uint64_t STAMP_OFFSET = 0x210;
inline std::string stampedProgram(const std::string& body, uint32_t magic = 0x10B) {
    std::string file = "MZ" + std::string(0x15E, '\0') + std::string(0xA0, '\xFF') + body;
    file.resize(std::max(file.size(), size_t(STAMP_OFFSET + SHA256_SIZE)));
    const uint32_t end = uint32_t(file.size());  // then the sections' sizes and offsets:
    const uint32_t fields[][2] = {{0x3C, 0x40}, {0x40, 0x4550}, {0x46, 2}, {0x54, 224},
                                  {0x58, magic}, {0x58u + (magic == 0x10B ? 92 : 108), 16},
                                  {0x148, end - 0x210},
                                  {0x14C, 0x200}, {0x170, 16}, {0x174, end - 16}};
    for (auto [at, value] : fields)
        for (int i = 0; i < 4; ++i) file[at + i] = char(value >> 8 * i);
    uint8_t digest[SHA256_SIZE];
    programDigest(reinterpret_cast<const uint8_t*>(file.data()), file.size(), STAMP_OFFSET,
                  digest);
    return file.replace(STAMP_OFFSET, SHA256_SIZE, reinterpret_cast<char*>(digest), SHA256_SIZE);
}

// The running program as the in-memory Windows shows its image: its stamp.
inline void runningProgramIs(const std::string& program) {
    fake::state().programStamp = program.substr(STAMP_OFFSET, SHA256_SIZE);
    fake::state().programStampOffset = STAMP_OFFSET;
}

inline const std::string SETUP_PATH = "C:\\Downloads\\QuillonOrvalo_Setup.exe";
inline const std::string SETUP_CONTENT =
    stampedProgram("the setup program" + std::string(32 * 1024, '.'));
inline const std::string VAIO_SETUP = INSTALL_FOLDER + "\\QLOrvaloVAIO_Setup_x64.exe";
inline const std::string REGISTRATION_TOOL = INSTALL_FOLDER + "\\qlregsvr64.exe";
inline const std::string ENTRY =  // as stored: the 32-bit view
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";

inline const char* const MODULES_32[] = {
    "qlorvalo_vasio8_driver.dll", "qlorvalo_vasio64A_driver.dll", "qlorvalo_vasio64B_driver.dll",
    "qlorvalo_vasio128_driver.dll"};
inline const char* const MODULES_64[] = {
    "qlorvalo_vasio8_driver64.dll", "qlorvalo_vasio64A_driver64.dll",
    "qlorvalo_vasio64B_driver64.dll", "qlorvalo_vasio128_driver64.dll"};

inline fake::ScriptedProcess exitingWith(int32_t code, uint32_t runsMs = 0) {
    return {.exitCode = code, .runsMs = runsMs};
}

inline std::string key(const std::string& path) { return fake::lower(path); }

class InstallMachine : public ::testing::Test {
protected:
    std::unique_ptr<InstallerContext> context;

    void SetUp() override {
        closeStartedProgram();
        fake::reset();
        auto& machine = fake::state();
        machine.package = ::buildPackage().bytes;
        machine.shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = PROGRAM_FILES;
        snprintf(commonProgramsFolder, sizeof commonProgramsFolder, "%s", COMMON_PROGRAMS.c_str());
        machine.folders[key("C:\\Downloads")] = "C:\\Downloads";
        fake::addFile(SETUP_PATH, SETUP_CONTENT);
        runningProgramIs(SETUP_CONTENT);
        openStartedProgram(SETUP_PATH.c_str());
        for (const char* module : MODULES_32) {
            auto& scripted = machine.modules[key(INSTALL_FOLDER + "\\" + module)];
            scripted.exports["DllRegisterServer"] = 0;
            scripted.exports["DllUnregisterServer"] = 0;
        }
        machine.processes[key(VAIO_SETUP)] = exitingWith(0, 20000);
        machine.processes[key(REGISTRATION_TOOL)] = exitingWith(0, 300);
        context = std::make_unique<InstallerContext>();  // each SetUp() a fresh one
        context->windowHandle = reinterpret_cast<platform::WindowHandle>(0x1234);
        context->is64BitSystem = 1;
        context->osCode = 7;
        snprintf(context->setupPath, sizeof context->setupPath, "%s", SETUP_PATH.c_str());
        // Where the install puts it on this machine, for the steps tested on their own.
        copyText(context->installFolder, INSTALL_FOLDER.c_str());
        silentFlag = 0;
        exitCode = 0;
    }

    // Also what each row of a table left open: a reset keeps counting it.
    void TearDown() override {
        closeStartedProgram();
        EXPECT_EQ(fake::leftOpen(), "");
        commonProgramsFolder[0] = 0;
        silentFlag = 0;
        exitCode = 0;
    }

    static void closeStartedProgram() {
        if (startedProgram.file) platform::closeFile(startedProgram.file);
        startedProgram = {};
    }

    static std::vector<std::string> events(const std::string& prefix) {
        return fake::eventsStartingWith(prefix);
    }
};

}  // namespace install_test
