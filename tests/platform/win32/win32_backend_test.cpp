#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "clock_fake.h"
#include "form_fake.h"
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

HWND Child(Form& form, const Control& control) {
    // Each control's child window has the id of its place in the layout, from 1000 on.
    for (std::size_t i = 0; i < form.Controls().size(); ++i) {
        if (form.Controls()[i].get() == &control) {
            return GetDlgItem(reinterpret_cast<HWND>(form.hWnd()), 1000 + int(i));
        }
    }
    return nullptr;
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

// Whether a child as painted now holds a pixel of the colour.
bool Shows(HWND child, Colour colour) {
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT area{};
    GetClientRect(child, &area);
    HDC context = GetDC(child);
    bool found = false;
    for (int i = 0; i < area.right * area.bottom && !found; ++i) {
        found = GetPixel(context, i % area.right, i / area.right) == colour;
    }
    ReleaseDC(child, context);
    return found;
}

void Notify(HWND child, WORD code) {
    SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), code),
                 LPARAM(child));
}

// Windows need a display; without one (Wine with no X server) the tests are skipped.
class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, nullptr);
        if (probe == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        DestroyWindow(probe);
    }
    ClockFake clock;
    OsFunctionsFake os{clock};
};

// The program on the native window system, with the clock and the declared functions faked.
class Win32BackendTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        clock.Set(10, 0, 0);
        program.Start();
        windows.ProcessPendingEvents();
    }
    // Presses a key as the keyboard does: to the focused child, through the program's loop.
    void PressKey(WPARAM key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        windows.ProcessPendingEvents();
    }
    // Every control with a child window shows its layout's place and font and the colours its
    // control holds now; one outside the client area is never reached by the keyboard.
    void ExpectChildrenMatchTheirControls(Form& form) {
        HWND window = reinterpret_cast<HWND>(form.hWnd());
        const int dpi = int(GetDpiForWindow(window));
        const auto pixels = [dpi](const TwipsRect& twips) {
            const PixelRect r = ToPixels(twips, 1440.0f / float(dpi));
            return std::tuple(r.left, r.top, r.width);
        };
        RECT area{};
        GetClientRect(window, &area);
        EXPECT_EQ(std::tuple(0, 0, int(area.right)), pixels(form.Layout().clientArea));
        for (const auto& control : form.Controls()) {
            const ControlLayout& c = control->Layout();
            HWND child = Child(form, *control);
            SCOPED_TRACE(form.Name() + "." + c.name);
            if (c.kind == ControlKind::Timer || c.kind == ControlKind::MenuItem) {
                continue;
            }
            if (!CanBeSeen(*control)) {
                EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP, 0);
                continue;
            }
            GetWindowRect(child, &area);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
            EXPECT_EQ(std::tuple(int(area.left), int(area.top), int(area.right - area.left)),
                      pixels(c.bounds));
            LOGFONTW f{};
            GetObjectW(HFONT(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(f), &f);
            if (!c.font.face.empty()) {
                EXPECT_EQ(
                    std::tuple(std::wstring(f.lfFaceName), f.lfHeight, f.lfWeight, !!f.lfItalic),
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

    Win32WindowSystem windows;
    Program program{windows, os, clock};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(Win32BackendTest, EveryLayoutControlBecomesAChildOfItsPlaceFontAndColours) {
    for (Form* form : forms) {
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
    for (Form* form : {forms[1], forms[2]}) {
        form->Show();
        windows.ProcessPendingEvents();
        const std::vector<Control*> order = TabOrder(*form);
        for (std::size_t i = 0; i <= order.size(); ++i) {
            if (i > 0) {
                PressKey(VK_TAB);
            }
            HWND child = Child(*form, *order[i % order.size()]);
            EXPECT_TRUE(GetFocus() == child || GetParent(GetFocus()) == child) << i;
        }
    }
    // Return and Space press the focused Ok.
    for (WPARAM key : {VK_RETURN, VK_SPACE}) {
        program.frmRef.Show();
        windows.ProcessPendingEvents();
        PressKey(VK_TAB);
        PressKey(key);
        EXPECT_FALSE(program.frmRef.IsLoaded()) << key;
    }
    // The first Down in a fresh list picks its first item; the list is then disabled but keeps
    // its layout's colours.
    SetActiveWindow(reinterpret_cast<HWND>(program.Form1.hWnd()));
    PressKey(VK_TAB);
    PressKey(VK_DOWN);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    HWND leads = Child(program.Form1, program.Form1.Combo2());
    ASSERT_FALSE(IsWindowEnabled(leads));
    HWND field = FindWindowExW(leads, nullptr, L"Edit", nullptr);
    EXPECT_TRUE(Shows(field, program.Form1.Combo2().Layout().foreColor));
    EXPECT_TRUE(Shows(field, program.Form1.Combo2().Layout().backColor));
    PressKey(VK_DOWN);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Win32BackendTest, TheUsersActionsReachTheirHandlers) {
    // Typing into the interval list changes its text and starts nothing; a pick starts it.
    HWND intervals = Child(program.Form1, program.Form1.Combo1());
    SetWindowTextW(intervals, L"7");
    Notify(intervals, CBN_EDITCHANGE);
    EXPECT_EQ(program.Form1.Combo1().Text(), "7");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
    SendMessageW(intervals, CB_SETCURSEL, 14, 0);
    Notify(intervals, CBN_SELENDOK);
    EXPECT_EQ(program.frmCountDown.Label1().Caption(), "15 Min");

    // A label press, with its button and modifier mask.
    std::vector<std::pair<MouseButton, int>> presses;
    program.frmCountDown.Label1().OnMouseDown([&](MouseButton button, std::int16_t shift, float,
                                                  float) { presses.emplace_back(button, shift); });
    HWND label = Child(program.frmCountDown, program.frmCountDown.Label1());
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, 0);
    SendMessageW(label, WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 0);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 3},
                                                                 {MouseButton::Middle, 2}}));

    // The user sets the picker to 09:15:30; then the window manager closes the dialog.
    HWND picker = Child(program.frmRef, program.frmRef.DTPicker1());
    NMDATETIMECHANGE change{{picker, UINT_PTR(GetDlgCtrlID(picker)), UINT(DTN_DATETIMECHANGE)},
                            GDT_VALID,
                            {2003, 11, 4, 20, 9, 15, 30, 0}};
    SendMessageW(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom, LPARAM(&change));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));
    SendMessageW(GetParent(picker), WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.frmRef.IsLoaded());
}

