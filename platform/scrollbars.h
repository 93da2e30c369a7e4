// A scroll bar as part of a windowed control: the control places it in its non-client area,
// paints it from PaintBorder and hands it the non-client presses, moves and releases. The bar
// never moves itself: it reports what the user asked for (OnScroll) and the owner sets the
// new position.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/input.h"
#include "kvl/platform/timers.h"

namespace kvl {

class TWinControl;

enum TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };

// Which scroll bars a scrolling control shows.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TScrollCode : std::uint8_t {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};

// Code and, for scTrack and scPosition, the position the thumb stands for.
using TScrollPartEvent = std::function<void(TScrollCode Code, std::int64_t Pos)>;

class TScrollBarPart {
public:
  // The width of a vertical bar, the height of a horizontal one, and the arrows' length.
  static constexpr int Thickness = 17;
  static constexpr int MinThumb = 8;
  static constexpr int RepeatDelay = 400;
  static constexpr int RepeatInterval = 50;

  TScrollBarPart(TWinControl& Owner, TScrollBarKind Kind);
  TScrollBarPart(const TScrollBarPart&) = delete;
  TScrollBarPart& operator=(const TScrollBarPart&) = delete;

  TScrollBarKind GetKind() const { return FKind; }
  // Positions run from Min to Max; Page is how many of them one screen shows (the thumb's
  // share of the track). Max below Min counts as Min; the position is clamped into range.
  void SetParams(std::int64_t Min, std::int64_t Max, std::int64_t Page);
  std::int64_t GetMin() const { return FMin; }
  std::int64_t GetMax() const { return FMax; }
  std::int64_t GetPage() const { return FPage; }
  std::int64_t GetPosition() const { return FPosition; }
  void SetPosition(std::int64_t Value);
  // A disabled bar shows grey arrows and no thumb and takes no presses.
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Where the bar lies, in the owner's control coordinates (empty: not shown).
  const TRect& GetBounds() const { return FBounds; }
  void SetBounds(const TRect& R);

  enum class TZone : std::uint8_t { None, LineUp, PageUp, Thumb, PageDown, LineDown };
  struct TGeometry {
    TRect LineUp, PageUp, Thumb, PageDown, LineDown;  // Thumb empty when none fits
  };
  TGeometry GetGeometry() const;
  TZone ZoneAt(TPoint P) const;
  // The zone held down now (None when nothing is pressed).
  TZone GetPressed() const { return FPressed; }
  bool IsTracking() const { return FPressed == TZone::Thumb; }

  void Paint(TCanvas& C) const;

  // Input in control coordinates. MouseDown answers whether the press landed on the bar.
  bool MouseDown(int X, int Y);
  void MouseMove(int X, int Y);
  void MouseUp(int X, int Y);
  // Ends a press without a release (the capture went elsewhere).
  void CancelPress();

  TScrollPartEvent OnScroll;

private:
  int Along(TPoint P) const { return FKind == sbVertical ? P.Y : P.X; }
  int ThumbOffset(std::int64_t Pos, int Room) const;
  std::int64_t PositionAtOffset(std::int64_t Offset, int Room) const;
  void Notify(TScrollCode Code, std::int64_t Pos);
  void Repeat();
  // Whether the held zone acts now (the pointer is over it, and the thumb has not reached it).
  bool HeldZoneActive() const;
  void Act(TZone Z);
  void InvalidateBar() const;

  TWinControl& FOwner;
  TScrollBarKind FKind;
  std::int64_t FMin = 0, FMax = 0, FPage = 1, FPosition = 0;
  bool FEnabled = true;
  TRect FBounds;
  TZone FPressed = TZone::None;
  TPoint FPointer;
  int FGrab = 0;                  // the pointer's distance from the thumb's start when taken
  std::int64_t FTrackPos = 0;     // the dragged thumb's position
  TPrivateTimer FRepeat;
  // The track's checkerboard tile and the colours it was made in.
  mutable TBitmap FPattern;
  mutable TColor FPatternColors[2] = {clNone, clNone};
};

// Where a notification moves a plain scroll position: Now stepped by Line or Page, the thumb's
// Pos, 0 or Bottom; nothing for scEndScroll, nor for scTrack without Tracking. Saturates at the
// ends of int.
std::optional<int> ScrollTarget(TScrollCode Code, std::int64_t Pos, std::int64_t Now,
                                std::int64_t Line, std::int64_t Page, std::int64_t Bottom,
                                bool Tracking = true);

// The non-client mouse of a control with a vertical and a horizontal bar: a left press goes to
// the bar it lands on, moves and releases to both (each ignores what it did not start).
void BarsMouseDown(TScrollBarPart& V, TScrollBarPart& H, TMouseButton Button, int X, int Y);
void BarsMouseMove(TScrollBarPart& V, TScrollBarPart& H, int X, int Y);
void BarsMouseUp(TScrollBarPart& V, TScrollBarPart& H, TMouseButton Button, int X, int Y);

}  // namespace kvl
