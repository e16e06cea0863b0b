// The person's own folders, which their own registry hive names: the person can change them
// while the removal works, and make them lead anywhere.
#pragma once
#include "platform/platform.h"

// The folder at path, opened from its drive's root one name at a time without passing any
// link (platform::openFolderIn); nullptr for anything but a plain "X:\name\name..." path, or
// when a name on the way is refused.
platform::Handle openUserFolder(const char* path);

// Runs work with the signed-in person's own rights, or not at all where this process is
// elevated from a person whose own rights it cannot take.
template <typename Work>
void asPerson(Work work) {
    if (platform::actAsPerson() != platform::PersonRights::unavailable) work();
    platform::actAsProcess();
}
