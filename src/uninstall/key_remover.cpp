#include "uninstall/key_remover.h"

int32_t removeKeyTree(platform::Handle root, const char* subkey) {
    platform::Handle key = platform::regOpen(root, subkey, platform::regDelete);
    if (!key) return 0;
    char child[1024];
    platform::EnumResult found;
    // A subkey that survives its removal ends the walk: index 0 would name it again for ever,
    // and the key cannot be deleted while it holds it. A key that cannot be listed is not
    // deleted either, and says so, which ends the walk above it in turn.
    do
        found = platform::regEnumSubkey(key, 0, child, sizeof child);
    while (found == platform::EnumResult::ok && removeKeyTree(key, child) == 1);
    int32_t result =
        found == platform::EnumResult::noMore && platform::regDeleteSubkey(root, subkey) ? 1 : 0;
    platform::regClose(key);
    return result;
}
