#include "win32_text_box.h"

#include "win32_support.h"

namespace brindle {

void Win32TextBox::Create(HWND parent, HINSTANCE instance) {
    // A box that refuses focus is disabled, so neither keys nor clicks can change it.
    const DWORD input =
        text_.Layout().focus == Focus::Refuses ? WS_DISABLED | ES_READONLY : WS_TABSTOP;
    MakeWindow(parent, instance, WS_EX_CLIENTEDGE, L"EDIT", text_.Text(), ES_AUTOHSCROLL | input);
}

void Win32TextBox::Apply(Property /*property*/) {
    SetWindowTextW(Window(), win32::Widen(text_.Text()).c_str());
}

}  // namespace brindle
