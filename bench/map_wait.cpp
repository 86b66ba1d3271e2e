// Starts a program and prints the milliseconds until its top-level window of
// the given name is mapped on the X display (watched through the root
// window's map notifications, no polling), then ends it with SIGTERM.
//   map_wait NAME PROGRAM [ARGUMENTS...]
// Exit status 1 when the window did not appear within 20 s.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/wait.h>

extern char** environ;

namespace {

bool named(Display* display, Window window, const char* name)
{
    char* title = nullptr;
    const bool same = XFetchName(display, window, &title) && title && std::strcmp(title, name) == 0;
    if (title) {
        XFree(title);
    }
    return same;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_wait NAME PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_wait: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    // The program's own output is not ours to print.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&child, argv[2], &quiet, nullptr, argv + 2, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        std::fprintf(stderr, "map_wait: cannot start %s\n", argv[2]);
        return 2;
    }
    const auto deadline = start + std::chrono::seconds(20);
    bool mapped = false;
    while (!mapped && std::chrono::steady_clock::now() < deadline) {
        while (!mapped && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            mapped = event.type == MapNotify && named(display, event.xmap.window, argv[1]);
        }
        if (!mapped) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display), &fds);
            timeval wait{0, 100000};
            select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &wait);
        }
    }
    const auto shown = std::chrono::steady_clock::now();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "map_wait: no window named %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(
                              std::chrono::duration_cast<std::chrono::milliseconds>(shown - start).count()));
    return 0;
}
