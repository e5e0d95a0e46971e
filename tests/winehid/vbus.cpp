// zeltra_vbus.sys: the virtual mouse's bus driver. On a root-enumerated
// device it presents the mouse's cable and its receiver as devices of their
// own, as USB devices on their ports; on each of those it presents the
// link's top-level collections (report_descriptors.h says why one device
// each), which zeltra_vhid.sys serves under the system's HID class driver.
// The virtual mouse plays both links. Plugging and unplugging a link goes
// through the plug-and-play manager, so the system sends its own arrival
// and removal broadcasts.
//
// Wine runs drivers in a user-mode host process, which is what lets this one
// link the program's C++ model of the mouse; it is test infrastructure and
// never loads on Windows.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bus_mouse.h"
#include "ddk.h"
#include "driver_start.h"
#include "irp_util.h"
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

// The device objects of this driver; the role leads every extension.
enum class Role {
  RootBus,     // on the root-enumerated device: its children are the links
  Link,        // the cable or the receiver, a child of the root bus
  LinkBus,     // on a link: its children are the link's collections
  Collection,  // one top-level collection, under the HID minidriver
};

Role RoleOf(DEVICE_OBJECT* device) { return *static_cast<Role*>(device->DeviceExtension); }

std::wstring LinkDeviceId(int link) {
  wchar_t id[32];
  std::swprintf(id, 32, L"ZELTRA\\VID_%04X&PID_%04X", kVendorId, kProductIds[link]);
  return id;
}

// One collection of a link.
struct CollectionDevice {
  Role role = Role::Collection;
  DEVICE_OBJECT* self = nullptr;
  int link = 0;
  int collection = 0;  // position in LinkCollections(link)
  CollectionKind kind = CollectionKind::Mouse;
  std::shared_ptr<LinkPort> port;  // shared by the link's collections
  std::thread pump;
  std::vector<std::thread> stalled;  // transfers completed late

  std::mutex mutex;
  bool gone = false;  // unplugged or removed: reads and transfers fail
  std::deque<std::vector<std::uint8_t>> reports;
  IrpQueue reads;

  // One collection of the interface of a composite device ("&MI_"), as
  // Windows names them; the class driver names the HID device after it.
  std::wstring DeviceId() const { return LinkDeviceId(link) + L"&MI_01&COL0" + std::to_wstring(collection + 1); }

  void FailReads() {
    {
      std::lock_guard lock(mutex);
      gone = true;
      reports.clear();
    }
    while (IRP* irp = reads.Take()) Complete(irp, STATUS_DELETE_PENDING);
  }

  bool Gone() {
    std::lock_guard lock(mutex);
    return gone;
  }

