#include "settings/text_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <system_error>

#include "settings/damaged_files.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

std::string Latin1Encode(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return out;
}

std::u16string Latin1Decode(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return out;
}

AnsiCodec g_codec{&Latin1Encode, &Latin1Decode};

std::atomic<long long> g_writeFaultAfter{-1};
std::atomic<long long> g_readFaultAfter{-1};

// Consumes `count` bytes of an armed fault budget; true when the fault fires.
bool FaultFires(std::atomic<long long>& budget, std::size_t count) {
  long long left = budget.load();
  if (left < 0) return false;
  if (static_cast<long long>(count) <= left) {
    budget.store(left - static_cast<long long>(count));
    return false;
  }
  budget.store(-1);
  return true;
}

FileAccess AccessFor(unsigned flags) {
  if (flags & CTextFile::modeCreate)
    return (flags & CTextFile::modeReadWrite) ? FileAccess::kCreateUpdate : FileAccess::kCreate;
  if (flags & (CTextFile::modeWrite | CTextFile::modeReadWrite)) return FileAccess::kUpdate;
  return FileAccess::kRead;
}

}  // namespace

void SetAnsiCodec(const AnsiCodec& codec) { g_codec = codec; }
void InjectTextFileWriteFault(long long afterBytes) { g_writeFaultAfter.store(afterBytes); }
void InjectTextFileReadFault(long long afterBytes) { g_readFaultAfter.store(afterBytes); }

CTextFile::~CTextFile() { Close(); }

bool CTextFile::OpenRaw(const std::filesystem::path& path, unsigned flags) {
  Close();
  const FileAccess access = AccessFor(flags);
  openStatus_ = RetryWhileBusy(kReadBusyBudgetMs, [&] {
    FileStatus status = FileStatus::kOk;
    file_ = OpenFileStream(path, access, status);
    return status;
  });
  return Adopt(file_, flags);
}

bool CTextFile::Adopt(std::FILE* file, unsigned flags) {
  file_ = file;
  if (!file_) return false;
  openStatus_ = FileStatus::kOk;
  flags_ = flags;
  failed_ = false;
  writing_ = false;
  position_ = 0;
  bufferBegin_ = bufferEnd_ = 0;
  return true;
}

bool CTextFile::Open(const std::filesystem::path& path, unsigned flags) { return OpenRaw(path, flags); }

bool CTextFile::FillBuffer() {
  if (!file_ || failed_) return false;
  std::size_t got = std::fread(buffer_, 1, sizeof buffer_, file_);
  if (got < sizeof buffer_ && std::ferror(file_)) {
    failed_ = true;
    return false;
  }
  if (got > 0 && FaultFires(g_readFaultAfter, got)) {
    failed_ = true;
    return false;
  }
  bufferBegin_ = 0;
  bufferEnd_ = got;
  return got > 0;
}

std::size_t CTextFile::ReadBytes(void* out, std::size_t count) {
  if (!file_ || failed_ || writing_) {
    if (file_ && writing_) failed_ = true;
    return 0;
  }
  auto* dst = static_cast<unsigned char*>(out);
  std::size_t done = 0;
  while (done < count) {
    if (bufferBegin_ == bufferEnd_ && !FillBuffer()) break;
    std::size_t take = std::min(count - done, bufferEnd_ - bufferBegin_);
    std::copy(buffer_ + bufferBegin_, buffer_ + bufferBegin_ + take, dst + done);
    bufferBegin_ += take;
    done += take;
  }
  position_ += done;
  return failed_ ? 0 : done;
}

bool CTextFile::WriteBytes(const void* data, std::size_t count) {
  if (!file_ || failed_) return false;
  if (bufferBegin_ != bufferEnd_) {  // never mixed in this program; refuse rather than corrupt
    failed_ = true;
    return false;
  }
  writing_ = true;
  if (FaultFires(g_writeFaultAfter, count) || std::fwrite(data, 1, count, file_) != count) {
    failed_ = true;
    return false;
  }
  position_ += count;
  return true;
}

bool CTextFile::Flush(bool durable) {
  if (!file_) return false;
  if (durable ? !FlushToDisk(file_) : std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

bool CTextFile::Close() {
  if (!file_) return false;
  bool ok = std::fclose(file_) == 0 && !failed_;
  file_ = nullptr;
  failed_ = false;
  writing_ = false;
  position_ = 0;
  bufferBegin_ = bufferEnd_ = 0;
  return ok;
}

bool CTextFile::WriteString(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t lf = text.find(u'\n', start);
    std::u16string_view part = text.substr(start, lf == std::u16string_view::npos ? std::u16string_view::npos : lf - start);
    bytes += g_codec.encode(part);
    if (lf == std::u16string_view::npos) break;
    bytes += (flags() & typeBinary) ? "\n" : "\r\n";
    start = lf + 1;
  }
  return WriteBytes(bytes.data(), bytes.size());
}

bool CTextFile::ReadString(std::u16string& out) {
  out.clear();
  std::string line;
  char c = 0;
  while (ReadBytes(&c, 1) == 1) {
    line.push_back(c);
    if (c == '\n') break;
  }
  if (Failed()) return false;
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out = g_codec.decode(line);
    return true;
  }
  out = g_codec.decode(line);
  return !out.empty();
}

