// TCustomMemo: the edit's properties, caret, case and clipboard over paragraphs wrapped into
// display rows. Each paragraph keeps its own row breaks, so an edit re-wraps only what it
// touched, and painting visits only the rows that show.
#include "kvl/platform/memo.h"

#include <algorithm>

#include "kvl/core/stringl.h"
#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int Margin = 1;  // pixels between the client edge and the text
constexpr int WheelRows = 3;

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

bool IsWordByte(char C) {
  const auto U = static_cast<unsigned char>(C);
  return (U >= '0' && U <= '9') || (U >= 'a' && U <= 'z') || (U >= 'A' && U <= 'Z') ||
         U == '_' || U >= 0x80;
}

int NextChar(const std::string& S, int B) {
  return B + std::max(Utf8CharLen(S, std::size_t(B)), 1);
}

// The start of the character that ends at B, as stepping forward finds it.
int PrevChar(const std::string& S, int B) {
  for (int K = std::min(B, 4); K > 1; --K)
    if (Utf8CharLen(S, std::size_t(B - K)) == K) return B - K;
  return std::max(B - 1, 0);
}

// "\n" for CR LF and lone CR, and U+FFFD for a byte that starts no UTF-8 character (the caret
// counts characters, and stray bytes would join others as text is cut and put together).
std::string Normalized(std::string_view S) {
  const std::string Valid = Utf8Repaired(S);
  std::string Out;
  Out.reserve(Valid.size());
  for (std::size_t I = 0; I < Valid.size(); ++I) {
    if (Valid[I] == '\r') {
      Out += '\n';
      if (I + 1 < Valid.size() && Valid[I + 1] == '\n') ++I;
    } else {
      Out += Valid[I];
    }
  }
  return Out;
}

std::vector<std::string> SplitLines(const std::string& S) {
  std::vector<std::string> Out;
  std::size_t Start = 0;
  while (true) {
    const std::size_t Br = S.find('\n', Start);
    Out.push_back(S.substr(Start, Br == std::string::npos ? std::string::npos : Br - Start));
    if (Br == std::string::npos) return Out;
    Start = Br + 1;
  }
}

}  // namespace

// --- TMemoStrings ---------------------------------------------------------------------------

int TMemoStrings::GetCount() const {
  const auto& P = FMemo.FParas;
  return P.size() == 1 && P[0].Text.empty() ? 0 : int(P.size());
}

std::string TMemoStrings::GetStrings(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  return FMemo.FParas[std::size_t(Index)].Text;
}

void TMemoStrings::SetStrings(int Index, const std::string& S) {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  const auto Keep = std::pair(FMemo.FAnchorPos, FMemo.FCaretPos);
  const int Len = int(FMemo.FParas[std::size_t(Index)].Text.size());
  FMemo.Replace({Index, 0}, {Index, Len}, Normalized(S));
  FMemo.SetSel(Keep.first, Keep.second);
  FMemo.Edited();
}

void TMemoStrings::InsertObject(int Index, const std::string& S, TObject*) {
  const int N = GetCount();
  if (Index < 0 || Index > N) IndexError(Index);
  const auto Keep = std::pair(FMemo.FAnchorPos, FMemo.FCaretPos);
  const std::string T = Normalized(S);
  if (N == 0) {
    FMemo.Replace({0, 0}, {0, 0}, T);
  } else if (Index == N) {
    const int Last = N - 1;
    const int Len = int(FMemo.FParas[std::size_t(Last)].Text.size());
    FMemo.Replace({Last, Len}, {Last, Len}, "\n" + T);
  } else {
    FMemo.Replace({Index, 0}, {Index, 0}, T + "\n");
  }
  FMemo.SetSel(Keep.first, Keep.second);
  FMemo.Edited();
}

void TMemoStrings::Delete(int Index) {
  const int N = GetCount();
  if (Index < 0 || Index >= N) IndexError(Index);
  const auto Keep = std::pair(FMemo.FAnchorPos, FMemo.FCaretPos);
  const auto LenOf = [&](int I) { return int(FMemo.FParas[std::size_t(I)].Text.size()); };
  if (N == 1)
    FMemo.Replace({0, 0}, {0, LenOf(0)}, "");
  else if (Index < N - 1)
    FMemo.Replace({Index, 0}, {Index + 1, 0}, "");
  else
    FMemo.Replace({Index - 1, LenOf(Index - 1)}, {Index, LenOf(Index)}, "");
  FMemo.SetSel(Keep.first, Keep.second);
  FMemo.Edited();
}

