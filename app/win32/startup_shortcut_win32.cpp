#include "app/win32/startup_shortcut_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <system_error>

#include "base/win32/unique_handle_win32.h"
#include "ui/win32/wide_win32.h"

namespace zeltra::win32 {

namespace {

// A COM interface the caller holds one reference of.
template <class Interface>
struct ComTraits {
  using Handle = Interface*;
  static constexpr Handle kNone = nullptr;
  static bool Valid(Handle object) noexcept { return object != nullptr; }
  static void Close(Handle object) noexcept { object->Release(); }
};
template <class Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;

// COM for the calls of one function on this thread; let go only when this
// call was the one that started it (a thread that already has another
// apartment kind still serves the shell link's in-process object).
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

UniqueCom<IShellLinkW> NewShellLink() {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return {};
  return UniqueCom<IShellLinkW>(link);
}

UniqueCom<IPersistFile> FileOf(IShellLinkW* link) {
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return {};
  return UniqueCom<IPersistFile>(file);
}

}  // namespace

std::filesystem::path StartupFolder() {
  wchar_t folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return {};
  return std::filesystem::path(folder);
}

bool WriteShortcut(const StartupShortcut& shortcut) {
  if (shortcut.file.empty() || shortcut.target.empty()) return false;
  const ComScope com;
  const UniqueCom<IShellLinkW> link = NewShellLink();
  if (!link) return false;
  const UniqueCom<IPersistFile> file = FileOf(link.get());
  if (!file) return false;
  if (FAILED(link.get()->SetPath(shortcut.target.c_str())) ||
      FAILED(link.get()->SetArguments(Wide(shortcut.arguments))) ||
      FAILED(link.get()->SetWorkingDirectory(shortcut.workingFolder.c_str())) ||
      FAILED(link.get()->SetDescription(Wide(shortcut.description))))
    return false;
  return SUCCEEDED(file.get()->Save(shortcut.file.c_str(), TRUE));
}

std::optional<ShortcutContents> ReadShortcut(const std::filesystem::path& shortcut) {
  std::error_code ec;
  if (shortcut.empty() || !std::filesystem::is_regular_file(shortcut, ec)) return std::nullopt;
  const ComScope com;
  const UniqueCom<IShellLinkW> link = NewShellLink();
  if (!link) return std::nullopt;
  const UniqueCom<IPersistFile> file = FileOf(link.get());
  if (!file || FAILED(file.get()->Load(shortcut.c_str(), STGM_READ))) return std::nullopt;
  // Raw: the target as stored, not resolved (which could search the disks).
  wchar_t target[MAX_PATH] = {};
  wchar_t arguments[INFOTIPSIZE] = {};
  if (FAILED(link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  if (FAILED(link.get()->GetArguments(arguments, INFOTIPSIZE))) arguments[0] = L'\0';
  return ShortcutContents{std::filesystem::path(target), FromWide(arguments)};
}

bool RemoveShortcut(const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  return !std::filesystem::exists(file, ec) && !ec;
}

}  // namespace zeltra::win32
