#include "ui/win32/painting.h"

#include "app/context.h"
#include "app/status_label.h"
#include "ui/layout.h"

namespace {

constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF GREY = RGB(100, 100, 100);
constexpr int SKIN_BITMAP_ID = 101;

HFONT createArial(int height, int weight) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    lstrcpyA(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

RECT toRect(const Rect32& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void deleteObject(void*& object) {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    object = nullptr;
}

// Selects pen, brush and font into the DC for one routine and puts the previous ones back.
class DrawingTools {
public:
    DrawingTools(HDC dc, HGDIOBJ pen, HGDIOBJ brush, HGDIOBJ font)
        : dc_(dc),
          pen_(SelectObject(dc, pen)),
          brush_(SelectObject(dc, brush)),
          font_(SelectObject(dc, font)),
          mode_(SetBkMode(dc, TRANSPARENT)),
          color_(GetTextColor(dc)) {}
    ~DrawingTools() {
        SetTextColor(dc_, color_);
        SetBkMode(dc_, mode_);
        SelectObject(dc_, font_);
        SelectObject(dc_, brush_);
        SelectObject(dc_, pen_);
    }

private:
    HDC dc_;
    HGDIOBJ pen_, brush_, font_;
    int mode_;
    COLORREF color_;
};

void drawText(HDC dc, const char* text, const Rect32& where, COLORREF color, UINT format) {
    RECT rect = toRect(where);
    SetTextColor(dc, color);
    DrawTextA(dc, text, -1, &rect, format);
}

void roundButton(HDC dc, const WindowLayout& layout) {
    const Rect32& r = layout.buttonOutline;
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
}

}  // namespace

void loadWindowResources(InstallerContext* context) {
    context->fontBold = createArial(16, 800);
    context->fontOsLabel = createArial(28, 400);
    context->fontButton = createArial(40, 400);
    HBITMAP skin = LoadBitmapA(static_cast<HINSTANCE>(context->instanceHandle),
                               MAKEINTRESOURCEA(SKIN_BITMAP_ID));
    context->skinBitmap = skin;
    BITMAP info = {};
    if (skin && GetObjectA(skin, sizeof info, &info)) {
        context->skinWidth = info.bmWidth;
        context->skinHeight = info.bmHeight;
    }
    context->handCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
}

void releaseWindowResources(InstallerContext* context) {
    deleteObject(context->skinBitmap);
    deleteObject(context->fontBold);
    deleteObject(context->fontOsLabel);
    deleteObject(context->fontButton);
}

void paintBackground(InstallerContext* context, HDC dc) {
    HBITMAP skin = static_cast<HBITMAP>(context->skinBitmap);
    BITMAP info = {};
    if (!skin || !GetObjectA(skin, sizeof info, &info)) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, skin);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void paintWindow(InstallerContext* context, HDC dc) {
    WindowLayout layout = layoutFor(context->skinWidth, context->skinHeight);
    {
        DrawingTools tools(dc, GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
                           context->fontOsLabel);
        const char* label = osLabelFor(context->osCode);
        drawText(dc, label, layout.osLabelShadow, BLACK, DT_SINGLELINE);
        drawText(dc, label, layout.osLabel, WHITE, DT_SINGLELINE);
    }
    {
        DrawingTools tools(dc, GetStockObject(NULL_PEN), GetStockObject(WHITE_BRUSH),
                           context->fontBold);
        const Rect32& panel = layout.panelFill;
        Rectangle(dc, panel.left, panel.top, panel.right, panel.bottom);
        StatusLines lines;
        statusLinesFor(context->installed, &lines);
        drawText(dc, lines.line1, layout.statusLine1, BLACK, DT_SINGLELINE);
        drawText(dc, lines.line2, layout.statusLine2, GREY, DT_SINGLELINE);
    }
    drawButton(context, dc, false);
}

void drawButton(InstallerContext* context, HDC dc, bool pressed) {
    WindowLayout layout = layoutFor(context->skinWidth, context->skinHeight);
    context->buttonRect = layout.button;
    DrawingTools tools(dc, GetStockObject(BLACK_PEN),
                       GetStockObject(pressed ? BLACK_BRUSH : WHITE_BRUSH), context->fontButton);
    roundButton(dc, layout);
    drawText(dc, buttonLabelFor(context->installed), layout.button, pressed ? WHITE : BLACK,
             DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

const char* drawBusyButton(InstallerContext* context, HDC dc, int phase) {
    WindowLayout layout = layoutFor(context->skinWidth, context->skinHeight);
    context->buttonRect = layout.button;
    DrawingTools tools(dc, GetStockObject(BLACK_PEN), GetStockObject(BLACK_BRUSH),
                       context->fontButton);
    roundButton(dc, layout);
    if (phase == 1)
        drawText(dc, "Installing", layout.busyLabel, WHITE, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    static char label[STATUS_LABEL_MAX + 1];  // kept: the previous label while one is written
    copyStatusLabel(context, label);
    SelectObject(dc, context->fontBold);
    drawText(dc, label, layout.busyStatusLine, WHITE, DT_SINGLELINE | DT_CENTER);
    return label;
}
