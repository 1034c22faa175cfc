// busy_check: times the Linux busy check from outside the program's warnings.
//
//   busy_check [COUNT]
//       Runs COUNT (50 unless given) busy checks of the desktop one after another, as a warning
//       does, and prints one line per check: "check <ms from the call to the answer> <reasons>",
//       the reasons as letters (m microphone, c camera, d do-not-disturb, f full screen, l locked)
//       or "-" for none.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>

#include "qt/qt_desktop.h"

int main(int argc, char** argv) {
    int qtArgc = 1;
    const QApplication application(qtArgc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 50;
    brindle::QtDesktop desktop;
    for (int i = 0; i < count; ++i) {
        std::promise<brindle::BusyReasons> answered;
        const auto start = std::chrono::steady_clock::now();
        desktop.WhenBusyKnown(
            [&answered](brindle::BusyReasons reasons) { answered.set_value(reasons); });
        const brindle::BusyReasons reasons = answered.get_future().get();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::string letters;
        const std::pair<brindle::BusyReason, char> names[] = {
            {brindle::BusyReason::Microphone, 'm'},
            {brindle::BusyReason::Camera, 'c'},
            {brindle::BusyReason::DoNotDisturb, 'd'},
            {brindle::BusyReason::FullScreen, 'f'},
            {brindle::BusyReason::SessionLocked, 'l'}};
        for (const auto& [reason, letter] : names) {
            if (reasons.Has(reason)) {
                letters += letter;
            }
        }
        std::printf("check %.3f %s\n", took.count(), letters.empty() ? "-" : letters.c_str());
    }
    return 0;
}
