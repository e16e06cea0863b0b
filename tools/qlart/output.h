// Writes a file only when its content differs from what is already there, so that unchanged
// artwork keeps its time stamp and does not relink the program.
#pragma once
#include "image.h"

// 1 written, 0 already up to date, -1 failure.
int writeIfChanged(const char* path, const Bytes& content);
