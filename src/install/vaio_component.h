// What the installer fixes of the VAIO driver component: its device interface, its two
// control codes and the service name that marks its audio endpoints. The driver itself is
// a separate program that keeps its own copy of these values.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// {66CAA746-1518-4C53-B6E6-9E550A734FD1}
inline constexpr platform::Guid VAIO_INTERFACE_CLASS = {
    0x66CAA746, 0x1518, 0x4C53, {0xB6, 0xE6, 0x9E, 0x55, 0x0A, 0x73, 0x4F, 0xD1}};

// CTL_CODE(FILE_DEVICE_UNKNOWN, 0x810 / 0x814, METHOD_BUFFERED, FILE_ANY_ACCESS)
inline constexpr uint32_t VAIO_QUERY_CODE = 0x222040;          // 4-byte answer, not used
inline constexpr uint32_t VAIO_STREAM_STATUS_CODE = 0x222050;  // 16 bytes in, 416 out
inline constexpr uint32_t VAIO_STREAM_RECORD_SIZE = 416;
inline constexpr uint32_t VAIO_FIRST_PIN_OFFSET = 16;
inline constexpr uint32_t VAIO_SECOND_PIN_OFFSET = 28;
inline constexpr int VAIO_STREAM_COUNT = 8;
inline constexpr int VAIO_PIN_COUNT = 2 * VAIO_STREAM_COUNT;

// The driver's kernel service (its key below HKEY_LOCAL_MACHINE), and the hardware ID that
// the driver package's INF gives its device.
inline constexpr const char* VAIO_SERVICE_KEY = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIO";
inline constexpr const char* VAIO_HARDWARE_ID = "ROOT\\QLOrvaloVAIO";

// The package entries of the component: the driver files (4 to 7) and the setup program (9).
inline constexpr uint32_t VAIO_PACKAGE_ENTRIES = 0xF0 | 1u << 9;
