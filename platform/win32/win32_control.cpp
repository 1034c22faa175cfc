#include "win32_controls.h"

#include <cmath>

#include "runtime/peer_rules.h"
#include "win32_support.h"

namespace brindle {

COLORREF ResolveColour(Colour colour, int systemColour) {
    return colour == kDefaultColour ? GetSysColor(systemColour) : static_cast<COLORREF>(colour);
}

Win32Control::~Win32Control() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

HWND Win32Control::MakeWindow(HWND parent, HINSTANCE instance, DWORD exStyle,
                              const wchar_t* className, const std::string& text, DWORD style) {
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    window_ = CreateWindowExW(exStyle, className, win32::Widen(text).c_str(), common | style, 0, 0,
                              0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)),
                              instance, nullptr);
    return window_;
}

void Win32Control::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    if (window_ == nullptr) {
        return;
    }
    const float twipsPerPixel = win32::TwipsPerPixel(dpi);
    const PixelRect bounds = ToPixels(control_.Layout().bounds, twipsPerPixel);
    const int height =
        bounds.height + TwipsToPixels(static_cast<float>(ExtraHeightTwips()), twipsPerPixel);
    SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT old = font_;
    font_ = MakeFont();
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (old != nullptr) {
        DeleteObject(old);
    }
}

HFONT Win32Control::MakeFont() const {
    const brindle::Font& font = control_.Layout().font;
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

HBRUSH Win32Control::BrushFor(COLORREF colour) {
    if (brush_ == nullptr || brushColour_ != colour) {
        if (brush_ != nullptr) {
            DeleteObject(brush_);
        }
        brush_ = CreateSolidBrush(colour);
        brushColour_ = colour;
    }
    return brush_;
}

}  // namespace brindle