void TMemoStrings::Clear() { FMemo.SetText(""); }

// --- Construction and text ------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner),
      FLines(std::make_unique<TMemoStrings>(*this)),
      FVBar(*this, sbVertical),
      FHBar(*this, sbHorizontal) {
  FParas.resize(1);
  FVBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnBar(FVBar, Code, Pos); };
  FHBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnBar(FHBar, Code, Pos); };
  SetAutoSelect(false);
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

const std::string& TCustomMemo::GetText() const {
  if (!FTextValid) {
    FTextCache.clear();
    for (std::size_t I = 0; I < FParas.size(); ++I) {
      if (I) FTextCache += '\n';
      FTextCache += FParas[I].Text;
    }
    FTextValid = true;
  }
  return FTextCache;
}

void TCustomMemo::SetText(const std::string& Value) {
  const std::string T = Cased(Normalized(Value));
  SetAll(SplitLines(T));
  FCharCount = Utf8Length(T);
  FAnchorPos = FCaretPos = {};
  FTopRow = FScrollX = 0;
  FWantX = -1;
  SetModified(false);
  UpdateBars();
  Invalidate();
  Change();
}

void TCustomMemo::SetAll(std::vector<std::string> Paras) {
  FParas.clear();
  FParas.resize(Paras.size());
  for (std::size_t I = 0; I < Paras.size(); ++I) FParas[I].Text = std::move(Paras[I]);
  FTextValid = false;
  WrapAll();
}

void TCustomMemo::SetCharCase(TEditCharCase Value) {
  if (Value == GetCharCase()) return;
  TCustomEdit::SetCharCase(Value);
  if (Value == ecNormal) return;
  const std::string T = Cased(GetText());
  if (T == GetText()) return;
  const auto A = FAnchorPos, C = FCaretPos;
  SetAll(SplitLines(T));
  SetSel(A, C);
  Edited();
}

// --- Positions ------------------------------------------------------------------------------

TCustomMemo::TPos TCustomMemo::Clamped(TPos P) const {
  P.Line = std::clamp(P.Line, 0, int(FParas.size()) - 1);
  const std::string& S = FParas[std::size_t(P.Line)].Text;
  P.Byte = std::clamp(P.Byte, 0, int(S.size()));
  // Onto the start of the character that covers the byte, as stepping forward finds them: the
  // nearest byte before it that is no continuation byte starts a character, and only a
  // continuation byte can lie inside one.
  const auto Continues = [&](int B) {
    return (static_cast<unsigned char>(S[std::size_t(B)]) & 0xC0) == 0x80;
  };
  if (P.Byte < int(S.size()) && Continues(P.Byte)) {
    int Lead = P.Byte - 1;
    while (Lead > 0 && Lead > P.Byte - 3 && Continues(Lead)) --Lead;
    if (Lead >= 0 && NextChar(S, Lead) > P.Byte) P.Byte = Lead;
  }
  return P;
}

int TCustomMemo::CharOfPos(TPos P) const {
  int N = 0;
  for (int I = 0; I < P.Line; ++I) N += Utf8Length(FParas[std::size_t(I)].Text) + 1;
  return N + Utf8Length(std::string_view(FParas[std::size_t(P.Line)].Text).substr(0, std::size_t(P.Byte)));
}

TCustomMemo::TPos TCustomMemo::PosOfChar(int Chars) const {
  Chars = std::max(Chars, 0);
  for (int I = 0; I < int(FParas.size()); ++I) {
    const std::string& S = FParas[std::size_t(I)].Text;
    const int Len = Utf8Length(S);
    if (Chars <= Len || I + 1 == int(FParas.size()))
      return {I, int(Utf8Offset(S, std::min(Chars, Len)))};
    Chars -= Len + 1;
  }
  return {};
}

std::string TCustomMemo::TextBetween(TPos A, TPos B) const {
  if (B < A) std::swap(A, B);
  if (A.Line == B.Line)
    return FParas[std::size_t(A.Line)].Text.substr(std::size_t(A.Byte), std::size_t(B.Byte - A.Byte));
  std::string S = FParas[std::size_t(A.Line)].Text.substr(std::size_t(A.Byte));
  for (int I = A.Line + 1; I < B.Line; ++I) S += '\n' + FParas[std::size_t(I)].Text;
  S += '\n' + FParas[std::size_t(B.Line)].Text.substr(0, std::size_t(B.Byte));
  return S;
}