  static void Deliver(IRP* irp, const std::vector<std::uint8_t>& report) {
    const ULONG room = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
    const ULONG length = std::min<ULONG>(room, static_cast<ULONG>(report.size()));
    std::memcpy(irp->UserBuffer, report.data(), length);
    Complete(irp, STATUS_SUCCESS, length);
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

  NTSTATUS ReadReport(IRP* irp) {
    std::vector<std::uint8_t> report;
    {
      std::lock_guard lock(mutex);
      if (gone) return Complete(irp, STATUS_DELETE_PENDING);
      if (reports.empty()) {
        const NTSTATUS parked = reads.Park(irp);
        return parked == STATUS_PENDING ? parked : Complete(irp, parked);
      }
      report = std::move(reports.front());
      reports.pop_front();
    }
    Deliver(irp, report);
    return STATUS_SUCCESS;
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

  // Waits for the threads that use the collection; then it may be deleted.
  void Stop() {
    FailReads();
    if (pump.joinable()) {
      port->CancelRead();
      pump.join();
    }
    for (std::thread& t : stalled) t.join();
    stalled.clear();
  }
};

// The cable or the receiver, as the root bus presents it.
struct LinkDevice {
  Role role = Role::Link;
  DEVICE_OBJECT* self = nullptr;
  int link = 0;
  std::shared_ptr<LinkPort> port;
  std::mutex mutex;
  bool reported = true;                      // still among the root bus's children
  std::vector<DEVICE_OBJECT*> collections;  // made by the link's bus
};

// The functional device on a link, whose children are its collections.
struct LinkBus {
  Role role = Role::LinkBus;
  DEVICE_OBJECT* self = nullptr;
  DEVICE_OBJECT* lower = nullptr;
  LinkDevice* link = nullptr;
};

// The functional device on the root-enumerated device.
struct RootBus {
  Role role = Role::RootBus;
  DEVICE_OBJECT* self = nullptr;
  DEVICE_OBJECT* pdo = nullptr;
  DEVICE_OBJECT* lower = nullptr;
};

void ControlLink(bool on) {
  UNICODE_STRING link;
  RtlInitUnicodeString(&link, kControlLink);
  if (!on) {
    IoDeleteSymbolicLink(&link);
    return;
  }
  UNICODE_STRING device;
  RtlInitUnicodeString(&device, kControlDevice);
  IoCreateSymbolicLink(&link, &device);
}

template <typename T>
T& ExtensionOf(DEVICE_OBJECT* device) {
  return *static_cast<T*>(device->DeviceExtension);
}

// The driver's one root bus and the mouse behind it.
struct Driver {
  DRIVER_OBJECT* object = nullptr;
  std::unique_ptr<BusMouse> mouse;
  std::mutex topology;  // one change of the links at a time
  std::mutex mutex;     // the fields below
  DEVICE_OBJECT* root = nullptr;
  bool started = false;
  std::array<DEVICE_OBJECT*, kLinkCount> links{};
  unsigned created = 0;
};

Driver* gDriver = nullptr;

// A device object of this driver with `Extension` built in it, under
// `name` (a number of its own when empty, nothing when null).
template <typename Extension>
Extension* CreateDevice(DEVICE_TYPE type, const wchar_t* name) {
  std::wstring numbered;
  if (name && !*name) {
    std::lock_guard lock(gDriver->mutex);
    numbered = L"\\Device\\ZeltraVMouse" + std::to_wstring(++gDriver->created);
    name = numbered.c_str();
  }
  UNICODE_STRING unicodeName;
  if (name) RtlInitUnicodeString(&unicodeName, name);
  DEVICE_OBJECT* device = nullptr;
  if (!NT_SUCCESS(IoCreateDevice(gDriver->object, sizeof(Extension), name ? &unicodeName : nullptr, type,
                                 name ? FILE_DEVICE_SECURE_OPEN : 0, FALSE, &device)))
    return nullptr;
  auto* extension = new (device->DeviceExtension) Extension();
  extension->self = device;
  return extension;
}

template <typename Extension>
void DeleteDevice(DEVICE_OBJECT* device) {
  ExtensionOf<Extension>(device).~Extension();
  IoDeleteDevice(device);
}

void DeleteCollection(DEVICE_OBJECT* device) {
  ExtensionOf<CollectionDevice>(device).Stop();
  DeleteDevice<CollectionDevice>(device);
}

// Makes the root bus's links follow the mouse's plugs; the plug-and-play
// manager then starts the new ones and removes the ones that went.
void Reconcile() {
  std::lock_guard topology(gDriver->topology);
  bool changed = false;
  for (int link = 0; link < kLinkCount; ++link) {
    const bool plugged = gDriver->mouse->Plugged(link);
    DEVICE_OBJECT* current;
    {
      std::lock_guard lock(gDriver->mutex);
      current = gDriver->links[static_cast<std::size_t>(link)];
    }
    if (plugged && !current) {
      std::shared_ptr<LinkPort> port = gDriver->mouse->Open(link);
      LinkDevice* device = port ? CreateDevice<LinkDevice>(FILE_DEVICE_UNKNOWN, L"") : nullptr;
      if (!device) continue;
      device->link = link;
      device->port = std::move(port);
      device->self->Flags &= ~DO_DEVICE_INITIALIZING;
      std::lock_guard lock(gDriver->mutex);
      gDriver->links[static_cast<std::size_t>(link)] = device->self;
      changed = true;
    } else if (!plugged && current) {
      {
        std::lock_guard lock(gDriver->mutex);
        gDriver->links[static_cast<std::size_t>(link)] = nullptr;
      }
      // Reads fail at once, as when a USB device is pulled; the removal
      // follows when the manager gets to it.
      LinkDevice& device = ExtensionOf<LinkDevice>(current);
      std::vector<DEVICE_OBJECT*> collections;
      {
        std::lock_guard lock(device.mutex);
        device.reported = false;
        collections = device.collections;
      }
      for (DEVICE_OBJECT* collection : collections) ExtensionOf<CollectionDevice>(collection).FailReads();
      changed = true;
    }
  }
  DEVICE_OBJECT* rootPdo = nullptr;
  {
    std::lock_guard lock(gDriver->mutex);
    if (gDriver->root && gDriver->started) rootPdo = ExtensionOf<RootBus>(gDriver->root).pdo;
  }
  if (changed && rootPdo) IoInvalidateDeviceRelations(rootPdo, BusRelations);
}

// ---- Physical devices: links and collections ----

// What both kinds of child answer alike; nothing when the request is not one of those.
std::optional<NTSTATUS> CommonChildPnp(DEVICE_OBJECT* device, IRP* irp, const std::wstring& text) {
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE:
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_QUERY_CAPABILITIES: {
      DEVICE_CAPABILITIES* caps = stack->Parameters.DeviceCapabilities.Capabilities;
      caps->Removable = TRUE;
      caps->SurpriseRemovalOK = TRUE;
      caps->SilentInstall = TRUE;
      caps->UniqueID = TRUE;
      return Complete(irp, STATUS_SUCCESS);
    }
    case IRP_MN_QUERY_DEVICE_TEXT:
      return CompleteWithString(irp, text, false);
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == TargetDeviceRelation) {
        DEVICE_RELATIONS* relations = PoolRelations(std::array{device});
        return relations ? Complete(irp, STATUS_SUCCESS, reinterpret_cast<ULONG_PTR>(relations))
                         : Complete(irp, STATUS_NO_MEMORY);
      }
      return CompleteUnchanged(irp);
    default:
      return std::nullopt;
  }
}

