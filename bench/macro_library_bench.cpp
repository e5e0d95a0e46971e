// Costs of the macro library: an empty library must stay small and quick
// whatever its 219,660 positions; 1,000 full macros load and save well under
// 100 ms; the tree rows of a library with every folder open are walked in
// time linear in the rows.
//
// Files go to /dev/shm when it exists (the model's own cost); the *OnDisk
// variants save into the system's temporary folder, where the atomic save
// waits for the disk.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "macro/macro_library_file.h"

namespace {

using namespace zeltra;

// Live heap bytes of the whole program, counted by the global allocator.
std::atomic<long long> g_liveBytes{0};

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size + sizeof(std::max_align_t));
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  g_liveBytes += static_cast<long long>(size);
  return static_cast<char*>(p) + sizeof(std::max_align_t);
}
void operator delete(void* p) noexcept {
  if (!p) return;
  char* block = static_cast<char*>(p) - sizeof(std::max_align_t);
  g_liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

std::filesystem::path Folder(bool onDisk) {
  std::error_code ec;
  std::filesystem::path base = !onDisk && std::filesystem::exists("/dev/shm", ec)
                                   ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path();
  std::filesystem::path folder = base / "zeltra-macro-bench";
  std::filesystem::create_directories(folder);
  return folder;
}

std::u16string Name(int i) {
  const std::string s = "macro " + std::to_string(i);
  return std::u16string(s.begin(), s.end());
}

// 1,000 macros of 336 actions: 17 top-level folders of up to 60 macros.
void FillThousandMacros(MacroLibrary& lib) {
  for (int i = 0; i < 1000; ++i) {
    MacroLocation folder = MacroLocation::At(i / 60);
    if (i % 60 == 0) lib.PutFolderItem(Name(-i), folder, true);
    MacroLocation at = folder;
    lib.AddMacro(Name(i), at);
    Macro& m = *lib.MacroAt(at);
    for (int a = 0; a < kMaxMacroActions; ++a)
      m.InsertAction(
          a, a % 2 ? MacroAction::Delay(static_cast<std::uint32_t>(a * 7)) : MacroAction::Event(0x41, a % 4 == 2));
    m.MacroCommandActionNum = kMaxMacroEvents;
  }
}

void BM_EmptyLibraryMemory(benchmark::State& state) {
  long long bytes = 0;
  for (auto _ : state) {
    const long long before = g_liveBytes;
    auto* lib = new MacroLibrary;
    bytes = g_liveBytes - before;
    benchmark::DoNotOptimize(lib);
    delete lib;
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EmptyLibraryMemory);

void BM_EmptyLibrarySave(benchmark::State& state) {
  const auto path = Folder(state.range(0) != 0) / "empty.mlf";
  MacroLibrary lib;
  for (auto _ : state) benchmark::DoNotOptimize(SaveMacroLibrary(lib, path, MacroLocation::None()));
}
BENCHMARK(BM_EmptyLibrarySave)->ArgName("onDisk")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_EmptyLibraryLoad(benchmark::State& state) {
  const auto path = Folder(false) / "empty.mlf";
  {
    MacroLibrary lib;
    SaveMacroLibrary(lib, path, MacroLocation::None());
  }
  MacroLibrary lib;
  long long bytes = 0;
  for (auto _ : state) {
    const long long before = g_liveBytes;
    benchmark::DoNotOptimize(LoadMacroLibrary(lib, path));
    bytes = g_liveBytes - before;
  }
  state.counters["bytes_held_after_load"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EmptyLibraryLoad)->Unit(benchmark::kMicrosecond);

void BM_ThousandMacrosSave(benchmark::State& state) {
  const auto path = Folder(state.range(0) != 0) / "thousand.mlf";
  MacroLibrary lib;
  FillThousandMacros(lib);
  for (auto _ : state) benchmark::DoNotOptimize(SaveMacroLibrary(lib, path, MacroLocation::None()));
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ThousandMacrosSave)->ArgName("onDisk")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ThousandMacrosLoad(benchmark::State& state) {
  const auto path = Folder(false) / "thousand.mlf";
  {
    MacroLibrary lib;
    FillThousandMacros(lib);
    SaveMacroLibrary(lib, path, MacroLocation::None());
  }
  MacroLibrary lib;
  const long long before = g_liveBytes;
  for (auto _ : state) {
    if (LoadMacroLibrary(lib, path) != 1 || lib.ItemCount() != 1017) state.SkipWithError("incomplete load");
  }
  state.counters["heap_bytes"] = static_cast<double>(g_liveBytes - before);
}
BENCHMARK(BM_ThousandMacrosLoad)->Unit(benchmark::kMillisecond);

// n top-level folders, each with 60 folders of 10 macros, every folder open.
void FillOpenTree(MacroLibrary& lib, int topFolders) {
  for (int a = 0; a < topFolders; ++a) {
    lib.PutFolderItem(Name(a), MacroLocation::At(a), true);
    for (int b = 0; b < kMacroLevelCapacity; ++b) {
      lib.PutFolderItem(Name(b), MacroLocation::At(a, b), true);
      for (int c = 0; c < 10; ++c) lib.PutMacroItem(Name(c), MacroLocation::At(a, b, c), nullptr);
    }
  }
}

void BM_TreeRowsAllOpen(benchmark::State& state) {
  MacroLibrary lib;
  FillOpenTree(lib, static_cast<int>(state.range(0)));
  const int rows = lib.VisibleRowCount();
  for (auto _ : state) {
    std::size_t nameUnits = 0;
    lib.ForEachVisibleRow(0, [&](int, const MacroLocation& at, const MacroItem& item) {
      nameUnits += item.name.size() + static_cast<std::size_t>(at.stage);
      return true;
    });
    benchmark::DoNotOptimize(nameUnits);
  }
  state.SetComplexityN(rows);
  state.SetItemsProcessed(state.iterations() * rows);
  state.counters["rows"] = rows;
}
BENCHMARK(BM_TreeRowsAllOpen)->RangeMultiplier(4)->Range(1, 60)->Complexity(benchmark::oN);

void BM_TreeRowCountAllOpen(benchmark::State& state) {
  MacroLibrary lib;
  FillOpenTree(lib, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lib.VisibleRowCount());
  state.SetComplexityN(lib.VisibleRowCount());
}
BENCHMARK(BM_TreeRowCountAllOpen)->RangeMultiplier(4)->Range(1, 60)->Complexity(benchmark::oN);

}  // namespace
