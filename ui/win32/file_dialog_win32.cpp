#include "ui/win32/file_dialog_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

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
  const BOOL chosen = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
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
