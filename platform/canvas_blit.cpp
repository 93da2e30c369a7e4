// Copies between bitmaps through the raster operation of the copy mode, with nearest-pixel or
// halftone stretching.
#include <algorithm>
#include <memory>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/canvas.h"
#include "kvl/platform/raster.h"
#include "kvl/platform/stretch.h"

namespace kvl {

namespace {

// Source S, destination D and pattern (brush) P combined on 24 bits.
constexpr std::uint32_t Rop(TCopyMode M, std::uint32_t S, std::uint32_t D, std::uint32_t P) {
  std::uint32_t R = S;
  switch (M) {
    case cmBlackness:
      R = 0;
      break;
    case cmDstInvert:
      R = ~D;
      break;
    case cmMergeCopy:
      R = S & P;
      break;
    case cmMergePaint:
      R = ~S | D;
      break;
    case cmNotSrcCopy:
      R = ~S;
      break;
    case cmNotSrcErase:
      R = ~(S | D);
      break;
    case cmPatCopy:
      R = P;
      break;
    case cmPatInvert:
      R = P ^ D;
      break;
    case cmSrcAnd:
      R = S & D;
      break;
    case cmSrcCopy:
      R = S;
      break;
    case cmSrcErase:
      R = S & ~D;
      break;
    case cmSrcInvert:
      R = S ^ D;
      break;
    case cmSrcPaint:
      R = S | D;
      break;
    case cmWhiteness:
      R = 0xFFFFFF;
      break;
  }
  return R & 0x00FFFFFF;
}

// Row loops with the mode fixed at compile time, so that each one vectorises.
template <TCopyMode M>
KVL_HOT void RopLoop(const std::uint32_t* S, std::uint32_t* D, int N, std::uint32_t P) {
  if constexpr (M == cmSrcCopy) {
    raster::CopySpan(S, D, N);
  } else {
    for (int I = 0; I < N; ++I) D[I] = Rop(M, S[I], D[I], P);
  }
}

// A select rather than a conditional store, which vectorises too.
template <TCopyMode M>
KVL_HOT void RopKeyedLoop(const std::uint32_t* S, std::uint32_t* D, int N, std::uint32_t P,
                          std::uint32_t Key) {
  for (int I = 0; I < N; ++I) {
    const std::uint32_t R = Rop(M, S[I], D[I], P);
    D[I] = (S[I] & 0xFFFFFF) == Key ? D[I] : R;
  }
}

// Calls F.template operator()<M>() with the run-time mode M as a constant.
template <class F>
void WithMode(TCopyMode M, F&& Fn) {
  switch (M) {
    case cmBlackness:
      return Fn.template operator()<cmBlackness>();
    case cmDstInvert:
      return Fn.template operator()<cmDstInvert>();
    case cmMergeCopy:
      return Fn.template operator()<cmMergeCopy>();
    case cmMergePaint:
      return Fn.template operator()<cmMergePaint>();
    case cmNotSrcCopy:
      return Fn.template operator()<cmNotSrcCopy>();
    case cmNotSrcErase:
      return Fn.template operator()<cmNotSrcErase>();
    case cmPatCopy:
      return Fn.template operator()<cmPatCopy>();
    case cmPatInvert:
      return Fn.template operator()<cmPatInvert>();
    case cmSrcAnd:
      return Fn.template operator()<cmSrcAnd>();
    case cmSrcCopy:
      return Fn.template operator()<cmSrcCopy>();
    case cmSrcErase:
      return Fn.template operator()<cmSrcErase>();
    case cmSrcInvert:
      return Fn.template operator()<cmSrcInvert>();
    case cmSrcPaint:
      return Fn.template operator()<cmSrcPaint>();
    case cmWhiteness:
      return Fn.template operator()<cmWhiteness>();
  }
  // An unknown code copies plainly, as Rop does.
  Fn.template operator()<cmSrcCopy>();
}

// One destination row from one source row (same length), skipping Key when Keyed.
void RopRow(TCopyMode M, const std::uint32_t* S, std::uint32_t* D, int N, std::uint32_t P,
            bool Keyed, std::uint32_t Key) {
  if (Keyed) {
    WithMode(M, [&]<TCopyMode K>() { RopKeyedLoop<K>(S, D, N, P, Key); });
  } else {
    WithMode(M, [&]<TCopyMode K>() { RopLoop<K>(S, D, N, P); });
  }
}

// What one copy needs besides its rectangles.
struct TBlitMode {
  TCopyMode Mode;
  TStretchMode Stretch;
  std::uint32_t Brush;
  bool Keyed;
  std::uint32_t Key;
};

// Writes one destination row from Pixels (NoPixel entries are left out).
void WriteRow(const TBlitMode& M, const std::uint32_t* Pixels, std::uint32_t* D, int N) {
  int I = 0;
  while (I < N) {
    while (I < N && Pixels[I] == NoPixel) ++I;
    int E = I;
    while (E < N && Pixels[E] != NoPixel) ++E;
    if (E > I) RopRow(M.Mode, Pixels + I, D + I, E - I, M.Brush, M.Keyed, M.Key);
    I = E;
  }
}

// Copies Src of Source (bitmap coordinates, normalised, may reach outside the bitmap) onto Dst
// of Target (normalised) within Clip; FlipX/FlipY mirror. Shared by CopyRect, Draw and
// StretchDraw. Source and Target may be the same bitmap.
void Blit(TBitmap& Target, const TRect& Clip, const TBitmap& Source, const TRect& Src,
          const TRect& Dst, bool FlipX, bool FlipY, const TBlitMode& M) {
  if (Src.IsEmpty() || Dst.IsEmpty() || Source.Empty()) return;
  const TRect Bounds = Rect(0, 0, Source.GetWidth(), Source.GetHeight());
  const int SW = Src.Width(), SH = Src.Height(), DW = Dst.Width(), DH = Dst.Height();
  if (SW == DW && SH == DH && !FlipX && !FlipY) {
    // Same size: source outside its bitmap shrinks the destination with it.
    const TRect Visible =
        Bounds.Offset(Dst.Left - Src.Left, Dst.Top - Src.Top).Intersect(Dst).Intersect(Clip);
    if (Visible.IsEmpty()) return;
    const int DX = Src.Left - Dst.Left, DY = Src.Top - Dst.Top, N = Visible.Width();
    const bool Same = &Source == &Target;
    // In one bitmap, rows run away from the direction of the move and each source row is
    // taken out before its destination row is written, so overlaps copy as if read first.
    std::vector<std::uint32_t> Row(Same ? std::size_t(N) : 0);
    const bool BottomUp = Same && DY < 0;
    for (int K = 0; K < Visible.Height(); ++K) {
      const int Y = BottomUp ? Visible.Bottom - 1 - K : Visible.Top + K;
      const std::uint32_t* S = Source.ScanLine(Y + DY) + Visible.Left + DX;
      if (Same) S = std::copy_n(S, N, Row.data()) - N;
      RopRow(M.Mode, S, Target.ScanLine(Y) + Visible.Left, N, M.Brush, M.Keyed, M.Key);
    }
    return;
  }
  const TRect Visible = Dst.Intersect(Clip);
  if (Visible.IsEmpty()) return;
  // The visible part in the unmirrored destination block, scaled completely before anything
  // is written (which also makes copies within one bitmap safe).
  TRect Window = Visible.Offset(-Dst.Left, -Dst.Top);
  if (FlipX) Window = {DW - Window.Right, Window.Top, DW - Window.Left, Window.Bottom};
  if (FlipY) Window = {Window.Left, DH - Window.Bottom, Window.Right, DH - Window.Top};
  const int WW = Window.Width(), WH = Window.Height();
  const TPixelBlock Block{Source.Pixels(), Source.GetWidth(), Source.GetHeight(),
                          Source.GetWidth()};
  // Bands of about 256 KB stay in cache; within one bitmap a single band reads everything
  // before anything is written.
  const int BandRows = &Source == &Target ? WH : std::clamp((1 << 16) / WW, 1, WH);
  const auto Scaled =
      std::make_unique_for_overwrite<std::uint32_t[]>(std::size_t(WW) * std::size_t(BandRows));
  std::vector<std::uint32_t> Row(static_cast<std::size_t>(WW));
  for (int B = 0; B < WH; B += BandRows) {
    const int BH = std::min(BandRows, WH - B);
    const TRect Band{Window.Left, Window.Top + B, Window.Right, Window.Top + B + BH};
    // A key colour must stay a colour of its own, so keyed copies never blend.
    if (M.Stretch == smHalftone && !M.Keyed) {
      HalftoneScale(Block, Src, DW, DH, Band, Scaled.get());
    } else {
      NearestScale(Block, Src, DW, DH, Band, Scaled.get());
    }
    for (int K = 0; K < BH; ++K) {
      const int Y = FlipY ? Visible.Bottom - 1 - (B + K) : Visible.Top + B + K;
      const std::uint32_t* S = Scaled.get() + std::size_t(K) * std::size_t(WW);
      if (FlipX) S = std::reverse_copy(S, S + WW, Row.data()) - WW;
      WriteRow(M, S, Target.ScanLine(Y) + Visible.Left, WW);
    }
  }
}

}  // namespace

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
  const bool FlipX = (Dest.Right < Dest.Left) != (SourceRect.Right < SourceRect.Left);
  const bool FlipY = (Dest.Bottom < Dest.Top) != (SourceRect.Bottom < SourceRect.Top);
  Blit(*FBitmap, DeviceClip(), *Source.FBitmap,
       SourceRect.Normalized().Offset(Source.FOrigin.X, Source.FOrigin.Y),
       Dest.Normalized().Offset(FOrigin.X, FOrigin.Y), FlipX, FlipY,
       {FCopyMode, FStretchMode, BrushPixel(), false, 0});
}

