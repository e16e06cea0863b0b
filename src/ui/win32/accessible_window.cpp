// The installer window's accessibility object: the parts of its client area
// (ui/accessible_parts) behind Active Accessibility's IAccessible, the client area itself
// through the system's standard object for it. The library that hands objects out (oleacc) is
// no KnownDLL: it is loaded from the system folder when a screen reader first asks, and kept.
#include <windows.h>
// after windows.h, which it needs
#include <oleacc.h>

#include <cstdio>
#include <cstring>

#include "app/system_libraries.h"
#include "platform/win32/wide.h"
#include "ui/accessible_parts.h"
#include "ui/win32/assistance.h"
#include "ui/win32/taskbar_button.h"
#include "ui/win32/window.h"

namespace {

InstallerContext* const context = &installerContext;

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using StandardObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

HMODULE oleacc = nullptr;

template <typename Function>
Function oleaccFunction(const char* name) {
    if (!oleacc) oleacc = static_cast<HMODULE>(loadSystemLibrary("OLEACC.DLL"));
    if (!oleacc) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(oleacc, name)));
}

// The busy button as the blink timer drew it last: its name stays with what was painted.
bool busyShown = false;
char busyLabel[sizeof ShownWindow::busyLabel];  // copied whole into the shown window's

ShownWindow shownNow(HWND window) {
    ShownWindow shown = {};
    shown.skinWidth = context->skinWidth;
    shown.skinHeight = context->skinHeight;
    shown.installed = context->installed;
    shown.inputRefused = installerRefusesInput();
    shown.focused = GetFocus() == window;
    shown.busyShown = busyShown;
    memcpy(shown.busyLabel, busyLabel, sizeof busyLabel);
    return shown;
}

// The part a child id names: PART_NONE for anything but this object's ids.
int32_t partOf(const VARIANT& child) {
    if (child.vt != VT_I4 || child.lVal < PART_CLIENT || child.lVal > PART_COUNT) return PART_NONE;
    return child.lVal;
}

void setPart(VARIANT* out, int32_t part) {
    out->vt = part == PART_NONE ? VT_EMPTY : VT_I4;
    out->lVal = part;
}

