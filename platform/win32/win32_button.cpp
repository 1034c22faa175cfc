#include "win32_controls.h"

#include <string>

#include "win32_support.h"

namespace brindle {

Win32Button::Win32Button(CommandButton& button, UINT id, HWND parent, HINSTANCE instance)
    : Win32Control(button, id), button_(button) {
    const ControlLayout& layout = button.Layout();
    const DWORD tabStop = layout.focus == Focus::Accepts ? WS_TABSTOP : 0;
    const DWORD kind = layout.buttonStyle == ButtonStyle::Graphical ? BS_OWNERDRAW : BS_PUSHBUTTON;
    MakeWindow(parent, instance, 0, L"BUTTON", layout.caption, kind | tabStop);
}

void Win32Button::OnCommand(UINT code) {
    if (code == BN_CLICKED) {
        button_.SetValue(true);
    }
}

// A graphical button shows its own back colour, which the themed push button would ignore.
bool Win32Button::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const ControlLayout& layout = button_.Layout();
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    RECT inside = face;
    InflateRect(&inside, -2, -2);
    FillRect(item.hDC, &inside, BrushFor(ResolveColour(layout.backColor, COLOR_BTNFACE)));
    if (pressed) {
        OffsetRect(&inside, 1, 1);
    }
    HGDIOBJ oldFont = SelectObject(item.hDC, Font());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, ResolveColour(layout.foreColor, COLOR_BTNTEXT));
    const std::wstring caption = win32::Widen(layout.caption);
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &inside,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, oldFont);
    if ((item.itemState & ODS_FOCUS) != 0) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(item.hDC, &inside);
    }
    return true;
}

}  // namespace brindle
