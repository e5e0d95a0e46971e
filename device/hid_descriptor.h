// Report lengths from a HID report descriptor, counted the way the Windows
// capability query counts them, so that every backend tells the interfaces
// of the mouse apart by the same numbers: for each kind of report, the
// longest report in bytes plus one byte for the report identifier (also when
// the descriptor uses no identifiers), 0 when there is no such report.
#pragma once

#include <cstdint>
#include <span>

namespace zeltra {

struct HidReportLengths {
  std::uint16_t input = 0;
  std::uint16_t output = 0;
  std::uint16_t feature = 0;
  // The descriptor ended inside an item; the items before it still count.
  bool truncated = false;
  friend bool operator==(const HidReportLengths&, const HidReportLengths&) = default;
};

// Any bytes are safe: items running past the end stop the parse, long items
// are skipped, sizes and counts saturate (a length never exceeds 65535), and
// a Push/Pop stack deeper than the parser keeps is cut, never overflowed.
HidReportLengths ParseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace zeltra
