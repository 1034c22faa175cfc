#include "win32_controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "win32_support.h"

namespace brindle {

namespace {

constexpr UINT_PTR kTextFieldSubclassId = 2;
// How far a combo box's list drops below its text field.
constexpr int kComboListTwips = 2400;

}  // namespace

Win32List::Win32List(ComboBox& combo, UINT id, HWND parent, HINSTANCE instance)
    : Win32Control(combo, id), combo_(combo) {
    const DWORD tabStop = combo.Layout().focus == Focus::Accepts ? WS_TABSTOP : 0;
    if (MakeWindow(parent, instance, 0, L"COMBOBOX", "",
                   CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop) == nullptr) {
        return;
    }
    HWND field = TextField();
    if (field != nullptr) {
        SetWindowSubclass(field, &TextFieldProc, kTextFieldSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    combo_.Attach(this);
}

// The combo box reports text written to its field as an edit like the user's; a write is quiet
// so that it never reaches the control as typed text.
void Win32List::ShowText(const std::string& text) {
    Quietly([&] { SetWindowTextW(Window(), win32::Widen(text).c_str()); });
}

void Win32List::ShowItems(const std::vector<std::string>& items) {
    Quietly([&] {
        // Emptying the list empties the text field too, so its text is put back.
        const std::wstring text = win32::Widen(win32::WindowText(Window()));
        SendMessageW(Window(), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items) {
            const std::wstring wide = win32::Widen(item);
            SendMessageW(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
        SetWindowTextW(Window(), text.c_str());
    });
}

void Win32List::ShowEnabled(bool enabled) {
    Quietly([&] {
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
    });
}

void Win32List::OnCommand(UINT code) {
    if (Writing()) {
        return;
    }
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
