// What the fake's files share: the machine's failure switches, its event log, and the few
// path and text helpers that more than one concern needs. Not for tests.
#pragma once
#include <string>

#include "platform/fake/fake_platform.h"

namespace fake {
std::string parentOf(const std::string& path);
bool validUtf8(const std::string& text);
// Whether the test made this call fail: "operation:path" (lower case) or "operation:*".
bool fails(const std::string& operation, const std::string& path);
void log(const std::string& event);
// The virtual clock moves on; on the window's thread, with its messages unread meanwhile.
void passTime(uint64_t ms);
// Whether the thread acts as the person and key lies in a folder only administrators change.
bool deniedToPerson(const std::string& key);
std::string narrow(const char16_t* text);  // ASCII of UTF-16; other characters as '?'
// GetWindowsDirectoryA and GetSystemDirectoryA: the length, or the size needed.
uint32_t folderText(const std::string& folder, char* out, uint32_t capacity);
}  // namespace fake
