// Runs work on a thread with a small stack, as a worker thread of a server has: a recursion
// that grows with the input overflows it and the test dies instead of passing.
#pragma once

#include <pthread.h>

#include <functional>
#include <stdexcept>

namespace testsupport {

inline constexpr size_t kSmallStack = 256 * 1024;

inline void OnSmallStack(const std::function<void()>& work, size_t stackBytes = kSmallStack) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    std::function<void()> task = work;
    pthread_t thread;
    const int rc = pthread_create(
        &thread, &attr,
        [](void* p) -> void* {
            (*static_cast<std::function<void()>*>(p))();
            return nullptr;
        },
        &task);
    pthread_attr_destroy(&attr);
    if (rc != 0) throw std::runtime_error("pthread_create");
    pthread_join(thread, nullptr);
}

}  // namespace testsupport
