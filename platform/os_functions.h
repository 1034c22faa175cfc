#pragma once

#include <cstdint>
#include <string>

namespace brindle {

// A native window's handle as the declared functions take it; the backend hands it out.
using WindowHandle = std::intptr_t;

// The values the program passes to the declared functions. They have the Windows values but
// names of their own, so that no include order can let a Windows macro stand in for them.
// SetWindowPos: the band to insert into, and the flags that keep position and size.
inline constexpr std::int32_t kInsertTopMost = -1;
inline constexpr std::int32_t kInsertNotTopMost = -2;
inline constexpr std::int32_t kKeepSize = 0x1;
inline constexpr std::int32_t kKeepPosition = 0x2;
// SendMessageA: a left-button press on the caption, which starts the system's window move.
inline constexpr std::int32_t kNonClientLeftButtonDown = 0xA1;
inline constexpr std::int32_t kCaptionHit = 2;
// PlaySoundA: return at once, stay silent without the file, and the name is a file's.
inline constexpr std::int32_t kPlayAsync = 0x1;
inline constexpr std::int32_t kPlayNoDefault = 0x2;
inline constexpr std::int32_t kPlayFileName = 0x20000;

// The five operating-system functions the program declares and calls directly. No caller examines
// a result. The Windows backend binds the real ones; other backends stand in for them.
class OsFunctions {
public:
    virtual ~OsFunctions() = default;

    virtual std::int32_t SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                      std::int32_t x, std::int32_t y, std::int32_t cx,
                                      std::int32_t cy, std::int32_t wFlags) = 0;
    virtual std::int32_t ReleaseCapture() = 0;
    // lParam is handed over by reference, as the declaration has it.
    virtual std::int32_t SendMessageA(WindowHandle hWnd, std::int32_t wMsg, std::int32_t wParam,
                                      std::int32_t& lParam) = 0;
    virtual void Sleep(std::int32_t dwMilliseconds) = 0;
    virtual std::int32_t PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                                    std::int32_t dwFlags) = 0;
};

}  // namespace brindle
