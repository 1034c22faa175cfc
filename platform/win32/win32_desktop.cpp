#include "win32_desktop.h"

#include <atomic>
#include <utility>

#include "win32_busy_sources.h"
#include "win32_support.h"

namespace brindle {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Brindle";

// How long a busy check waits for its sources: one that has not answered by then counts as free.
constexpr ULONGLONG kBusyDeadlineMs = 200;

// One busy check, shared by the thread that answers it and the thread that asks the sources, which
// may still hang in a source after the answer has gone.
struct BusyCheck {
    std::function<void(BusyReasons)> then;
    std::wstring ownConsentEntry;
    ULONGLONG deadline = 0;
    // Each source's answer is kept as soon as it comes, so one that hangs loses only its own.
    std::atomic<BusyReasons> found;
};

using SharedCheck = std::shared_ptr<BusyCheck>;

HANDLE StartThread(LPTHREAD_START_ROUTINE run, const SharedCheck& check) {
    auto* share = new SharedCheck(check);
    // The program's default stack: the answering thread may load the sound library, whose
    // initialisation runs on it.
    HANDLE thread = CreateThread(nullptr, 0, run, share, 0, nullptr);
    if (thread == nullptr) {
        delete share;
    }
    return thread;
}

DWORD WINAPI AskSources(void* parameter) {
    const std::unique_ptr<SharedCheck> share(static_cast<SharedCheck*>(parameter));
    BusyCheck& check = **share;
    const auto add = [&check](BusyReason reason) {
        BusyReasons found = check.found.load();
        found.Add(reason);
        check.found.store(found);
    };
    if (win32::CapabilityInUse(win32::Capability::Microphone, check.ownConsentEntry)) {
        add(BusyReason::Microphone);
    }
    if (win32::CapabilityInUse(win32::Capability::Camera, check.ownConsentEntry)) {
        add(BusyReason::Camera);
    }
    if (const auto shell = win32::ShellBusyReason()) {
        add(*shell);
    }
    return 0;
}

// Asks the sources on a thread of their own and answers with what they said by the deadline.
DWORD WINAPI AnswerBusyCheck(void* parameter) {
    const std::unique_ptr<SharedCheck> share(static_cast<SharedCheck*>(parameter));
    BusyCheck& check = **share;
    if (HANDLE asking = StartThread(&AskSources, *share)) {
        const ULONGLONG now = GetTickCount64();
        WaitForSingleObject(asking,
                            check.deadline > now ? static_cast<DWORD>(check.deadline - now) : 0);
        CloseHandle(asking);
    }
    // Taken out of the shared check, so that nothing of the caller's is kept by a source that
    // hangs.
    const auto then = std::move(check.then);
    then(check.found.load());
    return 0;
}

}  // namespace

std::optional<bool> Win32Desktop::ReadFlag(const std::string& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, win32::Widen(name).c_str(), RRF_RT_REG_DWORD,
                     nullptr, &value, &size) != ERROR_SUCCESS ||
        value > 1) {
        return std::nullopt;
    }
    return value == 1;
}

std::optional<SettingError> Win32Desktop::WriteFlag(const std::string& name, bool value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const DWORD data = value ? 1 : 0;
        status = RegSetValueExW(key, win32::Widen(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data);
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        return SettingError{"HKEY_CURRENT_USER\\Software\\Brindle", win32::SystemErrorText(status)};
    }
    return std::nullopt;
}

Win32Desktop::Win32Desktop()
    : sessionLock_(std::make_unique<win32::SessionLockWatch>()),
      ownConsentEntry_(win32::OwnConsentEntry()) {}

Win32Desktop::~Win32Desktop() {
    for (HANDLE answering : answering_) {
        WaitForSingleObject(answering, INFINITE);
        CloseHandle(answering);
    }
}

void Win32Desktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    // Warnings come a minute apart or more, so the earlier checks have long been answered.
    std::erase_if(answering_, [](HANDLE answering) {
        if (WaitForSingleObject(answering, 0) != WAIT_OBJECT_0) {
            return false;
        }
        CloseHandle(answering);
        return true;
    });
    auto check = std::make_shared<BusyCheck>();
    check->deadline = GetTickCount64() + kBusyDeadlineMs;
    check->ownConsentEntry = ownConsentEntry_;
    // The lock is known without asking anyone, so it counts even when every source hangs.
    BusyReasons known;
    if (sessionLock_->Locked()) {
        known.Add(BusyReason::SessionLocked);
    }
    check->found.store(known);
    check->then = std::move(then);
    if (HANDLE answering = StartThread(&AnswerBusyCheck, check)) {
        answering_.push_back(answering);
        return;
    }
    // Without a thread the sources cannot be asked without holding up the flash: what is known
    // without asking is the answer.
    check->then(known);
}

}  // namespace brindle
