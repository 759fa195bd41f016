// Start-up figures of the built program: time from exec to the main window being
// shown (mapped, with its caption), and the process's peak memory, with an
// order file of 82 lines. Runs on the current X display; prints a table.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string windowName(Display* d, Window w) {
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return name;
}

// True once a viewable window whose title starts with "Tavren" exists.
bool mainWindowShown(Display* d) {
    Window root = DefaultRootWindow(d), parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return false;
    bool found = false;
    std::vector<Window> todo(children, children + n);
    if (children) XFree(children);
    // Top-levels, and one level below for window managers that reparent.
    for (std::size_t i = 0; i < todo.size() && !found; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, todo[i], &a) || a.map_state != IsViewable) continue;
        if (windowName(d, todo[i]).rfind("Tavren", 0) == 0) {
            found = true;
            break;
        }
        Window r, p, *kids = nullptr;
        unsigned int k = 0;
        if (XQueryTree(d, todo[i], &r, &p, &kids, &k) && kids) {
            for (unsigned int j = 0; j < k; ++j) {
                XWindowAttributes ka;
                if (XGetWindowAttributes(d, kids[j], &ka) && ka.map_state == IsViewable &&
                    windowName(d, kids[j]).rfind("Tavren", 0) == 0)
                    found = true;
            }
            XFree(kids);
        }
    }
    return found;
}

// Windows come and go while we look at them: ignore the errors that causes.
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

long peakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    // Absolute, since the program starts in a scratch directory.
    char resolved[PATH_MAX];
    const std::string program =
        realpath(argc > 1 ? argv[1] : "build/tavren", resolved) ? resolved : "build/tavren";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    char dir[] = "/tmp/tavren-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    {
        std::ofstream orders(std::string(dir) + "/tavren.txt", std::ios::binary);
        for (int i = 0; i < 82; ++i)
            orders << "命令 " << i << (i % 2 ? ",FF8080" : "") << "\r\n";
    }
    std::printf("start-up with an 82-line order file (%d runs)\n", runs);
    std::printf("%-6s %18s %16s\n", "run", "to window shown", "peak memory");
    double total = 0, worst = 0;
    long worstKb = 0;
    for (int run = 1; run <= runs; ++run) {
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir) != 0) _exit(127);
            // A private settings directory, so no saved size or position interferes.
            setenv("XDG_CONFIG_HOME", dir, 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        bool shown = false;
        while (Clock::now() - start < std::chrono::seconds(20)) {
            if (mainWindowShown(display)) {
                shown = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let it settle and paint
        const long kb = peakKilobytes(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        if (!shown) {
            std::printf("%-6d %18s\n", run, "never shown");
            continue;
        }
        std::printf("%-6d %15.1f ms %13.1f MB\n", run, ms, kb / 1024.0);
        total += ms;
        worst = std::max(worst, ms);
        worstKb = std::max(worstKb, kb);
    }
    std::printf("mean %.1f ms, worst %.1f ms, worst peak %.1f MB (targets: < 100 ms, < 40 MB)\n",
                total / runs, worst, worstKb / 1024.0);
    XCloseDisplay(display);
    return 0;
}
