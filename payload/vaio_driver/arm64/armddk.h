/* The DDK headers' per-processor block for the ARM64 build of the VAIO driver (see
   ../kernel.h): empty, since the driver uses no IRQL, spin-lock or processor intrinsic. */
