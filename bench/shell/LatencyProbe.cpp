// What a child feels, measured from outside the program as a desktop sees it:
// the probe finds the window of a running program (by its process id) on an
// X server, sends clicks and drags with XTEST, and times each until the
// window's pixels change (XDAMAGE). While nothing happens it counts the X
// requests the program sends (RECORD) and the processor time it and the X
// server spend.
//
// Usage: latency_probe MODE PID SERVER_PID [CLICKS [SCALE [IDLE_SECONDS]]]
//   MODE vorel:   the toy; goes to picture 1 through its thumbnail, then
//                 alternates a colour button and a click on the sky, and
//                 drags an object.
//   MODE minimal: a window that repaints itself on every press (the baseline).
//   SCALE above 0 first resizes the window to the size at which the toy
//   shows that scale (there is no window manager under Xvfb to do it).
//   IDLE_SECONDS 0 skips the idle figures (default 10).
// Prints one line per figure: "click MS MS ...", "drag MOVES UPDATES SECONDS",
// "idle SECONDS REQUESTS PROGRAM_CPU_MS SERVER_CPU_MS".

#include "shell/BlockLayout.h"
#include "shell/ColouringRoomPoints.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/record.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of every thread of a process so far, in milliseconds.
double ProcessCpuMs(pid_t pid) {
    double total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stat(task.path() / "schedstat");
        double nanos = 0;
        if (stat >> nanos) total += nanos / 1e6;
    }
    return total;
}