void TCanvas::Draw(int X, int Y, const TBitmap& Source) {
  const int W = Source.GetWidth(), H = Source.GetHeight();
  Blit(*FBitmap, DeviceClip(), Source, Rect(0, 0, W, H),
       Rect(X, Y, X + W, Y + H).Offset(FOrigin.X, FOrigin.Y), false, false,
       {FCopyMode, FStretchMode, BrushPixel(), Source.GetTransparent(),
        ColorToPixel(ColorToRGB(Source.GetTransparentColor()))});
}

void TCanvas::StretchDraw(const TRect& Dest, const TBitmap& Source) {
  if (Source.Empty()) throw EInvalidGraphic("StretchDraw: the bitmap is empty");
  Blit(*FBitmap, DeviceClip(), Source, Rect(0, 0, Source.GetWidth(), Source.GetHeight()),
       Dest.Normalized().Offset(FOrigin.X, FOrigin.Y), Dest.Right < Dest.Left,
       Dest.Bottom < Dest.Top,
       {FCopyMode, FStretchMode, BrushPixel(), Source.GetTransparent(),
        ColorToPixel(ColorToRGB(Source.GetTransparentColor()))});
}

void TCanvas::MaskedDraw(int X, int Y, const TBitmap& Source, const TBitmap& Mask) {
  MaskedDraw(X, Y, Source, Mask, Rect(0, 0, Source.GetWidth(), Source.GetHeight()));
}

