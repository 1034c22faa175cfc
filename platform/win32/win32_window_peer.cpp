#include "win32_window_peer.h"

#include <algorithm>
#include <cassert>

#include "runtime/peer_rules.h"
#include "win32_menu.h"
#include "win32_support.h"
#include "win32_window_system.h"

namespace brindle {

namespace {

constexpr UINT kFirstChildId = 1000;

// The unit that makes and stands for the child window of a control a person can see.
std::unique_ptr<Win32Control> MakeChild(Control& control, UINT id, HWND parent,
                                        HINSTANCE instance) {
    switch (control.Kind()) {
        case ControlKind::Label:
            return std::make_unique<Win32Label>(static_cast<Label&>(control), id, parent, instance);
        case ControlKind::ComboBox:
            return std::make_unique<Win32List>(static_cast<ComboBox&>(control), id, parent,
                                               instance);
        case ControlKind::CommandButton:
            return std::make_unique<Win32Button>(static_cast<CommandButton&>(control), id, parent,
                                                 instance);
        case ControlKind::DatePicker:
            return std::make_unique<Win32Picker>(static_cast<DatePicker&>(control), id, parent,
                                                 instance);
        default:
            assert(false && "a layout shows a control of a kind that has no child window");
            return nullptr;
    }
}

// The first unit that matches; nullptr when none does.
template <class Unit, class Match>
Unit* Find(const std::vector<std::unique_ptr<Unit>>& units, Match match) {
    const auto found =
        std::find_if(units.begin(), units.end(), [&](const auto& unit) { return match(*unit); });
    return found != units.end() ? found->get() : nullptr;
}

}  // namespace

Win32WindowPeer::Win32WindowPeer(Win32WindowSystem& system, Form& form)
    : system_(system), form_(form) {
    const WindowLayout& layout = form.Layout();
    const bool captionless = layout.border == BorderStyle::None;
    style_ = (captionless ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
    exStyle_ = layout.taskbar == TaskbarEntry::Yes ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    background_ = CreateSolidBrush(ResolveColour(layout.backColor, COLOR_BTNFACE));

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
        SetIcon();
    }
    CreateControls();
    ApplyDpi(dpi_);
}

Win32WindowPeer::~Win32WindowPeer() {
    // No tick comes once the window starts to go.
    timers_.clear();
    if (window_ != nullptr) {
        // From here on the window's messages get the default handling: the form may already
        // be gone.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    // The children's fonts and brushes go only once their windows are gone; their controls are
    // let go of then too.
    children_.clear();
    DeleteObject(background_);
}

void Win32WindowPeer::SetIcon() {
    const auto loadIcon = [&](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageW(system_.Instance(), MAKEINTRESOURCEW(1),
                                                   IMAGE_ICON, GetSystemMetrics(metricX),
                                                   GetSystemMetrics(metricY), LR_SHARED));
    };
    SendMessageW(window_, WM_SETICON, ICON_BIG, loadIcon(SM_CXICON, SM_CYICON));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, loadIcon(SM_CXSMICON, SM_CYSMICON));
}

// A control no one can see gets no child window, so neither the keyboard nor a screen reader
// reaches it. A child's id is its control's place in the layout.
void Win32WindowPeer::CreateControls() {
    UINT id = kFirstChildId;
    for (const auto& control : form_.Controls()) {
        if (control->Kind() == ControlKind::Timer) {
            timers_.push_back(std::make_unique<Win32Timer>(static_cast<Timer&>(*control), id,
                                                           window_, system_.Ticks()));
        } else if (CanBeSeen(*control)) {
            if (auto child = MakeChild(*control, id, window_, system_.Instance())) {
                children_.push_back(std::move(child));
            }
        }
        ++id;
    }
    Stack();
}

