#include "device/hid_descriptor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace zeltra {

namespace {

// Item prefixes: bits 0-1 data size (0, 1, 2 or 4 bytes), bits 2-3 type,
// bits 4-7 tag. 0xFE starts a long item.
constexpr std::uint8_t kLongItem = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTagInput = 0x8;
constexpr int kTagOutput = 0x9;
constexpr int kTagFeature = 0xB;
constexpr int kTagReportSize = 0x7;
constexpr int kTagReportId = 0x8;
constexpr int kTagReportCount = 0x9;
constexpr int kTagPush = 0xA;
constexpr int kTagPop = 0xB;

constexpr std::size_t kMaxPushDepth = 16;
// Bits of the longest length that can be told (65535 bytes with the identifier byte).
constexpr std::uint64_t kMaxBits = (0xFFFFull - 1) * 8;

struct Globals {
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
};

// Bits per report identifier, for input, output and feature reports.
using BitTable = std::array<std::array<std::uint64_t, 256>, 3>;

std::uint16_t LengthOf(const std::array<std::uint64_t, 256>& bits) {
  std::uint64_t longest = 0;
  bool any = false;
  for (std::uint64_t b : bits) {
    longest = std::max(longest, b);
    any = any || b > 0;
  }
  if (!any) return 0;
  return static_cast<std::uint16_t>((longest + 7) / 8 + 1);
}

}  // namespace

HidReportLengths ParseReportDescriptor(std::span<const std::uint8_t> d) {
  HidReportLengths result;
  BitTable bits{};
  Globals globals;
  std::vector<Globals> stack;

  std::size_t at = 0;
  while (at < d.size()) {
    const std::uint8_t prefix = d[at];
    if (prefix == kLongItem) {
      // 0xFE, data size, tag, data: nothing we count.
      if (d.size() - at < 3) {
        result.truncated = true;
        break;
      }
      const std::size_t length = d[at + 1];
      if (d.size() - at - 3 < length) {
        result.truncated = true;
        break;
      }
      at += 3 + length;
      continue;
    }
    static constexpr std::size_t kDataSize[] = {0, 1, 2, 4};
    const std::size_t size = kDataSize[prefix & 0x03];
    if (d.size() - at - 1 < size) {
      result.truncated = true;
      break;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(d[at + 1 + i]) << (8 * i);
    at += 1 + size;

    const int type = (prefix >> 2) & 0x03;
    const int tag = prefix >> 4;
    if (type == kTypeGlobal) {
      switch (tag) {
        case kTagReportSize: globals.reportSize = value; break;
        case kTagReportCount: globals.reportCount = value; break;
        case kTagReportId:
          // Identifiers are one byte; 0 is reserved and a larger value is no identifier.
          if (value >= 1 && value <= 255) globals.reportId = static_cast<std::uint8_t>(value);
          break;
        case kTagPush:
          if (stack.size() < kMaxPushDepth) stack.push_back(globals);
          break;
        case kTagPop:
          if (!stack.empty()) {
            globals = stack.back();
            stack.pop_back();
          }
          break;
        default: break;
      }
    } else if (type == kTypeMain && (tag == kTagInput || tag == kTagOutput || tag == kTagFeature)) {
      const std::size_t kind = tag == kTagInput ? 0 : tag == kTagOutput ? 1 : 2;
      // Both factors fit 32 bits, so their product fits 64.
      const std::uint64_t added = static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
      std::uint64_t& total = bits[kind][globals.reportId];
      total = std::min(kMaxBits, total + std::min(added, kMaxBits));
    }
  }
  result.input = LengthOf(bits[0]);
  result.output = LengthOf(bits[1]);
  result.feature = LengthOf(bits[2]);
  return result;
}

}  // namespace zeltra
