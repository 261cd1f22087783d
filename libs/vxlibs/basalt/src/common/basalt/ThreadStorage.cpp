#include "basalt/ThreadStorage.h"

#include <mutex>

#include <pthread.h>

namespace Basalt {
namespace {

std::mutex slotMutex;
bool allocated = false;
pthread_key_t key;

} // namespace

bool ThreadStorage::allocate()
{
    std::lock_guard lock(slotMutex);
    if (!allocated) {
        allocated = pthread_key_create(&key, nullptr) == 0;
    }
    return allocated;
}

void ThreadStorage::release()
{
    std::lock_guard lock(slotMutex);
    if (allocated) {
        pthread_key_delete(key);
        allocated = false;
    }
}

bool ThreadStorage::isAllocated()
{
    std::lock_guard lock(slotMutex);
    return allocated;
}

void* ThreadStorage::get()
{
    std::lock_guard lock(slotMutex);
    return allocated ? pthread_getspecific(key) : nullptr;
}

bool ThreadStorage::set(void* value)
{
    std::lock_guard lock(slotMutex);
    return allocated && pthread_setspecific(key, value) == 0;
}

} // namespace Basalt
