#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/control.h"
#include "tick_alignment.h"
#include "win32_tick_timer.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// A layout's colour, or the given system colour where the layout leaves it to the system.
COLORREF ResolveColour(Colour colour, int systemColour);

// What an aligned timer's shot posts to its window, with the timer's id, as WM_TIMER has.
constexpr UINT kTickMessage = WM_APP + 1;

// One control with a child window of its own. Each kind's unit makes its child, attaches itself
// to its control as that kind's peer and lets go when it goes; its window's procedure routes the
// child's messages to it, one function a message. The control's native objects live here, never
// in the window.
class Win32Control {
public:
    Win32Control(const Control& control, UINT id) : control_(control), id_(id) {}
    virtual ~Win32Control();
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

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

    const Control& Target() const { return control_; }
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
    // Writes to the child, whose notifications meanwhile are the program's own change echoed
    // back, never the user's doing; Writing() tells them apart.
    template <class Write>
    void Quietly(Write write) {
        const bool outer = writing_;
        writing_ = true;
        write();
        writing_ = outer;
    }
    bool Writing() const { return writing_; }

private:
    HFONT MakeFont() const;

    const Control& control_;
    UINT id_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF brushColour_ = 0;
    bool writing_ = false;
};

// A label as a static control that takes mouse presses and paints in the colours it is shown.
class Win32Label final : public Win32Control, public LabelPeer {
public:
    Win32Label(Label& label, UINT id, HWND parent, HINSTANCE instance);
    ~Win32Label() override { label_.Attach(nullptr); }

    void ShowCaption(const std::string& caption) override;
    void ShowForeColor(Colour colour) override;
    void ShowBackColor(Colour colour) override;
    HBRUSH OnColour(HDC context) override;

private:
    static LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR self);
    // Returns at once after raising: the program may have unloaded this window.
    void OnButton(MouseButton button, WPARAM wParam, LPARAM lParam);

    Label& label_;
    Colour fore_ = kDefaultColour;
    Colour back_ = kDefaultColour;
};

// A combo box: a drop-down list with an editable text field, in the layout's colours even while
// disabled.
class Win32List final : public Win32Control, public ListPeer {
public:
    Win32List(ComboBox& combo, UINT id, HWND parent, HINSTANCE instance);
    ~Win32List() override { combo_.Attach(nullptr); }

    void ShowText(const std::string& text) override;
    void ShowEnabled(bool enabled) override;
    void ShowItems(const std::vector<std::string>& items) override;
    void OnCommand(UINT code) override;
    HBRUSH OnColour(HDC context) override;

protected:
    int ExtraHeightTwips() const override;

private:
    // Paints the text field of a disabled list in the list's own colours.
    static LRESULT CALLBACK TextFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR self);
    void PaintDisabledField(HWND field);
    HWND TextField() const;

    ComboBox& combo_;
};

// A push button; a graphical one is drawn here, in its layout's colours. Nothing of a button
// changes after it is made, so it has no peer.
class Win32Button final : public Win32Control {
public:
    Win32Button(CommandButton& button, UINT id, HWND parent, HINSTANCE instance);

    void OnCommand(UINT code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    // A focused graphical button would not report Return as a click otherwise.
    void OnReturn() override { button_.SetValue(true); }

private:
    CommandButton& button_;
};

// A date-and-time picker limited to the control's range.
class Win32Picker final : public Win32Control, public PickerPeer {
public:
    Win32Picker(DatePicker& picker, UINT id, HWND parent, HINSTANCE instance);
    ~Win32Picker() override { picker_.Attach(nullptr); }

    void ShowValue(DateTime value) override;
    void OnNotify(const NMHDR& header) override;

private:
    DatePicker& picker_;
};

// A timer control as a native timer on its window: it ticks as WM_TIMER or, aligned to the wall
// clock, as the shot's kTickMessage, with the timer's id.
class Win32Timer final : public TimerPeer {
public:
    Win32Timer(Timer& timer, UINT id, HWND window, const TickSettings& ticks);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    // Arms or stops the native timer.
    void ShowEnabled(bool enabled) override;
    // One tick of the native timer.
    void Tick();
    UINT Id() const { return id_; }

private:
    void Stop();

    Timer& timer_;
    UINT id_;
    HWND window_;
    TickAlignment alignment_;
    // Where the aligned timer's shots are aimed.
    TickAim aim_;
    // An aligned timer's shot, made when it is first armed.
    std::unique_ptr<Win32PreciseTimer> shot_;
};

}  // namespace brindle
