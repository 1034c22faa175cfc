#include "win32_window_peer.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "value/date_time.h"
#include "win32_support.h"
#include "win32_window_system.h"

namespace brindle {

namespace {

constexpr UINT kFirstChildId = 1000;
constexpr UINT_PTR kLabelSubclassId = 1;
constexpr UINT_PTR kTextFieldSubclassId = 2;
// How far a combo box's list drops below its text field.
constexpr double kComboListTwips = 2400.0;
// The picker shows the time of day the countdown counts from first, since its narrow field may
// cut off the end, and the date after it.
constexpr const wchar_t* kPickerFormat = L"HH':'mm':'ss dd'/'MM'/'yyyy";

COLORREF Resolve(Colour colour, int systemColour) {
    return colour == kDefaultColour ? GetSysColor(systemColour) : static_cast<COLORREF>(colour);
}

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

// The modifier keys as a mouse event reports them: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t ShiftState(WPARAM wParam) {
    std::int16_t shift = 0;
    if ((wParam & MK_SHIFT) != 0) {
        shift |= 1;
    }
    if ((wParam & MK_CONTROL) != 0) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    return shift;
}

// Where a control stands in the keyboard's tab order: windowed controls that take focus by their
// tab index, everything else after them.
int TabPosition(const Control& control) {
    const ControlLayout& layout = control.Layout();
    const bool windowed =
        control.Kind() == ControlKind::ComboBox || control.Kind() == ControlKind::TextBox ||
        control.Kind() == ControlKind::CommandButton || control.Kind() == ControlKind::DatePicker;
    const bool takesFocus = windowed && layout.focus == Focus::Accepts && layout.tabIndex >= 0;
    return takesFocus ? layout.tabIndex : INT_MAX;
}

// Notifications a child sends while the peer writes to it are the peer's own doing.
class WritingScope {
public:
    explicit WritingScope(bool& flag) : flag_(flag), outer_(flag) { flag_ = true; }
    ~WritingScope() { flag_ = outer_; }
    WritingScope(const WritingScope&) = delete;
    WritingScope& operator=(const WritingScope&) = delete;

private:
    bool& flag_;
    bool outer_;
};

}  // namespace

Win32WindowPeer::Win32WindowPeer(Win32WindowSystem& system, Form& form)
    : system_(system), form_(form) {
    const WindowLayout& layout = form.Layout();
    const bool captionless = layout.border == BorderStyle::None;
    style_ = (captionless ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
    exStyle_ = layout.taskbar == TaskbarEntry::Yes ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    background_ = CreateSolidBrush(Resolve(layout.backColor, COLOR_BTNFACE));

    UINT id = kFirstChildId;
    natives_.reserve(form.Controls().size());
    for (const auto& control : form.Controls()) {
        Native native;
        native.control = control.get();
        native.id = id++;
        natives_.push_back(std::move(native));
    }

    // Only overlapped windows may leave the position to the system; the others are placed when
    // they are first shown.
    const bool systemPlaces =
        !captionless && layout.startUpPosition == StartUpPosition::WindowsDefault;
    const int position = systemPlaces ? CW_USEDEFAULT : 0;
    CreateWindowExW(exStyle_, MAKEINTATOM(system.WindowClass()),
                    win32::Widen(layout.caption).c_str(), style_, position, position, 0, 0, nullptr,
                    nullptr, system.Instance(), this);
    if (window_ == nullptr) {
        return;
    }
    dpi_ = win32::WindowDpi(window_);

    if (layout.hasIcon) {
        const auto loadIcon = [&](int metricX, int metricY) {
            return reinterpret_cast<LPARAM>(LoadImageW(system.Instance(), MAKEINTRESOURCEW(1),
                                                       IMAGE_ICON, GetSystemMetrics(metricX),
                                                       GetSystemMetrics(metricY), LR_SHARED));
        };
        SendMessageW(window_, WM_SETICON, ICON_BIG, loadIcon(SM_CXICON, SM_CYICON));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, loadIcon(SM_CXSMICON, SM_CYSMICON));
    }

    CreateChildren();
    ApplyDpi(dpi_);
}

