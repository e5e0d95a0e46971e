// zeltra_vbus.sys: a bus driver on a root-enumerated device that presents
// the mouse's cable and its receiver as HID devices, one per top-level
// collection (report_descriptors.h says why), served by zeltra_vhid.sys
// under the system's HID class driver, and plays both with the virtual mouse. Plugging and unplugging a link goes through the PnP
// manager, so the system sends its own arrival and removal broadcasts.
//
// Wine runs drivers in a user-mode host process, which is what lets this one
// link the program's C++ model of the mouse; it is test infrastructure and
// never loads on Windows.
#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "bus_mouse.h"
#include "ddk.h"
#include "driver_start.h"
#include "protocol.h"
#include "report_descriptors.h"

namespace zeltra::winehid {

namespace {

constexpr USHORT kVendorId = 0x248A;
constexpr USHORT kProductIds[kLinkCount] = {0x5B2E, 0x5B2F};
constexpr const wchar_t* kLinkNames[kLinkCount] = {L"cable", L"receiver"};
// Input reports kept for a reader that is late, as the class driver's own
// ring buffer keeps them.
constexpr std::size_t kQueuedReports = 32;

enum class Role { Bus, Link };

// IRPs parked until something completes them; each can be cancelled.
class IrpQueue {
 public:
  // STATUS_PENDING, or STATUS_CANCELLED when the IRP was cancelled already.
  NTSTATUS Park(IRP* irp) {
    std::lock_guard lock(mutex_);
    irp->Tail.Overlay.DriverContext[0] = this;
    IoSetCancelRoutine(irp, &IrpQueue::Cancel);
    if (irp->Cancel && IoSetCancelRoutine(irp, nullptr)) return STATUS_CANCELLED;
    IoMarkIrpPending(irp);
    irps_.push_back(irp);
    return STATUS_PENDING;
  }

  // The oldest parked IRP that is not being cancelled, or nothing.
  IRP* Take() {
    std::lock_guard lock(mutex_);
    while (!irps_.empty()) {
      IRP* irp = irps_.front();
      irps_.pop_front();
      // A cancel routine already under way completes the IRP itself.
      if (IoSetCancelRoutine(irp, nullptr)) return irp;
    }
    return nullptr;
  }

 private:
  static void NTAPI Cancel(DEVICE_OBJECT*, IRP* irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    auto* self = static_cast<IrpQueue*>(irp->Tail.Overlay.DriverContext[0]);
    {
      std::lock_guard lock(self->mutex_);
      std::erase(self->irps_, irp);
    }
    irp->IoStatus.Status = STATUS_CANCELLED;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
  }

  std::mutex mutex_;
  std::deque<IRP*> irps_;
};

NTSTATUS Complete(IRP* irp, NTSTATUS status, ULONG_PTR information = 0) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

// A copy in pool memory, which the PnP manager frees: a multi-string when
// `terminate` (one more terminating zero).
wchar_t* PoolString(const std::wstring& text, bool multi) {
  const std::size_t units = text.size() + (multi ? 2 : 1);
  auto* copy = static_cast<wchar_t*>(ExAllocatePool(PagedPool, units * sizeof(wchar_t)));
  if (!copy) return nullptr;
  std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (multi) copy[units - 1] = 0;
  return copy;
}

std::wstring Hex4(USHORT value) {
  wchar_t text[5];
  for (int i = 0; i < 4; ++i) text[i] = L"0123456789ABCDEF"[(value >> (12 - 4 * i)) & 0xF];
  text[4] = 0;
  return text;
}

// One collection of a link (a physical device object of the bus).
struct LinkDevice {
  Role role = Role::Link;
  DEVICE_OBJECT* self = nullptr;
  int link = 0;
  int collection = 0;  // position in LinkCollections(link)
  CollectionKind kind = CollectionKind::Mouse;
  std::shared_ptr<LinkPort> port;  // shared by the link's collections
  std::thread pump;
  std::vector<std::thread> stalled;  // transfers completed late

  std::mutex mutex;
  bool gone = false;      // unplugged or removed: reads and transfers fail
  bool reported = true;   // still among the bus's children
  std::deque<std::vector<std::uint8_t>> reports;
  IrpQueue reads;

