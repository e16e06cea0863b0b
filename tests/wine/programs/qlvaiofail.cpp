// Takes the VAIO setup program's place in an install folder once an install has put the real
// one there (an install writes the package's own just before it runs it), for the removals:
// appends "command line|current folder" to C:\vaio_runs.txt and fails with -1, as the real
// program does when its driver cannot be removed. First it runs the command that
// QL_STANDIN_RUN holds, if any: a probe of the setup's window while the setup waits for it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    if (const char* command = getenv("QL_STANDIN_RUN")) system(command);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    if (FILE* runs = fopen("C:\\vaio_runs.txt", "ab")) {
        fprintf(runs, "%s|%s\n", GetCommandLineA(), folder);
        fclose(runs);
    }
    return -1;
}
