// Stands in for the browser in the end-to-end tests: registered as the https handler, it
// appends each address it is asked to open to C:\urls.txt, one per line (\n only), followed by
// a blank and the file name of the program that started it, the one that opened the page.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>

static bool findProcess(HANDLE snapshot, DWORD id, PROCESSENTRY32* entry) {
    entry->dwSize = sizeof *entry;
    for (BOOL more = Process32First(snapshot, entry); more; more = Process32Next(snapshot, entry))
        if (entry->th32ProcessID == id) return true;
    return false;
}

int main(int argc, char** argv) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 self, parent;  // "?" for a parent that has ended already
    bool ok = findProcess(snapshot, GetCurrentProcessId(), &self) &&
                 findProcess(snapshot, self.th32ParentProcessID, &parent);
    FILE* file = fopen("C:\\urls.txt", "ab");
    if (!file) return 1;
    for (int i = 1; i < argc; ++i) fprintf(file, "%s %s\n", argv[i], ok ? parent.szExeFile : "?");
    fclose(file);
    return 0;
}