NTSTATUS LinkPnp(DEVICE_OBJECT* pdo, IRP* irp) {
  LinkDevice& device = ExtensionOf<LinkDevice>(pdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
    case IRP_MN_SURPRISE_REMOVAL:
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_REMOVE_DEVICE: {
      bool reported;
      {
        std::lock_guard lock(device.mutex);
        reported = device.reported;
      }
      Complete(irp, STATUS_SUCCESS);
      // An unplugged link is gone for good (its bus deleted its collections).
      if (!reported) DeleteDevice<LinkDevice>(pdo);
      return STATUS_SUCCESS;
    }
    case IRP_MN_QUERY_ID:
      switch (stack->Parameters.QueryId.IdType) {
        case BusQueryDeviceID: return CompleteWithString(irp, LinkDeviceId(device.link), false);
        case BusQueryHardwareIDs: return CompleteWithString(irp, LinkDeviceId(device.link), true);
        case BusQueryCompatibleIDs: return CompleteWithString(irp, L"", true);  // none: an empty list
        case BusQueryInstanceID: return CompleteWithString(irp, kLinkNames[device.link], false);
        default: return CompleteUnchanged(irp);
      }
    default: {
      const std::wstring text = std::wstring(L"Zeltra virtual mouse (") + kLinkNames[device.link] + L")";
      if (auto status = CommonChildPnp(pdo, irp, text)) return *status;
      return CompleteUnchanged(irp);
    }
  }
}

