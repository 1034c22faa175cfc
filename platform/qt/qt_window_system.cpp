#include "qt/qt_window_system.h"

#include <QApplication>
#include <QMessageBox>

#include "qt/qt_controls.h"
#include "qt/qt_window_peer.h"

namespace brindle {

std::unique_ptr<WindowPeer> QtWindowSystem::CreatePeer(Form& form) {
    // A window loaded after a quit request means the program goes on, as the runtime sees it.
    quitRequested_ = false;
    const WindowHandle handle = nextHandle_++;
    auto peer = std::make_unique<QtWindowPeer>(*this, form, handle);
    peers_[handle] = peer.get();
    return peer;
}

void QtWindowSystem::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

int QtWindowSystem::Run() {
    // A program that ended before its event loop started must not wait in it.
    if (quitRequested_) {
        quitRequested_ = false;
        return 0;
    }
    const int status = QApplication::exec();
    quitRequested_ = false;
    return status;
}

void QtWindowSystem::Quit() {
    quitRequested_ = true;
    QCoreApplication::quit();
}

void QtWindowSystem::MsgBox(const std::string& prompt) {
    QMessageBox::warning(nullptr, QStringLiteral("Brindle"), ToQString(prompt));
}

QtWindowPeer* QtWindowSystem::Find(WindowHandle handle) const {
    const auto found = peers_.find(handle);
    return found == peers_.end() ? nullptr : found->second;
}

void QtWindowSystem::Forget(WindowHandle handle) {
    peers_.erase(handle);
}

}  // namespace brindle
