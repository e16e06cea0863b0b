// What the installer window tells besides its painting: screen readers, through its
// accessibility object (accessible_window.cpp), and the taskbar button's progress
// (taskbar_button.cpp). Each is one call from the window procedure.
#pragma once
#include <windows.h>

#include "ui/startup_command.h"

// Messages the window procedure does not handle itself: WM_GETOBJECT (the answer, or 0 for
// the system's default), WM_SETFOCUS, and the taskbar's; 0 for everything else.
LRESULT answerAssistiveMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// On each blink of the busy button, with the status label it has just drawn.
void busyButtonDrawn(HWND window, const char* label);
// A procedure is about to run on the window's thread (the install's progress comes with the
// blinks).
void procedureStarting(HWND window, Procedure procedure);
// A command that the window has decided on, before it carries it out and opens its box.
void commandArriving(HWND window, WPARAM wParam, LPARAM lParam, Procedure procedure);
