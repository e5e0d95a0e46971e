#include "device/hid_descriptor.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace zeltra {

namespace {

// Item prefixes: bits 0-1 data size (0, 1, 2 or 4 bytes), bits 2-3 type,
// bits 4-7 tag. 0xFE starts a long item.
constexpr std::uint8_t kLongItem = 0xFE;
constexpr int kTypeMain = 0;
constexpr int kTypeGlobal = 1;
constexpr int kTypeLocal = 2;
constexpr int kTagInput = 0x8;
constexpr int kTagOutput = 0x9;
constexpr int kTagCollection = 0xA;
constexpr int kTagFeature = 0xB;
constexpr int kTagEndCollection = 0xC;
constexpr int kTagUsagePage = 0x0;
constexpr int kTagReportSize = 0x7;
constexpr int kTagReportId = 0x8;
constexpr int kTagReportCount = 0x9;
constexpr int kTagPush = 0xA;
constexpr int kTagPop = 0xB;
constexpr int kTagUsage = 0x0;

constexpr std::size_t kMaxPushDepth = 16;
// Bits of the longest length that can be told (65535 bytes with the identifier byte).
constexpr std::uint64_t kMaxBits = (0xFFFFull - 1) * 8;

constexpr std::size_t kInput = 0;
constexpr std::size_t kOutput = 1;
constexpr std::size_t kFeature = 2;

struct Globals {
  std::uint32_t reportSize = 0;
  std::uint32_t reportCount = 0;
  std::uint8_t reportId = 0;
  std::uint16_t usagePage = 0;
};

// Per kind of report and identifier: its bits, and the collection that
// carries it (the first one to declare it; -1 none).
struct ReportTable {
  std::array<std::array<std::uint64_t, 256>, 3> bits{};
  std::array<std::array<int, 256>, 3> owner;
  ReportTable() {
    for (auto& kind : owner) kind.fill(-1);
  }
};

std::uint16_t LengthOfBits(std::uint64_t bits) { return bits ? static_cast<std::uint16_t>((bits + 7) / 8 + 1) : 0; }

// The longest report of a kind, among those `collection` carries (-2: all).
std::uint16_t Longest(const ReportTable& table, std::size_t kind, int collection) {
  std::uint64_t longest = 0;
  for (std::size_t id = 0; id < 256; ++id)
    if (collection == -2 || table.owner[kind][id] == collection) longest = std::max(longest, table.bits[kind][id]);
  return LengthOfBits(longest);
}

}  // namespace

HidDescriptor ParseHidDescriptor(std::span<const std::uint8_t> d) {
  HidDescriptor result;
  ReportTable table;
  Globals globals;
  std::vector<Globals> stack;
  std::size_t depth = 0;
  int current = -1;  // the top-level collection items now belong to
  int loose = -1;    // the collection of reports outside every collection
  bool haveUsage = false;
  std::uint32_t usage = 0;
  bool extendedUsage = false;
  bool truncated = false;

  auto openCollection = [&](std::uint16_t page, std::uint16_t id) -> int {
    if (result.collections.size() >= kMaxHidCollections) return -1;
    result.collections.push_back({page, id, {}, {}, {}});
    return static_cast<int>(result.collections.size()) - 1;
  };

  std::size_t at = 0;
  while (at < d.size()) {
    const std::uint8_t prefix = d[at];
    if (prefix == kLongItem) {
      // 0xFE, data size, tag, data: nothing we count.
      if (d.size() - at < 3 || d.size() - at - 3 < d[at + 1]) {
        truncated = true;
        break;
      }
      at += 3 + static_cast<std::size_t>(d[at + 1]);
      continue;
    }
    static constexpr std::size_t kDataSize[] = {0, 1, 2, 4};
    const std::size_t size = kDataSize[prefix & 0x03];
    if (d.size() - at - 1 < size) {
      truncated = true;
      break;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(d[at + 1 + i]) << (8 * i);
    at += 1 + size;

    const int type = (prefix >> 2) & 0x03;
    const int tag = prefix >> 4;
    if (type == kTypeGlobal) {
      switch (tag) {
        case kTagUsagePage: globals.usagePage = static_cast<std::uint16_t>(value); break;
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
    } else if (type == kTypeLocal) {
      // The first usage before a main item names what it opens.
      if (tag == kTagUsage && !haveUsage) {
        haveUsage = true;
        usage = value;
        extendedUsage = size == 4;
      }
    } else if (type == kTypeMain) {
      if (tag == kTagCollection) {
        if (depth == 0) {
          const auto page = extendedUsage ? static_cast<std::uint16_t>(usage >> 16) : globals.usagePage;
          current = openCollection(page, static_cast<std::uint16_t>(haveUsage ? usage & 0xFFFF : 0));
        }
        depth = std::min<std::size_t>(depth + 1, 0xFFFF);
      } else if (tag == kTagEndCollection) {
        if (depth > 0 && --depth == 0) current = -1;
      } else if (tag == kTagInput || tag == kTagOutput || tag == kTagFeature) {
        const std::size_t kind = tag == kTagInput ? kInput : tag == kTagOutput ? kOutput : kFeature;
        // Both factors fit 32 bits, so their product fits 64.
        const std::uint64_t added = static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
        std::uint64_t& total = table.bits[kind][globals.reportId];
        total = std::min(kMaxBits, total + std::min(added, kMaxBits));
        int owner = current;
        if (depth == 0) {
          if (loose < 0) loose = openCollection(0, 0);
          owner = loose;
        }
        int& known = table.owner[kind][globals.reportId];
        if (known < 0) known = owner;
      }
      haveUsage = false;
      extendedUsage = false;
    }
  }

  result.whole = {Longest(table, kInput, -2), Longest(table, kOutput, -2), Longest(table, kFeature, -2), truncated};
  for (std::size_t c = 0; c < result.collections.size(); ++c) {
    HidCollection& collection = result.collections[c];
    const int index = static_cast<int>(c);
    collection.lengths = {Longest(table, kInput, index), Longest(table, kOutput, index),
                          Longest(table, kFeature, index), false};
    for (std::size_t id = 0; id < 256; ++id) {
      if (table.owner[kInput][id] == index && table.bits[kInput][id] > 0)
        collection.inputIds.push_back(static_cast<std::uint8_t>(id));
      if (table.owner[kFeature][id] == index && table.bits[kFeature][id] > 0)
        collection.featureIds.push_back(static_cast<std::uint8_t>(id));
    }
  }
  return result;
}

HidReportLengths ParseReportDescriptor(std::span<const std::uint8_t> descriptor) {
  return ParseHidDescriptor(descriptor).whole;
}

HidReportLengths LengthsForReports(const HidDescriptor& descriptor, std::uint8_t inputId, std::uint8_t featureId) {
  bool numbered = false;
  for (const HidCollection& c : descriptor.collections) {
    auto named = [](const std::vector<std::uint8_t>& ids) { return !ids.empty() && ids.back() != 0; };
    numbered = numbered || named(c.inputIds) || named(c.featureIds);
  }
  if (!numbered) return descriptor.whole;
  HidReportLengths out;
  out.truncated = descriptor.whole.truncated;
  for (const HidCollection& c : descriptor.collections) {
    auto carries = [](const std::vector<std::uint8_t>& ids, std::uint8_t id) {
      return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    if (!out.input && carries(c.inputIds, inputId)) out.input = c.lengths.input;
    if (!out.feature && carries(c.featureIds, featureId)) out.feature = c.lengths.feature;
  }
  return out;
}

}  // namespace zeltra
