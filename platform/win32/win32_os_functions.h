#pragma once

#include <cstdint>
#include <string>

#include "os_functions.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// The file of that bare name in the program's own folder, when the working directory has no such
// file and the program's folder has one; empty otherwise, and for a name with a folder. A program
// started from a shortcut without a "Start in" folder, or at log-in, runs in some other directory,
// where the sound played by its bare name would not be found.
std::wstring SoundBesideProgram(const std::string& name);

// The five declared functions, calling the system's own. The window and sleep functions come from
// libraries every process has loaded; the sound library is loaded at the first chime, and its
// entries are looked up then and kept. A sound file named without a folder that the working
// directory lacks is played from the program's folder.
class Win32OsFunctions final : public OsFunctions {
public:
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
    FARPROC playSound_ = nullptr;
    // The wide entry plays the copy beside the program, whose folder may have any name.
    FARPROC playSoundWide_ = nullptr;
};

}  // namespace brindle