  std::wstring DeviceId() const {
    return L"ZELTRA\\VID_" + Hex4(kVendorId) + L"&PID_" + Hex4(kProductIds[link]);
  }
  // Unique per collection, and the same at every plug, as a USB port keeps it.
  std::wstring InstanceId() const {
    return std::wstring(kLinkNames[link]) + L"&col0" + std::to_wstring(collection + 1);
  }

  void FailReads() {
    {
      std::lock_guard lock(mutex);
      gone = true;
      reports.clear();
    }
    while (IRP* irp = reads.Take()) Complete(irp, STATUS_DELETE_PENDING);
  }

  // The pump thread of the vendor input collection: every input report the
  // mouse sends on this link.
  void Pump() {
    std::array<std::uint8_t, 64> buffer{};
    for (;;) {
      const long got = port->Read(buffer);
      if (got < 0) return;
      std::vector<std::uint8_t> report(buffer.begin(), buffer.begin() + got);
      IRP* irp = nullptr;
      {
        std::lock_guard lock(mutex);
        if (gone) return;
        irp = reads.Take();
        if (!irp) {
          if (reports.size() == kQueuedReports) reports.pop_front();
          reports.push_back(std::move(report));
          continue;
        }
      }
      Deliver(irp, report);
    }
  }

  static void Deliver(IRP* irp, const std::vector<std::uint8_t>& report) {
    const ULONG room = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
    const ULONG length = std::min<ULONG>(room, static_cast<ULONG>(report.size()));
    std::memcpy(irp->UserBuffer, report.data(), length);
    Complete(irp, STATUS_SUCCESS, length);
  }

  NTSTATUS ReadReport(IRP* irp) {
    std::vector<std::uint8_t> report;
    {
      std::lock_guard lock(mutex);
      if (gone) return Complete(irp, STATUS_DELETE_PENDING);
      if (reports.empty()) {
        const NTSTATUS parked = reads.Park(irp);
        if (parked != STATUS_PENDING) return Complete(irp, parked);
        return STATUS_PENDING;
      }
      report = std::move(reports.front());
      reports.pop_front();
    }
    Deliver(irp, report);
    return STATUS_SUCCESS;
  }

  bool Gone() {
    std::lock_guard lock(mutex);
    return gone;
  }

  // A feature transfer; a stalled one completes on a thread of its own later.
  NTSTATUS Feature(IRP* irp, bool set, int stallMs) {
    auto* packet = static_cast<ZELTRA_HID_XFER_PACKET*>(irp->UserBuffer);
    if (!packet || !packet->reportBuffer || packet->reportId != kVendorFeatureReportId)
      return Complete(irp, STATUS_INVALID_PARAMETER);
    if (Gone()) return Complete(irp, STATUS_DELETE_PENDING);
    const auto transfer = [port = port, packet, irp, set] {
      const std::size_t length = packet->reportBufferLen;
      if (set) {
        const bool ok = port->SetFeature({packet->reportBuffer, length});
        return Complete(irp, ok ? STATUS_SUCCESS : STATUS_UNSUCCESSFUL, ok ? length : 0);
      }
      const long got = port->GetFeature({packet->reportBuffer, length});
      return Complete(irp, got < 0 ? STATUS_UNSUCCESSFUL : STATUS_SUCCESS, got < 0 ? 0 : static_cast<ULONG_PTR>(got));
    };
    if (stallMs <= 0) return transfer();
    IoMarkIrpPending(irp);
    std::lock_guard lock(mutex);
    stalled.emplace_back([transfer, stallMs] {
      std::this_thread::sleep_for(std::chrono::milliseconds(stallMs));
      transfer();
    });
    return STATUS_PENDING;
  }

