#include "win32_controls.h"

#include <commctrl.h>

#include "runtime/peer_rules.h"
#include "win32_support.h"

namespace brindle {

namespace {

constexpr UINT_PTR kLabelSubclassId = 1;

}  // namespace

Win32Label::Win32Label(Label& label, UINT id, HWND parent, HINSTANCE instance)
    : Win32Control(label, id), label_(label) {
    const Alignment alignment = label.Layout().alignment;
    DWORD align = SS_LEFT;
    if (alignment == Alignment::Centre) {
        align = SS_CENTER;
    } else if (alignment == Alignment::Right) {
        align = SS_RIGHT;
    }
    // SS_NOTIFY makes the label take mouse presses instead of passing them through.
    HWND window = MakeWindow(parent, instance, 0, L"STATIC", "", SS_NOTIFY | align);
    if (window != nullptr) {
        SetWindowSubclass(window, &LabelProc, kLabelSubclassId, reinterpret_cast<DWORD_PTR>(this));
        label_.Attach(this);
    }
}

void Win32Label::ShowCaption(const std::string& caption) {
    // The countdown sets the same caption four times a second; rewriting it unchanged would only
    // make the label flicker.
    if (win32::WindowText(Window()) != caption) {
        SetWindowTextW(Window(), win32::Widen(caption).c_str());
    }
}

void Win32Label::ShowForeColor(Colour colour) {
    fore_ = colour;
    InvalidateRect(Window(), nullptr, TRUE);
}

void Win32Label::ShowBackColor(Colour colour) {
    back_ = colour;
    InvalidateRect(Window(), nullptr, TRUE);
}

HBRUSH Win32Label::OnColour(HDC context) {
    const COLORREF back = ResolveColour(back_, COLOR_BTNFACE);
    SetTextColor(context, ResolveColour(fore_, COLOR_BTNTEXT));
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
