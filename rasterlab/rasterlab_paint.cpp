// TRasterLab painting: background, the raster of off dots aligned with the text's dot grid, the
// visible characters and the frame, into an off-screen bitmap copied to the control in one go.
// A scroll tick copies its window out of a kept strip instead of drawing the text again.
#include <algorithm>
#include <cstring>

#include "kvl/platform/canvas.h"
#include "kvl/rasterlab/rasterlab.h"

namespace kvl {

namespace {

// The largest strip kept for scrolling, in pixels.
constexpr std::int64_t StripBudget = 4 << 20;

std::uint32_t PixelOf(TColor C) { return ColorToPixel(ColorToRGB(C)); }

// Columns [X1, X2) of every row of B set to Pixel, clipped.
void FillColumns(TBitmap& B, std::int64_t X1, std::int64_t X2, std::uint32_t Pixel) {
  const int L = int(std::max<std::int64_t>(X1, 0));
  const int R = int(std::min<std::int64_t>(X2, B.GetWidth()));
  if (L >= R) return;
  for (int Y = 0; Y < B.GetHeight(); ++Y) std::fill(B.ScanLine(Y) + L, B.ScanLine(Y) + R, Pixel);
}

// Rows [Y1, Y2) of B set to Pixel, clipped.
void FillRows(TBitmap& B, std::int64_t Y1, std::int64_t Y2, std::uint32_t Pixel) {
  const int T = int(std::max<std::int64_t>(Y1, 0));
  const int Bot = int(std::min<std::int64_t>(Y2, B.GetHeight()));
  for (int Y = T; Y < Bot; ++Y) std::fill(B.ScanLine(Y), B.ScanLine(Y) + B.GetWidth(), Pixel);
}

}  // namespace

int TRasterLab::PaintChar(TBitmap& Target, int X, int Y, int Code, int DotSize, int DotSpacing,
                          TColor OnColor, bool FullWidth) {
  Code &= 0xFF;
  const int First = FullWidth ? 0 : std::min<int>(FCMat.LeftMostBit[std::size_t(Code)], 31);
  const int Last = FullWidth ? std::clamp(FCMat.FontWidth, 0, 32) - 1
                             : std::min<int>(FCMat.RightMostBit[std::size_t(Code)], 31);
  if (First > Last) return 0;
  const int P = DotSize + DotSpacing;
  const int Rows = std::clamp(FCMat.FontHeight, 0, 32);
  const int W = Target.GetWidth(), H = Target.GetHeight();
  const std::uint32_t Pixel = PixelOf(OnColor);
  for (int R = 0; R < Rows; ++R) {
    const std::uint32_t Bits = FCMat.BitData[std::size_t(Code)][std::size_t(R)];
    const int Top = Y + R * P;
    if (!Bits || Top >= H || Top + DotSize <= 0) continue;
    const int Y1 = std::max(Top, 0), Y2 = std::min(Top + DotSize, H);
    for (int Col = First; Col <= Last; ++Col) {
      if (!(Bits & (1u << Col))) continue;
      const int Left = X + (Col - First) * P;
      const int X1 = std::max(Left, 0), X2 = std::min(Left + DotSize, W);
      for (int Yy = Y1; Yy < Y2; ++Yy) std::fill(Target.ScanLine(Yy) + X1, Target.ScanLine(Yy) + std::max(X1, X2), Pixel);
    }
  }
  return P * (Last - First + 1);
}

void TRasterLab::PaintString(TBitmap& Target, std::int64_t X, std::int64_t Y) {
  const int P = Pitch();
  const std::int64_t W = Target.GetWidth();
  const bool Blocks = FCharBlockMode == rdbmOn;
  const std::uint32_t Blank = PixelOf(FColorLabBakG);
  if (Blocks) FillColumns(Target, X - P, X, Blank);
  // Only the characters that meet the bitmap: the first whose end lies right of its left edge.
  auto It = std::upper_bound(FCharX.begin() + 1, FCharX.end(), -X);
  // A dot row index never exceeds 32, so a far-off origin is brought near without a change.
  const int Yc = int(std::clamp<std::int64_t>(Y, -64LL * P, std::int64_t(Target.GetHeight()) + 1));
  for (auto I = std::size_t(It - FCharX.begin()) - 1; I < FCodes.size(); ++I) {
    const std::int64_t Left = X + FCharX[I];
    if (Left - P >= W) break;
    if (Blocks) FillColumns(Target, Left - P, Left, Blank);
    PaintChar(Target, int(Left), Yc, FCodes[I], FDotSize, FDotSpacing, FColorDotOn,
              !FProportional);
    if (Blocks) FillColumns(Target, X + FCharX[I + 1] - P, X + FCharX[I + 1], Blank);
  }
}

void TRasterLab::RenderContent(TBitmap& Target, const TRect& FillArea, std::int64_t X,
                               std::int64_t Y) {
  TCanvas& C = *Target.GetCanvas();
  C.GetBrush().SetColor(FCharBlockMode != rdbmOff ? FColorDotOff : FColorLabBakG);
  C.FillRect(FillArea);
  if (FCharBlockMode != rdbmOff && FDotSpacing > 0) {
    // The raster: the spacing lines between dot cells, in phase with the text's origin (the
    // remainder keeps the dividend's sign, so the phase holds left of 0 too).
    const std::int64_t P = Pitch(), S = FDotSpacing;
    const std::uint32_t Line = PixelOf(FColorLabBakG);
    const std::int64_t PhaseY = Y % P, PhaseX = X % P;
    for (std::int64_t B = 0; B <= Target.GetHeight() / P + 1; ++B) {
      const std::int64_t Y0 = PhaseY + B * P - S;
      FillRows(Target, Y0, Y0 + S, Line);
    }
    for (std::int64_t B = 0; B <= Target.GetWidth() / P + 1; ++B) {
      const std::int64_t X0 = PhaseX + B * P - S;
      FillColumns(Target, X0, X0 + S, Line);
    }
  }
  PaintString(Target, X, Y);
}

void TRasterLab::PaintFrame(TCanvas& C) {
  const int W = GetWidth(), H = GetHeight();
  const TColor K = FColBlackLine, D = FColGrayLine, L = FColWhiteLine;
  const auto Pen = [&](TColor Col) { C.GetPen().SetColor(Col); };
  const auto Outline = [&](int X1, int Y1, int X2, int Y2) {
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y1);
    C.LineTo(X2, Y2);
    C.LineTo(X1, Y2);
    C.LineTo(X1, Y1);
  };
  switch (FFrameStyle) {
    case fsSimple:
      Pen(D);
      Outline(0, 0, W - 1, H - 1);
      break;
    case fsLowered:
    case fsRaised:
      Pen(FFrameStyle == fsLowered ? K : L);
      C.MoveTo(1, H - 3);
      C.LineTo(1, 1);
      C.LineTo(W - 2, 1);
      if (FFrameStyle == fsLowered) {
        Pen(L);
        C.MoveTo(2, H - 1);
      } else {
        Pen(K);
        C.MoveTo(0, H - 1);
      }
      C.LineTo(W - 1, H - 1);
      C.LineTo(W - 1, 0);
      Pen(D);
      Outline(0, 0, W - 2, H - 2);
      break;
    case fsEmbossed:
    case fsEngraved:
      Pen(FFrameStyle == fsEmbossed ? D : L);
      Outline(1, 1, W - 1, H - 1);
      Pen(FFrameStyle == fsEmbossed ? L : D);
      Outline(0, 0, W - 2, H - 2);
      break;
    default:
      break;
  }
}

