// Option reading of the payload tools (qlregsvr64, the VAIO setup program): with and without
// a program path in front, with the setup program's exact spacing, and with paths that hold
// blanks, hyphens and quotes.
#include <gtest/gtest.h>
#include <string>
#include "../../../payload/common/command_line.h"

namespace {

std::string valueOf(const char* commandLine, char letter = 'f') {
    char out[260];
    const char* arguments = cmdline::argumentsOf(commandLine);
    return cmdline::optionValue(arguments, letter, out, sizeof out) ? out : "<none>";
}

bool unregisterRequested(const char* commandLine) {
    const char* arguments = cmdline::argumentsOf(commandLine);
    return cmdline::hasFlag(arguments, 'u', cmdline::findOption(arguments, 'f', false));
}

}  // namespace

TEST(PayloadCommandLine, ReadsTheSetupProgramsExactForms) {
    EXPECT_EQ(valueOf(" -fC:\\Program Files\\QL\\QuillonOrvalo\\qlorvalo_vasio8_driver64.dll"),
              "C:\\Program Files\\QL\\QuillonOrvalo\\qlorvalo_vasio8_driver64.dll");
    EXPECT_FALSE(unregisterRequested(" -fC:\\QL\\a.dll"));
    EXPECT_EQ(valueOf(" -u  -fC:\\QL\\a.dll"), "C:\\QL\\a.dll");
    EXPECT_TRUE(unregisterRequested(" -u  -fC:\\QL\\a.dll"));
    const char* vaio = cmdline::argumentsOf("-h -i -H -n");
    EXPECT_TRUE(cmdline::hasFlag(vaio, 'i'));
    EXPECT_TRUE(cmdline::hasFlag(vaio, 'h'));
    EXPECT_FALSE(cmdline::hasFlag(vaio, 'u'));
}

TEST(PayloadCommandLine, SkipsALeadingProgramPathEvenWithHyphens) {
    EXPECT_TRUE(unregisterRequested("C:\\my-utils\\qlregsvr64.exe -u -fC:\\x.dll"));
    EXPECT_FALSE(unregisterRequested("C:\\tools-u\\qlregsvr64.exe -fC:\\x.dll"));
    EXPECT_FALSE(unregisterRequested("\"C:\\a -u b\\qlregsvr64.exe\" -fC:\\x.dll"));
    EXPECT_EQ(valueOf("\"C:\\a -f b\\qlregsvr64.exe\" -fC:\\x.dll"), "C:\\x.dll");
    const char* vaio = cmdline::argumentsOf("C:\\set-up\\QLOrvaloVAIO_Setup_x64.exe -h -u -H");
    EXPECT_TRUE(cmdline::hasFlag(vaio, 'u'));
    EXPECT_FALSE(cmdline::hasFlag(vaio, 'i'));
}

TEST(PayloadCommandLine, PathRunsToTheEndTrimmedAndUnquoted) {
    EXPECT_EQ(valueOf("-f  C:\\with space\\m.dll  "), "C:\\with space\\m.dll");
    EXPECT_EQ(valueOf("tool.exe \" -u  -fC:\\q\\m.dll\""), "C:\\q\\m.dll");
    EXPECT_EQ(valueOf("-f\"C:\\quoted path\\m.dll\""), "C:\\quoted path\\m.dll");
    // An option-like text inside the path belongs to the path and requests nothing.
    EXPECT_EQ(valueOf("-fC:\\odd -u folder\\m.dll"), "C:\\odd -u folder\\m.dll");
    EXPECT_FALSE(unregisterRequested("-fC:\\odd -u folder\\m.dll"));
    // Upper-case options count as well.
    EXPECT_EQ(valueOf("-U -FC:\\m.dll"), "C:\\m.dll");
}

TEST(PayloadCommandLine, RefusesMissingEmptyOrOversizedValues) {
    EXPECT_EQ(valueOf(""), "<none>");
    EXPECT_EQ(valueOf(nullptr), "<none>");
    EXPECT_EQ(valueOf("-u"), "<none>");
    EXPECT_EQ(valueOf("-f"), "<none>");
    EXPECT_EQ(valueOf("-f   \"\"  "), "<none>");
    EXPECT_EQ(valueOf("-h x-fC:\\m.dll"), "<none>");  // not at the start of a word
    std::string longPath = "-fC:\\" + std::string(300, 'a');
    EXPECT_EQ(valueOf(longPath.c_str()), "<none>");
    EXPECT_FALSE(cmdline::hasFlag(cmdline::argumentsOf("-ui"), 'u'));  // whole word only
}
