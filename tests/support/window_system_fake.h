#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/form.h"
#include "runtime/window_system.h"

namespace brindle {

// One thing a peer was told: a property change, or (control empty) a visibility change.
struct PeerUpdate {
    std::string window;
    std::string control;
    Property property = Property::Caption;
    Visibility visibility = Visibility::Hidden;
};

// A window system with no display. It records what reached the peers and acts as the user: it
// presses labels, picks list items, chooses menu entries and fires timers.
class WindowSystemFake final : public WindowSystem {
public:
    std::unique_ptr<WindowPeer> CreatePeer(Form& form) override;
    void ProcessPendingEvents() override;
    float TwipsPerPixelX() const override { return 15.0f; }
    float TwipsPerPixelY() const override { return 15.0f; }
    int Run() override;
    void Quit() override { ++quitCount; }
    void MsgBox(const std::string& prompt) override { messages.push_back(prompt); }

    std::vector<PeerUpdate> updates;
    std::vector<std::string> popups;  // the window each context menu opened on
    // Each context menu's entries as a person sees them: "---" a separator, "[x] " a check mark.
    std::vector<std::string> menusShown;
    std::vector<std::string> messages;  // each message box's text
    std::vector<std::string> peersCreated;
    int processPendingEventsCount = 0;
    int quitCount = 0;
    int livePeers = 0;

    // The entry chosen in the next popup; without one the popup closes unchosen.
    void ChooseOnNextPopup(std::string entry) { nextChoices_.push_back(std::move(entry)); }
    // Something the user does while the program processes pending events (an alert's pause).
    void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }

    void PressLabel(Form& form, const std::string& label, MouseButton button);
    void PickItem(Form& form, const std::string& combo, const std::string& item);
    void TypeText(Form& form, const std::string& combo, const std::string& text);
    void FireTimer(Form& form, const std::string& timer);
    void ClearRecords();

private:
    friend class WindowPeerFake;
    std::deque<std::string> nextChoices_;
    std::deque<std::function<void()>> pending_;
    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace brindle
