#include "device/win32/hid_backend_win32.h"

#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>
#include <winioctl.h>

extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
#include <hidclass.h>
}

#include <cstddef>
#include <cwctype>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_handle_win32.h"
#include "device/device_link.h"
#include "device/win32/hid_api_win32.h"
#include "device/win32/overlapped_win32.h"

namespace zeltra::win32 {

namespace {

const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string Narrow16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

// Why the calling thread's last call on a handle failed.
thread_local HidError tLastError;

void Fail(DWORD error) { tLastError = {HidError::Kind::System, error}; }

HidIdentity QueryIdentity(HANDLE handle) {
  HidIdentity id;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!Hid().HidD_GetAttributes(handle, &attributes)) return id;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!Hid().HidD_GetPreparsedData(handle, &preparsed)) return id;
  HIDP_CAPS caps{};
  const bool capsOk = Hid().HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
  Hid().HidD_FreePreparsedData(preparsed);
  if (!capsOk) return id;
  id.vendor = attributes.VendorID;
  id.product = attributes.ProductID;
  id.inputReportLength = caps.InputReportByteLength;
  id.featureReportLength = caps.FeatureReportByteLength;
  return id;
}

// The handles the backend opened, for the window that hears Windows ask for
// them back.
struct OpenInterfaces {
  std::mutex mutex;
  HWND window = nullptr;
  std::map<HANDLE, std::u16string> paths;
};

OpenInterfaces& Interfaces() {
  static OpenInterfaces interfaces;
  return interfaces;
}

class Win32HidHandle final : public HidHandle {
 public:
  Win32HidHandle(HANDLE handle, std::u16string path)
      : handle_(handle), cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), io_(handle) {
    OpenInterfaces& open = Interfaces();
    HWND window = nullptr;
    {
      std::lock_guard lock(open.mutex);
      window = open.window;
      open.paths[handle] = std::move(path);
    }
    if (window) {
      DEV_BROADCAST_HANDLE filter{};
      filter.dbch_size = sizeof filter;
      filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
      filter.dbch_handle = handle;
      notification_.reset(RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    }
  }

  ~Win32HidHandle() override {
    notification_.reset();
    {
      OpenInterfaces& open = Interfaces();
      std::lock_guard lock(open.mutex);
      open.paths.erase(handle_.get());
    }
    // Before io_ goes, which then gives up what the driver still holds.
    handle_.reset();
  }

  HidIdentity Identity() override { return QueryIdentity(handle_.get()); }

  bool SetFeature(std::span<const std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    const OverlappedResult result = io_.Run(
        buffer,
        [&](std::vector<std::uint8_t>& b, OVERLAPPED& o) {
          return DeviceIoControl(handle_.get(), IOCTL_HID_SET_FEATURE, b.data(), static_cast<DWORD>(b.size()), nullptr, 0,
                                 nullptr, &o);
        },
        kFeatureTimeoutMs);
    return Finish(result);
  }

  long GetFeature(std::span<std::uint8_t> report) override {
    std::vector<std::uint8_t> buffer(report.begin(), report.end());
    const OverlappedResult result = io_.Run(
        buffer,
        [&](std::vector<std::uint8_t>& b, OVERLAPPED& o) {
          return DeviceIoControl(handle_.get(), IOCTL_HID_GET_FEATURE, b.data(), static_cast<DWORD>(b.size()), b.data(),
                                 static_cast<DWORD>(b.size()), nullptr, &o);
        },
        kFeatureTimeoutMs);
    if (!Finish(result)) return -1;
    std::copy(buffer.begin(), buffer.end(), report.begin());
    // A device without report identifiers gets a 0 in front that it did not send.
    DWORD got = result.bytes;
    if (!buffer.empty() && buffer[0] == 0 && got < buffer.size()) ++got;
    return static_cast<long>(got);
  }

  long Read(std::span<std::uint8_t> buffer) override {
    std::vector<std::uint8_t> copy(buffer.size());
    const OverlappedResult result = io_.Run(
        copy,
        [&](std::vector<std::uint8_t>& b, OVERLAPPED& o) {
          return ReadFile(handle_.get(), b.data(), static_cast<DWORD>(b.size()), nullptr, &o);
        },
        INFINITE, cancel_.get());
    if (!Finish(result)) return -1;
    std::copy_n(copy.begin(), result.bytes, buffer.begin());
    return static_cast<long>(result.bytes);
  }

  void CancelRead() override {
    if (cancel_) SetEvent(cancel_.get());
  }

  HidError LastError() const override { return tLastError; }

 private:
  static bool Finish(const OverlappedResult& result) {
    if (result.ok) return true;
    if (result.timedOut)
      tLastError = {HidError::Kind::Timeout, result.error};
    else
      Fail(result.error);
    return false;
  }

  UniqueKernelHandle handle_;
  UniqueKernelHandle cancel_;
  UniqueDeviceNotification notification_;
  OverlappedIo io_;  // last, so that it goes first, after the handle has been closed
};

