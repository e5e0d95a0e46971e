// Text files of the program: a small portable file class and CStdioFileEx,
// which adds the UTF-16 little-endian handling that every own format uses.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/file_system.h"

namespace zeltra {

// The platform-neutral base: a binary byte stream with the open flags and
// narrow-text line handling of a classic stdio text file. Errors after a
// successful open are sticky: the failing call returns false and Failed()
// stays true until the file is closed.
class CTextFile {
 public:
  enum : unsigned {
    modeRead = 0x0,
    modeWrite = 0x1,
    modeReadWrite = 0x2,
    modeCreate = 0x1000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };

  CTextFile() = default;
  CTextFile(const CTextFile&) = delete;
  CTextFile& operator=(const CTextFile&) = delete;
  virtual ~CTextFile();

  // A file held by another program is tried again for a moment. Reading
  // asks for read access only, so a read-only file can be read.
  virtual bool Open(const std::filesystem::path& path, unsigned flags);
  // Narrow text: the line is converted to the ANSI code page (see SetAnsiCodec);
  // in text mode a line feed is written as carriage return + line feed.
  virtual bool WriteString(std::u16string_view text);
  // Narrow text: reads one line, drops a trailing CR LF (text mode) or LF.
  virtual bool ReadString(std::u16string& out);

  // Flushes buffered bytes; with `durable` also asks the system to put them
  // on the disk. Returns false on any error.
  bool Flush(bool durable);
  // Closes the file; false when buffered bytes could not be written.
  bool Close();

  bool IsOpen() const { return file_ != nullptr; }
  // Why the last Open failed (kOk after a successful one): only a kMissing
  // file may be replaced by defaults.
  FileStatus OpenStatus() const { return openStatus_; }
  bool Failed() const { return failed_; }
  // Byte position of the next read or write.
  std::uint64_t Position() const { return position_; }

 protected:
  // Raw I/O used by the derived class. ReadBytes returns the number of bytes
  // read (short at the end of the file; 0 with Failed() set on an error).
  std::size_t ReadBytes(void* buffer, std::size_t count);
  bool WriteBytes(const void* buffer, std::size_t count);
  bool OpenRaw(const std::filesystem::path& path, unsigned flags);
  // Takes over a stream opened elsewhere with the meaning of `flags`.
  bool Adopt(std::FILE* file, unsigned flags);
  unsigned flags() const { return flags_; }

 private:
  bool FillBuffer();

  std::FILE* file_ = nullptr;
  unsigned flags_ = 0;
  FileStatus openStatus_ = FileStatus::kOk;
  bool failed_ = false;
  bool writing_ = false;
  std::uint64_t position_ = 0;
  // Own read buffer: lines are assembled unit by unit without a call per unit.
  unsigned char buffer_[4096];
  std::size_t bufferBegin_ = 0;
  std::size_t bufferEnd_ = 0;
};

// Text file with optional UTF-16 little-endian handling (UnicodeMode).
class CStdioFileEx : public CTextFile {
 public:
  static constexpr unsigned UnicodeMode = 0x100000;
  // The two ways the program opens its own files. Reading asks for read
  // access only: with read-write access a read-only file could not be read
  // and would be taken for a missing one.
  static constexpr unsigned kReadFlags = modeRead | UnicodeMode;                 // 0x100000
  static constexpr unsigned kWriteFlags = modeCreate | modeWrite | UnicodeMode;  // 0x101001

  bool Open(const std::filesystem::path& path, unsigned flags) override;
  // Unicode: at position 0 the byte-order mark FF FE goes first; then the code
  // units, unchanged (a line feed stays one unit).
  bool WriteString(std::u16string_view text) override;
  // Unicode: at position 0 two bytes are skipped, mark or not. A line ends
  // after a line feed or at the end of the file and has no length limit; one
  // trailing line feed is removed unless it is the whole line; a carriage
  // return stays. True when the line is not empty.
  bool ReadString(std::u16string& out) override;

  bool IsUnicode() const { return unicode_; }

 private:
  friend bool SaveTextFileAtomically(const std::filesystem::path&, const std::function<bool(CStdioFileEx&)>&);
  // A new file created for writing, as if opened with kWriteFlags.
  bool AdoptForWriting(std::FILE* file);

  bool unicode_ = false;
};

// What reading one of the program's files came to. Only a missing or an
// invalid file may be replaced by defaults (an invalid one after a copy of it
// was kept, see damaged_files.h); one that could not be opened (held by
// another program, no permission, not a regular file, too large) is left
// alone.
enum class FileRead { kRead, kMissing, kInvalid, kUnreadable, kNotAFile, kTooLarge };

// The file is there but could not be opened for reading.
inline bool CouldNotOpen(FileRead read) {
  return read == FileRead::kUnreadable || read == FileRead::kNotAFile || read == FileRead::kTooLarge;
}

// Opens `file` for reading with kReadFlags; on failure says whether the file
// is missing or unreadable.
bool OpenForReading(CStdioFileEx& file, const std::filesystem::path& path, FileRead& outcome);

// Writes a whole file through a temporary file in the target's folder, flushed
// to the disk, that then replaces the target. The temporary file has a name
// of its own that no other file has ("~zeltra-<hex>.tmp", created only when
// free), so a long target name never makes it too long and a user's file is
// never overwritten. A target held by another program is tried again for
// about two seconds; a read-only one is not replaced, nor a folder, pipe or
// device. A symbolic link is kept: the file it leads to is replaced (the
// temporary file beside that file). A file the program could not read whole
// is first kept beside itself (KeepDamagedOriginal), and not replaced when
// that copy cannot be made. A failure at any step
// (open, any line, flush, replace) leaves the old file as it was, removes the
// temporary file and returns false.
bool SaveTextFileAtomically(const std::filesystem::path& target,
                            const std::function<bool(CStdioFileEx& file)>& writeLines);

// Conversion used by narrow (non-Unicode) text files. The portable default is
// Latin-1; the Windows front end installs the ANSI code page.
struct AnsiCodec {
  std::string (*encode)(std::u16string_view);
  std::u16string (*decode)(std::string_view);
};
void SetAnsiCodec(const AnsiCodec& codec);

// Test seam: make the next raw write or read fail once `afterBytes` more bytes
// have gone through. Negative disables. Process-wide; tests only.
void InjectTextFileWriteFault(long long afterBytes);
void InjectTextFileReadFault(long long afterBytes);

}  // namespace zeltra
