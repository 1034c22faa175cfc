#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "clock_fake.h"
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

enum class Key : WPARAM { Tab = VK_TAB, Return = VK_RETURN, Space = VK_SPACE, Down = VK_DOWN };

// The native window system's steps for the cases both backends share, with the declared functions
// faked.
struct Native {
    explicit Native(ClockFake& clock) : os(clock) {}
    OsFunctionsFake os;
    Win32WindowSystem windows;

    // Every control that can be seen has a child of its layout's place and font, in the colours
    // its control holds now; no other control has a child, so neither the keyboard nor a screen
    // reader reaches it.
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
                EXPECT_EQ(child, nullptr);
                continue;
            }
            GetWindowRect(child, &area);
            MapWindowPoints(nullptr, Window(form), reinterpret_cast<POINT*>(&area), 2);
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
    // The window manager answers focus requests and focuses newly shown windows in its own time,
    // so a late answer to an earlier window can make that one active again after this request:
    // the form is asked for until it has stayed active for half a second, for five seconds at
    // most.
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
    // As the keyboard does: to the focused child, through the program's loop.
    void Press(Key key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, WPARAM(key), 1);
        PostMessageW(GetFocus(), WM_KEYUP, WPARAM(key), 0xC0000001);
        windows.ProcessPendingEvents();
    }
    bool HasFocus(Form& form, const Control& control) {
        HWND child = Child(form, control);
        return GetFocus() == child || GetParent(GetFocus()) == child;
    }
    void Type(Form& form, const Control& combo, const char* text) {
        HWND field = Child(form, combo);
        SetWindowTextA(field, text);
        SendMessageW(Window(form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), CBN_EDITCHANGE),
                     LPARAM(field));
    }
    void PressLabel(Form& form, const Control& label, MouseButton button, ModifierKeys keys) {
        const WPARAM held = (keys.shift ? MK_SHIFT : 0) | (keys.control ? MK_CONTROL : 0);
        SendMessageW(Child(form, label),
                     button == MouseButton::Left     ? WM_LBUTTONDOWN
                     : button == MouseButton::Middle ? WM_MBUTTONDOWN
                                                     : WM_RBUTTONDOWN,
                     held, 0);
    }
    void EditPicker(Form& form, DateTime value) {
        const CivilDateTime c = ToCivil(value);
        HWND picker = Child(form, form.Get<DatePicker>("DTPicker1"));
        NMDATETIMECHANGE change{{picker, UINT_PTR(GetDlgCtrlID(picker)), UINT(DTN_DATETIMECHANGE)},
                                GDT_VALID,
                                {WORD(c.year), WORD(c.month), 0, WORD(c.day), WORD(c.hour),
                                 WORD(c.minute), WORD(c.second), 0}};
        SendMessageW(Window(form), WM_NOTIFY, change.nmhdr.idFrom, LPARAM(&change));
    }
    void Close(Form& form) { SendMessageW(Window(form), WM_CLOSE, 0, 0); }
    // The menu's last entry, chosen by keys; the status is the loop's quit message's.
    int ExitAppFromTheMenu(Program& program) {
        HWND countDown = Window(program.frmCountDown);
        PostMessageW(countDown, WM_KEYDOWN, VK_UP, 0);
        PostMessageW(countDown, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(Child(program.frmCountDown, program.frmCountDown.lblCountDown()),
                     WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        MSG quit{};
        return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(quit.wParam) : -1;
    }
    static std::unique_ptr<WindowSystem> TickWindows(TickSettings ticks) {
        return std::make_unique<Win32WindowSystem>(std::move(ticks));
    }
    static bool WaitFor(WindowSystem& windows, const std::function<bool()>& done, int ms = 10'000) {
        for (int waited = 0; waited < ms && !done(); waited += 10) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            windows.ProcessPendingEvents();
        }
        return done();
    }
};

}  // namespace
}  // namespace brindle

#include "../backend_cases.h"

namespace brindle {
namespace {

std::wstring Text(HWND child) {
    std::wstring text(std::size_t(GetWindowTextLengthW(child)), L'\0');
    GetWindowTextW(child, text.data(), int(text.size() + 1));
    return text;
}

TEST_F(Backend, WhatTheProgramSetsReachesTheChildWindows) {
    Label& timeLeft = program.frmCountDown.lblCountDown();
    timeLeft.SetCaption("04:59");
    EXPECT_EQ(Text(Child(program.frmCountDown, timeLeft)), L"04:59");
    // New items leave the text in the field as it was.
    ComboBox& list = program.Form1.Combo1();
    HWND box = Child(program.Form1, list);
    list.SetText("15");
    list.AddItem("61");
    EXPECT_EQ(Text(box), L"15");
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    ASSERT_EQ(count, LRESULT(list.Items().size()));
    wchar_t last[8] = {};
    SendMessageW(box, CB_GETLBTEXT, WPARAM(count - 1), LPARAM(last));
    EXPECT_STREQ(last, L"61");
    // The field is emptied and written again on the way; the list keeps its own text.
    EXPECT_EQ(list.Text(), "15");
    list.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box));
    list.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(box));
    DatePicker& picker = program.frmRef.DTPicker1();
    picker.SetValue(MakeDateTime(2003, 11, 20, 9, 15, 30));
    SYSTEMTIME shown{};
    SendMessageW(Child(program.frmRef, picker), DTM_GETSYSTEMTIME, 0, LPARAM(&shown));
    EXPECT_EQ(std::tuple(shown.wYear, shown.wMonth, shown.wDay, shown.wHour, shown.wMinute,
                         shown.wSecond),
              std::tuple(2003, 11, 20, 9, 15, 30));
}

TEST_F(Backend, WindowsOpenCentredOnThePrimaryScreenAndStayThereAsTopMostGoesOnAndOff) {
    RECT area{}, centred{}, now{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    program.Form1.Show();
    GetWindowRect(Window(program.Form1), &centred);
    EXPECT_LE(std::abs(centred.left + centred.right - area.left - area.right) +
                  std::abs(centred.top + centred.bottom - area.top - area.bottom),
              4);
    Win32OsFunctions real;
    for (std::int32_t band : {-1, -2}) {
        real.SetWindowPos(program.Form1.hWnd(), band, 0, 0, 0, 0, kKeepPosition | kKeepSize);
        const LONG_PTR style = GetWindowLongPtrW(Window(program.Form1), GWL_EXSTYLE);
        EXPECT_EQ((style & WS_EX_TOPMOST) != 0, band == -1);
        GetWindowRect(Window(program.Form1), &now);
        EXPECT_TRUE(EqualRect(&now, &centred));
    }
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
