#include "ui/file_dialog.h"

#include <utility>

namespace zeltra {

namespace {
FileDialogRunner& Runner() {
  static FileDialogRunner runner;
  return runner;
}
}  // namespace

std::u16string PlatformFilter(std::u16string_view filter) {
  std::u16string out(filter);
  for (char16_t& c : out) {
    if (c == u'|') c = u'\0';
  }
  // Two terminators after the last pattern, however the text ended.
  while (!out.empty() && out.back() == u'\0') out.pop_back();
  out.push_back(u'\0');
  out.push_back(u'\0');
  return out;
}

FileDialogRunner SetFileDialogRunner(FileDialogRunner runner) { return std::exchange(Runner(), std::move(runner)); }

std::optional<std::filesystem::path> RunFileDialog(const FileDialogRequest& request) {
  if (!Runner()) return std::nullopt;
  return Runner()(request);
}

}  // namespace zeltra
