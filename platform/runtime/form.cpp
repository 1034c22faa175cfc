#include "runtime/form.h"

#include "runtime/runtime.h"
#include "runtime/window_system.h"

namespace brindle {

Form::Form(Runtime& runtime, const WindowLayout& layout) : runtime_(runtime), layout_(layout) {}

Form::~Form() = default;

void Form::CreateControls() {
    controls_.reserve(layout_.controls.size());
    for (const ControlLayout& layout : layout_.controls) {
        switch (layout.kind) {
            case ControlKind::Label:
                controls_.push_back(std::make_unique<Label>(*this, layout));
                break;
            case ControlKind::ComboBox:
                controls_.push_back(std::make_unique<ComboBox>(*this, layout));
                break;
            case ControlKind::TextBox:
                controls_.push_back(std::make_unique<TextBox>(*this, layout));
                break;
            case ControlKind::CommandButton:
                controls_.push_back(std::make_unique<CommandButton>(*this, layout));
                break;
            case ControlKind::Timer:
                controls_.push_back(std::make_unique<Timer>(*this, layout));
                break;
            case ControlKind::DatePicker:
                controls_.push_back(std::make_unique<DatePicker>(*this, layout));
                break;
            case ControlKind::MenuItem:
                controls_.push_back(std::make_unique<MenuItem>(*this, layout));
                break;
        }
    }
    // Menu entries find their parents by name; parents are listed before their children.
    for (const auto& control : controls_) {
        if (control->Kind() == ControlKind::MenuItem && !control->Layout().menuParent.empty()) {
            auto* parent = dynamic_cast<MenuItem*>(Find(control->Layout().menuParent));
            assert(parent != nullptr && "menu entry names a parent that is not a menu entry");
            parent->AddChild(static_cast<MenuItem&>(*control));
        }
    }
}

Control* Form::Find(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

void Form::Load() {
    if (state_ != State::NotLoaded) {
        return;
    }
    // A load handler may unload its own window; the scope keeps the controls alive until the load
    // is over.
    Runtime::EventScope scope(runtime_);
    state_ = State::Loading;
    visible_ = false;
    ++loadCount_;
    CreateControls();
    peer_ = runtime_.GetWindowSystem().CreatePeer(*this);
    runtime_.WindowLoaded();
    BindControls();
    Form_Load();
    if (state_ == State::Loading) {
        state_ = State::Loaded;
    }
}

void Form::Show() {
    Load();
    if (!visible_ && peer_) {
        visible_ = true;
        peer_->VisibilityChanged(Visibility::Visible);
    }
}

void Form::Hide() {
    Load();
    if (visible_ && peer_) {
        visible_ = false;
        peer_->VisibilityChanged(Visibility::Hidden);
    }
}

void Form::Unload() {
    if (state_ == State::NotLoaded || state_ == State::Unloading) {
        return;
    }
    state_ = State::Unloading;
    Form_Unload();
    if (visible_ && peer_) {
        peer_->VisibilityChanged(Visibility::Hidden);
    }
    visible_ = false;
    state_ = State::NotLoaded;
    runtime_.Discard(std::move(peer_), std::move(controls_));
    controls_.clear();
    runtime_.WindowUnloaded();
}

WindowHandle Form::hWnd() {
    Load();
    return peer_->Handle();
}

TwipsRect Form::Bounds() {
    Load();
    return peer_->Bounds();
}

void Form::PopupMenu(MenuItem& menu) {
    Load();
    Runtime::EventScope scope(runtime_);
    // The menu's own click comes as it opens, so that its handler can set its entries' marks.
    menu.RaiseClick();
    // The chosen command may unload this window; the scope keeps its peer alive until it is over.
    WindowPeer* peer = peer_.get();
    peer->PopupMenu(menu);
}

void Form::UserClose() {
    if (!IsLoaded()) {
        return;
    }
    Runtime::EventScope scope(runtime_);
    OnUserClose();
}

}  // namespace brindle
