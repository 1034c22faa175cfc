#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "desktop.h"

namespace brindle::win32 {

// The devices whose use the system's privacy settings record for each program.
enum class Capability { Microphone, Camera };

// Whether a program other than this one uses the capability now: the consent store holds an
// entry whose last use started and has not stopped. False when the store cannot be read.
bool CapabilityInUse(Capability capability, const std::wstring& ownEntry);

// The name the consent store gives this program's own entry among programs that are not packaged:
// its path with each backslash written as '#'.
std::wstring OwnConsentEntry();

// Why the shell holds its notifications back now, if it does: a full-screen program, a
// presentation, quiet hours or Focus Assist. Nothing when it does not or cannot tell.
std::optional<BusyReason> ShellBusyReason();

// Whether the session is locked, kept from the session-change notifications that a hidden
// message-only window receives, so that a busy check reads it without asking anyone. Without the
// session library (some Wine prefixes) it never knows of a lock and says unlocked.
class SessionLockWatch {
public:
    SessionLockWatch();
    ~SessionLockWatch();
    SessionLockWatch(const SessionLockWatch&) = delete;
    SessionLockWatch& operator=(const SessionLockWatch&) = delete;

    // Read on the thread that made the watch, whose messages set it.
    bool Locked() const { return locked_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool locked_ = false;
    HMODULE sessions_ = nullptr;
    ATOM windowClass_ = 0;
    HWND window_ = nullptr;
};

}  // namespace brindle::win32
