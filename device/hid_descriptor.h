// Report lengths from a HID report descriptor, counted the way the Windows
// capability query counts them, so that every backend tells the interfaces
// of the mouse apart by the same numbers: for each kind of report, the
// longest report in bytes plus one byte for the report identifier (also when
// the descriptor uses no identifiers), 0 when there is no such report.
//
// Windows gives every top-level collection an interface of its own; Linux
// gives a whole USB interface one hidraw node, which may hold several. So a
// descriptor is also read collection by collection, with the identifiers of
// the reports each carries.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zeltra {

struct HidReportLengths {
  std::uint16_t input = 0;
  std::uint16_t output = 0;
  std::uint16_t feature = 0;
  // The descriptor ended inside an item; the items before it still count.
  bool truncated = false;
  friend bool operator==(const HidReportLengths&, const HidReportLengths&) = default;
};

// One top-level collection. Reports outside every collection (a malformed
// descriptor) form one of their own, with usage page and usage 0.
struct HidCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  // The lengths Windows shows for this collection's interface.
  HidReportLengths lengths;
  // Identifiers of its input and feature reports, ascending; 0 stands for
  // the reports of a descriptor that uses no identifiers.
  std::vector<std::uint8_t> inputIds;
  std::vector<std::uint8_t> featureIds;
  friend bool operator==(const HidCollection&, const HidCollection&) = default;
};

struct HidDescriptor {
  std::vector<HidCollection> collections;  // in descriptor order, at most kMaxHidCollections
  HidReportLengths whole;                  // over all collections, as ParseReportDescriptor
};

inline constexpr std::size_t kMaxHidCollections = 64;

// Any bytes are safe: items running past the end stop the parse, long items
// are skipped, sizes and counts saturate (a length never exceeds 65535), and
// a Push/Pop stack deeper than the parser keeps is cut, never overflowed.
// Collections beyond kMaxHidCollections count towards the whole only.
HidDescriptor ParseHidDescriptor(std::span<const std::uint8_t> descriptor);
HidReportLengths ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

// The lengths that tell the mouse's interfaces apart, for a descriptor that
// may hold several collections: the input length of the collection that
// carries input report `inputId`, and the feature length of the one that
// carries feature report `featureId` (0 where none does), as Windows would
// show those collections. A descriptor without identifiers has one report
// of each kind: its whole lengths.
HidReportLengths LengthsForReports(const HidDescriptor& descriptor, std::uint8_t inputId, std::uint8_t featureId);

}  // namespace zeltra
