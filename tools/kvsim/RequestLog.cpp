#include "RequestLog.h"

namespace kvsim {

RequestLog::Entry RequestLog::open() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back(std::make_shared<std::string>());
  return entries_.back();
}

void RequestLog::append(const Entry& entry, std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  entry->append(bytes);
}

void RequestLog::add(std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back(std::make_shared<std::string>(bytes));
}

std::vector<std::string> RequestLog::snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> copy;
  copy.reserve(entries_.size());
  for (const Entry& entry : entries_) copy.push_back(*entry);
  return copy;
}

void RequestLog::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

}  // namespace kvsim
