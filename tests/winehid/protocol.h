// What the virtual mouse's drivers and the programs that install and steer
// them share: names, identifiers and the control requests. No system header,
// so both sides (the drivers and user mode) include it.
#pragma once

#include <cstdint>

namespace zeltra::winehid {

// The root-enumerated bus device that the bus driver serves, and the
// identifiers of the two HID devices it creates under it.
inline constexpr wchar_t kBusInstanceId[] = L"ROOT\\ZELTRAVBUS\\0000";
inline constexpr wchar_t kBusHardwareId[] = L"ZELTRA\\VBUS";
inline constexpr wchar_t kHidCompatibleId[] = L"ZELTRA\\VHID";
inline constexpr wchar_t kBusService[] = L"zeltra_vbus";
inline constexpr wchar_t kHidService[] = L"zeltra_vhid";
inline constexpr wchar_t kBusDriverFile[] = L"zeltra_vbus.sys";
inline constexpr wchar_t kHidDriverFile[] = L"zeltra_vhid.sys";
inline constexpr wchar_t kInfFile[] = L"zeltra_vmouse.inf";

// The bus device's control interface: {5e0c3d8a-7b41-4c2e-9a6f-1d2b3c4e5f60}.
struct InterfaceGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};
inline constexpr InterfaceGuid kControlInterface = {
    0x5e0c3d8a, 0x7b41, 0x4c2e, {0x9a, 0x6f, 0x1d, 0x2b, 0x3c, 0x4e, 0x5f, 0x60}};

// Buffered requests on the control interface (FILE_DEVICE_UNKNOWN, any access).
// Command: in, one command line in UTF-8; out, why it was not done (UTF-8,
// empty when it was).
inline constexpr std::uint32_t kIoctlCommand = (0x22u << 16) | (0x800u << 2);
// Follow: in, the path (UTF-8) of a command file to follow from its start,
// after the mouse was brought back to how the driver starts it; out, as above.
inline constexpr std::uint32_t kIoctlFollow = (0x22u << 16) | (0x801u << 2);
// The longest command line or answer.
inline constexpr std::uint32_t kMaxControlText = 4096;

}  // namespace zeltra::winehid
