#include "runtime/caption_drag.h"

#include "runtime/runtime.h"

namespace brindle {

void LabelMouseDown(Form& window, MouseButton button, MenuCarrierForm& menuCarrier) {
    OsFunctions& os = window.GetRuntime().GetOsFunctions();
    os.ReleaseCapture();
    const WindowHandle handle = window.hWnd();
    std::int32_t noPosition = 0;
    os.SendMessageA(handle, kNonClientLeftButtonDown, kCaptionHit, noPosition);
    if (button == MouseButton::Right) {
        window.PopupMenu(menuCarrier.mnuMenu());
    }
}

}  // namespace brindle
