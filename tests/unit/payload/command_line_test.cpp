// Option reading of the payload tools (qlregsvr64, the VAIO setup program): with and without
// a program path in front, with the setup program's exact spacing, and with paths that hold
// blanks, hyphens and quotes.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include "../../../payload/common/command_line.h"

namespace {

// The module path after -f ("<none>" without one) and whether a whole-word -u precedes it.
std::pair<std::string, bool> options(const char* commandLine) {
    char out[260];
    const char* arguments = cmdline::argumentsOf(commandLine);
    bool unregister = cmdline::hasFlag(arguments, 'u', cmdline::findOption(arguments, 'f', false));
    return {cmdline::optionValue(arguments, 'f', out, sizeof out) ? out : "<none>", unregister};
}

}  // namespace

TEST(PayloadCommandLine, ModulePathAndUnregisterFlag) {
    const std::tuple<const char*, const char*, bool> cases[] = {
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
        {"-f   \"\"  ", "<none>", false},  // nothing left of the value
        {"-h x-fC:\\m.dll", "<none>", false},  // not at the start of a word
        // The VAIO setup program's flags: whole words only.
        {"-h -i -H -n", "<none>", false},
        {"C:\\set-up\\QLOrvaloVAIO_Setup_x64.exe -h -u -H", "<none>", true},
        {"-ui", "<none>", false},
    };
    for (const auto& [line, path, unregister] : cases)
        EXPECT_EQ(options(line), (std::pair<std::string, bool>(path, unregister))) << line;
    EXPECT_EQ(options(nullptr).first, "<none>");
    EXPECT_EQ(options(("-fC:\\" + std::string(300, 'a')).c_str()).first, "<none>");
}
