// The main window's keyboard: Enter and Escape would end the dialog (the
// whole program) and are swallowed; ten letters typed in a row open the
// technical-support notice.
#pragma once

#include <string>
#include <string_view>

namespace zeltra {

inline constexpr unsigned kVkReturn = 0x0D;
inline constexpr unsigned kVkEscape = 0x1B;
// Typed as letter keys (virtual-key codes 'A' .. 'Z').
inline constexpr std::u16string_view kSupportSequence = u"ZELTRAHELP";
inline constexpr std::u16string_view kSupportCaption = u"Technical support";

class KeySequence {
 public:
  enum class Result {
    PassOn,       // normal handling
    Swallow,      // the key does nothing
    ShowSupport,  // swallowed; show the support notice
  };
  // A key-down message's virtual-key code. Any key that does not continue
  // the sequence starts it again (from its first letter when it is that).
  Result OnKeyDown(unsigned virtualKey);
  int keySequenceCount() const { return count_; }

 private:
  int count_ = 0;
};

// The notice's line: the program's version and the mouse's sensor code.
std::u16string SupportLine(unsigned sensorCode);

}  // namespace zeltra
