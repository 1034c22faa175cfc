#include <iterator>

#include "win32_busy_sources.h"

namespace brindle::win32 {

namespace {

// Windows records under this key, per capability, when each program last began and ended using
// it; an entry whose end is zero belongs to a program that uses it now.
constexpr wchar_t kConsentStore[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\CapabilityAccessManager\\ConsentStore\\";

// A registry key that closes itself.
class Key {
public:
    Key(HKEY parent, const wchar_t* name) {
        if (RegOpenKeyExW(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key_) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~Key() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::optional<ULONGLONG> Time(HKEY entry, const wchar_t* name) {
    ULONGLONG value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(entry, nullptr, name, RRF_RT_REG_QWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

bool InUse(HKEY entry) {
    const auto start = Time(entry, L"LastUsedTimeStart");
    const auto stop = Time(entry, L"LastUsedTimeStop");
    return start.value_or(0) != 0 && stop == ULONGLONG{0};
}

// Whether an entry directly under the key, other than the one named skip, is in use. Packaged
// programs' entries sit beside the key that holds the others, which has no times of its own.
bool AnyInUse(HKEY parent, const std::wstring& skip) {
    if (parent == nullptr) {
        return false;
    }
    // A registry key's name has at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        if (!skip.empty() && CompareStringOrdinal(name, -1, skip.c_str(), -1, TRUE) == CSTR_EQUAL) {
            continue;
        }
        const Key entry(parent, name);
        if (entry.Get() != nullptr && InUse(entry.Get())) {
            return true;
        }
    }
}

}  // namespace

bool CapabilityInUse(Capability capability, const std::wstring& ownEntry) {
    std::wstring path = kConsentStore;
    path += capability == Capability::Microphone ? L"microphone" : L"webcam";
    const Key store(HKEY_CURRENT_USER, path.c_str());
    if (store.Get() == nullptr) {
        return false;
    }
    const Key nonPackaged(store.Get(), L"NonPackaged");
    return AnyInUse(store.Get(), {}) || AnyInUse(nonPackaged.Get(), ownEntry);
}

std::wstring OwnConsentEntry() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD used =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (used == 0) {
            return {};
        }
        if (used < path.size()) {
            path.resize(used);
            break;
        }
        path.resize(path.size() * 2);
    }
    for (wchar_t& c : path) {
        if (c == L'\\') {
            c = L'#';
        }
    }
    return path;
}

}  // namespace brindle::win32
