// Copies between bitmaps through the raster operation of the copy mode, with nearest-pixel or
// halftone stretching.
#include <algorithm>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/raster.h"
#include "kvl/platform/stretch.h"

#define KVL_HOT __attribute__((optimize("O3")))

namespace kvl {

namespace {

// Source S, destination D and pattern (brush) P combined on 24 bits.
constexpr std::uint32_t Rop(TCopyMode M, std::uint32_t S, std::uint32_t D, std::uint32_t P) {
  std::uint32_t R = S;
  switch (M) {
    case cmBlackness: R = 0; break;
    case cmDstInvert: R = ~D; break;
    case cmMergeCopy: R = S & P; break;
    case cmMergePaint: R = ~S | D; break;
    case cmNotSrcCopy: R = ~S; break;
    case cmNotSrcErase: R = ~(S | D); break;
    case cmPatCopy: R = P; break;
    case cmPatInvert: R = P ^ D; break;
    case cmSrcAnd: R = S & D; break;
    case cmSrcCopy: R = S; break;
    case cmSrcErase: R = S & ~D; break;
    case cmSrcInvert: R = S ^ D; break;
    case cmSrcPaint: R = S | D; break;
    case cmWhiteness: R = 0xFFFFFF; break;
  }
  return R & 0x00FFFFFF;
}

// One destination row from one source row (same length), skipping Key when Keyed.
KVL_HOT void RopRow(TCopyMode M, const std::uint32_t* S, std::uint32_t* D, int N, std::uint32_t P,
                    bool Keyed, std::uint32_t Key) {
  if (Keyed) {
    for (int I = 0; I < N; ++I)
      if ((S[I] & 0xFFFFFF) != Key) D[I] = Rop(M, S[I], D[I], P);
    return;
  }
  switch (M) {
    case cmSrcCopy:
      std::copy_n(S, N, D);
      return;
    case cmSrcAnd:
      for (int I = 0; I < N; ++I) D[I] = S[I] & D[I];
      return;
    case cmSrcPaint:
      for (int I = 0; I < N; ++I) D[I] = (S[I] | D[I]) & 0xFFFFFF;
      return;
    case cmSrcInvert:
      for (int I = 0; I < N; ++I) D[I] = (S[I] ^ D[I]) & 0xFFFFFF;
      return;
    default:
      for (int I = 0; I < N; ++I) D[I] = Rop(M, S[I], D[I], P);
      return;
  }
}

}  // namespace

// Copies the source block Src (bitmap coordinates of Source, normalised, any size) onto the
// destination block Dst (bitmap coordinates of this canvas, normalised); FlipX/FlipY mirror.
// Shared by CopyRect, Draw and StretchDraw.
static void Blit(TBitmap& Target, const TRect& Clip, const TBitmap& Source, TRect Src, TRect Dst,
                 bool FlipX, bool FlipY, TCopyMode Mode, TStretchMode Stretch, std::uint32_t Brush,
                 bool Keyed, std::uint32_t Key) {
  if (Src.IsEmpty() || Dst.IsEmpty() || Source.Empty()) return;
  const TRect Visible = Dst.Intersect(Clip);
  if (Visible.IsEmpty()) return;
  const int SW = Src.Width(), SH = Src.Height(), DW = Dst.Width(), DH = Dst.Height();
  const TRect Bounds = Rect(0, 0, Source.GetWidth(), Source.GetHeight());
  const bool SameSize = SW == DW && SH == DH;

  // Halftone: scale the (edge-clamped) source block once, then copy that.
  std::vector<std::uint32_t> Scaled;
  if (!SameSize && Stretch == smHalftone) {
    const TRect S = Src.Intersect(Bounds);
    if (S.IsEmpty()) return;
    Scaled.resize(std::size_t(DW) * std::size_t(DH));
    HalftoneScale({Source.ScanLine(S.Top) + S.Left, S.Width(), S.Height(), Source.GetWidth()},
                  Scaled.data(), DW, DH);
  }
  std::vector<std::uint32_t> Row(std::size_t(Visible.Width()));
  for (int Y = Visible.Top; Y < Visible.Bottom; ++Y) {
    const int DY = FlipY ? (Dst.Bottom - 1 - Y) : (Y - Dst.Top);
    int N = 0, X0 = Visible.Left;
    // Gather the source pixels of this row; a run stops where the source leaves its bitmap.
    const auto Flush = [&]() {
      if (N > 0) RopRow(Mode, Row.data(), Target.ScanLine(Y) + X0, N, Brush, Keyed, Key);
      N = 0;
    };
    for (int X = Visible.Left; X < Visible.Right; ++X) {
      const int DX = FlipX ? (Dst.Right - 1 - X) : (X - Dst.Left);
      std::uint32_t P;
      if (!Scaled.empty()) {
        P = Scaled[std::size_t(DY) * std::size_t(DW) + std::size_t(DX)];
      } else {
        const int SX = Src.Left + (SameSize ? DX : NearestSource(DX, DW, SW));
        const int SY = Src.Top + (SameSize ? DY : NearestSource(DY, DH, SH));
        if (!Bounds.Contains({SX, SY})) {
          Flush();
          X0 = X + 1;
          continue;
        }
        P = Source.ScanLine(SY)[SX];
      }
      if (N == 0) X0 = X;
      Row[std::size_t(N++)] = P;
    }
    Flush();
  }
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
  const bool FlipX = (Dest.Right < Dest.Left) != (SourceRect.Right < SourceRect.Left);
  const bool FlipY = (Dest.Bottom < Dest.Top) != (SourceRect.Bottom < SourceRect.Top);
  const TRect Src = SourceRect.Normalized().Offset(Source.FOrigin.X, Source.FOrigin.Y);
  const TRect Dst = Dest.Normalized().Offset(FOrigin.X, FOrigin.Y);
  // Reading and writing one bitmap: take the source out first, so overlaps copy cleanly.
  if (Source.FBitmap == FBitmap) {
    const TRect S = Src.Intersect(Rect(0, 0, FBitmap->GetWidth(), FBitmap->GetHeight()));
    if (S.IsEmpty()) return;
    TBitmap Copy(S.Width(), S.Height());
    for (int Y = 0; Y < S.Height(); ++Y)
      std::copy_n(FBitmap->ScanLine(S.Top + Y) + S.Left, S.Width(), Copy.ScanLine(Y));
    Blit(*FBitmap, DeviceClip(), Copy, Src.Offset(-S.Left, -S.Top), Dst, FlipX, FlipY, FCopyMode,
         FStretchMode, BrushPixel(), false, 0);
    return;
  }
  Blit(*FBitmap, DeviceClip(), *Source.FBitmap, Src, Dst, FlipX, FlipY, FCopyMode, FStretchMode,
       BrushPixel(), false, 0);
}

void TCanvas::Draw(int X, int Y, const TBitmap& Source) {
  if (Source.Empty()) return;
  const int W = Source.GetWidth(), H = Source.GetHeight();
  const TRect Dst = Rect(X, Y, X + W, Y + H).Offset(FOrigin.X, FOrigin.Y);
  const bool Keyed = Source.GetTransparent();
  const std::uint32_t Key = ColorToPixel(ColorToRGB(Source.GetTransparentColor()));
  if (&Source == FBitmap) {
    const TBitmap Copy = Source;
    Blit(*FBitmap, DeviceClip(), Copy, Rect(0, 0, W, H), Dst, false, false, FCopyMode,
         FStretchMode, BrushPixel(), Keyed, Key);
    return;
  }
  Blit(*FBitmap, DeviceClip(), Source, Rect(0, 0, W, H), Dst, false, false, FCopyMode,
       FStretchMode, BrushPixel(), Keyed, Key);
}

void TCanvas::StretchDraw(const TRect& Dest, const TBitmap& Source) {
  if (Source.Empty()) throw EInvalidGraphic("cannot stretch an empty bitmap");
  const bool Keyed = Source.GetTransparent();
  const std::uint32_t Key = ColorToPixel(ColorToRGB(Source.GetTransparentColor()));
  const TBitmap* From = &Source;
  TBitmap Copy;
  if (&Source == FBitmap) {
    Copy = Source;
    From = &Copy;
  }
  Blit(*FBitmap, DeviceClip(), *From, Rect(0, 0, Source.GetWidth(), Source.GetHeight()),
       Dest.Normalized().Offset(FOrigin.X, FOrigin.Y), Dest.Right < Dest.Left,
       Dest.Bottom < Dest.Top, FCopyMode, FStretchMode, BrushPixel(), Keyed, Key);
}

void TCanvas::InvertRect(const TRect& R) {
  const TRect Box = R.Normalized().Offset(FOrigin.X, FOrigin.Y).Intersect(DeviceClip());
  if (Box.IsEmpty()) return;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y)
    raster::ModeSpan(FBitmap->ScanLine(Y) + Box.Left, Box.Width(), 0, pmNot);
}

}  // namespace kvl
