// Preloaded (LD_PRELOAD) into a program whose first frame is timed. It stands
// in front of SDL's calls that present a window surface, passes each call on
// to SDL, and after the first one that succeeds on a shown window writes the
// monotonic clock in nanoseconds, as one line of text, to the file descriptor
// named by $TVS_BENCH_FRAME_FD. A present to a window that is still hidden
// does not count: nothing of it reaches the screen (the updater paints its
// window once before it shows it, and again on the first expose). The
// program itself is not changed, so the program under test and a bare SDL
// program are timed the same way.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <ctime>

// SDL's types are only passed through; their layout does not matter here.
struct SDL_Window;
struct SDL_Rect;

namespace {

constexpr std::uint32_t WindowShown = 0x4;  // SDL_WINDOW_SHOWN

std::atomic<bool> reported{false};

template <typename Function>
Function nextDefinition(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool isShown(SDL_Window* window)
{
    static const auto flagsOf = nextDefinition<std::uint32_t (*)(SDL_Window*)>("SDL_GetWindowFlags");
    return flagsOf != nullptr && (flagsOf(window) & WindowShown) != 0;
}

void reportFirstFrame(SDL_Window* window)
{
    const char* fd = std::getenv("TVS_BENCH_FRAME_FD");
    if (fd == nullptr || reported.load() || !isShown(window) || reported.exchange(true)) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
    const int out = std::atoi(fd);
    if (write(out, line, static_cast<std::size_t>(length)) != length) {
        std::fputs("first_frame_probe: could not report the first frame\n", stderr);
    }
    close(out);
}

} // namespace

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window)
{
    static const auto sdl = nextDefinition<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface");
    const int result = sdl(window);
    if (result == 0) {
        reportFirstFrame(window);
    }
    return result;
}

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count)
{
    static const auto sdl =
        nextDefinition<int (*)(SDL_Window*, const SDL_Rect*, int)>("SDL_UpdateWindowSurfaceRects");
    const int result = sdl(window, rects, count);
    if (result == 0) {
        reportFirstFrame(window);
    }
    return result;
}
