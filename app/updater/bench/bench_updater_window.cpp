// The updater's window as a process, measured from the outside:
// - the time from starting tvs-updater --simulate (fork and exec) to its
//   first frame presented on the shown window, beside a bare SDL program that
//   opens a window of the same size and presents one frame; both are timed by
//   the preloaded first-frame probe, so both are measured the same way; and
//   beside another build of the updater when one is named (the build before
//   a change, say), which takes its turn with the two;
// - the processor time of the window idle on the update-available page, and
//   during a simulated update with the busy wheel turning;
// - the slowest answer of the window to a window manager's ping during the
//   simulated update (how long its event loop kept it from answering);
// - its peak resident memory over the whole simulated update.
// No child has a session bus, so none finds an accessibility bus.
//   bench_updater_window [N] [OTHER_UPDATER]
// Uses $DISPLAY, or a private Xvfb when none is set. Clicks go through
// xdotool. Every child has a runtime folder of its own, because a second
// copy of the updater in the same folder ends at once.
#include "WindowPing.h"
#include "XvfbServer.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int WindowWidth = 627;
constexpr int WindowHeight = 335;
// The middle of the button at the lower right (UPDATE, then FINISH).
constexpr int ButtonX = 546;
constexpr int ButtonY = 296;
constexpr std::chrono::milliseconds SettleTime{1000};
constexpr std::chrono::milliseconds PollInterval{20};
constexpr std::chrono::seconds IdleMeasureTime{10};

long long nowNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

double secondsSince(long long start)
{
    return static_cast<double>(nowNanoseconds() - start) / 1e9;
}

// A private folder (mode 700) that is removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        char name[] = "/tmp/bench_updater_window.XXXXXX";
        if (mkdtemp(name) != nullptr) {
            path_ = name;
        }
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// A child process, asked to end (SIGTERM, then SIGKILL after 5 s) and reaped
// when this object goes, unless it ended before.
class Child {
public:
    Child() = default;
    ~Child() { stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts `arguments` with `environment` added to this process's; `keptFd`
    // stays open in the child. Returns the monotonic time just before fork.
    long long start(const std::vector<std::string>& arguments, const Environment& environment, int keptFd = -1)
    {
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        const long long started = nowNanoseconds();
        pid_ = fork();
        if (pid_ == 0) {
            // No system bus: the simulated update must not take a real
            // inhibitor lock from the desktop's session manager. No session
            // bus: the window is measured without an accessibility bus.
            setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent", 1);
            setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
            for (const auto& [name, value] : environment) {
                setenv(name.c_str(), value.c_str(), 1);
            }
            if (keptFd >= 0) {
                fcntl(keptFd, F_SETFD, 0);
            }
            execv(argv[0], argv.data());
            _exit(127);
        }
        return pid_ > 0 ? started : -1;
    }

    pid_t pid() const { return pid_; }

    // Waits up to `timeout` for the child to end; false when it did not.
    bool waitForEnd(std::chrono::milliseconds timeout, rusage* usage = nullptr)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        rusage ignored{};
        int status = 0;
        while (pid_ > 0) {
            const pid_t ended = wait4(pid_, &status, WNOHANG, usage ? usage : &ignored);
            if (ended == pid_ || (ended < 0 && errno != EINTR)) {
                pid_ = -1;
            } else if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            } else {
                std::this_thread::sleep_for(PollInterval);
            }
        }
        return true;
    }

    bool running() { return pid_ > 0 && !waitForEnd(std::chrono::milliseconds(0)); }

    void stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            if (!waitForEnd(std::chrono::seconds(5))) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                pid_ = -1;
            }
        }
    }

private:
    pid_t pid_ = -1;
};

// The bare SDL program: a window of the updater's size and one frame, then
// it waits to be told to quit (SDL turns SIGTERM into SDL_QUIT). The window
// surface is software, as the updater's is (without the hint SDL would
// present through an OpenGL texture on X11).
int runBareSdl()
{
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("bare SDL2", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          WindowWidth, WindowHeight, SDL_WINDOW_SHOWN);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    const bool presented = surface != nullptr &&
                           SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255)) == 0 &&
                           SDL_UpdateWindowSurface(window) == 0;
    SDL_Event event;
    while (presented && SDL_WaitEvent(&event) == 1 && event.type != SDL_QUIT) {
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
    return presented ? 0 : 1;
}

