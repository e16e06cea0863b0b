// Stand-in for the product's windowed programs (the application in both widths, the screen
// tool and the VAIO control panel). Each opens the window the setup program looks for and
// ends when it receives WM_DESTROY, which is how the setup program closes running copies.
// The class name and title come from compile definitions.
#include <windows.h>

#ifndef QL_WINDOW_CLASS
#error QL_WINDOW_CLASS must name the window class
#endif
#ifndef QL_WINDOW_TITLE
#error QL_WINDOW_TITLE must give the window title
#endif

namespace {

void paintCaption(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, QL_WINDOW_TITLE, -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintCaption(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = QL_WINDOW_CLASS;
    if (!RegisterClassA(&windowClass)) return 1;

    HWND window = CreateWindowExA(0, QL_WINDOW_CLASS, QL_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 240, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
