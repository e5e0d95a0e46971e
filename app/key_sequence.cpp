#include "app/key_sequence.h"

#include "app/main_window_ids.h"
#include "settings/text_format.h"

namespace zeltra {

KeySequence::Result KeySequence::OnKeyDown(unsigned virtualKey) {
  if (virtualKey == kVkReturn || virtualKey == kVkEscape) {
    count_ = 0;
    return Result::Swallow;
  }
  const auto expected = static_cast<unsigned>(kSupportSequence[static_cast<std::size_t>(count_)]);
  if (virtualKey != expected) {
    count_ = virtualKey == static_cast<unsigned>(kSupportSequence[0]) ? 1 : 0;
    return Result::PassOn;
  }
  if (++count_ < static_cast<int>(kSupportSequence.size())) return Result::PassOn;
  count_ = 0;
  return Result::ShowSupport;
}

std::u16string SupportLine(unsigned sensorCode) {
  std::u16string line = u"Zeltra ";
  line.append(std::u16string_view(kVersionSuffix).substr(1));
  line.append(u", sensor ");
  line.append(HexSpacePadded4(sensorCode));
  return line;
}

}  // namespace zeltra
