#include "settings/profile_file.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "settings/damaged_files.h"
#include "settings/text_file.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::u16string_view kHeader = u"[Setting]";

std::u16string ColourHex(Colour c) { return Hex2(RedOf(c)) + Hex2(GreenOf(c)) + Hex2(BlueOf(c)); }

std::u16string ThreeBytes(const std::array<std::uint8_t, 3>& b) { return Hex2(b[0]) + Hex2(b[1]) + Hex2(b[2]); }

template <std::size_t N>
std::u16string ByteList(const std::array<std::uint8_t, N>& values) {
  std::u16string out;
  for (std::size_t i = 0; i < N; ++i) {
    if (i) out += u'|';
    out += Hex2(values[i]);
  }
  return out;
}

// Unsigned 32-bit decimal as written with "%u": leading digits after optional
// white space; a minus sign or no digits reads as 0, too many saturates. Every
// value written reads back as itself.
std::uint32_t ParseUnsigned(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  if (i < text.size() && text[i] == u'-') return 0;
  if (i < text.size() && text[i] == u'+') ++i;
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - u'0');
    if (value > UINT32_MAX) value = UINT32_MAX;
  }
  return static_cast<std::uint32_t>(value);
}

std::uint8_t Byte(std::u16string_view value, std::size_t pos) {
  return static_cast<std::uint8_t>(ParseHexField(value, pos, 2));
}

Colour ColourAt(std::u16string_view value, std::size_t pos) {
  return Rgb(Byte(value, pos), Byte(value, pos + 2), Byte(value, pos + 4));
}

std::array<std::uint8_t, 3> ThreeBytesAt(std::u16string_view value) {
  return {Byte(value, 0), Byte(value, 2), Byte(value, 4)};
}

// Line source of the reader: each call takes the next line and splits it at
// its first "=".
class LineReader {
 public:
  explicit LineReader(CStdioFileEx& file) : file_(file) {}

  bool Header() { return file_.ReadString(line_) && line_ == kHeader; }

  // A line whose "=" has at least one character before it.
  bool Keyed() { return Next() && eq_ != std::u16string::npos && eq_ >= 1; }
  // A line with an "=" anywhere, even first.
  bool AnyEq() { return Next() && eq_ != std::u16string::npos; }

  std::u16string Key() const { return line_.substr(0, eq_); }
  std::u16string_view Value() const { return std::u16string_view(line_).substr(eq_ + 1); }

 private:
  bool Next() {
    if (!file_.ReadString(line_)) return false;
    eq_ = line_.find(u'=');
    return true;
  }

  CStdioFileEx& file_;
  std::u16string line_;
  std::size_t eq_ = std::u16string::npos;
};

