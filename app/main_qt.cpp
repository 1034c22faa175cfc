#include "clock.h"
#include "program.h"
#include "qt/qt_backend.h"
#include "session_platform.h"

int main(int argc, char** argv) {
    brindle::ApplyPlatformChoice(brindle::ChoosePlatform(brindle::CurrentSessionEnvironment()));
    brindle::QtBackend backend(argc, argv);
    brindle::SystemClock clock;
    brindle::Program program(backend.Windows(), backend.Os(), clock);
    return program.Run();
}
