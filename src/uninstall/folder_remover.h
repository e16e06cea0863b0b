// Removal of a folder with everything below it.
#pragma once

// Deletes the files and subfolders of folder depth first, then the folder itself; only for
// folders that only administrators can write. A folder link (junction or symbolic link) is
// removed as a link: what it points to is never entered. Names that end in a blank or a dot
// are left alone. Whatever cannot be removed stays, and with it the folders above.
void removeFolderTree(const char* folder);
