#include "win32_menu.h"

#include <string>

#include "win32_support.h"

namespace brindle {

Win32Menu::Win32Menu(MenuItem& menu) : popup_(CreatePopupMenu()) {
    AppendEntries(popup_, menu);
}

Win32Menu::~Win32Menu() {
    if (popup_ != nullptr) {
        DestroyMenu(popup_);
    }
}

void Win32Menu::AppendEntries(HMENU popup, const MenuItem& menu) {
    for (MenuItem* entry : menu.Children()) {
        const std::wstring caption = win32::Widen(entry->Caption());
        if (entry->IsSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else if (!entry->Children().empty()) {
            HMENU submenu = CreatePopupMenu();
            AppendEntries(submenu, *entry);
            AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                        caption.c_str());
        } else {
            commands_.push_back(entry);
            const UINT mark = entry->Check() == MenuCheck::Checked ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuW(popup, MF_STRING | mark, commands_.size(), caption.c_str());
        }
    }
}

void Win32Menu::Track(HWND owner) {
    POINT at{};
    GetCursorPos(&at);
    // A popup closes on a click elsewhere only when its owner is the foreground window.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    // The popup is gone before the click runs, which may unload the owner.
    DestroyMenu(popup_);
    popup_ = nullptr;
    if (chosen > 0 && chosen <= commands_.size()) {
        commands_[chosen - 1]->RaiseClick();
    }
}

}  // namespace brindle
