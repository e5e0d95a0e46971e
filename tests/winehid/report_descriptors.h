// What the virtual mouse's HID devices present, laid out as a gaming mouse
// and its receiver lay them out: per link one interface with several
// top-level collections, which Windows shows as one HID interface each (the
// pointer first, the vendor reports last). Wine 8's class driver shows a
// device as one interface whatever its collections, so the bus presents
// each collection as a device of its own; the system's view is the same.
#pragma once

#include <cstdint>
#include <span>

namespace zeltra::winehid {

enum class CollectionKind { Mouse, Keyboard, Consumer, VendorInput, VendorFeature };

struct CollectionSpec {
  CollectionKind kind;
  std::span<const std::uint8_t> descriptor;  // one top-level collection
};

// link 0: the mouse on its cable (mouse, consumer control, vendor input 5,
// vendor feature 0C); link 1: the receiver (the same with a keyboard).
std::span<const CollectionSpec> LinkCollections(int link);

// The report identifiers of the vendor collections.
inline constexpr std::uint8_t kVendorInputReportId = 0x05;
inline constexpr std::uint8_t kVendorFeatureReportId = 0x0C;

}  // namespace zeltra::winehid
