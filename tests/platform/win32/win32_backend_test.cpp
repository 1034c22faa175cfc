#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "clock_fake.h"
#include "os_functions_fake.h"
#include "program.h"
#include "runtime/peer_rules.h"
#include "win32_os_functions.h"
#include "win32_window_system.h"

// After the program's headers: Windows' macros share names with the declared constants.
#include <commctrl.h>
#include <windows.h>

namespace brindle {
namespace {

// The first child window's id; each control's id follows its place in the layout.
constexpr int kFirstChildId = 1000;

HWND AsWindow(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}

HWND Child(Form& form, const Control& control) {
    for (std::size_t i = 0; i < form.Controls().size(); ++i) {
        if (form.Controls()[i].get() == &control) {
            return GetDlgItem(AsWindow(form.hWnd()), kFirstChildId + static_cast<int>(i));
        }
    }
    return nullptr;
}

// The name of the control whose child (or a list's text field) has the keyboard focus.
std::string Focused(Form& form) {
    for (const auto& control : form.Controls()) {
        HWND child = Child(form, *control);
        if (child != nullptr && (GetFocus() == child || GetParent(GetFocus()) == child)) {
            return control->Name();
        }
    }
    return "";
}

// The text and background colours a child is painted with, as its window answers the child's
// request for them.
std::pair<Colour, Colour> Colours(HWND child, UINT request) {
    HDC context = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(child), request,
                                                       reinterpret_cast<WPARAM>(context),
                                                       reinterpret_cast<LPARAM>(child)));
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof(fill), &fill);
    const Colour text = GetTextColor(context);
    DeleteDC(context);
    return {text, fill.lbColor};
}

// Presses a key as the keyboard does: to the focused child, through the program's message loop.
void PressKey(WindowSystem& windows, WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    windows.ProcessPendingEvents();
}

// Whether a child's client area as painted now holds a pixel of the colour.
bool Shows(HWND child, Colour colour) {
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT area{};
    GetClientRect(child, &area);
    HDC context = GetDC(child);
    bool found = false;
    for (int y = 0; y < area.bottom && !found; ++y) {
        for (int x = 0; x < area.right && !found; ++x) {
            found = GetPixel(context, x, y) == colour;
        }
    }
    ReleaseDC(child, context);
    return found;
}

void Notify(HWND child, WORD code) {
    SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), code),
                 reinterpret_cast<LPARAM>(child));
}

// The program on the native window system, with the clock and the declared functions faked so
// that no test moves real windows through the system or plays a sound.
class Win32BackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
        if (probe == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        DestroyWindow(probe);
        clock.Set(10, 0, 0);
        program.Start();
        windows.ProcessPendingEvents();
    }
    // Every control with a child window shows its layout's place and font, and the colours its
    // control holds now; one outside the client area is never reached by the keyboard.
    void ExpectChildrenMatchTheirControls(Form& form) {
        HWND window = AsWindow(form.hWnd());
        const int dpi = static_cast<int>(GetDpiForWindow(window));
        const auto pixels = [dpi](float twips) { return MulDiv(int(twips), dpi, 1440); };
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, pixels(form.Layout().clientArea.width)) << form.Name();
        for (const auto& control : form.Controls()) {
            const ControlLayout& c = control->Layout();
            HWND child = Child(form, *control);
            SCOPED_TRACE(form.Name() + "." + c.name);
            if (c.kind == ControlKind::Timer || c.kind == ControlKind::MenuItem) {
                continue;
            }
            ASSERT_NE(child, nullptr);
            if (!CanBeSeen(*control)) {
                EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP, 0);
                continue;
            }
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, pixels(c.bounds.left));
            EXPECT_EQ(r.top, pixels(c.bounds.top));
            EXPECT_EQ(r.right - r.left, pixels(c.bounds.width));
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(font),
                       &font);
            if (!c.font.face.empty()) {
                EXPECT_EQ(std::wstring(font.lfFaceName),
                          std::wstring(c.font.face.begin(), c.font.face.end()));
                EXPECT_EQ(font.lfHeight, -MulDiv(int(c.font.points * 100), dpi, 7200));
                EXPECT_EQ(font.lfWeight, c.font.weight);
                EXPECT_EQ(font.lfItalic != 0, c.font.slant == FontSlant::Italic);
            }
            if (auto* label = dynamic_cast<Label*>(control.get())) {
                EXPECT_EQ(Colours(child, WM_CTLCOLORSTATIC),
                          std::make_pair(label->ForeColor(), label->BackColor()));
            } else if (c.kind == ControlKind::ComboBox) {
                EXPECT_EQ(Colours(child, WM_CTLCOLOREDIT),
                          std::make_pair(c.foreColor, c.backColor));
            }
        }
    }

    ClockFake clock;
    OsFunctionsFake os{clock};
    Win32WindowSystem windows;
    Program program{windows, os, clock};
};

TEST_F(Win32BackendTest, EveryLayoutControlBecomesAChildOfItsPlaceFontAndColours) {
    for (Form* form : {static_cast<Form*>(&program.frmCountDown),
                       static_cast<Form*>(&program.Form1), static_cast<Form*>(&program.frmRef)}) {
        ExpectChildrenMatchTheirControls(*form);
    }
    // The flash's colour scheme reaches the children too.
    program.frmCountDown.dColors().SetValue(true);
    ExpectChildrenMatchTheirControls(program.frmCountDown);
}

