#pragma once

#include "os_functions.h"

namespace brindle {

class QtSound;
class QtWindowSystem;

// Stand-ins for the five declared functions, acting on the windows through the backend's handle
// registry. A handle of a window that is gone is ignored, as the real functions fail on it.
class QtOsFunctions final : public OsFunctions {
public:
    QtOsFunctions(QtWindowSystem& windows, QtSound& sound) : windows_(windows), sound_(sound) {}

    std::int32_t SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter, std::int32_t x,
                              std::int32_t y, std::int32_t cx, std::int32_t cy,
                              std::int32_t wFlags) override;
    std::int32_t ReleaseCapture() override;
    std::int32_t SendMessageA(WindowHandle hWnd, std::int32_t wMsg, std::int32_t wParam,
                              std::int32_t& lParam) override;
    void Sleep(std::int32_t dwMilliseconds) override;
    std::int32_t PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                            std::int32_t dwFlags) override;

private:
    QtWindowSystem& windows_;
    QtSound& sound_;
};

}  // namespace brindle
