// Starts a program on the X display and watches its windows from outside, as
// the X server sees them: the time from the start to its first top-level
// window being mapped, to that window's first drawing, and to its last
// drawing before it has stayed still for a quiet spell (the window settled:
// for the program given two archives, its pages painted). Then it reads the
// program's resident memory and ends it.
//
// Usage: startup_probe [--quiet MS] PROGRAM [ARGUMENTS...]
// Prints one line: mapped=MS first_paint=MS settled=MS rss_kb=KB hwm_kb=KB
//
// The window is seen through the X server's own notices, so nothing in the
// program under test changes: the creation of windows on the root
// (SubstructureNotify), the map of a created window (StructureNotify; under a
// window manager that is when the manager has framed and shown it), and every
// drawing into it (the DAMAGE extension, which reports the program's image
// uploads however they are made). The window manager's frames are created on
// the root too; the program's window is the first mapped one whose _NET_WM_PID
// is the program's.

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

constexpr int kDefaultQuietMs = 500;
// A program that shows nothing in this long has failed.
constexpr double kGiveUpMs = 30000;

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "startup_probe: %s\n", message.c_str());
    std::exit(1);
}

// A field of /proc/PID/status in kB, or -1 when the process is gone.
long StatusKb(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

class Probe {
public:
    explicit Probe(int quietMs) : m_quietMs(quietMs) {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            Fail("cannot connect to the X display");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            Fail("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event;
        // The extension answers nothing before its version is agreed.
        free(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
        const char* pidName = "_NET_WM_PID";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(pidName)), pidName),
            nullptr);
        if (!atom)
            Fail("cannot name _NET_WM_PID");
        m_pidAtom = atom->atom;
        free(atom);
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~Probe() { xcb_disconnect(m_connection); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    void run(char** argv) {
        m_start = NowMs();
        // The program's own output would mix with the figures.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int error = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0)
            Fail(std::string("cannot start ") + argv[0] + ": " + std::strerror(error));
        while (!settled()) {
            const double now = NowMs();
            if (now - m_start > kGiveUpMs)
                Fail("the window was not shown and painted in time");
            if (exited())
                break;
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&fd, 1, 5);
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                handle(*event, NowMs());
                free(event);
            }
            if (xcb_connection_has_error(m_connection))
                Fail("lost the X display");
        }
        if (!m_mapped || !m_firstPaint)
            Fail("the program ended before its window was shown and painted");
        const long rss = StatusKb(m_pid, "VmRSS");
        const long hwm = StatusKb(m_pid, "VmHWM");
        std::printf("mapped=%.2f first_paint=%.2f settled=%.2f rss_kb=%ld hwm_kb=%ld\n", *m_mapped - m_start,
                    *m_firstPaint - m_start, m_lastPaint - m_start, rss, hwm);
        if (!m_exited) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

private:
    bool settled() const { return m_mapped && m_firstPaint && NowMs() - m_lastPaint >= m_quietMs; }

    bool exited() {
        if (!m_exited && waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            m_exited = true;
        return m_exited;
    }

    void handle(const xcb_generic_event_t& event, double at) {
        const uint8_t type = event.response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto& created = reinterpret_cast<const xcb_create_notify_event_t&>(event);
            if (created.parent == m_root && !created.override_redirect)
                watch(created.window, at);
        } else if (type == XCB_MAP_NOTIFY) {
            const auto& mapped = reinterpret_cast<const xcb_map_notify_event_t&>(event);
            if (mapped.event == mapped.window && m_watched.count(mapped.window))
                found(mapped.window, at);
        } else if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
            const auto& damage = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
            xcb_damage_subtract(m_connection, damage.damage, XCB_NONE, XCB_NONE);
            xcb_flush(m_connection);
            if (!m_window || damage.drawable != *m_window)
                return;
            if (!m_firstPaint)
                m_firstPaint = at;
            m_lastPaint = at;
        }
    }

    // Follows a window the program created: its map, and every drawing in it.
    void watch(xcb_window_t window, double at) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        const xcb_damage_damage_t damage = xcb_generate_id(m_connection);
        xcb_damage_create(m_connection, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        m_watched[window] = damage;
        // It may have been mapped before the notices were asked for.
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        const bool mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
        free(attributes);
        if (mapped)
            found(window, at);
    }

    // A watched window was mapped: the program's window when it is the first
    // of the program's own.
    void found(xcb_window_t window, double at) {
        if (m_window)
            return;
        xcb_get_property_reply_t* property = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        const bool ours =
            property && xcb_get_property_value_length(property) == 4 &&
            *static_cast<const uint32_t*>(xcb_get_property_value(property)) == static_cast<uint32_t>(m_pid);
        free(property);
        if (!ours)
            return;
        m_window = window;
        m_mapped = at;
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    xcb_atom_t m_pidAtom = 0;
    int m_quietMs;
    pid_t m_pid = 0;
    bool m_exited = false;
    double m_start = 0;
    std::optional<xcb_window_t> m_window;
    std::optional<double> m_mapped;
    std::optional<double> m_firstPaint;
    double m_lastPaint = 0;
    std::map<xcb_window_t, xcb_damage_damage_t> m_watched;
};

}  // namespace

int main(int argc, char* argv[]) {
    int first = 1;
    int quietMs = kDefaultQuietMs;
    if (argc > 2 && std::strcmp(argv[1], "--quiet") == 0) {
        quietMs = std::atoi(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: startup_probe [--quiet MS] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Probe probe(quietMs);
    probe.run(argv + first);
    return 0;
}
