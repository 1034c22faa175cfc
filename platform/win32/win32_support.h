#pragma once

#include <windows.h>

#include <string>

namespace brindle::win32 {

// The program's strings are UTF-8; the native controls take UTF-16.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
std::string WindowText(HWND window);
// The system's own words for an error code, in one line.
std::string SystemErrorText(LONG code);

// The dots per inch of the monitor a window is on, or of the system when the running Windows
// cannot tell per window; 96 when neither is known.
UINT WindowDpi(HWND window);
UINT SystemDpi();

// How many twips (1/1440 inch) one pixel spans at a given DPI.
float TwipsPerPixel(UINT dpi);

// The outer rectangle a window needs for a given client size, at a given DPI.
RECT OuterRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font at a given DPI: the font of controls whose layout names none.
LOGFONTW MessageFont(UINT dpi);

}  // namespace brindle::win32
