#include "uninstall/key_remover.h"

int32_t removeKeyTree(platform::Handle root, const char* subkey) {
    platform::Handle key = platform::regOpen(root, subkey, platform::regDelete);
    if (!key) return 0;
    char child[1024];
    int32_t result = 1;
    for (;;) {
        platform::EnumResult found = platform::regEnumSubkey(key, 0, child, sizeof child);
        // A subkey that survives its deletion ends the walk: index 0 would name it again for
        // ever, and the key cannot be deleted while it holds it.
        if (found == platform::EnumResult::ok && removeKeyTree(key, child) == 1) continue;
        if (found == platform::EnumResult::ok) result = 0;
        if (found == platform::EnumResult::noMore)
            result = platform::regDeleteSubkey(root, subkey) ? 1 : 0;
        break;  // any other enumeration failure ends the removal with 1
    }
    platform::regClose(key);
    return result;
}
