#include "kvl/platform/scrollbars.h"

#include <algorithm>
#include <climits>

#include "kvl/core/pen_brush_keeper.h"
#include "kvl/platform/controls.h"
#include "kvl/platform/relief.h"

namespace kvl {

namespace {

// A * B / C without overflow for any 64-bit operands; C > 0, rounded to nearest.
std::int64_t ScaleRounded(std::int64_t A, std::int64_t B, std::int64_t C) {
  __extension__ using Wide = __int128;
  const Wide P = Wide(A) * Wide(B);
  const Wide Q = (P >= 0 ? P + C / 2 : P - C / 2) / C;
  return static_cast<std::int64_t>(Q);
}

enum class TArrowDir : std::uint8_t { Up, Down, Left, Right };

// A solid triangle 7 wide and 4 high (or 4 wide and 7 high) whose box starts at (X, Y).
void DrawArrow(TCanvas& C, int X, int Y, TArrowDir Dir, TColor Color) {
  C.GetPen().SetColor(Color);
  for (int I = 0; I < 4; ++I) {
    switch (Dir) {
      case TArrowDir::Up:
        C.MoveTo(X + 3 - I, Y + I);
        C.LineTo(X + 4 + I, Y + I);
        break;
      case TArrowDir::Down:
        C.MoveTo(X + I, Y + I);
        C.LineTo(X + 7 - I, Y + I);
        break;
      case TArrowDir::Left:
        C.MoveTo(X + I, Y + 3 - I);
        C.LineTo(X + I, Y + 4 + I);
        break;
      case TArrowDir::Right:
        C.MoveTo(X + I, Y + I);
        C.LineTo(X + I, Y + 7 - I);
        break;
    }
  }
}

void DrawArrowButton(TCanvas& C, const TRect& R, TArrowDir Dir, bool Down, bool Enabled) {
  if (R.IsEmpty()) return;
  DrawButtonFace(C, R, Down);
  const bool Vertical = Dir == TArrowDir::Up || Dir == TArrowDir::Down;
  const int W = Vertical ? 7 : 4, H = Vertical ? 4 : 7;
  const int Shift = Down ? 1 : 0;
  const int X = R.Left + (R.Width() - W) / 2 + Shift, Y = R.Top + (R.Height() - H) / 2 + Shift;
  if (Enabled) {
    DrawArrow(C, X, Y, Dir, clBlack);
  } else {
    DrawArrow(C, X + 1, Y + 1, Dir, clBtnHighlight);
    DrawArrow(C, X, Y, Dir, clBtnShadow);
  }
}

// The track's checkerboard of the highlight and the face, or a solid dark fill where pressed.
// The checkerboard is tiled from a small bitmap made once per pair of colours.
void DrawTrack(TCanvas& C, const TRect& R, bool Pressed, TBitmap& Pattern, TColor (&Made)[2]) {
  if (R.IsEmpty()) return;
  if (Pressed) {
    C.GetBrush().SetColor(cl3DDkShadow);
    C.FillRect(R);
    return;
  }
  constexpr int Tile = 64;
  const TColor Light = ColorToRGB(clBtnHighlight), Face = ColorToRGB(clBtnFace);
  if (Made[0] != Light || Made[1] != Face) {
    Pattern.SetSize(Tile, Tile);
    for (int Y = 0; Y < Tile; ++Y)
      for (int X = 0; X < Tile; ++X)
        Pattern.GetCanvas()->SetPixel(X, Y, ((X + Y) & 1) ? Face : Light);
    Made[0] = Light;
    Made[1] = Face;
  }
  const TRect OldClip = C.GetClipRect();
  const TRect Clip = OldClip.Intersect(R);
  if (Clip.IsEmpty()) return;
  C.SetClipRect(Clip);
  // Tiles start where X + Y is even, so the pattern lines up wherever the track begins.
  const int Y0 = R.Top - ((R.Left + R.Top) & 1);
  for (int Y = Y0; Y < R.Bottom; Y += Tile)
    for (int X = R.Left; X < R.Right; X += Tile) C.Draw(X, Y, Pattern);
  C.SetClipRect(OldClip);
}

}  // namespace

TScrollBarPart::TScrollBarPart(TWinControl& Owner, TScrollBarKind Kind)
    : FOwner(Owner), FKind(Kind), FRepeat(Owner, [this] { Repeat(); }) {}

void TScrollBarPart::SetParams(std::int64_t Min, std::int64_t Max, std::int64_t Page) {
  Max = std::max(Max, Min);
  Page = std::max<std::int64_t>(Page, 1);
  if (Min == FMin && Max == FMax && Page == FPage && FPosition >= Min && FPosition <= Max) return;
  FMin = Min;
  FMax = Max;
  FPage = Page;
  FPosition = std::clamp(FPosition, FMin, FMax);
  InvalidateBar();
}

void TScrollBarPart::SetPosition(std::int64_t Value) {
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  InvalidateBar();
}

void TScrollBarPart::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (!Value) CancelPress();
  InvalidateBar();
}

