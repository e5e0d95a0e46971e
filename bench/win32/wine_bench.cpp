// zeltra-wine-bench: the figures tools/bench-wine.sh collects under Wine.
//
//   paint PROGRAM_FOLDER WIDTH HEIGHT   the real main window laid out for a
//       full screen of WIDTH x HEIGHT (1920 1080: scale 1.0; 3840 2160: 2.0):
//       "full_paint_ms blit_ms ratio picture_ms controls_ms": one whole paint
//       of the window against one paint of a window of its size that is one
//       block transfer of a bitmap (medians), and of the paint the picture
//       drawn into a memory bitmap and the controls alone
//   apply                               a change of every group of the
//       current profile applied to the virtual mouse in virtual time:
//       "elapsed_ms reports floor_ms ratio cpu_ms"
//   stats                               the running program (its main window's
//       process): "cpu_ms" (Wine reports no private bytes of another
//       process; the script reads them from the system)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_ids.h"
#include "app/win32/tarvin_app_win32.h"
#include "app/win32/tarvin_dlg_win32.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "cli/headless_host.h"
#include "device/virtual_mouse.h"
#include "settings/settings_store.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/scoped_win32.h"

namespace {

using namespace zeltra;
using win32::CTarvinDlg;
using win32::TarvinOptions;

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

std::filesystem::path ScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  auto folder = std::filesystem::path(temp) / (L"zeltra-bench-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(folder / "config");
  return folder;
}

class BenchDialog : public CTarvinDlg {
 public:
  using CTarvinDlg::CTarvinDlg;
  HWND hwnd() const { return hwnd_; }
};

BenchDialog* g_dialog = nullptr;
HDC g_blitSource = nullptr;

LRESULT CALLBACK BlitWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client{};
  GetClientRect(hwnd, &client);
  if (g_blitSource != nullptr) BitBlt(dc, 0, 0, client.right, client.bottom, g_blitSource, 0, 0, SRCCOPY);
  EndPaint(hwnd, &ps);
  return 0;
}
double g_paintMs = 0, g_blitMs = 0, g_pictureMs = 0, g_controlsMs = 0;

