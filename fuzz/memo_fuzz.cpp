// Random editing of a memo: typed characters, pasted bytes with CR, LF and NUL, deletions,
// caret moves with and without Shift, program writes of Lines and SelStart, and resizes with
// word wrap on and off. After every step Text must equal the Lines joined by "\n" (no CR left),
// the caret must lie inside the text, and the selection must read back as a part of Text.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "kvl/core/stringl.h"
#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/memo.h"

namespace {

using namespace kvl;

void Check(bool Ok) {
  if (!Ok) std::abort();
}

struct TSetup {
  TForm* Form;
  TMemo* Memo;
};

TSetup& Setup() {
  static TSetup S = [] {
    Application->SetHost(std::make_unique<THeadlessHost>());
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, 300, 200);
    auto* Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(0, 0, 120, 80);
    Form->Show();
    Memo->SetFocus();
    return TSetup{Form, Memo};
  }();
  return S;
}

constexpr std::uint16_t Keys[] = {vk::Left,  vk::Right, vk::Up,   vk::Down,  vk::Home,
                                  vk::End,   vk::Prior, vk::Next, vk::Back,  vk::Delete,
                                  vk::Return};

void CheckConsistent(TMemo& M) {
  const std::string& T = M.GetText();
  Check(T.find('\r') == std::string::npos);
  std::string Joined;
  for (int I = 0; I < M.GetLines()->GetCount(); ++I) {
    if (I) Joined += '\n';
    Joined += (*M.GetLines())[I];
  }
  Check(Joined == T);
  const int Len = Utf8Length(T);
  const int Start = M.GetSelStart(), SelLen = M.GetSelLength();
  Check(Start >= 0 && SelLen >= 0 && Start + SelLen <= Len);
  Check(M.GetSelText() == Utf8Mid(T, Start + 1, SelLen));
  const TPoint P = M.GetCaretPos();
  Check(P.Y >= 0 && P.Y < std::max(M.GetLines()->GetCount(), 1));
  Check(M.GetTopRow() >= 0 && M.GetTopRow() < std::max(M.GetRowCount(), 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TMemo& M = *S.Memo;
  M.SetText("");
  M.SetMaxLength(0);
  M.SetWordWrap(true);
  M.SetBounds(0, 0, 120, 80);
  std::size_t I = 0;
  const auto Next = [&]() -> std::uint8_t { return I < Size ? Data[I++] : 0; };
  while (I < Size) {
    const std::uint8_t Op = Next();
    switch (Op % 8) {
      case 0: {  // type a character
        char32_t K = Next();
        M.KeyPress(K);
        break;
      }
      case 1: {  // a key, maybe with Shift or Ctrl
        std::uint16_t K = Keys[Next() % std::size(Keys)];
        const std::uint8_t Mods = Next();
        M.KeyDown(K, TShiftState((Mods & 1 ? ssShift : 0) | (Mods & 2 ? ssCtrl : 0)));
        break;
      }
      case 2: {  // paste raw bytes
        const std::size_t N = std::min<std::size_t>(Next(), Size - I);
        Clipboard().SetAsText(std::string(reinterpret_cast<const char*>(Data + I), N));
        I += N;
        M.PasteFromClipboard();
        break;
      }
      case 3:
        M.SetBounds(0, 0, Next(), Next());
        break;
      case 4:
        M.SetWordWrap(!M.GetWordWrap());
        break;
      case 5:
        M.SetSelStart(Next());
        M.SetSelLength(Next());
        break;
      case 6: {
        const int N = M.GetLines()->GetCount();
        const std::uint8_t What = Next();
        if (What % 3 == 0) M.GetLines()->Add(std::string(What % 7, char('a' + What % 26)) + "\r\nx");
        if (What % 3 == 1 && N > 0) M.GetLines()->Delete(What % N);
        if (What % 3 == 2 && N > 0) M.GetLines()->SetStrings(What % N, "\n");
        break;
      }
      case 7:
        M.SetMaxLength(Next() % 16);
        break;
    }
    CheckConsistent(M);
  }
  Application->ProcessMessages();
  return 0;
}
