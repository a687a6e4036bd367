#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kvsim {

// The bytes each connection of one listener sent, one entry per connection in the order the
// connections were accepted (or each datagram of the UDP side, in the order they came).
// Connection threads append while control threads read or clear, so every access holds the one
// lock.
class RequestLog {
 public:
  using Entry = std::shared_ptr<std::string>;

  // A new, empty entry at the end of the log; the connection appends to it as bytes arrive.
  Entry open();
  // Appends to an entry; an entry that a clear() dropped still takes bytes, unseen.
  void append(const Entry& entry, std::string_view bytes);
  // A whole entry at once (one datagram).
  void add(std::string_view bytes);
  std::vector<std::string> snapshot() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace kvsim