int TCustomMemo::GetSelStart() const { return CharOfPos(std::min(FAnchorPos, FCaretPos)); }

int TCustomMemo::GetSelLength() const {
  return Utf8Length(TextBetween(FAnchorPos, FCaretPos));
}

std::string TCustomMemo::GetSelText() const { return TextBetween(FAnchorPos, FCaretPos); }

void TCustomMemo::SetSelStart(int Value) {
  const TPos P = PosOfChar(Value);
  SetSel(P, P);
}

void TCustomMemo::SetSelLength(int Value) {
  const TPos Start = std::min(FAnchorPos, FCaretPos);
  SetSel(Start, PosOfChar(CharOfPos(Start) + std::max(Value, 0)));
}

void TCustomMemo::SetSelText(const std::string& Value) {
  Replace(std::min(FAnchorPos, FCaretPos), std::max(FAnchorPos, FCaretPos),
          Cased(Normalized(Value)));
  Edited();
}

void TCustomMemo::SelectAll() {
  const int Last = int(FParas.size()) - 1;
  SetSel({0, 0}, {Last, int(FParas.back().Text.size())});
}

TPoint TCustomMemo::GetCaretPos() const {
  const std::string& S = FParas[std::size_t(FCaretPos.Line)].Text;
  return {Utf8Length(std::string_view(S).substr(0, std::size_t(FCaretPos.Byte))), FCaretPos.Line};
}

void TCustomMemo::SetCaretPos(TPoint Value) {
  const int Line = std::clamp(Value.Y, 0, int(FParas.size()) - 1);
  const TPos P{Line, int(Utf8Offset(FParas[std::size_t(Line)].Text, Value.X))};
  SetSel(P, P);
}

void TCustomMemo::SetSel(TPos Anchor, TPos Caret, bool KeepX) {
  FAnchorPos = Clamped(Anchor);
  FCaretPos = Clamped(Caret);
  if (!KeepX) FWantX = -1;
  ScrollCaretIntoView();
  RestartCaret();
  Invalidate();
}

// --- Editing --------------------------------------------------------------------------------

void TCustomMemo::Replace(TPos From, TPos To, const std::string& S) {
  From = Clamped(From);
  To = Clamped(To);
  if (To < From) std::swap(From, To);
  FCharCount -= Utf8Length(TextBetween(From, To));
  FCharCount += Utf8Length(S);
  const std::string Head = FParas[std::size_t(From.Line)].Text.substr(0, std::size_t(From.Byte));
  const std::string Tail = FParas[std::size_t(To.Line)].Text.substr(std::size_t(To.Byte));
  std::vector<std::string> Pieces = SplitLines(S);
  const int NewCount = int(Pieces.size());
  const TPos End{From.Line + NewCount - 1,
                 (NewCount == 1 ? From.Byte : 0) + int(Pieces.back().size())};
  Pieces.front() = Head + Pieces.front();
  Pieces.back() += Tail;
  const int OldCount = To.Line - From.Line + 1;
  const std::size_t OldRows = FParas[std::size_t(From.Line)].Starts.size();
  // Reuse the paragraphs that stay, then insert or erase the difference.
  const auto First = FParas.begin() + From.Line;
  if (NewCount < OldCount)
    FParas.erase(First + NewCount, First + OldCount);
  else if (NewCount > OldCount)
    FParas.insert(First + OldCount, std::size_t(NewCount - OldCount), TPara{});
  for (int I = 0; I < NewCount; ++I) {
    TPara& P = FParas[std::size_t(From.Line + I)];
    P.Text = std::move(Pieces[std::size_t(I)]);
    Wrap(P);
  }
  // The row table holds only while one paragraph is replaced by one of as many rows (typing);
  // over several paragraphs any of them may wrap anew.
  if (NewCount != 1 || OldCount != 1 || FParas[std::size_t(From.Line)].Starts.size() != OldRows)
    FRowsValid = false;
  FTextValid = false;
  FAnchorPos = FCaretPos = End;
}

void TCustomMemo::Edited() {
  FTextValid = false;
  SetModified(true);
  FWantX = -1;
  ScrollCaretIntoView();
  UpdateBars();
  RestartCaret();
  Invalidate();
  Change();
}

