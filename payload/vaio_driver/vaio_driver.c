// qlorvalovaio64_win10.sys (x86-64) and qlorvalovaio64arm_win10.sys (ARM64): a kernel-mode
// stand-in for the VAIO driver. It is not an audio driver; it gives the setup program what it
// talks to: a device behind the VAIO control interface that answers the query and the stream
// status requests. The first query starts the streams: each stream's two pin values then rise
// and settle at 5000 or more a few seconds later, the streams one after the other.
//
// Its setup program creates the interface and tells the driver, in the service's
// "Parameters" key, where it lives: "SymbolicLink" (the interface's path in the "\??\" form,
// which the driver links to its device) and "ControlKey" (the interface's "#\Control" key,
// where the driver marks the interface present with "Linked" = 1 while it runs; the key is
// volatile and goes when the driver stops).
#include "kernel.h"

#define QUERY_CODE CTL_CODE(FILE_DEVICE_UNKNOWN, 0x810, METHOD_BUFFERED, FILE_ANY_ACCESS)
#define STREAM_STATUS_CODE CTL_CODE(FILE_DEVICE_UNKNOWN, 0x814, METHOD_BUFFERED, FILE_ANY_ACCESS)
#define STREAM_COUNT 8
#define RECORD_SIZE 416
#define FIRST_PIN_OFFSET 16
#define SECOND_PIN_OFFSET 28
#define VERSION 0x01000209
#define PATH_CHARS 512

static WCHAR linkText[PATH_CHARS], controlText[PATH_CHARS];
static UNICODE_STRING linkName, controlKeyName;
static PDEVICE_OBJECT device;
static LARGE_INTEGER started, frequency;  // started: 0 until the first query

// A REG_SZ of the service's Parameters key into out (PATH_CHARS characters).
static NTSTATUS readParameter(PUNICODE_STRING serviceKey, PCWSTR name, WCHAR* out,
                              UNICODE_STRING* text) {
    WCHAR pathText[PATH_CHARS];
    UNICODE_STRING path = {0, sizeof pathText, pathText}, valueName;
    RtlAppendUnicodeStringToString(&path, serviceKey);
    NTSTATUS status = RtlAppendUnicodeToString(&path, L"\\Parameters");
    if (!NT_SUCCESS(status)) return status;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &path, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                               NULL);
    HANDLE key;
    status = ZwOpenKey(&key, KEY_READ, &attributes);
    if (!NT_SUCCESS(status)) return status;
    static UCHAR buffer[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + PATH_CHARS * sizeof(WCHAR)];
    KEY_VALUE_PARTIAL_INFORMATION* value = (KEY_VALUE_PARTIAL_INFORMATION*)buffer;
    ULONG size = 0;
    RtlInitUnicodeString(&valueName, name);
    status =
        ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, buffer, sizeof buffer, &size);
    ZwClose(key);
    if (!NT_SUCCESS(status)) return status;
    if (value->Type != REG_SZ || value->DataLength < sizeof(WCHAR) ||
        value->DataLength > (PATH_CHARS - 1) * sizeof(WCHAR))
        return STATUS_OBJECT_TYPE_MISMATCH;
    RtlCopyMemory(out, value->Data, value->DataLength);
    out[value->DataLength / sizeof(WCHAR)] = 0;
    RtlInitUnicodeString(text, out);
    return STATUS_SUCCESS;
}

// Marks the interface present (a volatile "Control" key with "Linked" = 1) or takes the mark
// away again.
static NTSTATUS markLinked(BOOLEAN linked) {
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &controlKeyName,
                               OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
    HANDLE key;
    NTSTATUS status =
        ZwCreateKey(&key, KEY_ALL_ACCESS, &attributes, 0, NULL, REG_OPTION_VOLATILE, NULL);
    if (!NT_SUCCESS(status)) return status;
    if (linked) {
        UNICODE_STRING name;
        ULONG one = 1;
        RtlInitUnicodeString(&name, L"Linked");
        status = ZwSetValueKey(key, &name, 0, REG_DWORD, &one, sizeof one);
    } else {
        status = ZwDeleteKey(key);
    }
    ZwClose(key);
    return status;
}

// Stream s's pins climb from 0 and settle 3 s + s/2 s after the start: 5000 + 10 s + pin.
static ULONG pinValue(ULONG stream, ULONG pin) {
    if (started.QuadPart == 0) return 0;
    LARGE_INTEGER now = KeQueryPerformanceCounter(NULL);
    ULONGLONG elapsedMs = (ULONGLONG)(now.QuadPart - started.QuadPart) * 1000 /
                          (ULONGLONG)(frequency.QuadPart ? frequency.QuadPart : 1);
    ULONGLONG settleMs = 3000 + 500 * (ULONGLONG)stream;
    if (elapsedMs >= settleMs) return 5000 + 10 * stream + pin;
    return (ULONG)(elapsedMs * 5000 / settleMs);
}

static NTSTATUS answer(PIO_STACK_LOCATION stack, UCHAR* buffer, ULONG_PTR* size) {
    ULONG in = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG out = stack->Parameters.DeviceIoControl.OutputBufferLength;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
        case QUERY_CODE:
            if (out < sizeof(ULONG)) return STATUS_BUFFER_TOO_SMALL;
            if (started.QuadPart == 0) started = KeQueryPerformanceCounter(&frequency);
            *(ULONG*)buffer = VERSION;
            *size = sizeof(ULONG);
            return STATUS_SUCCESS;
        case STREAM_STATUS_CODE: {
            if (in < 16 || out < RECORD_SIZE) return STATUS_BUFFER_TOO_SMALL;
            ULONG stream = *(ULONG*)buffer;
            if (stream >= STREAM_COUNT) return STATUS_INVALID_PARAMETER;
            RtlZeroMemory(buffer, RECORD_SIZE);
            ((ULONG*)buffer)[0] = stream;
            ((ULONG*)buffer)[1] = RECORD_SIZE;
            *(ULONG*)(buffer + FIRST_PIN_OFFSET) = pinValue(stream, 0);
            *(ULONG*)(buffer + SECOND_PIN_OFFSET) = pinValue(stream, 1);
            *size = RECORD_SIZE;
            return STATUS_SUCCESS;
        }
        default:
            return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR size) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? size : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS openOrClose(PDEVICE_OBJECT unused, PIRP irp) {
    (void)unused;
    return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS control(PDEVICE_OBJECT unused, PIRP irp) {
    (void)unused;
    ULONG_PTR size = 0;
    NTSTATUS status =
        answer(IoGetCurrentIrpStackLocation(irp), (UCHAR*)irp->AssociatedIrp.SystemBuffer, &size);
    return complete(irp, status, size);
}

static void unload(PDRIVER_OBJECT driver) {
    (void)driver;
    markLinked(FALSE);
    IoDeleteSymbolicLink(&linkName);
    IoDeleteDevice(device);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING serviceKey) {
    NTSTATUS status = readParameter(serviceKey, L"SymbolicLink", linkText, &linkName);
    if (NT_SUCCESS(status))
        status = readParameter(serviceKey, L"ControlKey", controlText, &controlKeyName);
    if (!NT_SUCCESS(status)) return status;

    UNICODE_STRING deviceName;
    RtlInitUnicodeString(&deviceName, L"\\Device\\QLOrvaloVAIO");
    status = IoCreateDevice(driver, 0, &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = openOrClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = openOrClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = control;
    driver->DriverUnload = unload;
    markLinked(TRUE);
    return STATUS_SUCCESS;
}