NTSTATUS CollectionPnp(DEVICE_OBJECT* pdo, IRP* irp) {
  CollectionDevice& device = ExtensionOf<CollectionDevice>(pdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_SURPRISE_REMOVAL:
    case IRP_MN_REMOVE_DEVICE:
      // The link's bus deletes it, when the link itself goes.
      device.FailReads();
      return Complete(irp, STATUS_SUCCESS);
    case IRP_MN_QUERY_ID:
      switch (stack->Parameters.QueryId.IdType) {
        case BusQueryDeviceID: return CompleteWithString(irp, device.DeviceId(), false);
        case BusQueryHardwareIDs: return CompleteWithString(irp, device.DeviceId(), true);
        case BusQueryCompatibleIDs: return CompleteWithString(irp, kHidCompatibleId, true);
        case BusQueryInstanceID: return CompleteWithString(irp, kLinkNames[device.link], false);
        default: return CompleteUnchanged(irp);
      }
    default: {
      const std::wstring text =
          std::wstring(L"Zeltra virtual mouse (") + kLinkNames[device.link] + L") collection " +
          std::to_wstring(device.collection + 1);
      if (auto status = CommonChildPnp(pdo, irp, text)) return *status;
      return CompleteUnchanged(irp);
    }
  }
}

NTSTATUS CollectionString(CollectionDevice& device, IRP* irp, ULONG_PTR which) {
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
NTSTATUS CollectionInternalControl(DEVICE_OBJECT* pdo, IRP* irp) {
  CollectionDevice& device = ExtensionOf<CollectionDevice>(pdo);
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
    return device.Feature(irp, true, gDriver->mouse->TakeStall(StalledTransfer::SetFeature));
  if (code == kIoctlHidGetFeature && feature)
    return device.Feature(irp, false, gDriver->mouse->TakeStall(StalledTransfer::GetFeature));
  if (code == kIoctlHidGetString)
    return CollectionString(device, irp, reinterpret_cast<ULONG_PTR>(stack->Parameters.DeviceIoControl.Type3InputBuffer));
  if (code == kIoctlHidActivateDevice || code == kIoctlHidDeactivateDevice) return Complete(irp, STATUS_SUCCESS);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

// ---- Functional devices: the root bus and the links' buses ----

NTSTATUS PassDown(DEVICE_OBJECT* lower, IRP* irp) {
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(lower, irp);
}

// A plug-and-play request a bus has nothing more to do about: the changes
// of state are agreed to, everything goes on down.
NTSTATUS PassDownPnp(DEVICE_OBJECT* lower, IRP* irp) {
  switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
    case IRP_MN_START_DEVICE:
    case IRP_MN_QUERY_CAPABILITIES:
    case IRP_MN_SURPRISE_REMOVAL:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
      irp->IoStatus.Status = STATUS_SUCCESS;
      break;
    default:
      break;
  }
  return PassDown(lower, irp);
}

// The end of a bus's removal, its children gone: the request goes down and
// the bus's device leaves the stack.
template <typename Bus>
NTSTATUS RemoveBus(DEVICE_OBJECT* fdo, IRP* irp) {
  DEVICE_OBJECT* lower = ExtensionOf<Bus>(fdo).lower;
  irp->IoStatus.Status = STATUS_SUCCESS;
  const NTSTATUS status = PassDown(lower, irp);
  IoDetachDevice(lower);
  DeleteDevice<Bus>(fdo);
  return status;
}

template <typename Devices>
NTSTATUS AnswerBusRelations(DEVICE_OBJECT* lower, IRP* irp, const Devices& children) {
  DEVICE_RELATIONS* relations = PoolRelations(children);
  if (!relations) return Complete(irp, STATUS_NO_MEMORY);
  irp->IoStatus.Status = STATUS_SUCCESS;
  irp->IoStatus.Information = reinterpret_cast<ULONG_PTR>(relations);
  return PassDown(lower, irp);
}

NTSTATUS LinkBusPnp(DEVICE_OBJECT* fdo, IRP* irp) {
  LinkBus& bus = ExtensionOf<LinkBus>(fdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == BusRelations) {
        std::vector<DEVICE_OBJECT*> collections;
        {
          std::lock_guard lock(bus.link->mutex);
          collections = bus.link->collections;
        }
        return AnswerBusRelations(bus.lower, irp, collections);
      }
      return PassDown(bus.lower, irp);
    case IRP_MN_REMOVE_DEVICE: {
      std::vector<DEVICE_OBJECT*> collections;
      {
        std::lock_guard lock(bus.link->mutex);
        collections.swap(bus.link->collections);
      }
      for (DEVICE_OBJECT* collection : collections) DeleteCollection(collection);
      return RemoveBus<LinkBus>(fdo, irp);
    }
    case IRP_MN_START_DEVICE: {
      const NTSTATUS status = PassDownPnp(bus.lower, irp);
      // The manager asks for the collections only when told there are some.
      IoInvalidateDeviceRelations(bus.link->self, BusRelations);
      return status;
    }
    default:
      return PassDownPnp(bus.lower, irp);
  }
}