bool ReadRecord(LineReader& in, ProfileRecord& r) {
  if (!in.Header()) return false;
  for (auto& pair : r.pairs) {
    if (!in.Keyed()) return false;
    pair.key = in.Key();
    pair.value = std::u16string(in.Value());
  }

  if (!in.Keyed()) return false;
  r.DPIOffOnFlagValue = Byte(in.Value(), 0);
  for (auto& stage : r.XYSettingValue) {
    if (!in.Keyed()) return false;
    stage = static_cast<std::uint16_t>(ParseHexField(in.Value(), 0, 4));
  }
  if (!in.Keyed()) return false;
  r.CurrentDPILevelValue = Byte(in.Value(), 0);
  for (auto& colour : r.DPILevelIndicationValue) {
    if (!in.Keyed()) return false;
    colour = ColourAt(in.Value(), 0);
  }
  if (!in.Keyed()) return false;
  r.AngleSnapValue = Byte(in.Value(), 0);
  if (!in.Keyed()) return false;
  r.LiftDetectionValue = Byte(in.Value(), 0);

  if (!in.Keyed()) return false;
  r.PollingRateName = std::u16string(in.Value());
  if (!in.Keyed()) return false;
  r.PollingRateValue = ThreeBytesAt(in.Value());

  if (!in.Keyed()) return false;
  r.Lighting1Name = std::u16string(in.Value());
  if (!in.Keyed()) return false;
  r.Lighting1ModeValue = ThreeBytesAt(in.Value());
  if (!in.Keyed()) return false;
  r.Lighting1OffOn = Byte(in.Value(), 0);
  for (auto* list : {&r.Lighting1Speed, &r.Lighting1Brightness}) {
    if (!in.Keyed()) return false;
    for (std::size_t i = 0; i < list->size(); ++i) (*list)[i] = Byte(in.Value(), 3 * i);
  }
  if (!in.Keyed()) return false;
  for (std::size_t j = 0; j < kLightingModeCount * kLightingSlotCount; ++j)
    r.Lighting1ColorSelected[j / kLightingSlotCount][j % kLightingSlotCount] = Byte(in.Value(), 3 * j);
  if (!in.Keyed()) return false;
  for (std::size_t j = 0; j < kLightingModeCount * kLightingSlotCount; ++j)
    r.Lighting1FixedColor[j / kLightingSlotCount][j % kLightingSlotCount] = ColourAt(in.Value(), 7 * j);
  if (!in.Keyed()) return false;
  for (std::size_t i = 0; i < r.Lighting1Direction.size(); ++i) r.Lighting1Direction[i] = Byte(in.Value(), 3 * i);

  if (!in.Keyed()) return false;
  r.Lighting2Name = std::u16string(in.Value());
  if (!in.Keyed()) return false;
  r.Lighting2ModeValue = ThreeBytesAt(in.Value());
  if (!in.Keyed()) return false;
  r.Lighting2OffOn = Byte(in.Value(), 0);
  if (!in.Keyed()) return false;
  r.Lighting2Speed = Byte(in.Value(), 0);
  if (!in.Keyed()) return false;
  r.Lighting2Brightness = Byte(in.Value(), 0);
  if (!in.Keyed()) return false;
  r.Lighting2FixedColor = ColourAt(in.Value(), 0);

  for (KeySlot& slot : r.Key) {
    if (!in.Keyed()) return false;
    slot.Name = std::u16string(in.Value());
    if (!in.Keyed()) return false;
    const auto code = ThreeBytesAt(in.Value());
    std::copy(code.begin(), code.end(), slot.Value.begin());

    if (!in.AnyEq() || in.Value().empty()) return false;
    slot.MacroKeyIndex = ParseUnsigned(in.Value());
    if (!in.AnyEq()) return false;
    slot.macro.name = std::u16string(in.Value());
    if (!in.AnyEq() || in.Value().empty()) return false;
    // A count beyond the action list (a damaged file) would let later code
    // walk past its end.
    slot.macro.MacroActionNum = std::min<std::uint32_t>(ParseUnsigned(in.Value()), kMaxMacroActions);
    if (!in.AnyEq() || in.Value().size() != kAllActionDigits) return false;
    for (std::size_t e = 0; e < kMaxMacroActions; ++e) {
      MacroAction& action = slot.macro.AllAction[e];
      for (std::size_t b = 0; b < 4; ++b) action.bytes[b] = Byte(in.Value(), 8 * e + 2 * b);
    }
  }
  return true;
}

}  // namespace

