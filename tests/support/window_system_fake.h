#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/form.h"
#include "runtime/window_system.h"

namespace brindle {

// A control as a person sees it: what its widget was last told, which is only when the widget was
// attached and when its control told it a change. Controls no one can see have no widget.
struct ShownControl {
    std::string text;  // a label's caption, a list's or a box's text
    Colour foreColor = 0;
    Colour backColor = 0;
    bool enabled = true;
    std::vector<std::string> items;
    DateTime value;
    bool operator==(const ShownControl&) const = default;
};
struct ShownWindow {
    WindowHandle handle = 0;
    bool visible = false;
    std::map<std::string, ShownControl> controls;
    bool operator==(const ShownWindow&) const = default;
};

// A window system with no display. Its screen holds what reached the peers, and it acts as the
// user: it presses labels, picks list items, chooses menu entries and fires timers.
class WindowSystemFake final : public WindowSystem {
public:
    std::unique_ptr<WindowPeer> CreatePeer(Form& form) override;
    void ProcessPendingEvents() override;
    int Run() override;
    void Quit() override { ++quitCount; }
    void MsgBox(const std::string& prompt) override { messages.push_back(prompt); }

    std::map<std::string, ShownWindow> screen;  // by window name, while its peer lives
    std::vector<std::string> popups;            // the window each context menu opened on
    // Each context menu's entries as a person sees them: "---" a separator, "[x] " a check mark.
    std::vector<std::string> menusShown;
    std::vector<std::string> messages;  // each message box's text
    int peersCreated = 0;
    int processPendingEventsCount = 0;
    int quitCount = 0;

    // The entry chosen in the next popup; without one the popup closes unchosen.
    void ChooseOnNextPopup(std::string entry) { nextChoices_.push_back(std::move(entry)); }
    // Something the user does while the program processes pending events (an alert's pause).
    void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }

    void PressLabel(Form& form, const std::string& label, MouseButton button);
    void PickItem(Form& form, const std::string& combo, const std::string& item);
    // A tick of the native timer, which runs while its peer was last told the timer is enabled.
    void FireTimer(Form& form, const std::string& timer);

private:
    friend class WindowPeerFake;
    std::deque<std::string> nextChoices_;
    std::deque<std::function<void()>> pending_;
    WindowHandle nextHandle_ = 0x1000;
};

}  // namespace brindle
