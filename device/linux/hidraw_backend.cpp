#include "device/linux/hidraw_backend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>

#include "device/report.h"
#include "settings/text_format.h"

namespace zeltra::hidraw {

namespace {

// Why the calling thread's last call on a handle failed.
thread_local HidError tLastError;

void FailWithErrno() { tLastError = {HidError::Kind::Errno, static_cast<std::uint32_t>(errno)}; }

HidReportLengths LinkLengths(const HidDescriptor& descriptor) {
  return LengthsForReports(descriptor, kInputReportId, kFeatureReportId);
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The kernel's own limit for a report descriptor.
constexpr std::size_t kMaxDescriptor = HID_MAX_DESCRIPTOR_SIZE;
constexpr std::size_t kMaxTextFile = 64 * 1024;

std::string ReadSmallFile(const std::filesystem::path& file, std::size_t limit) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

// The value of "KEY=" in a uevent file.
std::string_view UeventValue(std::string_view uevent, std::string_view key) {
  std::size_t at = 0;
  while (at < uevent.size()) {
    std::size_t end = uevent.find('\n', at);
    if (end == std::string_view::npos) end = uevent.size();
    const std::string_view line = uevent.substr(at, end - at);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
      return line.substr(key.size() + 1);
    at = end + 1;
  }
  return {};
}

// HID_ID=bus:vendor:product, each in hexadecimal.
void ParseHidId(std::string_view id, HidrawNode& node) {
  const std::size_t first = id.find(':');
  const std::size_t second = first == std::string_view::npos ? first : id.find(':', first + 1);
  if (second == std::string_view::npos) return;
  const auto vendor = ParseHexNumber(id.substr(first + 1, second - first - 1));
  const auto product = ParseHexNumber(id.substr(second + 1));
  // A USB identifier has 16 bits; a larger one belongs to no USB device.
  if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return;
  node.vendor = static_cast<std::uint16_t>(*vendor);
  node.product = static_cast<std::uint16_t>(*product);
}

int InterfaceFromPhys(std::string_view phys) {
  const std::size_t at = phys.rfind("/input");
  if (at == std::string_view::npos) return -1;
  const std::string_view digits = phys.substr(at + 6);
  if (digits.empty() || digits.size() > 3) return -1;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<int> NodeNumber(const std::string& name) {
  constexpr std::string_view kPrefix = "hidraw";
  if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 6 || name.compare(0, kPrefix.size(), kPrefix) != 0)
    return std::nullopt;
  int value = 0;
  for (std::size_t i = kPrefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    value = value * 10 + (name[i] - '0');
  }
  return value;
}

HidrawNode DescribeNode(const std::filesystem::path& classEntry, const std::filesystem::path& node) {
  HidrawNode out;
  out.node = node;
  const std::filesystem::path device = classEntry / "device";
  const std::string uevent = ReadSmallFile(device / "uevent", kMaxTextFile);
  ParseHidId(UeventValue(uevent, "HID_ID"), out);
  out.name = std::string(UeventValue(uevent, "HID_NAME"));
  const std::string descriptor = ReadSmallFile(device / "report_descriptor", kMaxDescriptor);
  out.lengths = LinkLengths(ParseHidDescriptor(Bytes(descriptor)));
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(device, ec);
  const std::string number = ec ? std::string() : ReadSmallFile(real.parent_path() / "bInterfaceNumber", 16);
  if (const auto n = ParseHexNumber(number); n && *n <= 0xFF) {
    out.interfaceNumber = static_cast<int>(*n);
    // The USB device holds all the interfaces of one mouse or receiver.
    out.unit = real.parent_path().parent_path().string();
  } else {
    out.interfaceNumber = InterfaceFromPhys(UeventValue(uevent, "HID_PHYS"));
    if (!ec) out.unit = real.parent_path().string();
  }
  return out;
}

class HidrawHandle final : public HidHandle {
 public:
  HidrawHandle(int fd, int cancel) : fd_(fd), cancel_(cancel) {
    // A node that holds the mouse's pointer collection beside the input
    // report delivers every movement too: only the input collection's
    // reports are handed on, as Windows delivers them on its interface.
    if (const auto descriptor = Descriptor()) {
      for (const HidCollection& c : descriptor->collections)
        if (std::find(c.inputIds.begin(), c.inputIds.end(), kInputReportId) != c.inputIds.end()) inputIds_ = c.inputIds;
    }
  }
  ~HidrawHandle() override {
    ::close(fd_);
    ::close(cancel_);
  }

  HidIdentity Identity() override {
    HidIdentity id;
    hidraw_devinfo info{};
    if (::ioctl(fd_, HIDIOCGRAWINFO, &info) < 0) return id;
    const auto descriptor = Descriptor();
    if (!descriptor) return id;
    const HidReportLengths lengths = LinkLengths(*descriptor);
    // The kernel hands the identifiers over as signed 16-bit numbers.
    id.vendor = static_cast<std::uint16_t>(info.vendor);
    id.product = static_cast<std::uint16_t>(info.product);
    id.inputReportLength = lengths.input;
    id.featureReportLength = lengths.feature;
    return id;
  }

  bool SetFeature(std::span<const std::uint8_t> report) override {
    // The request takes a writable buffer; the kernel only reads it.
    std::vector<std::uint8_t> copy(report.begin(), report.end());
    if (Retry([&] { return ::ioctl(fd_, HIDIOCSFEATURE(copy.size()), copy.data()); }) >= 0) return true;
    FailWithErrno();
    return false;
  }

  long GetFeature(std::span<std::uint8_t> report) override {
    const int got = Retry([&] { return ::ioctl(fd_, HIDIOCGFEATURE(report.size()), report.data()); });
    if (got >= 0) return got;
    FailWithErrno();
    return -1;
  }

  long Read(std::span<std::uint8_t> buffer) override {
    for (;;) {
      pollfd waits[2] = {{fd_, POLLIN, 0}, {cancel_, POLLIN, 0}};
      if (::poll(waits, 2, -1) < 0) {
        if (errno == EINTR) continue;
        FailWithErrno();
        return -1;
      }
      if (waits[1].revents != 0) {  // cancelled; the cancel stays signalled
        tLastError = {HidError::Kind::Errno, ECANCELED};
        return -1;
      }
      if (waits[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {  // unplugged
        tLastError = {HidError::Kind::Errno, ENODEV};
        return -1;
      }
      const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        FailWithErrno();
        return -1;
      }
      if (got > 0 && !inputIds_.empty() &&
          std::find(inputIds_.begin(), inputIds_.end(), buffer[0]) == inputIds_.end())
        continue;  // another collection's report
      return static_cast<long>(got);
    }
  }

  void CancelRead() override {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(cancel_, &one, sizeof one);
  }

  HidError LastError() const override { return tLastError; }

 private:
  std::optional<HidDescriptor> Descriptor() const {
    int size = 0;
    if (::ioctl(fd_, HIDIOCGRDESCSIZE, &size) < 0) return std::nullopt;
    hidraw_report_descriptor descriptor{};
    descriptor.size = static_cast<std::uint32_t>(std::clamp(size, 0, static_cast<int>(kMaxDescriptor)));
    if (::ioctl(fd_, HIDIOCGRDESC, &descriptor) < 0) return std::nullopt;
    return ParseHidDescriptor(std::span(descriptor.value, descriptor.size));
  }

  template <typename F>
  static int Retry(F call) {
    int result;
    do result = call();
    while (result < 0 && errno == EINTR);
    return result;
  }

  int fd_;
  int cancel_;
  std::vector<std::uint8_t> inputIds_;  // empty: every report is handed on
};

class HidrawBackend final : public HidBackend {
 public:
  HidrawBackend(std::filesystem::path sysRoot, std::filesystem::path devRoot)
      : sysRoot_(std::move(sysRoot)), devRoot_(std::move(devRoot)) {}

  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> members;
    for (const HidrawNode& node : EnumerateHidraw(sysRoot_, devRoot_)) {
      HidInterfaceInfo& member = members.emplace_back();
      member.path = FromUtf8(node.node.string());
      member.identity = {node.vendor, node.product, node.lengths.input, node.lengths.feature};
      member.unit = FromUtf8(node.unit);
    }
    return members;
  }

  // hidraw's feature requests need no more than its reads: both accesses
  // open the node for reading and writing (the udev rule grants it).
  std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess) override {
    const std::string node = ToUtf8(path);
    const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    const int cancel = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (cancel < 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<HidrawHandle>(fd, cancel);
  }

 private:
  std::filesystem::path sysRoot_;
  std::filesystem::path devRoot_;
};

}  // namespace

std::vector<HidrawNode> EnumerateHidraw(const std::filesystem::path& sysRoot, const std::filesystem::path& devRoot) {
  std::vector<std::pair<int, std::filesystem::path>> entries;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(sysRoot / "class" / "hidraw", ec)) {
    if (const auto number = NodeNumber(entry.path().filename().string())) entries.emplace_back(*number, entry.path());
  }
  std::sort(entries.begin(), entries.end());
  std::vector<HidrawNode> nodes;
  for (const auto& [number, path] : entries) nodes.push_back(DescribeNode(path, devRoot / path.filename()));
  return nodes;
}

std::shared_ptr<HidBackend> CreateHidrawBackend(std::filesystem::path sysRoot, std::filesystem::path devRoot) {
  return std::make_shared<HidrawBackend>(std::move(sysRoot), std::move(devRoot));
}

}  // namespace zeltra::hidraw
