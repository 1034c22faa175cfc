#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "program.h"
#include "runtime/runtime.h"
#include "win32_os_functions.h"
#include "win32_window_system.h"

// After the program's headers: Windows' macros share names with the declared constants.
#include <commctrl.h>
#include <windows.h>

namespace brindle {
namespace {

// Windows need a display. Without one (Wine with no X server) the tests are skipped.
bool HasDisplay() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

// The insert-after values as the declaration passes them; windows.h's macros of the same names
// are handles.
constexpr std::int32_t kTopMostBand = -1;
constexpr std::int32_t kNormalBand = -2;

HWND AsWindow(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

// The child of a window with the given window class and text.
HWND FindChild(HWND parent, const wchar_t* className, const std::wstring& text) {
    struct Search {
        const wchar_t* className;
        const std::wstring& text;
        HWND found = nullptr;
    } search{className, text};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            // Common controls 6 give their classes a version prefix.
            const std::wstring actual = name;
            const std::wstring wanted = search.className;
            const bool classMatches =
                actual.size() >= wanted.size() &&
                _wcsicmp(actual.c_str() + actual.size() - wanted.size(), wanted.c_str()) == 0;
            if (classMatches && GetParent(child) != nullptr && Text(child) == search.text) {
                search.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Sends a notification as a child control sends it to its window.
void Notify(HWND child, WORD code) {
    SendMessageW(GetParent(child), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(child)), code),
                 reinterpret_cast<LPARAM>(child));
}

// The program on the native window system, with the clock and the declared functions faked so
// that no test moves real windows through the system or plays a sound.
class Win32ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay()) {
            GTEST_SKIP() << "no display to create windows on";
        }
        clock.Set(10, 0, 0);
    }

    ClockFake clock;
    OsFunctionsFake os{clock};
    Win32WindowSystem windows;
    Program program{windows, os, clock};
};

TEST_F(Win32ProgramTest, FirstScreenIsACaptionlessToolWindowCentredOnTheWorkArea) {
    // A panel takes the top 200 pixels of the primary screen.
    RECT whole{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &whole, 0);
    RECT work = whole;
    work.top += 200;
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    program.Start();
    ProcessMessages();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &whole, 0);
    HWND window = AsWindow(program.frmCountDown.hWnd());

    ASSERT_TRUE(IsWindowVisible(window));
    RECT client{};
    GetClientRect(window, &client);
    const UINT dpi = GetDpiForWindow(window);
    EXPECT_EQ(client.right, MulDiv(855, static_cast<int>(dpi), 1440));
    EXPECT_EQ(client.bottom, MulDiv(585, static_cast<int>(dpi), 1440));
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE((style & WS_POPUP) != 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_TRUE((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_NEAR(outer.left + outer.right, work.left + work.right, 1);
    EXPECT_NEAR(outer.top + outer.bottom, work.top + work.bottom, 1);
}

TEST_F(Win32ProgramTest, BoundsAreTheOuterRectangleInTwips) {
    program.Start();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    RECT outer{};
    GetWindowRect(window, &outer);
    const float twipsPerPixel = 1440.0f / static_cast<float>(GetDpiForWindow(window));

    const TwipsRect bounds = program.frmCountDown.Bounds();

    EXPECT_FLOAT_EQ(bounds.left, outer.left * twipsPerPixel);
    EXPECT_FLOAT_EQ(bounds.top, outer.top * twipsPerPixel);
    EXPECT_FLOAT_EQ(bounds.width, (outer.right - outer.left) * twipsPerPixel);
    EXPECT_FLOAT_EQ(bounds.height, (outer.bottom - outer.top) * twipsPerPixel);
}

TEST_F(Win32ProgramTest, LabelsAreDrawnInTheColoursTheProgramSets) {
    program.Start();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    HWND label = FindChild(window, L"Static", L"Label1");
    ASSERT_NE(label, nullptr);
    HDC context = CreateCompatibleDC(nullptr);

    // At start the interval line is blue on grey.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(context),
                                                       reinterpret_cast<LPARAM>(label)));
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_EQ(GetTextColor(context), 0x00FF8000u);
    EXPECT_EQ(fill.lbColor, 0x00C0C0C0u);

    // A flash turns it light yellow on black.
    program.frmCountDown.dColors().SetValue(true);
    brush = reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC,
                                                  reinterpret_cast<WPARAM>(context),
                                                  reinterpret_cast<LPARAM>(label)));
    GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_EQ(GetTextColor(context), 0x0080FFFFu);
    EXPECT_EQ(fill.lbColor, 0x00000000u);
    DeleteDC(context);
}