std::vector<std::u16string> ProfileFileLines(const ProfileRecord& r) {
  std::vector<std::u16string> lines;
  lines.reserve(kProfileFileLineCount);
  lines.emplace_back(kHeader);
  for (const auto& pair : r.pairs) lines.push_back(OneLine(pair.key) + u"=" + OneLine(pair.value));

  lines.push_back(u"DPIOffOnFlagValue=" + Hex2(r.DPIOffOnFlagValue));
  for (int i = 0; i < kDpiStageCount; ++i)
    lines.push_back(u"\tXYSetting" + Dec(i + 1) + u"Value=" + Hex4(r.XYSettingValue[static_cast<std::size_t>(i)]));
  lines.push_back(u"\tCurrentDPILevelValue=" + Hex2(r.CurrentDPILevelValue));
  for (int i = 0; i < kDpiStageCount; ++i)
    lines.push_back(u"\tDPILevelIndication" + Dec(i) + u"Valuer=" +
                    ColourHex(r.DPILevelIndicationValue[static_cast<std::size_t>(i)]));
  lines.push_back(u"\tAngleSnapValue=" + Hex2(r.AngleSnapValue));
  lines.push_back(u"\tLiftDetectionValue=" + Hex2(r.LiftDetectionValue));

  lines.push_back(u"PollingRateName=" + OneLine(r.PollingRateName));
  lines.push_back(u"\tPollingRateValue=" + ThreeBytes(r.PollingRateValue));

  lines.push_back(u"Lighting1Name=" + OneLine(r.Lighting1Name));
  lines.push_back(u"\tLighting1ModeValue=" + ThreeBytes(r.Lighting1ModeValue));
  lines.push_back(u"\tLighting1OffOn=" + Hex2(r.Lighting1OffOn));
  lines.push_back(u"\tLighting1Speed=" + ByteList(r.Lighting1Speed));
  lines.push_back(u"\tLighting1Brightness=" + ByteList(r.Lighting1Brightness));
  std::u16string selected = u"\tLighting1ColorSelected=";
  std::u16string colours = u"\tLighting1FixedColor=";
  for (std::size_t m = 0; m < kLightingModeCount; ++m) {
    for (std::size_t s = 0; s < kLightingSlotCount; ++s) {
      const char16_t end = s + 1 == kLightingSlotCount ? u';' : u'|';
      selected += Hex2(r.Lighting1ColorSelected[m][s]) + end;
      colours += ColourHex(r.Lighting1FixedColor[m][s]) + end;
    }
  }
  lines.push_back(std::move(selected));
  lines.push_back(std::move(colours));
  lines.push_back(u"\tLighting1Direction=" + ByteList(r.Lighting1Direction));

  lines.push_back(u"Lighting2Name=" + OneLine(r.Lighting2Name));
  lines.push_back(u"\tLighting2ModeValue=" + ThreeBytes(r.Lighting2ModeValue));
  lines.push_back(u"\tLighting2OffOn=" + Hex2(r.Lighting2OffOn));
  lines.push_back(u"\tLighting2Speed=" + Hex2(r.Lighting2Speed));
  lines.push_back(u"\tLighting2Brightness=" + Hex2(r.Lighting2Brightness));
  lines.push_back(u"\tLighting2FixedColor=" + ColourHex(r.Lighting2FixedColor));

  for (std::size_t k = 0; k < r.Key.size(); ++k) {
    const KeySlot& slot = r.Key[k];
    const std::u16string n = Udec(k);
    lines.push_back(u"Key" + n + u"Name=" + OneLine(slot.Name));
    lines.push_back(u"\tKey" + n + u"Value=" + Hex2(slot.Value[0]) + Hex2(slot.Value[1]) + Hex2(slot.Value[2]));
    lines.push_back(u"\tMacroKeyIndex=" + Udec(slot.MacroKeyIndex));
    lines.push_back(u"\tMacroKey" + n + u"Name=" + OneLine(slot.macro.name));
    lines.push_back(u"\t\tMacroActionNum=" + Udec(slot.macro.MacroActionNum));
    std::u16string actions = u"\t\tAllAction=";
    actions.reserve(actions.size() + kAllActionDigits);
    for (const MacroAction& a : slot.macro.AllAction)
      for (std::uint8_t b : a.bytes) actions += Hex2(b);
    lines.push_back(std::move(actions));
  }
  return lines;
}

bool WriteProfileRecord(const std::filesystem::path& path, const ProfileRecord& record) {
  const auto lines = ProfileFileLines(record);
  return SaveTextFileAtomically(path, [&](CStdioFileEx& file) {
    for (const auto& line : lines) {
      if (!file.WriteString(line + u"\n")) return false;
    }
    return true;
  });
}

bool ReadProfileRecord(const std::filesystem::path& path, ProfileRecord& record, FileRead* outcome) {
  FileRead result = FileRead::kInvalid;
  CStdioFileEx file;
  if (OpenForReading(file, path, result)) {
    // Read into a copy so that a file failing half-way changes nothing.
    ProfileRecord read = record;
    LineReader in(file);
    if (ReadRecord(in, read)) {
      RecountMacroEvents(read);
      record = std::move(read);
      result = FileRead::kRead;
    }
  }
  NoteFileRead(path, result);
  if (outcome) *outcome = result;
  return result == FileRead::kRead;
}

void RecountMacroEvents(ProfileRecord& record) {
  for (KeySlot& slot : record.Key)
    slot.macro.MacroCommandActionNum =
        static_cast<std::uint8_t>(std::min(slot.macro.CountEvents(), kMaxMacroEvents));
}

}  // namespace zeltra
