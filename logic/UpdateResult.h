#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

// The result of one update: written once by the update worker, read by the
// user interface on every tick. Copies share one value, so a worker that
// outlives its caller (the program quit during an update) still writes into
// live memory.
class UpdateResult {
public:
    static constexpr std::int32_t Running = 0;
    static constexpr std::int32_t Done = 1;             // images written, device asked to restart
    static constexpr std::int32_t NotInUpdateMode = -1; // the device was not open in update mode
    static constexpr std::int32_t WriteFailed = -2;     // writing an image failed

    std::int32_t load() const { return value_->load(); }
    void store(std::int32_t value) { value_->store(value); }

private:
    std::shared_ptr<std::atomic<std::int32_t>> value_ = std::make_shared<std::atomic<std::int32_t>>(Running);
};
