#include "toolkit.h"

#include <QApplication>

#include "qt/qt_desktop.h"
#include "qt/qt_os_functions.h"
#include "qt/qt_sound.h"
#include "qt/qt_window_system.h"

namespace brindle {

namespace {

// Settings that must be made before the application object exists.
int& BeforeApplication(int& argc) {
    // The windows are a few dozen pixels wide: sending their pixels over the X connection costs
    // less than shared memory, which Qt fences with a round trip to the server before each frame
    // and so wakes two threads every second while counting. A user's own setting is kept.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    // Fractional scale factors such as 125 % are used as they are, so twips map to the same
    // physical size at every scale.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    return argc;
}

}  // namespace

struct Toolkit::Parts {
    Parts(int& argc, char** argv) : application(BeforeApplication(argc), argv) {
        // The program ends when its last window unloads, which the runtime reports through
        // Quit; hiding windows (the setup window hides itself) must not end it.
        QApplication::setQuitOnLastWindowClosed(false);
        QApplication::setApplicationName(QStringLiteral("brindle"));
        QGuiApplication::setDesktopFileName(QStringLiteral("io.github.brindle.Brindle"));
    }

    QApplication application;
    QtWindowSystem windows;
    QtSound sound;
    QtOsFunctions os{windows, sound};
    QtDesktop desktop;
};

Toolkit::Toolkit(int& argc, char** argv)
    : parts_(std::make_unique<Parts>(argc, argv)),
      windows_(&parts_->windows),
      os_(&parts_->os),
      desktop_(&parts_->desktop) {}

Toolkit::~Toolkit() = default;

}  // namespace brindle
