#include "casement/init_casement.h"


#include "casement/AsyncEventTarget.h"
#include "casement/EventWait.h"
#include "casement/FrameworkEvents.h"
#include "casement/MainContextPump.h"
#include "casement/MessageBox.h"
#include "casement/SingleInstance.h"
#include "casement/WindowClasses.h"
#include "casement/XErrorHandlers.h"

#include "basalt/Assertion.h"
#include "basalt/DeviceNotifications.h"
#include "basalt/init_basalt.h"

#include <SDL.h>

#include <string_view>

namespace Casement {
namespace {

// The Basalt interface this build of Casement was made against.
constexpr std::uint32_t BasaltFirst = Basalt::InterfaceVersion;
constexpr std::uint32_t BasaltSecond = 0x000F0001;

// No SDL_INIT_TIMER: nothing here uses SDL's timers (event timers wait with
// the loop, see EventTimerManagerSdlBridge; SDL_GetTicks needs no subsystem),
// and the subsystem would start a thread of its own. Once a process has a
// second thread, glibc locks every getc, and libX11 reads its compose table
// one getc at a time while SDL's video starts: that alone made the start
// several milliseconds slower.
constexpr Uint32 SdlSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

struct State {
    bool initialized = false;
    bool sdlStarted = false;
};

State& state()
{
    static State instance;
    return instance;
}

void wakeForDeviceChanges()
{
    DETAIL::FrameworkEvents::push(DETAIL::FrameworkEvents::DeviceChange, 0);
}

void resetState()
{
    MainContextPump::stop();
    SingleInstance::close();
    Basalt::setDeviceChangeWakeHandler(nullptr);
    AsyncEventTarget::close();
    Basalt::Assertion::setMessageBox(nullptr);
    WindowClasses::unregisterAll();
    DETAIL::EventWait::uninstall();
    if (state().sdlStarted) {
        SDL_QuitSubSystem(SdlSubsystems);
    }
    state() = State{};
}

// SDL falls back to its offscreen driver when no display server answers: the
// program would then run with windows nobody can see, and never end. Only a
// driver asked for by name, through the environment or the hint (tests use
// "dummy"), may draw nowhere.
bool reachesADisplay()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return false;
    }
    const std::string_view name(driver);
    return (name != "offscreen" && name != "dummy") || SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr;
}

bool startSdl()
{
    // Closing the last window is a close request the application answers,
    // not a quit of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Before SDL's X11 driver starts: it keeps the handler it finds and puts
    // it back before closing the display, where errors still pending (a
    // request to a window already gone) are handled. Xlib's own handler
    // would end the program there with exit(1).
    DETAIL::installXErrorHandlers();
    if (SDL_InitSubSystem(SdlSubsystems) != 0) {
        return false;
    }
    if (!reachesADisplay()) {
        SDL_QuitSubSystem(SdlSubsystems);
        return false;
    }
    state().sdlStarted = true;
    return true;
}

} // namespace

void checkInterfaceVersion(std::uint32_t first, std::uint32_t second)
{
    BASALT_ASSERT(Basalt::interfaceVersionMatches(InterfaceVersion, first, second),
                  "Casement was built for other interface version words");
}

bool initCasement(std::uint32_t first, std::uint32_t second)
{
    if (state().initialized) {
        return true;
    }
    try {
        Basalt::checkInterfaceVersion(BasaltFirst, BasaltSecond);
        checkInterfaceVersion(first, second);
        if (!startSdl()) {
            resetState();
            return false;
        }
        DETAIL::EventWait::install();
        WindowClasses::registerAll();
        MessageBox::installForAssertions();
        AsyncEventTarget::open();
        Basalt::setDeviceChangeWakeHandler(&wakeForDeviceChanges);
        state().initialized = true;
        return true;
    } catch (...) {
        resetState();
        return false;
    }
}

void shutdownCasement()
{
    if (state().initialized) {
        resetState();
    }
}

bool isCasementInitialized()
{
    return state().initialized;
}

} // namespace Casement
