#pragma once

#include <memory>
#include <vector>

#include "runtime/form.h"
#include "runtime/window_system.h"
#include "win32_tick_timer.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

class Win32WindowSystem;

// One loaded form as a native top-level window with a child window for each visible kind of
// control. The peer lives on the window (GWLP_USERDATA); it copies properties onto the children
// and turns the children's notifications into the controls' Raise and Accept calls.
class Win32WindowPeer final : public WindowPeer {
public:
    Win32WindowPeer(Win32WindowSystem& system, Form& form);
    ~Win32WindowPeer() override;
    Win32WindowPeer(const Win32WindowPeer&) = delete;
    Win32WindowPeer& operator=(const Win32WindowPeer&) = delete;

    void ControlChanged(Control& control, Property property) override;
    void VisibilityChanged(Visibility visibility) override;
    WindowHandle Handle() const override;
    TwipsRect Bounds() const override;
    void PopupMenu(MenuItem& menu) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // What an aligned timer's shot posts to its window, with the timer's id, as WM_TIMER has.
    static constexpr UINT kTickMessage = WM_APP + 1;

private:
    // A control and what stands for it on screen. Timers and menu entries have no child window.
    struct Native {
        Control* control = nullptr;
        HWND window = nullptr;
        UINT id = 0;
        HFONT font = nullptr;
        HBRUSH brush = nullptr;
        Colour brushColour = 0;
        // An aligned timer's shot, made when it is first armed.
        std::unique_ptr<Win32PreciseTimer> shot;
    };

    static LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR peer);

    // Paints a disabled combo box's text field in the list's own colours.
    static LRESULT CALLBACK TextFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR peer);
    void PaintDisabledField(HWND field);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(LPARAM lParam);
    LRESULT OnControlColour(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam);
    LRESULT OnTimer(WPARAM wParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose();
    // Returns at once after raising: the program may have unloaded this window.
    void OnLabelButton(HWND label, MouseButton button, WPARAM wParam, LPARAM lParam);

    void CreateChildren();
    HWND CreateChild(Native& native);
    void ApplyDpi(UINT dpi);
    void CentreOnScreen();
    void WriteComboItems(Native& native);
    void WriteComboEnabled(Native& native);
    void WriteTimer(Native& native);
    void ArmTimer(Native& native);
    void StopTimer(Native& native);
    void WritePickerValue(Native& native);
    void WritePickerRange(Native& native);
    HFONT MakeFont(const Font& font) const;
    HBRUSH BrushFor(Native& native, Colour colour);

    Native* FindByWindow(HWND window);
    Native* FindById(UINT id);
    Native* FindByControl(const Control& control);

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
    // Set while the peer itself writes to a child, so the child's notifications about the
    // change are not taken for the user's doing.
    bool writing_ = false;
    std::vector<Native> natives_;
};

}  // namespace brindle
