// Whole-process start-up: the time from starting a program until its first top-level
// window is mapped on the X display, the moment a user can see and use it.
//
// Usage: lq_startup RUNS PROGRAM [ARGS...]   (DISPLAY must name a running X server, e.g. Xvfb)
// Prints the median and the spread of RUNS starts, in milliseconds.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double measureOnce(xcb_connection_t *connection, char **command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(command[0], command);
        ::_exit(127);
    }
    double elapsed = -1;
    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & ~0x80) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) {
            elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
    }
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    // Let the server forget the window before the next start.
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fputs("usage: lq_startup RUNS PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("cannot connect to the X display\n", stderr);
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(measureOnce(connection, argv + 2));
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms over %d starts\n", argv[2],
                times[times.size() / 2], times.front(), times.back(), runs);
    xcb_disconnect(connection);
    return 0;
}
