#include "kvl/platform/bitmap.h"

#include <algorithm>

#include "kvl/platform/canvas.h"

namespace kvl {

namespace {

constexpr std::uint32_t WhitePixel = 0x00FFFFFF;

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int Width, int Height) { SetSize(Width, Height); }

// A copy takes everything but the canvas, which stays each bitmap's own.
TBitmap::TBitmap(const TBitmap& B) { *this = B; }

TBitmap& TBitmap::operator=(const TBitmap& B) {
  if (this == &B) return *this;
  FWidth = B.FWidth;
  FHeight = B.FHeight;
  FPixels = B.FPixels;
  FPixelFormat = B.FPixelFormat;
  FTransparent = B.FTransparent;
  FTransparentColorSet = B.FTransparentColorSet;
  FTransparentColor = B.FTransparentColor;
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int W, int H) {
  W = std::max(W, 0);
  H = std::max(H, 0);
  if (W == FWidth && H == FHeight) return;
  if (W > MaxBitmapSide || H > MaxBitmapSide || std::int64_t(W) * H > MaxBitmapPixels)
    throw EOutOfResources("bitmap of " + std::to_string(W) + " x " + std::to_string(H) +
                          " pixels is larger than the supported maximum");
  if (W == 0 || H == 0) W = H = 0;
  std::vector<std::uint32_t> New(std::size_t(W) * std::size_t(H), WhitePixel);
  const int KeepW = std::min(W, FWidth), KeepH = std::min(H, FHeight);
  for (int Y = 0; Y < KeepH; ++Y)
    std::copy_n(ScanLine(Y), KeepW, New.data() + std::size_t(Y) * std::size_t(W));
  FPixels = std::move(New);
  FWidth = W;
  FHeight = H;
}

TCanvas* TBitmap::GetCanvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(this);
  return FCanvas.get();
}

void TBitmap::SetPixelFormat(TPixelFormat F) {
  FPixelFormat = F;
  ApplyPixelFormat();
}

void TBitmap::ApplyPixelFormat() {
  if (FPixelFormat != pf1bit) return;
  for (auto& P : FPixels) {
    const unsigned R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
    P = (R * 299 + G * 587 + B * 114) >= 128 * 1000 ? WhitePixel : 0;
  }
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentColorSet) return FTransparentColor;
  if (Empty()) return clWhite;
  return PixelToColor(ScanLine(FHeight - 1)[0]);
}

void TBitmap::SetTransparentColor(TColor C) {
  FTransparentColor = C;
  FTransparentColorSet = true;
}

}  // namespace kvl
