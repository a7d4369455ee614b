#pragma once
// A small pool of threads that lives as long as its owner: a step hands it one task, split into
// fixed parts, and waits for all parts. No thread is started per step.
// A step hands out two or three tasks in quick succession, so both sides of a hand-over first
// watch for the other briefly (SpinTime) and only then sleep: waking a sleeping thread costs
// tens of microseconds, far more than a task's imbalance usually is.
// Floating-point status flags belong to each thread: every worker clears its own before its
// part and reports whether its part raised a fault.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora {

class WorkerPool {
 public:
  // `size` parts run at once: the calling thread and size - 1 workers. size < 1 counts as 1.
  // When the system refuses a thread, the workers already started are stopped and joined, and
  // ProgramError says how many threads were asked for and why the system refused
  // ("cannot start 64 threads for a step: Resource temporarily unavailable").
  explicit WorkerPool(int size);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int Size() const { return static_cast<int>(workers_.size()) + 1; }

  // Runs task(part) for every part 0 .. Size() - 1, part 0 on the calling thread, and returns
  // when all are done. The result tells whether a worker's part flagged invalid operation,
  // division by zero or overflow; the calling thread's own flags stay in its status word.
  bool Run(const std::function<void(int part)>& task);

  // How long a thread watches for a hand-over before it sleeps.
  static constexpr std::chrono::microseconds SpinTime{50};

 private:
  void WorkerLoop(int part);
  void StopWorkers();
  // Spins up to SpinTime until done() holds, then sleeps on `wake` until it does.
  template <class Done>
  void Await(std::condition_variable& wake, Done done);

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable start_;
  std::condition_variable finished_;
  const std::function<void(int)>* task_ = nullptr;
  std::atomic<std::uint64_t> generation_ = 0;
  std::atomic<int> pending_ = 0;
  std::atomic<bool> faulted_ = false;
  std::atomic<bool> stopping_ = false;
};

// The most threads a step may have: a step shares out at most 100 slots, and far more threads
// than cores only wait for each other. The tools and the Python module refuse larger counts.
inline constexpr int MaxThreadCount = 256;

// The number of threads the program uses for a step by default: every core of the machine, at
// most MaxThreadCount.
int DefaultThreadCount();

}  // namespace velmora
