// Work shared out between the calling thread and the system's thread pool,
// for the few operations on a whole picture that a user waits for (saving a
// PNG file, a zoom step).
#pragma once

#include <functional>

namespace imaging {

// Runs task(0), task(1), ... task(count - 1), each exactly once, on the
// calling thread and on up to threads - 1 threads of the system's pool at
// once (threads 0: one per processor), and returns when all have run. The
// pool keeps its threads for a while, so a second call soon after the first
// starts none. Whatever a task throws is thrown here, once all are done.
void RunInParallel(int count, int threads, const std::function<void(int)>& task);

} // namespace imaging