void TScrollBarPart::SetBounds(const TRect& R) {
  if (R == FBounds) return;
  FBounds = R;
  InvalidateBar();
}

void TScrollBarPart::InvalidateBar() const { FOwner.Invalidate(); }

TScrollBarPart::TGeometry TScrollBarPart::GetGeometry() const {
  TGeometry G;
  if (FBounds.IsEmpty()) return G;
  const bool V = FKind == sbVertical;
  const int Start = V ? FBounds.Top : FBounds.Left;
  const int Len = V ? FBounds.Height() : FBounds.Width();
  const int Arrow = std::min(Thickness, Len / 2);
  const auto Span = [&](int From, int To) {
    return V ? Rect(FBounds.Left, Start + From, FBounds.Right, Start + To)
             : Rect(Start + From, FBounds.Top, Start + To, FBounds.Bottom);
  };
  G.LineUp = Span(0, Arrow);
  G.LineDown = Span(Len - Arrow, Len);
  const int Track = Len - 2 * Arrow;
  if (!FEnabled || FMax <= FMin || Track < MinThumb) {
    G.PageUp = Span(Arrow, Len - Arrow);
    return G;
  }
  const std::int64_t Share = ScaleRounded(Track, FPage, FMax - FMin + FPage);
  const int Thumb = static_cast<int>(std::clamp<std::int64_t>(Share, MinThumb, Track));
  const int Room = Track - Thumb;
  const int Off = IsTracking() ? ThumbOffset(FTrackPos, Room) : ThumbOffset(FPosition, Room);
  G.PageUp = Span(Arrow, Arrow + Off);
  G.Thumb = Span(Arrow + Off, Arrow + Off + Thumb);
  G.PageDown = Span(Arrow + Off + Thumb, Len - Arrow);
  return G;
}

int TScrollBarPart::ThumbOffset(std::int64_t Pos, int Room) const {
  if (FMax <= FMin || Room <= 0) return 0;
  return static_cast<int>(ScaleRounded(Room, std::clamp(Pos, FMin, FMax) - FMin, FMax - FMin));
}

std::int64_t TScrollBarPart::PositionAtOffset(std::int64_t Offset, int Room) const {
  if (Room <= 0) return FMin;
  Offset = std::clamp<std::int64_t>(Offset, 0, Room);
  return FMin + ScaleRounded(Offset, FMax - FMin, Room);
}

TScrollBarPart::TZone TScrollBarPart::ZoneAt(TPoint P) const {
  if (!FBounds.Contains(P)) return TZone::None;
  const TGeometry G = GetGeometry();
  if (G.LineUp.Contains(P)) return TZone::LineUp;
  if (G.LineDown.Contains(P)) return TZone::LineDown;
  if (G.Thumb.Contains(P)) return TZone::Thumb;
  if (G.Thumb.IsEmpty()) return TZone::None;
  return G.PageUp.Contains(P) ? TZone::PageUp : TZone::PageDown;
}

void TScrollBarPart::Paint(TCanvas& C) const {
  if (FBounds.IsEmpty()) return;
  const TPenBrushKeeper Keep(C);
  C.GetPen().SetStyle(psSolid);
  C.GetPen().SetWidth(1);
  const TGeometry G = GetGeometry();
  const bool V = FKind == sbVertical;
  // A press shows only while the pointer stays over what it pressed.
  const bool Held = FPressed != TZone::None && ZoneAt(FPointer) == FPressed;
  DrawTrack(C, G.PageUp, Held && FPressed == TZone::PageUp, FPattern, FPatternColors);
  DrawTrack(C, G.PageDown, Held && FPressed == TZone::PageDown, FPattern, FPatternColors);
  if (!G.Thumb.IsEmpty()) DrawButtonFace(C, G.Thumb, false);
  const bool Active = FEnabled && FMax > FMin;
  DrawArrowButton(C, G.LineUp, V ? TArrowDir::Up : TArrowDir::Left,
                  Held && FPressed == TZone::LineUp, Active);
  DrawArrowButton(C, G.LineDown, V ? TArrowDir::Down : TArrowDir::Right,
                  Held && FPressed == TZone::LineDown, Active);
}

void TScrollBarPart::Notify(TScrollCode Code, std::int64_t Pos) {
  if (OnScroll) OnScroll(Code, Pos);
}

