// zeltra_vhid.sys: the HID minidriver of the virtual mouse's devices. The
// system's HID class driver sits on top of it; everything it asks (the
// descriptors, the reads, the feature transfers) and every plug-and-play
// request goes down to the bus driver's device below, which plays the mouse.
#include "ddk.h"

namespace {

DEVICE_OBJECT* Below(DEVICE_OBJECT* device) {
  return static_cast<HID_DEVICE_EXTENSION*>(device->DeviceExtension)->NextDeviceObject;
}

NTSTATUS NTAPI PassDown(DEVICE_OBJECT* device, IRP* irp) {
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(Below(device), irp);
}

NTSTATUS NTAPI PassDownPower(DEVICE_OBJECT* device, IRP* irp) {
  PoStartNextPowerIrp(irp);
  IoSkipCurrentIrpStackLocation(irp);
  return PoCallDriver(Below(device), irp);
}

NTSTATUS NTAPI AddDevice(DRIVER_OBJECT*, DEVICE_OBJECT* device) {
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

void NTAPI Unload(DRIVER_OBJECT*) {}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
  driver->MajorFunction[IRP_MJ_PNP] = PassDown;
  driver->MajorFunction[IRP_MJ_POWER] = PassDownPower;
  driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = PassDown;
  driver->DriverExtension->AddDevice = AddDevice;
  driver->DriverUnload = Unload;
  HID_MINIDRIVER_REGISTRATION registration{};
  registration.Revision = zeltra::winehid::kHidRevision;
  registration.DriverObject = driver;
  registration.RegistryPath = registryPath;
  registration.DeviceExtensionSize = 0;
  registration.DevicesArePolled = FALSE;
  return HidRegisterMinidriver(&registration);
}
