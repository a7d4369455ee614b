#include "sim/WorkerPool.h"

#include <algorithm>
#include <new>
#include <string>
#include <system_error>

#include "model/FloatingPointFaults.h"
#include "model/ProgramError.h"

namespace velmora {

namespace {

// A hint to the core that this thread is waiting, so that it spends less power and lets its
// sibling hyperthread run.
inline void Relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

WorkerPool::WorkerPool(int size) {
  std::string refusal;
  try {
    workers_.reserve(size > 1 ? size - 1 : 0);
    for (int part = 1; part < size; ++part) workers_.emplace_back([this, part] { WorkerLoop(part); });
    return;
  } catch (const std::system_error& refused) {
    refusal = refused.code().message();
  } catch (const std::bad_alloc&) {
    refusal = "not enough memory";
  }
  // The workers that did start wait on this pool's condition variables: they end before the pool.
  StopWorkers();
  throw ProgramError("cannot start " + std::to_string(size) + " threads for a step: " + refusal);
}

WorkerPool::~WorkerPool() { StopWorkers(); }

void WorkerPool::StopWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

// Every change that a sleeper waits for is made or published under the mutex before the
// notification, and every sleeper checks its condition under the mutex, so no wake-up is lost;
// the spinning phase only reads the atomics and never decides anything on its own.
template <class Done>
void WorkerPool::Await(std::condition_variable& wake, Done done) {
  const auto until = std::chrono::steady_clock::now() + SpinTime;
  for (int round = 1; !done(); ++round) {
    Relax();
    if (round % 64 == 0 && std::chrono::steady_clock::now() > until) {
      std::unique_lock lock(mutex_);
      wake.wait(lock, done);
      return;
    }
  }
}

bool WorkerPool::Run(const std::function<void(int)>& task) {
  if (workers_.empty()) {
    task(0);
    return false;
  }
  task_ = &task;
  faulted_.store(false, std::memory_order_relaxed);
  pending_.store(static_cast<int>(workers_.size()), std::memory_order_relaxed);
  {
    std::lock_guard lock(mutex_);
    generation_.fetch_add(1, std::memory_order_release);
  }
  start_.notify_all();
  task(0);
  Await(finished_, [this] { return pending_.load(std::memory_order_acquire) == 0; });
  task_ = nullptr;
  return faulted_.load(std::memory_order_relaxed);
}

void WorkerPool::WorkerLoop(int part) {
  std::uint64_t seen = 0;
  for (;;) {
    Await(start_, [&] {
      return stopping_.load(std::memory_order_acquire) || generation_.load(std::memory_order_acquire) != seen;
    });
    if (stopping_.load(std::memory_order_acquire)) return;
    seen = generation_.load(std::memory_order_acquire);
    ClearFaultFlags();
    (*task_)(part);
    if (FaultFlagged()) faulted_.store(true, std::memory_order_relaxed);
    if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      std::lock_guard lock(mutex_);
      finished_.notify_one();
    }
  }
}

int DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, MaxThreadCount));
}

}  // namespace velmora
