// Package frame: the exception family, component message forms and the shared one-byte
// enumerations every component interprets.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kvl {

class TObject;

// Root of every error the library raises; carries only its message.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& Msg) : std::runtime_error(Msg) {}
  std::string Message() const { return what(); }
};

// Base of the components' own exception classes; each unit derives its class from it.
class EKVLError : public Exception {
public:
  using Exception::Exception;
};

// The reasons a component names when it fails.
inline constexpr std::string_view rsNoTimer = "no timer available";
inline constexpr std::string_view rsIntegerOverflow = "integer overflow";
inline constexpr std::string_view rsHeapFull = "not enough memory on heap";
inline constexpr std::string_view rsInitOutOfMemory = "failed to initialize (out of memory)";
inline constexpr std::string_view rsInitTableEditor =
    "failed to initialize table editor (out of memory)";

// Component "Name": reason  (the name may be empty).
std::string ComponentMessage(std::string_view Name, std::string_view Reason);

// Raises E (derived from EKVLError) with the component message form.
template <class E>
[[noreturn]] void RaiseComponentError(std::string_view Name, std::string_view Reason) {
  throw E(ComponentMessage(Name, Reason));
}

// Frame drawn around a control or a sub-area.
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// Which colours the 3D frame lines use.
enum TColorScheme : std::uint8_t { csFixed, csSystem };

// Decimal separator accepted in number text.
enum TDecPSep : std::uint8_t { dpsLocale, dpsPoint, dpsComma, dpsBoth };

// Growth direction of a bar.
enum TDirection : std::uint8_t { dirUp, dirDown, dirLeft, dirRight };

// Where the cursor moves after an entry: 0 down, 1 right.
enum TOrientation : std::uint8_t { orVertical, orHorizontal };

// How a background image fills its area.
enum TBkgFill : std::uint8_t { bfNormal, bfStretched, bfTiled };

// Language of month, weekday and holiday names; lgCodes gives "M01" and "D01" style codes.
enum TLanguage : std::uint8_t { lgCodes, lgEnglish, lgGerman, lgFrench, lgSpanish };

// Combination of a host's filter result with the built-in search.
enum TLogicOp : std::uint8_t { loAnd, loOr, loXor, loNone };

// Bytes read from a stream or cast from an integer may lie outside the listed values; these
// map them onto a safe value so that no table is ever indexed with an unknown ordinal.
TFrameStyle FrameStyleFromByte(std::uint8_t B);
TDecPSep DecPSepFromByte(std::uint8_t B);

// Names of rows and columns of numeric tables hold at most this many characters.
using TDTNameStr = std::string;
inline constexpr int MaxDTNameLength = 50;

// Progress of a long operation in percent.
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int Percent)>;
// Lets the host replace a sort key before two rows are compared.
using TBeforeSortExchgEvent =
    std::function<void(TObject* Sender, const std::string& Key, std::string& ExchKey)>;

// The first steps of a property setter: an equal value changes nothing (false); another is
// stored (true), and the setter goes on to repaint.
template <class TField, class T>
bool StoreIfChanged(TField& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace kvl
