#include "window_system_fake.h"

#include <cassert>

#include "runtime/peer_rules.h"

namespace brindle {

namespace {

// A widget of any kind: it writes what it is told onto its control's place on the screen, while
// that window there is still the one it belongs to (a window loaded afresh gets a new peer before
// the old one goes).
class WidgetFake final : public LabelPeer, public ListPeer, public PickerPeer, public TimerPeer {
public:
    WidgetFake(std::map<std::string, ShownWindow>& screen, std::string window, std::string control,
               WindowHandle handle)
        : screen_(screen),
          window_(std::move(window)),
          control_(std::move(control)),
          handle_(handle) {}

    void ShowCaption(const std::string& caption) override { Shown().text = caption; }
    void ShowText(const std::string& text) override { Shown().text = text; }
    void ShowForeColor(Colour colour) override { Shown().foreColor = colour; }
    void ShowBackColor(Colour colour) override { Shown().backColor = colour; }
    void ShowEnabled(bool enabled) override { Shown().enabled = enabled; }
    void ShowItems(const std::vector<std::string>& items) override { Shown().items = items; }
    void ShowValue(DateTime value) override { Shown().value = value; }

private:
    ShownControl& Shown() {
        const auto shown = screen_.find(window_);
        static ShownControl gone;
        return shown != screen_.end() && shown->second.handle == handle_
                   ? shown->second.controls[control_]
                   : gone;
    }

    std::map<std::string, ShownWindow>& screen_;
    std::string window_;
    std::string control_;
    WindowHandle handle_;
};

}  // namespace

class WindowPeerFake final : public WindowPeer {
public:
    // Builds the window's widgets, hidden, as both backends do: a timer for each timer and a
    // widget for each control a person can see.
    WindowPeerFake(WindowSystemFake& system, Form& form, WindowHandle handle)
        : system_(system), form_(form), handle_(handle) {
        ShownWindow& shown = system_.screen[form_.Name()] = {handle, false, {}};
        for (const auto& control : form_.Controls()) {
            if (control->Kind() != ControlKind::Timer && !CanBeSeen(*control)) {
                continue;
            }
            shown.controls[control->Name()];
            auto& widget = *widgets_.emplace_back(std::make_unique<WidgetFake>(
                system_.screen, form_.Name(), control->Name(), handle_));
            if (auto* label = dynamic_cast<Label*>(control.get())) {
                Attach(*label, &widget);
            } else if (auto* list = dynamic_cast<ComboBox*>(control.get())) {
                Attach(*list, &widget);
            } else if (auto* picker = dynamic_cast<DatePicker*>(control.get())) {
                Attach(*picker, &widget);
            } else if (auto* timer = dynamic_cast<Timer*>(control.get())) {
                Attach(*timer, &widget);
            }
        }
    }
    ~WindowPeerFake() override {
        for (const auto& detach : detach_) {
            detach();
        }
        const auto shown = system_.screen.find(form_.Name());
        if (shown != system_.screen.end() && shown->second.handle == handle_) {
            system_.screen.erase(shown);
        }
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
    template <class Kind>
    void Attach(Kind& control, WidgetFake* widget) {
        control.Attach(widget);
        detach_.push_back([&control] { control.Attach(nullptr); });
    }

    WindowSystemFake& system_;
    Form& form_;
    WindowHandle handle_;
    std::vector<std::unique_ptr<WidgetFake>> widgets_;
    std::vector<std::function<void()>> detach_;
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
