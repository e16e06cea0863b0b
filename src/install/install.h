// The install procedure and the worker routine that runs it on its own thread.
#pragma once
#include <cstdint>

struct InstallerContext;

// Thread routine body: lowers its priority, runs the procedure with COM initialised, stores
// the result in procedureResult and exitCode, clears busy last. Returns 0.
uint32_t installWorker(InstallerContext* context);

// The ordered install steps: 1 on completion, -104 on completion without the VAIO driver
// (its setup program failed or did not run), -105 when it completed but could not place the
// setup program's copy (and so wrote no uninstall entry; it wins over -104),
// -100/-101/-102 when a step stops it.
int32_t runInstall(InstallerContext* context);
