// The setup version, defined once: the program's texts and the uninstall entry take it from
// here, the resource compiler builds the version record from it (resources/setup.rc) and the
// build writes it into the winget manifest. Plain macros, as the resource compiler reads them.
#pragma once

#define SETUP_VERSION_MAJOR 1
#define SETUP_VERSION_MINOR 0
#define SETUP_VERSION_PATCH 2
#define SETUP_VERSION_BUILD 9

#define SETUP_VERSION_DIGITS_(n) #n
#define SETUP_VERSION_DIGITS(n) SETUP_VERSION_DIGITS_(n)
// "1.0.2.9"
#define SETUP_VERSION_TEXT                                                                  \
    SETUP_VERSION_DIGITS(SETUP_VERSION_MAJOR) "." SETUP_VERSION_DIGITS(SETUP_VERSION_MINOR) \
    "." SETUP_VERSION_DIGITS(SETUP_VERSION_PATCH) "." SETUP_VERSION_DIGITS(SETUP_VERSION_BUILD)
