// Drawing surface over a bitmap. The classic desktop rules hold throughout: rectangles are
// right/bottom exclusive and accept their corners in either order, LineTo leaves its end point
// out, arcs run counter-clockwise on screen from the first radial point to the second, and
// every primitive clips silently to the clip rectangle and the bitmap.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "kvl/platform/graphics.h"

namespace kvl {

class TBitmap;

class TCanvas {
public:
  // Draws into Target, which must outlive the canvas. A new canvas has a black 1-pixel solid
  // pen in copy mode, a white solid brush, the default font and plain copy mode.
  explicit TCanvas(TBitmap* Target);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap* GetBitmap() const { return FBitmap; }
  // Points the canvas at another bitmap, keeping pen, brush, font and position.
  void SetBitmap(TBitmap* Target) { FBitmap = Target; }

  // --- state (persists between calls) ---
  TPen& GetPen() { return FPen; }
  TBrush& GetBrush() { return FBrush; }
  TFont& GetFont() { return FFont; }
  void SetPen(const TPen& P) { FPen = P; }
  void SetBrush(const TBrush& B) { FBrush = B; }
  void SetFont(const TFont& F) { FFont.Assign(F); }
  TPoint GetPenPos() const { return FPenPos; }
  void SetPenPos(TPoint P) { FPenPos = P; }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode M) { FCopyMode = M; }
  TStretchMode GetStretchMode() const { return FStretchMode; }
  void SetStretchMode(TStretchMode M) { FStretchMode = M; }

  // Logical (0, 0) lands on bitmap pixel Origin; the clip rectangle is in logical
  // coordinates. A new canvas has origin (0, 0) and no clip beyond the bitmap.
  TPoint GetOrigin() const { return FOrigin; }
  void SetOrigin(TPoint P) { FOrigin = P; }
  TRect GetClipRect() const;
  void SetClipRect(const TRect& R);
  void ResetClip();

  // --- pixels ---
  // clInvalidPixel outside the bitmap or the clip rectangle.
  TColor GetPixel(int X, int Y) const;
  // System colours resolve; writes outside are ignored.
  void SetPixel(int X, int Y, TColor C);

  // --- lines and shapes (canvas_shapes.cpp) ---
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(std::span<const TPoint> Points);
  void Polygon(std::span<const TPoint> Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  // Fill R, or outline it one pixel wide, in the brush colour (a clear brush draws nothing).
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  // The dotted focus outline on R's border, black and one pixel wide; pen and brush are kept.
  void DrawFocusRect(const TRect& R);
  void RoundRect(int X1, int Y1, int X2, int Y2, int RX, int RY);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Surface: fills the 4-connected region of pixels equal to C; Border: fills the
  // 4-connected region bounded by pixels equal to C. Fills with the brush colour.
  void FloodFill(int X, int Y, TColor C, TFillStyle Style);

  // --- copies (canvas_blit.cpp) ---
  // Copies Source's rectangle into Dest through CopyMode, stretching when the sizes differ
  // (nearest pixel, or area averaging under smHalftone); a reversed rectangle mirrors.
  void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);
  // The whole bitmap at its own size; a Transparent bitmap leaves its key colour out.
  void Draw(int X, int Y, const TBitmap& Source);
  void StretchDraw(const TRect& Dest, const TBitmap& Source);
  // Puts Source at (X, Y) through Mask (same size): per channel dest = min(255, dest * m / 255
  // + src), m being the mask's value. Black mask pixels show Source, white ones add Source to
  // what lies beneath (nothing when Source is black there), grey ones blend.
  void MaskedDraw(int X, int Y, const TBitmap& Source, const TBitmap& Mask);
  // The same for the part Part of Source and Mask only (in their coordinates).
  void MaskedDraw(int X, int Y, const TBitmap& Source, const TBitmap& Mask, const TRect& Part);
  void InvertRect(const TRect& R);

  // --- text (canvas_text.cpp) ---
  // The text cell's top-left at (X, Y), also for rotated fonts (the cell turns about it);
  // a solid brush fills the cell first. Moves the pen position past the text.
  void TextOut(int X, int Y, std::string_view Text);
  // Fills R with the brush unless it is clear (even for empty text), then draws the text at
  // (X, Y) clipped to R.
  void TextRect(const TRect& R, int X, int Y, std::string_view Text);
  // Unrotated advance width, and the cell height (the same for every text, the empty one too).
  int TextWidth(std::string_view Text);
  int TextHeight(std::string_view Text);
  TSize TextExtent(std::string_view Text);

private:
  // The clip rectangle in bitmap coordinates, within the bitmap.
  TRect DeviceClip() const;

  // Shape helpers (canvas_shapes.cpp); coordinates are bitmap coordinates.
  struct TRowSpan {
    int Left;   // first pixel, inclusive
    int Right;  // last pixel, inclusive; Right < Left is an empty row
  };
  void DeviceSpan(int Y, int X1, int X2, std::uint32_t Pixel, TPenMode Mode);
  void DevicePixel(int X, int Y, std::uint32_t Pixel, TPenMode Mode);
  void DeviceLine(int X1, int Y1, int X2, int Y2);
  void WideSegment(double X1, double Y1, double X2, double Y2);
  // A shape given by one span per row from Top: its boundary in the pen, its inside in
  // the brush.
  void OutlineAndFill(int Top, const std::vector<TRowSpan>& Rows, bool Outline, bool Fill);
  static std::pair<int, int> InsidePart(const std::vector<TRowSpan>& Rows, int I);
  void EllipseRows(double CX, double CY, double RX, double RY, int Top, int Bottom,
                   std::vector<TRowSpan>& Rows) const;
  void ArcShape(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4, int Kind);
  bool PenVisible() const { return FPen.GetStyle() != psClear; }
  std::uint32_t PenPixel() const { return ColorToPixel(ColorToRGB(FPen.GetColor())); }
  std::uint32_t BrushPixel() const { return ColorToPixel(ColorToRGB(FBrush.GetColor())); }
  int FDashPhase = 0;  // position in the pen's dash pattern, carried along a polyline

  TBitmap* FBitmap;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  TStretchMode FStretchMode = smColorOnColor;
  TPoint FOrigin;
  bool FClipped = false;
  TRect FClipRect;
};

}  // namespace kvl
