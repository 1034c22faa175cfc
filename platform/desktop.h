#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brindle {

// What can make a person busy when a warning is due; each is a reason to hold the chime back.
enum class BusyReason : std::uint8_t {
    Microphone,
    Camera,
    DoNotDisturb,
    FullScreen,
    SessionLocked,
};

// The reasons found by one busy check. None means the person is free, also when no source could
// answer: a chime is never lost to an error.
class BusyReasons {
public:
    void Add(BusyReason reason) { bits_ |= Bit(reason); }
    bool Has(BusyReason reason) const { return (bits_ & Bit(reason)) != 0; }
    bool Any() const { return bits_ != 0; }

private:
    static std::uint8_t Bit(BusyReason reason) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(reason));
    }
    std::uint8_t bits_ = 0;
};

// A setting that could not be saved: where it was to go and why not, as a person is told.
struct SettingError {
    std::string where;
    std::string reason;
};

// The user's desktop as the program asks it about the person rather than about windows: the
// settings kept for the user across starts, the system's entry that starts the program at log-in,
// and whether the person is busy.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The flag saved under the name; nothing when it was never saved or cannot be read.
    virtual std::optional<bool> ReadFlag(const std::string& name) = 0;
    // Saves the flag for later starts; says where and why when it could not.
    virtual std::optional<SettingError> WriteFlag(const std::string& name, bool value) = 0;
    // Asks every source whether the person is busy and calls then with what they said, on any
    // thread, at most some 200 ms later: a source that hangs is given up and counts as free.
    virtual void WhenBusyKnown(std::function<void(BusyReasons)> then) = 0;

    // Whether the system's log-in entry exists and starts this program, also one written by hand.
    virtual bool StartsAtLogIn() = 0;
    // Writes the log-in entry that starts this program with the options, the comment saying what
    // they do, in place of any entry there. A failure leaves no half-written entry.
    virtual std::optional<SettingError> WriteLogInStart(const std::vector<std::string>& options,
                                                        const std::string& comment) = 0;
    // Removes the log-in entry, and nothing else.
    virtual std::optional<SettingError> RemoveLogInStart() = 0;
};

}  // namespace brindle
