#include "window_system_fake.h"

#include <cassert>

namespace brindle {

class WindowPeerFake final : public WindowPeer {
public:
    WindowPeerFake(WindowSystemFake& system, Form& form, WindowHandle handle)
        : system_(system), form_(form), handle_(handle) {
        ++system_.livePeers;
    }
    ~WindowPeerFake() override { --system_.livePeers; }

    void ControlChanged(Control& control, Property property) override {
        system_.updates.push_back({form_.Name(), control.Name(), property, Visibility::Hidden});
    }
    void VisibilityChanged(Visibility visibility) override {
        system_.updates.push_back({form_.Name(), "", Property::Caption, visibility});
    }
    WindowHandle Handle() const override { return handle_; }
    TwipsRect Bounds() const override {
        return {0, 0, form_.Layout().clientArea.width, form_.Layout().clientArea.height};
    }
    void PopupMenu(MenuItem& menu) override {
        system_.popups.push_back(form_.Name());
        std::string shown;
        for (const MenuItem* entry : menu.Children()) {
            const char* mark = entry->Check() == MenuCheck::Checked     ? "[x] "
                               : entry->Check() == MenuCheck::Unchecked ? "[ ] "
                                                                        : "";
            shown += (shown.empty() ? "" : "|") + std::string(mark) +
                     (entry->IsSeparator() ? "---" : entry->Caption());
        }
        system_.menusShown.push_back(shown);
        if (system_.nextChoices_.empty()) {
            return;
        }
        const std::string choice = system_.nextChoices_.front();
        system_.nextChoices_.pop_front();
        for (MenuItem* entry : menu.Children()) {
            if (entry->Name() == choice) {
                entry->RaiseClick();
                return;
            }
        }
        assert(false && "the chosen entry is not in this menu");
    }

private:
    WindowSystemFake& system_;
    Form& form_;
    WindowHandle handle_;
};

std::unique_ptr<WindowPeer> WindowSystemFake::CreatePeer(Form& form) {
    peersCreated.push_back(form.Name());
    return std::make_unique<WindowPeerFake>(*this, form, nextHandle_++);
}

void WindowSystemFake::ProcessPendingEvents() {
    ++processPendingEventsCount;
    while (!pending_.empty()) {
        auto event = std::move(pending_.front());
        pending_.pop_front();
        event();
    }
}

int WindowSystemFake::Run() {
    ProcessPendingEvents();
    return 0;
}

void WindowSystemFake::PressLabel(Form& form, const std::string& label, MouseButton button) {
    form.Get<Label>(label).RaiseMouseDown(button, 0, 10.0f, 10.0f);
}

void WindowSystemFake::PickItem(Form& form, const std::string& combo, const std::string& item) {
    ComboBox& box = form.Get<ComboBox>(combo);
    for (std::size_t i = 0; i < box.Items().size(); ++i) {
        if (box.Items()[i] == item) {
            box.Pick(i);
            return;
        }
    }
    assert(false && "no such item in the list");
}

void WindowSystemFake::TypeText(Form& form, const std::string& combo, const std::string& text) {
    form.Get<ComboBox>(combo).AcceptTypedText(text);
}

void WindowSystemFake::FireTimer(Form& form, const std::string& timer) {
    form.Get<Timer>(timer).RaiseTimer();
}

void WindowSystemFake::ClearRecords() {
    updates.clear();
    popups.clear();
    processPendingEventsCount = 0;
}

}  // namespace brindle
