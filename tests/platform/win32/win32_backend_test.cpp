#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "clock_fake.h"
#include "desktop_fake.h"
#include "layouts.h"
#include "os_functions_fake.h"
#include "program.h"
#include "runtime/peer_rules.h"
#include "win32_os_functions.h"
#include "win32_window_peer.h"
#include "win32_window_system.h"

// After the program's headers: Windows' macros share names with the declared constants.
#include <commctrl.h>
#include <windows.h>

namespace brindle {
namespace {

HWND Window(Form& form) {
    return reinterpret_cast<HWND>(form.hWnd());
}

// Each control's child window has the id of its place in the layout, from 1000 on.
HWND Child(Form& form, const Control& control) {
    const auto& all = form.Controls();
    const auto at = std::ranges::find_if(all, [&](const auto& c) { return c.get() == &control; });
    return GetDlgItem(Window(form), 1000 + int(at - all.begin()));
}

// The text and background colours a child is painted with, as its window answers for it.
std::pair<Colour, Colour> Colours(HWND child, UINT request) {
    HDC context = CreateCompatibleDC(nullptr);
    LOGBRUSH fill{};
    GetObjectW(HBRUSH(SendMessageW(GetParent(child), request, WPARAM(context), LPARAM(child))),
               sizeof(fill), &fill);
    const Colour text = GetTextColor(context);
    DeleteDC(context);
    return {text, fill.lbColor};
}

// Every control that can be seen has a child of its layout's place and font, in the colours its
// control holds now; the keyboard reaches no other control.
void ExpectShownAsLaidOut(Form& form) {
    const int dpi = int(GetDpiForWindow(Window(form)));
    const auto pixels = [dpi](const TwipsRect& twips) {
        const PixelRect r = ToPixels(twips, 1440.0f / float(dpi));
        return std::tuple(r.left, r.top, r.width);
    };
    RECT area{};
    GetClientRect(Window(form), &area);
    EXPECT_EQ(std::tuple(0, 0, int(area.right)), pixels(form.Layout().clientArea));
    for (const auto& control : form.Controls()) {
        const ControlLayout& c = control->Layout();
        HWND child = Child(form, *control);
        SCOPED_TRACE(form.Name() + "." + c.name);
        if (!CanBeSeen(*control)) {
            EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP, 0);
            continue;
        }
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, Window(form), reinterpret_cast<POINT*>(&area), 2);
        EXPECT_EQ(std::tuple(int(area.left), int(area.top), int(area.right - area.left)),
                  pixels(c.bounds));
        LOGFONTW f{};
        GetObjectW(HFONT(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(f), &f);
        if (!c.font.face.empty()) {
            EXPECT_EQ(std::tuple(std::wstring(f.lfFaceName), f.lfHeight, f.lfWeight, !!f.lfItalic),
                      std::tuple(std::wstring(c.font.face.begin(), c.font.face.end()),
                                 -MulDiv(int(c.font.points * 100), dpi, 7200), c.font.weight,
                                 c.font.slant == FontSlant::Italic));
        }
        if (auto* label = dynamic_cast<Label*>(control.get())) {
            EXPECT_EQ(Colours(child, WM_CTLCOLORSTATIC),
                      std::pair(label->ForeColor(), label->BackColor()));
        } else if (c.kind == ControlKind::ComboBox) {
            EXPECT_EQ(Colours(child, WM_CTLCOLOREDIT), std::pair(c.foreColor, c.backColor));
        }
    }
}

// The program on the native window system, with the clock and the declared functions faked.
class Win32BackendTest : public testing::Test {
protected:
    void SetUp() override {
        clock.Set(10, 0, 0);
        program.Start();
        windows.ProcessPendingEvents();
    }
    // Makes the form the active window. The window manager answers focus requests and focuses
    // newly shown windows in its own time, so a late answer to an earlier window can make that
    // one active again after this request: the form is asked for until it has stayed active for
    // half a second, for five seconds at most.
    void Activate(Form& form) {
        form.Show();
        HWND window = Window(form);
        for (int pumps = 0, settled = 0; pumps < 250 && settled < 25; ++pumps) {
            settled = GetForegroundWindow() == window ? settled + 1 : 0;
            if (settled == 0) {
                SetActiveWindow(window);
            }
            windows.ProcessPendingEvents();
            Sleep(20);
        }
        ASSERT_EQ(GetForegroundWindow(), window) << form.Name() << " did not stay active";
    }
    // Presses a key as the keyboard does: to the focused child, through the program's loop.
    void PressKey(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        windows.ProcessPendingEvents();
    }