bool TCustomMemo::InsertTyped(std::string S) {
  if (GetReadOnly()) return false;
  S = Cased(Normalized(S));
  if (GetMaxLength() > 0) {
    const int Room = GetMaxLength() - (FCharCount - GetSelLength());
    if (Room <= 0) {
      MessageBeep();
      return false;
    }
    Utf8Cut(S, Room);
  }
  if (S.empty() && FAnchorPos == FCaretPos) return false;
  Replace(FAnchorPos, FCaretPos, S);
  Edited();
  return true;
}

void TCustomMemo::DeleteTo(TPos P) {
  if (GetReadOnly()) return;
  if (FAnchorPos != FCaretPos)
    Replace(FAnchorPos, FCaretPos, "");
  else if (P != FCaretPos)
    Replace(FCaretPos, P, "");
  else
    return;
  Edited();
}

void TCustomMemo::PasteFromClipboard() {
  if (GetReadOnly() || !Clipboard().HasFormat(cfText)) return;
  InsertTyped(Clipboard().GetAsText());
}

TCustomMemo::TPos TCustomMemo::Left(TPos P, bool Word) const {
  const std::string* S = &FParas[std::size_t(P.Line)].Text;
  if (P.Byte == 0) return P.Line > 0 ? TPos{P.Line - 1, int(FParas[std::size_t(P.Line - 1)].Text.size())} : P;
  if (!Word) return {P.Line, PrevChar(*S, P.Byte)};
  int B = P.Byte;
  while (B > 0 && !IsWordByte((*S)[std::size_t(B - 1)])) B = PrevChar(*S, B);
  while (B > 0 && IsWordByte((*S)[std::size_t(B - 1)])) B = PrevChar(*S, B);
  return {P.Line, B};
}

TCustomMemo::TPos TCustomMemo::Right(TPos P, bool Word) const {
  const std::string& S = FParas[std::size_t(P.Line)].Text;
  if (P.Byte >= int(S.size())) return P.Line + 1 < int(FParas.size()) ? TPos{P.Line + 1, 0} : P;
  if (!Word) return {P.Line, NextChar(S, P.Byte)};
  int B = P.Byte;
  while (B < int(S.size()) && IsWordByte(S[std::size_t(B)])) B = NextChar(S, B);
  while (B < int(S.size()) && !IsWordByte(S[std::size_t(B)])) B = NextChar(S, B);
  return {P.Line, B};
}

// --- Layout ---------------------------------------------------------------------------------

int TCustomMemo::LineHeight() const { return std::max(GetFontMetrics(GetFont()).Height, 1); }

int TCustomMemo::PageRows() const { return std::max(GetClientHeight() / LineHeight(), 1); }

int TCustomMemo::WrapWidth() const { return FWordWrap ? GetClientWidth() - 2 * Margin : 0; }

void TCustomMemo::Wrap(TPara& P) {
  const int W = WrapWidth();
  const TFont& F = GetFont();
  P.Starts.assign(1, 0);
  const std::string& S = P.Text;
  if (W < 1) {
    P.Width = TextAdvance(F, S);
    return;
  }
  // Greedy at blanks; blanks may hang past the edge; a word wider than the row breaks
  // between characters.
  int RowStart = 0, X = 0, Widest = 0, Break = -1;
  for (int B = 0; B < int(S.size());) {
    const int Next = NextChar(S, B);
    const int Adv = TextAdvance(F, std::string_view(S).substr(std::size_t(B), std::size_t(Next - B)));
    if (X + Adv > W && B > RowStart && !IsBlank(S[std::size_t(B)])) {
      const int Start = Break > RowStart ? Break : B;
      Widest = std::max(Widest, X);
      P.Starts.push_back(Start);
      RowStart = Start;
      X = TextAdvance(F, std::string_view(S).substr(std::size_t(Start), std::size_t(B - Start)));
      Break = -1;
    }
    X += Adv;
    if (IsBlank(S[std::size_t(B)])) Break = Next;
    B = Next;
  }
  P.Width = std::max(Widest, X);
  ++FWrapCount;
}

void TCustomMemo::WrapAll() {
  for (TPara& P : FParas) Wrap(P);
  FWrappedWidth = WrapWidth();
  FRowsValid = false;
}

void TCustomMemo::RebuildRows() const {
  if (FRowsValid) return;
  FRowStart.resize(FParas.size());
  int Row = 0;
  for (std::size_t I = 0; I < FParas.size(); ++I) {
    FRowStart[I] = Row;
    Row += int(FParas[I].Starts.size());
  }
  FRowsValid = true;
}

