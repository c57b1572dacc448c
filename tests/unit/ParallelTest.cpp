// Work shared out with the system's thread pool: every task runs exactly
// once, the call returns only when all have run, and a failure comes back.
#include "imaging/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

TEST(RunInParallel, RunsEveryTaskOnceBeforeItReturnsAndPassesOnAFailure) {
    for (int threads : {0, 1, 3, 64}) {
        SCOPED_TRACE(threads);
        std::vector<std::atomic<int>> runs(500);
        imaging::RunInParallel(static_cast<int>(runs.size()), threads, [&](int i) {
            // Long enough that the pool's threads take their share.
            volatile double spin = 0;
            for (int k = 0; k < 2000; ++k)
                spin = spin + k;
            runs[static_cast<size_t>(i)].fetch_add(1);
        });
        int wrong = 0;
        for (const std::atomic<int>& count : runs)
            wrong += count.load() != 1;
        EXPECT_EQ(wrong, 0);
    }

    std::atomic<int> done{0};
    EXPECT_THROW(imaging::RunInParallel(40, 0,
                                        [&](int i) {
                                            if (i == 7) throw std::runtime_error("task 7");
                                            done.fetch_add(1);
                                        }),
                 std::runtime_error);
    EXPECT_EQ(done.load(), 39) << "the other tasks all ran";
    imaging::RunInParallel(0, 0, [](int) { FAIL() << "no task to run"; });
}
