// TThumbnails: a grid of numbered slides on square cards, several per row, fed by the host.
// The control owns no pictures: for every visible slide it asks the host through
// OnImageRequest what to show and, optionally, for a bitmap that it scales into the card. A
// focus rectangle follows the mouse, and clicks select slides.
//
// Things a host may trip over:
// - A click between cards or in the border reports slide 0; in single mode it also clears the
//   selection.
// - The focus rectangle appears after a mouse move; a repaint takes it away until the pointer
//   moves to another card.
// - One scratch bitmap serves every slide of a paint: a handler that answers irpShowSlide
//   without touching the buffer shows the previous slide's picture. A handler may replace the
//   bitmap (the control then owns the new one) or set it to null (no picture).
// - ColorScheme recomputes the frame line colours, but the frames use fixed colours.
// - Rows start at slides 1, N + 1, 2N + 1 ... also when Min is not 1; scrolling stops when the
//   row of the last slide reaches the top.
// - OnSlideRendered and the mark also come for irpShowNothing.
// - The control does not scroll by itself: a host moves FirstThumbIx (x + NumSldX scrolls
//   one row, fractions scroll by part of a row).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "kvl/core/dstruct.h"
#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

enum TSlideSelectMode : std::uint8_t { ssmDisabled, ssmSingle, ssmMultiple };

// What a card shows: a white placeholder with the slide number, the host's bitmap, the card
// alone, or nothing (the background shows through).
enum TImageRequestProcessing : std::uint8_t {
  irpShowEmpty,
  irpShowSlide,
  irpShowFrameOnly,
  irpShowNothing
};

// Asked once per visible slide while painting. HowToProcess arrives as irpShowEmpty and MarkIt
// as -1 (no mark; 0 .. 51 draws that marker). ImgBuffer is the paint's scratch bitmap: draw
// into it, or hand over a bitmap of your own by replacing it.
using TImageRequestEvent =
    std::function<void(TObject* Sender, int ThumbID, TImageRequestProcessing& HowToProcess,
                       int& MarkIt, std::unique_ptr<TBitmap>& ImgBuffer)>;
// ThumbID is 0 when the point lies on no slide.
using TImageClickEvent = std::function<void(TObject* Sender, int X, int Y, int ThumbID)>;
// After a card is drawn: Canvas is the picture being painted, (X, Y) the card's top-left.
using TSlideRenderedEvent =
    std::function<void(TObject* Sender, TCanvas& Canvas, int X, int Y, int ThumbID)>;

class TThumbnails : public TGraphicControl {
public:
  explicit TThumbnails(TComponent* AOwner);

  // Copies looks, geometry, range, position, focus and events from another TThumbnails (not
  // the select mode, not the selection, not position or size); the selection keeps its bits
  // when Min stays and is cleared otherwise.
  void Assign(const TPersistent* Source) override;

  // Slide numbers run from Min (at least 1: 0 means "no slide") to Max. A changed Min clears
  // the selection, since bit i then means another slide. Growing the selection that fails
  // raises EKVLError and keeps the old range.
  int GetMin() const { return FMin; }
  void SetMin(int V);
  int GetMax() const { return FMax; }
  void SetMax(int V);
  // Side of the picture square: 50 .. Width (at least 1).
  int GetSlideSize() const { return FThumbBaseSize; }
  void SetSlideSize(int V);
  // Space between cards and margin around the picture, 0 .. 100.
  int GetSlideDistance() const { return FSLideDist; }
  void SetSlideDistance(int V);
  int GetSlideMargin() const { return FSlideMargin; }
  void SetSlideMargin(int V);
  // A change clears the selection.
  TSlideSelectMode GetSlideSelectMode() const { return FSelectMode; }
  void SetSlideSelectMode(TSlideSelectMode V);
  // Width of the focus rectangle, 0 .. 10; 0 switches it and OnFocusChange off.
  int GetFocusLinewidth() const { return FHiliteThickness; }
  void SetFocusLinewidth(int V);
  // The slide under the mouse, 0 for none.
  int GetFocusedSlide() const { return FLastHiLite; }

