#include "device/hid_trace.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "settings/file_system.h"

namespace zeltra {

namespace {

class FileSink final : public HidTraceSink {
 public:
  FileSink(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
  ~FileSink() override {
    if (owned_) std::fclose(file_);
  }
  void WriteLine(std::string_view line) noexcept override {
    // An unbuffered stream hands the whole line to the system at once.
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size()) std::clearerr(file_);
  }

 private:
  std::FILE* file_;
  bool owned_;
};

std::string_view DirectionName(TraceDirection direction) {
  switch (direction) {
    case TraceDirection::SetFeature: return "set-feature";
    case TraceDirection::GetFeature: return "get-feature";
    case TraceDirection::InputReport: return "input-report";
  }
  return "?";
}

class TracedHandle final : public HidHandle {
 public:
  TracedHandle(std::unique_ptr<HidHandle> inner, std::shared_ptr<HidTrace> trace, std::string_view link)
      : inner_(std::move(inner)), trace_(std::move(trace)), link_(link) {}

  HidIdentity Identity() override {
    const HidIdentity id = inner_->Identity();
    // A path the last enumeration did not list is named by what it answers.
    if (link_ == "other") link_ = TraceLinkName(id);
    return id;
  }

  bool SetFeature(std::span<const std::uint8_t> report) override {
    const bool ok = inner_->SetFeature(report);
    trace_->Record(link_, TraceDirection::SetFeature, report, ok, Reason(ok));
    return ok;
  }

  long GetFeature(std::span<std::uint8_t> report) override {
    const long got = inner_->GetFeature(report);
    trace_->Record(link_, TraceDirection::GetFeature, Delivered(report, got), got >= 0, Reason(got >= 0));
    return got;
  }

  long Read(std::span<std::uint8_t> buffer) override {
    const long got = inner_->Read(buffer);
    trace_->Record(link_, TraceDirection::InputReport, Delivered(buffer, got), got >= 0, Reason(got >= 0));
    return got;
  }

  void CancelRead() override { inner_->CancelRead(); }
  HidError LastError() const override { return inner_->LastError(); }

 private:
  // Asked on the thread of the call, right after it.
  HidError Reason(bool ok) const { return ok ? HidError{} : inner_->LastError(); }

  static std::span<const std::uint8_t> Delivered(std::span<const std::uint8_t> buffer, long got) {
    if (got <= 0) return {};
    return buffer.first(std::min(static_cast<std::size_t>(got), buffer.size()));
  }

  std::unique_ptr<HidHandle> inner_;
  std::shared_ptr<HidTrace> trace_;
  // Read and written by the one thread that uses the handle; CancelRead,
  // the only call from another thread, does not touch it.
  std::string_view link_;
};

class TracedBackend final : public HidBackend {
 public:
  TracedBackend(std::shared_ptr<HidBackend> inner, std::shared_ptr<HidTrace> trace)
      : inner_(std::move(inner)), trace_(std::move(trace)) {}

  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> members = inner_->Enumerate();
    std::lock_guard lock(mutex_);
    for (const HidInterfaceInfo& member : members)
      if (!member.path.empty()) links_[member.path] = TraceLinkName(member.identity);
    return members;
  }

  std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override {
    auto handle = inner_->Open(path, access);
    if (!handle) return nullptr;
    std::string_view link = "other";
    {
      // Listener threads open their interface themselves.
      std::lock_guard lock(mutex_);
      if (const auto found = links_.find(path); found != links_.end()) link = found->second;
    }
    return std::make_unique<TracedHandle>(std::move(handle), trace_, link);
  }

  void OnListenerThreadStart() override { inner_->OnListenerThreadStart(); }

 private:
  std::shared_ptr<HidBackend> inner_;
  std::shared_ptr<HidTrace> trace_;
  std::mutex mutex_;
  std::map<std::u16string, std::string_view> links_;
};

}  // namespace

std::shared_ptr<HidTraceSink> OpenHidTraceFile(const std::filesystem::path& path) {
  if (path == "-") return std::make_shared<FileSink>(stderr, false);
  std::FILE* file = OpenAppendStream(path);
  if (!file) return nullptr;
  std::setvbuf(file, nullptr, _IONBF, 0);
  return std::make_shared<FileSink>(file, true);
}

HidTrace::HidTrace(std::shared_ptr<HidTraceSink> sink, const Clock& clock)
    : sink_(std::move(sink)), clock_(clock), start_(clock.NowMs()) {
  if (sink_) sink_->WriteLine(kHeader);
}

void HidTrace::Record(std::string_view link, TraceDirection direction, std::span<const std::uint8_t> bytes,
                      bool ok, const HidError& error) noexcept {
  ++counts_[Slot(direction)];
  if (!ok) ++failures_[Slot(direction)];
  if (!sink_) return;
  try {
    sink_->WriteLine(FormatLine(clock_.NowMs() - start_, link, direction, bytes, ok, error));
  } catch (...) {
    // Out of memory for one line: the transfer itself already happened.
  }
}

std::string HidTrace::FormatLine(std::int64_t ms, std::string_view link, TraceDirection direction,
                                 std::span<const std::uint8_t> bytes, bool ok, const HidError& error) {
  std::string line = std::to_string(ms);
  line += ' ';
  line += link;
  line += ' ';
  line += DirectionName(direction);
  if (ok) {
    line += " ok";
  } else {
    line += " failed ";
    line += HidErrorText(error);
  }
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (std::uint8_t b : bytes) {
    line += ' ';
    line += kDigits[b >> 4];
    line += kDigits[b & 0x0F];
  }
  line += '\n';
  return line;
}

std::string_view TraceLinkName(const HidIdentity& identity) {
  if (identity.vendor == kMouseVendorId) {
    if (identity.product == kCableProductId) return "cable";
    if (identity.product == kReceiverProductId) return "receiver";
  }
  return "other";
}

std::shared_ptr<HidBackend> WithHidTrace(std::shared_ptr<HidBackend> inner, std::shared_ptr<HidTrace> trace) {
  if (!trace) return inner;
  return std::make_shared<TracedBackend>(std::move(inner), std::move(trace));
}

}  // namespace zeltra