TEST_F(Win32ProgramTest, CaptionsTheProgramSetsAppearOnTheNativeLabel) {
    program.Start();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    HWND countdown = FindChild(window, L"Static", L"");
    ASSERT_NE(countdown, nullptr);

    program.frmCountDown.lblCountDown().SetCaption("07:48");

    EXPECT_EQ(Text(countdown), L"07:48");
}

TEST_F(Win32ProgramTest, OffScreenEntryPointsTakeNoKeyboardInput) {
    program.Start();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    HWND alert = FindChild(window, L"Edit", L"20");
    HWND startButton = FindChild(window, L"Button", L"Start Timer");
    ASSERT_NE(alert, nullptr);
    ASSERT_NE(startButton, nullptr);

    EXPECT_FALSE(IsWindowEnabled(alert));
    EXPECT_EQ(GetWindowLongPtrW(alert, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(startButton, GWL_STYLE) & WS_TABSTOP, 0);
    // Keys typed at the countdown window leave the warning lead as it was.
    SetFocus(window);
    SendMessageW(alert, WM_CHAR, L'5', 0);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
}

TEST_F(Win32ProgramTest, PickingIntervalShowsCountdownWindow) {
    // The user opens the setup window.
    program.Start();
    program.Form1.Show();
    HWND setup = AsWindow(program.Form1.hWnd());
    HWND combo = FindChild(setup, L"ComboBox", L"Time Frames");
    ASSERT_NE(combo, nullptr);
    program.frmCountDown.Hide();

    // The user picks "15" from the interval list.
    SendMessageW(combo, CB_SETCURSEL, 14, 0);
    Notify(combo, CBN_SELENDOK);

    // The countdown window comes back with the interval under the time; the setup window goes.
    HWND countdown = AsWindow(program.frmCountDown.hWnd());
    EXPECT_TRUE(IsWindowVisible(countdown));
    EXPECT_FALSE(IsWindowVisible(setup));
    EXPECT_NE(FindChild(countdown, L"Static", L"15 Min"), nullptr);
    EXPECT_EQ(Text(combo), L"15");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

// Presses a key as the keyboard does: the key goes to the control with the focus, through the
// program's own message loop.
void PressKey(WindowSystem& windows, WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    windows.ProcessPendingEvents();
}

// The combo box whose text field (or the box itself) has the keyboard focus.
HWND FocusedCombo() {
    HWND focus = GetFocus();
    wchar_t name[64] = {};
    GetClassNameW(focus, name, 64);
    return std::wstring(name).find(L"Edit") != std::wstring::npos ? GetParent(focus) : focus;
}

TEST_F(Win32ProgramTest, TheSetupWindowIsWorkedFromTheKeyboardInTabOrder) {
    // The user chooses "Change Time": the setup window opens with the focus in the interval
    // list, though the lead list lies in front of it in the stored order.
    program.Start();
    ProcessMessages();
    program.frmMenu.mnuMenu().Children().front()->RaiseClick();
    ProcessMessages();
    HWND setup = AsWindow(program.Form1.hWnd());
    HWND interval = FindChild(setup, L"ComboBox", L"Time Frames");
    HWND lead = FindChild(setup, L"ComboBox", L"Alert Time");
    ASSERT_NE(interval, nullptr);
    ASSERT_NE(lead, nullptr);
    EXPECT_EQ(FocusedCombo(), interval);

    // Tab goes on to the lead list, and Tab again comes back.
    PressKey(windows, VK_TAB);
    EXPECT_EQ(FocusedCombo(), lead);
    PressKey(windows, VK_TAB);
    EXPECT_EQ(FocusedCombo(), interval);

    // Back from another window, the focus is where it was left.
    PressKey(windows, VK_TAB);
    HWND other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10,
                                 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    SetActiveWindow(setup);
    DestroyWindow(other);
    EXPECT_EQ(FocusedCombo(), lead);

    // Down in the lead list picks its first item; the list is disabled and the focus moves on.
    PressKey(windows, VK_DOWN);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    EXPECT_FALSE(IsWindowEnabled(lead));
    EXPECT_EQ(FocusedCombo(), interval);

    // Down in the interval list picks "1" and starts the countdown.
    PressKey(windows, VK_DOWN);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
    EXPECT_FALSE(IsWindowVisible(setup));
}

TEST_F(Win32ProgramTest, ReturnOnTheFocusedOkButtonRestartsTheCountdown) {
    program.Start();
    program.frmRef.Show();
    ProcessMessages();
    HWND dialog = AsWindow(program.frmRef.hWnd());
    HWND picker = FindWindowExW(dialog, nullptr, DATETIMEPICK_CLASSW, nullptr);
    EXPECT_EQ(GetFocus(), picker);

    PressKey(windows, VK_TAB);
    ASSERT_EQ(GetFocus(), FindChild(dialog, L"Button", L"Ok"));
    PressKey(windows, VK_RETURN);

    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Win32ProgramTest, TypingIntoTheIntervalListChangesItsTextAndStartsNothing) {
    // The user opens the setup window and types "7" into the interval list.
    program.Start();
    program.Form1.Show();
    HWND setup = AsWindow(program.Form1.hWnd());
    HWND combo = FindChild(setup, L"ComboBox", L"Time Frames");
    ASSERT_NE(combo, nullptr);
    SetWindowTextW(combo, L"7");
    Notify(combo, CBN_EDITCHANGE);

    // The list holds the typed text; the setup window stays and no countdown runs.
    EXPECT_EQ(program.Form1.Combo1().Text(), "7");
    EXPECT_TRUE(IsWindowVisible(setup));
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Win32ProgramTest, ExitAppFromTheContextMenuEndsTheProgram) {
    // The user right-clicks the countdown and chooses the menu's last entry, "Exit App", with
    // the keyboard.
    program.Start();
    ProcessMessages();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    HWND label = FindChild(window, L"Static", L"Label1");
    ASSERT_NE(label, nullptr);
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(label, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));

    // The press first asked the system for a move, then the menu's choice closed every window.
    const auto moves = os.CallsOf("SendMessageA");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].arguments[1], 0xA1);
    EXPECT_EQ(moves[0].arguments[2], 2);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    EXPECT_TRUE(program.runtime.HasEnded());
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32ProgramTest, LabelPressesReportTheirButton) {
    program.Start();
    HWND window = AsWindow(program.frmCountDown.hWnd());
    HWND label = FindChild(window, L"Static", L"Label1");
    ASSERT_NE(label, nullptr);
    std::vector<MouseButton> pressed;
    program.frmCountDown.Label1().OnMouseDown(
        [&](MouseButton button, std::int16_t, float, float) { pressed.push_back(button); });

    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(label, WM_MBUTTONDOWN, MK_MBUTTON, 0);
    SendMessageW(label, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);

    EXPECT_EQ(pressed, (std::vector<MouseButton>{MouseButton::Left, MouseButton::Middle,
                                                 MouseButton::Left}));
}

