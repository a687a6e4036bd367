#include "ThreadGroup.h"

namespace kvsim {

void ThreadGroup::reapFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

bool ThreadGroup::start(std::function<void()> work, std::size_t limit) {
  std::lock_guard<std::mutex> lock(mutex_);
  reapFinished();
  if (workers_.size() >= limit) return false;
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([work = std::move(work), done] {
    work();
    done->store(true);
  });
  workers_.push_back(Worker{std::move(thread), std::move(done)});
  return true;
}

void ThreadGroup::joinAll() {
  std::list<Worker> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    all.swap(workers_);
  }
  for (Worker& worker : all) worker.thread.join();
}

}  // namespace kvsim