void TRasterLab::Paint() {
  if (!IsPaintable()) return;
  const int W = GetWidth(), H = GetHeight();
  FOffscreen.SetSize(W, H);
  if (FOffscreen.Empty()) return;
  TCanvas& C = *FOffscreen.GetCanvas();
  // Pixels no step paints (corners the frames skip) show the background, never an old tick.
  C.GetBrush().SetColor(FColorLabBakG);
  C.FillRect(Rect(0, 0, W, H));
  const TRect Fill = FFrameStyle != fsNone ? Rect(1, 1, W - 1, H - 1) : Rect(0, 0, W, H);
  RenderContent(FOffscreen, Fill, std::int64_t(FXPos) + FScrollPosX,
                std::int64_t(FYPos) + FScrollPosY);
  PaintFrame(C);
  GetCanvas()->Draw(0, 0, FOffscreen);
}

bool TRasterLab::StripCovers() const {
  if (!FStripValid || FStripVertical != (FScrollMode == rdsmDown || FScrollMode == rdsmUp))
    return false;
  const int W = GetWidth(), H = GetHeight(), E = FStripExtra;
  if (FStripVertical) {
    if (FStrip.GetWidth() != W || FStrip.GetHeight() != H + 2 * E || FStripX != FScrollPosX)
      return false;
    const std::int64_t D = FScrollPosY - FStripY;
    return D >= -E && D <= E;
  }
  if (FStrip.GetWidth() != W + 2 * E || FStrip.GetHeight() != H || FStripY != FScrollPosY)
    return false;
  const std::int64_t D = FScrollPosX - FStripX;
  return D >= -E && D <= E;
}

