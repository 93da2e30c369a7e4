#include "kvl/core/kvlbase.h"

namespace kvl {

std::string ComponentMessage(std::string_view Name, std::string_view Reason) {
  std::string Msg;
  Msg.reserve(Name.size() + Reason.size() + 14);
  Msg += "Component \"";
  Msg += Name;
  Msg += "\": ";
  Msg += Reason;
  return Msg;
}

TFrameStyle FrameStyleFromByte(std::uint8_t B) {
  return B <= fsEngraved ? static_cast<TFrameStyle>(B) : fsNone;
}

TDecPSep DecPSepFromByte(std::uint8_t B) {
  return B <= dpsBoth ? static_cast<TDecPSep>(B) : dpsBoth;
}

}  // namespace kvl
