#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/layout.h"
#include "value/date_time.h"

namespace brindle {

class Form;

// The properties a window's peer copies onto the screen when they change.
enum class Property { Caption, Text, ForeColor, BackColor, Enabled, Items, Value, Interval };

enum class MouseButton : std::int16_t { Left = 1, Right = 2, Middle = 4 };

// A control is a plain property object owned by its window: created with its design values on
// every load, destroyed on unload. Setters notify the window's peer; the Raise and Accept members
// are for backends, which report what the user did.
class Control {
public:
    Control(Form& owner, const ControlLayout& layout) : owner_(owner), layout_(layout) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return layout_.name; }
    ControlKind Kind() const { return layout_.kind; }
    const ControlLayout& Layout() const { return layout_; }
    Form& Owner() const { return owner_; }

protected:
    void Notify(Property property);

private:
    Form& owner_;
    const ControlLayout& layout_;
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

private:
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

private:
    std::string text_;
    bool enabled_ = true;
    std::vector<std::string> items_;
    std::function<void()> click_;
};

class TextBox final : public Control {
public:
    TextBox(Form& owner, const ControlLayout& layout);

    const std::string& Text() const { return text_; }
    void SetText(std::string text);

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

private:
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

private:
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
