#include "device/virtual_mouse_control.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace zeltra {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& out, std::uint8_t byte) {
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<unsigned> Number(std::string_view word, int base = 10) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// A word of hex digit pairs ("010100") as bytes; nothing when malformed.
std::optional<std::vector<std::uint8_t>> HexWord(std::string_view word) {
  if (word.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < word.size(); i += 2) {
    const auto byte = Number(word.substr(i, 2), 16);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*byte));
  }
  return bytes;
}

std::optional<VirtualLink> LinkNamed(std::string_view word) {
  if (word == "cable") return VirtualLink::Cable;
  if (word == "receiver") return VirtualLink::Receiver;
  return std::nullopt;
}

// Removes the old file first and moves the new one in whole, so a reader
// waiting for the file never sees it half written.
bool WriteWhole(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::remove(path, ec);
  std::filesystem::rename(temporary, path, ec);
  return !ec;
}

}  // namespace

std::string VirtualMouseStateText(const VirtualMouseState& s) {
  std::string out = "buttons";
  for (const auto& button : s.buttons) {
    out += ' ';
    for (std::uint8_t b : button) AppendHex(out, b);
  }
  out += "\nstage ";
  AppendHex(out, s.stageByte);
  out += "\ndpi-mask ";
  AppendHex(out, s.dpiMask);
  out += "\ndpi-codes";
  for (std::uint16_t code : s.dpiCodes) {
    out += ' ';
    AppendHex(out, static_cast<std::uint8_t>(code >> 8));
    AppendHex(out, static_cast<std::uint8_t>(code & 0xFF));
  }
  out += "\ndpi-colours";
  for (const auto& colour : s.dpiColours) {
    out += ' ';
    for (std::uint8_t b : colour) AppendHex(out, b);
  }
  const std::pair<const char*, std::uint8_t> bytes[] = {
      {"rate", s.rateCode},          {"lift-off", s.liftOff},         {"debounce", s.debounce},
      {"power-down", s.powerDownTime}, {"move-lighting", s.moveLighting}, {"motion-wakeup", s.motionWakeup}};
  for (const auto& [name, value] : bytes) {
    out += '\n';
    out += name;
    out += ' ';
    AppendHex(out, value);
  }
  out += "\nlighting ";
  for (std::uint8_t b : s.lighting) AppendHex(out, b);
  for (std::size_t slot = 1; slot < s.macros.size(); ++slot) {
    out += "\nmacro" + std::to_string(slot) + ' ';
    for (std::uint8_t b : s.macros[slot]) AppendHex(out, b);
  }
  out += '\n';
  return out;
}

std::optional<VirtualMouseState> ParseVirtualMouseStateText(std::string_view text) {
  VirtualMouseState s;
  // Every field must be there exactly once: a dump cut short is no state.
  int seen = 0;
  constexpr int kFields = 12 + 6;  // the macro slots are the last six
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string_view> w = Words(text.substr(start, end - start));
    start = end + 1;
    if (w.empty()) continue;
    std::vector<std::vector<std::uint8_t>> values;
    for (std::size_t i = 1; i < w.size(); ++i) {
      auto bytes = HexWord(w[i]);
      if (!bytes) return std::nullopt;
      values.push_back(std::move(*bytes));
    }
    const auto groups = [&](std::size_t count, std::size_t size) {
      if (values.size() != count) return false;
      for (const auto& v : values)
        if (v.size() != size) return false;
      return true;
    };
    const auto single = [&](std::uint8_t& field) {
      if (!groups(1, 1)) return false;
      field = values[0][0];
      return true;
    };
    const std::string_view key = w[0];
    bool ok = false;
    if (key == "buttons") {
      if ((ok = groups(6, 3)))
        for (std::size_t i = 0; i < 6; ++i) std::copy(values[i].begin(), values[i].end(), s.buttons[i].begin());
    } else if (key == "dpi-codes") {
      if ((ok = groups(6, 2)))
        for (std::size_t i = 0; i < 6; ++i) s.dpiCodes[i] = static_cast<std::uint16_t>(values[i][0] << 8 | values[i][1]);
    } else if (key == "dpi-colours") {
      if ((ok = groups(8, 3)))
        for (std::size_t i = 0; i < 8; ++i) std::copy(values[i].begin(), values[i].end(), s.dpiColours[i].begin());
    } else if (key == "stage") {
      ok = single(s.stageByte);
    } else if (key == "dpi-mask") {
      ok = single(s.dpiMask);
    } else if (key == "rate") {
      ok = single(s.rateCode);
    } else if (key == "lift-off") {
      ok = single(s.liftOff);
    } else if (key == "debounce") {
      ok = single(s.debounce);
    } else if (key == "power-down") {
      ok = single(s.powerDownTime);
    } else if (key == "move-lighting") {
      ok = single(s.moveLighting);
    } else if (key == "motion-wakeup") {
      ok = single(s.motionWakeup);
    } else if (key == "lighting") {
      ok = values.size() <= 1;
      s.lighting = values.empty() ? std::vector<std::uint8_t>{} : values[0];
    } else if (key.size() == 6 && key.substr(0, 5) == "macro" && key[5] >= '1' && key[5] <= '6') {
      ok = values.size() <= 1;
      s.macros[static_cast<std::size_t>(key[5] - '0')] = values.empty() ? std::vector<std::uint8_t>{} : values[0];
    }
    if (!ok) return std::nullopt;
    ++seen;
  }
  if (seen != kFields) return std::nullopt;
  return s;
}

