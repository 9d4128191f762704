#pragma once

#include <mutex>

namespace hv {

// Takes a lock whose holders keep it for a few hundred nanoseconds: it tries
// for about a microsecond before the thread sleeps. A thread asleep on a
// mutex costs whoever unlocks it a system call to wake it, and itself a trip
// through the scheduler; between the window's thread and a few workers that
// hand documents to each other that cost more than the work under the lock.
inline void lockBriefly(std::unique_lock<std::mutex>& lock) {
    for (int tries = 0; tries < 100; ++tries) {
        if (lock.try_lock()) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#elif defined(__aarch64__)
        asm volatile("yield");
#endif
    }
    lock.lock();
}

// `mutex`, locked as above.
inline std::unique_lock<std::mutex> lockedBriefly(std::mutex& mutex) {
    std::unique_lock lock(mutex, std::defer_lock);
    lockBriefly(lock);
    return lock;
}

} // namespace hv
