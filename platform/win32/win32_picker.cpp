#include "win32_controls.h"

#include <commctrl.h>

#include "value/date_time.h"

namespace brindle {

namespace {

// The picker shows the time of day the countdown counts from first, since its narrow field may
// cut off the end, and the date after it.
constexpr const wchar_t* kPickerFormat = L"HH':'mm':'ss dd'/'MM'/'yyyy";

SYSTEMTIME ToSystemTime(DateTime value) {
    const CivilDateTime civil = ToCivil(value);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(civil.year);
    time.wMonth = static_cast<WORD>(civil.month);
    time.wDay = static_cast<WORD>(civil.day);
    time.wHour = static_cast<WORD>(civil.hour);
    time.wMinute = static_cast<WORD>(civil.minute);
    time.wSecond = static_cast<WORD>(civil.second);
    return time;
}

}  // namespace

Win32Picker::Win32Picker(DatePicker& picker, UINT id, HWND parent, HINSTANCE instance)
    : Win32Control(picker, id), picker_(picker) {
    const DWORD tabStop = picker.Layout().focus == Focus::Accepts ? WS_TABSTOP : 0;
    HWND window =
        MakeWindow(parent, instance, 0, DATETIMEPICK_CLASSW, "", DTS_SHORTDATEFORMAT | tabStop);
    if (window == nullptr) {
        return;
    }
    SendMessageW(window, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
    SYSTEMTIME range[2] = {ToSystemTime(picker_.MinDate()), ToSystemTime(picker_.MaxDate())};
    SendMessageW(window, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    picker_.Attach(this);
}

// A picker may report a value written to it as a change like the user's; a write is quiet so
// that it never reaches the control as the user's value.
void Win32Picker::ShowValue(DateTime value) {
    SYSTEMTIME time = ToSystemTime(value);
    Quietly([&] {
        SendMessageW(Window(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    });
}

void Win32Picker::OnNotify(const NMHDR& header) {
    if (Writing() || header.code != DTN_DATETIMECHANGE) {
        return;
    }
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags != GDT_VALID) {
        return;
    }
    const SYSTEMTIME& time = change.st;
    picker_.AcceptUserValue(
        MakeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond));
}

}  // namespace brindle