int TCustomMemo::GetRowCount() const {
  RebuildRows();
  return FRowStart.back() + int(FParas.back().Starts.size());
}

void TCustomMemo::RowAt(int Row, int& Line, int& Sub) const {
  RebuildRows();
  Row = std::clamp(Row, 0, GetRowCount() - 1);
  Line = int(std::upper_bound(FRowStart.begin(), FRowStart.end(), Row) - FRowStart.begin()) - 1;
  Sub = Row - FRowStart[std::size_t(Line)];
}

int TCustomMemo::RowOf(TPos P) const {
  RebuildRows();
  const auto& St = FParas[std::size_t(P.Line)].Starts;
  const int Sub = int(std::upper_bound(St.begin(), St.end(), P.Byte) - St.begin()) - 1;
  return FRowStart[std::size_t(P.Line)] + std::max(Sub, 0);
}

int TCustomMemo::RowX(int Line, int Sub) const {
  const TPara& P = FParas[std::size_t(Line)];
  const int From = P.Starts[std::size_t(Sub)];
  const int To = Sub + 1 < int(P.Starts.size()) ? P.Starts[std::size_t(Sub + 1)] : int(P.Text.size());
  const int Room = GetClientWidth() - 2 * Margin;
  const int W = TextAdvance(GetFont(), std::string_view(P.Text).substr(std::size_t(From), std::size_t(To - From)));
  if (W < Room) {
    if (GetAlignment() == taRightJustify) return Margin + Room - W - 1;
    if (GetAlignment() == taCenter) return Margin + (Room - W) / 2;
  }
  return Margin - FScrollX;
}

TCustomMemo::TPos TCustomMemo::PosAtRow(int Row, int X) const {
  int Line = 0, Sub = 0;
  RowAt(Row, Line, Sub);
  const TPara& P = FParas[std::size_t(Line)];
  const int From = P.Starts[std::size_t(Sub)];
  const bool LastRow = Sub + 1 == int(P.Starts.size());
  const int To = LastRow ? int(P.Text.size()) : P.Starts[std::size_t(Sub + 1)];
  int B = From, Left = 0;
  while (B < To) {
    const int Next = NextChar(P.Text, B);
    // A row that continues below ends before its last character: its end is the next row's start.
    if (!LastRow && Next >= To) break;
    const int Adv = TextAdvance(GetFont(), std::string_view(P.Text).substr(std::size_t(B), std::size_t(Next - B)));
    if (X < Left + (Adv + 1) / 2) break;
    Left += Adv;
    B = Next;
  }
  return {Line, B};
}

TCustomMemo::TPos TCustomMemo::PosAtPoint(int X, int Y) const {
  const int Row = FTopRow + (Y >= 0 ? Y / LineHeight() : -1 - (-Y - 1) / LineHeight());
  int Line = 0, Sub = 0;
  RowAt(Row, Line, Sub);
  const int R = std::clamp(Row, 0, GetRowCount() - 1);
  return PosAtRow(R, X - RowX(Line, Sub));
}

void TCustomMemo::ScrollCaretIntoView() {
  const int Row = RowOf(FCaretPos);
  const int Page = PageRows();
  if (Row < FTopRow) FTopRow = Row;
  if (Row >= FTopRow + Page) FTopRow = Row - Page + 1;
  FTopRow = std::clamp(FTopRow, 0, std::max(GetRowCount() - Page, 0));
  if (FWordWrap) {
    FScrollX = 0;
  } else {
    const TPara& P = FParas[std::size_t(FCaretPos.Line)];
    const int X = TextAdvance(GetFont(), std::string_view(P.Text).substr(0, std::size_t(FCaretPos.Byte)));
    const int Room = std::max(GetClientWidth() - 2 * Margin, 1);
    if (X < FScrollX) FScrollX = std::max(X - Room / 3, 0);
    if (X >= FScrollX + Room) FScrollX = X - Room + Room / 3;
  }
  FVBar.SetPosition(FTopRow);
  FHBar.SetPosition(FScrollX);
}

void TCustomMemo::SetTopRow(int Value) {
  Value = std::clamp(Value, 0, std::max(GetRowCount() - PageRows(), 0));
  if (Value == FTopRow) return;
  FTopRow = Value;
  FVBar.SetPosition(Value);
  Invalidate();
}

