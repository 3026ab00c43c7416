// Times a program's start from outside, as the player sees it: from exec to the moment a pixel of a
// top-level window shows the expected colour at a point of the scene.
//
//   kovrant_startup_probe SCENE_W SCENE_H X Y RRGGBB TIMEOUT_MS -- program [arguments]
//
// The scene (SCENE_W x SCENE_H pixels) is taken as scaled uniformly to fit the window and centred, as the
// game shows it; (X, Y) is a point of the scene. Prints the milliseconds to the first map of a top-level
// window and to the first expected pixel, then stops the program.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int ignoreErrors(Display*, XErrorEvent*) {
    return 0; // a window may vanish between its map and the look at its pixels
}

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 9 || std::string(argv[7]) != "--") {
        std::fprintf(stderr, "usage: %s SCENE_W SCENE_H X Y RRGGBB TIMEOUT_MS -- program [args]\n", argv[0]);
        return 2;
    }
    const double sceneW = std::atof(argv[1]), sceneH = std::atof(argv[2]);
    const double px = std::atof(argv[3]), py = std::atof(argv[4]);
    const unsigned long expected = std::strtoul(argv[5], nullptr, 16);
    const double timeout = std::atof(argv[6]);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto t0 = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[8], argv + 8);
        std::perror("exec");
        _exit(127);
    }

    std::vector<Window> mapped;
    double firstMap = -1, painted = -1;
    while (painted < 0 && msSince(t0) < timeout) {
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && e.xmap.event == root) {
                if (firstMap < 0) {
                    firstMap = msSince(t0);
                }
                mapped.push_back(e.xmap.window);
            } else if (e.type == UnmapNotify || e.type == DestroyNotify) {
                const Window w = e.type == UnmapNotify ? e.xunmap.window : e.xdestroywindow.window;
                mapped.erase(std::remove(mapped.begin(), mapped.end(), w), mapped.end());
            }
        }
        for (const Window w : mapped) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, w, &a) == 0 || a.map_state != IsViewable) {
                continue;
            }
            const double scale = std::min(a.width / sceneW, a.height / sceneH);
            const int x = int((a.width - sceneW * scale) / 2 + px * scale);
            const int y = int((a.height - sceneH * scale) / 2 + py * scale);
            XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
            if (image == nullptr) {
                continue;
            }
            const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
            XDestroyImage(image);
            if (pixel == expected) {
                painted = msSince(t0);
                break;
            }
        }
        if (painted < 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    if (painted < 0) {
        std::fprintf(stderr, "no expected pixel within %.0f ms\n", timeout);
        return 1;
    }
    std::printf("%.1f %.1f\n", firstMap, painted);
    return 0;
}
