// Shared helpers of the test suites: scratch folders and byte-level file access.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::filesystem::path(name); }

 private:
  std::filesystem::path path_;
};

Bytes ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const Bytes& bytes);
// UTF-16LE bytes of UTF-8 text, with or without a byte-order mark.
Bytes Utf16(std::string_view utf8, bool withMark = true);
// Writes UTF-8 text as a UTF-16LE file with a byte-order mark (no conversion of line ends).
void WriteUtf16File(const std::filesystem::path& file, std::string_view utf8, bool withMark = true);
// A file of the repository's tests/data folder.
std::filesystem::path TestData(std::string_view relative);
// Readable dump for failure messages: "FF FE 5B 00 ...".
std::string Hex(const Bytes& bytes);
// UTF-16LE bytes with a carriage return before every line feed (a file an
// editor saved with Windows line ends).
Bytes WithCarriageReturns(const Bytes& utf16);

}  // namespace zeltra::test
