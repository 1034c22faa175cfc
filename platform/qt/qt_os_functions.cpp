#include "qt/qt_os_functions.h"

#include <QThread>
#include <QWidget>

#include "qt/qt_sound.h"
#include "qt/qt_window_peer.h"
#include "qt/qt_window_system.h"

namespace brindle {

std::int32_t QtOsFunctions::SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                         std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                         std::int32_t) {
    // Only the z-order band is honoured: the program always passes kKeepPosition | kKeepSize.
    QtWindowPeer* peer = windows_.Find(hWnd);
    if (peer == nullptr) {
        return 0;
    }
    if (hWndInsertAfter == kInsertTopMost) {
        peer->SetTopMost(TopMostState::TopMost);
    } else if (hWndInsertAfter == kInsertNotTopMost) {
        peer->SetTopMost(TopMostState::Normal);
    }
    return 1;
}

std::int32_t QtOsFunctions::ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    return 1;
}

std::int32_t QtOsFunctions::SendMessageA(WindowHandle hWnd, std::int32_t wMsg, std::int32_t wParam,
                                         std::int32_t&) {
    if (wMsg != kNonClientLeftButtonDown || wParam != kCaptionHit) {
        return 0;
    }
    if (QtWindowPeer* peer = windows_.Find(hWnd)) {
        peer->MoveWithPointer();
    }
    return 0;
}

void QtOsFunctions::Sleep(std::int32_t dwMilliseconds) {
    if (dwMilliseconds > 0) {
        QThread::msleep(static_cast<unsigned long>(dwMilliseconds));
    }
}

std::int32_t QtOsFunctions::PlaySoundA(const std::string& lpszName, std::intptr_t, std::int32_t) {
    return sound_.Play(lpszName) ? 1 : 0;
}

}  // namespace brindle
