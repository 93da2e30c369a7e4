// Unit rasterlab: TRasterLab, a dot-matrix display. The text is drawn as square dots of a bitmap
// font on a raster of dark off dots, optionally in character blocks, and can scroll by itself
// on a private timer. The font is the built-in 7 x 12 dot font or any installed font converted
// to dots.
//
// Text is UTF-8; code points 32..255 index the dot font (128..255 are Latin-1), everything else
// (control codes, code points above 255, invalid bytes) draws as the space. Non-proportional
// text shows columns 0 .. FontWidth - 1 of each glyph, so a converted glyph that starts right of
// column 0 can lose its last column.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/timers.h"

namespace kvl {

class EKVLRasterLabError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

enum TRDBlockMode : std::uint8_t { rdbmOff, rdbmOn, rdbmRaster };
enum TRDScrollMode : std::uint8_t { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };

// A dot font: at most 32 x 32 dots per character.
struct TRDCharMatrix {
  int FontWidth = 0;   // widest character, in dots
  int FontHeight = 0;  // dot rows in use
  std::array<std::uint8_t, 256> LeftMostBit{};   // first dot column in use
  std::array<std::uint8_t, 256> RightMostBit{};  // last dot column in use
  std::array<std::array<std::uint32_t, 32>, 256> BitData{};  // bit j of a row = column j
};

class TRasterLab : public TGraphicControl {
public:
  explicit TRasterLab(TComponent* AOwner);

  // From another raster label: the frame, the text and the colours, then repaints.
  void Assign(const TPersistent* Source) override;

  // The dot font of Font: the built-in one for nullptr or the name "default" in any case,
  // else the font's glyphs scanned from a scratch bitmap. Code points the face has no glyph
  // for stay empty (first column 31, last 0).
  static TRDCharMatrix CreateBitFont(const TFont* Font);
  // The pixel length of a text in the current matrix and pitch; saturates at INT_MAX.
  int CalcTextBitLength(const std::string& Text) const;

  // Writing stores a copy with FontWidth and FontHeight clamped to 0..32 and the column bytes
  // to 0..31, and repaints, without automatic adjustments.
  const TRDCharMatrix& GetCharMatrix() const { return FCMat; }
  void SetCharMatrix(const TRDCharMatrix& M);

  // Setters repaint at once.
  const std::string& GetText() const override { return FLabText; }
  void SetText(const std::string& V) override;
  // 1..32 and 0..3.
  int GetDotSize() const { return FDotSize; }
  void SetDotSize(int V);
  int GetDotSpacing() const { return FDotSpacing; }
  void SetDotSpacing(int V);
  int GetPosX() const { return FXPos; }
  void SetPosX(int V);
  int GetPosY() const { return FYPos; }
  void SetPosY(int V);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool V);
  TRDBlockMode GetCharBlockMode() const { return FCharBlockMode; }
  void SetCharBlockMode(TRDBlockMode V);
  bool GetAutoHeight() const { return FAutoHeight; }
  void SetAutoHeight(bool V);
  // On: centred, also after a size or Proportional change; off: PosX 1.
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool V);
  TColor GetColorDotOn() const { return FColorDotOn; }
  void SetColorDotOn(TColor C);
  TColor GetColorDotOff() const { return FColorDotOff; }
  void SetColorDotOff(TColor C);
  TColor GetColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor C);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme V);

  // Scrolling: every ScrollInterval ms (at least 10) the text moves ScrollIncrement pixels
  // (1..INT_MAX) in the mode's direction. A looping text re-enters from the other side once
  // it has left; OnScrollLoopRestart fires first, so it may set the next message.
  TRDScrollMode GetScrollMode() const { return FScrollMode; }
  void SetScrollMode(TRDScrollMode V);
  int GetScrollInterval() const { return FScrollIv; }
  void SetScrollInterval(int V);
  int GetScrollIncrement() const { return FScrollInc; }
  void SetScrollIncrement(int V);
  bool GetScrollLoop() const { return FScrollLoop; }
  void SetScrollLoop(bool V);
  const TNotifyEvent& GetOnScrollTimer() const { return FOnScrollTimer; }
  // Assigning restarts the timer.
  void SetOnScrollTimer(TNotifyEvent E);
  TNotifyEvent OnScrollLoopRestart;

  // The scroll offsets and the painted length of the text.
  int GetScrollPosX() const { return FScrollPosX; }
  int GetScrollPosY() const { return FScrollPosY; }
  int GetTextBitLength() const { return FTextBitLength; }

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void FontChanged() override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  // One character at (X, Y) of Target; returns its width in pixels.
  int PaintChar(TBitmap& Target, int X, int Y, int Code, int DotSize, int DotSpacing,
                TColor OnColor, bool FullWidth);
  // The characters of the text that meet Target, the text starting at (X, Y).
  void PaintString(TBitmap& Target, std::int64_t X, std::int64_t Y);
  void AdjustAutoHeight();
  void AdjustAutoCenter();
  virtual void DoTimer();
  virtual void DoScrLoopRestart();