bool CStdioFileEx::Open(const std::filesystem::path& path, unsigned flags) {
  unicode_ = false;
  if (flags & UnicodeMode) {
    unicode_ = true;
    flags = (flags & ~static_cast<unsigned>(typeText)) | typeBinary;
  } else if ((flags & typeText) && !(flags & (modeCreate | modeWrite))) {
    // Sniff a byte-order mark so that a Unicode file opened as text still reads right.
    CStdioFileEx probe;
    if (probe.OpenRaw(path, modeRead | typeBinary)) {
      unsigned char mark[2] = {0, 0};
      std::size_t got = probe.ReadBytes(mark, 2);
      probe.Close();
      if (got == 2 && mark[0] == 0xFF && mark[1] == 0xFE) {
        unicode_ = true;
        flags = (flags & ~static_cast<unsigned>(typeText)) | typeBinary;
      }
    }
  }
  return OpenRaw(path, flags);
}

bool CStdioFileEx::AdoptForWriting(std::FILE* file) {
  unicode_ = true;
  return Adopt(file, modeCreate | modeWrite | typeBinary);
}

bool CStdioFileEx::WriteString(std::u16string_view text) {
  if (!unicode_) return CTextFile::WriteString(text);
  if (Position() == 0) {
    static const unsigned char kMark[2] = {0xFF, 0xFE};
    if (!WriteBytes(kMark, 2)) return false;
  }
  std::string bytes;
  bytes.resize(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return WriteBytes(bytes.data(), bytes.size());
}

bool CStdioFileEx::ReadString(std::u16string& out) {
  if (!unicode_) return CTextFile::ReadString(out);
  out.clear();
  if (Position() == 0) {
    unsigned char skipped[2];
    ReadBytes(skipped, 2);
  }
  unsigned char unit[2];
  while (ReadBytes(unit, 2) == 2) {
    auto c = static_cast<char16_t>(unit[0] | (unit[1] << 8));
    out.push_back(c);
    if (c == u'\n') break;
  }
  if (Failed()) {
    out.clear();
    return false;
  }
  if (out.size() >= 2 && out.back() == u'\n') out.pop_back();
  return !out.empty();
}

bool OpenForReading(CStdioFileEx& file, const std::filesystem::path& path, FileRead& outcome) {
  if (file.Open(path, CStdioFileEx::kReadFlags)) return true;
  switch (file.OpenStatus()) {
    case FileStatus::kMissing: outcome = FileRead::kMissing; break;
    case FileStatus::kNotAFile: outcome = FileRead::kNotAFile; break;
    case FileStatus::kTooLarge: outcome = FileRead::kTooLarge; break;
    default: outcome = FileRead::kUnreadable; break;
  }
  return false;
}

bool SaveTextFileAtomically(const std::filesystem::path& target,
                            const std::function<bool(CStdioFileEx& file)>& writeLines) {
  // An empty path (a configuration without profile paths) would otherwise
  // put a stray file into the current folder.
  if (!target.has_filename()) return false;
  // Through a link the link's file is replaced, and the link stays.
  const std::filesystem::path replaced = ResolveLinks(target);
  if (!replaced.has_filename()) return false;
  std::error_code ec;
  const auto type = std::filesystem::status(replaced, ec).type();
  if (type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found) return false;
  // What could not be read whole is kept before it is replaced.
  if (!KeepDamagedOriginal(target)) return false;
  std::filesystem::path temp;
  {
    CStdioFileEx file;
    if (!file.AdoptForWriting(CreateTemporaryFile(replaced, temp))) return false;
    bool ok = writeLines(file) && !file.Failed() && file.Flush(true);
    ok = file.Close() && ok;
    if (!ok) {
      RemoveFile(temp);
      return false;
    }
  }
  // A virus scanner, indexer or backup tool may hold the target for a moment.
  const FileStatus moved = RetryWhileBusy(kReplaceBusyBudgetMs, [&] { return MoveFileOver(temp, replaced); });
  if (moved == FileStatus::kOk) return true;
  RemoveFile(temp);
  return false;
}

}  // namespace zeltra
