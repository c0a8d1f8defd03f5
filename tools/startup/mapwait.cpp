// mapwait: starts a command and reports how long it takes until the first
// window of that command is viewable on $DISPLAY.
//
//   mapwait [-t TIMEOUT_MS] [-s MIN_SIDE] -- COMMAND [ARGS...]
//
// Prints "pid=N" once the command is forked, then "map_ms=F wid=0xW" when
// its window is seen, or "map_ms=NA reason=timeout|exited". It then stays
// the command's parent until the command exits, so a caller can end the
// command by that pid and nothing is left unreaped.
//
// A window is the command's when its _NET_WM_PID names the command or one
// of its descendants (a launcher script that execs or forks the program
// still counts). Windows smaller than MIN_SIDE pixels on either side
// (default 32) are passed over, so a tray icon is not taken for the window.
// The wait is driven by X events: every window created on the root is
// watched for structure changes, and each batch of events is followed by a
// look at the watched windows, so a window that a window manager reparents
// is still seen the moment its frame is mapped.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int usage()
{
    std::fprintf(stderr, "usage: mapwait [-t TIMEOUT_MS] [-s MIN_SIDE] -- COMMAND [ARGS...]\n");
    return 64;
}

// Windows vanish between an event and the look at them; such errors are expected.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// The parent of a process from /proc/PID/stat, or -1.
pid_t parentOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks and parentheses itself.
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    char state = 0;
    int parent = -1;
    if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &parent) != 2)
        return -1;
    return parent;
}

bool descendsFrom(pid_t pid, pid_t root)
{
    for (int depth = 0; pid > 1 && depth < 64; ++depth) {
        if (pid == root)
            return true;
        pid = parentOf(pid);
    }
    return false;
}

class Watch
{
public:
    Watch(Display *display, int minSide)
        : m_display(display), m_minSide(minSide), m_pidAtom(XInternAtom(display, "_NET_WM_PID", False))
    {
    }

    void add(Window window)
    {
        for (Window known : m_windows)
            if (known == window)
                return;
        m_windows.push_back(window);
        XSelectInput(m_display, window, StructureNotifyMask);
    }

    // The first watched window that is viewable, large enough and the command's.
    Window owned(pid_t command) const
    {
        for (Window window : m_windows) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, window, &attributes))
                continue;
            if (attributes.map_state != IsViewable || attributes.c_class != InputOutput)
                continue;
            if (attributes.width < m_minSide || attributes.height < m_minSide)
                continue;
            const long pid = windowPid(window);
            if (pid > 0 && descendsFrom(static_cast<pid_t>(pid), command))
                return window;
        }
        return 0;
    }

private:
    long windowPid(Window window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) != Success)
            return -1;
        long pid = 0;
        if (data && count == 1 && format == 32)
            pid = static_cast<long>(*reinterpret_cast<unsigned long *>(data));
        if (data)
            XFree(data);
        return pid;
    }

    Display *m_display;
    int m_minSide;
    Atom m_pidAtom;
    std::vector<Window> m_windows;
};

} // namespace

int main(int argc, char **argv)
{
    long timeoutMs = 60000;
    int minSide = 32;
    int option = 0;
    while ((option = getopt(argc, argv, "+t:s:")) != -1) {
        if (option == 't')
            timeoutMs = std::atol(optarg);
        else if (option == 's')
            minSide = std::atoi(optarg);
        else
            return usage();
    }
    if (optind >= argc)
        return usage();

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 69;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    // Listen before the fork, so no window of the command is created unseen.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    Watch watch(display, minSide);

    const auto start = Clock::now();
    const pid_t command = fork();
    if (command < 0) {
        std::perror("mapwait: fork");
        return 71;
    }
    if (command == 0) {
        // The command must not inherit the X connection.
        close(ConnectionNumber(display));
        setsid();
        execvp(argv[optind], argv + optind);
        std::perror("mapwait: exec");
        _exit(127);
    }
    std::printf("pid=%d\n", static_cast<int>(command));
    std::fflush(stdout);

    Window found = 0;
    bool exited = false;
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root)
                watch.add(event.xcreatewindow.window);
        }
        if ((found = watch.owned(command)))
            break;
        int status = 0;
        if (waitpid(command, &status, WNOHANG) == command) {
            exited = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        // A mapped frame is an event on another window: look again at least every 20 ms.
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left < 20 ? left + 1 : 20));
    }
    const double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (found)
        std::printf("map_ms=%.1f wid=0x%lx\n", elapsedMs, static_cast<unsigned long>(found));
    else
        std::printf("map_ms=NA reason=%s\n", exited ? "exited" : "timeout");
    std::fflush(stdout);
    XCloseDisplay(display);
    if (exited)
        return 2;
    int status = 0;
    while (waitpid(command, &status, 0) < 0 && errno == EINTR) {
    }
    return found ? 0 : 1;
}
