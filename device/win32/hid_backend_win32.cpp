#include "device/win32/hid_backend_win32.h"

#include <dbt.h>
#include <setupapi.h>
#include <shellapi.h>

extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <mutex>
#include <string>
#include <vector>

#include "device/hid_trace.h"
#include "device/virtual_mouse.h"

namespace zeltra::win32 {

namespace {

const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

HANDLE OpenShared(const wchar_t* path, DWORD access) {
  return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

HidIdentity QueryIdentity(HANDLE handle) {
  HidIdentity id;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  if (!HidD_GetAttributes(handle, &attributes)) return id;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (!HidD_GetPreparsedData(handle, &preparsed)) return id;
  HIDP_CAPS caps{};
  const bool capsOk = HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
  HidD_FreePreparsedData(preparsed);
  if (!capsOk) return id;
  id.vendor = attributes.VendorID;
  id.product = attributes.ProductID;
  id.inputReportLength = caps.InputReportByteLength;
  id.featureReportLength = caps.FeatureReportByteLength;
  return id;
}

class Win32HidHandle final : public HidHandle {
 public:
  explicit Win32HidHandle(HANDLE handle) : handle_(handle) {}
  ~Win32HidHandle() override {
    CloseHandle(handle_);
    if (readerThread_) CloseHandle(readerThread_);
  }

  HidIdentity Identity() override { return QueryIdentity(handle_); }

  bool SetFeature(std::span<const std::uint8_t> report) override {
    // The driver takes a non-const buffer; it does not write to it.
    std::vector<std::uint8_t> copy(report.begin(), report.end());
    return HidD_SetFeature(handle_, copy.data(), static_cast<ULONG>(copy.size())) != FALSE;
  }

  long GetFeature(std::span<std::uint8_t> report) override {
    if (!HidD_GetFeature(handle_, report.data(), static_cast<ULONG>(report.size()))) return -1;
    return static_cast<long>(report.size());
  }

  long Read(std::span<std::uint8_t> buffer) override {
    {
      std::lock_guard lock(mutex_);
      if (cancelled_) return -1;
      if (!readerThread_)
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &readerThread_, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
    }
    DWORD got = 0;
    if (!ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return -1;
    std::lock_guard lock(mutex_);
    return cancelled_ ? -1 : static_cast<long>(got);
  }

  void CancelRead() override {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (readerThread_) CancelSynchronousIo(readerThread_);
  }

 private:
  HANDLE handle_;
  std::mutex mutex_;
  HANDLE readerThread_ = nullptr;
  bool cancelled_ = false;
};

class Win32HidBackend final : public HidBackend {
 public:
  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> members;
    GUID hidClass;
    HidD_GetHidGuid(&hidClass);
    HDEVINFO set = SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return members;
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
      if (!SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr)) continue;
      const std::wstring path(detail->DevicePath);
      member.path.assign(path.begin(), path.end());
      // No access rights are needed to read attributes and capabilities, so
      // even interfaces other programs hold exclusively are identified.
      HANDLE handle = OpenShared(detail->DevicePath, 0);
      if (handle == INVALID_HANDLE_VALUE) continue;
      member.identity = QueryIdentity(handle);
      CloseHandle(handle);
    }
    SetupDiDestroyDeviceInfoList(set);
    return members;
  }

  std::unique_ptr<HidHandle> Open(const std::u16string& path) override {
    HANDLE handle = OpenShared(Wide(path), GENERIC_READ | GENERIC_WRITE);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32HidHandle>(handle);
  }

  void OnListenerThreadStart() override { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL); }
};

}  // namespace

std::shared_ptr<HidBackend> CreateHidBackend() { return std::make_shared<Win32HidBackend>(); }

HDEVNOTIFY RegisterHidDeviceNotifications(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  HidD_GetHidGuid(&filter.dbcc_classguid);
  return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

}  // namespace zeltra::win32