void TScrollBarPart::Act(TZone Z) {
  switch (Z) {
    case TZone::LineUp:
      Notify(scLineUp, FPosition);
      break;
    case TZone::LineDown:
      Notify(scLineDown, FPosition);
      break;
    case TZone::PageUp:
      Notify(scPageUp, FPosition);
      break;
    case TZone::PageDown:
      Notify(scPageDown, FPosition);
      break;
    default:
      break;
  }
}

bool TScrollBarPart::MouseDown(int X, int Y) {
  const TPoint P{X, Y};
  if (!FBounds.Contains(P)) return false;
  CancelPress();
  if (!FEnabled || FMax <= FMin) return true;
  const TZone Z = ZoneAt(P);
  if (Z == TZone::None) return true;
  FPressed = Z;
  FPointer = P;
  if (Z == TZone::Thumb) {
    FGrab = Along(P) - Along({GetGeometry().Thumb.Left, GetGeometry().Thumb.Top});
    FTrackPos = FPosition;
  } else {
    Act(Z);
    // The handler may have disabled or hidden the bar.
    if (FPressed == Z) FRepeat.Restart<EKVLError>(RepeatDelay);
  }
  InvalidateBar();
  return true;
}

void TScrollBarPart::MouseMove(int X, int Y) {
  if (FPressed == TZone::None) return;
  const bool WasOver = ZoneAt(FPointer) == FPressed;
  FPointer = {X, Y};
  if (FPressed == TZone::Thumb) {
    const TGeometry G = GetGeometry();
    const bool V = FKind == sbVertical;
    const int TrackStart = V ? G.LineUp.Bottom : G.LineUp.Right;
    const int TrackLen = V ? G.LineDown.Top - TrackStart : G.LineDown.Left - TrackStart;
    const int Thumb = V ? G.Thumb.Height() : G.Thumb.Width();
    const std::int64_t Pos = PositionAtOffset(Along(FPointer) - FGrab - TrackStart, TrackLen - Thumb);
    if (Pos == FTrackPos) return;
    FTrackPos = Pos;
    InvalidateBar();
    Notify(scTrack, Pos);
    return;
  }
  if (WasOver != (ZoneAt(FPointer) == FPressed)) InvalidateBar();
}

void TScrollBarPart::MouseUp(int X, int Y) {
  if (FPressed == TZone::None) return;
  FPointer = {X, Y};
  const TZone Z = FPressed;
  FPressed = TZone::None;
  FRepeat.Kill();
  InvalidateBar();
  if (Z == TZone::Thumb) Notify(scPosition, FTrackPos);
  Notify(scEndScroll, FPosition);
}

void TScrollBarPart::CancelPress() {
  if (FPressed == TZone::None) return;
  FPressed = TZone::None;
  FRepeat.Kill();
  InvalidateBar();
}

bool TScrollBarPart::HeldZoneActive() const {
  if (ZoneAt(FPointer) != FPressed) return false;
  return FPressed != TZone::Thumb;
}

void TScrollBarPart::Repeat() {
  if (FPressed == TZone::None || FPressed == TZone::Thumb) {
    FRepeat.Kill();
    return;
  }
  if (FRepeat.GetInterval() != RepeatInterval) FRepeat.Restart<EKVLError>(RepeatInterval);
  // Held away from the arrow, or with the thumb arrived under the pointer: wait.
  if (HeldZoneActive()) Act(FPressed);
}

std::optional<int> ScrollTarget(TScrollCode Code, std::int64_t Pos, std::int64_t Now,
                                std::int64_t Line, std::int64_t Page, std::int64_t Bottom,
                                bool Tracking) {
  std::int64_t To = Now;
  switch (Code) {
    case scLineUp: To = Now - Line; break;
    case scLineDown: To = Now + Line; break;
    case scPageUp: To = Now - Page; break;
    case scPageDown: To = Now + Page; break;
    case scTrack:
      if (!Tracking) return std::nullopt;
      To = Pos;
      break;
    case scPosition: To = Pos; break;
    case scTop: To = 0; break;
    case scBottom: To = Bottom; break;
    case scEndScroll: return std::nullopt;
  }
  return int(std::clamp<std::int64_t>(To, INT_MIN, INT_MAX));
}

void BarsMouseDown(TScrollBarPart& V, TScrollBarPart& H, TMouseButton Button, int X, int Y) {
  if (Button != mbLeft) return;
  if (!V.MouseDown(X, Y)) H.MouseDown(X, Y);
}

void BarsMouseMove(TScrollBarPart& V, TScrollBarPart& H, int X, int Y) {
  V.MouseMove(X, Y);
  H.MouseMove(X, Y);
}

void BarsMouseUp(TScrollBarPart& V, TScrollBarPart& H, TMouseButton Button, int X, int Y) {
  if (Button != mbLeft) return;
  V.MouseUp(X, Y);
  H.MouseUp(X, Y);
}

}  // namespace kvl
