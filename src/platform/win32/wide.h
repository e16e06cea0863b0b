// The program keeps its texts in UTF-8; Windows gets them in UTF-16, through its wide
// functions. An ANSI function would replace a name outside the ANSI code page by a look-alike
// ("best fit": "Łukasz" becomes "Lukasz"), so that another file, folder or key is named.
#pragma once
#include <windows.h>

#include <cstdint>

namespace platform {

// Room for the longest path the program handles, with its terminator.
constexpr int WIDE_CAPACITY = 2048;

// UTF-8 to UTF-16 with its terminator; false (and out empty) when the text is not valid
// UTF-8 or does not fit: such a text is never passed on cut or changed.
bool toWide(const char* text, wchar_t* out, int capacity);
// UTF-16 to UTF-8 with its terminator; false (and out empty) likewise.
bool fromWide(const wchar_t* text, char* out, int capacity);

// A path that a Windows call wrote into text (room units), given with that call's result (its
// length, or room or more when cut), in UTF-8: its length; capacity when it was cut or does not
// fit, 0 when the call failed. out is empty unless the path is there whole.
uint32_t pathFromWide(const wchar_t* text, UINT result, UINT room, char* out, uint32_t capacity);

// A text converted on the stack, for one call: `ok` false when it could not be.
struct Wide {
    wchar_t text[WIDE_CAPACITY];
    bool ok;
    explicit Wide(const char* utf8) : ok(toWide(utf8, text, WIDE_CAPACITY)) {}
};

}  // namespace platform
