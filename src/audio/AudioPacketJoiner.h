#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pel {

// Joins the server's audio records (kinds 0 and 17) back into Jes packets. Owns a zeroed
// joining area of 20480 bytes; bytes are stored only while fewer than 6144 are joined (the
// rest of a longer packet is counted, not kept), so nothing is ever written past the area.
// Allocates only when made, so that a connection's stream of records costs no allocation.
class AudioPacketJoiner {
 public:
  static constexpr size_t kAreaBytes = 20480;
  static constexpr size_t kStoreLimit = 6144;

  enum class Step {
    kNone,       // nothing to do: a fragment joined, or a record that is not for us
    kPacket,     // the last fragment of a packet arrived: TakePacket
    kLogoutAck,  // the server acknowledged a logout
  };

  // Makes the zeroed area; Ready() tells whether there was memory for it.
  AudioPacketJoiner();
  bool Ready() const { return area_ != nullptr; }

  // Takes one received datagram of `received` bytes. A record's length byte over 64, or one
  // that goes past the bytes received, takes only the data bytes that are there.
  Step Add(const uint8_t* record, size_t received);

  // Hands out what was joined and starts a new packet. The payload of the joined Jes packet
  // when there was one and its header length and total length describe bytes inside what was
  // stored; false otherwise (the packet is dropped). The payload points into the joining area
  // and stays valid until the next Add.
  bool TakePacket(const uint8_t** payload, size_t* length);

  // Bytes counted for the packet being joined (stored or not).
  size_t Joined() const { return joined_; }

 private:
  std::unique_ptr<uint8_t[]> area_;
  size_t joined_ = 0;  // counted
  size_t stored_ = 0;  // kept in the area, from its start
};

}  // namespace pel
