// The record that the build completes after linking (install/program_seal.h): the stamp that
// proves this program's file, and the load configuration.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "install/program_seal.h"
#include "platform/platform.h"

namespace {

// DependentLoadFlags (this tool chain's winnt.h still calls it Reserved1): the libraries that
// the loader binds before the program runs, the system libraries' own imports among them,
// come from the system folder only. Windows 10 1607 and later honour it; older systems ignore
// it, and restrictDllSearch does what it can there.
// https://learn.microsoft.com/cpp/build/reference/dependentloadflag
#ifdef _WIN64
using LoadConfig = IMAGE_LOAD_CONFIG_DIRECTORY64;
constexpr DWORD LOAD_CONFIG_SIZE = sizeof(LoadConfig);
#else
// Up to the security cookie: the size that every x86 loader takes, with no safe exception
// handler table, as the program had none before.
using LoadConfig = IMAGE_LOAD_CONFIG_DIRECTORY32;
constexpr DWORD LOAD_CONFIG_SIZE = offsetof(LoadConfig, SEHandlerTable);
#endif
constexpr WORD SEARCH_SYSTEM32 = 0x800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

struct Seal {
    uint8_t mark[sizeof SEAL_MARK];
    uint32_t stampOffset;
    uint8_t stamp[32];
    alignas(8) LoadConfig loadConfig;
};
static_assert(offsetof(Seal, stampOffset) == SEAL_STAMP_OFFSET_AT);
static_assert(offsetof(Seal, stamp) == SEAL_STAMP_AT);
static_assert(offsetof(Seal, loadConfig) == SEAL_LOAD_CONFIG_AT);

constexpr Seal makeSeal() {
    Seal seal = {};
    for (size_t i = 0; i < sizeof SEAL_MARK; ++i) seal.mark[i] = SEAL_MARK[i];
    seal.loadConfig.Size = LOAD_CONFIG_SIZE;
    seal.loadConfig.Reserved1 = SEARCH_SYSTEM32;
    return seal;
}

[[gnu::used]] const Seal programSeal = makeSeal();

}  // namespace

namespace platform {

// The image of an elevated process is out of reach of the person's programs: a lower
// integrity level cannot write to a higher one's objects, whatever the discretionary rights.
// https://learn.microsoft.com/windows/win32/secauthz/mandatory-integrity-control
bool programStamp(uint8_t stamp[32], uint64_t* fileOffset) {
    const Seal* seal = &programSeal;
    asm("" : "+r"(seal));  // what the build wrote in the image, not the zeros above
    memcpy(stamp, seal->stamp, sizeof seal->stamp);
    *fileOffset = seal->stampOffset;
    return seal->stampOffset != 0;
}

}  // namespace platform