// One start of `arguments` with the first-frame probe preloaded; the
// milliseconds from just before fork to the end of the first present on the
// shown window, or a negative value.
double firstFrameMilliseconds(const std::vector<std::string>& arguments)
{
    TempFolder runtime;
    int fds[2];
    if (runtime.path().empty() || pipe2(fds, O_CLOEXEC) != 0) {
        return -1;
    }
    Child child;
    const long long started = child.start(
        arguments,
        {{"LD_PRELOAD", FIRST_FRAME_PROBE}, {"TVS_BENCH_FRAME_FD", std::to_string(fds[1])},
         {"XDG_RUNTIME_DIR", runtime.path()}},
        fds[1]);
    close(fds[1]);
    const std::string line = started > 0 ? readLineFrom(fds[0]) : std::string();
    close(fds[0]);
    return line.empty() ? -1 : static_cast<double>(std::atoll(line.c_str()) - started) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Alternates the bare program and the updater, waiting for the machine to
// settle before each start: a start right after the previous process ended
// measures several times slower, which is not how a user starts the program.
double bestOf(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

// The bare SDL program, the updater and, when `beside` names one, another
// build of the updater take turns.
bool measureFirstFrames(int runs, const std::string& beside)
{
    std::vector<std::vector<std::string>> programs{{"/proc/self/exe", "--bare-sdl"}, {TVS_UPDATER_PROGRAM, "--simulate"}};
    if (!beside.empty()) {
        programs.push_back({beside, "--simulate"});
    }
    std::vector<std::vector<double>> times(programs.size());
    for (int i = 0; i < runs * static_cast<int>(programs.size()); ++i) {
        std::this_thread::sleep_for(SettleTime);
        const std::size_t which = static_cast<std::size_t>(i) % programs.size();
        const double ms = firstFrameMilliseconds(programs[which]);
        if (ms < 0) {
            std::fprintf(stderr, "first frame: run %d of %s failed\n", i / static_cast<int>(programs.size()) + 1, programs[which][0].c_str());
            return false;
        }
        times[which].push_back(ms);
    }
    const double bareMedian = median(times[0]);
    const double updaterMedian = median(times[1]);
    std::printf("first frame: tvs-updater median %.1f ms (best %.1f), bare SDL2 median %.1f ms (best %.1f) "
                "over %d runs each: ratio %.2f (target at most 1.25)\n",
                updaterMedian, bestOf(times[1]), bareMedian, bestOf(times[0]), runs, updaterMedian / bareMedian);
    if (!beside.empty()) {
        const double besideMedian = median(times[2]);
        std::printf("first frame beside %s: median %.1f ms (best %.1f): tvs-updater / it %.3f\n", beside.c_str(),
                    besideMedian, bestOf(times[2]), updaterMedian / besideMedian);
    }
    return true;
}

// The user and system time of a process so far, in seconds (all its
// threads; the kernel counts it in clock ticks, usually 10 ms); negative when
// it cannot be read.
double processorSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1;
    }
    // After the name: the state (field 3), ..., utime (field 14), stime (15).
    std::istringstream fields(text.substr(nameEnd + 1));
    std::string field;
    for (int i = 3; i < 14 && fields >> field; ++i) {
    }
    long long user = -1;
    long long kernel = -1;
    fields >> user >> kernel;
    if (user < 0 || kernel < 0) {
        return -1;
    }
    return static_cast<double>(user + kernel) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Waits until the trace file names `page`; false when the child ends first
// or `timeout` passes.
bool waitForPage(const std::string& trace, const std::string& page, Child& child, std::chrono::seconds timeout)
{
    const std::string wanted = "{\"page\":\"" + page + "\"";
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && child.running()) {
        std::ifstream file(trace);
        for (std::string line; std::getline(file, line);) {
            if (line.rfind(wanted, 0) == 0) {
                return true;
            }
        }
        std::this_thread::sleep_for(PollInterval);
    }
    std::fprintf(stderr, "the updater did not show the page %s\n", page.c_str());
    return false;
}

// The X window of the updater, found by its title; empty when none appears.
std::string updaterWindowId()
{
    std::FILE* output = popen("timeout 10 xdotool search --sync --name '^TVS Updater$'", "r");
    if (output == nullptr) {
        return {};
    }
    char line[64] = {};
    const bool gotLine = std::fgets(line, sizeof line, output) != nullptr;
    pclose(output);
    std::string id = gotLine ? line : "";
    id.erase(id.find_last_not_of(" \n") + 1);
    return id;
}

bool clickButton(const std::string& window)
{
    const std::string command = "xdotool mousemove --window " + window + " " + std::to_string(ButtonX) + " " +
                                std::to_string(ButtonY) + " click 1";
    return std::system(command.c_str()) == 0;
}

double percentOfOneCore(double processor, double wall)
{
    return wall > 0 ? 100.0 * processor / wall : 0;
}

