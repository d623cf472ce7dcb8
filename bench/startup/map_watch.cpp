// Starts a program and reports how long after its exec the X server maps its
// first top-level window (a MapNotify on the root window), in milliseconds.
//   map_watch <program> [args...]
// The program is ended (SIGTERM) once its window is mapped.

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: map_watch <program> [args...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "map_watch: cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }

    const int fd = ConnectionNumber(display);
    double mapped = -1;
    while (mapped < 0) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display) && !event.xmap.override_redirect) {
                mapped = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                break;
            }
        }
        if (mapped >= 0)
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval timeout{10, 0};
        if (select(fd + 1, &fds, nullptr, nullptr, &timeout) <= 0) {
            std::fprintf(stderr, "map_watch: no window within 10 s\n");
            break;
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (mapped < 0)
        return 1;
    std::printf("%.1f\n", mapped);
    return 0;
}