void TCanvas::MaskedDraw(int X, int Y, const TBitmap& Source, const TBitmap& Mask,
                         const TRect& Part) {
  const int W = std::min(Source.GetWidth(), Mask.GetWidth());
  const int H = std::min(Source.GetHeight(), Mask.GetHeight());
  const TPoint At{X + FOrigin.X, Y + FOrigin.Y};
  const TRect Box = Rect(At.X, At.Y, At.X + W, At.Y + H)
                        .Intersect(Part.Normalized().Offset(At.X, At.Y))
                        .Intersect(DeviceClip());
  if (Box.IsEmpty()) return;
  for (int Row = Box.Top; Row < Box.Bottom; ++Row) {
    const int SX = Box.Left - At.X, SY = Row - At.Y;
    raster::MaskedSpan(Source.ScanLine(SY) + SX, Mask.ScanLine(SY) + SX,
                       FBitmap->ScanLine(Row) + Box.Left, Box.Width());
  }
}

void TCanvas::InvertRect(const TRect& R) {
  const TRect Box = R.Normalized().Offset(FOrigin.X, FOrigin.Y).Intersect(DeviceClip());
  if (Box.IsEmpty()) return;
  for (int Y = Box.Top; Y < Box.Bottom; ++Y)
    raster::ModeSpan(FBitmap->ScanLine(Y) + Box.Left, Box.Width(), 0, pmNot);
}

}  // namespace kvl
