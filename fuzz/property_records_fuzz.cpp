// The reader of the control's persisted stream block (the records a container hands back to
// IPersistStreamInit::Load). Whatever it accepts must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "../src/com/PropertyRecords.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto records = pel::com::DecodePropertyRecords(data, size);
  if (!records) return 0;
  const std::vector<uint8_t> again = pel::com::EncodePropertyRecords(*records);
  if (again != std::vector<uint8_t>(data, data + size)) __builtin_trap();
  return 0;
}
