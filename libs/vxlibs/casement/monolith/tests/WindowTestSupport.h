#pragma once

#include <casement/DisplayScale.h>
#include <casement/StandaloneWindow.h>
#include <casement/WindowEventRouter.h>
#include <casement/WindowEvents.h>

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// One window event as the handler saw it, with a copy of the payloads the tests read.
struct tRecordedEvent {
    std::uint32_t code = 0;
    Casement::tMouseButtonEvent button;
    Casement::tMouseMoveEvent move;
    Casement::tKeyEvent key;
    Casement::tModifierEvent modifiers;
};

// Records every event; refuses close requests while `refuseClose` is set.
class RecordingWindow : public Casement::StandaloneWindow {
public:
    bool handleEvent(std::uint32_t code, void* payload, bool) override
    {
        using namespace Casement;
        tRecordedEvent event{code, {}, {}, {}, {}};
        switch (code) {
        case MouseButton: event.button = *static_cast<tMouseButtonEvent*>(payload); break;
        case MouseDrag:
        case MouseMove:
        case MouseEnter:
        case MouseLeave: event.move = *static_cast<tMouseMoveEvent*>(payload); break;
        case KeyDown:
        case KeyUp: event.key = *static_cast<tKeyEvent*>(payload); break;
        case ModifiersChanged: event.modifiers = *static_cast<tModifierEvent*>(payload); break;
        case CloseRequested:
            if (refuseClose) {
                *static_cast<std::uint8_t*>(payload) = 0;
            }
            break;
        default: break;
        }
        events.push_back(event);
        return true;
    }

    // The codes seen so far, in order.
    std::vector<std::uint32_t> codes() const
    {
        std::vector<std::uint32_t> seen;
        for (const auto& event : events) {
            seen.push_back(event.code);
        }
        return seen;
    }

    const tRecordedEvent* last(std::uint32_t code) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->code == code) {
                return &*it;
            }
        }
        return nullptr;
    }

    std::vector<tRecordedEvent> events;
    bool refuseClose = false;
};

// SDL's video subsystem on a chosen driver, with a fixed display scale, for one test.
class VideoSession {
public:
    VideoSession(const char* driver, std::optional<double> scale)
    {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        ok_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        Casement::DETAIL::DisplayScale::setOverride(scale);
    }
    ~VideoSession()
    {
        Casement::DETAIL::DisplayScale::setOverride(std::nullopt);
        if (ok_) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// Routes queued SDL events to their windows until `done` or the time-out.
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 20) == 1) {
            Casement::DETAIL::WindowEventRouter::route(event);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

// Routes everything that is queued now.
inline void pumpQueued()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        Casement::DETAIL::WindowEventRouter::route(event);
    }
}