TEST_F(Win32ProgramTest, ThePickerShowsTheProgramsValueAndHandsBackTheUsers) {
    HWND dialog = AsWindow(program.frmRef.hWnd());
    HWND picker = FindWindowExW(dialog, nullptr, DATETIMEPICK_CLASSW, nullptr);
    ASSERT_NE(picker, nullptr);

    SYSTEMTIME shown{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wYear, 2003);
    EXPECT_EQ(shown.wMonth, 11);
    EXPECT_EQ(shown.wDay, 20);
    EXPECT_EQ(shown.wHour, 0);

    // The user sets the picker to 09:15:30.
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = picker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(picker));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = shown;
    change.st.wHour = 9;
    change.st.wMinute = 15;
    change.st.wSecond = 30;
    SendMessageW(dialog, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));

    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));
}

TEST_F(Win32ProgramTest, ClosingTheReferenceDialogUnloadsIt) {
    program.Start();
    program.frmRef.Show();
    HWND dialog = AsWindow(program.frmRef.hWnd());
    ASSERT_TRUE((GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);

    SendMessageW(dialog, WM_CLOSE, 0, 0);

    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(program.frmCountDown.IsVisible());
}

// Small windows of the tests' own, for what the program's windows do not show directly.
class Win32FormTest : public Win32ProgramTest {
protected:
    Runtime runtime{windows, os, clock};
};

WindowLayout ListWindow() {
    WindowLayout layout;
    layout.name = "ListWindow";
    layout.caption = "List";
    layout.clientArea = {0, 0, 1500, 1500};
    ControlLayout list;
    list.name = "List";
    list.kind = ControlKind::ComboBox;
    list.caption = "start";
    list.bounds = {0, 0, 1500, 315};
    layout.controls = {list};
    return layout;
}

TEST_F(Win32FormTest, APickRunsTheClickOnceEvenThoughTheProgramRewritesTheText) {
    const WindowLayout layout = ListWindow();
    FormFake form(runtime, layout);
    int clicks = 0;
    form.onBind = [&](FormFake& self) { self.Get<ComboBox>("List").OnClick([&] { ++clicks; }); };
    form.onLoad = [](FormFake& self) {
        self.Get<ComboBox>("List").AddItem("one");
        self.Get<ComboBox>("List").AddItem("two");
    };
    form.Show();
    HWND combo = FindChild(AsWindow(form.hWnd()), L"ComboBox", L"start");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);

    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    Notify(combo, CBN_SELENDOK);
    ProcessMessages();

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.Get<ComboBox>("List").Text(), "two");
    EXPECT_EQ(Text(combo), L"two");
}

