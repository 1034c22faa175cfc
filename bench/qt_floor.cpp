// The least a Qt 6 Widgets program can be: one top-level label and the event loop. The
// benchmarks measure Brindle's memory, start-up and wakeups against this program, because what it
// costs is the toolkit's floor rather than anything Brindle does.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("15:00"));
    label.setWindowTitle(QStringLiteral("Qt Floor"));
    label.show();
    return application.exec();
}
