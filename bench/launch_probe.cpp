// launch_probe: starts a program on the X display and reports how long it took to show its
// window, and how much memory it holds a moment later.
//
//   launch_probe [--settle-ms N] [--memory-at-ms N] [--timeout-ms N] -- program [arguments]
//
// Prints one line: map_ms=… frame_ms=… rss_kib=… private_kib=… private_dirty_kib=…
// qt_shared_kib=… draws=… grabs=…
//
// How it measures (all times on the monotonic clock, from just before the program is spawned):
// - The probe is connected and listening before the spawn, so its own start-up is not counted.
//   It watches the root window with SubstructureNotify: a new top-level window (not
//   override-redirect) of the program is seen at its CreateNotify, where the probe attaches a
//   DAMAGE object to it, and at its MapNotify, whose arrival is `map_ms`.
// - Every drawing into the window after it is mapped raises a DAMAGE event. After each batch
//   of such events the probe reads the window's pixels back (GetImage) and keeps a hash of
//   them. Once nothing has been drawn for the settle time, the last picture is the window's
//   finished look; `frame_ms` is when the probe's grab first showed that finished picture and
//   it never changed afterwards. A window that draws a frame in several steps (or draws it
//   twice) is therefore measured at the end of the frame that looks complete, not at its
//   first stroke. The error is at most one grab (about a millisecond on a local server).
// - `rss_kib`, `private_kib` and `private_dirty_kib` come from /proc/PID/smaps_rollup at the
//   given time after the spawn: Rss, Private_Clean + Private_Dirty (the pages no other process
//   maps at that moment), and Private_Dirty alone (the pages the program wrote: heap, stacks,
//   relocated data). Private_Clean is mostly library code, and it moves to Shared_Clean
//   whenever another process maps the same library (any other Qt program running); so
//   `qt_shared_kib` tells how much of Qt Core's pages were shared at that moment (0: this was
//   the only Qt program).
// The program is then ended with SIGTERM.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "launch_probe: %s\n", message.c_str());
    std::exit(2);
}

struct Options
{
    int settleMs = 500;
    int memoryAtMs = 1000;
    int timeoutMs = 20000;
    std::vector<char *> command;
};

Options parseOptions(int argc, char **argv)
{
    Options options;
    int index = 1;
    while (index < argc) {
        const std::string_view argument = argv[index++];
        if (argument == "--")
            break;
        if (index >= argc)
            fail("missing value after " + std::string(argument));
        const int value = std::atoi(argv[index++]);
        if (argument == "--settle-ms")
            options.settleMs = value;
        else if (argument == "--memory-at-ms")
            options.memoryAtMs = value;
        else if (argument == "--timeout-ms")
            options.timeoutMs = value;
        else
            fail("unknown option " + std::string(argument));
    }
    for (; index < argc; ++index)
        options.command.push_back(argv[index]);
    if (options.command.empty())
        fail("usage: launch_probe [--settle-ms N] [--memory-at-ms N] [--timeout-ms N] -- "
             "program [arguments]");
    options.command.push_back(nullptr);
    return options;
}

struct Memory
{
    long rssKib = -1;
    long privateKib = -1;
    long privateDirtyKib = -1;
    long qtSharedKib = 0;
};

// How much of Qt Core's pages this process shares with others: none when it is the only Qt
// program running, and then all of the Qt code it has touched counts as its private memory.
long sharedQtKib(pid_t pid)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    bool inQtCore = false;
    long shared = 0;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first.empty())
            continue;
        if (first.back() != ':') { // the heading of a mapping: range, flags, …, path
            inQtCore = line.find("libQt6Core.so") != std::string::npos;
        } else if (inQtCore && (first == "Shared_Clean:" || first == "Shared_Dirty:")) {
            long value = 0;
            fields >> value;
            shared += value;
        }
    }
    return shared;
}

Memory readMemory(pid_t pid)
{
    Memory memory;
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string key;
    long value = 0;
    std::string unit;
    long privateClean = -1;
    long privateDirty = -1;
    while (rollup >> key) {
        if (key == "Rss:" || key == "Private_Clean:" || key == "Private_Dirty:") {
            rollup >> value >> unit;
            if (key == "Rss:")
                memory.rssKib = value;
            else if (key == "Private_Clean:")
                privateClean = value;
            else
                privateDirty = value;
        } else {
            rollup.ignore(1 << 16, '\n');
        }
    }
    if (privateClean >= 0 && privateDirty >= 0)
        memory.privateKib = privateClean + privateDirty;
    memory.privateDirtyKib = privateDirty;
    memory.qtSharedKib = sharedQtKib(pid);
    return memory;
}

std::uint64_t hashBytes(const std::uint8_t *data, std::size_t size)
{
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 1099511628211ULL;
    }
    return hash;
}

struct Grab
{
    Clock::time_point at;
    std::uint64_t hash;
};

class Probe
{
public:
    explicit Probe(Options options)
        : options_(std::move(options))
    {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0)
            fail("cannot connect to the X display");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