TEST_F(Win32BackendTest, ExitAppFromTheMenuEndsTheProgram) {
    // The user right-clicks the countdown and chooses "Exit App", the last entry, by keyboard.
    HWND label = Child(program.frmCountDown, program.frmCountDown.Label1());
    PostMessageW(GetParent(label), WM_KEYDOWN, VK_UP, 0);
    PostMessageW(GetParent(label), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(label, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32BackendTest, TopMostGoesOnAndOffAndTheSoundLibraryWaitsForTheFirstSound) {
    Win32OsFunctions real;
    const WindowHandle window = program.frmCountDown.hWnd();
    for (std::int32_t band : {kInsertNotTopMost, kInsertTopMost}) {
        real.SetWindowPos(window, band, 0, 0, 0, 0, kKeepPosition | kKeepSize);
        const LONG_PTR style = GetWindowLongPtrW(reinterpret_cast<HWND>(window), GWL_EXSTYLE);
        EXPECT_EQ((style & WS_EX_TOPMOST) != 0, band == kInsertTopMost);
    }
    EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);
    EXPECT_EQ(real.PlaySoundA("no-such-sound.wav", 0, kPlayFileName | kPlayNoDefault), 0);
    EXPECT_NE(GetModuleHandleW(L"winmm.dll"), nullptr);
}

// A window of the test's own with one quarter-second timer, whose ticks read a wall clock that
// stands 1 ms before a whole second: each is aimed 2 ms ahead, so the test waits little.
int wallClockReads = 0;

TEST_F(Win32Test, TicksAreAimedBeforeTheirHandlerAndGoOnInANestedLoopUntilDisabled) {
    Win32WindowSystem windows{{TickAlignment::WallClock, [] {
                                   ++wallClockReads;
                                   return std::int64_t{1'796'601'600'000'000'000 - 1'000'000};
                               }}};
    Runtime runtime{windows, os, clock};
    WindowLayout layout;
    layout.controls = {ControlLayout{}};
    layout.controls[0].kind = ControlKind::Timer;
    layout.controls[0].timerInterval = 250;
    std::vector<int> readsInHandler;
    int shots = 0;
    // Runs the message loop until the handler ran count times or the time is up, counting the
    // tick messages dispatched.
    const auto pump = [&](std::size_t count, ULONGLONG milliseconds) {
        for (ULONGLONG until = GetTickCount64() + milliseconds;
             readsInHandler.size() < count && GetTickCount64() < until;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                shots += message.message == Win32WindowPeer::kTickMessage;
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    };
    FormFake form(runtime, layout);
    Timer& timer = form.Get<Timer>("");
    timer.OnTimer([&] {
        readsInHandler.push_back(wallClockReads);
        if (readsInHandler.size() == 1) {
            pump(3, 10000);
            timer.SetEnabled(false);
        }
    });
    timer.SetEnabled(true);
    pump(1, 10000);
    // Enabling read the clock once; each tick read it again before its handler ran.
    EXPECT_EQ(readsInHandler, (std::vector<int>{2, 3, 4}));
    // Disabling cancels the shot it armed.
    timer.SetEnabled(true);
    timer.SetEnabled(false);
    shots = 0;
    pump(4, 300);
    EXPECT_EQ(shots, 0);
}

// Real Windows looks for a bare sound name in the working directory, not in the program's folder
// (Wine also searches the latter), so this checks where the program itself turns to: a program
// started from a shortcut without a "Start in" folder must still find its chime.
TEST(SoundBesideProgram, ABareNameMissingFromTheWorkingDirectoryIsTakenFromTheProgramsFolder) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    folder.resize(folder.find_last_of(L"\\/") + 1);
    const std::wstring beside = folder + L"brindle-probe.wav";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring elsewhere = std::wstring(temp) + L"brindle-elsewhere";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    const auto touch = [](const std::wstring& path) {
        CloseHandle(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    };
    touch(beside);
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.c_str()));

    EXPECT_EQ(SoundBesideProgram("brindle-probe.wav"), beside);
    EXPECT_EQ(SoundBesideProgram("no-such-sound.wav"), L"");
    // A file of that name in the working directory is asked for by its bare name first.
    touch(elsewhere + L"\\brindle-probe.wav");
    EXPECT_EQ(SoundBesideProgram("brindle-probe.wav"), L"");

    SetCurrentDirectoryW(previous);
    DeleteFileW((elsewhere + L"\\brindle-probe.wav").c_str());
    RemoveDirectoryW(elsewhere.c_str());
    DeleteFileW(beside.c_str());
}

}  // namespace
}  // namespace brindle
