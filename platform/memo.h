// TCustomMemo/TMemo: an edit of several lines, wrapped to its width, with scroll bars.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/scrollbars.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/stringlist.h"

namespace kvl {

class TCustomMemo;

// The memo's paragraphs as a list of lines. Writing them edits the memo (and runs its
// Change); a line given with line breaks in it becomes several lines. Objects are not kept.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo& Memo) : FMemo(Memo) {}
  int GetCount() const override;
  std::string GetStrings(int Index) const override;
  void SetStrings(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;

private:
  TCustomMemo& FMemo;
};

// Text is the paragraphs joined by "\n"; CR LF and lone CR written or pasted become "\n".
// Positions of the edit (SelStart, SelLength) count characters with each line break as one.
// OnKeyDown and OnKeyPress see every key before the memo acts on it; a key they set to 0
// does nothing more.
class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* GetLines() { return FLines.get(); }
  void SetLines(const TStrings* Value) { FLines->Assign(Value); }
  const std::string& GetText() const override;
  void SetText(const std::string& Value) override;

  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // Enter inserts a line break (on), or goes to the form (off; Ctrl+Enter still breaks).
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  // Tab inserts a tab (on), or moves the focus (off).
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // X: the caret's character in its line; Y: the line.
  TPoint GetCaretPos() const;
  void SetCaretPos(TPoint Value);

  int GetSelStart() const override;
  void SetSelStart(int Value) override;
  int GetSelLength() const override;
  void SetSelLength(int Value) override;
  std::string GetSelText() const override;
  void SetSelText(const std::string& Value) override;
  void SelectAll() override;
  void PasteFromClipboard() override;
  void SetCharCase(TEditCharCase Value) override;

  // The first display row shown, and how many display rows the text takes.
  int GetTopRow() const { return FTopRow; }
  void SetTopRow(int Value);
  int GetRowCount() const;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  // Display rows wrapped since creation (to show that an edit re-wraps one paragraph).
  std::int64_t GetWrapCount() const { return FWrapCount; }

protected:
  void Paint() override;
  void PaintBorder(TCanvas& C) override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void FontChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  friend class TMemoStrings;
  // A place in the text: a paragraph and a byte offset into it (on a character boundary).
  struct TPos {
    int Line = 0;
    int Byte = 0;
    auto operator<=>(const TPos&) const = default;
  };
  struct TPara {
    std::string Text;
    std::vector<int> Starts;  // byte offsets where its display rows start; empty: not wrapped
    int Width = 0;            // pixels of the widest row
  };

  // Editing.
  void Replace(TPos From, TPos To, const std::string& S);  // S holds "\n" breaks only
  bool InsertTyped(std::string S);
  void DeleteTo(TPos P);  // deletes between the caret and P, or the selection
  void SetSel(TPos Anchor, TPos Caret, bool KeepX = false);
  TPos Clamped(TPos P) const;
  TPos PosOfChar(int Chars) const;
  int CharOfPos(TPos P) const;
  TPos Left(TPos P, bool Word) const;
  TPos Right(TPos P, bool Word) const;
  std::string TextBetween(TPos A, TPos B) const;
  void SetAll(std::vector<std::string> Paras);
  void Edited();

  // Layout.
  int WrapWidth() const;
  void Wrap(TPara& P);
  void WrapAll();
  void RebuildRows() const;
  int RowOf(TPos P) const;
  TPos PosAtRow(int Row, int X) const;  // X in text pixels from the row's start
  void RowAt(int Row, int& Line, int& Sub) const;
  int RowX(int Line, int Sub) const;  // client X of the row's start
  int LineHeight() const;
  int PageRows() const;
  void ScrollCaretIntoView();
  void UpdateBars();
  void OnBar(TScrollBarPart& Bar, TScrollCode Code, std::int64_t Pos);
  void SetScrollX(int Value);
  TPos PosAtPoint(int X, int Y) const;

  std::unique_ptr<TMemoStrings> FLines;
  std::vector<TPara> FParas;
  mutable std::vector<int> FRowStart;  // first display row of each paragraph
  mutable bool FRowsValid = false;
  mutable std::string FTextCache;
  mutable bool FTextValid = false;
  int FCharCount = 0;  // characters of Text, line breaks included
  TPos FAnchorPos, FCaretPos;
  int FWantX = -1;  // the column in pixels Up and Down keep to
  int FTopRow = 0;
  int FScrollX = 0;
  int FWrappedWidth = -1;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FBreakTyped = false;  // Ctrl+Enter broke the line; its character is not typed again
  bool FSelectingText = false;
  TScrollBarPart FVBar, FHBar;
  std::int64_t FWrapCount = 0;
};

class TMemo : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

}  // namespace kvl
