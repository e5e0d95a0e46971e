#include "vmouse_client.h"

#include <windows.h>
#include <devguid.h>
#include <newdev.h>
#include <setupapi.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "device/win32/hid_backend_win32.h"
#include "protocol.h"
#include "report_descriptors.h"

namespace zeltra::winehid {

namespace {

// The INF of both drivers: the bus on its root device and on the links it
// creates (whose collections it creates in turn), the HID minidriver on the
// collections. Both run in the host process of Wine's
// plug-and-play drivers. The bus's installation copies both files: a later
// copy over a driver that is loaded would fail, and with it the device's
// installation.
constexpr char kInf[] =
    "[Version]\n"
    "Signature=\"$Windows NT$\"\n"
    "Class=System\n"
    "ClassGuid={4d36e97d-e325-11ce-bfc1-08002be10318}\n"
    "Provider=Zeltra tests\n"
    "DriverVer=01/01/2024,1.0.0.0\n"
    "\n"
    "[Manufacturer]\n"
    "Zeltra=models,NTamd64\n"
    "\n"
    "[models.NTamd64]\n"
    "Zeltra virtual mouse bus=bus_install,ZELTRA\\VBUS\n"
    "Zeltra virtual mouse (cable)=link_install,ZELTRA\\VID_248A&PID_5B2E\n"
    "Zeltra virtual mouse (receiver)=link_install,ZELTRA\\VID_248A&PID_5B2F\n"
    "Zeltra virtual mouse HID=hid_install,ZELTRA\\VHID\n"
    "\n"
    "[bus_install.NTamd64]\n"
    "CopyFiles=driver_files\n"
    "[bus_install.NTamd64.Services]\n"
    "AddService=zeltra_vbus,0x2,bus_service\n"
    "[link_install.NTamd64]\n"
    "[link_install.NTamd64.Services]\n"
    "AddService=zeltra_vbus,0x2,bus_service\n"
    "[hid_install.NTamd64]\n"
    "[hid_install.NTamd64.Services]\n"
    "AddService=zeltra_vhid,0x2,hid_service\n"
    "\n"
    "[driver_files]\n"
    "zeltra_vbus.sys\n"
    "zeltra_vhid.sys\n"
    "[SourceDisksNames]\n"
    "1=\"Zeltra virtual mouse\"\n"
    "[SourceDisksFiles]\n"
    "zeltra_vbus.sys=1\n"
    "zeltra_vhid.sys=1\n"
    "[DestinationDirs]\n"
    "DefaultDestDir=12\n"
    "\n"
    "[bus_service]\n"
    "ServiceBinary=%12%\\zeltra_vbus.sys\n"
    "ServiceType=1\n"
    "StartType=3\n"
    "ErrorControl=1\n"
    "LoadOrderGroup=WinePlugPlay\n"
    "DisplayName=\"Zeltra virtual mouse bus\"\n"
    "[hid_service]\n"
    "ServiceBinary=%12%\\zeltra_vhid.sys\n"
    "ServiceType=1\n"
    "StartType=3\n"
    "ErrorControl=1\n"
    "LoadOrderGroup=WinePlugPlay\n"
    "DisplayName=\"Zeltra virtual mouse HID\"\n";

std::string SystemError(const char* what, DWORD code = GetLastError()) {
  return std::string(what) + " failed (error " + std::to_string(code) + ")";
}

HANDLE OpenControl() {
  return CreateFileW(kControlPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

std::string Control(DWORD code, std::string_view text) {
  if (text.size() > kMaxControlText) return "too long";
  HANDLE control = OpenControl();
  if (control == INVALID_HANDLE_VALUE) return "the virtual mouse's bus is not there (is the driver installed?)";
  std::vector<char> answer(kMaxControlText);
  DWORD got = 0;
  const BOOL ok = DeviceIoControl(control, code, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()),
                                  answer.data(), static_cast<DWORD>(answer.size()), &got, nullptr);
  const DWORD error = GetLastError();
  CloseHandle(control);
  if (!ok) return SystemError("the request to the virtual mouse's bus", error);
  return std::string(answer.data(), got);
}

// The root device of the bus, made once per prefix.
std::string RegisterBusDevice() {
  HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_SYSTEM, nullptr);
  if (set == INVALID_HANDLE_VALUE) return SystemError("SetupDiCreateDeviceInfoList");
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  std::string error;
  if (SetupDiOpenDeviceInfoW(set, kBusInstanceId, nullptr, 0, &device)) {
    SetupDiDestroyDeviceInfoList(set);
    return {};
  }
  if (!SetupDiCreateDeviceInfoW(set, kBusInstanceId, &GUID_DEVCLASS_SYSTEM, nullptr, nullptr, 0, &device)) {
    error = SystemError("SetupDiCreateDeviceInfoW");
  } else {
    std::wstring ids(kBusHardwareId);
    ids.push_back(L'\0');
    ids.push_back(L'\0');
    if (!SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(ids.data()),
                                           static_cast<DWORD>(ids.size() * sizeof(wchar_t))))
      error = SystemError("SetupDiSetDeviceRegistryPropertyW");
    else if (!SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device))
      error = SystemError("DIF_REGISTERDEVICE");
  }
  SetupDiDestroyDeviceInfoList(set);
  return error;
}

}  // namespace

