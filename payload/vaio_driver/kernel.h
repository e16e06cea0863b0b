// The kernel's headers for the VAIO driver, from mingw-w64's DDK, for both processors.
//
// The DDK headers know x86, x86-64 and 32-bit ARM, and stop at ARM64. ARM64 shares x86-64's
// structure layouts (64-bit pointers, natural alignment), which the headers select with
// _AMD64_; their per-processor block (IRQL and spin-lock intrinsics, shared user data) is
// chosen by _M_ARM, whose file, arm64/armddk.h, is empty: the driver uses none of it. The
// headers that hold processor code (intrin.h, ntdef.h) come first, while they see ARM64.
#pragma once

#if defined(__aarch64__)
#include <intrin.h>
#include <ntdef.h>
#define _AMD64_
#define _M_ARM 100
#include <ntddk.h>
#undef _M_ARM
#undef _AMD64_
#else
#include <ntddk.h>
#endif

// What the kernel and the driver exchange lies as the x86-64 headers lay it out; on ARM64
// it must come out the same.
#define KERNEL_LAYOUT(check) _Static_assert(check, #check)
KERNEL_LAYOUT(sizeof(UNICODE_STRING) == 16 && sizeof(OBJECT_ATTRIBUTES) == 48);
KERNEL_LAYOUT(FIELD_OFFSET(KEY_VALUE_PARTIAL_INFORMATION, Data) == 12);
KERNEL_LAYOUT(FIELD_OFFSET(DRIVER_OBJECT, DriverUnload) == 0x68);
KERNEL_LAYOUT(FIELD_OFFSET(DRIVER_OBJECT, MajorFunction) == 0x70);
KERNEL_LAYOUT(FIELD_OFFSET(IRP, AssociatedIrp) == 0x18 && FIELD_OFFSET(IRP, IoStatus) == 0x30);
KERNEL_LAYOUT(FIELD_OFFSET(IRP, Tail.Overlay.CurrentStackLocation) == 0xB8);
KERNEL_LAYOUT(sizeof(IO_STACK_LOCATION) == 0x48);
KERNEL_LAYOUT(FIELD_OFFSET(IO_STACK_LOCATION, Parameters.DeviceIoControl.OutputBufferLength) == 8);
KERNEL_LAYOUT(FIELD_OFFSET(IO_STACK_LOCATION, Parameters.DeviceIoControl.InputBufferLength) == 16);
KERNEL_LAYOUT(FIELD_OFFSET(IO_STACK_LOCATION, Parameters.DeviceIoControl.IoControlCode) == 24);
#undef KERNEL_LAYOUT
