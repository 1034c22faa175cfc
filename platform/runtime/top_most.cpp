#include "runtime/top_most.h"

#include "runtime/runtime.h"

namespace brindle {

namespace {

void SetZOrder(OsFunctions& os, WindowHandle hWnd, std::int32_t insertAfter) {
    os.SetWindowPos(hWnd, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

void TopMostForm::TopMost(TopMostState state) {
    const WindowHandle handle = hWnd();
    SetZOrder(GetRuntime().Os(), handle,
              state == TopMostState::TopMost ? HWND_TOPMOST : HWND_NOTOPMOST);
}

void TopMostForm::MakeTopMost(WindowHandle& hWnd) {
    Load();
    SetZOrder(GetRuntime().Os(), hWnd, HWND_TOPMOST);
}

void TopMostForm::MakeNormal(WindowHandle& hWnd) {
    Load();
    SetZOrder(GetRuntime().Os(), hWnd, HWND_NOTOPMOST);
}

}  // namespace brindle
