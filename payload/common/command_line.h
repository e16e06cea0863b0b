// Command-line reading shared by the small payload tools. They are started two ways: by the
// setup program, which passes only the options (no program name in front), and by hand or
// by scripts, where the program path comes first and may itself hold hyphens. So the first
// word is skipped only when it does not look like an option, and an option counts only at
// the start of a word.
#pragma once
#include <string.h>

namespace cmdline {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline const char* skipBlanks(const char* p) {
    while (*p && isBlank(*p)) ++p;
    return p;
}

// Start of the arguments: past the program path when one leads the text.
inline const char* argumentsOf(const char* commandLine) {
    const char* p = skipBlanks(commandLine ? commandLine : "");
    if (*p == '-' || *p == '/' || *p == 0) return p;
    if (*p == '"') {
        const char* close = strchr(p + 1, '"');
        return close ? close + 1 : p + strlen(p);
    }
    while (*p && !isBlank(*p)) ++p;
    return p;
}

// The word that starts with "-<letter>" (either case) before `end` (null: the whole text),
// or null. With wholeWord the option must end there ("-u"); otherwise it may run on
// ("-fC:\\path").
inline const char* findOption(const char* arguments, char letter, bool wholeWord,
                              const char* end = nullptr) {
    char lower = (char)(letter | 0x20);
    for (const char* p = arguments; *p && p != end; ++p) {
        bool wordStart = p == arguments || isBlank(p[-1]);
        if (!wordStart || p[0] != '-' || (char)(p[1] | 0x20) != lower) continue;
        if (!wholeWord || p[2] == 0 || isBlank(p[2])) return p;
    }
    return nullptr;
}

inline bool hasFlag(const char* arguments, char letter, const char* end = nullptr) {
    return findOption(arguments, letter, true, end) != nullptr;
}

// Copies the text after "-<letter>" up to the end, without surrounding blanks and without
// quotes (a Windows path never holds one, and a caller may have quoted the whole argument
// list). Returns false when the option is missing, the value is empty or does not fit.
inline bool optionValue(const char* arguments, char letter, char* out, size_t outSize) {
    const char* option = findOption(arguments, letter, false);
    if (!option || outSize == 0) return false;
    size_t length = 0;
    for (const char* p = option + 2; *p; ++p) {
        if (*p == '"' || (length == 0 && isBlank(*p))) continue;
        if (length + 1 >= outSize) return false;
        out[length++] = *p;
    }
    while (length > 0 && isBlank(out[length - 1])) --length;
    out[length] = 0;
    return length > 0;
}

}  // namespace cmdline
