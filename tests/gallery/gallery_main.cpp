// zeltra_gallery.exe --list
// zeltra_gallery.exe --scene NAME --out FILE.png [--lang en|zh] [--wait MS]
// Opens one scene on the program's skins and language files, waits for it to
// paint, captures the screen area of the scene's windows into a PNG and exits.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "app/window_placement.h"
#include "gallery.h"
#include "settings/language.h"
#include "ui/ui_context.h"
#include "ui/win32/draw_win32.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/scoped_win32.h"

namespace zeltra::gallery {
namespace {

std::map<std::string, SceneFunction>& Scenes() {
  static std::map<std::string, SceneFunction> scenes;
  return scenes;
}

std::vector<std::unique_ptr<win32::CDialog>>& KeptDialogs() {
  static std::vector<std::unique_ptr<win32::CDialog>> dialogs;
  return dialogs;
}

std::filesystem::path ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) win32::DispatchOneMessage(msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool SavePng(HBITMAP bitmap, const std::wstring& file) {
  namespace gp = Gdiplus::DllExports;
  static const CLSID kPng = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Gdiplus::GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok) return false;
  const bool ok = gp::GdipSaveImageToFile(image, file.c_str(), &kPng, nullptr) == Gdiplus::Ok;
  gp::GdipDisposeImage(image);
  return ok;
}

// The union of the windows' screen rectangles, copied from the screen.
bool Capture(const std::vector<HWND>& windows, const std::wstring& file) {
  RECT area{};
  bool any = false;
  for (HWND hwnd : windows) {
    RECT r{};
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r)) continue;
    if (!any) {
      area = r;
      any = true;
    } else {
      UnionRect(&area, &area, &r);
    }
  }
  if (!any) return false;
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  const win32::WindowDc screen(nullptr);
  const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  const win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
  {
    const win32::SelectionScope selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
  }
  return SavePng(bitmap.get(), file);
}

// Every visible top-level window of this process.
std::vector<HWND> ProcessWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

int Run(int argc, wchar_t** argv) {
  std::wstring scene;
  std::wstring out;
  std::wstring lang = L"en";
  int waitMs = 1200;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == L"--list") {
      for (const auto& [name, open] : Scenes()) std::printf("%s\n", name.c_str());
      return 0;
    }
    if (arg == L"--scene" && more) scene = argv[++i];
    else if (arg == L"--out" && more) out = argv[++i];
    else if (arg == L"--lang" && more) lang = argv[++i];
    else if (arg == L"--wait" && more) waitMs = _wtoi(argv[++i]);
  }
  const auto found = Scenes().find(std::string(scene.begin(), scene.end()));
  if (found == Scenes().end() || out.empty()) {
    std::fprintf(stderr, "usage: zeltra_gallery --list | --scene NAME --out FILE.png [--lang en|zh]\n");
    return 2;
  }

  UiContext& ui = Ui();
  ui.programFolder = ExeFolder();
  ui.fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  ui.fullScreenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  ui.scale = UiScaleFactor(ui.fullScreenWidth, ui.fullScreenHeight);
  ui.textScale = static_cast<float>(GetDeviceCaps(win32::WindowDc(nullptr).get(), LOGPIXELSX)) / 96.0f;

  // The shipped language files, with a selector of the gallery's choice.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  ui.dataFolder = std::filesystem::path(temp) / L"zeltra-gallery";
  const std::filesystem::path config = ui.dataFolder / L"config";
  std::error_code ec;
  std::filesystem::remove_all(ui.dataFolder, ec);
  std::filesystem::create_directories(config, ec);
  InstallDefaultLanguageFiles(ui.programFolder / L"lang", config);
  if (lang == L"zh") {
    // "[ChangeLanguage]\nLanguage=CN\n" in UTF-16LE with a byte-order mark.
    const std::u16string text = u"\uFEFF[ChangeLanguage]\nLanguage=CN\n";
    if (FILE* f = _wfopen((config / L"LanSetting.ini").c_str(), L"wb")) {
      std::fwrite(text.data(), sizeof(char16_t), text.size(), f);
      std::fclose(f);
    }
  }
  LoadLanguage(config, ui.scale);

  win32::GdiplusSession gdiplus;
  auto host = std::make_unique<HostDialog>();
  if (!host->Create()) return 3;
  SetWindowPos(host->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  win32::CDialog::SetMainWindow(host->hwnd());
  SceneContext context{*host, ui.scale, {}, false, -1, {}};
  context.captureNow = [&] {
    std::vector<HWND> windows = context.windows.empty() ? ProcessWindows() : context.windows;
    if (context.includeHost) windows.push_back(host->hwnd());
    if (!context.includeHost && context.windows.empty()) {
      std::erase(windows, host->hwnd());
    }
    const bool ok = Capture(windows, out);
    std::fflush(stdout);
    // A test tool: the process ends here, whatever the scene left open.
    ExitProcess(ok ? 0 : 4);
  };
  found->second(context);
  Pump(context.waitMs >= 0 ? context.waitMs : waitMs);
  context.captureNow();
  return 4;
}

}  // namespace

HostDialog::HostDialog() : CDlgBase(IDD_SMALL_DIALOG, nullptr) {
  width_ = Scaled(320);
  height_ = Scaled(200);
  registersOpenDialog_ = false;
}

void HostDialog::DrawBackground(HDC dc, const RECT& client) {
  win32::FillSolid(dc, client, RGB(20, 20, 20));
  DrawControls(dc, client);
}

win32::MessageResult HostDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Popup results and control notifications: the gallery only looks.
  if (message >= WM_USER && message < 0x8000) return 0;
  return CDlgBase::OnMessage(message, wParam, lParam);
}

SceneRegistrar::SceneRegistrar(const char* name, SceneFunction open) { Scenes()[name] = std::move(open); }

HWND OpenModeless(std::unique_ptr<win32::CDialog> dialog) {
  if (!dialog->Create()) return nullptr;
  HWND hwnd = dialog->GetSafeHwnd();
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd);
  KeptDialogs().push_back(std::move(dialog));
  return hwnd;
}

}  // namespace zeltra::gallery

int wmain(int argc, wchar_t** argv) { return zeltra::gallery::Run(argc, argv); }