private:
  int Pitch() const { return FDotSize + FDotSpacing; }
  int FrameAllowance() const;
  // Positions of the text's characters, after any change of what decides them.
  void Relayout();
  // Stores, relays out and adjusts as a dot size or spacing change does.
  void Changed();
  void RestartTimer();
  // Background, raster and text for a text origin of (X, Y) in Target.
  void RenderContent(TBitmap& Target, const TRect& FillArea, std::int64_t X, std::int64_t Y);
  void PaintFrame(TCanvas& C);
  // A tick's picture: the window of the kept strip the offsets show, or a full paint.
  void PaintScrolled();
  bool StripCovers() const;
  void RenderStrip();
  // The runs a tick writes, for the label's size, frame and strip direction.
  void PrepareTickRuns();

  TRDCharMatrix FCMat;
  TFrameStyle FFrameStyle = fsLowered;
  TRDScrollMode FScrollMode = rdsmOff;
  int FScrollPosX = 0, FScrollPosY = 0;
  bool FScrollLoop = true;
  bool FScrTimerEnabled = false;
  bool FAutoCenter = false;
  int FTextBitLength = 1;
  TNotifyEvent FOnScrollTimer;
  int FScrollIv = 100;
  int FScrollInc = 1;
  std::string FLabText = "Text";
  TColor FColorLabBakG = clBlack;
  TColor FColorDotOn = clLime;
  TColor FColorDotOff = 0x00404040;
  TColor FColBlackLine = clBlack, FColGrayLine = clGray, FColWhiteLine = clWhite;
  bool FAutoHeight = false;
  TRDBlockMode FCharBlockMode = rdbmOn;
  TColorScheme FColorScheme = csFixed;
  bool FProportional = true;
  int FDotSize = 3;
  int FDotSpacing = 1;
  int FXPos = 1, FYPos = 1;

  TPrivateTimer FTimer{*this, [this] { DoTimer(); }};
  // The text as font codes and the start of each character (one more: the end).
  std::vector<std::uint8_t> FCodes;
  std::vector<std::int64_t> FCharX;
  TBitmap FOffscreen;
  // The picture of a band around the visible area along the scroll direction, rendered at
  // the offsets FStripX, FStripY with FStripExtra pixels more on each side.
  TBitmap FStrip;
  bool FStripValid = false;
  bool FStripVertical = false;
  int FStripExtra = 0;
  std::int64_t FStripX = 0, FStripY = 0;
  // Each row of a tick's picture as runs taken from the strip's window, from the frame's
  // finished pixels, or from the window with the off dots of the frame's ring ends blanked,
  // so that every pixel is written once and the frame is not drawn again on every tick.
  enum class TTickSource : std::uint8_t { Window, Frame, RingEnd };
  struct TTickRun {
    int X1, X2;
    TTickSource Source;
    std::size_t Frame;  // where a frame run's pixels start in FTickFrame
  };
  std::vector<TTickRun> FTickRuns;
  std::vector<std::size_t> FTickRows;  // row Y's runs: [FTickRows[Y], FTickRows[Y + 1])
  std::vector<std::uint32_t> FTickFrame;
  struct TTickKey {
    int W = -1, H = -1;
    TFrameStyle Style = fsNone;
    bool Vertical = false;
    TColor K = 0, D = 0, L = 0;
    bool operator==(const TTickKey&) const = default;
  } FTickKey;
};

}  // namespace kvl
