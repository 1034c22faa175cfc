#include "clock.h"
#include "program.h"
#include "qt/qt_backend.h"

int main(int argc, char** argv) {
    brindle::QtBackend backend(argc, argv);
    brindle::SystemClock clock;
    brindle::Program program(backend.Windows(), backend.Os(), clock);
    return program.Run();
}
