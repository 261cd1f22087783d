#pragma once

#include <cstdint>
#include <string>

namespace Casement {

// Receives application events and commands by id: the application object, and
// the targets that other threads post commands to (AsyncEventTarget). The
// default operations pass an event down the chain dispatchEvent ->
// forwardEvent -> onCommand, which handles nothing.
class EventTarget {
public:
    virtual ~EventTarget() = default;

    // Entry point of an event; true when it was handled.
    virtual bool dispatchEvent(std::uint32_t code, void* data);
    // Hands an event to the target's own handling.
    virtual bool forwardEvent(std::uint32_t code, void* data);
    // The target's handling of events and commands; true when handled.
    virtual bool onCommand(std::uint32_t code, void* data);
    // Called when the target has nothing to do; does nothing by default.
    virtual void onIdle();
    // The kind of the object ("Standalone" for a stand-alone application).
    virtual std::string applicationKind() const;
    // A native handle of the host the target lives in; 0 when there is none.
    virtual std::intptr_t hostHandle() const;
    // The name of the host; empty when there is none.
    virtual std::string hostName() const;
    // Handling of an event that comes from the host; goes to onCommand.
    virtual bool onHostEvent(std::uint32_t code, void* data);
    // Called before and after the host hands the target a batch of events.
    virtual void beginHostEvents();
    virtual void endHostEvents();
};

} // namespace Casement
