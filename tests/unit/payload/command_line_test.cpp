// Option reading of the payload tools (qlregsvr64, the VAIO setup program): with and without
// a program path in front, with the setup program's exact spacing, and with paths that hold
// blanks, hyphens and quotes.
#include <gtest/gtest.h>
#include <string>
#include "../../../payload/common/command_line.h"

namespace {

std::string valueOf(const char* commandLine) {
    char out[260];
    const char* arguments = cmdline::argumentsOf(commandLine);
    return cmdline::optionValue(arguments, 'f', out, sizeof out) ? out : "<none>";
}

bool unregisterRequested(const char* commandLine) {
    const char* arguments = cmdline::argumentsOf(commandLine);
    return cmdline::hasFlag(arguments, 'u', cmdline::findOption(arguments, 'f', false));
}

}  // namespace

TEST(PayloadCommandLine, ModulePathAndUnregisterFlag) {
    struct Case {
        const char* line;
        const char* path;
        bool unregister;
    } cases[] = {
        {" -fC:\\QL\\a b.dll", "C:\\QL\\a b.dll", false},  // the setup program's exact forms
        {" -u  -fC:\\QL\\a.dll", "C:\\QL\\a.dll", true},
        {"C:\\my-utils\\qlregsvr64.exe -u -fC:\\x.dll", "C:\\x.dll", true},  // program path skipped
        {"C:\\tools-u\\qlregsvr64.exe -fC:\\x.dll", "C:\\x.dll", false},
        {"\"C:\\a -u -f b\\qlregsvr64.exe\" -fC:\\x.dll", "C:\\x.dll", false},
        {"-f  C:\\with space\\m.dll  ", "C:\\with space\\m.dll", false},  // trimmed
        {"tool.exe \" -u  -fC:\\q\\m.dll\"", "C:\\q\\m.dll", true},
        {"-f\"C:\\quoted path\\m.dll\"", "C:\\quoted path\\m.dll", false},
        {"-fC:\\odd -u folder\\m.dll", "C:\\odd -u folder\\m.dll", false},  // inside the path
        {"-U -FC:\\m.dll", "C:\\m.dll", true},
        {"", "<none>", false},
        {"-u", "<none>", true},
        {"-f", "<none>", false},
        {"-f   \"\"  ", "<none>", false},
        {"-h x-fC:\\m.dll", "<none>", false},  // not at the start of a word
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueOf(c.line), c.path) << c.line;
        EXPECT_EQ(unregisterRequested(c.line), c.unregister) << c.line;
    }
    EXPECT_EQ(valueOf(nullptr), "<none>");
    EXPECT_EQ(valueOf(("-fC:\\" + std::string(300, 'a')).c_str()), "<none>");
}

TEST(PayloadCommandLine, VaioSetupFlagsAreWholeWords) {
    const char* install = cmdline::argumentsOf("-h -i -H -n");
    EXPECT_TRUE(cmdline::hasFlag(install, 'i') && cmdline::hasFlag(install, 'h'));
    EXPECT_FALSE(cmdline::hasFlag(install, 'u'));
    const char* remove = cmdline::argumentsOf("C:\\set-up\\QLOrvaloVAIO_Setup_x64.exe -h -u -H");
    EXPECT_TRUE(cmdline::hasFlag(remove, 'u'));
    EXPECT_FALSE(cmdline::hasFlag(remove, 'i'));
    EXPECT_FALSE(cmdline::hasFlag(cmdline::argumentsOf("-ui"), 'u'));
}