void TRasterLab::RenderStrip() {
  FStripValid = false;
  const bool Vertical = FScrollMode == rdsmDown || FScrollMode == rdsmUp;
  const bool Forward = FScrollMode == rdsmRight || FScrollMode == rdsmDown;
  const std::int64_t W = GetWidth(), H = GetHeight();
  const std::int64_t Along = Vertical ? H : W, Across = Vertical ? W : H;
  // A few label lengths along the scroll: the next ticks' pictures, never the whole text.
  const std::int64_t E = std::min(Along / 2, (StripBudget / Across - Along) / 2);
  if (E < FScrollInc) return;
  // Anchored so that the coming ticks slide the window across the whole strip.
  FStripX = FScrollPosX;
  FStripY = FScrollPosY;
  std::int64_t& Anchor = Vertical ? FStripY : FStripX;
  Anchor += Forward ? E : -E;
  FStripExtra = int(E);
  FStripVertical = Vertical;
  FStrip.SetSize(int(Vertical ? W : W + 2 * E), int(Vertical ? H + 2 * E : H));
  const std::int64_t X = FXPos + FStripX + (Vertical ? 0 : E);
  const std::int64_t Y = FYPos + FStripY + (Vertical ? E : 0);
  // Along the scroll the frame's ring lies at the same place in every window, so it is
  // rendered as a full paint has it; only its two ends across need mending per tick.
  const int SW = FStrip.GetWidth(), SH = FStrip.GetHeight();
  TRect Fill = Rect(0, 0, SW, SH);
  if (FFrameStyle != fsNone) {
    FStrip.GetCanvas()->GetBrush().SetColor(FColorLabBakG);
    FStrip.GetCanvas()->FillRect(Fill);
    Fill = Vertical ? Rect(1, 0, SW - 1, SH) : Rect(0, 1, SW, SH - 1);
  }
  RenderContent(FStrip, Fill, X, Y);
  FStripValid = true;
}

void TRasterLab::PrepareTickRuns() {
  const int W = GetWidth(), H = GetHeight();
  const TTickKey Key{W, H, FFrameStyle, FStripVertical, FColBlackLine, FColGrayLine, FColWhiteLine};
  if (Key == FTickKey && !FTickRows.empty()) return;
  FTickKey = Key;
  FTickRuns.clear();
  FTickRows.assign(1, 0);
  FTickFrame.clear();
  // The frame drawn over two different fills: a pixel it draws comes out the same in both.
  TBitmap A, B;
  const bool Framed = FFrameStyle != fsNone;
  if (Framed) {
    for (TBitmap* Bmp : {&A, &B}) {
      Bmp->SetSize(W, H);
      const std::uint32_t Fill = Bmp == &A ? 0u : ~0u;
      for (int Y = 0; Y < H; ++Y) std::fill(Bmp->ScanLine(Y), Bmp->ScanLine(Y) + W, Fill);
      PaintFrame(*Bmp->GetCanvas());
    }
  }
  for (int Y = 0; Y < H; ++Y) {
    const std::uint32_t* PA = Framed ? A.ScanLine(Y) : nullptr;
    const std::uint32_t* PB = Framed ? B.ScanLine(Y) : nullptr;
    for (int X = 0; X < W; ++X) {
      TTickSource S = TTickSource::Window;
      if (Framed && PA[X] == PB[X])
        S = TTickSource::Frame;
      else if (Framed && (FStripVertical ? Y == 0 || Y == H - 1 : X == 0 || X == W - 1))
        S = TTickSource::RingEnd;
      if (FTickRuns.size() > FTickRows.back() && FTickRuns.back().Source == S)
        FTickRuns.back().X2 = X + 1;
      else
        FTickRuns.push_back({X, X + 1, S, FTickFrame.size()});
      if (S == TTickSource::Frame) FTickFrame.push_back(PA[X]);
    }
    FTickRows.push_back(FTickRuns.size());
  }
}