// The keyboard's Tab walks the children from front to back. So the controls that take focus go
// in front in tab order (none of them overlap), and the rest follow in stored order, windowed
// controls still above labels. Raising from the back leaves the first on top.
void Win32WindowPeer::Stack() {
    const std::vector<Control*> tabOrder = TabOrder(form_);
    std::vector<Control*> raise;
    for (Control* control : BackToFront(form_)) {
        if (std::find(tabOrder.begin(), tabOrder.end(), control) == tabOrder.end()) {
            raise.push_back(control);
        }
    }
    raise.insert(raise.end(), tabOrder.rbegin(), tabOrder.rend());
    for (Control* control : raise) {
        Win32Control* child = FindByControl(*control);
        if (child != nullptr && child->Window() != nullptr) {
            SetWindowPos(child->Window(), HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void Win32WindowPeer::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    for (const auto& child : children_) {
        child->ApplyDpi(dpi);
    }
    const float twipsPerPixel = win32::TwipsPerPixel(dpi);
    const TwipsRect& client = form_.Layout().clientArea;
    const RECT outer = win32::OuterRectForClient(TwipsToPixels(client.width, twipsPerPixel),
                                                 TwipsToPixels(client.height, twipsPerPixel),
                                                 style_, exStyle_, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowPeer::CentreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    // The primary screen's work area leaves out the taskbar and docked panels, so a window
    // centred in it is never partly hidden behind them.
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const PixelRect workArea{screen.left, screen.top, screen.right - screen.left,
                             screen.bottom - screen.top};
    const PixelPoint origin =
        CentredOrigin(workArea, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    const float twipsPerPixel = win32::TwipsPerPixel(dpi_);
    return {PixelsToTwips(outer.left, twipsPerPixel), PixelsToTwips(outer.top, twipsPerPixel),
            PixelsToTwips(outer.right - outer.left, twipsPerPixel),
            PixelsToTwips(outer.bottom - outer.top, twipsPerPixel)};
}

void Win32WindowPeer::PopupMenu(MenuItem& menu) {
    Win32Menu popup(menu);
    popup.Track(window_);
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
        case WM_WINDOWPOSCHANGING:
            return OnPositionChanging(wParam, lParam);
        case WM_CLOSE:
            return OnClose();
        case WM_SYSCOMMAND:
            return OnSystemCommand(wParam, lParam);
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT Win32WindowPeer::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Return pressed in the window: the dialog keys ask for the default button, and the control
    // that has the focus takes it.
    if (LOWORD(wParam) == IDOK && lParam == 0) {
        Win32Control* focused = FindByWindow(GetFocus());
        if (focused != nullptr) {
            focused->OnReturn();
        }
        return 0;
    }
    Win32Control* child = FindById(LOWORD(wParam));
    if (child == nullptr) {
        return DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
    }
    child->OnCommand(HIWORD(wParam));
    return 0;
}

LRESULT Win32WindowPeer::OnNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    Win32Control* child = FindByWindow(header->hwndFrom);
    if (child != nullptr) {
        child->OnNotify(*header);
    }
    return 0;
}

LRESULT Win32WindowPeer::OnControlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(lParam);
    Win32Control* child = FindByWindow(window);
    if (child == nullptr) {
        // A combo box's text field is a child of the combo box.
        child = FindByWindow(GetParent(window));
    }
    HBRUSH brush = child != nullptr ? child->OnColour(reinterpret_cast<HDC>(wParam)) : nullptr;
    if (brush == nullptr) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT Win32WindowPeer::OnDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Win32Control* child = FindById(item->CtlID);
    return child != nullptr && child->OnDrawItem(*item) ? TRUE : FALSE;
}

LRESULT Win32WindowPeer::OnEraseBackground(WPARAM wParam) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
    return 1;
}

LRESULT Win32WindowPeer::OnPositionChanging(WPARAM wParam, LPARAM lParam) {
    // Making a hidden window topmost would also make it the active window, and the keys would go
    // to a window nobody sees instead of the one the user works in.
    auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
    if (!IsWindowVisible(window_) && (position->flags & SWP_SHOWWINDOW) == 0) {
        position->flags |= SWP_NOACTIVATE;
    }
    return DefWindowProcW(window_, WM_WINDOWPOSCHANGING, wParam, lParam);
}

LRESULT Win32WindowPeer::OnTimer(WPARAM wParam) {
    Win32Timer* timer = Find(timers_, [&](const Win32Timer& t) { return t.Id() == wParam; });
    if (timer != nullptr) {
        timer->Tick();
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

Win32Control* Win32WindowPeer::FindByWindow(HWND window) {
    return window == nullptr
               ? nullptr
               : Find(children_, [&](const Win32Control& c) { return c.Window() == window; });
}

Win32Control* Win32WindowPeer::FindById(UINT id) {
    return Find(children_, [&](const Win32Control& c) { return c.Id() == id; });
}

Win32Control* Win32WindowPeer::FindByControl(const Control& control) {
    return Find(children_, [&](const Win32Control& c) { return &c.Target() == &control; });
}

}  // namespace brindle