void TCustomMemo::SetScrollX(int Value) {
  Value = std::clamp(Value, 0, int(std::max<std::int64_t>(FHBar.GetMax(), 0)));
  if (Value == FScrollX || FWordWrap) return;
  FScrollX = Value;
  FHBar.SetPosition(Value);
  Invalidate();
}

void TCustomMemo::UpdateBars() {
  const bool V = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool H = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  const int T = TScrollBarPart::Thickness, B = GetBorderInset();
  const int W = GetWidth(), Ht = GetHeight();
  FVBar.SetBounds(V ? Rect(W - B - T, B, W - B, Ht - B - (H ? T : 0)) : TRect{});
  FHBar.SetBounds(H ? Rect(B, Ht - B - T, W - B - (V ? T : 0), Ht - B) : TRect{});
  const int Page = PageRows();
  FVBar.SetParams(0, std::max(GetRowCount() - Page, 0), Page);
  FVBar.SetEnabled(GetRowCount() > Page && IsEnabledInTree());
  FVBar.SetPosition(FTopRow);
  if (H) {
    int Widest = 0;
    if (!FWordWrap)
      for (const TPara& P : FParas) Widest = std::max(Widest, P.Width);
    const int Room = std::max(GetClientWidth() - 2 * Margin, 1);
    FHBar.SetParams(0, std::max(Widest + 1 - Room, 0), Room);
    FHBar.SetEnabled(Widest + 1 > Room && IsEnabledInTree());
    FHBar.SetPosition(FScrollX);
  }
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  FScrollX = 0;
  WrapAll();
  ScrollCaretIntoView();
  UpdateBars();
  Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  const bool V = Value == ssVertical || Value == ssBoth;
  const bool H = Value == ssHorizontal || Value == ssBoth;
  SetScrollBarInsets(V ? TScrollBarPart::Thickness : 0, H ? TScrollBarPart::Thickness : 0);
  if (WrapWidth() != FWrappedWidth) WrapAll();
  ScrollCaretIntoView();
  UpdateBars();
}

void TCustomMemo::SizeChanged(int OldWidth, int OldHeight) {
  TCustomEdit::SizeChanged(OldWidth, OldHeight);
  if (FParas.empty()) return;
  if (WrapWidth() != FWrappedWidth) WrapAll();
  ScrollCaretIntoView();
  UpdateBars();
}

void TCustomMemo::FontChanged() {
  TCustomEdit::FontChanged();
  WrapAll();
  ScrollCaretIntoView();
  UpdateBars();
}

void TCustomMemo::OnBar(TScrollBarPart& Bar, TScrollCode Code, std::int64_t Pos) {
  const bool Vert = &Bar == &FVBar;
  const int Line = Vert ? 1 : 8;
  const int Page = Vert ? PageRows() : std::max(GetClientWidth() - 2 * Margin, 1);
  const int Now = Vert ? FTopRow : FScrollX;
  const std::optional<int> To = ScrollTarget(Code, Pos, Now, Line, Page, Bar.GetMax());
  if (!To) return;
  if (Vert)
    SetTopRow(*To);
  else
    SetScrollX(*To);
}

bool TCustomMemo::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomEdit::DoMouseWheelDown(Shift, MousePos)) SetTopRow(FTopRow + WheelRows);
  return true;
}

bool TCustomMemo::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomEdit::DoMouseWheelUp(Shift, MousePos)) SetTopRow(FTopRow - WheelRows);
  return true;
}

void TCustomMemo::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  BarsMouseDown(FVBar, FHBar, Button, X, Y);
}
void TCustomMemo::NonClientMouseMove(TShiftState, int X, int Y) { BarsMouseMove(FVBar, FHBar, X, Y); }
void TCustomMemo::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  BarsMouseUp(FVBar, FHBar, Button, X, Y);
}

// --- Keyboard -------------------------------------------------------------------------------

bool TCustomMemo::WantsKey(std::uint16_t Key, TShiftState Shift) const {
  if (Key == vk::Return) return FWantReturns;
  if (Key == vk::Tab) return FWantTabs && !(Shift & ssCtrl);
  return TCustomEdit::WantsKey(Key, Shift);
}

