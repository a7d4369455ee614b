// The pool hands every task to every part exactly once, whether its threads are still watching
// for the next task or have gone to sleep, and reports a fault raised on a worker's part.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "model/FloatingPointFaults.h"
#include "sim/WorkerPool.h"

namespace velmora {
namespace {

TEST(WorkerPool, EveryPartRunsOnceAfterShortAndLongPauses) {
  const std::chrono::microseconds pauses[] = {std::chrono::microseconds{0}, 4 * WorkerPool::SpinTime};
  for (const int size : {2, 3}) {
    WorkerPool pool(size);
    std::vector<std::atomic<int>> runs(size);
    int tasks = 0;
    for (const auto pause : pauses)
      for (int task = 0; task < 100; ++task, ++tasks) {
        std::this_thread::sleep_for(pause);
        EXPECT_FALSE(pool.Run([&](int part) { ++runs[part]; }));
      }
    for (int part = 0; part < size; ++part) EXPECT_EQ(runs[part].load(), tasks) << "part " << part;
  }
}

TEST(WorkerPool, ReportsAFaultOfAWorkersPartOnlyForThatTask) {
  WorkerPool pool(2);
  volatile long double zero = 0.0L;
  EXPECT_TRUE(pool.Run([&](int part) {
    if (part == 1) std::log(zero);
  }));
  EXPECT_FALSE(pool.Run([](int) {}));
}

}  // namespace
}  // namespace velmora
