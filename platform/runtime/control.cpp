#include "runtime/control.h"

#include <cassert>

#include "runtime/form.h"
#include "runtime/runtime.h"

namespace brindle {

LabelPeer::~LabelPeer() = default;
ListPeer::~ListPeer() = default;
PickerPeer::~PickerPeer() = default;
TimerPeer::~TimerPeer() = default;

Control::Control(Form& owner, const ControlLayout& layout)
    : owner_(owner), layout_(layout), load_(owner.LoadCount()) {}

void Control::RunHandler(std::function<void()> handler) const {
    // A tick or a click already queued when a command unloaded this control's window reaches a
    // control whose widget lives on until the command's event is over. Its handler would touch
    // the window and load it again, hidden, and the program would never end.
    if (!owner_.IsLoaded() || owner_.LoadCount() != load_) {
        return;
    }
    Runtime::EventScope scope(owner_.GetRuntime());
    if (handler) {
        handler();
    }
}

Label::Label(Form& owner, const ControlLayout& layout)
    : Control(owner, layout),
      caption_(layout.caption),
      foreColor_(layout.foreColor),
      backColor_(layout.backColor) {}

void Label::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (peer_ != nullptr) {
        peer_->ShowCaption(caption_);
    }
}

void Label::SetForeColor(Colour colour) {
    foreColor_ = colour;
    if (peer_ != nullptr) {
        peer_->ShowForeColor(foreColor_);
    }
}

void Label::SetBackColor(Colour colour) {
    backColor_ = colour;
    if (peer_ != nullptr) {
        peer_->ShowBackColor(backColor_);
    }
}

void Label::Attach(LabelPeer* peer) {
    peer_ = peer;
    if (peer_ != nullptr) {
        peer_->ShowCaption(caption_);
        peer_->ShowForeColor(foreColor_);
        peer_->ShowBackColor(backColor_);
    }
}

void Label::RaiseMouseDown(MouseButton button, std::int16_t shift, float x, float y) {
    if (mouseDown_) {
        RunHandler([handler = mouseDown_, button, shift, x, y] { handler(button, shift, x, y); });
    }
}

ComboBox::ComboBox(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), text_(layout.caption) {}

void ComboBox::SetText(std::string text) {
    text_ = std::move(text);
    if (peer_ != nullptr) {
        peer_->ShowText(text_);
    }
}

void ComboBox::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (peer_ != nullptr) {
        peer_->ShowEnabled(enabled_);
    }
}

void ComboBox::AddItem(std::string item) {
    items_.push_back(std::move(item));
    if (peer_ != nullptr) {
        peer_->ShowItems(items_);
    }
}

void ComboBox::Attach(ListPeer* peer) {
    peer_ = peer;
    if (peer_ != nullptr) {
        peer_->ShowItems(items_);
        peer_->ShowText(text_);
        peer_->ShowEnabled(enabled_);
    }
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
    RunHandler(click_);
}

TextBox::TextBox(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), text_(layout.caption) {}

CommandButton::CommandButton(Form& owner, const ControlLayout& layout) : Control(owner, layout) {}

void CommandButton::SetValue(bool value) {
    if (value) {
        RunHandler(click_);
    }
}

Timer::Timer(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), enabled_(layout.timerEnabled), interval_(layout.timerInterval) {}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (peer_ != nullptr) {
        peer_->ShowEnabled(enabled_);
    }
}

void Timer::Attach(TimerPeer* peer) {
    peer_ = peer;
    if (peer_ != nullptr) {
        peer_->ShowEnabled(enabled_);
    }
}

void Timer::RaiseTimer() {
    if (enabled_) {
        RunHandler(tick_);
    }
}

DatePicker::DatePicker(Form& owner, const ControlLayout& layout)
    : Control(owner, layout), value_(layout.pickerValue) {}

void DatePicker::SetValue(DateTime value) {
    value_ = value;
    if (peer_ != nullptr) {
        peer_->ShowValue(value_);
    }
}

void DatePicker::Attach(PickerPeer* peer) {
    peer_ = peer;
    if (peer_ != nullptr) {
        peer_->ShowValue(value_);
    }
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
    if (!IsSeparator()) {
        RunHandler(click_);
    }
}

}  // namespace brindle
