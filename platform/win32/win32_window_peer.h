#pragma once

#include <memory>
#include <vector>

#include "runtime/form.h"
#include "runtime/window_system.h"
#include "win32_controls.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

class Win32WindowSystem;

// One loaded form as a native top-level window. Each timer and each control a person can see has a
// unit of its own, which its control tells every change and the window's procedure hands its
// native messages to; the peer itself keeps the window, its placement, its dots per inch and the
// keyboard focus. The peer lives on the window (GWLP_USERDATA).
class Win32WindowPeer final : public WindowPeer {
public:
    Win32WindowPeer(Win32WindowSystem& system, Form& form);
    ~Win32WindowPeer() override;
    Win32WindowPeer(const Win32WindowPeer&) = delete;
    Win32WindowPeer& operator=(const Win32WindowPeer&) = delete;

    void VisibilityChanged(Visibility visibility) override;
    WindowHandle Handle() const override;
    TwipsRect Bounds() const override;
    void PopupMenu(MenuItem& menu) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateControls();
    void Stack();
    void SetIcon();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(LPARAM lParam);
    LRESULT OnControlColour(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam);
    LRESULT OnPositionChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose();

    void ApplyDpi(UINT dpi);
    void CentreOnScreen();

    Win32Control* FindByWindow(HWND window);
    Win32Control* FindById(UINT id);
    Win32Control* FindByControl(const Control& control);

    Win32WindowSystem& system_;
    Form& form_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    HBRUSH background_ = nullptr;
    bool placed_ = false;
    // The control that had the keyboard focus when the window was last deactivated.
    HWND focus_ = nullptr;
    std::vector<std::unique_ptr<Win32Control>> children_;
    std::vector<std::unique_ptr<Win32Timer>> timers_;
};

}  // namespace brindle
