// Report-descriptor parser: any bytes are read within their bounds, give the
// same lengths every time, a complete part of a descriptor never counts
// longer reports than the whole, and no collection longer ones than the whole.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/hid_descriptor.h"

using namespace zeltra;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const HidReportLengths lengths = ParseReportDescriptor(bytes);
  Check(ParseReportDescriptor(bytes) == lengths);
  const HidDescriptor descriptor = ParseHidDescriptor(bytes);
  Check(descriptor.whole == lengths && descriptor.collections.size() <= kMaxHidCollections);
  for (const HidCollection& c : descriptor.collections) {
    Check(c.lengths.input <= lengths.input && c.lengths.output <= lengths.output && c.lengths.feature <= lengths.feature);
    Check(std::is_sorted(c.inputIds.begin(), c.inputIds.end()) && std::is_sorted(c.featureIds.begin(), c.featureIds.end()));
  }
  const HidReportLengths mouse = LengthsForReports(descriptor, 5, 0x0C);
  Check(mouse.input <= lengths.input && mouse.feature <= lengths.feature);
  // A report that exists has its identifier byte and at least one more.
  for (std::uint16_t length : {lengths.input, lengths.output, lengths.feature}) Check(length != 1);
  // Cutting the descriptor short only ever loses reports or marks it truncated.
  for (std::size_t cut = 0; cut < size && cut < 64; ++cut) {
    const HidReportLengths part = ParseReportDescriptor(bytes.first(cut));
    if (!part.truncated) {
      Check(part.input <= lengths.input && part.output <= lengths.output && part.feature <= lengths.feature);
    }
  }
  return 0;
}