NTSTATUS RootBusPnp(DEVICE_OBJECT* fdo, IRP* irp) {
  RootBus& bus = ExtensionOf<RootBus>(fdo);
  IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE: {
      ControlLink(true);
      {
        std::lock_guard lock(gDriver->mutex);
        gDriver->started = true;
      }
      const NTSTATUS status = PassDownPnp(bus.lower, irp);
      Reconcile();
      return status;
    }
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == BusRelations) {
        std::vector<DEVICE_OBJECT*> links;
        {
          std::lock_guard lock(gDriver->mutex);
          for (DEVICE_OBJECT* link : gDriver->links)
            if (link) links.push_back(link);
        }
        return AnswerBusRelations(bus.lower, irp, links);
      }
      return PassDown(bus.lower, irp);
    case IRP_MN_SURPRISE_REMOVAL:
      ControlLink(false);
      return PassDownPnp(bus.lower, irp);
    case IRP_MN_REMOVE_DEVICE: {
      ControlLink(false);
      std::array<DEVICE_OBJECT*, kLinkCount> links;
      {
        std::lock_guard lock(gDriver->mutex);
        links = gDriver->links;
        gDriver->links = {};
        gDriver->root = nullptr;
        gDriver->started = false;
      }
      // The manager removed the links' own devices first.
      for (DEVICE_OBJECT* link : links)
        if (link) DeleteDevice<LinkDevice>(link);
      return RemoveBus<RootBus>(fdo, irp);
    }
    default:
      return PassDownPnp(bus.lower, irp);
  }
}

// A command or a command file for the mouse, from the control interface.
NTSTATUS RootBusControl(IRP* irp) {
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
    answer = gDriver->mouse->Command(text);
  } else {
    const std::u8string path(text.begin(), text.end());
    answer = gDriver->mouse->Follow(std::filesystem::path(path));
  }
  const ULONG length = std::min<ULONG>(outLength, static_cast<ULONG>(answer.size()));
  if (length) std::memcpy(buffer, answer.data(), length);
  return Complete(irp, STATUS_SUCCESS, length);
}

// ---- Dispatch ----

NTSTATUS NTAPI DispatchPnp(DEVICE_OBJECT* device, IRP* irp) {
  switch (RoleOf(device)) {
    case Role::RootBus: return RootBusPnp(device, irp);
    case Role::Link: return LinkPnp(device, irp);
    case Role::LinkBus: return LinkBusPnp(device, irp);
    case Role::Collection: return CollectionPnp(device, irp);
  }
  return CompleteUnchanged(irp);
}

