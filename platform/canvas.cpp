#include "kvl/platform/canvas.h"

#include "kvl/platform/bitmap.h"

namespace kvl {

TCanvas::TCanvas(TBitmap* Target) : FBitmap(Target) {}

TRect TCanvas::GetClipRect() const {
  if (FClipped) return FClipRect;
  return Rect(0, 0, FBitmap->GetWidth(), FBitmap->GetHeight()).Offset(-FOrigin.X, -FOrigin.Y);
}

void TCanvas::SetClipRect(const TRect& R) {
  FClipRect = R.Normalized();
  FClipped = true;
}

void TCanvas::ResetClip() { FClipped = false; }

TRect TCanvas::DeviceClip() const {
  const TRect Bounds = Rect(0, 0, FBitmap->GetWidth(), FBitmap->GetHeight());
  if (!FClipped) return Bounds;
  const TRect R = FClipRect.Offset(FOrigin.X, FOrigin.Y).Intersect(Bounds);
  return R.IsEmpty() ? TRect{} : R;
}

TColor TCanvas::GetPixel(int X, int Y) const {
  const TPoint P{X + FOrigin.X, Y + FOrigin.Y};
  if (!DeviceClip().Contains(P)) return clInvalidPixel;
  return PixelToColor(FBitmap->ScanLine(P.Y)[P.X]);
}

void TCanvas::SetPixel(int X, int Y, TColor C) {
  const TPoint P{X + FOrigin.X, Y + FOrigin.Y};
  if (!DeviceClip().Contains(P)) return;
  FBitmap->ScanLine(P.Y)[P.X] = ColorToPixel(ColorToRGB(C));
}

}  // namespace kvl
