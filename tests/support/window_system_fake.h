#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/form.h"
#include "runtime/window_system.h"

namespace brindle {

// One thing a peer was told: a property change or a visibility change.
struct PeerUpdate {
    std::string window;
    std::string control;  // empty for a visibility change
    Property property = Property::Caption;
    Visibility visibility = Visibility::Hidden;
};

// A popup the program opened: on which window, which menu.
struct PopupRecord {
    std::string window;
    std::string menu;
};

class WindowSystemFake;

class WindowPeerFake final : public WindowPeer {
public:
    WindowPeerFake(WindowSystemFake& system, Form& form, WindowHandle handle);
    ~WindowPeerFake() override;

    void ControlChanged(Control& control, Property property) override;
    void VisibilityChanged(Visibility visibility) override;
    WindowHandle Handle() const override { return handle_; }
    TwipsRect Bounds() const override { return bounds_; }
    void PopupMenu(MenuItem& menu) override;

    Form& GetForm() const { return form_; }

private:
    WindowSystemFake& system_;
    Form& form_;
    WindowHandle handle_;
    TwipsRect bounds_;
};

// A window system with no display. It records what the program shows and lets a test act as the
// user: press a label, pick a list item, choose a menu entry, fire the timer.
class WindowSystemFake final : public WindowSystem {
public:
    std::unique_ptr<WindowPeer> CreatePeer(Form& form) override;
    void ProcessPendingEvents() override;
    float TwipsPerPixelX() const override { return 15.0f; }
    float TwipsPerPixelY() const override { return 15.0f; }
    int Run() override;
    void Quit() override { ++quitCount; }

    // What the program did.
    std::vector<PeerUpdate> updates;
    std::vector<PopupRecord> popups;
    int processPendingEventsCount = 0;
    int quitCount = 0;
    int livePeers = 0;
    std::vector<std::string> peersCreated;

    // Runs as each popup opens, before any entry is chosen, so a test can see what had happened by
    // then and which menu object was shown.
    std::function<void(Form& window, MenuItem& menu)> onPopup;

    // The entry to choose in the next popup the program opens; none closes the menu unchosen.
    void ChooseOnNextPopup(std::string entryName) { nextChoices_.push_back(std::move(entryName)); }
    // Something the user does while the program processes its pending events (for example
    // during an alert's pause); run at the next ProcessPendingEvents, in order.
    void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }

    // The user's actions.
    void PressLabel(Form& form, const std::string& label, MouseButton button);
    void PickItem(Form& form, const std::string& combo, const std::string& item);
    void TypeText(Form& form, const std::string& combo, const std::string& text);
    void FireTimer(Form& form, const std::string& timer);

    // Updates since the last Clear.
    void ClearRecords();

private:
    friend class WindowPeerFake;
    std::deque<std::string> nextChoices_;
    std::deque<std::function<void()>> pending_;
    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace brindle
