#include "macro/macro_library_file.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/damaged_files.h"
#include "settings/text_file.h"
#include "settings/text_format.h"

namespace zeltra {

namespace {

constexpr std::u16string_view kHeader = u"[MacroLibrary]";

// Decimal with an optional sign, as "%u" values are read back: the leading
// digits, saturating beyond 32 bits; a minus sign wraps as in strtoul.
std::uint64_t ParseUnsigned(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - u'0');
    if (value > UINT32_MAX) value = UINT64_MAX / 16;  // stays out of every range
  }
  if (negative && value <= UINT32_MAX) value = static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value));
  return value;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

std::uint8_t HexByte(std::u16string_view text, std::size_t pos) {
  const int high = HexValue(text[pos]);
  const int low = HexValue(text[pos + 1]);
  if (high >= 0 && low >= 0) return static_cast<std::uint8_t>(high * 16 + low);
  // Anything else reads as a hexadecimal conversion of the two characters would.
  return static_cast<std::uint8_t>(ParseHexField(text, pos, 2));
}

// The four numbers of a location line: after each "=" a decimal up to ";".
bool ParseLocation(std::u16string_view line, MacroLocation& out) {
  std::int32_t values[4];
  std::size_t pos = 0;
  for (std::int32_t& value : values) {
    const std::size_t eq = line.find(u'=', pos);
    if (eq == std::u16string_view::npos) return false;
    const std::size_t semi = line.find(u';', eq + 1);
    if (semi == std::u16string_view::npos) return false;
    value = ParseDecimal(line.substr(eq + 1, semi - eq - 1));
    pos = semi + 1;
  }
  out = {values[0], values[1], values[2], values[3]};
  return true;
}

class LineReader {
 public:
  explicit LineReader(CStdioFileEx& file) : file_(file) {}

  enum class Result { kValue, kEnd, kMalformed };

  // The next line and the text after its first "="; a line without "=" or
  // ending at it is malformed.
  Result Next() {
    if (!file_.ReadString(line_)) return file_.Failed() ? Result::kMalformed : Result::kEnd;
    const std::size_t eq = line_.find(u'=');
    if (eq == std::u16string::npos || eq + 1 == line_.size()) return Result::kMalformed;
    value_ = std::u16string_view(line_).substr(eq + 1);
    return Result::kValue;
  }
  // Next() inside a block: the end of the file is as bad as a malformed line.
  bool NextInBlock() { return Next() == Result::kValue; }

  const std::u16string& line() const { return line_; }
  std::u16string_view value() const { return value_; }

 private:
  CStdioFileEx& file_;
  std::u16string line_;
  std::u16string_view value_;
};

bool FitsModel(std::uint64_t index, std::uint64_t loopType, std::uint64_t loopNum, std::uint64_t actions,
               std::uint64_t events) {
  return index <= UINT32_MAX && loopType <= 0xFF && loopNum <= 0xFF && actions <= kMaxMacroActions &&
         events <= kMaxMacroEvents;
}

// Reads the blocks after line 3 into the library; true at a clean end.
bool ReadBlocks(LineReader& reader, MacroLibrary& library) {
  for (;;) {
    switch (reader.Next()) {
      case LineReader::Result::kEnd: return true;
      case LineReader::Result::kMalformed: return false;
      case LineReader::Result::kValue: break;
    }
    std::u16string name(reader.value());
    MacroLocation location;
    if (!reader.NextInBlock() || !ParseLocation(reader.line(), location)) return false;
    if (!reader.NextInBlock()) return false;
    const bool folder = ParseDecimal(reader.value()) != 0;
    if (!reader.NextInBlock()) return false;
    const bool open = ParseDecimal(reader.value()) != 0;
    // Indices a stage does not use carry no meaning.
    location = location.Normalised();

    if (folder) {
      // A folder outside the model (stage, index, missing parent) is skipped.
      library.PutFolderItem(std::move(name), location, open);
      continue;
    }
    std::uint64_t numbers[5];
    for (std::uint64_t& number : numbers) {
      if (!reader.NextInBlock()) return false;
      number = ParseUnsigned(reader.value());
    }
    if (!reader.NextInBlock()) return false;
    const std::u16string_view actions = reader.value();
    if (actions.size() != static_cast<std::size_t>(kAllActionChars)) return false;

    const auto [index, loopType, loopNum, actionNum, eventNum] = numbers;
    if (!FitsModel(index, loopType, loopNum, actionNum, eventNum) || !location.IsValid()) continue;
    auto macro = std::make_unique<Macro>(name);
    macro->MacroKeyIndex = static_cast<std::uint32_t>(index);
    macro->MacroKeyLoopType = static_cast<std::uint8_t>(loopType);
    macro->MacroKeyLoopNum = static_cast<std::uint8_t>(loopNum);
    macro->MacroActionNum = static_cast<std::uint32_t>(actionNum);
    macro->MacroCommandActionNum = static_cast<std::uint8_t>(eventNum);
    for (int i = 0; i < kMaxMacroActions; ++i) {
      const auto at = static_cast<std::size_t>(i) * 8;
      macro->SetAction(i, MacroAction{{HexByte(actions, at), HexByte(actions, at + 2), HexByte(actions, at + 4),
                                       HexByte(actions, at + 6)}});
    }
    library.PutMacroItem(std::move(name), location, std::move(macro));
  }
}

std::u16string LocationText(std::u16string_view prefix, const MacroLocation& l) {
  std::u16string text(prefix);
  text += u"stage=" + Dec(l.stage) + u";stage0Index=" + Dec(l.stage0Index) + u";stage1Index=" + Dec(l.stage1Index) +
          u";stage2Index=" + Dec(l.stage2Index) + u";\n";
  return text;
}

