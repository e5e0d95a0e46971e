// The HID trace: one text line per transfer between the program and the
// mouse, for bug reports. It wraps any backend of the seam (the HID class
// driver, hidraw or the virtual mouse) and is only there when asked for, so
// a program without a trace pays nothing.
//
// Line format, fields separated by one space:
//   <ms since the trace began> <cable|receiver|other> <set-feature|get-feature|input-report> <ok|failed REASON> <bytes in hex>
// REASON is the system's (HidErrorText: "error=1167", "errno=19", "timeout").
// A line starting with "#" is a comment (the first line names the columns).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "device/clock.h"
#include "device/hid_backend.h"

namespace zeltra {

enum class TraceDirection { SetFeature, GetFeature, InputReport };

// Where the lines go. Any thread may write; each call carries one whole line
// (with its line feed) and must not throw.
class HidTraceSink {
 public:
  virtual ~HidTraceSink() = default;
  virtual void WriteLine(std::string_view line) noexcept = 0;
};

// Appends to `path` (created when missing), or to standard error for "-".
// The stream is unbuffered: every line is exactly one write to the system, so
// a transfer waits for a slow disk at most for that one call, no line is left
// in a buffer when the program ends abruptly, and lines of two threads never
// mix. Write errors (a full disk, a closed pipe) are ignored. Nothing when
// the file cannot be opened.
std::shared_ptr<HidTraceSink> OpenHidTraceFile(const std::filesystem::path& path);

class HidTrace {
 public:
  // Times are counted from now on `clock`, which must outlive the trace.
  // Writes the comment line that names the columns. Without a sink the trace
  // only counts.
  HidTrace(std::shared_ptr<HidTraceSink> sink, const Clock& clock);

  // One transfer. `bytes`: what was sent, or what came back (nothing for a
  // failed read); `error`: why it failed. Never throws.
  void Record(std::string_view link, TraceDirection direction, std::span<const std::uint8_t> bytes, bool ok,
              const HidError& error = {}) noexcept;

  // Transfers recorded so far, and how many of them failed.
  int Transfers(TraceDirection direction) const { return counts_[Slot(direction)].load(); }
  int Failures(TraceDirection direction) const { return failures_[Slot(direction)].load(); }

  static std::string FormatLine(std::int64_t ms, std::string_view link, TraceDirection direction,
                                std::span<const std::uint8_t> bytes, bool ok, const HidError& error = {});
  static constexpr std::string_view kHeader =
      "# Zeltra HID trace: ms since start, link, direction, result, bytes\n";

 private:
  static std::size_t Slot(TraceDirection d) { return static_cast<std::size_t>(d); }

  std::shared_ptr<HidTraceSink> sink_;
  const Clock& clock_;
  std::int64_t start_;
  std::array<std::atomic<int>, 3> counts_{};
  std::array<std::atomic<int>, 3> failures_{};
};

// The link an interface belongs to, as the trace names it.
std::string_view TraceLinkName(const HidIdentity& identity);

// `inner` with every transfer of its handles recorded in `trace`; `inner`
// itself when there is no trace.
std::shared_ptr<HidBackend> WithHidTrace(std::shared_ptr<HidBackend> inner, std::shared_ptr<HidTrace> trace);

}  // namespace zeltra
