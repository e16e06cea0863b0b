// The three command-line flags: "-h" silent, "-i" install at once, "-u" uninstall at once.
#pragma once

// Sets silentFlag, installFlag and uninstallFlag from the arguments text (without the program
// path). A "-" anywhere counts, even inside a word or a path; flags only accumulate.
void parseCommandLine(const char* text);
