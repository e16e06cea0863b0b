// Stands in for the browser in the end-to-end tests: registered as the https handler, it
// appends each address it is asked to open, one per line (\n only), to C:\urls.txt.
#include <cstdio>

int main(int argc, char** argv) {
    FILE* file = fopen("C:\\urls.txt", "ab");
    if (!file) return 1;
    for (int i = 1; i < argc; ++i) fprintf(file, "%s\n", argv[i]);
    fclose(file);
    return 0;
}
