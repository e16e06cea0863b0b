// Takes the VAIO setup program's place in an install folder once an install has put the real
// one there (an install writes the package's own just before it runs it), for the removals:
// appends "command line|current folder" to C:\vaio_runs.txt and fails with -1, as the real
// program does when its driver cannot be removed.
#include <windows.h>

#include <cstdio>

int main() {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    if (FILE* runs = fopen("C:\\vaio_runs.txt", "ab")) {
        fprintf(runs, "%s|%s\n", GetCommandLineA(), folder);
        fclose(runs);
    }
    return -1;
}
