#include "runtime/control.h"

#include <cassert>

#include "runtime/form.h"
#include "runtime/runtime.h"

namespace brindle {

void Control::Notify(Property property) {
    owner_.ControlChanged(*this, property);
}

Label::Label(Form& owner, const ControlLayout& layout)
    : Control(owner, layout),
      caption_(layout.caption),
      foreColor_(layout.foreColor),
      backColor_(layout.backColor) {}

void Label::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Notify(Property::Caption);
}

void Label::SetForeColor(Colour colour) {
    foreColor_ = colour;
    Notify(Property::ForeColor);
}

void Label::SetBackColor(Colour colour) {
    backColor_ = colour;
    Notify(Property::BackColor);
}

void Label::RaiseMouseDown(MouseButton button, std::int16_t shift, float x, float y) {
    Runtime::EventScope scope(Owner().GetRuntime());
    // A copy, because the handler may unload the window that owns this label.
    auto handler = mouseDown_;
    if (handler) {
        handler(button, shift, x, y);
    }
}

ComboBox::ComboBox(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), text_(layout.caption) {}

void ComboBox::SetText(std::string text) {
    text_ = std::move(text);
    Notify(Property::Text);
}

void ComboBox::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Notify(Property::Enabled);
}

void ComboBox::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Notify(Property::Items);
}

void ComboBox::AcceptTypedText(std::string text) {
    if (enabled_) {
        text_ = std::move(text);
    }
}

void ComboBox::Pick(std::size_t index) {
    if (!enabled_ || index >= items_.size()) {
        return;
    }
    Runtime::EventScope scope(Owner().GetRuntime());
    SetText(items_[index]);
    auto handler = click_;
    if (handler) {
        handler();
    }
}

TextBox::TextBox(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), text_(layout.caption) {}

void TextBox::SetText(std::string text) {
    text_ = std::move(text);
    Notify(Property::Text);
}

CommandButton::CommandButton(Form& owner, const ControlLayout& layout) : Control(owner, layout) {}

void CommandButton::SetValue(bool value) {
    if (!value) {
        return;
    }
    Runtime::EventScope scope(Owner().GetRuntime());
    auto handler = click_;
    if (handler) {
        handler();
    }
}

Timer::Timer(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), enabled_(layout.timerEnabled), interval_(layout.timerInterval) {}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Notify(Property::Enabled);
}

void Timer::RaiseTimer() {
    if (!enabled_) {
        return;
    }
    Runtime::EventScope scope(Owner().GetRuntime());
    auto handler = tick_;
    if (handler) {
        handler();
    }
}

DatePicker::DatePicker(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), value_(layout.pickerValue) {}

void DatePicker::SetValue(DateTime value) {
    value_ = value;
    Notify(Property::Value);
}

void DatePicker::AcceptUserValue(DateTime value) {
    value_ = value;
}

MenuItem::MenuItem(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), check_(layout.menuCheck) {}

void MenuItem::SetCheck(MenuCheck check) {
    assert(check_ != MenuCheck::None && check != MenuCheck::None &&
           "only a check item has a mark, and it stays a check item");
    check_ = check;
}

void MenuItem::RaiseClick() {
    if (IsSeparator()) {
        return;
    }
    Runtime::EventScope scope(Owner().GetRuntime());
    auto handler = click_;
    if (handler) {
        handler();
    }
}

}  // namespace brindle
