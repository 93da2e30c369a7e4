// The clipboard (text) and the bell, both provided by the host: the X CLIPBOARD selection and
// the X bell on a display, memory and a counter when headless.
#pragma once

#include <cstdint>
#include <string>

namespace kvl {

enum TClipboardFormat : std::uint8_t { cfText };

class TClipboard {
public:
  // The clipboard's text, empty when it holds none.
  std::string GetAsText() const;
  void SetAsText(const std::string& Text);
  bool HasFormat(TClipboardFormat Format) const;
  void Clear() { SetAsText(""); }
};

TClipboard& Clipboard();

// The platform's alert sound; the type is accepted for callers that pass one and not used.
void MessageBeep(unsigned Type = 0);
void Beep();

}  // namespace kvl
