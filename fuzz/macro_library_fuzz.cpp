// The macro library reader on arbitrary bytes, then a round trip: whatever
// it kept must save, load back completely and come out the same, and a
// second save must give the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "macro/macro_library_file.h"

namespace {

using namespace zeltra;

// A private folder for the three files of a run, removed at exit.
struct Scratch {
  Scratch() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::exists("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
    std::random_device random;
    folder = base / ("zeltra-mlf-fuzz-" + std::to_string(random()));
    std::filesystem::create_directories(folder);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::filesystem::path folder;
};

const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.folder;
}

std::vector<char> Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using Snapshot = std::vector<
    std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::u16string, std::uint32_t, std::uint32_t,
               bool, std::uint32_t, std::uint32_t, unsigned, unsigned, unsigned, std::vector<std::uint8_t>>>;

Snapshot Snap(const MacroLibrary& library) {
  Snapshot out;
  library.ForEachItem([&](const MacroLocation& at, const MacroItem& item) {
    std::vector<std::uint8_t> actions;
    const Macro* m = item.macro.get();
    if (m)
      for (const MacroAction& a : m->AllAction) actions.insert(actions.end(), a.bytes.begin(), a.bytes.end());
    out.emplace_back(at.stage, at.stage0Index, at.stage1Index, at.stage2Index, item.name, item.MacroItemIsFolder,
                     item.MacroItemFolderIsOpen, m != nullptr, m ? m->MacroKeyIndex : 0, m ? m->MacroActionNum : 0,
                     m ? m->MacroKeyLoopType : 0u, m ? m->MacroKeyLoopNum : 0u, m ? m->MacroCommandActionNum : 0u,
                     std::move(actions));
  });
  return out;
}

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "macro library round trip: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path input = ScratchFolder() / "in.mlf";
  const std::filesystem::path first = ScratchFolder() / "first.mlf";
  const std::filesystem::path second = ScratchFolder() / "second.mlf";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  MacroLibrary library;
  MacroLocation selected;
  LoadMacroLibrary(library, input, &selected);
  Check(library.ItemCount() <= kMacroLevelCapacity * (1 + kMacroLevelCapacity * (1 + kMacroLevelCapacity)), "capacity");
  library.ForEachItem([](const MacroLocation& at, const MacroItem& item) {
    Check(at.IsValid() && !item.name.empty(), "item outside the model");
    Check(item.IsFolder() ? !item.macro && at.stage < 2 : item.macro != nullptr, "item kind");
    if (item.macro)
      Check(item.macro->MacroActionNum <= kMaxMacroActions && item.macro->MacroCommandActionNum <= kMaxMacroEvents,
            "macro counts");
  });
  for (int row = 0, rows = library.VisibleRowCount(); row < rows; ++row)
    Check(library.LocationToRow(library.RowToLocation(row)) == row, "tree rows");

  Check(SaveMacroLibrary(library, first, selected) == 1, "save");
  MacroLibrary reloaded;
  MacroLocation reloadedSelection;
  Check(LoadMacroLibrary(reloaded, first, &reloadedSelection) == 1, "reload is complete");
  Check(reloadedSelection == selected, "selected location");
  Check(reloaded.nextMacroKeyIndex == library.nextMacroKeyIndex, "next index");
  Check(Snap(reloaded) == Snap(library), "items");
  Check(SaveMacroLibrary(reloaded, second, reloadedSelection) == 1, "second save");
  Check(Contents(first) == Contents(second), "second save bytes");
  return 0;
}
