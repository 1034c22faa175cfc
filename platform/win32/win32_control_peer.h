#pragma once

#include <string>

#include "runtime/control.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// A layout's colour, or the given system colour where the layout leaves it to the system.
COLORREF ResolveColour(Colour colour, int systemColour);

// One control with a child window of its own. It copies the control's properties onto that child,
// and its window's procedure routes the child's messages to it, one function a message; the
// control's native objects live here, never in the window.
class Win32ControlPeer {
public:
    Win32ControlPeer(Control& control, UINT id) : control_(control), id_(id) {}
    virtual ~Win32ControlPeer();
    Win32ControlPeer(const Win32ControlPeer&) = delete;
    Win32ControlPeer& operator=(const Win32ControlPeer&) = delete;

    // Makes the child window on parent; the properties follow through Apply.
    virtual void Create(HWND parent, HINSTANCE instance) = 0;
    // Copies one changed property onto the child.
    virtual void Apply(Property property) = 0;
    // Lets go of the child before its window is destroyed: the control may already be gone.
    virtual void Detach() {}

    // WM_COMMAND from the child, with its notification code.
    virtual void OnCommand(UINT /*code*/) {}
    // WM_NOTIFY from the child.
    virtual void OnNotify(const NMHDR& /*header*/) {}
    // WM_CTLCOLOR* for the child or a part of it: the brush to paint with, after setting the
    // colours on context, or nullptr for the system's own.
    virtual HBRUSH OnColour(HDC /*context*/) { return nullptr; }
    // WM_DRAWITEM for an owner-drawn child; false when the system is to draw it.
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // Return pressed while the child has the focus.
    virtual void OnReturn() {}

    // Places the child and gives it its font at the window's dots per inch.
    void ApplyDpi(UINT dpi);

    Control& Target() const { return control_; }
    HWND Window() const { return window_; }
    UINT Id() const { return id_; }

protected:
    HWND MakeWindow(HWND parent, HINSTANCE instance, DWORD exStyle, const wchar_t* className,
                    const std::string& text, DWORD style);
    // How much taller than its layout the child is; a list adds its drop-down part.
    virtual int ExtraHeightTwips() const { return 0; }
    // A solid brush of the colour, kept until the colour changes.
    HBRUSH BrushFor(COLORREF colour);
    HFONT Font() const { return font_; }
    UINT Dpi() const { return dpi_; }

private:
    HFONT MakeFont() const;

    Control& control_;
    UINT id_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF brushColour_ = 0;
};

}  // namespace brindle