        const xcb_query_extension_reply_t *damage
            = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (damage == nullptr || damage->present == 0)
            fail("the X server has no DAMAGE extension");
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(
            connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));

        // Xvfb draws the pointer in software, and hides and redraws it around every GetImage
        // that it overlaps: in a window's corner of the screen it would look like drawing.
        xcb_warp_pointer(connection_, XCB_NONE, root_, 0, 0, 0, 0, 0, 0);

        // Damage is watched on the whole screen: a window's own damage object would miss what
        // is drawn into its subwindows (as Xt programs such as xcalc draw their buttons). The
        // display is the benchmark's own, so whatever is drawn over the window is its drawing.
        xcb_damage_create(connection_, xcb_generate_id(connection_), root_,
            XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);

        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        // A round trip: the selection is in force before the program starts.
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    ~Probe() { xcb_disconnect(connection_); }

    Probe(const Probe &) = delete;
    Probe &operator=(const Probe &) = delete;

    int run()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The program's own output goes to standard error; standard output is the result's.
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
        start_ = Clock::now();
        const int spawned = posix_spawnp(
            &pid_, options_.command[0], &actions, nullptr, options_.command.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            fail(
                std::string("cannot start ") + options_.command[0] + ": " + std::strerror(spawned));

        const Clock::time_point memoryAt = start_ + std::chrono::milliseconds(options_.memoryAtMs);
        const Clock::time_point giveUpAt = start_ + std::chrono::milliseconds(options_.timeoutMs);
        const auto settle = std::chrono::milliseconds(options_.settleMs);
        std::optional<Memory> memory;
        while (true) {
            const Clock::time_point now = Clock::now();
            if (!memory && now >= memoryAt)
                memory = readMemory(pid_);
            const bool settled = mapped_ && !grabs_.empty() && now - lastDraw_ >= settle;
            if (settled && memory)
                break;
            if (now >= giveUpAt) {
                stopProgram();
                fail(mapped_ ? "the window never settled" : "no window was mapped");
            }
            if (programExited()) {
                fail("the program ended before its window settled");
            }

            Clock::time_point wakeAt = giveUpAt;
            if (!memory)
                wakeAt = std::min(wakeAt, memoryAt);
            if (mapped_)
                wakeAt = std::min(wakeAt, lastDraw_ + settle);
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now);
            pollfd descriptor { xcb_get_file_descriptor(connection_), POLLIN, 0 };
            poll(&descriptor, 1, static_cast<int>(std::clamp<long>(wait.count(), 0, 100)));
            handleEvents();
        }

        // The finished look must still be on screen: one more grab to compare.
        grab();
        stopProgram();

        const std::uint64_t finished = grabs_.back().hash;
        std::size_t first = grabs_.size() - 1;
        while (first > 0 && grabs_[first - 1].hash == finished)
            --first;
        std::printf("map_ms=%.2f frame_ms=%.2f rss_kib=%ld private_kib=%ld private_dirty_kib=%ld "
                    "qt_shared_kib=%ld draws=%d grabs=%zu\n",
            millisecondsBetween(start_, mappedAt_), millisecondsBetween(start_, grabs_[first].at),
            memory->rssKib, memory->privateKib, memory->privateDirtyKib, memory->qtSharedKib,
            draws_, grabs_.size());
        return 0;
    }

private:
    void handleEvents()
    {
        // A grab reads a reply, and events that arrive meanwhile wait in xcb's queue, where
        // poll() does not see them: so drain, grab, and drain again until nothing was drawn.
        while (drainEvents())
            grab();
    }

    // Handles every event there is; tells whether the window was drawn into.
    bool drainEvents()
    {
        bool drawn = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
            const std::uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                if (created->parent == root_ && created->override_redirect == 0)
                    candidates_.insert(created->window);
            } else if (type == XCB_MAP_NOTIFY) {
                const auto *shown = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (!mapped_ && shown->override_redirect == 0
                    && candidates_.contains(shown->window)) {
                    mapped_ = true;
                    mappedAt_ = Clock::now();
                    lastDraw_ = mappedAt_;
                    window_ = shown->window;
                    findPlace();
                }
            } else if (type == damageEvent_) {
                const auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                if (mapped_ && overlapsWindow(damage->area)) {
                    lastDraw_ = Clock::now();
                    ++draws_;
                    drawn = true;
                }
            }
            free(event);
        }
        if (xcb_connection_has_error(connection_) != 0)
            fail("the connection to the X display broke");
        return drawn;
    }

    // Where the window is on the screen, border included.
    void findPlace()
    {
        xcb_get_geometry_reply_t *geometry
            = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window_), nullptr);
        if (geometry == nullptr)
            fail("the window vanished as it was mapped");
        place_ = { geometry->x, geometry->y,
            static_cast<std::uint16_t>(geometry->width + 2 * geometry->border_width),
            static_cast<std::uint16_t>(geometry->height + 2 * geometry->border_width) };
        free(geometry);
    }

    [[nodiscard]] bool overlapsWindow(const xcb_rectangle_t &area) const
    {
        return area.x < place_.x + place_.width && place_.x < area.x + area.width
            && area.y < place_.y + place_.height && place_.y < area.y + area.height;
    }

    void grab()
    {
        xcb_get_geometry_reply_t *geometry
            = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window_), nullptr);
        if (geometry == nullptr)
            return;
        const Clock::time_point at = Clock::now();
        xcb_get_image_reply_t *image = xcb_get_image_reply(connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0, geometry->width,
                geometry->height, ~0U),
            nullptr);
        free(geometry);
        if (image == nullptr)
            return;
        grabs_.push_back({ at,
            hashBytes(xcb_get_image_data(image),
                static_cast<std::size_t>(xcb_get_image_data_length(image))) });
        free(image);
    }

    bool programExited()
    {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return true;
        }
        return false;
    }

    void stopProgram()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

    Options options_;
    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::uint8_t damageEvent_ = 0;
    std::set<xcb_window_t> candidates_;
    pid_t pid_ = -1;
    Clock::time_point start_;
    bool mapped_ = false;
    xcb_window_t window_ = 0;
    xcb_rectangle_t place_ {};
    Clock::time_point mappedAt_;
    Clock::time_point lastDraw_;
    int draws_ = 0;
    std::vector<Grab> grabs_;
};

} // namespace

int main(int argc, char **argv)
{
    signal(SIGPIPE, SIG_IGN);
    Probe probe(parseOptions(argc, argv));
    return probe.run();
}