HRESULT textOut(const char* text, BSTR* out) {
    WCHAR wide[PART_NAME_MAX];
    *out = platform::toWide(text, wide, PART_NAME_MAX) ? SysAllocString(wide) : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

// One object for the process's life, handed out to every client; the calls come in on the
// window's thread.
class AccessibleWindow final : public IAccessible {
public:
    HWND window = nullptr;
    IAccessible* standard = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        *out = nullptr;
        if (id != IID_IUnknown && id != IID_IDispatch && id != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static: never deleted
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // Screen readers call IAccessible itself; there is no type library to dispatch through.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        *count = PART_COUNT;
        return S_OK;
    }
    // The parts are simple elements, known by their child ids alone.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        *out = nullptr;
        int32_t part = partOf(child);
        if (part == PART_CLIENT) return standard->get_accChild(child, out);
        return part == PART_NONE ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        *out = nullptr;
        int32_t part = partOf(child);
        if (part <= PART_CLIENT) return part ? E_INVALIDARG : standard->get_accName(child, out);
        char name[PART_NAME_MAX];
        partName(shownNow(window), part, name);
        return textOut(name, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return forClientOnly(child, out, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return forClientOnly(child, out, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return forClientOnly(child, out, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return forClientOnly(child, out, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        *file = nullptr;
        int32_t part = partOf(child);
        if (part == PART_CLIENT) return standard->get_accHelpTopic(file, child, topic);
        return part == PART_NONE ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        int32_t part = partOf(child);
        if (part <= PART_CLIENT) return part ? E_INVALIDARG : standard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = partRole(part);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        int32_t part = partOf(child);
        if (part <= PART_CLIENT) return part ? E_INVALIDARG : standard->get_accState(child, state);
        state->vt = VT_I4;
        state->lVal = LONG(partState(shownNow(window), part));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        setPart(focus, focusedPart(shownNow(window)));
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        if (partOf(child) == PART_BUTTON) return textOut("Press", out);
        return forClientOnly(child, out, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        int32_t part = partOf(child);
        if (part == PART_CLIENT) return standard->accSelect(flags, child);
        return part == PART_NONE ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height,
                                          VARIANT child) override {
        int32_t part = partOf(child);
        if (part <= PART_CLIENT)
            return part ? E_INVALIDARG : standard->accLocation(x, y, width, height, child);
        Rect32 r = partRect(shownNow(window), part);
        POINT origin = {r.left, r.top};
        ClientToScreen(window, &origin);
        *x = origin.x;
        *y = origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT from, VARIANT* to) override {
        to->vt = VT_EMPTY;
        int32_t part = partOf(from);
        if (part == PART_NONE) return E_INVALIDARG;
        // From the client area itself, only into it: its siblings are the window's business.
        if (part == PART_CLIENT && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
            return standard->accNavigate(direction, from, to);
        setPart(to, partNavigate(shownNow(window), part, direction));
        return to->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        POINT at = {x, y};
        RECT client = {};
        GetClientRect(window, &client);
        if (!ScreenToClient(window, &at) || !PtInRect(&client, at)) {
            hit->vt = VT_EMPTY;
            return S_FALSE;
        }
        setPart(hit, partAt(shownNow(window), at.x, at.y));
        return S_OK;
    }
    // Exactly a click on the button's middle, posted: the call returns at once ("servers
    // should avoid implementations that block returns", IAccessible::accDoDefaultAction,
    // Microsoft Learn), and the window acts on it, or refuses it, as on any click.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int32_t part = partOf(child);
        if (part == PART_CLIENT) return standard->accDoDefaultAction(child);
        if (part != PART_BUTTON) return part == PART_NONE ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
        Rect32 button = layoutFor(context->skinWidth, context->skinHeight).button;
        int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    HRESULT forClientOnly(VARIANT child, BSTR* out, TextGetter getter) {
        *out = nullptr;
        int32_t part = partOf(child);
        if (part == PART_CLIENT) return (standard->*getter)(child, out);
        return part == PART_NONE ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
};

AccessibleWindow accessible;

bool attach(HWND window) {
    if (accessible.standard) return true;
    auto createStandard = oleaccFunction<StandardObjectFunction>("CreateStdAccessibleObject");
    void* standard = nullptr;
    if (!createStandard || FAILED(createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                  &standard)))
        return false;
    accessible.window = window;
    accessible.standard = static_cast<IAccessible*>(standard);
    return true;
}

// The window reports what it answers when it changes; a screen reader asks again then.
ShownWindow announced;
bool announcedKnown = false;

void announceChanges(HWND window) {
    ShownWindow now = shownNow(window);
    if (!announcedKnown) {  // nothing has changed before the first procedure starts
        announced = now;
        announced.inputRefused = announced.busyShown = false;
        announcedKnown = true;
    }
    uint32_t renamed = renamedParts(announced, now), restated = restatedParts(announced, now);
    for (int32_t part = PART_STATUS_LINE_1; part <= PART_BUTTON; ++part) {
        if (renamed & (1u << part))
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, part);
        if (restated & (1u << part))
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, part);
    }
    announced = now;
}

// The system reports the focus on the window; the part that has it follows.
void announceFocus(HWND window) {
    int32_t part = focusedPart(shownNow(window));
    if (part != PART_NONE) NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, part);
}

// Before comparing, the object id is cast to DWORD: on 64-bit Windows lParam may arrive sign-
// extended ("WM_GETOBJECT message", Microsoft Learn).
LRESULT answerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    if (DWORD(lParam) != DWORD(OBJID_CLIENT) || !attach(window)) return 0;
    auto lresultFromObject = oleaccFunction<LresultFromObjectFunction>("LresultFromObject");
    LRESULT answer = lresultFromObject ? lresultFromObject(__uuidof(IAccessible), wParam,
                                                           static_cast<IAccessible*>(&accessible))
                                       : 0;
    return answer > 0 ? answer : 0;
}

}  // namespace

LRESULT answerAssistiveMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:  // before the window shows, and with it its taskbar button
            allowTaskbarButtonMessage(window);
            return 0;
        case WM_GETOBJECT:
            return answerGetObject(window, wParam, lParam);
        case WM_SETFOCUS:
            announceFocus(window);
            return 0;
        default:
            answerTaskbarButtonCreated(window, message);
            return 0;
    }
}

void busyButtonDrawn(HWND window, const char* label) {
    busyShown = true;
    snprintf(busyLabel, sizeof busyLabel, "%s", label);
    announceChanges(window);
    showTaskbarLabel(window, label);
}

void procedureStarting(HWND window, Procedure procedure) {
    announceChanges(window);
    if (procedure == Procedure::uninstall) showTaskbarRemoval(window);
}

void commandArriving(HWND window, WPARAM wParam, LPARAM lParam, Procedure procedure) {
    if ((wParam & 0xFFFF) == CMD_DONE) showTaskbarNotice(window, int32_t(lParam));
    if (procedure != Procedure::none) procedureStarting(window, procedure);
}