// Idle on the update-available page: the process's processor time over 10 s.
bool measureIdle(Child& updater, const std::string& trace)
{
    if (!waitForPage(trace, "update-available", updater, std::chrono::seconds(20))) {
        return false;
    }
    std::this_thread::sleep_for(SettleTime);
    const long long start = nowNanoseconds();
    const double before = processorSeconds(updater.pid());
    std::this_thread::sleep_for(IdleMeasureTime);
    const double after = processorSeconds(updater.pid());
    const double wall = secondsSince(start);
    if (before < 0 || after < 0) {
        std::fprintf(stderr, "idle: could not read the processor time of the updater\n");
        return false;
    }
    std::printf("idle on the update-available page: %.0f ms of processor time in %.1f s, %.2f %% of one core "
                "(target at most 0.3 %%)\n",
                (after - before) * 1000, wall, percentOfOneCore(after - before, wall));
    return true;
}

// Pings the window every 50 ms, as a window manager does, until stopped.
class PingWatch {
public:
    explicit PingWatch(const std::string& window) : thread_([this, window] { run(window); }) {}
    ~PingWatch() { stop(); }
    PingWatch(const PingWatch&) = delete;
    PingWatch& operator=(const PingWatch&) = delete;

    void stop()
    {
        stopped_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    void print() const
    {
        if (unanswered_) {
            std::printf("pings: the window left a ping unanswered for 5 s after %d answers\n", pings_);
            return;
        }
        std::printf("slowest answer to a window manager's ping during the update: %.1f ms over %d pings "
                    "(target at most 100 ms)\n",
                    static_cast<double>(slowest_.count()) / 1000.0, pings_);
    }

private:
    void run(const std::string& window)
    {
        WindowPinger pinger;
        if (!pinger.connect()) {
            unanswered_ = true;
            return;
        }
        while (!stopped_) {
            const auto answer = pinger.ping(window, std::chrono::seconds(5));
            if (!answer) {
                unanswered_ = !pinger.windowGone();
                return;
            }
            ++pings_;
            slowest_ = std::max(slowest_, *answer);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    std::atomic<bool> stopped_{false};
    int pings_ = 0;
    bool unanswered_ = false;
    std::chrono::microseconds slowest_{0};
    std::thread thread_;
};

// A simulated update: from the click on UPDATE to the success page.
bool measureUpdate(Child& updater, const std::string& trace, const std::string& window)
{
    PingWatch pings(window);
    const long long start = nowNanoseconds();
    const double before = processorSeconds(updater.pid());
    if (!clickButton(window)) {
        std::fprintf(stderr, "update: xdotool could not click UPDATE\n");
        return false;
    }
    if (!waitForPage(trace, "success", updater, std::chrono::seconds(60))) {
        return false;
    }
    const double after = processorSeconds(updater.pid());
    const double wall = secondsSince(start);
    std::printf("during the simulated update: %.0f ms of processor time in %.1f s from the click on UPDATE to "
                "the success page, %.2f %% of one core (target at most 2 %%)\n",
                (after - before) * 1000, wall, percentOfOneCore(after - before, wall));
    pings.stop();
    pings.print();
    return true;
}

// The button on the success page ends the program; the kernel keeps its
// peak resident size.
bool measurePeakMemory(Child& updater, const std::string& window)
{
    rusage usage{};
    if (!clickButton(window) || !updater.waitForEnd(std::chrono::seconds(10), &usage)) {
        std::fprintf(stderr, "memory: the updater did not end after a click on its last button\n");
        return false;
    }
    std::printf("peak resident memory over the simulated update: %.1f MB (target at most 30 MB)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return true;
}

bool measureSimulatedUpdate()
{
    TempFolder runtime;
    const std::string trace = runtime.path() + "/trace.jsonl";
    Child updater;
    std::this_thread::sleep_for(SettleTime);
    if (runtime.path().empty() ||
        updater.start({TVS_UPDATER_PROGRAM, "--simulate"},
                      {{"XDG_RUNTIME_DIR", runtime.path()}, {"TVS_UPDATER_TRACE", trace}}) < 0) {
        std::fprintf(stderr, "could not start %s\n", TVS_UPDATER_PROGRAM);
        return false;
    }
    if (!measureIdle(updater, trace)) {
        return false;
    }
    const std::string window = updaterWindowId();
    if (window.empty()) {
        std::fprintf(stderr, "xdotool found no window named TVS Updater\n");
        return false;
    }
    return measureUpdate(updater, trace, window) && measurePeakMemory(updater, window);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--bare-sdl") {
        return runBareSdl();
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string beside = argc > 2 ? argv[2] : "";
    XvfbServer server;
    if (!server.useOrStart()) {
        std::fprintf(stderr, "no $DISPLAY and Xvfb could not be started\n");
        return 1;
    }
    std::printf("display %s, %s\n", std::getenv("DISPLAY"), TVS_UPDATER_PROGRAM);
    std::fflush(stdout);
    return measureFirstFrames(runs, beside) && measureSimulatedUpdate() ? 0 : 1;
}