void CALLBACK Measure(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND hwnd = g_dialog->hwnd();
  if (!IsWindowVisible(hwnd) || IsIconic(hwnd)) {
    SetTimer(nullptr, 0, 100, &Measure);  // not up yet
    return;
  }
  RECT client{};
  GetClientRect(hwnd, &client);
  // Warm: the first paint decodes what it has not decoded yet.
  for (int i = 0; i < 3; ++i) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  std::vector<double> paints, blits;
  for (int i = 0; i < 40; ++i) {
    const double start = NowMs();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    GdiFlush();
    paints.push_back(NowMs() - start);
  }
  const win32::WindowDc window(hwnd);
  // A picture like the paint's own buffer (32 bits, rows from the top).
  win32::BackBuffer picture(win32::BackBuffer::Format::TopDown32);
  picture.Prepare(window.get(), client.right, client.bottom);
  HDC memory = picture.dc();
  // Where a paint's time goes: the whole picture into a memory bitmap, and
  // the controls alone.
  win32::CDlgBase& base = *g_dialog;
  std::vector<double> pictures, controls;
  for (int i = 0; i < 20; ++i) {
    double start = NowMs();
    base.DrawBackground(memory, client);
    GdiFlush();
    pictures.push_back(NowMs() - start);
    start = NowMs();
    base.DrawControls(memory, client);
    GdiFlush();
    controls.push_back(NowMs() - start);
  }
  g_pictureMs = Median(pictures);
  g_controlsMs = Median(controls);
  PatBlt(memory, 0, 0, client.right, client.bottom, WHITENESS);
  // The yardstick: a window of the same size and place whose whole paint is
  // one block transfer of that bitmap; Wine hands both to the X server the
  // same way when the paint ends.
  g_blitSource = memory;
  RECT place{};
  GetWindowRect(hwnd, &place);
  HWND yardstick = CreateWindowExW(WS_EX_TOPMOST, L"ZeltraBenchBlit", L"", WS_POPUP | WS_VISIBLE, place.left, place.top,
                                   client.right, client.bottom, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(yardstick);
  for (int i = 0; i < 40; ++i) {
    const double start = NowMs();
    RedrawWindow(yardstick, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    GdiFlush();
    blits.push_back(NowMs() - start);
  }
  DestroyWindow(yardstick);
  g_blitSource = nullptr;
  g_paintMs = Median(paints);
  g_blitMs = Median(blits);
  PostMessageW(hwnd, WM_COMMAND, kIdTrayExit, 0);
}

int Paint(const std::filesystem::path& programFolder, int width, int height) {
  if (!win32::CTarvinApp::RegisterMainWindowClass()) return 1;
  WNDCLASSEXW blit{};
  blit.cbSize = sizeof(blit);
  blit.lpfnWndProc = BlitWindowProc;
  blit.hInstance = GetModuleHandleW(nullptr);
  blit.lpszClassName = L"ZeltraBenchBlit";
  RegisterClassExW(&blit);
  const auto data = ScratchFolder();
  {
    SettingsStore store(data);
    store.LoadConfiguration();
    store.Globals().SetValue(kNeedPassword, u"0");  // up at once
    store.SaveAll();
  }
  VirtualClock clock;
  auto mouse = MakeDemoVirtualMouse(clock);
  TarvinOptions options;
  options.programFolder = programFolder;
  options.dataFolder = data;
  options.clock = &clock;
  options.backend = mouse;
  options.virtualMouse = mouse;
  options.fullScreen = SIZE{width, height};
  {
    win32::GdiplusSession gdiplus;
    BenchDialog dialog(std::move(options));
    g_dialog = &dialog;
    SetTimer(nullptr, 0, 500, &Measure);
    dialog.DoModal();
    g_dialog = nullptr;
  }
  std::error_code ec;
  std::filesystem::remove_all(data, ec);
  std::printf("%.3f %.3f %.2f %.3f %.3f\n", g_paintMs, g_blitMs, g_blitMs > 0 ? g_paintMs / g_blitMs : 0.0,
              g_pictureMs, g_controlsMs);
  return g_paintMs > 0 ? 0 : 1;
}

double CpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

int Apply() {
  const auto data = ScratchFolder();
  SettingsStore settings(data);
  settings.LoadConfiguration();
  VirtualClock clock;
  auto mouse = MakeDemoVirtualMouse(clock);
  HeadlessLinkHost host(settings);
  DeviceLink link(mouse, clock, host, host, host);
  link.InitStandby(0);
  link.ReloadDeviceCaches();
  link.ScanDevices();
  link.ApplyPendingChanges();  // the scan's own apply: nothing differs yet

  // Every group changes: the buttons trade places, every DPI stage, the
  // rate, the lighting mode, lift-off, debounce, power and wake-up.
  ProfileRecord& p = settings.CurrentProfile();
  std::rotate(p.Key.begin(), p.Key.begin() + 1, p.Key.end());
  p.DPIOffOnFlagValue = 0x1B;
  for (auto& step : p.XYSettingValue) step = static_cast<std::uint16_t>(step + 2);
  for (auto& colour : p.DPILevelIndicationValue) colour ^= 0x00102030;
  p.CurrentDPILevelValue = 2;
  p.PollingRateValue[0] = 1;
  p.Lighting1ModeValue[0] = static_cast<std::uint8_t>((p.Lighting1ModeValue[0] + 3) % 10);
  p.SetSetting(kLiftDetectionHeight, u"1");
  p.SetSetting(kKeyDebounce, u"4");
  SetPowerDownTime(p, 9);
  SetMoveLightingOnOff(p, 1);
  SetMotionWakeup(p, 0);

  mouse->ClearLog();
  const std::int64_t before = clock.NowMs();
  const double cpuBefore = CpuMs(GetCurrentProcess());
  link.RequestApply(kPendingButtons | kPendingSettings | kPendingPower | kPendingWake);
  link.ApplyPendingChanges();
  const double cpu = CpuMs(GetCurrentProcess()) - cpuBefore;
  const std::int64_t elapsed = clock.NowMs() - before;
  const auto reports = static_cast<long long>(mouse->Writes().size());
  link.Close();
  std::error_code ec;
  std::filesystem::remove_all(data, ec);
  const long long floor = reports * 60;
  std::printf("%lld %lld %lld %.4f %.1f\n", static_cast<long long>(elapsed), reports, floor,
              floor > 0 ? static_cast<double>(elapsed) / static_cast<double>(floor) : 0.0, cpu);
  for (const std::string& v : mouse->Violations()) std::fprintf(stderr, "violation: %s\n", v.c_str());
  return reports > 0 ? 0 : 1;
}

int Stats() {
  HWND window = FindWindowW(kMainWindowClass, nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "the program is not running\n");
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (process == nullptr) return 1;
  std::printf("%.1f\n", CpuMs(process));
  CloseHandle(process);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"paint" && argc == 5) return Paint(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
  if (command == L"apply") return Apply();
  if (command == L"stats") return Stats();
  std::fprintf(stderr, "usage: zeltra-wine-bench paint PROGRAM_FOLDER WIDTH HEIGHT | apply | stats\n");
  return 2;
}