TEST_F(Win32BackendTest, TheKeyboardWorksEachWindowInTabOrder) {
    // "Change Time" opens the setup window; the focus starts at the lowest tab index and Tab
    // follows the order round, in the reference dialog too.
    program.frmMenu.mnuMenu().Children().front()->RaiseClick();
    windows.ProcessPendingEvents();
    for (Form* form : {static_cast<Form*>(&program.Form1), static_cast<Form*>(&program.frmRef)}) {
        form->Show();
        windows.ProcessPendingEvents();
        const std::vector<Control*> order = TabOrder(*form);
        for (Control* control : order) {
            EXPECT_EQ(Focused(*form), control->Name());
            PressKey(windows, VK_TAB);
        }
        EXPECT_EQ(Focused(*form), order.front()->Name());
    }
    // Return and Space press the focused Ok.
    for (WPARAM key : {VK_RETURN, VK_SPACE}) {
        program.frmRef.Show();
        windows.ProcessPendingEvents();
        PressKey(windows, VK_TAB);
        PressKey(windows, key);
        EXPECT_FALSE(program.frmRef.IsLoaded()) << key;
    }
    // The first Down in a fresh list picks its first item; the list is then disabled but keeps
    // its layout's colours.
    SetActiveWindow(AsWindow(program.Form1.hWnd()));
    PressKey(windows, VK_TAB);
    PressKey(windows, VK_DOWN);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    HWND leads = Child(program.Form1, program.Form1.Combo2());
    ASSERT_FALSE(IsWindowEnabled(leads));
    HWND field = FindWindowExW(leads, nullptr, L"Edit", nullptr);
    EXPECT_TRUE(Shows(field, program.Form1.Combo2().Layout().foreColor));
    EXPECT_TRUE(Shows(field, program.Form1.Combo2().Layout().backColor));
    PressKey(windows, VK_DOWN);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Win32BackendTest, TheUsersActionsReachTheirHandlers) {
    // Typing into the interval list changes its text and starts nothing; a pick starts it.
    program.Form1.Show();
    HWND intervals = Child(program.Form1, program.Form1.Combo1());
    SetWindowTextW(intervals, L"7");
    Notify(intervals, CBN_EDITCHANGE);
    EXPECT_EQ(program.Form1.Combo1().Text(), "7");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
    SendMessageW(intervals, CB_SETCURSEL, 14, 0);
    Notify(intervals, CBN_SELENDOK);
    EXPECT_EQ(program.frmCountDown.Label1().Caption(), "15 Min");
    EXPECT_FALSE(program.Form1.IsVisible());

    // A label press with its button and modifier mask.
    std::vector<std::pair<MouseButton, int>> presses;
    program.frmCountDown.Label1().OnMouseDown([&](MouseButton button, std::int16_t shift, float,
                                                  float) { presses.emplace_back(button, shift); });
    HWND label = Child(program.frmCountDown, program.frmCountDown.Label1());
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 0);
    SendMessageW(label, WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 0);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 3},
                                                                 {MouseButton::Middle, 2}}));

    // The user sets the picker to 09:15:30.
    HWND picker = Child(program.frmRef, program.frmRef.DTPicker1());
    NMDATETIMECHANGE change{{picker, UINT_PTR(GetDlgCtrlID(picker)), UINT(DTN_DATETIMECHANGE)},
                            GDT_VALID,
                            {2003, 11, 4, 20, 9, 15, 30, 0}};
    SendMessageW(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom, LPARAM(&change));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));

    // The window manager closes the dialog.
    SendMessageW(GetParent(picker), WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_TRUE(program.frmCountDown.IsVisible());
}

TEST_F(Win32BackendTest, ExitAppFromTheContextMenuEndsTheProgram) {
    // The user right-clicks the countdown and chooses the menu's last entry with the keyboard.
    HWND window = AsWindow(program.frmCountDown.hWnd());
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(Child(program.frmCountDown, program.frmCountDown.Label1()), WM_RBUTTONDOWN,
                 MK_RBUTTON, MAKELPARAM(5, 5));

    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    EXPECT_TRUE(program.runtime.HasEnded());
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32BackendTest, TopMostGoesOnAndOffAndTheSoundLibraryWaitsForTheFirstSound) {
    Win32OsFunctions real;
    HWND window = AsWindow(program.frmCountDown.hWnd());
    for (std::int32_t band : {kInsertNotTopMost, kInsertTopMost}) {
        real.SetWindowPos(program.frmCountDown.hWnd(), band, 0, 0, 0, 0, kKeepPosition | kKeepSize);
        EXPECT_EQ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                  band == kInsertTopMost);
    }
    EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);
    EXPECT_EQ(real.PlaySoundA("no-such-sound.wav", 0, kPlayFileName | kPlayNoDefault), 0);
    EXPECT_NE(GetModuleHandleW(L"winmm.dll"), nullptr);
}

}  // namespace
}  // namespace brindle
