// The overlapped request with a limit, on a named pipe (a read with no
// writer never completes, as a stalled transfer does), and the reading of
// device-change broadcasts.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "device/win32/hid_backend_win32.h"
#include "device/win32/overlapped_win32.h"

namespace zeltra::win32 {
namespace {

struct Pipe {
  Pipe() {
    const std::wstring name = L"\\\\.\\pipe\\zeltra-overlapped-" + std::to_wstring(GetCurrentProcessId());
    server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                              4096, 4096, 0, nullptr);
    client = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  ~Pipe() {
    if (client != INVALID_HANDLE_VALUE) CloseHandle(client);
    if (server != INVALID_HANDLE_VALUE) CloseHandle(server);
  }
  OverlappedIo::Start Read() {
    return [this](std::vector<std::uint8_t>& b, OVERLAPPED& o) {
      return ReadFile(server, b.data(), static_cast<DWORD>(b.size()), nullptr, &o);
    };
  }
  HANDLE server = INVALID_HANDLE_VALUE;
  HANDLE client = INVALID_HANDLE_VALUE;
};

TEST(OverlappedIo, ATimeoutCancelsTheRequestAndTheNextOneGetsTheData) {
  Pipe pipe;
  ASSERT_NE(pipe.server, INVALID_HANDLE_VALUE);
  ASSERT_NE(pipe.client, INVALID_HANDLE_VALUE);
  OverlappedIo io(pipe.server);
  std::vector<std::uint8_t> buffer(8, 0xAA);
  const ULONGLONG start = GetTickCount64();
  OverlappedResult result = io.Run(buffer, pipe.Read(), 100);
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.timedOut);
  EXPECT_GE(took, 90u);
  EXPECT_LT(took, 100u + OverlappedIo::kCancelGraceMs);
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(8, 0xAA));
  EXPECT_EQ(io.Outstanding(), 0u);  // the pipe gave the cancelled read back

  DWORD written = 0;
  ASSERT_TRUE(WriteFile(pipe.client, "hello", 5, &written, nullptr));
  result = io.Run(buffer, pipe.Read(), 1000);
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.bytes, 5u);
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 5), "hello");
}

TEST(OverlappedIo, ACancelEndsAnEndlessWaitAndAFailureComesAtOnce) {
  Pipe pipe;
  ASSERT_NE(pipe.client, INVALID_HANDLE_VALUE);
  OverlappedIo io(pipe.server);
  HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread canceller([&] {
    Sleep(50);
    SetEvent(cancel);
  });
  std::vector<std::uint8_t> buffer(8);
  OverlappedResult result = io.Run(buffer, pipe.Read(), INFINITE, cancel);
  canceller.join();
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  CloseHandle(cancel);

  result = io.Run(
      buffer,
      [](std::vector<std::uint8_t>&, OVERLAPPED&) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
      },
      1000);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
}

std::vector<std::uint8_t> InterfaceRecord(const GUID& interfaceClass, std::wstring_view name) {
  const std::size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t);
  std::vector<std::uint8_t> record(size);
  auto* r = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
  r->dbcc_size = static_cast<DWORD>(size);
  r->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  r->dbcc_classguid = interfaceClass;
  std::copy(name.begin(), name.end(), r->dbcc_name);
  return record;
}

TEST(DeviceChangeBroadcast, OnlyHidInterfacesThatMayBeTheMousesCount) {
  constexpr GUID kHid = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
  constexpr GUID kUsbDevice = {0xa5dcbf10, 0x6530, 0x11d2, {0x90, 0x1f, 0x00, 0xc0, 0x4f, 0xb9, 0x51, 0xed}};
  const std::wstring mouse = L"\\\\?\\hid#vid_248a&pid_5b2f&mi_01&col02#7&1&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  const std::wstring other = L"\\\\?\\hid#vid_046d&pid_c52b&mi_01&col02#7&1&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  using Kind = HidDeviceChange::Kind;
  struct Case {
    WPARAM event;
    GUID interfaceClass;
    std::wstring name;
    Kind kind;
  } cases[] = {
      {DBT_DEVICEARRIVAL, kHid, mouse, Kind::Arrival},
      {DBT_DEVICEREMOVECOMPLETE, kHid, mouse, Kind::Removal},
      {DBT_DEVICEARRIVAL, kHid, other, Kind::None},
      {DBT_DEVICEARRIVAL, kUsbDevice, mouse, Kind::None},
      {DBT_DEVICEQUERYREMOVE, kHid, mouse, Kind::None},
  };
  for (const Case& c : cases) {
    auto record = InterfaceRecord(c.interfaceClass, c.name);
    const HidDeviceChange change = ClassifyDeviceChange(c.event, reinterpret_cast<LPARAM>(record.data()));
    EXPECT_EQ(change.kind, c.kind) << c.event;
    if (c.kind != Kind::None) {
      EXPECT_EQ(change.path, std::u16string(c.name.begin(), c.name.end()));
    }
  }
  // A record cut short names no more than it holds.
  auto cut = InterfaceRecord(kHid, mouse);
  reinterpret_cast<DEV_BROADCAST_HDR*>(cut.data())->dbch_size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 10;
  EXPECT_EQ(ClassifyDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(cut.data())).path, u"\\\\?\\h");

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  EXPECT_EQ(ClassifyDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume)).kind, Kind::None);
  EXPECT_EQ(ClassifyDeviceChange(DBT_DEVNODES_CHANGED, 0).kind, Kind::None);
  // A handle this program never opened.
  DEV_BROADCAST_HANDLE handle{};
  handle.dbch_size = sizeof handle;
  handle.dbch_devicetype = DBT_DEVTYP_HANDLE;
  handle.dbch_handle = reinterpret_cast<HANDLE>(0x1234);
  EXPECT_EQ(ClassifyDeviceChange(DBT_DEVICEQUERYREMOVE, reinterpret_cast<LPARAM>(&handle)).kind, Kind::None);
}

}  // namespace
}  // namespace zeltra::win32
