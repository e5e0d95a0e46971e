#include "device/hid_backend.h"

namespace zeltra {

std::string HidErrorText(const HidError& error) {
  switch (error.kind) {
    case HidError::Kind::System: return "error=" + std::to_string(error.code);
    case HidError::Kind::Errno: return "errno=" + std::to_string(error.code);
    case HidError::Kind::Timeout: return "timeout";
    case HidError::Kind::None: break;
  }
  return "error=?";
}

}  // namespace zeltra
