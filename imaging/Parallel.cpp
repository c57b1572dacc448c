#include "imaging/Parallel.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace imaging {

namespace {

// What the calling thread and the pool's threads share. A pool thread may
// start only after the caller has returned; it then finds no task left and
// touches nothing but this, which it keeps alive.
struct Shared {
    const std::function<void(int)>* task = nullptr;
    int count = 0;
    std::atomic<int> next{0};
    // Guarded by lock: the tasks finished, and the first failure.
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;
    int done = 0;
    std::exception_ptr failure;

    // Runs tasks until none is left.
    void Work() {
        for (int i; (i = next.fetch_add(1)) < count;) {
            std::exception_ptr thrown;
            try {
                (*task)(i);
            } catch (...) {
                thrown = std::current_exception();
            }
            AcquireSRWLockExclusive(&lock);
            if (thrown && !failure) failure = thrown;
            const bool all = ++done == count;
            ReleaseSRWLockExclusive(&lock);
            if (all) WakeAllConditionVariable(&finished);
        }
    }
};

void CALLBACK PoolWork(PTP_CALLBACK_INSTANCE, void* context) {
    std::unique_ptr<std::shared_ptr<Shared>> shared(static_cast<std::shared_ptr<Shared>*>(context));
    (*shared)->Work();
}

} // namespace

void RunInParallel(int count, int threads, const std::function<void(int)>& task) {
    if (count <= 0) return;
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, count);
    auto shared = std::make_shared<Shared>();
    shared->task = &task;
    shared->count = count;
    // The pool's threads are woken through the system's own slim locks,
    // which under Wine cost a fifteenth of starting a thread; a pool thread
    // that cannot be had leaves its share to the others.
    for (int i = 1; i < threads; ++i) {
        auto context = std::make_unique<std::shared_ptr<Shared>>(shared);
        if (!TrySubmitThreadpoolCallback(PoolWork, context.get(), nullptr)) break;
        context.release();
    }
    shared->Work();
    AcquireSRWLockExclusive(&shared->lock);
    while (shared->done < count)
        SleepConditionVariableSRW(&shared->finished, &shared->lock, INFINITE, 0);
    const std::exception_ptr failure = shared->failure;
    ReleaseSRWLockExclusive(&shared->lock);
    if (failure) std::rethrow_exception(failure);
}

} // namespace imaging
