#include "support/test_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "settings/text_format.h"

namespace zeltra::test {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    path_ = std::filesystem::temp_directory_path() /
            ("zeltra-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directories(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

Bytes ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

Bytes Utf16(std::string_view utf8, bool withMark) {
  Bytes out;
  if (withMark) out = {0xFF, 0xFE};
  for (char16_t c : FromUtf8(utf8)) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

void WriteUtf16File(const std::filesystem::path& file, std::string_view utf8, bool withMark) {
  WriteBytes(file, Utf16(utf8, withMark));
}

std::filesystem::path TestData(std::string_view relative) {
  return std::filesystem::path(ZELTRA_TEST_DATA_DIR) / std::filesystem::path(relative);
}

Bytes WithCarriageReturns(const Bytes& utf16) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    if (utf16[i] == '\n' && utf16[i + 1] == 0) out.insert(out.end(), {'\r', 0});
    out.insert(out.end(), {utf16[i], utf16[i + 1]});
  }
  return out;
}

std::string Hex(const Bytes& bytes) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

}  // namespace zeltra::test