  // Waits for the threads that use the link; then it may be deleted.
  void Stop() {
    FailReads();
    if (port && pump.joinable()) port->CancelRead();
    if (pump.joinable()) pump.join();
    for (std::thread& t : stalled) t.join();
    stalled.clear();
  }
};

// The bus's functional device object on the root-enumerated device.
struct BusDevice {
  Role role = Role::Bus;
  DEVICE_OBJECT* self = nullptr;
  DEVICE_OBJECT* rootPdo = nullptr;
  DEVICE_OBJECT* lower = nullptr;
  UNICODE_STRING controlInterface{};
};

Role RoleOf(DEVICE_OBJECT* device) { return *static_cast<Role*>(device->DeviceExtension); }
LinkDevice& LinkOf(DEVICE_OBJECT* device) { return *static_cast<LinkDevice*>(device->DeviceExtension); }
BusDevice& BusOf(DEVICE_OBJECT* device) { return *static_cast<BusDevice*>(device->DeviceExtension); }

// The driver's one bus and the mouse behind it.
struct Bus {
  DRIVER_OBJECT* driver = nullptr;
  std::unique_ptr<BusMouse> mouse;
  std::recursive_mutex topology;  // one change of the children at a time
  std::mutex mutex;               // the fields below
  DEVICE_OBJECT* fdo = nullptr;
  bool started = false;
  std::array<std::vector<DEVICE_OBJECT*>, kLinkCount> children;
  unsigned created = 0;
};

Bus* gBus = nullptr;

DEVICE_OBJECT* CreateLinkDevice(int link, int collection, std::shared_ptr<LinkPort> port) {
  const std::wstring name = L"\\Device\\ZeltraVMouse" + std::to_wstring(++gBus->created);
  UNICODE_STRING unicodeName;
  RtlInitUnicodeString(&unicodeName, name.c_str());
  DEVICE_OBJECT* pdo = nullptr;
  if (!NT_SUCCESS(IoCreateDevice(gBus->driver, sizeof(LinkDevice), &unicodeName, FILE_DEVICE_UNKNOWN,
                                 FILE_DEVICE_SECURE_OPEN, FALSE, &pdo)))
    return nullptr;
  auto* device = new (pdo->DeviceExtension) LinkDevice();
  device->self = pdo;
  device->link = link;
  device->collection = collection;
  device->kind = LinkCollections(link)[static_cast<std::size_t>(collection)].kind;
  device->port = std::move(port);
  if (device->kind == CollectionKind::VendorInput) device->pump = std::thread([device] { device->Pump(); });
  pdo->Flags &= ~DO_DEVICE_INITIALIZING;
  return pdo;
}

void DeleteLinkDevice(DEVICE_OBJECT* pdo) {
  LinkDevice& device = LinkOf(pdo);
  device.Stop();
  device.~LinkDevice();
  IoDeleteDevice(pdo);
}

// Makes the bus's children follow the mouse's plugs; the PnP manager then
// starts the new ones and removes the ones that went.
void Reconcile() {
  std::lock_guard topology(gBus->topology);
  bool changed = false;
  for (int link = 0; link < kLinkCount; ++link) {
    const bool plugged = gBus->mouse->Plugged(link);
    std::vector<DEVICE_OBJECT*> current;
    {
      std::lock_guard lock(gBus->mutex);
      current = gBus->children[static_cast<std::size_t>(link)];
    }
    if (plugged && current.empty()) {
      std::shared_ptr<LinkPort> port = gBus->mouse->Open(link);
      if (!port) continue;
      std::vector<DEVICE_OBJECT*> created;
      for (int c = 0; c < static_cast<int>(LinkCollections(link).size()); ++c)
        if (DEVICE_OBJECT* pdo = CreateLinkDevice(link, c, port)) created.push_back(pdo);
      std::lock_guard lock(gBus->mutex);
      gBus->children[static_cast<std::size_t>(link)] = std::move(created);
      changed = true;
    } else if (!plugged && !current.empty()) {
      {
        std::lock_guard lock(gBus->mutex);
        gBus->children[static_cast<std::size_t>(link)].clear();
      }
      for (DEVICE_OBJECT* pdo : current) {
        LinkDevice& device = LinkOf(pdo);
        {
          std::lock_guard lock(device.mutex);
          device.reported = false;
        }
        device.FailReads();
      }
      changed = true;
    }
  }
  DEVICE_OBJECT* rootPdo = nullptr;
  {
    std::lock_guard lock(gBus->mutex);
    if (gBus->fdo && gBus->started) rootPdo = BusOf(gBus->fdo).rootPdo;
  }
  if (changed && rootPdo) IoInvalidateDeviceRelations(rootPdo, BusRelations);
}

// ---- The link devices ----

NTSTATUS LinkQueryId(LinkDevice& device, IRP* irp, BUS_QUERY_ID_TYPE type) {
  std::wstring text;
  bool multi = false;
  switch (type) {
    case BusQueryDeviceID:
      text = device.DeviceId();
      break;
    case BusQueryHardwareIDs:
      text = device.DeviceId();
      multi = true;
      break;
    case BusQueryCompatibleIDs:
      text = kHidCompatibleId;
      multi = true;
      break;
    case BusQueryInstanceID:
      text = device.InstanceId();
      break;
    default:
      return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
  }
  wchar_t* copy = PoolString(text, multi);
  if (!copy) return Complete(irp, STATUS_NO_MEMORY);
  return Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(copy));
}

NTSTATUS LinkPnp(DEVICE_OBJECT* pdo, IRP* irp) {
  LinkDevice& device = LinkOf(pdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE: {
      std::lock_guard lock(device.mutex);
      device.gone = !device.reported;
      return Complete(irp, STATUS_SUCCESS);
    }
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE:
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_SURPRISE_REMOVAL:
      device.FailReads();
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_REMOVE_DEVICE: {
      device.FailReads();
      bool reported;
      {
        std::lock_guard lock(device.mutex);
        reported = device.reported;
      }
      Complete(irp, STATUS_SUCCESS);
      // A device still plugged stays (it may be started again); one that
      // was unplugged is gone for good.
      if (!reported) DeleteLinkDevice(pdo);
      return STATUS_SUCCESS;
    }
    case IRP_MN_QUERY_ID:
      return LinkQueryId(device, irp, stack->Parameters.QueryId.IdType);
    case IRP_MN_QUERY_CAPABILITIES: {
      DEVICE_CAPABILITIES* caps = stack->Parameters.DeviceCapabilities.Capabilities;
      caps->Removable = TRUE;
      caps->SurpriseRemovalOK = TRUE;
      caps->SilentInstall = TRUE;
      caps->UniqueID = TRUE;
      return Complete(irp, STATUS_SUCCESS);
    }
    case IRP_MN_QUERY_DEVICE_TEXT: {
      const std::wstring text = std::wstring(L"Zeltra virtual mouse (") + kLinkNames[device.link] + L")";
      wchar_t* copy = PoolString(text, false);
      return copy ? Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(copy)) : Complete(irp, STATUS_NO_MEMORY);
    }
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == TargetDeviceRelation) {
        auto* relations = static_cast<DEVICE_RELATIONS*>(ExAllocatePool(PagedPool, sizeof(DEVICE_RELATIONS)));
        if (!relations) return Complete(irp, STATUS_NO_MEMORY);
        ObReferenceObject(pdo);
        relations->Count = 1;
        relations->Objects[0] = pdo;
        return Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(relations));
      }
      return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
    default:
      return Complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
  }
}