std::string RunVirtualMouseCommand(VirtualMouse& mouse, std::string_view line) {
  const std::vector<std::string_view> w = Words(line);
  if (w.empty() || w[0].front() == '#') return {};
  const std::string_view command = w[0];
  if (command == "dump" || command == "load" || command == "factory") {
    // The path is the rest of the line: it may hold spaces.
    std::string_view rest = line.substr(line.find(command) + command.size());
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r')) rest.remove_suffix(1);
    if (rest.empty()) return std::string(command) + " needs a path";
    const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(rest.data()), rest.size()));
    if (command == "dump")
      return WriteWhole(path, VirtualMouseStateText(mouse.State())) ? "" : "cannot write the dump";
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto state = ParseVirtualMouseStateText(text.str());
    if (!state) return "no mouse state in the file";
    if (command == "factory")
      mouse.SetFactoryState(*state);
    else
      mouse.SetState(*state);
    return {};
  }
  if (command == "dpi-button" && w.size() == 1) {
    mouse.PressDpiButton();
    return {};
  }
  if (command == "online" && w.size() == 2 && (w[1] == "0" || w[1] == "1")) {
    mouse.SetOnline(w[1] == "1");
    return {};
  }
  if (command == "rate" && w.size() == 2) {
    const auto code = Number(w[1]);
    if (code && (*code == 1 || *code == 2 || *code == 4 || *code == 8)) {
      mouse.ChangeReportRate(static_cast<std::uint8_t>(*code));
      return {};
    }
    return "rate takes 1, 2, 4 or 8";
  }
  if (command == "battery" && w.size() == 3) {
    const auto level = Number(w[1]);
    const auto charge = Number(w[2]);
    if (level && charge && *level <= 100 && *charge <= 2) {
      mouse.SetBattery(static_cast<std::uint8_t>(*level), static_cast<std::uint8_t>(*charge));
      return {};
    }
    return "battery takes a level 0..100 and a charge state 0..2";
  }
  if (command == "sensor" && w.size() == 2) {
    const auto number = Number(w[1]);
    if (number && *number <= 0xFF) {
      mouse.SetSensorNumber(static_cast<std::uint8_t>(*number));
      return {};
    }
    return "sensor takes a number 0..255";
  }
  if (command == "stall" && w.size() == 2) {
    if (w[1] != "set-feature" && w[1] != "get-feature") return "stall takes set-feature or get-feature";
    mouse.StallCall(w[1] == "set-feature" ? FaultOp::SetFeature : FaultOp::GetFeature);
    return {};
  }
  if ((command == "plug" || command == "unplug") && w.size() == 2) {
    const auto link = LinkNamed(w[1]);
    if (!link) return "plug and unplug take cable or receiver";
    if (command == "plug")
      mouse.Plug(*link);
    else
      mouse.Unplug(*link);
    return {};
  }
  return "not a command: " + std::string(line);
}

VirtualMouseControl::VirtualMouseControl(std::filesystem::path file, std::shared_ptr<VirtualMouse> mouse,
                                         std::chrono::milliseconds interval)
    : VirtualMouseControl(
          std::move(file), [mouse = std::move(mouse)](std::string_view line) { return RunVirtualMouseCommand(*mouse, line); },
          interval) {}

VirtualMouseControl::VirtualMouseControl(std::filesystem::path file, Runner run, std::chrono::milliseconds interval)
    : file_(std::move(file)), run_(std::move(run)), interval_(interval) {
  Poll();
  thread_ = std::thread([this] { Loop(); });
}

VirtualMouseControl::~VirtualMouseControl() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

int VirtualMouseControl::Poll() {
  std::lock_guard lock(mutex_);
  std::ifstream in(file_, std::ios::binary);
  if (!in) return 0;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  // A file made anew (shorter than what was read) starts again from its top.
  if (size < 0) return 0;
  if (static_cast<std::uintmax_t>(size) < offset_) offset_ = 0;
  if (static_cast<std::uintmax_t>(size) == offset_) return 0;
  in.seekg(static_cast<std::streamoff>(offset_));
  std::string chunk(static_cast<std::size_t>(size) - offset_, '\0');
  in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  chunk.resize(static_cast<std::size_t>(in.gcount()));
  int ran = 0;
  std::size_t start = 0;
  for (std::size_t end; (end = chunk.find('\n', start)) != std::string::npos; start = end + 1) {
    run_(std::string_view(chunk).substr(start, end - start));
    ++ran;
  }
  offset_ += start;
  commands_ += ran;
  return ran;
}

int VirtualMouseControl::CommandsRun() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

void VirtualMouseControl::Loop() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      if (wake_.wait_for(lock, interval_, [this] { return stopping_; })) return;
    }
    Poll();
  }
}

}  // namespace zeltra