class Probe {
public:
    Probe() : Dpy(OpenDisplay()) {
        if (!Dpy) Fail("cannot open the display");
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(Dpy, &event, &error, &major, &minor)) Fail("the X server has no XTEST");
        if (!XDamageQueryExtension(Dpy, &DamageEvent, &error)) Fail("the X server has no DAMAGE");
    }
    ~Probe() { XCloseDisplay(Dpy); }

    // Waits for the largest viewable top-level window of pid.
    void FindWindow(pid_t pid) {
        const Atom netPid = XInternAtom(Dpy, "_NET_WM_PID", False);
        for (int attempt = 0; attempt < 200 && !Win; ++attempt) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            XQueryTree(Dpy, DefaultRootWindow(Dpy), &root, &parent, &children, &count);
            long bestArea = 0;
            for (unsigned int i = 0; i < count; ++i) {
                XWindowAttributes attributes;
                if (!XGetWindowAttributes(Dpy, children[i], &attributes) || attributes.map_state != IsViewable)
                    continue;
                if (WindowPid(children[i], netPid) != pid) continue;
                const long area = static_cast<long>(attributes.width) * attributes.height;
                if (area > bestArea) {
                    bestArea = area;
                    Win = children[i];
                    Width = attributes.width;
                    Height = attributes.height;
                }
            }
            if (children) XFree(children);
            if (!Win) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!Win) Fail("no window of the program appeared");
    }

    // Gives the window the size at which the toy shows the block at scale.
    void Resize(int scale) {
        XResizeWindow(Dpy, Win, static_cast<unsigned>(BlockWidth * scale), static_cast<unsigned>(BlockHeight * scale));
        XSync(Dpy, False);
        for (int attempt = 0; attempt < 100; ++attempt) {
            XWindowAttributes attributes;
            XGetWindowAttributes(Dpy, Win, &attributes);
            Width = attributes.width;
            Height = attributes.height;
            if (Width == BlockWidth * scale && Height == BlockHeight * scale) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the program lays itself out anew
    }

    void Watch() {
        XDamageCreate(Dpy, Win, XDamageReportRawRectangles);
        XSelectInput(Dpy, Win, StructureNotifyMask);
        XSync(Dpy, False);
    }

    // Window pixels of a play-area point of the toy, from the same layout
    // arithmetic as the program's.
    void UsePlayAreaLayout() {
        Scale = ChooseScale(Width, Height, 0);
        const TRect frame = ScaleRect(layout::Frame, Scale);
        Offset = CentringOffset(Width, Height, frame, layout::Thumbs[0].Bottom * Scale);
        PlayOrigin = {Offset.X + frame.Left + layout::FrameBorder * Scale,
                      Offset.Y + frame.Top + layout::FrameBorder * Scale};
    }
    TPoint InPlayArea(int x, int y) const { return {PlayOrigin.X + x * Scale, PlayOrigin.Y + y * Scale}; }
    TPoint InThumbnail(int index, int x, int y) const {
        const TRect box = ScaleRect(layout::Thumbs[static_cast<size_t>(index - 1)], Scale);
        return {Offset.X + box.Left + x * Scale, Offset.Y + box.Top + y * Scale};
    }
    TPoint Centre() const { return {Width / 2, Height / 2}; }

    void MoveTo(TPoint at) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(Dpy, Win, DefaultRootWindow(Dpy), at.X, at.Y, &x, &y, &child);
        XTestFakeMotionEvent(Dpy, -1, x, y, CurrentTime);
        XFlush(Dpy);
    }
    void Button(bool down) {
        XTestFakeButtonEvent(Dpy, 1, down ? True : False, CurrentTime);
        XFlush(Dpy);
    }
    void Click(TPoint at) {
        MoveTo(at);
        Button(true);
        Button(false);
        Settle();
    }

    // Milliseconds from the press at until the window's pixels there change.
    std::optional<double> TimedClick(TPoint at) {
        MoveTo(at);
        Settle();
        const Clock::time_point start = Clock::now();
        Button(true);
        std::optional<double> result;
        while (!result && MillisecondsSince(start) < 2000) {
            Drain(50, [&](const XDamageNotifyEvent& damage) {
                if (!result && Contains(damage.area, at)) result = MillisecondsSince(start);
            });
        }
        Button(false);
        Settle();
        return result;
    }

    // Holds the button down at from and sends moves every interval; counts
    // the updates of the window meanwhile. One update may put several
    // rectangles, which arrive together: damage after a gap of 3 ms or more
    // starts a new update.
    void Drag(TPoint from, int moves, std::chrono::milliseconds interval) {
        MoveTo(from);
        Settle();
        Button(true);
        Settle();
        int updates = 0;
        Clock::time_point lastDamage{};
        auto count = [&](const XDamageNotifyEvent&) {
            const Clock::time_point now = Clock::now();
            if (now - lastDamage >= std::chrono::milliseconds(3)) ++updates;
            lastDamage = now;
        };
        const Clock::time_point start = Clock::now();
        for (int i = 1; i <= moves; ++i) {
            const int step = i % 80 < 40 ? i % 40 : 40 - i % 40; // there and back again
            MoveTo({from.X - step * Scale, from.Y + step / 2 * Scale});
            const Clock::time_point due = start + interval * i;
            while (Clock::now() < due) {
                const int wait = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                      due - Clock::now()).count());
                Drain(std::max(0, wait), count);
            }
        }
        const double seconds = MillisecondsSince(start) / 1000;
        Button(false);
        Settle();
        std::printf("drag %d %d %.3f\n", moves, updates, seconds);
    }

    // Counts the requests the program sends while it is left alone.
    void Idle(pid_t pid, pid_t serverPid, double seconds) {
        Settle();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        Display* control = OpenDisplay();
        Display* data = OpenDisplay();
        int major = 0, minor = 0;
        if (!control || !data || !XRecordQueryVersion(control, &major, &minor))
            Fail("the X server has no RECORD");
        XRecordRange* range = XRecordAllocRange();
        range->core_requests = {1, 127};
        range->ext_requests.ext_major = {128, 255};
        range->ext_requests.ext_minor = {0, 0xFFFF};
        XRecordClientSpec client = Win; // any resource of a client names the client
        XRecordContext context = XRecordCreateContext(control, 0, &client, 1, &range, 1);
        XSync(control, False);
        long requests = 0;
        if (!XRecordEnableContextAsync(data, context, CountRequest, reinterpret_cast<XPointer>(&requests)))
            Fail("cannot record the program's requests");
        const double cpu = ProcessCpuMs(pid), serverCpu = ProcessCpuMs(serverPid);
        const Clock::time_point start = Clock::now();
        while (MillisecondsSince(start) < seconds * 1000) {
            pollfd fd{ConnectionNumber(data), POLLIN, 0};
            poll(&fd, 1, 100);
            XRecordProcessReplies(data);
        }
        const double programMs = ProcessCpuMs(pid) - cpu, serverMs = ProcessCpuMs(serverPid) - serverCpu;
        const double elapsed = MillisecondsSince(start) / 1000;
        XRecordDisableContext(control, context);
        XSync(control, False);
        XRecordProcessReplies(data);
        XRecordFreeContext(control, context);
        XFree(range);
        XCloseDisplay(data);
        XCloseDisplay(control);
        std::printf("idle %.3f %ld %.2f %.2f\n", elapsed, requests, programMs, serverMs);
    }

    // A server busy with other clients may refuse a connection for a moment.
    static Display* OpenDisplay() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (Display* display = XOpenDisplay(nullptr)) return display;
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        return nullptr;
    }

    [[noreturn]] static void Fail(const char* what) {
        std::fprintf(stderr, "latency_probe: %s\n", what);
        std::exit(1);
    }

