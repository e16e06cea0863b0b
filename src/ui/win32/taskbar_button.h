// The window's taskbar button: the progress it shows (ui/taskbar_progress), once the taskbar
// has said that the button is in place.
#pragma once
#include <windows.h>

#include <cstdint>

// Before the window shows: lets the taskbar's message through to this elevated window.
void allowTaskbarButtonMessage(HWND window);
// Whether the message is the taskbar's, which is then answered.
bool answerTaskbarButtonCreated(HWND window, UINT message);
void showTaskbarLabel(HWND window, const char* label);
void showTaskbarRemoval(HWND window);
void showTaskbarNotice(HWND window, int32_t code);
