#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/layout.h"
#include "value/date_time.h"

namespace brindle {

class Form;

enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4 };

// What a control's widget is told, one interface for each kind of control that shows something.
// A backend's unit for that kind implements it; the control tells it each change, once, and on
// attaching everything it shows. Their destructors are defined in one place, so that their type
// information is made once, with the neutral code's, whatever a backend is compiled with.
class LabelPeer {
public:
    virtual ~LabelPeer();
    virtual void ShowCaption(const std::string& caption) = 0;
    virtual void ShowForeColor(Colour colour) = 0;
    virtual void ShowBackColor(Colour colour) = 0;
};
class ListPeer {
public:
    virtual ~ListPeer();
    virtual void ShowText(const std::string& text) = 0;
    virtual void ShowEnabled(bool enabled) = 0;
    // Shows these items in the list and leaves the text in the field as it was.
    virtual void ShowItems(const std::vector<std::string>& items) = 0;
};
class PickerPeer {
public:
    virtual ~PickerPeer();
    virtual void ShowValue(DateTime value) = 0;
};
// A native timer, which ticks only while told it is enabled.
class TimerPeer {
public:
    virtual ~TimerPeer();
    virtual void ShowEnabled(bool enabled) = 0;
};

// A control is a plain property object owned by its window: created with its design values on
// every load, destroyed on unload. Setters tell the control's peer, if its window's backend gave
// it one; the Raise and Accept members are for backends, which report what the user did.
class Control {
public:
    Control(Form& owner, const ControlLayout& layout);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return layout_.name; }
    ControlKind Kind() const { return layout_.kind; }
    const ControlLayout& Layout() const { return layout_; }
    Form& Owner() const { return owner_; }

protected:
    // Runs a handler of the user's action as one event; the handler is a copy, because it may
    // unload the window that owns this control. A control of a load that has ended runs none.
    void RunHandler(std::function<void()> handler) const;

private:
    Form& owner_;
    const ControlLayout& layout_;
    // The window's load this control belongs to.
    std::uint64_t load_;
};

class Label final : public Control {
public:
    using MouseDownHandler = std::function<void(MouseButton, std::int16_t shift, float x, float y)>;

    Label(Form& owner, const ControlLayout& layout);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);
    Colour BackColor() const { return backColor_; }
    void SetBackColor(Colour colour);

    void OnMouseDown(MouseDownHandler handler) { mouseDown_ = std::move(handler); }
    void RaiseMouseDown(MouseButton button, std::int16_t shift, float x, float y);

    // The widget that shows this label from now on, or nullptr when it goes; it is shown all at
    // once.
    void Attach(LabelPeer* peer);

private:
    LabelPeer* peer_ = nullptr;
    std::string caption_;
    Colour foreColor_;
    Colour backColor_;
    MouseDownHandler mouseDown_;
};

// A drop-down list with an editable text field.
class ComboBox final : public Control {
public:
    ComboBox(Form& owner, const ControlLayout& layout);

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void AddItem(std::string item);
    const std::vector<std::string>& Items() const { return items_; }

    void OnClick(std::function<void()> handler) { click_ = std::move(handler); }
    // The user typed into the text field: the text changes and nothing starts.
    void AcceptTypedText(std::string text);
    // The user picked an item from the list: the text becomes the item and the click runs.
    void Pick(std::size_t index);

    void Attach(ListPeer* peer);

private:
    ListPeer* peer_ = nullptr;
    std::string text_;
    bool enabled_ = true;
    std::vector<std::string> items_;
    std::function<void()> click_;
};

// A text box exists only for code: no layout places one where it can be seen, so it has no peer.
class TextBox final : public Control {
public:
    TextBox(Form& owner, const ControlLayout& layout);

    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

private:
    std::string text_;
};

// Setting Value to true runs the click handler completely before it returns.
class CommandButton final : public Control {
public:
    CommandButton(Form& owner, const ControlLayout& layout);

    const std::string& Caption() const { return Layout().caption; }
    void SetValue(bool value);
    void OnClick(std::function<void()> handler) { click_ = std::move(handler); }

private:
    std::function<void()> click_;
};

class Timer final : public Control {
public:
    Timer(Form& owner, const ControlLayout& layout);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }

    void OnTimer(std::function<void()> handler) { tick_ = std::move(handler); }
    // One tick of the native timer; ignored while disabled, since a tick may already be queued.
    void RaiseTimer();

    void Attach(TimerPeer* peer);

private:
    TimerPeer* peer_ = nullptr;
    bool enabled_;
    int interval_;
    std::function<void()> tick_;
};

class DatePicker final : public Control {
public:
    DatePicker(Form& owner, const ControlLayout& layout);

    DateTime Value() const { return value_; }
    void SetValue(DateTime value);
    DateTime MinDate() const { return Layout().pickerMin; }
    DateTime MaxDate() const { return Layout().pickerMax; }
    // The user edited the picker.
    void AcceptUserValue(DateTime value);

    void Attach(PickerPeer* peer);

private:
    PickerPeer* peer_ = nullptr;
    DateTime value_;
};

// A menu entry; "-" as its caption makes it a separator, which cannot be chosen.
class MenuItem final : public Control {
public:
    MenuItem(Form& owner, const ControlLayout& layout);

    const std::string& Caption() const { return Layout().caption; }
    bool IsSeparator() const { return Caption() == "-"; }
    // A check item's mark is read when the menu is shown, so setting it notifies no peer.
    MenuCheck Check() const { return check_; }
    void SetCheck(MenuCheck check);
    const std::vector<MenuItem*>& Children() const { return children_; }
    void AddChild(MenuItem& child) { children_.push_back(&child); }

    void OnClick(std::function<void()> handler) { click_ = std::move(handler); }
    void RaiseClick();

private:
    std::vector<MenuItem*> children_;
    std::function<void()> click_;
    MenuCheck check_;
};

}  // namespace brindle
