#include "app/context.h"

int32_t exitCode = 0;
int32_t silentFlag = 0;
int32_t installFlag = 0;
int32_t uninstallFlag = 0;
StartedProgram startedProgram = {};

char commonProgramsFolder[PATH_BYTES];
char startupFolder[PATH_BYTES];
