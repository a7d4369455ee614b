#include "sim/WorkerPool.h"

#include "model/FloatingPointFaults.h"

namespace velmora {

WorkerPool::WorkerPool(int size) {
  for (int part = 1; part < size; ++part) workers_.emplace_back([this, part] { WorkerLoop(part); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool WorkerPool::Run(const std::function<void(int)>& task) {
  if (workers_.empty()) {
    task(0);
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    task_ = &task;
    pending_ = static_cast<int>(workers_.size());
    faulted_ = false;
    ++generation_;
  }
  start_.notify_all();
  task(0);
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return pending_ == 0; });
  task_ = nullptr;
  return faulted_;
}

void WorkerPool::WorkerLoop(int part) {
  std::uint64_t seen = 0;
  for (;;) {
    const std::function<void(int)>* task = nullptr;
    {
      std::unique_lock lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
      task = task_;
    }
    ClearFaultFlags();
    (*task)(part);
    const bool faulted = FaultFlagged();
    {
      std::lock_guard lock(mutex_);
      faulted_ = faulted_ || faulted;
      if (--pending_ == 0) finished_.notify_one();
    }
  }
}

int DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

}  // namespace velmora
