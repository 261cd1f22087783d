#pragma once

namespace Basalt {

// The libraries' thread-local storage slot: one pointer per thread, allocated
// once per process while the library is initialised.
class ThreadStorage {
public:
    // Allocates the slot; true at once when it already exists.
    static bool allocate();
    // Frees the slot; values stored in it are forgotten, not deleted.
    static void release();
    static bool isAllocated();

    // The calling thread's value; null when unset or when there is no slot.
    static void* get();
    // Sets the calling thread's value; false when there is no slot.
    static bool set(void* value);
};

} // namespace Basalt