void AppendLine(std::u16string& block, std::u16string_view indent, std::u16string_view line) {
  block += indent;
  block += line;
}

std::u16string ItemBlock(const MacroLocation& location, const MacroItem& item) {
  static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
  const std::u16string_view indent = std::u16string_view(u"\t\t").substr(0, static_cast<std::size_t>(location.stage));
  std::u16string block;
  block.reserve(item.macro ? 2900 : 200);
  AppendLine(block, indent, u"++++++++MacroItemName=" + OneLine(item.name) + u"\n");
  AppendLine(block, indent, LocationText(u"MacroItemLocation:", location));
  AppendLine(block, indent, u"MacroItemIsFolder=" + Dec(item.IsFolder() ? 1 : 0) + u"\n");
  AppendLine(block, indent, u"MacroItemFolderIsOpen=" + Dec(item.IsOpen() ? 1 : 0) + u"\n");
  if (!item.macro || item.IsFolder()) return block;
  const Macro& m = *item.macro;
  // Counts beyond the model cannot be read back; never write them.
  const auto actionNum = std::min<std::uint32_t>(m.MacroActionNum, kMaxMacroActions);
  const auto eventNum = std::min<unsigned>(m.MacroCommandActionNum, kMaxMacroEvents);
  AppendLine(block, indent, u"MacroKeyIndex=" + Udec(m.MacroKeyIndex) + u"\n");
  AppendLine(block, indent, u"MacroKeyLoopType=" + Udec(m.MacroKeyLoopType) + u"\n");
  AppendLine(block, indent, u"MacroKeyLoopNum=" + Udec(m.MacroKeyLoopNum) + u"\n");
  AppendLine(block, indent, u"MacroActionNum=" + Udec(actionNum) + u"\n");
  AppendLine(block, indent, u"MacroCommandActionNum=" + Udec(eventNum) + u"\n");
  block += indent;
  block += u"AllAction=";
  for (const MacroAction& action : m.AllAction) {
    for (std::uint8_t byte : action.bytes) {
      block.push_back(kHexDigits[byte >> 4]);
      block.push_back(kHexDigits[byte & 0x0F]);
    }
  }
  block += u"\n";
  return block;
}

std::u16string HeadText(const MacroLibrary& library, const MacroLocation& selected) {
  std::u16string head = std::u16string(kHeader) + u"\n";
  head += u"MacroKeyIndex=" + Dec(static_cast<std::int32_t>(library.nextMacroKeyIndex)) + u"\n";
  head += LocationText(u"Select Locaton:", selected);
  return head;
}

int ReadLibrary(CStdioFileEx& file, MacroLibrary& library, MacroLocation* selected) {
  library.Clear();
  LineReader reader(file);

  std::u16string first;
  if (!file.ReadString(first) || first != kHeader) return 0;
  if (reader.Next() != LineReader::Result::kValue) return 0;
  library.nextMacroKeyIndex = static_cast<std::uint32_t>(ParseDecimal(reader.value()));
  library.KeepNextIndexAboveItems();
  MacroLocation location;
  if (reader.Next() != LineReader::Result::kValue || !ParseLocation(reader.line(), location)) return 0;
  if (selected) *selected = location;

  const bool complete = ReadBlocks(reader, library);
  library.KeepNextIndexAboveItems();
  return complete ? 1 : 0;
}

}  // namespace

std::filesystem::path MacroLibraryPath(const std::filesystem::path& dataFolder) {
  return dataFolder / "config" / "MacroLibraryFile.mlf";
}

int LoadMacroLibrary(MacroLibrary& library, const std::filesystem::path& path, MacroLocation* selected) {
  CStdioFileEx file;
  FileRead read = FileRead::kRead;
  if (!OpenForReading(file, path, read)) {
    NoteFileRead(path, read);
    // A missing file is an empty library that the next save creates. A file
    // that is there but cannot be read must not be replaced by the empty
    // library start-up has instead; a library that holds items already keeps
    // them, as the program last read or saved them.
    if (read == FileRead::kMissing)
      library.SetUnavailableFile({});
    else if (library.ItemCount() == 0)
      library.SetUnavailableFile(path);
    return 0;
  }
  library.SetUnavailableFile({});
  const int result = ReadLibrary(file, library, selected);
  // After a read error the rest of the file was never seen: the items read
  // stay, but they must not replace it. A file read only up to a malformed
  // line may be replaced, once a copy of it is kept.
  if (file.Failed()) library.SetUnavailableFile(path);
  NoteFileRead(path, result == 1 && !file.Failed() ? FileRead::kRead : FileRead::kInvalid);
  return result;
}

int SaveMacroLibrary(const MacroLibrary& library, const std::filesystem::path& path, const MacroLocation& selected) {
  if (library.Unavailable() && library.UnavailableFile().lexically_normal() == path.lexically_normal()) return 0;
  const bool saved = SaveTextFileAtomically(path, [&](CStdioFileEx& file) {
    bool ok = file.WriteString(HeadText(library, selected));
    library.ForEachItem([&](const MacroLocation& location, const MacroItem& item) {
      if (ok) ok = file.WriteString(ItemBlock(location, item));
    });
    return ok;
  });
  return saved ? 1 : 0;
}

std::uint64_t MacroLibraryFingerprint(const MacroLibrary& library) {
  // FNV-1a over the code units the file would hold.
  std::uint64_t hash = 14695981039346656037ull;
  const auto add = [&](std::u16string_view text) {
    for (char16_t unit : text) hash = (hash ^ unit) * 1099511628211ull;
  };
  add(HeadText(library, MacroLocation::None()));
  library.ForEachItem([&](const MacroLocation& location, const MacroItem& item) { add(ItemBlock(location, item)); });
  return hash;
}

}  // namespace zeltra
