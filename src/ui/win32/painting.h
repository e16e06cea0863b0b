// Everything the installer window shows, drawn with GDI from the skin's size.
#pragma once
#include <windows.h>

struct InstallerContext;

void loadWindowResources(InstallerContext* context);
// Deletes each object that is set and clears its field; safe to call twice.
void releaseWindowResources(InstallerContext* context);

void paintBackground(InstallerContext* context, HDC dc);
void paintWindow(InstallerContext* context, HDC dc);
void drawButton(InstallerContext* context, HDC dc, bool pressed);
// Gives the status label it drew (kept until the next call).
const char* drawBusyButton(InstallerContext* context, HDC dc, int phase);