Win32WindowPeer::~Win32WindowPeer() {
    if (window_ != nullptr) {
        for (Native& native : natives_) {
            if (native.control->Kind() == ControlKind::Timer) {
                StopTimer(native);
            }
        }
        // From here on the window's messages get the default handling: the form may already
        // be gone.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        for (Native& native : natives_) {
            if (native.control->Kind() == ControlKind::Label && native.window != nullptr) {
                RemoveWindowSubclass(native.window, &LabelProc, kLabelSubclassId);
            }
            COMBOBOXINFO parts{};
            parts.cbSize = sizeof(parts);
            if (native.control->Kind() == ControlKind::ComboBox && native.window != nullptr &&
                GetComboBoxInfo(native.window, &parts) && parts.hwndItem != nullptr) {
                RemoveWindowSubclass(parts.hwndItem, &TextFieldProc, kTextFieldSubclassId);
            }
        }
        DestroyWindow(window_);
    }
    for (Native& native : natives_) {
        if (native.font != nullptr) {
            DeleteObject(native.font);
        }
        if (native.brush != nullptr) {
            DeleteObject(native.brush);
        }
    }
    DeleteObject(background_);
}

void Win32WindowPeer::CreateChildren() {
    WritingScope writing(writing_);
    for (Native& native : natives_) {
        native.window = CreateChild(native);
    }
    // Stored order is stacking order from front to back, and the keyboard's Tab walks the
    // children from front to back too. So the controls that take focus go in front in tab-index
    // order (none of them overlap), and the rest follow in stored order, windowed controls still
    // above labels. Raising from the back leaves the first on top.
    std::vector<Native*> front;
    for (Native& native : natives_) {
        front.push_back(&native);
    }
    std::stable_sort(front.begin(), front.end(), [](const Native* a, const Native* b) {
        return TabPosition(*a->control) < TabPosition(*b->control);
    });
    for (auto native = front.rbegin(); native != front.rend(); ++native) {
        if ((*native)->window != nullptr) {
            SetWindowPos((*native)->window, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    for (Native& native : natives_) {
        if (native.control->Kind() == ControlKind::Timer) {
            WriteTimer(native);
        }
    }
}

HWND Win32WindowPeer::CreateChild(Native& native) {
    const ControlLayout& layout = native.control->Layout();
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD tabStop = layout.focus == Focus::Accepts ? WS_TABSTOP : 0;
    const auto make = [&](DWORD exStyle, const wchar_t* className, const std::string& text,
                          DWORD style) {
        return CreateWindowExW(
            exStyle, className, win32::Widen(text).c_str(), common | style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(native.id)), system_.Instance(), nullptr);
    };

    switch (native.control->Kind()) {
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(*native.control);
            DWORD align = SS_LEFT;
            if (layout.alignment == Alignment::Centre) {
                align = SS_CENTER;
            } else if (layout.alignment == Alignment::Right) {
                align = SS_RIGHT;
            }
            // SS_NOTIFY makes the label take mouse presses instead of passing them through.
            HWND window = make(0, L"STATIC", label.Caption(), SS_NOTIFY | align);
            if (window != nullptr) {
                SetWindowSubclass(window, &LabelProc, kLabelSubclassId,
                                  reinterpret_cast<DWORD_PTR>(this));
            }
            return window;
        }
        case ControlKind::ComboBox: {
            const auto& combo = static_cast<const ComboBox&>(*native.control);
            HWND window =
                make(0, L"COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop);
            if (window != nullptr) {
                native.window = window;
                WriteComboItems(native);
                SetWindowTextW(window, win32::Widen(combo.Text()).c_str());
                EnableWindow(window, combo.Enabled());
                COMBOBOXINFO parts{};
                parts.cbSize = sizeof(parts);
                if (GetComboBoxInfo(window, &parts) && parts.hwndItem != nullptr) {
                    SetWindowSubclass(parts.hwndItem, &TextFieldProc, kTextFieldSubclassId,
                                      reinterpret_cast<DWORD_PTR>(this));
                }
            }
            return window;
        }
        case ControlKind::TextBox: {
            const auto& text = static_cast<const TextBox&>(*native.control);
            // A box that refuses focus is disabled, so neither keys nor clicks can change it.
            const DWORD input =
                layout.focus == Focus::Refuses ? WS_DISABLED | ES_READONLY : WS_TABSTOP;
            return make(WS_EX_CLIENTEDGE, L"EDIT", text.Text(), ES_AUTOHSCROLL | input);
        }
        case ControlKind::CommandButton: {
            const DWORD kind =
                layout.buttonStyle == ButtonStyle::Graphical ? BS_OWNERDRAW : BS_PUSHBUTTON;
            return make(0, L"BUTTON", layout.caption, kind | tabStop);
        }
        case ControlKind::DatePicker: {
            HWND window = make(0, DATETIMEPICK_CLASSW, "", DTS_SHORTDATEFORMAT | tabStop);
            if (window != nullptr) {
                native.window = window;
                SendMessageW(window, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kPickerFormat));
                WritePickerRange(native);
                WritePickerValue(native);
            }
            return window;
        }
        case ControlKind::Timer:
        case ControlKind::MenuItem:
            return nullptr;
    }
    return nullptr;
}

void Win32WindowPeer::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    for (Native& native : natives_) {
        if (native.window == nullptr) {
            continue;
        }
        const ControlLayout& layout = native.control->Layout();
        int height = win32::TwipsToPixels(layout.bounds.height, dpi);
        if (native.control->Kind() == ControlKind::ComboBox) {
            height += win32::TwipsToPixels(kComboListTwips, dpi);
        }
        SetWindowPos(native.window, nullptr, win32::TwipsToPixels(layout.bounds.left, dpi),
                     win32::TwipsToPixels(layout.bounds.top, dpi),
                     win32::TwipsToPixels(layout.bounds.width, dpi), height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT old = native.font;
        native.font = MakeFont(layout.font);
        SendMessageW(native.window, WM_SETFONT, reinterpret_cast<WPARAM>(native.font), TRUE);
        if (old != nullptr) {
            DeleteObject(old);
        }
    }
    const WindowLayout& layout = form_.Layout();
    const RECT outer = win32::OuterRectForClient(
        win32::TwipsToPixels(layout.clientArea.width, dpi),
        win32::TwipsToPixels(layout.clientArea.height, dpi), style_, exStyle_, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT Win32WindowPeer::MakeFont(const Font& font) const {
    if (font.face.empty()) {
        LOGFONTW message = win32::MessageFont(dpi_);
        return CreateFontIndirectW(&message);
    }
    LOGFONTW description{};
    description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi_ / 72.0));
    description.lfWeight = font.weight;
    description.lfItalic = font.slant == FontSlant::Italic ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = win32::Widen(font.face);
    face.copy(description.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&description);
}

void Win32WindowPeer::CentreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    // The primary screen's work area leaves out the taskbar and docked panels, so a window
    // centred in it is never partly hidden behind them.
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::WriteComboItems(Native& native) {
    WritingScope writing(writing_);
    const auto& combo = static_cast<const ComboBox&>(*native.control);
    // Emptying the list empties the text field too; the text is the program's and is put back.
    SendMessageW(native.window, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo.Items()) {
        const std::wstring wide = win32::Widen(item);
        SendMessageW(native.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetWindowTextW(native.window, win32::Widen(combo.Text()).c_str());
}

void Win32WindowPeer::WriteTimer(Native& native) {
    const auto& timer = static_cast<const Timer&>(*native.control);
    if (timer.Enabled() && timer.Interval() > 0) {
        ArmTimer(native);
    } else {
        StopTimer(native);
    }
}

// An aligned timer is armed afresh at every tick, before the handler runs, for 1 ms after the
// next multiple of its period on the wall clock, so a late tick (a busy thread, a sleeping
// machine, a wall clock that jumped) is followed by one tick at the next boundary, never by a
// burst of catch-up ticks. Its shot is a precise one-shot timer that posts kTickMessage. The
// free-running timer is the plain repeating SetTimer.
void Win32WindowPeer::ArmTimer(Native& native) {
    const auto& timer = static_cast<const Timer&>(*native.control);
    const TickSettings& ticks = system_.Ticks();
    if (ticks.alignment == TickAlignment::FreeRunning) {
        SetTimer(window_, native.id, static_cast<UINT>(timer.Interval()), nullptr);
        return;
    }
    if (!native.shot) {
        native.shot = std::make_unique<Win32PreciseTimer>(window_, kTickMessage, native.id);
    }
    native.shot->Start(DelayToNextTickNs(ticks.wallClockNs(), timer.Interval()));
}

void Win32WindowPeer::StopTimer(Native& native) {
    KillTimer(window_, native.id);
    if (native.shot) {
        native.shot->Stop();
    }
}

void Win32WindowPeer::WritePickerValue(Native& native) {
    WritingScope writing(writing_);
    const auto& picker = static_cast<const DatePicker&>(*native.control);
    SYSTEMTIME value = ToSystemTime(picker.Value());
    SendMessageW(native.window, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

void Win32WindowPeer::WritePickerRange(Native& native) {
    const auto& picker = static_cast<const DatePicker&>(*native.control);
    SYSTEMTIME range[2] = {ToSystemTime(picker.MinDate()), ToSystemTime(picker.MaxDate())};
    SendMessageW(native.window, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

HBRUSH Win32WindowPeer::BrushFor(Native& native, Colour colour) {
    if (native.brush == nullptr || native.brushColour != colour) {
        if (native.brush != nullptr) {
            DeleteObject(native.brush);
        }
        native.brush = CreateSolidBrush(colour);
        native.brushColour = colour;
    }
    return native.brush;
}

void Win32WindowPeer::ControlChanged(Control& control, Property property) {
    Native* native = FindByControl(control);
    if (native == nullptr) {
        return;
    }
    WritingScope writing(writing_);
    switch (control.Kind()) {
        case ControlKind::Label: {
            const auto& label = static_cast<const Label&>(control);
            if (property == Property::Caption) {
                // The countdown sets the same caption four times a second; rewriting it
                // unchanged would only make the label flicker.
                if (win32::WindowText(native->window) != label.Caption()) {
                    SetWindowTextW(native->window, win32::Widen(label.Caption()).c_str());
                }
            } else {
                InvalidateRect(native->window, nullptr, TRUE);
            }
            break;
        }
        case ControlKind::ComboBox: {
            const auto& combo = static_cast<const ComboBox&>(control);
            if (property == Property::Text) {
                SetWindowTextW(native->window, win32::Widen(combo.Text()).c_str());
            } else if (property == Property::Enabled) {
                WriteComboEnabled(*native);
            } else if (property == Property::Items) {
                WriteComboItems(*native);
            }
            break;
        }
        case ControlKind::TextBox:
            SetWindowTextW(native->window,
                           win32::Widen(static_cast<const TextBox&>(control).Text()).c_str());
            break;
        case ControlKind::Timer:
            WriteTimer(*native);
            break;
        case ControlKind::DatePicker:
            WritePickerValue(*native);
            break;
        case ControlKind::CommandButton:
        case ControlKind::MenuItem:
            break;
    }
}

void Win32WindowPeer::WriteComboEnabled(Native& native) {
    const bool enabled = static_cast<const ComboBox&>(*native.control).Enabled();
    HWND focus = GetFocus();
    const bool hadFocus = focus == native.window || IsChild(native.window, focus);
    EnableWindow(native.window, enabled);
    // A disabled control loses the focus; the next control in tab order takes it, so the
    // keyboard keeps working in this window.
    if (!enabled && hadFocus) {
        HWND next = GetNextDlgTabItem(window_, native.window, FALSE);
        if (next != nullptr) {
            SetFocus(next);
        }
    }
}

void Win32WindowPeer::VisibilityChanged(Visibility visibility) {
    if (window_ == nullptr) {
        return;
    }
    if (visibility == Visibility::Hidden) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    if (!placed_) {
        placed_ = true;
        if (form_.Layout().startUpPosition == StartUpPosition::CentreScreen) {
            CentreOnScreen();
        }
    }
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

WindowHandle Win32WindowPeer::Handle() const {
    return reinterpret_cast<WindowHandle>(window_);
}

TwipsRect Win32WindowPeer::Bounds() const {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return {win32::PixelsToTwips(outer.left, dpi_), win32::PixelsToTwips(outer.top, dpi_),
            win32::PixelsToTwips(outer.right - outer.left, dpi_),
            win32::PixelsToTwips(outer.bottom - outer.top, dpi_)};
}

namespace {

// Appends menu's entries to popup; command ids are positions in commands, counted from 1.
void AppendEntries(HMENU popup, const MenuItem& menu, std::vector<MenuItem*>& commands) {
    for (MenuItem* entry : menu.Children()) {
        const std::wstring caption = win32::Widen(entry->Caption());
        if (entry->IsSeparator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else if (!entry->Children().empty()) {
            HMENU submenu = CreatePopupMenu();
            AppendEntries(submenu, *entry, commands);
            AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                        caption.c_str());
        } else {
            commands.push_back(entry);
            AppendMenuW(popup, MF_STRING, commands.size(), caption.c_str());
        }
    }
}

}  // namespace

void Win32WindowPeer::PopupMenu(MenuItem& menu) {
    HMENU popup = CreatePopupMenu();
    std::vector<MenuItem*> commands;
    AppendEntries(popup, menu, commands);
    POINT at{};
    GetCursorPos(&at);
    // A popup closes on a click elsewhere only when its owner is the foreground window.
    SetForegroundWindow(window_);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(popup);
    if (chosen > 0 && chosen <= commands.size()) {
        commands[chosen - 1]->RaiseClick();
    }
}

LRESULT CALLBACK Win32WindowPeer::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* peer = static_cast<Win32WindowPeer*>(create->lpCreateParams);
        peer->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<Win32WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (peer == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return peer->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK Win32WindowPeer::LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclassId, DWORD_PTR peer) {
    auto* self = reinterpret_cast<Win32WindowPeer*>(peer);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            self->OnLabelButton(window, MouseButton::Left, wParam, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            self->OnLabelButton(window, MouseButton::Right, wParam, lParam);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            self->OnLabelButton(window, MouseButton::Middle, wParam, lParam);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &LabelProc, subclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32WindowPeer::TextFieldProc(HWND field, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR subclassId,
                                                DWORD_PTR peer) {
    if (message == WM_PAINT && !IsWindowEnabled(field)) {
        reinterpret_cast<Win32WindowPeer*>(peer)->PaintDisabledField(field);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, &TextFieldProc, subclassId);
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// A disabled text field draws its text in the system's grey, whatever colour its window asks
// for; a disabled list keeps the colours of its layout instead, as on the other platform.
void Win32WindowPeer::PaintDisabledField(HWND field) {
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(field, &paint);
    Native* native = FindByWindow(GetParent(field));
    if (native != nullptr) {
        const ControlLayout& layout = native->control->Layout();
        RECT client{};
        GetClientRect(field, &client);
        FillRect(context, &client, BrushFor(*native, Resolve(layout.backColor, COLOR_WINDOW)));
        // Where the field itself puts its first character, scrolled and with its margin.
        const LRESULT origin = SendMessageW(field, EM_POSFROMCHAR, 0, 0);
        const std::wstring text = win32::Widen(win32::WindowText(field));
        if (origin != -1 && !text.empty()) {
            HGDIOBJ oldFont = SelectObject(context, native->font);
            SetTextColor(context, Resolve(layout.foreColor, COLOR_WINDOWTEXT));
            SetBkMode(context, TRANSPARENT);
            TextOutW(context, static_cast<short>(LOWORD(origin)),
                     static_cast<short>(HIWORD(origin)), text.c_str(),
                     static_cast<int>(text.size()));
            SelectObject(context, oldFont);
        }
    }
    EndPaint(field, &paint);
}

LRESULT Win32WindowPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_NOTIFY:
            return OnNotify(lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return OnControlColour(message, wParam, lParam);
        case WM_DRAWITEM:
            return OnDrawItem(lParam);
        case WM_ERASEBKGND:
            return OnEraseBackground(wParam);
        case WM_TIMER:
        case kTickMessage:
            return OnTimer(wParam);
        case WM_DPICHANGED:
            return OnDpiChanged(wParam, lParam);
        case WM_ACTIVATE:
            return OnActivate(wParam, lParam);
        case WM_WINDOWPOSCHANGING: {
            // Making a hidden window topmost would also make it the active window, and the
            // keys would go to a window nobody sees instead of the one the user works in.
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!IsWindowVisible(window_) && (position->flags & SWP_SHOWWINDOW) == 0) {
                position->flags |= SWP_NOACTIVATE;
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        }
        case WM_CLOSE:
            return OnClose();
        case WM_SYSCOMMAND:
            return OnSystemCommand(wParam, lParam);
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT Win32WindowPeer::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Return pressed in the window: the dialog keys ask for the default button, and a button
    // that has the focus is pressed, as a graphical button would not report it otherwise.
    if (LOWORD(wParam) == IDOK && lParam == 0) {
        Native* focused = FindByWindow(GetFocus());
        if (focused != nullptr && !writing_ &&
            focused->control->Kind() == ControlKind::CommandButton) {
            static_cast<CommandButton&>(*focused->control).SetValue(true);
        }
        return 0;
    }
    Native* native = FindById(LOWORD(wParam));
    if (native == nullptr || writing_) {
        return DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
    }
    const UINT code = HIWORD(wParam);
    switch (native->control->Kind()) {
        case ControlKind::ComboBox: {
            auto& combo = static_cast<ComboBox&>(*native->control);
            if (code == CBN_EDITCHANGE) {
                combo.AcceptTypedText(win32::WindowText(native->window));
            } else if (code == CBN_SELENDOK) {
                const LRESULT index = SendMessageW(native->window, CB_GETCURSEL, 0, 0);
                if (index != CB_ERR) {
                    combo.Pick(static_cast<std::size_t>(index));
                }
            }
            return 0;
        }
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) {
                static_cast<CommandButton&>(*native->control).SetValue(true);
            }
            return 0;
        default:
            return 0;
    }
}

LRESULT Win32WindowPeer::OnNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    Native* native = FindByWindow(header->hwndFrom);
    if (native == nullptr || writing_ || native->control->Kind() != ControlKind::DatePicker ||
        header->code != DTN_DATETIMECHANGE) {
        return 0;
    }
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
    if (change->dwFlags != GDT_VALID) {
        return 0;
    }
    const SYSTEMTIME& time = change->st;
    static_cast<DatePicker&>(*native->control)
        .AcceptUserValue(MakeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                                      time.wSecond));
    return 0;
}

LRESULT Win32WindowPeer::OnControlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = reinterpret_cast<HWND>(lParam);
    Native* native = FindByWindow(child);
    if (native == nullptr) {
        // A combo box's text field is a child of the combo box.
        native = FindByWindow(GetParent(child));
    }
    if (native == nullptr) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }
    COLORREF fore = 0;
    COLORREF back = 0;
    if (native->control->Kind() == ControlKind::Label) {
        const auto& label = static_cast<const Label&>(*native->control);
        fore = Resolve(label.ForeColor(), COLOR_BTNTEXT);
        back = Resolve(label.BackColor(), COLOR_BTNFACE);
    } else if (native->control->Kind() == ControlKind::ComboBox) {
        // A disabled list keeps its colours too; its text field then asks as a static control.
        const ControlLayout& layout = native->control->Layout();
        fore = Resolve(layout.foreColor, COLOR_WINDOWTEXT);
        back = Resolve(layout.backColor, COLOR_WINDOW);
    } else {
        return DefWindowProcW(window_, message, wParam, lParam);
    }
    HDC context = reinterpret_cast<HDC>(wParam);
    SetTextColor(context, fore);
    SetBkColor(context, back);
    SetBkMode(context, OPAQUE);
    return reinterpret_cast<LRESULT>(BrushFor(*native, back));
}

LRESULT Win32WindowPeer::OnDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Native* native = FindById(item->CtlID);
    if (native == nullptr || native->control->Kind() != ControlKind::CommandButton) {
        return FALSE;
    }
    // A graphical button shows its own back colour, which the themed push button would ignore.
    const ControlLayout& layout = native->control->Layout();
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    RECT face = item->rcItem;
    DrawFrameControl(item->hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    RECT inside = face;
    InflateRect(&inside, -2, -2);
    FillRect(item->hDC, &inside, BrushFor(*native, Resolve(layout.backColor, COLOR_BTNFACE)));
    if (pressed) {
        OffsetRect(&inside, 1, 1);
    }
    HGDIOBJ oldFont = SelectObject(item->hDC, native->font);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, Resolve(layout.foreColor, COLOR_BTNTEXT));
    const std::wstring caption = win32::Widen(layout.caption);
    DrawTextW(item->hDC, caption.c_str(), static_cast<int>(caption.size()), &inside,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item->hDC, oldFont);
    if ((item->itemState & ODS_FOCUS) != 0) {
        InflateRect(&inside, -1, -1);
        DrawFocusRect(item->hDC, &inside);
    }
    return TRUE;
}

LRESULT Win32WindowPeer::OnEraseBackground(WPARAM wParam) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
    return 1;
}

LRESULT Win32WindowPeer::OnTimer(WPARAM wParam) {
    Native* native = FindById(static_cast<UINT>(wParam));
    if (native != nullptr && native->control->Kind() == ControlKind::Timer) {
        auto& timer = static_cast<Timer&>(*native->control);
        // Re-armed before the handler, so the next tick comes while the handler waits in a nested
        // message loop, as the countdown's alert does. A tick already queued when the control was
        // disabled arms nothing.
        if (system_.Ticks().alignment == TickAlignment::WallClock && timer.Enabled()) {
            ArmTimer(*native);
        }
        timer.RaiseTimer();
    }
    return 0;
}

LRESULT Win32WindowPeer::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    ApplyDpi(LOWORD(wParam));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT Win32WindowPeer::OnSystemCommand(WPARAM wParam, LPARAM lParam) {
    // A press with the right or middle button on a label asks for a move as a press on a title
    // bar would; with no left button held there is nothing to drag, and on an X11 window manager
    // the move would stay armed and swallow the next click (the popup's choice).
    const bool captionMove = (wParam & 0xFFF0) == SC_MOVE && (wParam & 0x000F) == HTCAPTION;
    if (captionMove && GetKeyState(VK_LBUTTON) >= 0) {
        return 0;
    }
    return DefWindowProcW(window_, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT Win32WindowPeer::OnActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        focus_ = IsChild(window_, focus) ? focus : nullptr;
        return DefWindowProcW(window_, WM_ACTIVATE, wParam, lParam);
    }
    // Back to the control that had the focus when the window was left, or on first activation
    // to the first control in tab order; a window without one keeps the focus itself.
    HWND focus = focus_;
    if (focus == nullptr || !IsChild(window_, focus) || !IsWindowEnabled(focus) ||
        !IsWindowVisible(focus)) {
        focus = GetNextDlgTabItem(window_, nullptr, FALSE);
        if (focus != nullptr && (GetWindowLongPtrW(focus, GWL_STYLE) & WS_TABSTOP) == 0) {
            focus = nullptr;
        }
    }
    if (focus == nullptr) {
        return DefWindowProcW(window_, WM_ACTIVATE, wParam, lParam);
    }
    SetFocus(focus);
    return 0;
}

LRESULT Win32WindowPeer::OnClose() {
    // The program decides what closing means; it unloads the form, which destroys this window.
    form_.UserClose();
    return 0;
}

void Win32WindowPeer::OnLabelButton(HWND label, MouseButton button, WPARAM wParam, LPARAM lParam) {
    Native* native = FindByWindow(label);
    if (native == nullptr) {
        return;
    }
    const float x = win32::PixelsToTwips(static_cast<short>(LOWORD(lParam)), dpi_);
    const float y = win32::PixelsToTwips(static_cast<short>(HIWORD(lParam)), dpi_);
    static_cast<Label&>(*native->control).RaiseMouseDown(button, ShiftState(wParam), x, y);
}

Win32WindowPeer::Native* Win32WindowPeer::FindByWindow(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    for (Native& native : natives_) {
        if (native.window == window) {
            return &native;
        }
    }
    return nullptr;
}

Win32WindowPeer::Native* Win32WindowPeer::FindById(UINT id) {
    for (Native& native : natives_) {
        if (native.id == id) {
            return &native;
        }
    }
    return nullptr;
}

Win32WindowPeer::Native* Win32WindowPeer::FindByControl(const Control& control) {
    for (Native& native : natives_) {
        if (native.control == &control) {
            return &native;
        }
    }
    return nullptr;
}

}  // namespace brindle
