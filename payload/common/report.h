// Messages for whoever started a tool. The tools are GUI programs so that no console window
// flashes up when the setup program starts them; they still write to a standard error
// handle when they were given one (a script, a terminal).
#pragma once
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

inline void reportError(const char* format, ...) {
    char text[1200];
    va_list args;
    va_start(args, format);
    int length = _vsnprintf(text, sizeof text - 2, format, args);
    va_end(args);
    if (length < 0) return;
    if (length > (int)sizeof text - 3) length = (int)sizeof text - 3;
    text[length++] = '\r';
    text[length++] = '\n';
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE) WriteFile(handle, text, (DWORD)length, &written, nullptr);
}
