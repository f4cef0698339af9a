// Starts a program and reports how long it took, from just before the
// process was started to the moment its window whose title holds the given
// words was mapped on the X display, then its memory once it has settled.
// (A reading window is titled by its place first: "Genèse 1 — … — Lorvane".)
//
// usage: startup_probe TITLE_WORDS SETTLE_MS PROGRAM [ARGS...]
// prints: <milliseconds to the map> <RSS kB> <PSS kB> <processor ms to the map>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::string WindowTitle(Display* display, Window w) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, w, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// The processor time of all the threads of a process so far, in ms.
double ProcessorMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
            double run = 0;
            if (in >> run) ns += run;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

// Rss and Pss of a process, in kB, from /proc/PID/smaps_rollup.
std::pair<long, long> Memory(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long rss = -1, pss = -1;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        long value = 0;
        fields >> key >> value;
        if (key == "Rss:") rss = value;
        if (key == "Pss:") pss = value;
    }
    return {rss, pss};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe TITLE_WORDS SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const int settleMs = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[3], argv + 3);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    // A window manager reparents the program's windows into its frames: follow
    // each new top-level window itself, so that its own map is seen.
    double mappedMs = -1, processorMs = -1;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (mappedMs < 0) {
        if (!XPending(display)) {
            const auto waited = Clock::now() - start;
            if (waited > std::chrono::seconds(30) || waitpid(child, nullptr, WNOHANG) == child) {
                std::fprintf(stderr, "startup_probe: no window titled \"...%s...\"\n", prefix.c_str());
                kill(child, SIGKILL);
                return 1;
            }
            poll(&fd, 1, 100);
            continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        if (e.type == CreateNotify && e.xcreatewindow.parent == root) {
            XSelectInput(display, e.xcreatewindow.window, StructureNotifyMask);
        } else if (e.type == MapNotify && e.xmap.event == e.xmap.window) {
            if (WindowTitle(display, e.xmap.window).find(prefix) != std::string::npos) {
                mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                processorMs = ProcessorMs(child);
            }
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const auto [rss, pss] = Memory(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    std::printf("%.1f %ld %ld %.1f\n", mappedMs, rss, pss, processorMs);
    return 0;
}