TEST_F(Win32FormTest, ADisabledListIgnoresPicks) {
    const WindowLayout layout = ListWindow();
    FormFake form(runtime, layout);
    int clicks = 0;
    form.onBind = [&](FormFake& self) {
        self.Get<ComboBox>("List").OnClick([&] { ++clicks; });
        self.Get<ComboBox>("List").AddItem("one");
    };
    form.Show();
    HWND combo = FindChild(AsWindow(form.hWnd()), L"ComboBox", L"start");
    ASSERT_NE(combo, nullptr);

    form.Get<ComboBox>("List").SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(combo));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    Notify(combo, CBN_SELENDOK);

    EXPECT_EQ(clicks, 0);
}

TEST_F(Win32FormTest, AnEnabledTimerTicksThroughTheMessageLoop) {
    WindowLayout layout;
    layout.name = "TimerWindow";
    layout.clientArea = {0, 0, 600, 600};
    ControlLayout timer;
    timer.name = "Tick";
    timer.kind = ControlKind::Timer;
    timer.timerEnabled = true;
    timer.timerInterval = 10;
    layout.controls = {timer};
    FormFake form(runtime, layout);
    int ticks = 0;
    form.onBind = [&](FormFake& self) { self.Get<Timer>("Tick").OnTimer([&] { ++ticks; }); };
    form.Load();

    // Waits for the ticks with a generous bound, so a slow machine cannot hang the test.
    const ULONGLONG giveUp = GetTickCount64() + 10000;
    while (ticks < 3 && GetTickCount64() < giveUp) {
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
    }
    EXPECT_GE(ticks, 3);

    // Once disabled, no native timer is left: a waiting tick finds nothing to kill.
    form.Get<Timer>("Tick").SetEnabled(false);
    EXPECT_FALSE(KillTimer(AsWindow(form.hWnd()), 1000));
}

// The real declared functions.
class Win32OsFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay()) {
            GTEST_SKIP() << "no display to create windows on";
        }
        window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }

    WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(window_); }

    HWND window_ = nullptr;
    Win32OsFunctions os;
};

TEST_F(Win32OsFunctionsTest, SetWindowPosMovesTheWindowIntoAndOutOfTheTopmostBand) {
    os.SetWindowPos(Handle(), kTopMostBand, 0, 0, 0, 0, kKeepPosition | kKeepSize);
    EXPECT_TRUE((GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);

    os.SetWindowPos(Handle(), kNormalBand, 0, 0, 0, 0, kKeepPosition | kKeepSize);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(Win32OsFunctionsTest, ReleaseCaptureEndsTheMouseCapture) {
    SetCapture(window_);
    ASSERT_EQ(GetCapture(), window_);

    os.ReleaseCapture();

    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32OsFunctionsTest, SendMessageAHandsTheLParamOverByAddress) {
    static LPARAM received = 0;
    SetWindowLongPtrW(window_, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND, UINT message, WPARAM, LPARAM lParam) {
                          if (message == WM_USER) {
                              received = lParam;
                          }
                          return LRESULT{0};
                      }));
    std::int32_t lParam = 0;

    os.SendMessageA(Handle(), WM_USER, 0, lParam);

    EXPECT_EQ(received, reinterpret_cast<LPARAM>(&lParam));
}

TEST_F(Win32OsFunctionsTest, PlaySoundAIsBoundAtItsFirstCallAndFindsNoMissingFile) {
    // Nothing else in the test program uses the multimedia library.
    EXPECT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr);

    const std::int32_t played =
        os.PlaySoundA("no-such-sound.wav", 0, kPlayFileName | kPlayNoDefault);

    EXPECT_NE(GetModuleHandleW(L"winmm.dll"), nullptr);
    EXPECT_EQ(played, 0);
}

// Real Windows looks for a bare sound name in the working directory and the system's folders,
// not in the program's own; under Wine the search also takes the program's folder, so this checks
// where the program itself turns to.
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
    EXPECT_EQ(SoundBesideProgram(".\\brindle-probe.wav"), L"")
        << "a name with a folder stays as is";
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
