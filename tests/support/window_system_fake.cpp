#include "window_system_fake.h"

#include <cassert>

namespace brindle {

namespace {

// Copies one property onto the screen, as a native widget shows it; the others stay as they were.
void Copy(const Control& c, Property p, ShownControl& shown) {
    if (const auto* label = dynamic_cast<const Label*>(&c)) {
        shown.text = p == Property::Caption ? label->Caption() : shown.text;
        shown.foreColor = p == Property::ForeColor ? label->ForeColor() : shown.foreColor;
        shown.backColor = p == Property::BackColor ? label->BackColor() : shown.backColor;
    } else if (const auto* combo = dynamic_cast<const ComboBox*>(&c)) {
        shown.text = p == Property::Text ? combo->Text() : shown.text;
        shown.enabled = p == Property::Enabled ? combo->Enabled() : shown.enabled;
        shown.items = p == Property::Items ? combo->Items() : shown.items;
    } else if (const auto* box = dynamic_cast<const TextBox*>(&c)) {
        shown.text = p == Property::Text ? box->Text() : shown.text;
    } else if (const auto* timer = dynamic_cast<const Timer*>(&c)) {
        shown.enabled = p == Property::Enabled ? timer->Enabled() : shown.enabled;
    } else if (const auto* picker = dynamic_cast<const DatePicker*>(&c)) {
        shown.value = p == Property::Value ? picker->Value() : shown.value;
    }
}

}  // namespace

class WindowPeerFake final : public WindowPeer {
public:
    // Builds the window's widgets from its controls as they are now, hidden.
    WindowPeerFake(WindowSystemFake& system, Form& form, WindowHandle handle)
        : system_(system), form_(form), handle_(handle) {
        // A window loaded afresh may get its new peer before the old one is destroyed.
        ShownWindow& shown = system_.screen[form_.Name()] = {handle, false, {}};
        for (const auto& control : form_.Controls()) {
            for (const Property p :
                 {Property::Caption, Property::Text, Property::ForeColor, Property::BackColor,
                  Property::Enabled, Property::Items, Property::Value}) {
                Copy(*control, p, shown.controls[control->Name()]);
            }
        }
    }
    ~WindowPeerFake() override {
        const auto shown = system_.screen.find(form_.Name());
        if (shown != system_.screen.end() && shown->second.handle == handle_) {
            system_.screen.erase(shown);
        }
    }

    void ControlChanged(Control& control, Property property) override {
        Copy(control, property, system_.screen.at(form_.Name()).controls.at(control.Name()));
    }
    void VisibilityChanged(Visibility visibility) override {
        system_.screen.at(form_.Name()).visible = visibility == Visibility::Visible;
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
    ++peersCreated;
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

void WindowSystemFake::FireTimer(Form& form, const std::string& timer) {
    if (screen.at(form.Name()).controls.at(timer).enabled) {
        form.Get<Timer>(timer).RaiseTimer();
    }
}

}  // namespace brindle
