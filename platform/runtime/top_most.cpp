#include "runtime/top_most.h"

#include "runtime/runtime.h"

namespace brindle {

namespace {

void SetZOrder(OsFunctions& os, WindowHandle hWnd, std::int32_t insertAfter) {
    os.SetWindowPos(hWnd, insertAfter, 0, 0, 0, 0, kKeepPosition | kKeepSize);
}

}  // namespace

void TopMostForm::TopMost(TopMostState state) {
    const WindowHandle handle = hWnd();
    SetZOrder(GetRuntime().GetOsFunctions(), handle,
              state == TopMostState::TopMost ? kInsertTopMost : kInsertNotTopMost);
}

void TopMostForm::MakeTopMost(WindowHandle& hWnd) {
    Load();
    SetZOrder(GetRuntime().GetOsFunctions(), hWnd, kInsertTopMost);
}

void TopMostForm::MakeNormal(WindowHandle& hWnd) {
    Load();
    SetZOrder(GetRuntime().GetOsFunctions(), hWnd, kInsertNotTopMost);
}

}  // namespace brindle