std::string InstallDriver(const std::filesystem::path& folder) {
  for (const wchar_t* file : {kBusDriverFile, kHidDriverFile})
    if (!std::filesystem::exists(folder / file)) return "no " + (folder / file).string();
  const std::filesystem::path inf = folder / kInfFile;
  {
    std::ofstream out(inf, std::ios::binary | std::ios::trunc);
    out << kInf;
    if (!out.flush()) return "cannot write " + inf.string();
  }
  // The INF goes where the plug-and-play manager looks for the driver of
  // each new device the bus creates.
  wchar_t copied[MAX_PATH];
  if (!SetupCopyOEMInfW(inf.c_str(), nullptr, SPOST_PATH, 0, copied, MAX_PATH, nullptr, nullptr))
    return SystemError("SetupCopyOEMInfW");
  // Installed before: the prefix starts the bus with its other drivers (a
  // newer driver file was copied in while none of them ran).
  if (HANDLE control = OpenControl(); control != INVALID_HANDLE_VALUE) {
    CloseHandle(control);
    return {};
  }
  if (std::string error = RegisterBusDevice(); !error.empty()) return error;
  BOOL reboot = FALSE;
  if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, kBusHardwareId, inf.c_str(), INSTALLFLAG_FORCE, &reboot))
    return SystemError("UpdateDriverForPlugAndPlayDevicesW");
  // The bus starts with the cable plugged.
  if (WaitForLinks({.cable = true, .receiver = false}, 20000).empty()) return {};
  return "the virtual mouse's cable did not come up";
}

std::string SendCommand(std::string_view line) { return Control(kIoctlCommand, line); }

std::string FollowFile(const std::filesystem::path& file) {
  const std::u8string path = file.u8string();
  return Control(kIoctlFollow, std::string_view(reinterpret_cast<const char*>(path.data()), path.size()));
}

namespace {

// How many collections of the cable's, the receiver's the system shows.
std::array<std::size_t, 2> LinkCollectionsShown() {
  std::array<std::size_t, 2> seen{};
  for (const HidInterfaceInfo& member : win32::CreateHidBackend()->Enumerate()) {
    if (member.identity.vendor != kMouseVendorId) continue;
    if (member.identity.product == kCableProductId) ++seen[0];
    if (member.identity.product == kReceiverProductId) ++seen[1];
  }
  return seen;
}

}  // namespace

LinksShown ShownLinks() {
  // A link shows once every one of its collections is there.
  const auto seen = LinkCollectionsShown();
  return {.cable = seen[0] == LinkCollections(0).size(), .receiver = seen[1] == LinkCollections(1).size()};
}

std::string DescribeCollections() {
  std::string text;
  for (const HidInterfaceInfo& member : win32::CreateHidBackend()->Enumerate()) {
    const HidIdentity& id = member.identity;
    char line[96];
    std::snprintf(line, sizeof line, " %04X:%04X input %u feature %u\n", id.vendor, id.product, id.inputReportLength,
                  id.featureReportLength);
    text += std::string(member.path.begin(), member.path.end()) + line;
  }
  return text;
}

std::string WaitForLinks(LinksShown links, int timeoutMs) {
  // Every collection of a link that is out must be gone as well.
  const auto settled = [&] {
    const auto seen = LinkCollectionsShown();
    return seen[0] == (links.cable ? LinkCollections(0).size() : 0) &&
           seen[1] == (links.receiver ? LinkCollections(1).size() : 0);
  };
  for (int waited = 0;; waited += 50) {
    if (settled()) return {};
    if (waited >= timeoutMs) break;
    Sleep(50);
  }
  const LinksShown shown = ShownLinks();
  return std::string("the system shows the cable ") + (shown.cable ? "in" : "out") + " and the receiver " +
         (shown.receiver ? "in" : "out") + " (or some of a link's collections)";
}

}  // namespace zeltra::winehid