    ClockFake clock;
    OsFunctionsFake os{clock};
    Win32WindowSystem windows;
    DesktopFake desktop;
    Program program{windows, os, clock, desktop};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(Win32BackendTest, EveryLayoutControlIsShownInItsPlaceFontAndColours) {
    for (Form* form : forms) {
        ExpectShownAsLaidOut(*form);
    }
    // The flash's colour scheme reaches the children too.
    program.frmCountDown.dColors().SetValue(true);
    ExpectShownAsLaidOut(program.frmCountDown);
}

TEST_F(Win32BackendTest, TheKeyboardWorksEachWindowInTabOrder) {
    // The focus starts at the lowest tab index and Tab follows the order round.
    for (Form* form : {forms[1], forms[2]}) {
        Activate(*form);
        const std::vector<Control*> order = TabOrder(*form);
        for (std::size_t i = 0; i <= order.size(); ++i, PressKey(VK_TAB)) {
            HWND child = Child(*form, *order[i % order.size()]);
            EXPECT_TRUE(GetFocus() == child || GetParent(GetFocus()) == child) << i;
        }
    }
    // The walk ends on Ok, which Return presses; Space, like a click, presses it in the dialog
    // opened afresh.
    for (WPARAM key : {VK_RETURN, VK_SPACE}) {
        PressKey(key);
        EXPECT_FALSE(program.frmRef.IsLoaded()) << key;
        Activate(program.frmRef);
        PressKey(VK_TAB);
    }
    // Back on the lead list, the first Down in a fresh list picks its first item, and the focus
    // moves on to the interval list.
    Activate(program.Form1);
    PressKey(VK_DOWN);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    PressKey(VK_DOWN);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Win32BackendTest, TheUsersActionsReachTheirHandlersUpToExitApp) {
    // Typing into the interval list changes its text and starts nothing.
    HWND intervals = Child(program.Form1, program.Form1.Combo1());
    SetWindowTextW(intervals, L"7");
    SendMessageW(Window(program.Form1), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(intervals), CBN_EDITCHANGE), LPARAM(intervals));
    EXPECT_EQ(program.Form1.Combo1().Text(), "7");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());

