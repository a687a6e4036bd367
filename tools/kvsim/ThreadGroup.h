#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace kvsim {

// Threads that serve one connection each. Finished ones are joined whenever a new one starts,
// so a long-running listener does not pile up spent threads; joinAll() waits for the rest.
class ThreadGroup {
 public:
  ThreadGroup() = default;
  ~ThreadGroup() { joinAll(); }
  ThreadGroup(const ThreadGroup&) = delete;
  ThreadGroup& operator=(const ThreadGroup&) = delete;

  // Runs work on a new thread; false when limit threads are already running.
  bool start(std::function<void()> work, std::size_t limit);
  void joinAll();

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void reapFinished();

  std::mutex mutex_;
  std::list<Worker> workers_;
};

}  // namespace kvsim