void TRasterLab::PaintScrolled() {
  if (!IsPaintable()) return;
  const int W = GetWidth(), H = GetHeight();
  // The frame's ring is told from the inside by the off-dot colour; with dots of that colour
  // too, or too small a label, the tick paints in full.
  const std::uint32_t Off = PixelOf(FColorDotOff), Blank = PixelOf(FColorLabBakG);
  if (W < 3 || H < 3 || PixelOf(FColorDotOn) == Off) {
    Paint();
    return;
  }
  if (!StripCovers()) RenderStrip();
  if (!StripCovers()) {
    Paint();
    return;
  }
  PrepareTickRuns();
  // The window's rows go straight into the canvas's bitmap, inside its clip: a plain copy is
  // all a tick needs, and it is the floor of its cost. The frame's pixels replace the
  // window's where it draws, and the ends of its ring, which the strip filled with off dots,
  // show the background there as a full paint has it.
  TCanvas& C = *GetCanvas();
  const std::int64_t E = FStripExtra;
  const int X0 = FStripVertical ? 0 : int(E - (FScrollPosX - FStripX));
  const int Y0 = FStripVertical ? int(E - (FScrollPosY - FStripY)) : 0;
  const TRect Clip = C.GetClipRect().Intersect(Rect(0, 0, W, H));
  const TPoint O = C.GetOrigin();
  if (Clip.IsEmpty()) return;
  // Locals, so that the copies do not make the loop fetch them again.
  TBitmap& Target = *C.GetBitmap();
  std::uint32_t* const DstPixels = Target.ScanLine(0);
  const std::uint32_t* const SrcPixels = FStrip.ScanLine(0);
  const std::ptrdiff_t DstStride = Target.GetWidth(), SrcStride = FStrip.GetWidth();
  const TTickRun* const Runs = FTickRuns.data();
  const std::size_t* const Rows = FTickRows.data();
  const std::uint32_t* const Frame = FTickFrame.data();
  const int CL = Clip.Left, CR = Clip.Right;
  for (int Y = Clip.Top; Y < Clip.Bottom; ++Y) {
    // Dst and Src point at the clip's left edge of the row.
    std::uint32_t* const Dst = DstPixels + (Y + O.Y) * DstStride + (O.X + CL);
    const std::uint32_t* const Src = SrcPixels + (Y0 + Y) * SrcStride + (X0 + CL);
    for (std::size_t I = Rows[Y], End = Rows[Y + 1]; I < End; ++I) {
      const TTickRun& R = Runs[I];
      const int L = std::max(R.X1, CL), Rt = std::min(R.X2, CR);
      if (L >= Rt) continue;
      const std::size_t N = std::size_t(Rt - L);
      std::uint32_t* const To = Dst + (L - CL);
      const std::uint32_t* const From = Src + (L - CL);
      switch (R.Source) {
        case TTickSource::Window:
          std::memcpy(To, From, N * 4);
          break;
        case TTickSource::Frame:
          std::copy_n(Frame + R.Frame + (L - R.X1), N, To);
          break;
        case TTickSource::RingEnd:
          for (std::size_t X = 0; X < N; ++X) To[X] = From[X] == Off ? Blank : From[X];
          break;
      }
    }
  }
}

}  // namespace kvl
