#include "win32_label.h"

#include <commctrl.h>

#include "runtime/peer_rules.h"
#include "win32_support.h"

namespace brindle {

namespace {

constexpr UINT_PTR kLabelSubclassId = 1;

}  // namespace

void Win32Label::Create(HWND parent, HINSTANCE instance) {
    const Alignment alignment = label_.Layout().alignment;
    DWORD align = SS_LEFT;
    if (alignment == Alignment::Centre) {
        align = SS_CENTER;
    } else if (alignment == Alignment::Right) {
        align = SS_RIGHT;
    }
    // SS_NOTIFY makes the label take mouse presses instead of passing them through.
    HWND window = MakeWindow(parent, instance, 0, L"STATIC", label_.Caption(), SS_NOTIFY | align);
    if (window != nullptr) {
        SetWindowSubclass(window, &LabelProc, kLabelSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

void Win32Label::Apply(Property property) {
    if (property != Property::Caption) {
        InvalidateRect(Window(), nullptr, TRUE);
        return;
    }
    // The countdown sets the same caption four times a second; rewriting it unchanged would only
    // make the label flicker.
    if (win32::WindowText(Window()) != label_.Caption()) {
        SetWindowTextW(Window(), win32::Widen(label_.Caption()).c_str());
    }
}

void Win32Label::Detach() {
    if (Window() != nullptr) {
        RemoveWindowSubclass(Window(), &LabelProc, kLabelSubclassId);
    }
}

HBRUSH Win32Label::OnColour(HDC context) {
    const COLORREF back = ResolveColour(label_.BackColor(), COLOR_BTNFACE);
    SetTextColor(context, ResolveColour(label_.ForeColor(), COLOR_BTNTEXT));
    SetBkColor(context, back);
    SetBkMode(context, OPAQUE);
    return BrushFor(back);
}

LRESULT CALLBACK Win32Label::LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclassId, DWORD_PTR self) {
    auto* label = reinterpret_cast<Win32Label*>(self);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            label->OnButton(MouseButton::Left, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            label->OnButton(MouseButton::Right, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            label->OnButton(MouseButton::Middle, wParam, lParam);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &LabelProc, subclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void Win32Label::OnButton(MouseButton button, WPARAM wParam, LPARAM lParam) {
    const ModifierKeys keys{(wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0,
                            GetKeyState(VK_MENU) < 0};
    const float twipsPerPixel = win32::TwipsPerPixel(Dpi());
    const float x = PixelsToTwips(static_cast<short>(LOWORD(lParam)), twipsPerPixel);
    const float y = PixelsToTwips(static_cast<short>(HIWORD(lParam)), twipsPerPixel);
    label_.RaiseMouseDown(button, ShiftMask(keys), x, y);
}

}  // namespace brindle
