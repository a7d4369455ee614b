// The pool hands every task to every part exactly once, whether its threads are still watching
// for the next task or have gone to sleep, and reports a fault raised on a worker's part.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"
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

// In a child process: a pool of 200 under a memory limit as `ulimit -v` sets it. Ends with 3 and
// the error's text when the pool refuses, with 0 when it starts.
[[noreturn]] void StartPoolUnderALimit() {
  const rlimit limit{100'000'000, 100'000'000};
  ::setrlimit(RLIMIT_AS, &limit);
  try {
    WorkerPool pool(200);
  } catch (const ProgramError& error) {
    std::fputs(error.what(), stderr);
    std::_Exit(3);
  }
  std::_Exit(0);
}

// Threads the system refuses end the pool's construction with the count and the reason: the
// workers that started are joined, nothing aborts or hangs.
TEST(WorkerPool, ThreadsTheSystemRefusesAreReportedAndTheStartedOnesJoined) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(StartPoolUnderALimit(), ::testing::ExitedWithCode(3),
              "^cannot start 200 threads for a step: Resource temporarily unavailable$");
}

}  // namespace
}  // namespace velmora
