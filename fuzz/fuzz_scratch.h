// A private scratch folder for fuzz targets that go through real files: in
// memory-backed /dev/shm where there is one (the saves flush to the disk),
// removed when the process ends normally.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace zeltra::fuzz {

inline const std::filesystem::path& ScratchDir() {
  // Never destroyed, so the exit handler that removes the folder can still use it.
  static const std::filesystem::path* const dir = [] {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    auto* path = new std::filesystem::path(base / ("zeltra-fuzz-" + std::to_string(stamp)));
    std::filesystem::create_directories(*path);
    return path;
  }();
  static const bool cleanup = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(*dir, ignored);
  }) == 0;
  (void)cleanup;
  return *dir;
}

inline void WriteInput(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) std::abort();
}

}  // namespace zeltra::fuzz
