// Usage: reliability_pixel_watch X Y
// Watches one pixel of the X screen and prints a line "MILLISECONDS RRGGBB" each time its colour
// changes (and once at the start), stamped with the real wall clock in milliseconds since 1970 so
// a test can line the changes up with what it did and when (`date +%s%3N`). The
// reliability tests read the warning flash from this log: a screenshot per sample is far too slow
// to see phases of 200 ms, let alone the 20 ms ones of a sped-up clock.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

// The colour at x,y of the root window as 0xRRGGBB, or -1 when the server gives no image.
long PixelAt(xcb_connection_t* connection, xcb_window_t root, int x, int y) {
    const xcb_get_image_cookie_t cookie =
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), 1, 1, ~0u);
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> reply(
        xcb_get_image_reply(connection, cookie, nullptr));
    if (!reply || xcb_get_image_data_length(reply.get()) < 3) {
        return -1;
    }
    // A 24-bit screen stores each pixel as blue, green, red and a pad byte.
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    return (static_cast<long>(data[2]) << 16) | (static_cast<long>(data[1]) << 8) | data[0];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s X Y\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    long last = -2;
    // Stops when the display goes away, which is how the test session ends it.
    while (!xcb_connection_has_error(connection)) {
        const long pixel = PixelAt(connection, root, x, y);
        if (pixel != last) {
            const auto stamp = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            if (pixel < 0) {
                std::printf("%lld none\n", static_cast<long long>(stamp.count()));
            } else {
                std::printf("%lld %06lX\n", static_cast<long long>(stamp.count()), pixel);
            }
            std::fflush(stdout);
            last = pixel;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    xcb_disconnect(connection);
    return 0;
}
