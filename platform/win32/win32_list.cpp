#include "win32_list.h"

#include <commctrl.h>

#include <string>

#include "win32_support.h"

namespace brindle {

namespace {

constexpr UINT_PTR kTextFieldSubclassId = 2;
// How far a combo box's list drops below its text field.
constexpr int kComboListTwips = 2400;

}  // namespace

void Win32List::Create(HWND parent, HINSTANCE instance) {
    const DWORD tabStop = combo_.Layout().focus == Focus::Accepts ? WS_TABSTOP : 0;
    MakeWindow(parent, instance, 0, L"COMBOBOX", "",
               CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop);
    HWND field = TextField();
    if (field != nullptr) {
        SetWindowSubclass(field, &TextFieldProc, kTextFieldSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

void Win32List::Apply(Property property) {
    if (property == Property::Text) {
        SetWindowTextW(Window(), win32::Widen(combo_.Text()).c_str());
    } else if (property == Property::Enabled) {
        WriteEnabled();
    } else if (property == Property::Items) {
        WriteItems();
    }
}

void Win32List::Detach() {
    HWND field = TextField();
    if (field != nullptr) {
        RemoveWindowSubclass(field, &TextFieldProc, kTextFieldSubclassId);
    }
}

void Win32List::OnCommand(UINT code) {
    if (code == CBN_EDITCHANGE) {
        combo_.AcceptTypedText(win32::WindowText(Window()));
    } else if (code == CBN_SELENDOK) {
        const LRESULT index = SendMessageW(Window(), CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            combo_.Pick(static_cast<std::size_t>(index));
        }
    }
}

// A disabled list keeps its colours too; its text field then asks as a static control.
HBRUSH Win32List::OnColour(HDC context) {
    const ControlLayout& layout = combo_.Layout();
    const COLORREF back = ResolveColour(layout.backColor, COLOR_WINDOW);
    SetTextColor(context, ResolveColour(layout.foreColor, COLOR_WINDOWTEXT));
    SetBkColor(context, back);
    SetBkMode(context, OPAQUE);
    return BrushFor(back);
}

int Win32List::ExtraHeightTwips() const {
    return kComboListTwips;
}

HWND Win32List::TextField() const {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof(parts);
    if (Window() == nullptr || !GetComboBoxInfo(Window(), &parts)) {
        return nullptr;
    }
    return parts.hwndItem;
}

void Win32List::WriteItems() {
    // Emptying the list empties the text field too; the text is the program's and is put back.
    SendMessageW(Window(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo_.Items()) {
        const std::wstring wide = win32::Widen(item);
        SendMessageW(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetWindowTextW(Window(), win32::Widen(combo_.Text()).c_str());
}

void Win32List::WriteEnabled() {
    const bool enabled = combo_.Enabled();
    HWND focus = GetFocus();
    const bool hadFocus = focus == Window() || IsChild(Window(), focus);
    EnableWindow(Window(), enabled);
    // A disabled control loses the focus; the next control in tab order takes it, so the
    // keyboard keeps working in this window.
    if (!enabled && hadFocus) {
        HWND next = GetNextDlgTabItem(GetParent(Window()), Window(), FALSE);
        if (next != nullptr) {
            SetFocus(next);
        }
    }
}

LRESULT CALLBACK Win32List::TextFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR self) {
    if (message == WM_PAINT && !IsWindowEnabled(field)) {
        reinterpret_cast<Win32List*>(self)->PaintDisabledField(field);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, &TextFieldProc, subclassId);
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// A disabled text field draws its text in the system's grey, whatever colour its window asks
// for; a disabled list keeps the colours of its layout instead, as on the other platform.
void Win32List::PaintDisabledField(HWND field) {
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(field, &paint);
    const ControlLayout& layout = combo_.Layout();
    RECT client{};
    GetClientRect(field, &client);
    FillRect(context, &client, BrushFor(ResolveColour(layout.backColor, COLOR_WINDOW)));
    // Where the field itself puts its first character, scrolled and with its margin.
    const LRESULT origin = SendMessageW(field, EM_POSFROMCHAR, 0, 0);
    const std::wstring text = win32::Widen(win32::WindowText(field));
    if (origin != -1 && !text.empty()) {
        HGDIOBJ oldFont = SelectObject(context, Font());
        SetTextColor(context, ResolveColour(layout.foreColor, COLOR_WINDOWTEXT));
        SetBkMode(context, TRANSPARENT);
        TextOutW(context, static_cast<short>(LOWORD(origin)), static_cast<short>(HIWORD(origin)),
                 text.c_str(), static_cast<int>(text.size()));
        SelectObject(context, oldFont);
    }
    EndPaint(field, &paint);
}

}  // namespace brindle