NTSTATUS LinkString(LinkDevice& device, IRP* irp, ULONG_PTR which) {
  std::wstring text;
  switch (which & 0xFFFF) {
    case 1: text = L"Zeltra tests"; break;  // manufacturer
    case 2: text = std::wstring(L"Virtual mouse (") + kLinkNames[device.link] + L")"; break;
    case 3: text = L"0001"; break;  // serial number
    default: return Complete(irp, STATUS_INVALID_PARAMETER);
  }
  const ULONG room = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
  const ULONG size = static_cast<ULONG>((text.size() + 1) * sizeof(wchar_t));
  if (room < size) return Complete(irp, STATUS_BUFFER_TOO_SMALL);
  std::memcpy(irp->UserBuffer, text.c_str(), size);
  return Complete(irp, STATUS_SUCCESS, size);
}

// What the HID minidriver above passes down from the HID class driver.
NTSTATUS LinkInternalControl(DEVICE_OBJECT* pdo, IRP* irp) {
  LinkDevice& device = LinkOf(pdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  const ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength;
  const std::span<const std::uint8_t> descriptor =
      LinkCollections(device.link)[static_cast<std::size_t>(device.collection)].descriptor;
  if (code == kIoctlHidGetDeviceDescriptor) {
    if (room < sizeof(HID_DESCRIPTOR)) return Complete(irp, STATUS_BUFFER_TOO_SMALL);
    HID_DESCRIPTOR hid{};
    hid.bLength = sizeof hid;
    hid.bDescriptorType = kHidDescriptorType;
    hid.bcdHID = 0x0111;
    hid.bNumDescriptors = 1;
    hid.DescriptorList[0].bReportType = kReportDescriptorType;
    hid.DescriptorList[0].wReportLength = static_cast<USHORT>(descriptor.size());
    std::memcpy(irp->UserBuffer, &hid, sizeof hid);
    return Complete(irp, STATUS_SUCCESS, sizeof hid);
  }
  if (code == kIoctlHidGetReportDescriptor) {
    if (room < descriptor.size()) return Complete(irp, STATUS_BUFFER_TOO_SMALL);
    std::memcpy(irp->UserBuffer, descriptor.data(), descriptor.size());
    return Complete(irp, STATUS_SUCCESS, descriptor.size());
  }
  if (code == kIoctlHidGetDeviceAttributes) {
    if (room < sizeof(HID_DEVICE_ATTRIBUTES)) return Complete(irp, STATUS_BUFFER_TOO_SMALL);
    HID_DEVICE_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    attributes.VendorID = kVendorId;
    attributes.ProductID = kProductIds[device.link];
    attributes.VersionNumber = 0x0100;
    std::memcpy(irp->UserBuffer, &attributes, sizeof attributes);
    return Complete(irp, STATUS_SUCCESS, sizeof attributes);
  }
  if (code == kIoctlHidReadReport) return device.ReadReport(irp);
  const bool feature = device.kind == CollectionKind::VendorFeature;
  if (code == kIoctlHidSetFeature && feature)
    return device.Feature(irp, true, gBus->mouse->TakeStall(StalledTransfer::SetFeature));
  if (code == kIoctlHidGetFeature && feature)
    return device.Feature(irp, false, gBus->mouse->TakeStall(StalledTransfer::GetFeature));
  if (code == kIoctlHidGetString) return LinkString(device, irp, reinterpret_cast<ULONG_PTR>(stack->Parameters.DeviceIoControl.Type3InputBuffer));
  if (code == kIoctlHidActivateDevice || code == kIoctlHidDeactivateDevice) return Complete(irp, STATUS_SUCCESS);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

// ---- The bus ----

NTSTATUS PassDown(BusDevice& bus, IRP* irp) {
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(bus.lower, irp);
}

NTSTATUS BusRelationsOf(BusDevice& bus, IRP* irp) {
  std::vector<DEVICE_OBJECT*> children;
  {
    std::lock_guard lock(gBus->mutex);
    for (const auto& link : gBus->children) children.insert(children.end(), link.begin(), link.end());
  }
  const std::size_t size = sizeof(DEVICE_RELATIONS) + children.size() * sizeof(DEVICE_OBJECT*);
  auto* relations = static_cast<DEVICE_RELATIONS*>(ExAllocatePool(PagedPool, size));
  if (!relations) return Complete(irp, STATUS_NO_MEMORY);
  relations->Count = 0;
  for (DEVICE_OBJECT* child : children) {
    ObReferenceObject(child);
    relations->Objects[relations->Count++] = child;
  }
  irp->IoStatus.Status = STATUS_SUCCESS;
  irp->IoStatus.Information = reinterpret_cast<ULONG_PTR>(relations);
  return PassDown(bus, irp);
}

NTSTATUS BusPnp(DEVICE_OBJECT* fdo, IRP* irp) {
  BusDevice& bus = BusOf(fdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE: {
      IoSetDeviceInterfaceState(&bus.controlInterface, TRUE);
      {
        std::lock_guard lock(gBus->mutex);
        gBus->started = true;
      }
      irp->IoStatus.Status = STATUS_SUCCESS;
      const NTSTATUS status = PassDown(bus, irp);
      Reconcile();
      return status;
    }
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == BusRelations) return BusRelationsOf(bus, irp);
      return PassDown(bus, irp);
    case IRP_MN_SURPRISE_REMOVAL:
      IoSetDeviceInterfaceState(&bus.controlInterface, FALSE);
      irp->IoStatus.Status = STATUS_SUCCESS;
      return PassDown(bus, irp);
    case IRP_MN_REMOVE_DEVICE: {
      IoSetDeviceInterfaceState(&bus.controlInterface, FALSE);
      std::vector<DEVICE_OBJECT*> children;
      {
        std::lock_guard lock(gBus->mutex);
        for (auto& link : gBus->children) {
          children.insert(children.end(), link.begin(), link.end());
          link.clear();
        }
        gBus->fdo = nullptr;
        gBus->started = false;
      }
      for (DEVICE_OBJECT* child : children) DeleteLinkDevice(child);
      irp->IoStatus.Status = STATUS_SUCCESS;
      const NTSTATUS status = PassDown(bus, irp);
      IoDetachDevice(bus.lower);
      RtlFreeUnicodeString(&bus.controlInterface);
      bus.~BusDevice();
      IoDeleteDevice(fdo);
      return status;
    }
    case IRP_MN_QUERY_CAPABILITIES:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
      irp->IoStatus.Status = STATUS_SUCCESS;
      return PassDown(bus, irp);
    default:
      return PassDown(bus, irp);
  }
}

// A command or a command file for the mouse, from the control interface.
NTSTATUS BusControl(DEVICE_OBJECT*, IRP* irp) {
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  const ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
  const ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
  if ((code != kIoctlCommand && code != kIoctlFollow) || inLength > kMaxControlText)
    return Complete(irp, STATUS_INVALID_PARAMETER);
  auto* buffer = static_cast<char*>(irp->AssociatedIrp.SystemBuffer);
  const std::string text(buffer, inLength);
  std::string answer;
  if (code == kIoctlCommand) {
    answer = gBus->mouse->Command(text);
  } else {
    const std::u8string path(text.begin(), text.end());
    answer = gBus->mouse->Follow(std::filesystem::path(path));
  }
  const ULONG length = std::min<ULONG>(outLength, static_cast<ULONG>(answer.size()));
  if (length) std::memcpy(buffer, answer.data(), length);
  return Complete(irp, STATUS_SUCCESS, length);
}

// ---- Dispatch ----

NTSTATUS NTAPI DispatchPnp(DEVICE_OBJECT* device, IRP* irp) {
  return RoleOf(device) == Role::Link ? LinkPnp(device, irp) : BusPnp(device, irp);
}

NTSTATUS NTAPI DispatchInternalControl(DEVICE_OBJECT* device, IRP* irp) {
  if (RoleOf(device) == Role::Link) return LinkInternalControl(device, irp);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

NTSTATUS NTAPI DispatchControl(DEVICE_OBJECT* device, IRP* irp) {
  if (RoleOf(device) == Role::Bus) return BusControl(device, irp);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

NTSTATUS NTAPI DispatchCreateClose(DEVICE_OBJECT*, IRP* irp) { return Complete(irp, STATUS_SUCCESS); }

NTSTATUS NTAPI DispatchPower(DEVICE_OBJECT* device, IRP* irp) {
  if (RoleOf(device) == Role::Link) return Complete(irp, STATUS_SUCCESS);
  PoStartNextPowerIrp(irp);
  IoSkipCurrentIrpStackLocation(irp);
  return PoCallDriver(BusOf(device).lower, irp);
}

NTSTATUS NTAPI AddDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* rootPdo) {
  DEVICE_OBJECT* fdo = nullptr;
  NTSTATUS status = IoCreateDevice(driver, sizeof(BusDevice), nullptr, FILE_DEVICE_BUS_EXTENDER, 0, FALSE, &fdo);
  if (!NT_SUCCESS(status)) return status;
  auto* bus = new (fdo->DeviceExtension) BusDevice();
  bus->self = fdo;
  bus->rootPdo = rootPdo;
  GUID control;
  control.Data1 = kControlInterface.data1;
  control.Data2 = kControlInterface.data2;
  control.Data3 = kControlInterface.data3;
  std::memcpy(control.Data4, kControlInterface.data4, sizeof control.Data4);
  status = IoRegisterDeviceInterface(rootPdo, &control, nullptr, &bus->controlInterface);
  if (!NT_SUCCESS(status)) {
    bus->~BusDevice();
    IoDeleteDevice(fdo);
    return status;
  }
  bus->lower = IoAttachDeviceToDeviceStack(fdo, rootPdo);
  {
    std::lock_guard lock(gBus->mutex);
    gBus->fdo = fdo;
  }
  fdo->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

void NTAPI Unload(DRIVER_OBJECT*) {
  delete gBus;
  gBus = nullptr;
}

}  // namespace

}  // namespace zeltra::winehid

extern "C" NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
  using namespace zeltra::winehid;
  if (IsLoaderCall(driver, registryPath)) return LoaderEntry(driver, registryPath);
  if (!StartRuntime()) return STATUS_UNSUCCESSFUL;
  gBus = new Bus();
  gBus->driver = driver;
  gBus->mouse = std::make_unique<BusMouse>([] { Reconcile(); });
  driver->DriverExtension->AddDevice = AddDevice;
  driver->DriverUnload = Unload;
  driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
  driver->MajorFunction[IRP_MJ_POWER] = DispatchPower;
  driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = DispatchInternalControl;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
  return STATUS_SUCCESS;
}