  TColor GetColorBackGnd() const { return FColorBG; }
  void SetColorBackGnd(TColor V);
  TColor GetColorCover() const { return FColorCover; }
  void SetColorCover(TColor V);
  TColor GetColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor V);
  TColor GetColorFocus() const { return FColorHilite; }
  void SetColorFocus(TColor V);
  TColor GetColorMark() const { return FMarkColor; }
  void SetColorMark(TColor V);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme V);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);
  TFrameStyle GetOuterFrameStyle() const { return FOuterFrameStyle; }
  void SetOuterFrameStyle(TFrameStyle V);
  TFrameStyle GetInnerFrameStyle() const { return FInnerFrameStyle; }
  void SetInnerFrameStyle(TFrameStyle V);
  // Stored only: pictures are always scaled by area averaging.
  bool GetAntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool V) { FAntiAlias = V; }

  // The slide at the top-left card; its fraction is the part of a row scrolled out at the top.
  // Writing clamps to [Min, Max] and aligns to the start of the row.
  double GetFirstThumbIx() const { return FFirstThumbIx; }
  void SetFirstThumbIx(double X);
  // Cards per row and rows of the last paint.
  int GetNumSldX() const { return FNumSldX; }
  int GetNumSldY() const { return FNumSldY; }
  // The slide of the last left click (0 between cards), in every select mode.
  int GetLastClickedSlide() const { return FLastClickedSlide; }

  // Selection. Slides outside [Min, Max] read false and are never set.
  bool GetSelectedSlide(int SldNum) const;
  // Repaints on every call; many slides go through SetSelectedRange.
  void SetSelectedSlide(int SldNum, bool Value);
  // The slides between the two bounds (either order, clipped to [Min, Max]), one repaint.
  void SetSelectedRange(int First, int Last, bool Value);
  void ResetAllSelections();
  // The lowest selected slide; Min - 1 (0 for the default Min) when none is.
  int FirstSelectedSlide() const;
  // The next selected slide above After; Min - 1 when there is none.
  int NextSelectedSlide(int After) const;
  int NumSlidesSelected() const { return FSelectedSlide.CountTrueBits(); }

  // The slide at a point of the control, 0 between cards and outside [Min, Max].
  int CalcSlideIndex(int XPos, int YPos) const;
  // The top-left corner of a slide's card (also for slides out of view).
  void CalcSlidePos(int SldNum, int& XPos, int& YPos) const;

  TImageRequestEvent OnImageRequest;
  TSlideRenderedEvent OnSlideRendered;
  TNotifyEvent OnFirstImageRequest;
  TNotifyEvent OnLastImageRequest;
  TImageClickEvent OnImageClick;
  TImageClickEvent OnImageDblClick;
  TNotifyEvent OnFocusChange;

protected:
  void Paint() override;
  void AssignTo(TPersistent* Dest) const override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  // Card pitch P and card side S.
  int Pitch() const { return FThumbBaseSize + FSLideDist + 2 * FSlideMargin; }
  int CardSide() const { return FThumbBaseSize + 2 * FSlideMargin; }
  // Pixels the rows are moved up by the fraction of the position.
  int ScrollOffset() const;
  bool InRange(std::int64_t SldNum) const { return SldNum >= FMin && SldNum <= FMax; }
  // Resizes the selection to the range Lo .. Hi; EKVLError when that fails.
  void ResizeSelection(int Lo, int Hi);
  void Changed();
  // Clamps and aligns a position and stores it; true when it changed.
  bool StorePosition(double X);
  void PaintCard(TCanvas& C, int SldNum, int X1, int Y1, std::unique_ptr<TBitmap>& Buffer);
  // The focus rectangle around a slide's card, or its erasing in the card colour.
  void HiLite(int SldNum);
  void ResetLastHiLite();
  void DrawFocusOutline(int SldNum, TColor Color);

  TFrameStyle FFrameStyle = fsLowered;
  TFrameStyle FOuterFrameStyle = fsRaised;
  TFrameStyle FInnerFrameStyle = fsLowered;
  TColor FColorBG = clBtnFace;
  TColor FColBlackLine = clBlack;
  TColor FColGrayLine = clGray;
  TColor FColWhiteLine = clWhite;
  TColorScheme FColorScheme = csFixed;
  double FFirstThumbIx = 1.0;
  int FMin = 1;
  int FMax = 100;
  int FNumSldX = 2;
  int FNumSldY = 0;
  int FThumbBaseSize = 120;
  int FSLideDist = 2;
  int FSlideMargin = 7;
  bool FAntiAlias = false;
  TColor FColorCover = clSilver;
  TColor FColorSelected = clNavy;
  TColor FColorHilite = clBlue;
  TColor FMarkColor = clBlack;
  int FLastHiLite = 0;
  int FHiliteThickness = 1;
  bool FIsWorking = false;
  TBitFld FSelectedSlide;
  TSlideSelectMode FSelectMode = ssmSingle;
  int FLastClickedSlide = 0;
  TBitmap FOffscreen;
};

}  // namespace kvl
