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

// The root bus's own device takes the control requests, under this name.
inline constexpr wchar_t kControlDevice[] = L"\\Device\\ZeltraVMouseBus";
inline constexpr wchar_t kControlLink[] = L"\\DosDevices\\ZeltraVMouseBus";
inline constexpr wchar_t kControlPath[] = L"\\\\.\\ZeltraVMouseBus";

// Buffered requests on the control device (FILE_DEVICE_UNKNOWN, any access).
// Command: in, one command line in UTF-8; out, why it was not done (UTF-8,
// empty when it was).
inline constexpr std::uint32_t kIoctlCommand = (0x22u << 16) | (0x800u << 2);
// Follow: in, the path (UTF-8) of a command file to follow from its start,
// after the mouse was brought back to how the driver starts it; out, as above.
inline constexpr std::uint32_t kIoctlFollow = (0x22u << 16) | (0x801u << 2);
// The longest command line or answer.
inline constexpr std::uint32_t kMaxControlText = 4096;

}  // namespace zeltra::winehid
