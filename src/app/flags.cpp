#include "app/flags.h"

#include "app/context.h"

void parseCommandLine(const char* text) {
    if (!text || !text[0] || !text[1]) return;
    for (const char* at = text; *at; ++at) {
        if (*at != '-') continue;
        char letter = at[1];
        if (!letter) return;
        if (letter == 'h' || letter == 'H') silentFlag = 1;
        if (letter == 'u' || letter == 'U') uninstallFlag = 1;
        if (letter == 'i' || letter == 'I') installFlag = 1;
        ++at;  // the letter is consumed: in "-hi" only the h counts, and "--i" sets nothing
    }
}
