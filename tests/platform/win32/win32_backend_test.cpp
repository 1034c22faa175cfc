#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "clock_fake.h"
#include "os_functions_fake.h"
#include "runtime/peer_rules.h"
#include "win32_os_functions.h"
#include "win32_support.h"
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

struct Shown;

// The native window system's steps for the cases both backends share, with the declared functions
// faked.
struct Native {
    explicit Native(ClockFake& clock) : os(clock) {}
    OsFunctionsFake os;
    Win32WindowSystem windows;

    float TwipsPerPixel(Form& form) { return 1440.0f / float(GetDpiForWindow(Window(form))); }
    double FontSize(Form& form, double points) {
        return -MulDiv(int(points * 100), int(GetDpiForWindow(Window(form))), 7200);
    }
    std::pair<int, int> ClientSize(Form& form) {
        RECT area{};
        GetClientRect(Window(form), &area);
        return {int(area.right), int(area.bottom)};
    }
    std::optional<Shown> Read(Form& form, const Control& control);
    void Type(Form& form, const Control& combo, const char* text) {
        HWND field = Child(form, combo);
        SetWindowTextA(field, text);
        SendMessageW(Window(form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), CBN_EDITCHANGE),
                     LPARAM(field));
    }
    void MiddlePressWithShiftAndCtrl(Form& form, const Control& label) {
        SendMessageW(Child(form, label), WM_MBUTTONDOWN, MK_SHIFT | MK_CONTROL, 0);
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

// The colours a child is painted with, as its window answers for it; its text, items, state and
// value, as a screen reader reads them.
std::optional<Shown> Native::Read(Form& form, const Control& control) {
    HWND child = Child(form, control);
    if (child == nullptr) {
        return std::nullopt;
    }
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Window(form), reinterpret_cast<POINT*>(&r), 2);
    LOGFONTW f{};
    GetObjectW(HFONT(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(f), &f);
    HDC context = CreateCompatibleDC(nullptr);
    LOGBRUSH fill{};
    const UINT ask = control.Kind() == ControlKind::ComboBox ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    GetObjectW(HBRUSH(SendMessageW(Window(form), ask, WPARAM(context), LPARAM(child))),
               sizeof(fill), &fill);
    Shown shown;
    shown.place = {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
    shown.font = {win32::Narrow(f.lfFaceName), f.lfHeight, f.lfWeight, f.lfItalic != 0};
    shown.colours = {GetTextColor(context), fill.lbColor};
    shown.text = win32::WindowText(child);
    DeleteDC(context);
    shown.enabled = IsWindowEnabled(child);
    const LRESULT count =
        control.Kind() == ControlKind::ComboBox ? SendMessageW(child, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        std::string item(std::size_t(SendMessageA(child, CB_GETLBTEXTLEN, WPARAM(i), 0)), '\0');
        SendMessageA(child, CB_GETLBTEXT, WPARAM(i), LPARAM(item.data()));
        shown.items.push_back(item);
    }
    SYSTEMTIME t{};
    if (control.Kind() == ControlKind::DatePicker &&
        SendMessageW(child, DTM_GETSYSTEMTIME, 0, LPARAM(&t)) == GDT_VALID) {
        shown.value = MakeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    }
    return shown;
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
