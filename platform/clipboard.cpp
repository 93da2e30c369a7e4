#include "kvl/platform/clipboard.h"

#include "kvl/platform/application.h"

namespace kvl {

std::string TClipboard::GetAsText() const {
  return Application->GetHost().ClipboardText().value_or(std::string());
}

void TClipboard::SetAsText(const std::string& Text) {
  Application->GetHost().SetClipboardText(Text);
}

bool TClipboard::HasFormat(TClipboardFormat Format) const {
  return Format == cfText && Application->GetHost().HasClipboardText();
}

TClipboard& Clipboard() {
  static TClipboard C;
  return C;
}

void MessageBeep(unsigned) { Application->GetHost().Beep(); }

void Beep() { Application->GetHost().Beep(); }

}  // namespace kvl