    // A label press, with its button and modifier mask.
    std::vector<std::pair<MouseButton, int>> presses;
    program.frmCountDown.Label1().OnMouseDown([&](MouseButton button, std::int16_t shift, float,
                                                  float) { presses.emplace_back(button, shift); });
    HWND label = Child(program.frmCountDown, program.frmCountDown.Label1());
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 0);
    SendMessageW(label, WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 0);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 3},
                                                                 {MouseButton::Middle, 2}}));

    // The user sets the picker to 09:15:30; the window manager closes the dialog.
    HWND picker = Child(program.frmRef, program.frmRef.DTPicker1());
    NMDATETIMECHANGE change{{picker, UINT_PTR(GetDlgCtrlID(picker)), UINT(DTN_DATETIMECHANGE)},
                            GDT_VALID,
                            {2003, 11, 4, 20, 9, 15, 30, 0}};
    SendMessageW(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom, LPARAM(&change));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));
    SendMessageW(GetParent(picker), WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.frmRef.IsLoaded());

    // Exit App, the menu's last entry, chosen by keys, ends the program.
    PostMessageW(GetParent(label), WM_KEYDOWN, VK_UP, 0);
    PostMessageW(GetParent(label), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(Child(program.frmCountDown, program.frmCountDown.lblCountDown()), WM_RBUTTONDOWN,
                 MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32BackendTest, WindowsOpenCentredOnThePrimaryScreenAndStayThereAsTopMostGoesOnAndOff) {
    RECT area{}, centred{}, now{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    program.Form1.Show();
    GetWindowRect(Window(program.Form1), &centred);
    EXPECT_LE(std::abs(centred.left + centred.right - area.left - area.right) +
                  std::abs(centred.top + centred.bottom - area.top - area.bottom),
              4);
    Win32OsFunctions real;
    for (std::int32_t band : {kInsertTopMost, kInsertNotTopMost}) {
        real.SetWindowPos(program.Form1.hWnd(), band, 0, 0, 0, 0, kKeepPosition | kKeepSize);
        const LONG_PTR style = GetWindowLongPtrW(Window(program.Form1), GWL_EXSTYLE);
        EXPECT_EQ((style & WS_EX_TOPMOST) != 0, band == kInsertTopMost);
        GetWindowRect(Window(program.Form1), &now);
        EXPECT_TRUE(EqualRect(&now, &centred));
    }
}

TEST(Win32TickTimer, TicksAreAimedBeforeTheirHandlerAndGoOnInANestedLoopUntilDisabled) {
    // The countdown's timer on a window of the test's own. Its wall clock stands 1 ms before a
    // whole second when first read, so the first tick is aimed just past it and the test waits
    // little, and is a quarter second later at each reading after, so every shot finds the
    // boundary it was aimed at passed.
    static int wallClockReads = 0;
    Win32WindowSystem windows{{TickAlignment::WallClock, [] {
                                   ++wallClockReads;
                                   return std::int64_t{1'796'601'600'000'000'000 - 1'000'000} +
                                          (wallClockReads - 1) * std::int64_t{250'000'000};
                               }}};
    ClockFake clock;
    OsFunctionsFake os{clock};
    DesktopFake desktop;
    Runtime runtime{windows, os, clock, desktop};
    Form form(runtime, CountDownLayout());
    Timer& timer = form.Get<Timer>("tmrDisplayTime");
    std::vector<int> readsInHandler;
    // Runs the message loop until the handler ran count times, for ten seconds at most.
    const auto pump = [&](std::size_t count) {
        for (int i = 0; i < 1000 && readsInHandler.size() < count; ++i) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            windows.ProcessPendingEvents();
        }
    };
    timer.OnTimer([&] {
        readsInHandler.push_back(wallClockReads);
        if (readsInHandler.size() == 1) {
            pump(3);
            timer.SetEnabled(false);
        }
    });
    timer.SetEnabled(true);
    pump(1);
    // Enabling read the clock once; each tick read it again before its handler ran.
    EXPECT_EQ(readsInHandler, (std::vector<int>{2, 3, 4}));
    // Disabled, it ticks no more: not even a shot that came between enabling and disabling, which
    // a loaded machine may let fire first, reaches the handler.
    timer.SetEnabled(true);
    timer.SetEnabled(false);
    for (int i = 0; i < 5; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        windows.ProcessPendingEvents();
    }
    EXPECT_EQ(readsInHandler.size(), 3u);
}

TEST(Win32TickTimer, AShotBeforeItsBoundaryRaisesNoTickAndTheTickFindsTheNewPeriod) {
    // The wall clock stands 1 ms before a whole second, as a clock slewed slow stands to a timer
    // that measures on its own clock: every shot comes before the boundary.
    constexpr std::int64_t kSecond = 1'796'601'600'000'000'000, kMs = 1'000'000;
    std::int64_t wallNs = kSecond - kMs;
    int wallClockReads = 0;
    Win32WindowSystem windows{{TickAlignment::WallClock, [&] {
                                   ++wallClockReads;
                                   return wallNs;
                               }}};
    ClockFake clock;
    OsFunctionsFake os{clock};
    DesktopFake desktop;
    Runtime runtime{windows, os, clock, desktop};
    Form form(runtime, CountDownLayout());
    Timer& timer = form.Get<Timer>("tmrDisplayTime");
    std::vector<std::int64_t> wallInHandler;
    // Runs the message loop until done says so, for ten seconds at most.
    const auto pumpUntil = [&](const auto& done) {
        for (int i = 0; i < 1000 && !done(); ++i) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            windows.ProcessPendingEvents();
        }
    };
    timer.OnTimer([&] { wallInHandler.push_back(wallNs); });
    timer.SetEnabled(true);
    // Enabling read the clock once and each shot once more: three shots came, none ticked.
    pumpUntil([&] { return wallClockReads >= 4; });
    EXPECT_GE(wallClockReads, 4);
    EXPECT_TRUE(wallInHandler.empty());
    wallNs = kSecond;
    pumpUntil([&] { return !wallInHandler.empty(); });
    // The shot after the tick is aimed at the next quarter, which this clock never reaches.
    const int readsAfterTick = wallClockReads;
    pumpUntil([&] { return wallClockReads > readsAfterTick; });
    timer.SetEnabled(false);
    EXPECT_EQ(wallInHandler, std::vector<std::int64_t>{kSecond});
}

// A program started from a shortcut without a "Start in" folder must still find its chime; real
// Windows, unlike Wine, looks for a bare name in the working directory only. The sound library
// itself is loaded only when the first sound plays.
TEST(Win32Chime, ABareNameMissingFromTheWorkingDirectoryIsTakenFromTheProgramsFolder) {
    namespace fs = std::filesystem;
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const fs::path beside = fs::path(program).replace_filename("brindle-probe.wav");
    const fs::path elsewhere = fs::temp_directory_path() / beside.filename();
    std::ofstream{beside};
    fs::remove(elsewhere);
    fs::current_path(elsewhere.parent_path());
    EXPECT_EQ(SoundBesideProgram("brindle-probe.wav"), beside);
    EXPECT_EQ(SoundBesideProgram("no-such-sound.wav"), L"");
    // A file of that name in the working directory is asked for by its bare name first.
    std::ofstream{elsewhere};
    EXPECT_EQ(SoundBesideProgram("brindle-probe.wav"), L"");
    fs::remove(elsewhere);
    fs::remove(beside);

    EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);
    EXPECT_EQ(Win32OsFunctions().PlaySoundA("no-such-sound.wav", 0, kPlayFileName | kPlayNoDefault),
              0);
    EXPECT_NE(GetModuleHandleW(L"winmm.dll"), nullptr);
}

}  // namespace
}  // namespace brindle
