// The driver kit's headers as the two drivers here need them, and the few
// hidport.h definitions they use: MinGW ships no hidport.h, so these follow
// Microsoft's documentation of the HID minidriver interface.
#pragma once

// wdm.h defines its own inline InterlockedBitTestAndSet/Reset, which C++
// rejects next to intrin.h's: those two get other names while it is read.
#include <intrin.h>
#define InterlockedBitTestAndSet ZeltraWdmInterlockedBitTestAndSet
#define InterlockedBitTestAndReset ZeltraWdmInterlockedBitTestAndReset
extern "C" {
#include <ntddk.h>
}
#undef InterlockedBitTestAndSet
#undef InterlockedBitTestAndReset

#include <cstdint>

extern "C" {

// ---- hidport.h ----

struct HID_MINIDRIVER_REGISTRATION {
  ULONG Revision;
  PDRIVER_OBJECT DriverObject;
  PUNICODE_STRING RegistryPath;
  ULONG DeviceExtensionSize;
  BOOLEAN DevicesArePolled;
  UCHAR Reserved[3];
};

// What the HID class driver keeps in each of its functional device objects;
// the minidriver's own extension follows at MiniDeviceExtension.
struct HID_DEVICE_EXTENSION {
  PDEVICE_OBJECT PhysicalDeviceObject;
  PDEVICE_OBJECT NextDeviceObject;
  PVOID MiniDeviceExtension;
};

#pragma pack(push, 1)
struct HID_DESCRIPTOR {
  UCHAR bLength;
  UCHAR bDescriptorType;
  USHORT bcdHID;
  UCHAR bCountry;
  UCHAR bNumDescriptors;
  struct {
    UCHAR bReportType;
    USHORT wReportLength;
  } DescriptorList[1];
};
#pragma pack(pop)

struct HID_DEVICE_ATTRIBUTES {
  ULONG Size;
  USHORT VendorID;
  USHORT ProductID;
  USHORT VersionNumber;
  USHORT Reserved[11];
};

// The buffer of a feature or output transfer (hidclass.h).
struct ZELTRA_HID_XFER_PACKET {
  PUCHAR reportBuffer;
  ULONG reportBufferLen;
  UCHAR reportId;
};

NTSTATUS NTAPI HidRegisterMinidriver(HID_MINIDRIVER_REGISTRATION* registration);

}  // extern "C"

namespace zeltra::winehid {

inline constexpr ULONG kHidRevision = 1;
inline constexpr UCHAR kHidDescriptorType = 0x21;
inline constexpr UCHAR kReportDescriptorType = 0x22;

constexpr ULONG ControlCode(ULONG deviceType, ULONG function, ULONG method) {
  return (deviceType << 16) | (function << 2) | method;
}

// The HID class driver's requests to its minidriver (internal device
// control). The transfers of reports keep the codes user mode sends.
inline constexpr ULONG kIoctlHidGetDeviceDescriptor = ControlCode(FILE_DEVICE_KEYBOARD, 0, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidGetReportDescriptor = ControlCode(FILE_DEVICE_KEYBOARD, 1, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidReadReport = ControlCode(FILE_DEVICE_KEYBOARD, 2, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidGetString = ControlCode(FILE_DEVICE_KEYBOARD, 4, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidActivateDevice = ControlCode(FILE_DEVICE_KEYBOARD, 7, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidDeactivateDevice = ControlCode(FILE_DEVICE_KEYBOARD, 8, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidGetDeviceAttributes = ControlCode(FILE_DEVICE_KEYBOARD, 9, METHOD_NEITHER);
inline constexpr ULONG kIoctlHidGetFeature = ControlCode(FILE_DEVICE_KEYBOARD, 100, METHOD_OUT_DIRECT);
inline constexpr ULONG kIoctlHidSetFeature = ControlCode(FILE_DEVICE_KEYBOARD, 100, METHOD_IN_DIRECT);

}  // namespace zeltra::winehid