// The physical unit of a HID collection: the USB device above it (above the
// interface of a composite device); empty when the device tree cannot say.
std::u16string UnitOf(DEVINST collection) {
  auto parentOf = [](DEVINST node, std::wstring& id) -> std::optional<DEVINST> {
    DEVINST parent = 0;
    if (CM_Get_Parent(&parent, node, 0) != CR_SUCCESS) return std::nullopt;
    wchar_t buffer[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDW(parent, buffer, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) return std::nullopt;
    id = buffer;
    return parent;
  };
  std::wstring id;
  const auto parent = parentOf(collection, id);
  if (!parent) return {};
  std::wstring upper = id;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  if (upper.find(L"&MI_") != std::wstring::npos) {
    std::wstring device;
    if (parentOf(*parent, device)) id = device;
  }
  return Narrow16(id.c_str());
}

// A device information set; SetupDiGetClassDevs answers failure with
// INVALID_HANDLE_VALUE.
struct DeviceInfoSetTraits {
  using Handle = HDEVINFO;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle set) noexcept { return set != nullptr && set != INVALID_HANDLE_VALUE; }
  static void Close(Handle set) noexcept { SetupDiDestroyDeviceInfoList(set); }
};
using UniqueDeviceInfoSet = UniqueHandle<DeviceInfoSetTraits>;

class Win32HidBackend final : public HidBackend {
 public:
  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> members;
    GUID hidClass;
    Hid().HidD_GetHidGuid(&hidClass);
    const UniqueDeviceInfoSet owned(
        SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!owned) return members;
    HDEVINFO set = owned.get();
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidClass, index, &data); ++index) {
      HidInterfaceInfo& member = members.emplace_back();  // keeps its member index even when unreadable
      DWORD size = 0;
      SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
      if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
      std::vector<std::uint8_t> storage(size);
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
      SP_DEVINFO_DATA device{};
      device.cbSize = sizeof device;
      if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, &device)) continue;
      member.path = Narrow16(detail->DevicePath);
      member.unit = UnitOf(device.DevInst);
      // No access rights are needed to read attributes and capabilities, so
      // even interfaces other programs hold exclusively are identified.
      const UniqueKernelHandle handle(CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
      if (!handle) continue;
      member.identity = QueryIdentity(handle.get());
    }
    return members;
  }

  std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override {
    // Feature reports need no read or write access; asking for none opens
    // even a collection the system keeps for itself.
    const DWORD rights = access == HidAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : 0;
    HANDLE handle = CreateFileW(Wide(path), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32HidHandle>(handle, path);
  }

  void OnListenerThreadStart() override { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL); }
};

}  // namespace

std::shared_ptr<HidBackend> CreateHidBackend() { return std::make_shared<Win32HidBackend>(); }

HDEVNOTIFY RegisterHidDeviceNotifications(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  Hid().HidD_GetHidGuid(&filter.dbcc_classguid);
  return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void WatchOpenInterfaces(HWND window) {
  OpenInterfaces& open = Interfaces();
  std::lock_guard lock(open.mutex);
  open.window = window;
}

HidDeviceChange ClassifyDeviceChange(WPARAM event, LPARAM data) {
  HidDeviceChange change;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (!header || header->dbch_size < sizeof(DEV_BROADCAST_HDR)) return change;
  if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
      header->dbch_size >= sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return change;
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    GUID hidClass;
    Hid().HidD_GetHidGuid(&hidClass);
    if (!IsEqualGUID(device->dbcc_classguid, hidClass)) return change;
    // The name runs to the end of the record, which need not hold its terminator.
    const std::size_t room =
        (header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) / sizeof(wchar_t);
    const std::wstring name(device->dbcc_name, wcsnlen(device->dbcc_name, room));
    change.path = Narrow16(name.c_str());
    if (!MayBeMouseInterface(change.path)) return {};
    change.kind = event == DBT_DEVICEARRIVAL ? HidDeviceChange::Kind::Arrival : HidDeviceChange::Kind::Removal;
    return change;
  }
  if (header->dbch_devicetype == DBT_DEVTYP_HANDLE && header->dbch_size >= sizeof(DEV_BROADCAST_HANDLE)) {
    if (event == DBT_DEVICEQUERYREMOVE || event == DBT_DEVICEREMOVEPENDING)
      change.kind = HidDeviceChange::Kind::ReleaseRequested;
    else if (event == DBT_DEVICEQUERYREMOVEFAILED)
      change.kind = HidDeviceChange::Kind::ReleaseCancelled;
    else
      return change;
    const auto* handle = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header);
    OpenInterfaces& open = Interfaces();
    std::lock_guard lock(open.mutex);
    const auto found = open.paths.find(handle->dbch_handle);
    if (found == open.paths.end()) return {};
    change.path = found->second;
  }
  return change;
}

}  // namespace zeltra::win32
