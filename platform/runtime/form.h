#pragma once

#include <cassert>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "os_functions.h"
#include "runtime/control.h"
#include "runtime/layout.h"

namespace brindle {

class Runtime;
class WindowPeer;

// One window class with its single instance. The object lives for the whole program; its
// controls and its native peer exist only while it is loaded. Touching a control, the geometry
// or the handle of a window that is not loaded loads it, hidden.
class Form {
public:
    Form(Runtime& runtime, const WindowLayout& layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return layout_.name; }
    const WindowLayout& Layout() const { return layout_; }
    Runtime& GetRuntime() const { return runtime_; }

    bool IsLoaded() const { return state_ != State::NotLoaded; }
    bool IsVisible() const { return IsLoaded() && visible_; }
    // Grows by one on every load, so a handler that pauses can tell whether its window was
    // unloaded (and perhaps loaded afresh) under it.
    std::uint64_t LoadCount() const { return loadCount_; }

    void Load();
    void Show();
    void Hide();
    // Runs Form_Unload and destroys the controls. Does nothing when the window is not loaded or
    // is being unloaded already.
    void Unload();

    WindowHandle hWnd();
    TwipsRect Bounds();
    void PopupMenu(MenuItem& menu);

    // A control by name, loading the window first if needed. A wrong name or kind is a
    // programmer error.
    template <class T>
    T& Get(std::string_view name) {
        Load();
        Control* control = Find(name);
        assert(control != nullptr && "no control of that name on this window");
        T* typed = dynamic_cast<T*>(control);
        assert(typed != nullptr && "control is of another kind");
        return *typed;
    }
    // The controls in stored order while loaded; for peers.
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    // The user closed the window from outside the program (the window manager's close command).
    void UserClose();

protected:
    // Runs after the controls are created and before Form_Load: connect handlers here.
    virtual void BindControls() {}
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void OnUserClose() { Unload(); }

private:
    enum class State { NotLoaded, Loading, Loaded, Unloading };

    Control* Find(std::string_view name) const;
    void CreateControls();

    Runtime& runtime_;
    const WindowLayout& layout_;
    State state_ = State::NotLoaded;
    bool visible_ = false;
    std::uint64_t loadCount_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unique_ptr<WindowPeer> peer_;
};

}  // namespace brindle
