// The copy of the setup program that the install leaves in the install folder, for the
// uninstall entry to run. It is written from the file that was started, held open since
// start-up, and only once the digest stamped into the running program proves that file to be
// this program: the folder that the setup usually runs from is open to the user's unelevated
// programs, which could put another program in its place before the hold, or meanwhile.
#pragma once

// Opens the program's own file into startedProgram: held if it can be, else for its identity.
void openStartedProgram(const char* path);

// Puts the started program at copyPath: true when it is in place, written in full or because
// it runs from there already (the same file, however the paths are spelled), and proven to be
// the program that runs by the digest stamped into it; nothing is written otherwise. setupPath
// is where it was started from, needed only when the start could not hold it.
bool placeSetupCopy(const char* setupPath, const char* copyPath);
