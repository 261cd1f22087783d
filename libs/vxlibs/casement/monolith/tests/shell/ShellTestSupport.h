#pragma once

#include "casement/AbstractEventTimerManagerOsBridge.h"
#include "casement/EventHandler.h"
#include "casement/EventTimerManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ShellTest {

// Counts what the manager asks of its platform timer.
struct tBridgeLog {
    int starts = 0;
    int stops = 0;
    bool running = false;
    int period = 0;
};

class FakeBridge final : public Casement::AbstractEventTimerManagerOsBridge {
public:
    explicit FakeBridge(tBridgeLog& log) : log_(log) {}
    void start(int periodMs) override
    {
        ++log_.starts;
        log_.running = true;
        log_.period = periodMs;
    }
    void stop() override
    {
        ++log_.stops;
        log_.running = false;
    }

private:
    tBridgeLog& log_;
};

inline Casement::EventTimerManager::tBridgeFactory fakeBridge(tBridgeLog& log)
{
    return [&log](Casement::EventTimerManager&) { return std::make_unique<FakeBridge>(log); };
}

// Records the events it receives by name and runs an optional action on each.
class Recorder final : public Casement::EventHandler {
public:
    Recorder(std::string name, std::vector<std::string>& log, bool consumes = true)
        : name_(std::move(name)), log_(log), consumes_(consumes) {}

    bool handleEvent(std::uint32_t code, void* payload, bool) override
    {
        log_.push_back(name_ + ":" + std::to_string(code));
        if (onEvent) {
            onEvent(code, payload);
        }
        return consumes_;
    }

    std::function<void(std::uint32_t, void*)> onEvent;

private:
    std::string name_;
    std::vector<std::string>& log_;
    bool consumes_;
};

} // namespace ShellTest