NTSTATUS NTAPI DispatchInternalControl(DEVICE_OBJECT* device, IRP* irp) {
  if (RoleOf(device) == Role::Collection) return CollectionInternalControl(device, irp);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

NTSTATUS NTAPI DispatchControl(DEVICE_OBJECT* device, IRP* irp) {
  if (RoleOf(device) == Role::RootBus) return RootBusControl(irp);
  return Complete(irp, STATUS_NOT_SUPPORTED);
}

NTSTATUS NTAPI DispatchCreateClose(DEVICE_OBJECT*, IRP* irp) { return Complete(irp, STATUS_SUCCESS); }

NTSTATUS NTAPI DispatchPower(DEVICE_OBJECT* device, IRP* irp) {
  DEVICE_OBJECT* lower = nullptr;
  if (RoleOf(device) == Role::RootBus) lower = ExtensionOf<RootBus>(device).lower;
  if (RoleOf(device) == Role::LinkBus) lower = ExtensionOf<LinkBus>(device).lower;
  if (!lower) return Complete(irp, STATUS_SUCCESS);
  PoStartNextPowerIrp(irp);
  IoSkipCurrentIrpStackLocation(irp);
  return PoCallDriver(lower, irp);
}

// The bus of a link this driver presents: its children are the collections.
NTSTATUS AddLinkBus(DEVICE_OBJECT* pdo) {
  LinkDevice& link = ExtensionOf<LinkDevice>(pdo);
  LinkBus* bus = CreateDevice<LinkBus>(FILE_DEVICE_BUS_EXTENDER, nullptr);
  if (!bus) return STATUS_NO_MEMORY;
  bus->link = &link;
  std::vector<DEVICE_OBJECT*> collections;
  for (int c = 0; c < static_cast<int>(LinkCollections(link.link).size()); ++c) {
    auto* collection = CreateDevice<CollectionDevice>(FILE_DEVICE_UNKNOWN, L"");
    if (!collection) continue;
    collection->link = link.link;
    collection->collection = c;
    collection->kind = LinkCollections(link.link)[static_cast<std::size_t>(c)].kind;
    collection->port = link.port;
    if (collection->kind == CollectionKind::VendorInput)
      collection->pump = std::thread([collection] { collection->Pump(); });
    collection->self->Flags &= ~DO_DEVICE_INITIALIZING;
    collections.push_back(collection->self);
  }
  {
    std::lock_guard lock(link.mutex);
    link.collections = std::move(collections);
  }
  bus->lower = IoAttachDeviceToDeviceStack(bus->self, pdo);
  bus->self->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

NTSTATUS AddRootBus(DEVICE_OBJECT* pdo) {
  // Named, for the control requests of zeltra-vmouse.
  RootBus* bus = CreateDevice<RootBus>(FILE_DEVICE_BUS_EXTENDER, kControlDevice);
  if (!bus) return STATUS_NO_MEMORY;
  bus->pdo = pdo;
  bus->lower = IoAttachDeviceToDeviceStack(bus->self, pdo);
  {
    std::lock_guard lock(gDriver->mutex);
    gDriver->root = bus->self;
  }
  bus->self->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

NTSTATUS NTAPI AddDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* pdo) {
  // The links are this driver's own devices; anything else is the root device.
  if (pdo->DriverObject == driver && RoleOf(pdo) == Role::Link) return AddLinkBus(pdo);
  return AddRootBus(pdo);
}

void NTAPI Unload(DRIVER_OBJECT*) {
  delete gDriver;
  gDriver = nullptr;
}

}  // namespace

}  // namespace zeltra::winehid

extern "C" NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
  using namespace zeltra::winehid;
  if (IsLoaderCall(driver, registryPath)) return LoaderEntry(driver, registryPath);
  if (!StartRuntime()) return STATUS_UNSUCCESSFUL;
  gDriver = new Driver();
  gDriver->object = driver;
  gDriver->mouse = std::make_unique<BusMouse>([] { Reconcile(); });
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
