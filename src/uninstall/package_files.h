// Removal of the packaged files from the install folder.
#pragma once

struct InstallerContext;

// Deletes installFolder\name for each entry of packageDirectory; a file that cannot be
// deleted (in use) is moved to its ".del" name, unless that name is taken.
void removePackageFiles(InstallerContext* context);