private:
    static void CountRequest(XPointer counter, XRecordInterceptData* data) {
        if (data->category == XRecordFromClient) ++*reinterpret_cast<long*>(counter);
        XRecordFreeData(data);
    }

    long WindowPid(Window window, Atom netPid) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* value = nullptr;
        long pid = -1;
        if (XGetWindowProperty(Dpy, window, netPid, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &value) == Success &&
            value && items == 1)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(value));
        if (value) XFree(value);
        return pid;
    }

    static bool Contains(const XRectangle& area, TPoint at) {
        return at.X >= area.x && at.Y >= area.y && at.X < area.x + area.width && at.Y < area.y + area.height;
    }

    // Handles the events that arrive within timeoutMs (0: those already here).
    template <class OnDamage> void Drain(int timeoutMs, OnDamage onDamage) {
        if (!XPending(Dpy)) {
            pollfd fd{ConnectionNumber(Dpy), POLLIN, 0};
            poll(&fd, 1, timeoutMs);
        }
        while (XPending(Dpy)) {
            XEvent event;
            XNextEvent(Dpy, &event);
            if (event.type == DamageEvent + XDamageNotify)
                onDamage(*reinterpret_cast<XDamageNotifyEvent*>(&event));
            else if (event.type == ConfigureNotify && (event.xconfigure.width != Width ||
                                                       event.xconfigure.height != Height))
                Fail("the window changed its size while measured");
        }
    }

    // Waits until the window has had no new pixels for 150 ms (at most 3 s),
    // so that timers the last click started (a button popping up) are done.
    void Settle() {
        Clock::time_point quietSince = Clock::now();
        const Clock::time_point start = Clock::now();
        while (MillisecondsSince(quietSince) < 150 && MillisecondsSince(start) < 3000)
            Drain(20, [&](const XDamageNotifyEvent&) { quietSince = Clock::now(); });
    }

    Display* Dpy;
    int DamageEvent = 0;
    Window Win = 0;
    int Width = 0;
    int Height = 0;
    int Scale = 1;
    TPoint Offset{0, 0};
    TPoint PlayOrigin{0, 0};
};

void PrintClicks(const std::vector<double>& times) {
    std::printf("click");
    for (double t : times)
        std::printf(" %.2f", t);
    std::printf("\n");
}

using Spot = ColouringRoomPoints<TPoint>;

void ProbeToy(Probe& probe, int clicks) {
    probe.UsePlayAreaLayout();
    probe.Click(probe.InThumbnail(1, 60, 40));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::vector<double> times;
    for (int i = 0; i < clicks; ++i) {
        const TPoint colour = i % 2 ? Spot::ColourButton3 : Spot::ColourButton5;
        probe.Click(probe.InPlayArea(colour.X, colour.Y));
        if (std::optional<double> t = probe.TimedClick(probe.InPlayArea(Spot::Sky.X, Spot::Sky.Y))) times.push_back(*t);
    }
    PrintClicks(times);
    probe.Click(probe.InPlayArea(Spot::ObjectButton5.X, Spot::ObjectButton5.Y));
    probe.Click(probe.InPlayArea(Spot::FirstIcon.X, Spot::FirstIcon.Y));
    probe.Drag(probe.InPlayArea(Spot::CatEar.X, Spot::CatEar.Y), 160, std::chrono::milliseconds(8));
}

void ProbeMinimal(Probe& probe, int clicks) {
    std::vector<double> times;
    for (int i = 0; i < clicks; ++i)
        if (std::optional<double> t = probe.TimedClick(probe.Centre())) times.push_back(*t);
    PrintClicks(times);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: latency_probe vorel|minimal PID SERVER_PID [CLICKS]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const pid_t pid = static_cast<pid_t>(std::atol(argv[2]));
    const pid_t serverPid = static_cast<pid_t>(std::atol(argv[3]));
    const int clicks = argc > 4 ? std::max(1, std::atoi(argv[4])) : 20;
    const int scale = argc > 5 ? std::atoi(argv[5]) : 0;
    const double idleSeconds = argc > 6 ? std::atof(argv[6]) : 10;
    Probe probe;
    probe.FindWindow(pid);
    if (scale > 0) probe.Resize(scale);
    probe.Watch();
    if (mode == "vorel")
        ProbeToy(probe, clicks);
    else
        ProbeMinimal(probe, clicks);
    if (idleSeconds > 0) probe.Idle(pid, serverPid, idleSeconds);
    return 0;
}
