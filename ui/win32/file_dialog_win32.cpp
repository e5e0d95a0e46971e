#include "ui/win32/file_dialog_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "settings/win32/system_library_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// comdlg32.dll is loaded when a file dialog is first shown, not at start:
// with what it loads in turn (the common controls, the print spooler) it
// would delay the window's first paint for a dialog most starts never show.
struct FileDialogFunctions {
  decltype(&::GetOpenFileNameW) open = nullptr;
  decltype(&::GetSaveFileNameW) save = nullptr;
};

BOOL WINAPI NoFileDialog(LPOPENFILENAMEW) { return FALSE; }

const FileDialogFunctions& CommonDialogs() {
  static const FileDialogFunctions functions = [] {
    SystemFunctions dll(LoadSystemLibrary(L"comdlg32.dll"));
    FileDialogFunctions f;
    f.open = dll.Take<decltype(&::GetOpenFileNameW)>("GetOpenFileNameW", &NoFileDialog);
    f.save = dll.Take<decltype(&::GetSaveFileNameW)>("GetSaveFileNameW", &NoFileDialog);
    return f;
  }();
  return functions;
}

}  // namespace

std::optional<std::filesystem::path> RunStandardFileDialog(HWND owner, const FileDialogRequest& request) {
  const std::wstring filter = ToWide(PlatformFilter(request.filter));
  const std::wstring extension = ToWide(request.defaultExtension);
  const std::wstring title = ToWide(request.title);
  // The buffer holds the proposed name on the way in and the path on the way out.
  std::vector<wchar_t> buffer(static_cast<std::size_t>(std::max(request.bufferChars, 2)), L'\0');
  const std::size_t proposed = std::min(request.initialName.size(), buffer.size() - 1);
  std::copy_n(reinterpret_cast<const wchar_t*>(request.initialName.data()), proposed, buffer.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = request.flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
  const BOOL chosen = request.save ? CommonDialogs().save(&ofn) : CommonDialogs().open(&ofn);
  // A path longer than the buffer comes back as a failure with its length;
  // it is not chosen.
  if (!chosen) return std::nullopt;
  return std::filesystem::path(buffer.data());
}

void InstallStandardFileDialogs() {
  SetFileDialogRunner([](const FileDialogRequest& request) {
    return RunStandardFileDialog(GetActiveWindow(), request);
  });
}

}  // namespace zeltra::win32