void TCustomMemo::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  FBreakTyped = false;
  TWinControl::KeyDown(Key, Shift);  // OnKeyDown first; it may take the key away
  if (Key == 0) return;
  const bool Ctrl = (Shift & ssCtrl) != 0, Shifted = (Shift & ssShift) != 0;
  const auto MoveTo = [&](TPos P, bool KeepX = false) {
    SetSel(Shifted ? FAnchorPos : P, P, KeepX);
  };
  const auto Vertical = [&](int Rows) {
    const int Row = RowOf(FCaretPos);
    int Line = 0, Sub = 0;
    RowAt(Row, Line, Sub);
    if (FWantX < 0)
      FWantX = TextAdvance(GetFont(), std::string_view(FParas[std::size_t(Line)].Text)
                                          .substr(std::size_t(FParas[std::size_t(Line)].Starts[std::size_t(Sub)]),
                                                  std::size_t(FCaretPos.Byte - FParas[std::size_t(Line)].Starts[std::size_t(Sub)])));
    const int Target = std::clamp(Row + Rows, 0, GetRowCount() - 1);
    const int X = FWantX;
    MoveTo(PosAtRow(Target, X), true);
    FWantX = X;
  };
  const auto RowEdge = [&](bool End) {
    int Line = 0, Sub = 0;
    RowAt(RowOf(FCaretPos), Line, Sub);
    const TPara& P = FParas[std::size_t(Line)];
    if (!End) return TPos{Line, P.Starts[std::size_t(Sub)]};
    if (Sub + 1 < int(P.Starts.size()))
      return TPos{Line, PrevChar(P.Text, P.Starts[std::size_t(Sub + 1)])};
    return TPos{Line, int(P.Text.size())};
  };
  const bool HasSel = FAnchorPos != FCaretPos;
  switch (Key) {
    case vk::Left:
      if (!Shifted && !Ctrl && HasSel)
        MoveTo(std::min(FAnchorPos, FCaretPos));
      else
        MoveTo(Left(FCaretPos, Ctrl));
      break;
    case vk::Right:
      if (!Shifted && !Ctrl && HasSel)
        MoveTo(std::max(FAnchorPos, FCaretPos));
      else
        MoveTo(Right(FCaretPos, Ctrl));
      break;
    case vk::Up:
      if (Ctrl)
        SetTopRow(FTopRow - 1);
      else
        Vertical(-1);
      break;
    case vk::Down:
      if (Ctrl)
        SetTopRow(FTopRow + 1);
      else
        Vertical(1);
      break;
    case vk::Prior:
    case vk::Next: {
      const int Page = PageRows();
      const int D = Key == vk::Next ? Page : -Page;
      const int Top = FTopRow;
      Vertical(D);
      SetTopRow(Top + D);
      break;
    }
    case vk::Home:
      MoveTo(Ctrl ? TPos{} : RowEdge(false));
      break;
    case vk::End:
      MoveTo(Ctrl ? TPos{int(FParas.size()) - 1, int(FParas.back().Text.size())} : RowEdge(true));
      break;
    case vk::Back:
      DeleteTo(Left(FCaretPos, Ctrl));
      break;
    case vk::Delete:
      if (Shifted)
        CutToClipboard();
      else
        DeleteTo(Right(FCaretPos, Ctrl));
      break;
    case vk::Return:
      // Ctrl+Enter breaks the line also where Enter goes to the form.
      if (Ctrl && !GetReadOnly()) {
        InsertTyped("\n");
        FBreakTyped = true;
      }
      break;
    default:
      ClipboardKey(Key, Shift);
      break;
  }
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);  // OnKeyPress first; #0 there types nothing
  if (Key == 0 || GetReadOnly()) return;
  if (Key == '\r' || Key == '\n') {
    if (FBreakTyped) {
      FBreakTyped = false;
      return;
    }
    if (FWantReturns) InsertTyped("\n");
    return;
  }
  if (Key == '\t') {
    if (FWantTabs) InsertTyped("\t");
    return;
  }
  if (Key < 32 || Key == 127) return;
  InsertTyped(Utf8Encode(Key));
}

// --- Mouse ----------------------------------------------------------------------------------

void TCustomMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    const TPos P = PosAtPoint(X, Y);
    if (Shift & ssDouble) {
      const std::string& S = FParas[std::size_t(P.Line)].Text;
      int From = P.Byte, To = P.Byte;
      const bool Word = From < int(S.size()) ? IsWordByte(S[std::size_t(From)])
                                             : From > 0 && IsWordByte(S[std::size_t(From - 1)]);
      while (From > 0 && IsWordByte(S[std::size_t(From - 1)]) == Word) From = PrevChar(S, From);
      while (To < int(S.size()) && IsWordByte(S[std::size_t(To)]) == Word) To = NextChar(S, To);
      SetSel({P.Line, From}, {P.Line, To});
      FSelectingText = false;
    } else {
      SetSel((Shift & ssShift) ? FAnchorPos : P, P);
      FSelectingText = true;
    }
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomMemo::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSelectingText) SetSel(FAnchorPos, PosAtPoint(X, Y));
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FSelectingText = false;
  TWinControl::MouseUp(Button, Shift, X, Y);
}

// --- Painting -------------------------------------------------------------------------------

void TCustomMemo::PaintBorder(TCanvas& C) {
  TCustomEdit::PaintBorder(C);
  if (!FVBar.GetBounds().IsEmpty()) FVBar.Paint(C);
  if (!FHBar.GetBounds().IsEmpty()) FHBar.Paint(C);
  if (!FVBar.GetBounds().IsEmpty() && !FHBar.GetBounds().IsEmpty()) {
    C.GetBrush().SetColor(clBtnFace);
    C.FillRect(Rect(FVBar.GetBounds().Left, FHBar.GetBounds().Top, FVBar.GetBounds().Right,
                    FHBar.GetBounds().Bottom));
  }
}

void TCustomMemo::Paint() {
  TCanvas& C = *GetCanvas();
  const TRect Client = GetClientRect();
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(Client);
  C.SetFont(GetFont());
  const int H = LineHeight();
  const TPos SelA = std::min(FAnchorPos, FCaretPos), SelB = std::max(FAnchorPos, FCaretPos);
  const bool ShowSel = SelA != SelB && ShowsSelection();
  const int Rows = GetRowCount();
  const int Last = std::min(Rows, FTopRow + (Client.Height() + H - 1) / H);
  for (int Row = FTopRow; Row < Last; ++Row) {
    int Line = 0, Sub = 0;
    RowAt(Row, Line, Sub);
    const TPara& P = FParas[std::size_t(Line)];
    const int From = P.Starts[std::size_t(Sub)];
    const int To = Sub + 1 < int(P.Starts.size()) ? P.Starts[std::size_t(Sub + 1)] : int(P.Text.size());
    const std::string_view RowText = std::string_view(P.Text).substr(std::size_t(From), std::size_t(To - From));
    const int X = RowX(Line, Sub), Y = (Row - FTopRow) * H;
    C.GetBrush().SetStyle(bsClear);
    C.GetFont().SetColor(GetShownFontColor());
    C.TextOut(X, Y, RowText);
    if (ShowSel && TPos{Line, To} >= SelA && TPos{Line, From} <= SelB) {
      const int A = SelA.Line < Line ? From : std::max(SelA.Byte, From);
      const int B = SelB.Line > Line ? To : std::min(SelB.Byte, To);
      const int X1 = X + C.TextWidth(RowText.substr(0, std::size_t(A - From)));
      int X2 = X + C.TextWidth(RowText.substr(0, std::size_t(B - From)));
      // A selected line break shows as a little room after the row's text.
      if (SelB.Line > Line && B == int(P.Text.size()) && Sub + 1 == int(P.Starts.size())) X2 += 4;
      const TRect Sel = Rect(X1, Y, X2, Y + H).Intersect(Client);
      C.GetBrush().SetColor(clHighlight);
      C.GetFont().SetColor(clHighlightText);
      if (!Sel.IsEmpty()) C.TextRect(Sel, X, Y, RowText);
    }
  }
  if (CaretShown()) {
    const int Row = RowOf(FCaretPos);
    if (Row >= FTopRow && Row < Last) {
      int Line = 0, Sub = 0;
      RowAt(Row, Line, Sub);
      const TPara& P = FParas[std::size_t(Line)];
      const int From = P.Starts[std::size_t(Sub)];
      const int Cx = RowX(Line, Sub) + C.TextWidth(std::string_view(P.Text).substr(std::size_t(From), std::size_t(FCaretPos.Byte - From)));
      const int Y = (Row - FTopRow) * H;
      C.GetPen().SetColor(GetShownFontColor());
      C.GetPen().SetStyle(psSolid);
      C.GetPen().SetWidth(1);
      C.MoveTo(Cx, Y);
      C.LineTo(Cx, Y + H);
    }
  }
}

}  // namespace kvl
