#include "win32_busy_sources.h"

#include <shellapi.h>

#include <cstdint>

namespace brindle::win32 {

namespace {

// Focus Assist's profile is a shell state published through the Windows Notification Facility,
// which only ntdll reads; the function is undocumented, so it is looked up when asked and its
// absence (older Windows, Wine) means Focus Assist is off.
using QueryWnfStateDataFn = LONG(NTAPI*)(const std::uint64_t* stateName, const void* typeId,
                                         const void* explicitScope, ULONG* changeStamp,
                                         void* buffer, ULONG* bufferSize);

// WNF_SHEL_QUIETHOURS_ACTIVE_PROFILE_CHANGED: 0 when off, else the profile that mutes
// notifications (priority only, alarms only).
constexpr std::uint64_t kQuietHoursProfile = 0x0D83063EA3BF1C75;

bool FocusAssistOn() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return false;
    }
    // The detour through the generic function type keeps the cast well defined.
    const auto query = reinterpret_cast<QueryWnfStateDataFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtQueryWnfStateData")));
    if (query == nullptr) {
        return false;
    }
    ULONG changeStamp = 0;
    DWORD profile = 0;
    ULONG size = sizeof profile;
    const LONG status = query(&kQuietHoursProfile, nullptr, nullptr, &changeStamp, &profile, &size);
    return status >= 0 && size == sizeof profile && profile != 0;
}

}  // namespace

std::optional<BusyReason> ShellBusyReason() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (SUCCEEDED(SHQueryUserNotificationState(&state))) {
        switch (state) {
            case QUNS_BUSY:
            case QUNS_RUNNING_D3D_FULL_SCREEN:
                return BusyReason::FullScreen;
            case QUNS_PRESENTATION_MODE:
            case QUNS_QUIET_TIME:
                return BusyReason::DoNotDisturb;
            default:
                break;
        }
    }
    if (FocusAssistOn()) {
        return BusyReason::DoNotDisturb;
    }
    return std::nullopt;
}

}  // namespace brindle::win32
